#include "platform/ui/SdlVideo.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
enum class VideoState { NotTried, Started, Failed };
VideoState state = VideoState::NotTried;

XErrorHandler previousXErrorHandler = nullptr;

// A popup window (a menu, a drop-down list) can be destroyed while requests naming it are still
// on their way to the X server; the error that comes back for it must not end the program, as
// the default handler would. Every other error goes on to that handler.
int IgnoreVanishedWindows(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable)
        return 0;
    return previousXErrorHandler ? previousXErrorHandler(display, error) : 0;
}

const char* ChooseDriver() {
    const char* forced = std::getenv("DBI_VIDEO_DRIVER");
    if (forced && *forced)
        return forced;
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen)
        return nullptr;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland))
        return "offscreen";
    return nullptr;
}
} // namespace

bool EnsureVideo() {
    if (state != VideoState::NotTried)
        return state == VideoState::Started;
    state = VideoState::Failed;
    if (const char* driver = ChooseDriver())
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    // Closing a window is the form's business, never the end of the program.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Ctrl+C and SIGTERM keep their ordinary meaning instead of becoming a quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The first click on an inactive window reaches the control under it, as users expect.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // SDL would grab the pointer at every press for the window holding the keyboard, which
    // may be another of our windows; the display keeps a pressed pointer with the window
    // pressed, and SetCapture asks for more where that is right.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    // Window surfaces are plain memory we copy into; no GPU renderer is needed behind them.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "user interface: cannot start SDL video: %s\n", SDL_GetError());
        return false;
    }
    state = VideoState::Started;
    if (const char* name = SDL_GetCurrentVideoDriver(); name && std::strcmp(name, "x11") == 0)
        previousXErrorHandler = XSetErrorHandler(IgnoreVanishedWindows);
    return true;
}

bool VideoStarted() {
    return state == VideoState::Started;
}

std::string VideoDriverName() {
    if (state != VideoState::Started)
        return "";
    const char* name = SDL_GetCurrentVideoDriver();
    return name ? name : "";
}

bool IsHeadless() {
    if (!EnsureVideo())
        return true;
    std::string driver = VideoDriverName();
    return driver == "offscreen" || driver == "dummy";
}
