// The popup box: the caption follows the chosen entry and chooses the first equal entry, an
// index past the list empties it, the menu lists the entries with the current one checked, and
// in a real (offscreen) form a click opens the menu and a click on a row chooses that entry.
#include "ControlsTestSupport.h"
#include "RangeBarsTestSupport.h"

#include "scene/controls/Sg_controls_popupbox.h"
#include "scene/core/Sg_classes_widestringlist.h"

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MenuWindow.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"
#include "scene/core/Sg_timerheap.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class PopupBoxTest : public ::testing::Test {
protected:
    void SetUp() override { rangetest::UseBuiltSheet(); }
    void TearDown() override { FreeDefaultStyles(); }
    TsgPopupBox* Box(std::initializer_list<const char16_t*> items) {
        auto* box = rangetest::AddStyled<TsgPopupBox>(scene, 0, 0, 120, 21);
        TsgWideStringList list;
        for (const char16_t* item : items)
            list.Add(item);
        box->SetItems(&list);
        box->OnChange = changes.Event();
        return box;
    }
    std::string Caption(TsgPopupBox* b) { return b->Text().ToUtf8(); }

    TsgOffscreenScene scene{nullptr, 200, 100};
    rangetest::TEventLog changes;
};

TEST_F(PopupBoxTest, TheCaptionFollowsTheIndexAndChoosesTheFirstEqualEntry) {
    TsgPopupBox* b = Box({u"A", u"B", u"A"});
    EXPECT_EQ(b->Height(), 21);
    EXPECT_EQ(b->ItemIndex(), -1);
    b->SetItemIndex(1);
    EXPECT_EQ(Caption(b), "B");
    ASSERT_NE(controlstest::Part<TsgText>(b, "text"), nullptr);
    EXPECT_EQ(controlstest::Part<TsgText>(b, "text")->Text().ToUtf8(), "B");
    b->SetItemIndex(2);
    EXPECT_EQ(Caption(b), "A");
    EXPECT_EQ(b->ItemIndex(), 0) << "the caption chose the first A";
    EXPECT_EQ(changes.Count, 2);
    b->SetItemIndex(0);
    EXPECT_EQ(changes.Count, 2) << "no change";

    b->SetText(u"Z");
    EXPECT_EQ(Caption(b), "");
    EXPECT_EQ(b->ItemIndex(), -1);
    b->SetText(u"B");
    EXPECT_EQ(b->ItemIndex(), 1);
    EXPECT_EQ(changes.Count, 2) << "the caption raises nothing";

    b->SetItemIndex(7);
    EXPECT_EQ(Caption(b), "");
    EXPECT_EQ(b->ItemIndex(), -1) << "no empty entry";
    EXPECT_EQ(changes.Count, 3);

    b->SetData(u"A");
    EXPECT_EQ(b->ItemIndex(), 0);
    EXPECT_EQ(b->GetData().ToUtf8(), "A");
    b->Items()->Clear();
    b->SetText(u"A");
    EXPECT_EQ(b->ItemIndex(), -1);
}

TEST_F(PopupBoxTest, TheTextIsNotStoredButTheIndexIs) {
    TsgPopupBox* b = Box({u"one", u"two"});
    b->SetItemIndex(1);
    TStringStream out{AnsiString()};
    b->SaveToStream(out);
    const std::string text = out.DataString().c_str();
    EXPECT_EQ(text.find("Text = "), std::string::npos) << text;
    EXPECT_NE(text.find("ItemIndex = 1"), std::string::npos) << text;
}

class PopupBoxWindow : public testing::Test {
protected:
    void SetUp() override {
        rangetest::UseBuiltSheet();
        clock.AutoAdvance = false;
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        form = std::make_unique<TForm>();
        form->SetBounds(100, 80, 300, 200);
        scene = new TsgScene(form.get());
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 300, 200);
        root = new TsgBackground(nullptr);
        root->SetAlign(vaClient);
        scene->AddObject(root);
        box = new TsgPopupBox(nullptr);
        root->AddObject(box);
        box->SetBounds(20, 100, 120, 21);
        for (const char16_t* s : {u"red", u"green", u"blue"})
            box->Items()->Add(s);
        box->SetItemIndex(0);
        box->OnChange = changes.Event();
        form->Show();
        Run();
        id = SDL_GetWindowID(form->PlatformWindow());
    }
    void TearDown() override {
        form.reset();
        Application->Reset();
        TTimerHeap::Instance().Reset();
        TsgTimerHeap::Instance().Reset();
        ResetPointerPosition();
        SetUiClock(nullptr);
        FreeDefaultStyles();
    }
    void Run() {
        Application->ProcessMessages();
        Application->ProcessMessages();
    }
    void Click(Uint32 window, int x, int y) {
        SDL_Event m{};
        m.type = SDL_MOUSEMOTION;
        m.motion.windowID = window;
        m.motion.x = x;
        m.motion.y = y;
        SDL_PushEvent(&m);
        for (bool down : {true, false}) {
            SDL_Event e{};
            e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            e.button.windowID = window;
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
            e.button.clicks = 1;
            e.button.x = x;
            e.button.y = y;
            SDL_PushEvent(&e);
        }
        Run();
    }

    TManualClock clock;
    std::unique_ptr<TForm> form;
    TsgScene* scene = nullptr;
    TsgBackground* root = nullptr;
    TsgPopupBox* box = nullptr;
    rangetest::TEventLog changes;
    Uint32 id = 0;
};

TEST_F(PopupBoxWindow, AClickOpensTheListAndAClickOnARowChoosesIt) {
    Click(id, 60, 110);
    TPopupMenu* menu = box->PopupMenu();
    ASSERT_TRUE(menu->IsOpen());
    ASSERT_EQ(menu->Items()->Count(), 3);
    EXPECT_EQ(menu->Items()->Items(1)->Caption().ToUtf8(), "green");
    EXPECT_TRUE(menu->Items()->Items(0)->Checked());
    EXPECT_FALSE(menu->Items()->Items(2)->Checked());
    TMenuWindow* level = menu->Levels().front();
    const TRect row = level->RowRect(2);
    Click(SDL_GetWindowID(level->PlatformWindow()), (row.Left + row.Right) / 2,
          (row.Top + row.Bottom) / 2);
    Run();
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_EQ(box->ItemIndex(), 2);
    EXPECT_EQ(box->Text().ToUtf8(), "blue");
    EXPECT_EQ(changes.Count, 1);
}

} // namespace
