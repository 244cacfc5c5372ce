#include "platform/ui/Present.h"

#include "platform/ui/Forms.h"
#include "platform/ui/WindowRegistry.h"

#include <SDL.h>

namespace {
SDL_Surface* SurfaceOf(HWND hwnd, TPoint& origin) {
    if (!IsWindow(hwnd))
        return nullptr;
    TForm* form = hwnd->ParentForm();
    if (!form || !form->PlatformWindow())
        return nullptr;
    origin = hwnd->OriginInForm();
    return SDL_GetWindowSurface(form->PlatformWindow());
}
} // namespace

bool PresentBuffer(HWND hwnd, const uint32_t* pixels, int width, int height, int strideBytes,
                   const TRect& rect) {
    TPoint origin;
    SDL_Surface* surface = SurfaceOf(hwnd, origin);
    if (!surface || !pixels)
        return false;
    TRect area = IntersectRects(rect, TRect{0, 0, width, height});
    area = IntersectRects(area, hwnd->ClientRect());
    // The window may be smaller than the control thinks while a resize is under way.
    TRect onSurface = IntersectRects(TRect{area.Left + origin.X, area.Top + origin.Y,
                                           area.Right + origin.X, area.Bottom + origin.Y},
                                     TRect{0, 0, surface->w, surface->h});
    if (onSurface.IsEmpty())
        return true;
    area = TRect{onSurface.Left - origin.X, onSurface.Top - origin.Y, onSurface.Right - origin.X,
                 onSurface.Bottom - origin.Y};
    const auto* source = reinterpret_cast<const uint8_t*>(pixels) +
                         static_cast<ptrdiff_t>(area.Top) * strideBytes + 4 * area.Left;
    if (SDL_MUSTLOCK(surface))
        SDL_LockSurface(surface);
    auto* target = static_cast<uint8_t*>(surface->pixels) +
                   static_cast<ptrdiff_t>(onSurface.Top) * surface->pitch +
                   static_cast<ptrdiff_t>(onSurface.Left) * surface->format->BytesPerPixel;
    // Read as XRGB, SDL fills the alpha of the target (where it has one) with opaque.
    int converted = SDL_ConvertPixels(area.Width(), area.Height(), SDL_PIXELFORMAT_XRGB8888, source,
                                      strideBytes, surface->format->format, target, surface->pitch);
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    if (converted != 0)
        return false;
    SDL_Rect update{onSurface.Left, onSurface.Top, onSurface.Width(), onSurface.Height()};
    return SDL_UpdateWindowSurfaceRects(hwnd->ParentForm()->PlatformWindow(), &update, 1) == 0;
}

bool ReadWindowPixels(HWND hwnd, std::vector<uint32_t>& pixels, int& width, int& height) {
    pixels.clear();
    width = height = 0;
    TPoint origin;
    SDL_Surface* surface = SurfaceOf(hwnd, origin);
    if (!surface)
        return false;
    TRect area = IntersectRects(Bounds(origin.X, origin.Y, hwnd->Width(), hwnd->Height()),
                                TRect{0, 0, surface->w, surface->h});
    if (area.IsEmpty())
        return true;
    width = area.Width();
    height = area.Height();
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    if (SDL_MUSTLOCK(surface))
        SDL_LockSurface(surface);
    const auto* source = static_cast<const uint8_t*>(surface->pixels) +
                         static_cast<ptrdiff_t>(area.Top) * surface->pitch +
                         static_cast<ptrdiff_t>(area.Left) * surface->format->BytesPerPixel;
    int converted =
        SDL_ConvertPixels(width, height, surface->format->format, source, surface->pitch,
                          SDL_PIXELFORMAT_ARGB8888, pixels.data(), width * 4);
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    if (converted != 0) {
        pixels.clear();
        width = height = 0;
        return false;
    }
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    return true;
}
