// Glyph buttons, the expander and the popup box in a real (offscreen) form, driven by SDL events
// pushed as a user makes them: a bitmap button clicks, the expander's header button collapses
// and expands it, and the popup box opens its list on a click and takes the entry of the row
// clicked in the menu window.
#include "RangeBarsTestSupport.h"

#include "scene/controls/Sg_controls_expander.h"
#include "scene/controls/Sg_controls_glyphbuttons.h"
#include "scene/controls/Sg_controls_popupbox.h"
#include "scene/core/Sg_timerheap.h"

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MenuWindow.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

class GlyphWindow : public testing::Test {
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
        expander = new TsgExpander(nullptr);
        root->AddObject(expander);
        expander->SetBounds(160, 0, 130, 130);
        expander->OnExpand = expands.Event();
        glyph = new TsgBitmapButton(nullptr);
        root->AddObject(glyph);
        glyph->SetBounds(20, 20, 100, 30);
        glyph->OnClick = clicks.Event();
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
    TsgExpander* expander = nullptr;
    TsgBitmapButton* glyph = nullptr;
    rangetest::TEventLog changes, expands, clicks;
    Uint32 id = 0;
};

TEST_F(GlyphWindow, AClickOpensTheListAndAClickOnARowChoosesIt) {
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

TEST_F(GlyphWindow, TheHeaderButtonCollapsesTheExpanderAndAGlyphButtonClicks) {
    Click(id, 70, 35);
    EXPECT_EQ(clicks.Count, 1);
    // The header button sits at the expander's top left, 20 x 22.
    Click(id, 170, 11);
    EXPECT_FALSE(expander->IsExpanded());
    ASSERT_NE(expander->HeaderButton(), nullptr);
    EXPECT_EQ(expander->Height(), expander->HeaderButton()->Height());
    Click(id, 170, 11);
    EXPECT_TRUE(expander->IsExpanded());
    EXPECT_EQ(expander->Height(), 130);
    EXPECT_EQ(expands.Count, 2);
}

} // namespace
