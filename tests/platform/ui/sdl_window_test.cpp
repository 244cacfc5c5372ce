// Windows on SDL's offscreen driver: presenting buffers, reading them back, and input events
// pushed into SDL's queue as a user would make them.
#include "platform/ui/Forms.h"
#include "platform/ui/Present.h"
#include "platform/ui/SdlVideo.h"

#include "UiTestSupport.h"

#include <SDL.h>

#include <cstdio>
#include <vector>

namespace {
class SdlWindows : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(EnsureVideo());
        ASSERT_EQ(VideoDriverName(), "offscreen");
    }
};

// Paints its client area from a premultiplied buffer, as the scene does.
class BufferForm : public TForm {
public:
    std::vector<uint32_t> buffer;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        for (const TRect& r : GetUpdateRects(this))
            PresentBuffer(this, buffer.data(), Width(), Height(), Width() * 4, r);
    }
};

TEST_F(SdlWindows, APresentedBufferReadsBackPixelExactWithAlphaIgnored) {
    BufferForm form;
    form.SetBounds(10, 10, 64, 48);
    form.buffer.resize(64 * 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            form.buffer[static_cast<size_t>(y * 64 + x)] =
                (static_cast<uint32_t>(x * 4) << 24) | (static_cast<uint32_t>(x * 3) << 16) |
                (static_cast<uint32_t>(y * 5) << 8) | static_cast<uint32_t>((x + y) & 0xFF);
    form.Show();
    Application->ProcessMessages();
    ASSERT_GE(form.paints, 1);

    std::vector<uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadWindowPixels(&form, shown, w, h));
    ASSERT_EQ(w, 64);
    ASSERT_EQ(h, 48);
    for (size_t i = 0; i < shown.size(); ++i)
        ASSERT_EQ(shown[i], form.buffer[i] | 0xFF000000u) << "pixel " << i;

    // A change repaints its rectangle only: pixels outside keep what was shown before.
    std::vector<uint32_t> before = shown;
    std::fill(form.buffer.begin(), form.buffer.end(), 0x80402010u);
    TRect changed{8, 4, 20, 9};
    InvalidateRect(&form, &changed, false);
    Application->ProcessMessages();
    ASSERT_TRUE(ReadWindowPixels(&form, shown, w, h));
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            size_t i = static_cast<size_t>(y * 64 + x);
            uint32_t expected = changed.Contains({x, y}) ? 0xFF402010u : before[i];
            ASSERT_EQ(shown[i], expected) << x << "," << y;
        }
}

TEST_F(SdlWindows, AChildWindowPresentsAtItsPlaceInTheForm) {
    BufferForm form;
    form.SetBounds(0, 0, 40, 30);
    form.buffer.assign(40 * 30, 0xFF0000FFu);
    struct Child : TWinControl {
        void Paint() override {
            std::vector<uint32_t> green(static_cast<size_t>(Width() * Height()), 0xFF00FF00u);
            PresentBuffer(this, green.data(), Width(), Height(), Width() * 4, ClientRect());
        }
    } child;
    child.SetBounds(10, 5, 8, 6);
    child.SetParent(&form);
    form.Show();
    Application->ProcessMessages();
    std::vector<uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadWindowPixels(&form, shown, w, h));
    EXPECT_EQ(shown[static_cast<size_t>(5 * 40 + 10)], 0xFF00FF00u);
    EXPECT_EQ(shown[static_cast<size_t>(10 * 40 + 17)], 0xFF00FF00u);
    EXPECT_EQ(shown[static_cast<size_t>(11 * 40 + 17)], 0xFF0000FFu);
    EXPECT_EQ(shown[static_cast<size_t>(4 * 40 + 10)], 0xFF0000FFu);
}

