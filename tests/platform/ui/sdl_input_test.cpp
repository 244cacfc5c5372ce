// The input side of the event layer, fed with events pushed into SDL's queue: every field a
// message carries comes from the event itself (modifiers, click counts, the wheel's pointer),
// the cursor query answers the last pointer position, compositions are announced once, and
// hints show after the pointer rests.
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/InputMethod.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/Present.h"
#include "platform/ui/SdlVideo.h"

#include "UiTestSupport.h"

#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

std::string ShiftText(TShiftState s) {
    std::string t;
    if (s.Contains(ssShift))
        t += "S";
    if (s.Contains(ssCtrl))
        t += "C";
    if (s.Contains(ssAlt))
        t += "A";
    if (s.Contains(ssDouble))
        t += "D";
    return t.empty() ? "-" : t;
}

// Writes what reaches it; answers hints with its own text.
class Recorder : public TWinControl {
public:
    Lines log;
    UnicodeString hint;

protected:
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        log.push_back("down " + std::to_string(b) + " " + ShiftText(s) + " " + std::to_string(x) +
                      "," + std::to_string(y));
    }
    void MouseUp(TMouseButton b, TShiftState, int, int) override {
        log.push_back("up " + std::to_string(b));
    }
    bool DoMouseWheel(TShiftState, int delta, TPoint p) override {
        log.push_back("wheel " + std::to_string(delta) + " at " + std::to_string(p.X) + "," +
                      std::to_string(p.Y));
        return true;
    }
    void KeyDown(uint16_t& key, TShiftState s) override {
        log.push_back("keydown " + std::to_string(key) + " " + ShiftText(s));
    }
    void KeyPress(char16_t& c) override { log.push_back("char " + std::to_string(int(c))); }
    void MouseLeave() override { log.push_back("leave"); }
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_IME_STARTCOMPOSITION) {
            log.push_back("composition");
            return;
        }
        if (m.Msg == CM_HINTSHOW) {
            auto* info = reinterpret_cast<THintInfo*>(m.LParam);
            info->HintStr = hint;
            info->CursorRect = TRect{0, 0, 20, 20};
            return;
        }
        TWinControl::WndProc(m);
    }
};

class RecorderForm : public TForm {
public:
    Recorder child;
    RecorderForm() {
        SetBounds(100, 50, 160, 120);
        child.SetParent(this);
        child.SetBounds(40, 30, 100, 80);
    }
    ~RecorderForm() override { child.SetParent(nullptr); }
};

class SdlInput : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        CancelHint();
        form.Show();
        Application->ProcessMessages();
        id = SDL_GetWindowID(form.PlatformWindow());
        form.child.SetFocus();
    }
    void TearDown() override {
        CancelHint();
        ResetPointerPosition();
        UiTest::TearDown();
    }
    void Push(SDL_Event e) { SDL_PushEvent(&e); }
    void Key(SDL_Keycode key, Uint16 mod, bool down = true) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = id;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        Push(e);
    }
    void Text(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = id;
        std::snprintf(e.text.text, sizeof e.text.text, "%s", utf8);
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
    void Motion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = id;
        e.motion.x = x;
        e.motion.y = y;
        Push(e);
    }
    void Run() { Application->ProcessMessages(); }

    RecorderForm form;
    Uint32 id = 0;
};

TEST_F(SdlInput, ModifiersComeFromTheKeyEventsNotFromTheKeyboardNow) {
    Key(SDLK_TAB, KMOD_LSHIFT);
    Key(SDLK_a, KMOD_LCTRL | KMOD_LALT);
    Key(SDLK_LCTRL, KMOD_LCTRL);
    Text("x"); // typed with Ctrl held: the key made its character already
    Button(true, 50, 40);
    Button(false, 50, 40);
    Key(SDLK_LCTRL, KMOD_NONE, false);
    Text("y");
    Run();
    EXPECT_EQ(form.child.log, (Lines{"keydown 9 S", "char 9", "keydown 65 CA", "keydown 17 C",
                                     "down 0 C 10,10", "up 0", "char 121"}));
}

