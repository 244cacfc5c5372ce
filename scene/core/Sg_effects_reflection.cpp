#include "scene/core/Sg_effects.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_geometry.h"

#include <algorithm>
#include <cmath>

DBI_PUBLISH(TsgReflectionEffect) {
    using E = TsgReflectionEffect;
    p.Float("Opacity", &E::Opacity, &E::SetOpacity);
    p.Integer("Offset", &E::Offset, &E::SetOffset);
    p.Float("Length", &E::Length, &E::SetLength);
}

TsgRect TsgReflectionEffect::GetRect(const TsgRect& ARect) const {
    TsgRect r = ARect;
    sgInflateRect(r, 2, 2);
    sgOffsetRect(r, 0, sgRectHeight(ARect) + float(FOffset));
    return r;
}

void TsgReflectionEffect::SetLength(float Value) {
    Change(FLength, std::clamp(Value, 0.1f, 1.0f));
}

void TsgReflectionEffect::ProcessEffect(TsgCanvas*, TsgBitmap* Visual, float) {
    const int h = Visual->Height(), w = Visual->Width();
    const int k = int(std::nearbyint(double(h - 1) * FLength));
    Visual->FlipHorizontal();
    for (int i = 0; i < h; ++i) {
        uint32_t* row = Visual->Scanline(h - 1 - i);
        if (!row)
            continue;
        if (i <= h - 1 - k) {
            std::fill(row, row + w, 0u);
            continue;
        }
        // Fades from Opacity next to the object towards 0 at distance k.
        const double fade = double(FOpacity) * double(i - (h - 1 - k)) / k;
        for (int x = 0; x < w; ++x) {
            const uint32_t a = row[x] >> 24;
            if (a == 0)
                continue;
            const uint32_t alpha = uint32_t(std::clamp(std::trunc(fade * a), 0.0, 255.0));
            row[x] = sgPremultyAlpha((row[x] & 0x00FFFFFF) | alpha << 24);
        }
    }
}
