// The range controls in a real (offscreen) form, driven by SDL events pushed as a user makes
// them: dragging a scroll bar's thumb, the wheel over a scroll bar, a track bar's keys, dragging
// a splitter, and holding an arrow button with the clock stepped by hand.
#include "RangeBarsTestSupport.h"

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>

#include <cmath>
#include <memory>

namespace {

using rangetest::TEventLog;

float BarValue(TObject* o) {
    return static_cast<TsgScrollBar*>(o)->Value();
}

class BarsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        rangetest::UseBuiltSheet();
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        form = std::make_unique<TForm>();
        form->SetBounds(100, 80, 320, 240);
        scene = std::make_unique<TsgScene>(nullptr);
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 320, 240);
        root = new TsgVisualObject(nullptr);
        root->SetHitTest(false);
        root->SetBounds(0, 0, 320, 240);
        root->OnMouseWheel = TsgMouseWheelEvent::Bind<&BarsWindow::RootWheel>(this);
        scene->AddObject(root);
        form->Show();
        Run();
        id = SDL_GetWindowID(form->PlatformWindow());
        scene->SetFocus();
    }
    void TearDown() override {
        scene.reset();
        form.reset();
        Application->Reset();
        TTimerHeap::Instance().Reset();
        TMsg msg;
        while (PeekMessage(&msg, nullptr, 0, 0xFFFFFFFF, PM_REMOVE) && msg.message != WM_PAINT &&
               msg.message != WM_TIMER) {
        }
        ResetPointerPosition();
        SetUiClock(nullptr);
        FreeDefaultStyles();
    }
    template <class T>
    T* Add(float x, float y, float w, float h) {
        auto* c = new T(nullptr);
        root->AddObject(c);
        c->SetBounds(x, y, w, h);
        rangetest::ApplyStyles(c);
        return c;
    }
    void RootWheel(TObject*, TShiftState, int delta, const TsgPoint&, bool& handled) {
        wheel += delta;
        handled = true;
    }
    void Run() { Application->ProcessMessages(); }
    void Push(SDL_Event e) { SDL_PushEvent(&e); }
    void Motion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = id;
        e.motion.x = x;
        e.motion.y = y;
        Push(e);
    }
    void Button(bool down, int x, int y) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = id;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = x;
        e.button.y = y;
        Push(e);
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
    }
    // A press at (x, y), moves in steps to (x + dx, y + dy), a release there.
    void DragBy(int x, int y, int dx, int dy, int steps) {
        Motion(x, y);
        Button(true, x, y);
        for (int i = 1; i <= steps; ++i)
            Motion(x + dx * i / steps, y + dy * i / steps);
        Button(false, x + dx, y + dy);
        Run();
    }
    static TsgPoint Centre(TsgVisualObject* v) {
        return v->LocalToAbsolute({v->Width() / 2, v->Height() / 2});
    }

    TManualClock clock;
    std::unique_ptr<TForm> form;
    std::unique_ptr<TsgScene> scene;
    TsgVisualObject* root = nullptr;
    Uint32 id = 0;
    int wheel = 0;
};

} // namespace

TEST_F(BarsWindow, DraggingAScrollBarsThumbMovesTheValueStepByStep) {
    auto* bar = Add<TsgScrollBar>(10, 10, 220, 18);
    bar->SetViewportSize(20);
    TEventLog log;
    log.Read = BarValue;
    bar->OnChange = log.Event();
    Run();
    TsgCustomTrack* track = bar->Track();
    ASSERT_NE(track, nullptr);
    TsgThumb* thumb = track->Thumb();
    ASSERT_NE(thumb, nullptr);
    const TsgPoint c = Centre(thumb);
    const float length = track->Width();
    // A quarter of the track is a quarter of the range.
    DragBy(int(c.X), int(c.Y), int(std::lround(length / 4)), 0, 4);
    ASSERT_EQ(log.Values.size(), 4u);
    EXPECT_NEAR(bar->Value(), 25, 1);
    for (size_t i = 1; i < log.Values.size(); ++i)
        EXPECT_GT(log.Values[i], log.Values[i - 1]);
    EXPECT_FALSE(track->IsTracking());
    // Dragging far beyond the end stops at Max - ViewportSize.
    const TsgPoint again = Centre(thumb);
    DragBy(int(again.X), int(again.Y), 400, 0, 2);
    EXPECT_EQ(bar->Value(), 80.0f);
}

