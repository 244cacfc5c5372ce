// Combo boxes in a real (offscreen) form: the drop-down's height, opening and closing by press,
// Escape and a click elsewhere, choosing with the mouse (not on a disabled item), keys and the
// wheel on the closed box, string combo boxes rebuilt from their strings, and streams that keep
// the items under the combo box.
#include "ScrollStyles.h"

#include "scene/controls/Sg_stringlists.h"
#include "scene/core/Sg_scene.h"

#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Activation.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

void RegisterSgObjectsUnit();

namespace {

std::unique_ptr<TsgObject> MakeComboStyle() {
    auto* root = new TsgRectangle(nullptr);
    root->SetResourceName(u"testcombostyle");
    root->SetBounds(0, 0, 100, 23);
    auto* content = new TsgContent(nullptr);
    content->SetResourceName(u"content");
    content->SetAlign(vaClient);
    content->SetHitTest(false);
    root->AddObject(content);
    return std::unique_ptr<TsgObject>(root);
}

class ComboBoxWindow : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        RegisterSgListBoxUnit();
        RegisterScrollTestUnits();
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        comboStyle = MakeComboStyle();
        listStyle = MakeScrollStyle(u"testcomboliststyle", true);
        form = std::make_unique<TForm>();
        form->SetBounds(100, 80, 300, 300);
        scene = std::make_unique<TsgScene>(nullptr);
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 300, 300);
        root = new TsgVisualObject(nullptr);
        scene->AddObject(root);
        combo = new TsgComboBox(nullptr);
        combo->SetResource(u"testcombostyle");
        combo->ListBox()->SetResource(u"testcomboliststyle");
        combo->ListBox()->SetAnimated(false);
        combo->OnChange = TNotifyEvent::Bind<&ComboBoxWindow::Changed>(this);
        root->AddObject(combo);
        combo->SetBounds(10, 10, 120, 23);
        for (const char* text : {"one", "two", "three", "four"}) {
            auto* item = new TsgListBoxItem(nullptr);
            item->SetText(UnicodeString(text));
            combo->AddObject(item);
        }
        form->Show();
        Run();
        ActivateLogically(form.get());
    }
    void TearDown() override {
        scene.reset();
        form.reset();
        Application->ProcessMessages();
        Application->Reset();
        TTimerHeap::Instance().Reset();
        ResetPointerPosition();
        SetUiClock(nullptr);
    }
    void Run() { Application->ProcessMessages(); }
    void Press() {
        combo->MouseDown(mbLeft, TShiftState{ssLeft}, 5, 5);
        combo->MouseUp(mbLeft, TShiftState{}, 5, 5);
        Run();
    }
    // A click at the list's own coordinates.
    void ClickList(float x, float y) {
        TsgComboListBox* list = combo->ListBox();
        list->MouseDown(mbLeft, TShiftState{ssLeft}, x, y);
        list->MouseUp(mbLeft, TShiftState{}, x, y);
        Run();
    }
    bool Key(uint16_t key) {
        char16_t ch = 0;
        combo->KeyDown(key, ch, TShiftState{});
        return key == 0;
    }
    void Changed(TObject* Sender) {
        changes.push_back(static_cast<TsgComboBox*>(Sender)->ItemIndex());
    }

    TManualClock clock;
    std::unique_ptr<TsgObject> comboStyle, listStyle;
    std::unique_ptr<TForm> form;
    std::unique_ptr<TsgScene> scene;
    TsgVisualObject* root = nullptr;
    TsgComboBox* combo = nullptr;
    std::vector<int> changes;
};

TEST_F(ComboBoxWindow, TheDropDownIsAsHighAsItsRows) {
    struct Case {
        float itemHeight;
        float popupHeight;
    } cases[] = {{0, 8 * 21 + 2}, {19, 8 * 19 + 2}};
    combo->SetHeight(23);
    for (const Case& c : cases) {
        combo->ListBox()->SetItemHeight(c.itemHeight);
        Press();
        ASSERT_TRUE(combo->Popup()->IsOpen()) << c.itemHeight;
        EXPECT_FLOAT_EQ(combo->Popup()->Height(), c.popupHeight);
        EXPECT_FLOAT_EQ(combo->Popup()->Width(), combo->Width());
        // Pressing the box again closes it.
        Press();
        EXPECT_FALSE(combo->Popup()->IsOpen());
    }
}

