#include "platform/ui/InputMethod.h"

#include "platform/ui/Controls.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/WindowRegistry.h"

#include <SDL.h>

#include <algorithm>

namespace {
TRect placed;
} // namespace

void SetInputMethodRect(HWND hwnd, const TRect& area, TPoint position) {
    if (!TWindowRegistry::Contains(hwnd))
        return;
    const TPoint origin = hwnd->OriginInForm();
    placed = TRect{origin.X + position.X, origin.Y + position.Y,
                   origin.X + std::max(area.Right, position.X + 1),
                   origin.Y + std::max(area.Bottom, position.Y + 1)};
    if (!VideoStarted())
        return;
    SDL_Rect r{placed.Left, placed.Top, placed.Right - placed.Left, placed.Bottom - placed.Top};
    SDL_SetTextInputRect(&r);
}

TRect InputMethodRect() {
    return placed;
}
