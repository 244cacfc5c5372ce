#include "platform/ui/Cursors.h"

#include "platform/ui/SdlVideo.h"

#include <SDL.h>

#include <map>

namespace {
TCursor shown = crDefault;
TScreen screen;

SDL_SystemCursor SystemCursorOf(TCursor cursor) {
    switch (cursor) {
    case crCross:
        return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case crIBeam:
        return SDL_SYSTEM_CURSOR_IBEAM;
    case crSizeNESW:
        return SDL_SYSTEM_CURSOR_SIZENESW;
    case crSizeNS:
    case crVSplit:
        return SDL_SYSTEM_CURSOR_SIZENS;
    case crSizeNWSE:
        return SDL_SYSTEM_CURSOR_SIZENWSE;
    case crSizeWE:
    case crHSplit:
        return SDL_SYSTEM_CURSOR_SIZEWE;
    case crHourGlass:
    case crSQLWait:
        return SDL_SYSTEM_CURSOR_WAIT;
    case crAppStart:
        return SDL_SYSTEM_CURSOR_WAITARROW;
    case crNo:
    case crNoDrop:
        return SDL_SYSTEM_CURSOR_NO;
    case crHandPoint:
        return SDL_SYSTEM_CURSOR_HAND;
    case crSizeAll:
    case crDrag:
    case crMultiDrag:
        return SDL_SYSTEM_CURSOR_SIZEALL;
    default:
        return SDL_SYSTEM_CURSOR_ARROW;
    }
}
} // namespace

TScreen* Screen = &screen;

void ShowPlatformCursor(TCursor cursor) {
    shown = cursor;
    if (!VideoStarted())
        return;
    if (cursor == crNone) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_ShowCursor(SDL_ENABLE);
    // SDL cursors are made once and kept: a cursor must outlive its being shown.
    static std::map<SDL_SystemCursor, SDL_Cursor*> made;
    SDL_SystemCursor id = SystemCursorOf(cursor);
    SDL_Cursor*& sdlCursor = made[id];
    if (!sdlCursor)
        sdlCursor = SDL_CreateSystemCursor(id);
    if (sdlCursor)
        SDL_SetCursor(sdlCursor);
}

TCursor ShownCursor() {
    return shown;
}

void TScreen::SetCursor(TCursor value) {
    if (value == cursor_)
        return;
    cursor_ = value;
    ShowPlatformCursor(value);
}

int TScreen::Width() const {
    SDL_Rect bounds{0, 0, 1024, 768};
    if (EnsureVideo())
        SDL_GetDisplayBounds(0, &bounds);
    return bounds.w;
}

int TScreen::Height() const {
    SDL_Rect bounds{0, 0, 1024, 768};
    if (EnsureVideo())
        SDL_GetDisplayBounds(0, &bounds);
    return bounds.h;
}
