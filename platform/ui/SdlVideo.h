// Start-up of SDL's video for the whole user-interface layer.
//
// The video driver is chosen once: DBI_VIDEO_DRIVER when set (for example "offscreen", "x11",
// "wayland", "dummy"); otherwise whatever SDL_VIDEODRIVER says; otherwise, with neither DISPLAY
// nor WAYLAND_DISPLAY set, SDL's offscreen driver, so a run without a display still has windows
// with surfaces to draw into and read back.
#pragma once

#include <string>

// Starts SDL video once; false (with the reason logged to standard error once) when it cannot.
bool EnsureVideo();
bool VideoStarted();
// The driver in use ("" before start or without video).
std::string VideoDriverName();
// True when nobody can see a window: no video, or the offscreen or dummy driver.
bool IsHeadless();