// Records the mouse and key handlers it gets.
class InputForm : public TForm {
public:
    std::vector<std::string> log;

protected:
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        log.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," +
                      std::to_string(y) + (s.Contains(ssDouble) ? " double" : ""));
    }
    void MouseUp(TMouseButton b, TShiftState, int x, int y) override {
        log.push_back("up " + std::to_string(b) + " " + std::to_string(x) + "," +
                      std::to_string(y));
    }
    void MouseMove(TShiftState s, int x, int y) override {
        log.push_back("move " + std::to_string(x) + "," + std::to_string(y) +
                      (s.Contains(ssLeft) ? " left" : ""));
    }
    void KeyDown(uint16_t& key, TShiftState) override {
        log.push_back("keydown " + std::to_string(key));
    }
    void KeyPress(char16_t& c) override { log.push_back("char " + std::to_string(int(c))); }
};

void PushButton(SDL_Window* window, Uint32 type, Uint8 button, int x, int y, Uint8 clicks = 1) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = SDL_GetWindowID(window);
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

void PushMotion(SDL_Window* window, int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SDL_GetWindowID(window);
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
}

void PushKey(SDL_Window* window, SDL_Keycode key, Uint16 mod) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = SDL_GetWindowID(window);
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

TEST_F(SdlWindows, MouseInputGoesToTheCapturingWindowInItsCoordinates) {
    InputForm form;
    form.SetBounds(0, 0, 100, 100);
    form.Show();
    Application->ProcessMessages();
    SDL_Window* window = form.PlatformWindow();

    PushButton(window, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20);
    PushMotion(window, 150, -5); // outside the window: the press holds the capture
    PushButton(window, SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 150, -5);
    PushButton(window, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 3, 4, 2);
    PushButton(window, SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 3, 4);
    Application->ProcessMessages();
    EXPECT_EQ(form.log, (std::vector<std::string>{"down 0 10,20", "move 150,-5 left", "up 0 150,-5",
                                                  "down 1 3,4 double", "up 1 3,4"}));
    EXPECT_EQ(GetCapture(), nullptr) << "the capture ends with the last button";
}

TEST_F(SdlWindows, KeysBringTheirControlCharactersAndDisabledFormsGetNoInput) {
    InputForm form;
    form.Show();
    Application->ProcessMessages();
    SDL_Window* window = form.PlatformWindow();
    PushKey(window, SDLK_RETURN, KMOD_NONE);
    PushKey(window, SDLK_v, KMOD_LCTRL);
    PushKey(window, SDLK_LEFT, KMOD_NONE);
    Application->ProcessMessages();
    EXPECT_EQ(form.log, (std::vector<std::string>{"keydown 13", "char 13", "keydown 86", "char 22",
                                                  "keydown 37"}));

    form.log.clear();
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = SDL_GetWindowID(window);
    std::snprintf(text.text.text, sizeof text.text.text, "%s",
                  "\xC5\xBC\xF0\x9F\x98\x80"
                  "a");
    SDL_PushEvent(&text);
    Application->ProcessMessages();
    EXPECT_EQ(form.log,
              (std::vector<std::string>{"char 380", "char 55357", "char 56832", "char 97"}))
        << "typed text arrives as UTF-16 units";

    form.log.clear();
    form.SetEnabled(false);
    PushKey(window, SDLK_a, KMOD_NONE);
    PushButton(window, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1);
    Application->ProcessMessages();
    EXPECT_TRUE(form.log.empty());
}

TEST_F(SdlWindows, ClosingAWindowAsksTheFormAndDoesNotEndTheProgram) {
    TForm main, second;
    main.Show();
    second.Show();
    int asked = 0;
    second.OnCloseQuery = [&](TForm&, bool& canClose) { canClose = ++asked > 1; };
    for (int attempt = 0; attempt < 2; ++attempt) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_CLOSE;
        e.window.windowID = SDL_GetWindowID(second.PlatformWindow());
        SDL_PushEvent(&e);
        Application->ProcessMessages();
    }
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(second.Visible());
    EXPECT_TRUE(main.Visible());
    EXPECT_FALSE(Application->Terminated());
}
} // namespace
