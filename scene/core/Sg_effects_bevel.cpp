#include "scene/core/Sg_effects.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_geometry.h"

#include <cmath>

DBI_PUBLISH(TsgBevelEffect) {
    using E = TsgBevelEffect;
    p.Float("Direction", &E::Direction, &E::SetDirection);
    p.Integer("Size", &E::Size, &E::SetSize);
}

TsgRect TsgBevelEffect::GetRect(const TsgRect& ARect) const {
    TsgRect r = ARect;
    sgInflateRect(r, 5, 5);
    return r;
}

void TsgBevelEffect::ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Visual, float) {
    if (FSize == 0)
        return;
    const int w = Visual->Width(), h = Visual->Height();
    TsgBitmap slope(w, h);
    for (int y = 0; y < h; ++y)
        std::copy(Visual->Scanline(y), Visual->Scanline(y) + w, slope.Scanline(y));
    Blur(Canvas, &slope, FSize, true);
    const double a = double(FDirection) * M_PI / 180;
    const double lx = std::cos(a), ly = 0, lz = std::sin(a);
    auto alpha = [&](int u, int v) { return double(slope.GetPixels(u, v) >> 24) / 255; };
    // The last row and column have no neighbour below or to the right and stay as they are.
    for (int x = w - 2; x >= 0; --x)
        for (int y = h - 2; y >= 0; --y) {
            const uint32_t pixel = Visual->GetPixels(x, y);
            const uint32_t coverage = pixel >> 24;
            if (coverage == 0)
                continue;
            const double nx = alpha(x + 1, y + 1) - alpha(x + 1, y), ny = 1;
            const double nz = alpha(x + 1, y + 1) - alpha(x, y + 1);
            const double lengths =
                std::sqrt(lx * lx + ly * ly + lz * lz) * std::sqrt(nx * nx + ny * ny + nz * nz);
            const double g = lengths <= 1e-40 ? 1 : (lx * nx + ly * ny + lz * nz) / lengths;
            Visual->SetPixels(
                x, y,
                sgPremultyAlpha(sgOpacity(sgChangeHSL(pixel, 0, 0, float(0.4 * g * FSize)),
                                          float(coverage) / 255)));
        }
}
