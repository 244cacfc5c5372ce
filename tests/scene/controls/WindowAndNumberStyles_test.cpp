// The default sheet's styles of the in-scene window, the angle knob and the numeric boxes load
// complete, and each control finds in its style the parts it fills.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_numberbox.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/controls/Sg_treeview.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

#include "platform/classes/Reader.h"
#include "platform/rtl/MemoryStream.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

std::filesystem::path BuiltSheet() {
    const char* dir = std::getenv("DBI_BINARY_DIR");
    return std::filesystem::path(dir ? dir : DBI_BINARY_DIR) / "resources" / "styles" /
           "defaultsgstyle.bin";
}

class WindowAndNumberStyles : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        RegisterSgAniUnit();
        RegisterSgEffectsUnit();
        RegisterSgControlsUnit();
        RegisterSgLayoutsUnit();
        RegisterSgScrollBoxUnit();
        RegisterSgTreeViewUnit();
        RegisterSgTextboxUnit();
        bytes = testsupport::ReadFile(BuiltSheet());
        ASSERT_FALSE(bytes.empty()) << BuiltSheet();
    }
    void TearDown() override { FreeDefaultStyles(); }

    std::string bytes;
};

TEST_F(WindowAndNumberStyles, TheirStylesLoadWithoutAnUnknownClass) {
    TCustomMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    TsgBackground root(nullptr);
    std::set<std::string> missing;
    TReader reader(stream);
    reader.OnSetName = [](TReader&, TComponent*, AnsiString& name) { name = AnsiString(); };
    reader.OnError = [&](TReader&, const AnsiString& message, bool& handled) {
        missing.insert(message.c_str());
        handled = true;
    };
    reader.ReadRootComponent(&root);
    std::set<std::string> loaded;
    for (int i = 0; i < root.ChildrenCount(); ++i)
        loaded.insert(root.GetChild(i)->ResourceName().ToUtf8());
    for (const char* style :
         {"hudwindowstyle", "anglebuttonstyle", "hudanglebuttonstyle", "numberboxstyle",
          "hudnumberboxstyle", "spinboxstyle", "hudspinboxstyle"})
        EXPECT_TRUE(loaded.count(style)) << style;
    for (const char* cls :
         {"TsgHudWindow", "TsgAngleButton", "TsgHudAngleButton", "TsgNumberBox", "TsgSpinBox",
          "TsgHudNumberBox", "TsgHudSpinBox", "TsgBitmapStateButton", "TsgAniIndicator"})
        EXPECT_EQ(missing.count(std::string("Class ") + cls + " not found"), 0u) << cls;
}

TEST_F(WindowAndNumberStyles, EachControlFindsItsPartsInTheDefaultSheet) {
    TCustomMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    FreeDefaultStyles();
    auto* sheet = new TsgBackground(nullptr);
    DefaultStyles = sheet;
    TReader reader(stream);
    reader.OnSetName = [](TReader&, TComponent*, AnsiString& name) { name = AnsiString(); };
    reader.ReadRootComponent(sheet);
    const struct {
        const char* Class;
        std::vector<const char16_t*> Parts;
    } cases[] = {
        {"TsgHudWindow", {u"back", u"stroke", u"caption", u"text", u"close", u"sizegrip"}},
        {"TsgAngleButton", {u"tick", u"text", u"tracktext"}},
        {"TsgHudAngleButton", {u"tick", u"text"}},
        {"TsgNumberBox", {u"content"}},
        {"TsgHudNumberBox", {u"content"}},
        {"TsgSpinBox", {u"content", u"minusbutton", u"plusbutton"}},
        {"TsgHudSpinBox", {u"content", u"minusbutton", u"plusbutton"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Class);
        std::unique_ptr<TComponent> o(FindClass(c.Class).CreateComponent(nullptr));
        auto* control = dynamic_cast<TsgControl*>(o.get());
        ASSERT_NE(control, nullptr);
        control->ApplyResource();
        ASSERT_NE(control->StyleClone(), nullptr);
        for (const char16_t* part : c.Parts)
            EXPECT_NE(control->FindResource(part), nullptr) << UnicodeString(part).ToUtf8();
    }
}

} // namespace
