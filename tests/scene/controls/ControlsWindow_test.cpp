// Buttons, check boxes and radio buttons in a real (offscreen) form, driven by SDL events pushed
// into the queue as a user would make them, with timers on the injected clock.
#include "ControlsTestSupport.h"

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"
#include "scene/core/Sg_timerheap.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class ControlsWindow : public testing::Test {
protected:
    void SetUp() override {
        controlstest::UseSmallSheet();
        clock.AutoAdvance = false;
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        form = std::make_unique<TForm>();
        form->SetBounds(100, 80, 300, 200);
        // The form owns the scene, so buttons find it among the scene's owners.
        scene = new TsgScene(form.get());
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 300, 200);
        root = new TsgBackground(nullptr);
        root->SetAlign(vaClient);
        scene->AddObject(root);
        form->Show();
        Run();
        id = SDL_GetWindowID(form->PlatformWindow());
        scene->SetFocus();
    }
    void TearDown() override {
        form.reset();
        Application->Reset();
        TTimerHeap::Instance().Reset();
        TsgTimerHeap::Instance().Reset();
        TMsg msg;
        while (PeekMessage(&msg, nullptr, 0, 0xFFFFFFFF, PM_REMOVE) && msg.message != WM_PAINT &&
               msg.message != WM_TIMER) {
        }
        ResetPointerPosition();
        SetUiClock(nullptr);
        controlstest::DropSheet();
    }
    template <class T>
    T* Add(const char* name, float x, float y) {
        auto* c = new T(nullptr);
        c->SetName(name);
        c->Position()->SetPoint({x, y});
        root->AddObject(c);
        return c;
    }
    // Logs "<name> click" and "<name> change <checked>" lines.
    void WatchClick(TsgVisualObject* o) {
        o->OnClick = TNotifyEvent::Bind<&ControlsWindow::Clicked>(this);
    }
    void WatchChange(TsgCheckControl* o) {
        o->OnChange = TNotifyEvent::Bind<&ControlsWindow::Changed>(this);
    }
    void Clicked(TObject* Sender) {
        log.push_back(static_cast<TComponent*>(static_cast<TsgObject*>(Sender))->Name().c_str() +
                      std::string(" click") +
                      (pressedAt ? " +" + std::to_string(clock.NowMs() - pressedAt) : ""));
    }
    void Changed(TObject* Sender) {
        auto* c = static_cast<TsgCheckControl*>(static_cast<TsgObject*>(Sender));
        log.push_back(std::string(c->Name().c_str()) + " change " + (c->IsChecked() ? "1" : "0"));
    }
    void Run() { Application->ProcessMessages(); }
    // Steps the clock; a due timer's message is posted on one pump and handled on the next.
    void Advance(uint64_t ms) {
        clock.Advance(ms);
        Run();
        Run();
    }
    void Push(SDL_Event e) { SDL_PushEvent(&e); }
    void Motion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = id;
        e.motion.x = x;
        e.motion.y = y;
        e.motion.state = held ? SDL_BUTTON_LMASK : 0;
        Push(e);
    }
    void Button(bool down, int x, int y, Uint8 clicks = 1) {
        Motion(x, y);
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = id;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = clicks;
        e.button.x = x;
        e.button.y = y;
        Push(e);
        held = down;
    }
    void Click(int x, int y) {
        Button(true, x, y);
        Button(false, x, y);
        Run();
    }
    void Key(SDL_Keycode key) {
        for (bool down : {true, false}) {
            SDL_Event e{};
            e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.windowID = id;
            e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.sym = key;
            Push(e);
        }
        Run();
    }

    TManualClock clock{10000};
    std::unique_ptr<TForm> form;
    TsgScene* scene = nullptr;
    TsgBackground* root = nullptr;
    Uint32 id = 0;
    bool held = false;
    // With a press time, clicks are logged with the time since the press.
    uint64_t pressedAt = 0;
    Lines log;
};