// A scroll bar does not take the wheel itself: it passes on to its parent (a scroll box scrolls).
TEST_F(BarsWindow, TheWheelOverAScrollBarGoesOnToItsParent) {
    auto* bar = Add<TsgScrollBar>(10, 10, 220, 18);
    bar->SetValue(40);
    TEventLog log;
    bar->OnChange = log.Event();
    Run();
    const TsgPoint c = Centre(bar);
    Motion(int(c.X), int(c.Y));
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = id;
    e.wheel.y = -1;
    e.wheel.mouseX = int(c.X);
    e.wheel.mouseY = int(c.Y);
    Push(e);
    Run();
    EXPECT_EQ(wheel, -120);
    EXPECT_EQ(bar->Value(), 40.0f);
    EXPECT_EQ(log.Count, 0);
}

TEST_F(BarsWindow, APressOnATrackBarFocusesItAndKeysStepIt) {
    auto* track = Add<TsgTrackBar>(10, 60, 200, 18);
    TEventLog log;
    track->OnChange = log.Event();
    Run();
    Motion(110, 69);
    Run();
    Button(true, 110, 69);
    Run();
    Button(false, 110, 69);
    Run();
    EXPECT_TRUE(track->IsFocused());
    EXPECT_EQ(track->Value(), 50.0f);
    Key(SDLK_RIGHT);
    Key(SDLK_RIGHT);
    Key(SDLK_HOME);
    Run();
    EXPECT_EQ(track->Value(), 0.0f);
    EXPECT_EQ(log.Count, 4);
}

TEST_F(BarsWindow, DraggingASplitterResizesTheLeftPanel) {
    auto* panel = new TsgVisualObject(nullptr);
    root->AddObject(panel);
    panel->SetBounds(0, 0, 100, 100);
    panel->SetAlign(vaLeft);
    auto* splitter = Add<TsgSplitter>(0, 0, 5, 100);
    root->Realign();
    Run();
    ASSERT_EQ(splitter->Position()->X(), 100);
    DragBy(102, 120, 30, 0, 3);
    EXPECT_EQ(panel->Width(), 130);
    DragBy(132, 120, -400, 0, 2);
    EXPECT_EQ(panel->Width(), 20);
}

// Holding an arrow button repeats its click on the clock: at 600 and 700 ms and on release.
TEST_F(BarsWindow, HoldingAnArrowButtonRepeatsOnTheClock) {
    auto* bar = Add<TsgScrollBar>(10, 10, 220, 18);
    TsgVisualObject* plus = bar->MaxButton();
    if (!plus)
        GTEST_SKIP() << "the sheet's arrow buttons need the button classes of this build";
    TEventLog log;
    log.Read = BarValue;
    bar->OnChange = log.Event();
    Run();
    const TsgPoint c = Centre(plus);
    Motion(int(c.X), int(c.Y));
    Button(true, int(c.X), int(c.Y));
    Run();
    // The delay ends at 500 ms; the repeat interval then counts from there, as a real clock would
    // deliver it.
    clock.Advance(500);
    Run();
    clock.Advance(99);
    Run();
    EXPECT_EQ(log.Count, 0);
    clock.Advance(1);
    Run();
    EXPECT_EQ(log.Count, 1);
    clock.Advance(100);
    Run();
    EXPECT_EQ(log.Count, 2);
    Button(false, int(c.X), int(c.Y));
    Run();
    EXPECT_EQ(log.Values, (std::vector<float>{1, 2, 3}));
}
