// A scene in a real (offscreen) form driven by SDL events pushed into the queue, as a user
// would make them: input scripts with the handler log they must give, cursors, Escape closing
// the form, dragging the form by empty space and sizing it by a grip.
#include "InputTestNodes.h"

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

using Lines = std::vector<std::string>;

class SceneInputWindow : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        form = std::make_unique<TForm>();
        form->SetBounds(100, 80, 200, 150);
        scene = std::make_unique<TsgScene>(nullptr);
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 200, 150);
        root = new TsgInputTestNode(nullptr);
        root->SetName("root");
        root->SetHitTest(false);
        scene->AddObject(root);
        form->Show();
        Run();
        id = SDL_GetWindowID(form->PlatformWindow());
        scene->SetFocus();
    }
    void TearDown() override {
        CancelHint();
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
    }
    TsgInputTestNode* Add(const char* name, float x, float y, float w, float h) {
        auto* node = new TsgInputTestNode(nullptr);
        node->SetName(name);
        node->Log = &log.Lines;
        node->SetBounds(x, y, w, h);
        root->AddObject(node);
        log.Watch(node);
        return node;
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
    void Button(bool down, int x, int y, Uint8 clicks = 1) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = id;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = clicks;
        e.button.x = x;
        e.button.y = y;
        Push(e);
    }
    void Click(int x, int y, Uint8 clicks = 1) {
        Button(true, x, y, clicks);
        Button(false, x, y, clicks);
    }
    void Key(SDL_Keycode key, Uint16 mod = KMOD_NONE) {
        for (bool down : {true, false}) {
            SDL_Event e{};
            e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.windowID = id;
            e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.sym = key;
            e.key.keysym.mod = mod;
            Push(e);
        }
    }
    void Text(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = id;
        std::snprintf(e.text.text, sizeof e.text.text, "%s", utf8);
        Push(e);
    }

    TManualClock clock;
    std::unique_ptr<TForm> form;
    std::unique_ptr<TsgScene> scene;
    TsgInputTestNode* root = nullptr;
    Uint32 id = 0;
    TsgInputLog log;
};

TEST_F(SceneInputWindow, ClicksTypingAndTabReachTheObjectsAsTheScriptSays) {
    TsgInputTestNode* name = Add("name", 10, 10, 80, 20);
    TsgInputTestNode* folder = Add("folder", 10, 40, 80, 20);
    TsgInputTestNode* ok = Add("ok", 110, 100, 60, 24);
    name->SetCanFocused(true);
    folder->SetCanFocused(true);
    ok->SetCanFocused(true);
    ok->TakesDialogKey = VK_RETURN;

    Motion(20, 15);
    Click(20, 15);
    Text("h\xC3\xA9");
    Key(SDLK_TAB);
    Key(SDLK_v, KMOD_LCTRL);
    Key(SDLK_RETURN);
    Motion(120, 110);
    Click(120, 110, 1);
    Button(true, 120, 110, 2);
    Button(false, 120, 110, 2);
    Run();
    EXPECT_EQ(log.Lines,
              (Lines{"name enter", "name focus", "name down L - 10,5", "name up L - 10,5",
                     "name click", "keydown 0 #104 -", "keydown 0 #233 -",
                     // Tab moves on; its character then reaches the newly focused box.
                     "name unfocus", "folder focus", "keydown 0 #9 -", "keyup 9 #0 -",
                     // Ctrl+V: the key, then its letter as key-down and key-up.
                     "keydown 86 #0 C", "keydown 0 #118 C", "keyup 0 #118 C", "keyup 86 #0 C",
                     // Return goes to the default button first and comes once only.
                     "ok dialogkey 13", "keydown 0 #0 -", "keyup 13 #0 -",
                     // A click takes the focus; a second press within the click count is a
                     // double click, which clicks no second time.
                     "name leave", "ok enter", "folder unfocus", "ok focus", "ok down L - 10,10",
                     "ok up L - 10,10", "ok click", "ok down L D 10,10", "ok dblclick",
                     "ok up L - 10,10"}));
}