TEST_F(ControlsWindow, AButtonClicksOnReleaseInsideOnSpaceEnterAndTwiceOnADoubleClick) {
    auto* ok = Add<TsgButton>("ok", 10, 10);
    auto* other = Add<TsgButton>("other", 10, 50);
    WatchClick(ok);
    WatchClick(other);
    Click(20, 20);
    EXPECT_TRUE(ok->IsFocused());
    EXPECT_EQ(form->ModalResult(), mrNone) << "no modal result of its own";
    Key(SDLK_SPACE);
    Key(SDLK_RETURN);
    // Pressed inside, released outside: shown unpressed, no click.
    Button(true, 20, 20);
    Run();
    EXPECT_TRUE(ok->IsPressed());
    Motion(200, 150);
    Run();
    EXPECT_FALSE(ok->IsPressed()) << "the pressed state follows the pointer";
    Motion(20, 20);
    Run();
    EXPECT_TRUE(ok->IsPressed());
    Motion(200, 150);
    Button(false, 200, 150);
    Run();
    EXPECT_FALSE(ok->IsPressed());
    // A double click: one click from the first release, one from the double click.
    Button(true, 20, 60);
    Button(false, 20, 60);
    Button(true, 20, 60, 2);
    Button(false, 20, 60, 2);
    Run();
    EXPECT_EQ(log, (Lines{"ok click", "ok click", "ok click", "other click", "other click"}));
    other->SetModalResult(mrOk);
    Click(20, 60);
    EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(ControlsWindow, EnterAndEscapeReachTheDefaultAndCancelButtonsWhereverTheFocusIs) {
    auto* ok = Add<TsgButton>("ok", 10, 10);
    auto* cancel = Add<TsgButton>("cancel", 10, 50);
    auto* box = Add<TsgCheckBox>("box", 10, 90);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    WatchClick(ok);
    WatchClick(cancel);
    box->SetFocus();
    Key(SDLK_RETURN);
    Key(SDLK_ESCAPE);
    EXPECT_EQ(log, (Lines{"ok click", "cancel click"}));
    EXPECT_EQ(form->ModalResult(), mrCancel);
    EXPECT_FALSE(box->IsChecked()) << "the default button took Enter";
}

TEST_F(ControlsWindow, AHeldButtonRepeatsOnTheClockAndWaitsTheFullDelayAtEveryPress) {
    auto* arrow = Add<TsgSpeedButton>("arrow", 10, 10);
    WatchClick(arrow);
    for (int press = 0; press < 2; ++press) {
        SCOPED_TRACE(press == 0 ? "first press" : "second press");
        log.clear();
        Button(true, 15, 15);
        Run();
        pressedAt = clock.NowMs();
        // Held for 750 ms: clicks 600 and 700 ms after the press, then one on the release.
        for (uint64_t at : {500, 599, 600, 699, 700, 750})
            Advance(pressedAt + at - clock.NowMs());
        Button(false, 15, 15);
        Run();
        Advance(1000);
        EXPECT_EQ(log, (Lines{"arrow click +600", "arrow click +700", "arrow click +750"}));
    }
}

TEST_F(ControlsWindow, ToggleAndLatchedButtonsKeepTheirState) {
    auto* toggle = Add<TsgButton>("toggle", 10, 10);
    auto* latch = Add<TsgButton>("latch", 10, 50);
    toggle->SetStaysPressed(true);
    latch->SetStaysPressedDown(true);
    Click(20, 20);
    EXPECT_TRUE(toggle->IsPressed());
    Button(true, 20, 20);
    Motion(200, 150);
    Run();
    EXPECT_FALSE(toggle->IsPressed()) << "the second press flips it back";
    Motion(20, 20);
    Run();
    EXPECT_FALSE(toggle->IsPressed()) << "a toggle does not follow the pointer";
    Button(false, 20, 20);
    Run();
    Click(20, 60);
    Click(20, 60);
    EXPECT_TRUE(latch->IsPressed());
    latch->SetIsPressed(false);
    EXPECT_TRUE(latch->IsPressed()) << "only a toggle takes IsPressed from code";
    toggle->SetIsPressed(true);
    EXPECT_TRUE(toggle->IsPressed());
}

TEST_F(ControlsWindow, ACheckBoxTogglesByClickSpaceAndEnterButNotWhenReleasedOutside) {
    auto* box = Add<TsgCheckBox>("box", 10, 10);
    WatchClick(box);
    WatchChange(box);
    Click(20, 20);
    Key(SDLK_SPACE);
    Key(SDLK_RETURN);
    Button(true, 20, 20);
    Run();
    EXPECT_TRUE(box->IsPressed());
    Motion(250, 150);
    Run();
    EXPECT_FALSE(box->IsPressed());
    Button(false, 250, 150);
    Run();
    EXPECT_EQ(log, (Lines{"box click", "box change 1", "box change 0", "box change 1"}));
    EXPECT_TRUE(box->IsChecked());
}

TEST_F(ControlsWindow, ClickingARadioButtonChecksItAndUnchecksItsGroup) {
    auto* a = Add<TsgRadioButton>("a", 10, 10);
    auto* b = Add<TsgRadioButton>("b", 10, 40);
    auto* c = Add<TsgRadioButton>("c", 10, 70);
    for (TsgRadioButton* r : {a, b, c})
        WatchChange(r);
    Click(20, 20);
    Click(20, 50);
    Click(20, 50); // clicking the checked one changes nothing
    EXPECT_EQ(log, (Lines{"a change 1", "a change 0", "b change 1"}));
    EXPECT_FALSE(a->IsChecked());
    EXPECT_TRUE(b->IsChecked());
    EXPECT_FALSE(c->IsChecked());
}

TEST_F(ControlsWindow, TheCloseButtonClosesTheHostingForm) {
    auto* close = Add<TsgCloseButton>("close", 250, 10);
    bool clicked = false;
    struct TFlag {
        bool* Flag;
        void Set(TObject*) { *Flag = true; }
    } flag{&clicked};
    close->OnCloseClick = TNotifyEvent::Bind<&TFlag::Set>(&flag);
    ASSERT_TRUE(form->Visible());
    Click(255, 15);
    EXPECT_TRUE(clicked);
    EXPECT_FALSE(form->Visible());
}

} // namespace
