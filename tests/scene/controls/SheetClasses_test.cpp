// The whole default sheet against the class registry: with every toolkit unit registered, the
// sheet names no class that cannot be created, except those listed below as not built yet. And
// the list unit's registration: its categories, the HUD forms and the class-name styles.
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

#include <cstdlib>
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

TEST(SheetClasses, EveryClassTheSheetNamesIsRegistered) {
    RegisterToolkit();
    const std::string bytes = testsupport::ReadFile(BuiltSheet());
    ASSERT_FALSE(bytes.empty()) << BuiltSheet();
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
    EXPECT_EQ(missing, NotBuiltYet);
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