TEST_F(SceneInputWindow, CursorsFollowTheHoveredObjectButNotWhileAnObjectHoldsTheCapture) {
    TsgInputTestNode* a = Add("a", 10, 10, 50, 50);
    a->SetCursor(crHandPoint);
    a->SetAutoCapture(true);
    Add("b", 100, 10, 50, 50)->SetCursor(crIBeam);
    log.Moves = true;
    Motion(20, 20);
    Run();
    EXPECT_EQ(ShownCursor(), crHandPoint);
    Button(true, 20, 20);
    Motion(120, 20);
    Run();
    EXPECT_EQ(ShownCursor(), crHandPoint) << "the capture keeps the cursor";
    Motion(250, -5); // outside the window
    Button(false, 250, -5);
    Motion(120, 20);
    Run();
    EXPECT_EQ(ShownCursor(), crIBeam);
    Motion(90, 100);
    Run();
    EXPECT_EQ(ShownCursor(), crDefault);
    EXPECT_EQ(log.Lines, (Lines{"a enter", "a move 10,10", "a down L - 10,10", "a move 110,10",
                                "a move 240,-15", "a up L - 240,-15", "a leave", "b enter",
                                "b move 20,10", "b leave"}));
}

TEST_F(SceneInputWindow, EscapeClosesTheFormWhenAskedTo) {
    Key(SDLK_ESCAPE);
    Run();
    EXPECT_EQ(form->ModalResult(), mrNone);
    scene->SetEscCloseWindow(true);
    Key(SDLK_ESCAPE);
    Run();
    EXPECT_EQ(form->ModalResult(), mrCancel);
}

TEST_F(SceneInputWindow, EmptySpaceDragsTheFormAndAGripSizesIt) {
    TsgInputTestGrip* grip = new TsgInputTestGrip(nullptr);
    grip->SetName("grip");
    grip->SetBounds(180, 130, 20, 20);
    root->AddObject(grip);
    log.Watch(grip);

    Motion(150, 100);
    Button(true, 150, 100);
    Motion(170, 110);
    Run();
    EXPECT_TRUE(scene->FormDragging());
    EXPECT_EQ(form->BoundsRect(), (TRect{120, 90, 320, 240}));
    // The pointer rests where it is on the screen, which is the press point of the moved form.
    Motion(150, 100);
    Button(false, 150, 100);
    Run();
    EXPECT_FALSE(scene->FormDragging());
    EXPECT_EQ(form->BoundsRect(), (TRect{120, 90, 320, 240}));

    Motion(190, 140);
    Run();
    EXPECT_EQ(ShownCursor(), crSizeNWSE);
    Button(true, 190, 140);
    Motion(200, 150);
    Motion(205, 148);
    Button(false, 205, 148);
    Run();
    EXPECT_EQ(form->Width(), 215);
    EXPECT_EQ(form->Height(), 158);
    // The grip gets no press; the release still goes to the object under the press point.
    EXPECT_EQ(log.Lines, (Lines{"grip enter", "grip up L - 25,18"}));

    scene->SetAllowFormDrag(false);
    Motion(50, 50);
    Button(true, 50, 50);
    Motion(90, 90);
    Button(false, 90, 90);
    Run();
    EXPECT_EQ(form->Left(), 120);
    EXPECT_EQ(form->Top(), 90);
}

TEST_F(SceneInputWindow, TheWheelAndHintsReachTheObjectUnderThePointer) {
    TsgInputTestNode* a = Add("a", 10, 10, 80, 60);
    Add("inner", 20, 20, 20, 20)->SetParent(a);
    a->SetHint(u"Where the files go");
    a->SetShowHint(true);
    log.WheelTakers = {"a"};
    Motion(40, 40);
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = id;
    e.wheel.y = -1;
    e.wheel.mouseX = 40;
    e.wheel.mouseY = 40;
    Push(e);
    Run();
    EXPECT_EQ(log.Lines,
              (Lines{"inner enter", "inner wheel -120 at 40,40", "a wheel -120 at 40,40"}));

    // The inner object shows no hint and hides its parent's.
    clock.Advance(HintPause);
    Run();
    EXPECT_EQ(ShownHint(), nullptr);
    Motion(15, 60);
    Run();
    clock.Advance(HintPause);
    Run();
    ASSERT_NE(ShownHint(), nullptr);
    EXPECT_EQ(ShownHint()->Text(), u"Where the files go");
    Motion(150, 120);
    Run();
    EXPECT_EQ(ShownHint(), nullptr) << "the pointer left the hint's rectangle";
}

} // namespace
