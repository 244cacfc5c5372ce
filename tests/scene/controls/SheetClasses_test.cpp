// The whole default sheet against the units' registration: every class the sheet names is put
// into the class registry by some toolkit unit's registration, except those listed below as not
// built yet. And the list unit's registration: its categories, the HUD forms and the class-name
// styles.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_stringlists.h"
#include "scene/controls/Sg_tabcontrol.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/controls/Sg_treeview.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/classes/Reader.h"
#include "platform/rtl/MemoryStream.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

// Classes the sheet uses whose controls are not part of this tree yet; empty once every
// control is built.
const std::set<std::string> NotBuiltYet = {};

void RegisterToolkit() {
    RegisterSgSceneUnit();
    RegisterSgObjectsUnit();
    RegisterSgAniUnit();
    RegisterSgEffectsUnit();
    RegisterSgControlsUnit();
    RegisterSgLayoutsUnit();
    RegisterSgScrollBoxUnit();
    RegisterSgTreeViewUnit();
    RegisterSgTextboxUnit();
    RegisterSgTabControlUnit();
    RegisterSgListBoxUnit();
}

std::filesystem::path BuiltSheet() {
    const char* dir = std::getenv("DBI_BINARY_DIR");
    return std::filesystem::path(dir ? dir : DBI_BINARY_DIR) / "resources" / "styles" /
           "defaultsgstyle.bin";
}

struct SheetReading {
    // Class names of every object the sheet holds, whether or not the class was found.
    std::set<std::string> named;
    std::set<std::string> missing;
    std::vector<std::string> errors;
};

SheetReading ReadSheet() {
    SheetReading result;
    const std::string bytes = testsupport::ReadFile(BuiltSheet());
    if (bytes.empty()) {
        result.errors.push_back("cannot read " + BuiltSheet().string());
        return result;
    }
    TCustomMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    TsgBackground root(nullptr);
    TReader reader(stream);
    reader.OnSetName = [](TReader&, TComponent*, AnsiString& name) { name = AnsiString(); };
    reader.OnFindComponentClass = [&](TReader&, const AnsiString& name, const TClassInfo*&) {
        result.named.insert(name.c_str());
    };
    reader.OnError = [&](TReader&, const AnsiString& message, bool& handled) {
        const std::string what = message.c_str();
        const size_t end = what.find(" not found");
        if (what.rfind("Class ", 0) == 0 && end != std::string::npos)
            result.missing.insert(what.substr(6, end - 6));
        else
            result.errors.push_back(what);
        handled = true;
    };
    try {
        reader.ReadRootComponent(&root);
    } catch (const std::exception& e) {
        result.errors.push_back(std::string("reading stopped: ") + e.what());
    }
    return result;
}

// Every class already sits in the class registry when the program starts, so what the units'
// registration adds shows only once the sheet's classes are taken out again, before any unit
// has registered. Runs in a fresh process; exits with 0 when the sheet reads completely, else
// with 1 after naming each class no unit registered and each other error.
[[noreturn]] void ExitAfterReadingTheSheetWithTheUnitsClassesOnly() {
    const SheetReading everything = ReadSheet();
    for (const std::string& name : everything.errors)
        std::fprintf(stderr, "with every class: %s\n", name.c_str());
    if (everything.named.empty() || !everything.errors.empty())
        std::exit(2);
    for (const std::string& name : everything.named)
        if (const TClassInfo* info = GetClass(name.c_str()))
            UnRegisterClass(*info);
    RegisterToolkit();
    const SheetReading units = ReadSheet();
    bool complete = units.errors.empty();
    for (const std::string& name : units.missing)
        if (!NotBuiltYet.count(name)) {
            std::fprintf(stderr, "registered by no unit: %s\n", name.c_str());
            complete = false;
        }
    for (const std::string& error : units.errors)
        std::fprintf(stderr, "error: %s\n", error.c_str());
    std::exit(complete ? 0 : 1);
}

TEST(SheetClasses, EveryClassTheSheetNamesIsRegisteredByAUnit) {
    // A process of its own: registration happens once per process, and it must not have run.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ExitAfterReadingTheSheetWithTheUnitsClassesOnly(), ::testing::ExitedWithCode(0),
                "");
    GTEST_FLAG_SET(death_test_style, style);
}

TEST(SheetClasses, TheListUnitRegistersByCategory) {
    RegisterToolkit();
    ASSERT_NE(ObjectList, nullptr);
    std::set<std::string> lists, items, hud;
    for (int i = 0; i < ObjectList->Count(); ++i) {
        const auto* info = static_cast<const TClassInfo*>(ObjectList->Objects(i));
        const std::string category = AnsiString(ObjectList->Strings(i)).c_str();
        const std::string name = info->ClassName().c_str();
        if (category == "Lists")
            lists.insert(name);
        else if (category == "Items")
            items.insert(name);
        else if (category == "HUD")
            hud.insert(name);
    }
    EXPECT_EQ(lists, (std::set<std::string>{"TsgListBox", "TsgComboBox", "TsgStringListBox",
                                            "TsgStringComboBox", "TsgHorzListBox"}));
    EXPECT_TRUE(items.count("TsgListBoxItem"));
    // The HUD category holds the HUD forms of every unit.
    for (const char* name : {"TsgHudListBox", "TsgHudHorzListBox", "TsgHudComboBox",
                             "TsgHudStringListBox", "TsgHudStringComboBox", "TsgHudButton",
                             "TsgHudCheckBox", "TsgHudTextBox", "TsgHudRoundTextBox"})
        EXPECT_TRUE(hud.count(name)) << name;
    EXPECT_EQ(GetClass("TsgComboListBox"), nullptr);
    EXPECT_NE(GetClass("TsgHudStringComboBox"), nullptr);
}

TEST(SheetClasses, HudListsTakeTheirStylesFromTheSheet) {
    RegisterToolkit();
    TsgHudListBox hudList(nullptr);
    EXPECT_EQ(TsgControl::StyleNameOf(hudList.ClassInfo()).LowerCase(),
              UnicodeString(u"hudlistboxstyle"));
    TsgHudComboBox hudCombo(nullptr);
    EXPECT_EQ(TsgControl::StyleNameOf(hudCombo.ClassInfo()).LowerCase(),
              UnicodeString(u"hudcomboboxstyle"));
    EXPECT_EQ(hudCombo.ListBox()->Resource(), UnicodeString(u"hudcombolistboxstyle"));
    TsgHudStringComboBox strings(nullptr);
    EXPECT_EQ(strings.Resource(), UnicodeString(u"hudcomboboxstyle"));
    EXPECT_EQ(strings.ItemStyle(), UnicodeString(u"hudlistboxitemstyle"));
    TsgHudHorzListBox horz(nullptr);
    EXPECT_EQ(horz.Resource(), UnicodeString(u"hudlistboxstyle"));
    EXPECT_EQ(horz.ListStyle(), sgListHorizontal);
    // The drop-down list of a plain combo box finds the sheet's entry by its class name.
    TsgComboBox combo(nullptr);
    EXPECT_EQ(TsgControl::StyleNameOf(combo.ListBox()->ClassInfo()).LowerCase(),
              UnicodeString(u"combolistboxstyle"));
}

} // namespace
