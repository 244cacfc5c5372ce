// The default sheet's styles that embed the basic controls (scroll bars, tracks, thumbs, speed
// buttons, check boxes, size grips, ...) load complete: with the toolkit's units registered, no
// class anywhere inside such a style is unknown, and every such style is there after reading.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_rangebars.h"
#include "scene/controls/Sg_layouts.h"
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
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::filesystem::path BuiltSheet(const char* extension) {
    const char* dir = std::getenv("DBI_BINARY_DIR");
    return std::filesystem::path(dir ? dir : DBI_BINARY_DIR) / "resources" / "styles" /
           (std::string("defaultsgstyle") + extension);
}

// The classes of the text controls, buttons, check boxes, bars, tracks, scroll bars and
// splitter, HUD forms included.
const std::set<std::string>& BasicControlClasses() {
    static const std::set<std::string> names = {
        "TsgBackground",     "TsgSizeGrip",        "TsgCloseButton",     "TsgCheckBox",
        "TsgPathCheckBox",   "TsgRadioButton",     "TsgGroupBox",        "TsgPanel",
        "TsgLabel",          "TsgValueLabel",      "TsgProgressBar",     "TsgTrack",
        "TsgScrollBar",      "TsgSmallScrollBar",  "TsgTrackBar",        "TsgSplitter",
        "TsgStatusBar",      "TsgToolBar",         "TsgButton",          "TsgRoundButton",
        "TsgCircleButton",   "TsgSpeedButton",     "TsgCornerButton",    "TsgColorButton",
        "TsgPopupButton",    "TsgThumb",           "TsgExpanderButton",  "TsgHudPanel",
        "TsgHudButton",      "TsgHudSpeedButton",  "TsgHudTrack",        "TsgHudTrackBar",
        "TsgHudScrollBar",   "TsgHudLabel",        "TsgHudCheckBox",     "TsgHudRadioButton",
        "TsgHudGroupBox",    "TsgHudCloseButton",  "TsgHudStatusBar",    "TsgHudSizeGrip",
        "TsgHudRoundButton", "TsgHudCornerButton", "TsgHudCircleButton", "TsgBitmapButton",
        "TsgToolButton",     "TsgPathButton",      "TsgToolPathButton",  "TsgAnimatedButton",
        "TsgExpander",       "TsgImageControl"};
    return names;
}

// Every top-level style of the joined sheet text (by ResourceName) with the classes of all the
// objects inside it, its root's included.
std::map<std::string, std::set<std::string>> StyleClasses(const std::string& text) {
    std::map<std::string, std::set<std::string>> styles;
    const std::regex top(R"(^  object (?:\w+: )?(\w+)\s*$)");
    const std::regex inner(R"(^ {4,}object (?:\w+: )?(\w+)\s*$)");
    const std::regex name(R"(^    ResourceName = '([^']*)')");
    std::istringstream lines(text);
    std::string line, current;
    std::set<std::string> classes;
    bool named = false;
    auto flush = [&] {
        if (!current.empty())
            styles[current].insert(classes.begin(), classes.end());
        current.clear();
        classes.clear();
        named = false;
    };
    while (std::getline(lines, line)) {
        std::smatch m;
        if (std::regex_match(line, m, top)) {
            flush();
            classes.insert(m[1]);
        } else if (std::regex_match(line, m, inner)) {
            classes.insert(m[1]);
        } else if (!named && std::regex_search(line, m, name)) {
            current = m[1];
            named = true;
        }
    }
    flush();
    return styles;
}

TEST(EmbeddedControlStyles, EveryStyleEmbeddingABasicControlLoadsComplete) {
    RegisterSgSceneUnit();
    RegisterSgObjectsUnit();
    RegisterSgAniUnit();
    RegisterSgEffectsUnit();
    RegisterSgControlsUnit();
    RegisterSgLayoutsUnit();
    RegisterSgScrollBoxUnit();
    RegisterSgTreeViewUnit();
    RegisterSgTextboxUnit();

    const std::string text = testsupport::ReadFile(BuiltSheet(".txt"));
    ASSERT_FALSE(text.empty()) << BuiltSheet(".txt");
    std::map<std::string, std::set<std::string>> embedding;
    for (const auto& [style, classes] : StyleClasses(text))
        for (const std::string& cls : classes)
            if (BasicControlClasses().count(cls)) {
                embedding.emplace(style, classes);
                break;
            }
    // The scroll bars, tracks, speed buttons, check boxes and size grips of the sheet.
    EXPECT_GT(embedding.size(), 20u);

    const std::string bytes = testsupport::ReadFile(BuiltSheet(".bin"));
    ASSERT_FALSE(bytes.empty()) << BuiltSheet(".bin");
    TCustomMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    TsgBackground root(nullptr);
    std::set<std::string> missing;
    std::vector<std::string> errors;
    TReader reader(stream);
    reader.OnSetName = [](TReader&, TComponent*, AnsiString& name) { name = AnsiString(); };
    reader.OnError = [&](TReader&, const AnsiString& message, bool& handled) {
        const std::string what = message.c_str();
        const size_t end = what.find(" not found");
        if (what.rfind("Class ", 0) == 0 && end != std::string::npos)
            missing.insert(what.substr(6, end - 6));
        else
            errors.push_back(what);
        handled = true;
    };
    EXPECT_NO_THROW(reader.ReadRootComponent(&root));
    EXPECT_EQ(errors, std::vector<std::string>{});

    std::set<std::string> loaded;
    for (int i = 0; i < root.ChildrenCount(); ++i)
        loaded.insert(root.GetChild(i)->ResourceName().ToUtf8());
    for (const auto& [style, classes] : embedding) {
        EXPECT_TRUE(loaded.count(style)) << style << " is not in the sheet as read";
        for (const std::string& cls : classes)
            EXPECT_FALSE(missing.count(cls)) << style << " uses the unknown class " << cls;
    }
}

} // namespace