TEST_F(SdlInput, EvenClickCountsAreDoubleClicksAndTheThirdPressIsPlain) {
    for (Uint8 clicks = 1; clicks <= 4; ++clicks) {
        Button(true, 45, 35, clicks);
        Button(false, 45, 35, clicks);
    }
    Run();
    EXPECT_EQ(form.child.log, (Lines{"down 0 - 5,5", "up 0", "down 0 D 5,5", "up 0", "down 0 - 5,5",
                                     "up 0", "down 0 D 5,5", "up 0"}));
}

TEST_F(SdlInput, TheWheelActsAtThePointerTheEventCarriesInStepsOf120) {
    const struct {
        int y;
        Uint32 direction;
        int mouseX, mouseY;
        const char* expected;
    } cases[] = {
        {1, SDL_MOUSEWHEEL_NORMAL, 60, 50, "wheel 120 at 160,100"},
        {-2, SDL_MOUSEWHEEL_NORMAL, 41, 31, "wheel -240 at 141,81"},
        {1, SDL_MOUSEWHEEL_FLIPPED, 60, 50, "wheel -120 at 160,100"},
    };
    for (const auto& c : cases) {
        form.child.log.clear();
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.windowID = id;
        e.wheel.y = c.y;
        e.wheel.direction = c.direction;
        e.wheel.mouseX = c.mouseX;
        e.wheel.mouseY = c.mouseY;
        Push(e);
        Run();
        EXPECT_EQ(form.child.log, (Lines{c.expected}));
    }
}

TEST_F(SdlInput, TheCursorQueryAnswersTheLastPointerPosition) {
    Motion(70, 60);
    Run();
    TPoint p;
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p, (TPoint{170, 110}));
    Button(true, 12, 8);
    Button(false, 12, 8);
    Run();
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p, (TPoint{112, 58}));
}

TEST_F(SdlInput, LeavingTheFormLeavesTheHoveredWindow) {
    Motion(70, 60);
    Run();
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id;
    e.window.event = SDL_WINDOWEVENT_LEAVE;
    Push(e);
    Run();
    EXPECT_EQ(form.child.log, (Lines{"leave"}));
}

TEST_F(SdlInput, ACompositionIsAnnouncedOnceAndItsRectangleIsPlacedInTheForm) {
    auto editing = [&](const char* text) {
        SDL_Event e{};
        e.type = SDL_TEXTEDITING;
        e.edit.windowID = id;
        std::snprintf(e.edit.text, sizeof e.edit.text, "%s", text);
        Push(e);
    };
    editing("k");
    editing("ka");
    editing("");
    editing("n");
    Text("\xE3\x81\xAA"); // the composed result comes as text
    editing("x");
    Run();
    EXPECT_EQ(form.child.log, (Lines{"composition", "composition", "char 12394", "composition"}));

    SetInputMethodRect(&form.child, form.child.ClientRect(), TPoint{7, 9});
    EXPECT_EQ(InputMethodRect(), (TRect{47, 39, 140, 110}));
}

TEST_F(SdlInput, AHintShowsAfterThePointerRestsAndGoesOnAPress) {
    form.child.hint = u"Browse for a folder";
    Motion(50, 40);
    Run();
    EXPECT_EQ(ShownHint(), nullptr);
    clock.Advance(HintPause - 1);
    Run();
    EXPECT_EQ(ShownHint(), nullptr) << "not before the pause";
    clock.Advance(1);
    Run();
    THintWindow* hint = ShownHint();
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->Text(), u"Browse for a folder");
    EXPECT_EQ(hint->Left(), 150);
    EXPECT_EQ(hint->Top(), 90 + 20);
    EXPECT_GT(hint->Width(), 40);

    // The text is drawn: dark pixels on the light ground.
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadWindowPixels(hint, pixels, w, h));
    int dark = 0;
    for (int y = 2; y < h - 2; ++y)
        for (int x = 2; x < w - 2; ++x)
            if ((pixels[size_t(y * w + x)] & 0xFF) < 0x60)
                ++dark;
    EXPECT_GT(dark, 10);

    Motion(52, 41); // still inside the hint's rectangle
    Run();
    EXPECT_NE(ShownHint(), nullptr);
    Button(true, 52, 41);
    Run();
    EXPECT_EQ(ShownHint(), nullptr);

    // A window that gives no text shows no hint.
    form.child.hint = UnicodeString();
    Motion(60, 50);
    Run();
    clock.Advance(HintPause);
    Run();
    EXPECT_EQ(ShownHint(), nullptr);
}

} // namespace
