#include "platform/ui/Present.h"

#include "platform/ui/Forms.h"
#include "platform/ui/WindowRegistry.h"

#include <SDL.h>

#include <algorithm>

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

// The parts of `area` (form coordinates) that `hwnd` may paint: windows stacked in front of it
// or of one of its parents keep their pixels, as a native control hosted over the scene does.
std::vector<TRect> UncoveredParts(HWND hwnd, const TRect& area) {
    std::vector<TRect> parts{area};
    for (const TWinControl* w = hwnd; w->Parent(); w = w->Parent()) {
        const auto& siblings = w->Parent()->Children();
        auto it = std::find(siblings.begin(), siblings.end(), w);
        if (it == siblings.end())
            continue;
        for (++it; it != siblings.end(); ++it) {
            const TWinControl* above = *it;
            if (!above->Visible() || !above->HandleAllocated())
                continue;
            const TPoint o = above->OriginInForm();
            const TRect hole = Bounds(o.X, o.Y, above->Width(), above->Height());
            std::vector<TRect> next;
            for (const TRect& part : parts)
                for (const TRect& piece : SubtractRect(part, hole))
                    if (!piece.IsEmpty())
                        next.push_back(piece);
            parts.swap(next);
        }
    }
    return parts;
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
    std::vector<SDL_Rect> updates;
    int converted = 0;
    if (SDL_MUSTLOCK(surface))
        SDL_LockSurface(surface);
    for (const TRect& part : UncoveredParts(hwnd, onSurface)) {
        const auto* source = reinterpret_cast<const uint8_t*>(pixels) +
                             static_cast<ptrdiff_t>(part.Top - origin.Y) * strideBytes +
                             4 * (part.Left - origin.X);
        auto* target = static_cast<uint8_t*>(surface->pixels) +
                       static_cast<ptrdiff_t>(part.Top) * surface->pitch +
                       static_cast<ptrdiff_t>(part.Left) * surface->format->BytesPerPixel;
        // Read as XRGB, SDL fills the alpha of the target (where it has one) with opaque.
        converted |=
            SDL_ConvertPixels(part.Width(), part.Height(), SDL_PIXELFORMAT_XRGB8888, source,
                              strideBytes, surface->format->format, target, surface->pitch);
        updates.push_back(SDL_Rect{part.Left, part.Top, part.Width(), part.Height()});
    }
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    if (converted != 0)
        return false;
    if (updates.empty())
        return true;
    return SDL_UpdateWindowSurfaceRects(hwnd->ParentForm()->PlatformWindow(), updates.data(),
                                        static_cast<int>(updates.size())) == 0;
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
