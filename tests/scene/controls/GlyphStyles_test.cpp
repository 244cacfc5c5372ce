// The default sheet's styles of the glyph buttons, the expander and the image well load
// complete: read with the toolkit's units registered, every class inside them is known, and each
// control finds its style by its class name and the parts it fills.
#include "RangeBarsTestSupport.h"

#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_animatedbutton.h"
#include "scene/controls/Sg_controls_expander.h"
#include "scene/controls/Sg_controls_glyphbuttons.h"
#include "scene/controls/Sg_controls_imagecontrol.h"

#include "platform/classes/Reader.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

TEST(GlyphStyles, TheStylesLoadCompleteAndEachControlFindsItsParts) {
    rangetest::RegisterAll();
    const std::string bytes = testsupport::ReadFile(rangetest::BuiltSheet());
    ASSERT_FALSE(bytes.empty());
    TCustomMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    TsgBackground root(nullptr);
    std::set<std::string> missing;
    TReader reader(stream);
    reader.OnSetName = [](TReader&, TComponent*, AnsiString& name) { name = AnsiString(); };
    reader.OnError = [&](TReader&, const AnsiString& message, bool& handled) {
        const std::string what = message.c_str();
        const size_t end = what.find(" not found");
        if (what.rfind("Class ", 0) == 0 && end != std::string::npos)
            missing.insert(what.substr(6, end - 6));
        handled = true;
    };
    reader.ReadRootComponent(&root);
    for (const char* cls : {"TsgBitmapAnimation", "TsgColorAnimation", "TsgExpanderButton",
                            "TsgCheckBox", "TsgImage", "TsgPath", "TsgText", "TsgContent"})
        EXPECT_EQ(missing.count(cls), 0u) << cls;

    struct Case {
        const char* Class;
        const char* Style;
        std::vector<const char*> Parts;
    };
    const Case cases[] = {
        {"TsgBitmapButton", "bitmapbuttonstyle", {"background", "text", "image"}},
        {"TsgToolButton", "toolbuttonstyle", {"background", "text", "image"}},
        {"TsgPathButton", "pathbuttonstyle", {"text", "pathowner", "path"}},
        {"TsgToolPathButton", "toolpathbuttonstyle", {"text", "pathowner", "path"}},
        {"TsgAnimatedButton",
         "animatedbuttonstyle",
         {"image", "animhoveron", "animhoveroff", "animclickon", "animclickoff"}},
        {"TsgExpander", "expanderstyle", {"text", "button", "checkbox"}},
        {"TsgImageControl", "imagecontrolstyle", {"background", "image"}},
        {"TsgPopupBox", "popupboxstyle", {"background", "text"}},
        {"TsgHudPopupBox", "hudpopupboxstyle", {"background", "text"}},
    };
    rangetest::UseBuiltSheet();
    TsgOffscreenScene scene(nullptr, 200, 200);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Class);
        std::set<std::string> inSheet;
        for (int i = 0; i < root.ChildrenCount(); ++i)
            inSheet.insert(root.GetChild(i)->ResourceName().ToUtf8());
        EXPECT_EQ(inSheet.count(c.Style), 1u);
        const TClassInfo& info = FindClass(c.Class);
        EXPECT_EQ(TsgControl::StyleNameOf(info).LowerCase().ToUtf8(), c.Style);
        auto* control = dynamic_cast<TsgControl*>(info.CreateComponent(&scene));
        ASSERT_NE(control, nullptr);
        scene.AddObject(control);
        rangetest::ApplyStyles(control);
        ASSERT_NE(control->StyleClone(), nullptr);
        for (const char* part : c.Parts)
            EXPECT_NE(control->FindResource(UnicodeString::FromUtf8(part)), nullptr) << part;
    }
    FreeDefaultStyles();
}

} // namespace