TEST_F(ComboBoxWindow, ChoosingInTheDropDown) {
    EXPECT_EQ(combo->Count(), 4);
    EXPECT_EQ(combo->ItemIndex(), 0);
    combo->ListBox()->ItemByIndex(2)->SetEnabled(false);
    Press();
    ASSERT_TRUE(combo->Popup()->IsOpen());
    TsgComboListBox* list = combo->ListBox();
    ASSERT_NE(list->ItemByIndex(1), nullptr);
    const float rowY = [&](int i) {
        TsgListBoxItem* item = list->ItemByIndex(i);
        return list->AbsoluteToLocal(item->LocalToAbsolute({0, 0})).Y + 5;
    }(2);
    // A disabled item neither changes the choice nor closes the list.
    ClickList(20, rowY);
    EXPECT_TRUE(combo->Popup()->IsOpen());
    EXPECT_EQ(combo->ItemIndex(), 0);
    const float row3 = rowY + list->ItemByIndex(2)->Height();
    ClickList(20, row3);
    EXPECT_FALSE(combo->Popup()->IsOpen());
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(changes, (std::vector<int>{3}));

    // Arrows move the open list directly, Escape closes it and keeps what they made.
    Press();
    ASSERT_TRUE(combo->Popup()->IsOpen());
    uint16_t up = VK_UP;
    char16_t none = 0;
    list->KeyDown(up, none, TShiftState{});
    uint16_t escape = VK_ESCAPE;
    list->KeyDown(escape, none, TShiftState{});
    Run();
    EXPECT_FALSE(combo->Popup()->IsOpen());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(changes, (std::vector<int>{3}));
}

TEST_F(ComboBoxWindow, KeysAndWheelStepThroughTheClosedBox) {
    EXPECT_TRUE(Key(VK_END));
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_TRUE(Key(VK_DOWN));
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_TRUE(Key(VK_UP));
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_TRUE(Key(VK_HOME));
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_FALSE(Key(VK_TAB));

    bool handled = false;
    combo->MouseWheel(TShiftState{}, -120, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(combo->ItemIndex(), 1);
    Key(VK_END);
    changes.clear();
    handled = false;
    combo->MouseWheel(TShiftState{}, -120, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_TRUE(changes.empty());
}

TEST_F(ComboBoxWindow, StringComboBoxKeepsItsIndexInsideNewStrings) {
    auto* strings = new TsgStringComboBox(nullptr);
    root->AddObject(strings);
    strings->SetBounds(10, 50, 120, 23);
    for (const char* s : {"a", "b", "c", "d", "e", "f"})
        strings->Items()->Add(UnicodeString(s));
    EXPECT_EQ(strings->Count(), 6);
    strings->SetItemIndex(5);
    EXPECT_EQ(strings->GetData(), UnicodeString(u"f"));
    strings->Items()->Clear();
    for (const char* s : {"x", "y", "z"})
        strings->Items()->Add(UnicodeString(s));
    EXPECT_EQ(strings->Count(), 3);
    EXPECT_EQ(strings->ItemIndex(), 2);
    EXPECT_EQ(AnsiString(strings->ListBox()->ItemByIndex(0)->Text()), AnsiString("x"));
    EXPECT_FLOAT_EQ(strings->ListBox()->ItemByIndex(0)->Height(), 19);
    // A string picked after that stays the current one as the strings grow.
    strings->SetItemIndex(0);
    strings->Items()->Add(UnicodeString("w"));
    EXPECT_EQ(strings->ItemIndex(), 0);
}

TEST_F(ComboBoxWindow, StreamsHoldTheItemsAsChildrenOfTheComboBox) {
    TMemoryStream stream;
    combo->SaveToStream(stream);
    const std::string text(static_cast<const char*>(stream.Memory()),
                           static_cast<size_t>(stream.Size()));
    size_t items = 0;
    for (size_t at = text.find("TsgListBoxItem"); at != std::string::npos;
         at = text.find("TsgListBoxItem", at + 1))
        ++items;
    EXPECT_EQ(items, 4u) << text;
    EXPECT_EQ(text.find("TsgPopup"), std::string::npos) << text;
    EXPECT_EQ(text.find("TsgComboListBox"), std::string::npos) << text;

    auto copy = std::make_unique<TsgComboBox>(nullptr);
    stream.SetPosition(0);
    copy->LoadFromStream(stream);
    EXPECT_EQ(copy->Count(), 4);
    EXPECT_EQ(copy->ListBox()->GetCount(), 4);
    EXPECT_EQ(AnsiString(copy->ListBox()->ItemByIndex(3)->Text()), AnsiString("four"));
}

} // namespace
