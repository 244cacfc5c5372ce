// A text box in a real (offscreen) window: typing arrives as SDL text input, keys and Ctrl
// shortcuts as SDL key events, the pointer shows the I-beam over the box, and non-ASCII text
// survives the system clipboard both ways.
#include "TextBoxTestSupport.h"

#include "scene/core/Sg_objects.h"

#include "platform/ui/Application.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/InputMethod.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>

#include <cstdio>
#include <memory>

namespace {

class TextBoxWindow : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterSgTextboxUnit();
        TextBoxTestStyle();
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        form = std::make_unique<TForm>();
        form->SetBounds(100, 80, 240, 120);
        scene = std::make_unique<TsgScene>(nullptr);
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 240, 120);
        box = new TsgTextBox(nullptr);
        box->SetResource(u"testtextboxstyle");
        // The scene's first object is its root and covers the window; the box sits on it.
        auto* root = new TsgRectangle(nullptr);
        scene->AddObject(root);
        root->AddObject(box);
        box->SetBounds(20, 30, 150, 21);
        form->Show();
        Run();
        id = SDL_GetWindowID(form->PlatformWindow());
        scene->SetFocus();
        // The keyboard starts with no modifier held, whatever the test before released last.
        SDL_Event release{};
        release.type = SDL_KEYUP;
        release.key.windowID = id;
        release.key.state = SDL_RELEASED;
        release.key.keysym.sym = SDLK_LCTRL;
        release.key.keysym.mod = KMOD_NONE;
        Push(release);
        Click(30, 40);
        Run();
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
        Clipboard()->Clear();
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
    void Click(int x, int y) {
        for (bool down : {true, false}) {
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
    void Drag(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = id;
        e.motion.state = SDL_BUTTON_LMASK;
        e.motion.x = x;
        e.motion.y = y;
        Push(e);
    }
    void Editing(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTEDITING;
        e.edit.windowID = id;
        std::snprintf(e.edit.text, sizeof e.edit.text, "%s", utf8);
        Push(e);
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
    TsgTextBox* box = nullptr;
    Uint32 id = 0;
};

TEST_F(TextBoxWindow, TextInputTypesIntoTheFocusedBoxAndKeysEditIt) {
    ASSERT_TRUE(box->IsFocused());
    Text("Zaż");
    Text("ółć");
    Run();
    EXPECT_EQ(box->Text(), UnicodeString(u"Zażółć"));
    Key(SDLK_BACKSPACE);
    Key(SDLK_HOME);
    Key(SDLK_RIGHT, KMOD_LSHIFT);
    Key(SDLK_DELETE);
    Run();
    EXPECT_EQ(box->Text(), UnicodeString(u"ażół"));
    EXPECT_EQ(box->CaretPosition(), 0);
}

TEST_F(TextBoxWindow, CtrlShortcutsGoThroughTheSystemClipboard) {
    Text("gr\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80");
    Run();
    Key(SDLK_a, KMOD_LCTRL);
    Key(SDLK_c, KMOD_LCTRL);
    Run();
    EXPECT_EQ(Clipboard()->AsText(), UnicodeString(u"grüß \U0001F600"));
    char* raw = SDL_GetClipboardText();
    ASSERT_NE(raw, nullptr);
    EXPECT_STREQ(raw, "gr\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80");
    SDL_free(raw);
    // Text put there by another program comes back as the same characters.
    SDL_SetClipboardText("\xD0\x9A\xD0\xB8\xD1\x97\xD0\xB2\r\nline two");
    Key(SDLK_END);
    Key(SDLK_v, KMOD_LCTRL);
    Run();
    EXPECT_EQ(box->Text(), UnicodeString(u"grüß \U0001F600Київ"));
    Key(SDLK_a, KMOD_LCTRL);
    Key(SDLK_x, KMOD_LCTRL);
    Run();
    EXPECT_EQ(box->Text(), UnicodeString());
    EXPECT_EQ(Clipboard()->AsText(), UnicodeString(u"grüß \U0001F600Київ"));
}

TEST_F(TextBoxWindow, PointerShowsTheIBeamOverTheBox) {
    Motion(60, 40);
    Run();
    EXPECT_EQ(ShownCursor(), crIBeam);
}

TEST_F(TextBoxWindow, TheInputMethodComposesAtTheCaret) {
    Text("abc");
    Run();
    ASSERT_EQ(box->Text(), UnicodeString(u"abc"));
    const float caret = box->GetCharX(3);
    ASSERT_GT(caret, 3.0f);
    Editing("k");
    Run();
    // The scene fills the form; the box is at (20, 30) and its content starts 2 units down.
    const TRect at = InputMethodRect();
    EXPECT_EQ(at.Left, 20 + static_cast<int>(caret));
    EXPECT_EQ(at.Top, 30 + 2);
    EXPECT_EQ(at.Right, 240);
    EXPECT_EQ(at.Bottom, 120);
    Editing("");
    Key(SDLK_HOME);
    Editing("a");
    Run();
    EXPECT_EQ(InputMethodRect().Left, 20 + static_cast<int>(box->GetCharX(0)));
}

TEST_F(TextBoxWindow, DraggingThePointerSelectsFromThePressToThePointer) {
    Text("hello world");
    Run();
    Key(SDLK_HOME);
    Run();
    ASSERT_EQ(box->Text(), UnicodeString(u"hello world"));
    const int y = 40;
    const int from = 20 + static_cast<int>(box->GetCharX(1)) + 1;
    const int to = 20 + static_cast<int>(box->GetCharX(7)) + 1;
    Motion(from, y);
    Button(true, from, y);
    Drag(from + 5, y);
    Drag(to, y);
    Run();
    EXPECT_EQ(box->SelText(), UnicodeString(u"ello w"));
    Button(false, to, y);
    // Moving after the release leaves the selection alone.
    Motion(from, y);
    Run();
    EXPECT_EQ(box->SelText(), UnicodeString(u"ello w"));
    EXPECT_EQ(box->CaretPosition(), 7);

    // Leftwards from a press, the selection grows to the other side.
    Button(true, to, y);
    Drag(from, y);
    Button(false, from, y);
    Run();
    EXPECT_EQ(box->SelText(), UnicodeString(u"ello w"));
    EXPECT_EQ(box->CaretPosition(), 1);
}

} // namespace
