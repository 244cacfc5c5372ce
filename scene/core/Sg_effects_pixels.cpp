#include "scene/core/Sg_effects_pixels.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_color.h"

void sgRemoveCoverage(TsgBitmap& Bitmap, const std::vector<uint8_t>& Mask, int dX, int dY) {
    const int w = Bitmap.Width(), h = Bitmap.Height();
    if (Mask.size() < size_t(w) * size_t(h))
        return;
    for (int y = 0; y < h; ++y) {
        const int my = y - dY;
        uint32_t* row = Bitmap.Scanline(y);
        if (my < 0 || my >= h || !row)
            continue;
        for (int x = 0; x < w; ++x) {
            const int mx = x - dX;
            if (mx < 0 || mx >= w)
                continue;
            const uint32_t keep = 255u - Mask[size_t(my) * w + mx];
            if (keep == 255)
                continue;
            uint32_t p = row[x], out = 0;
            for (int shift = 0; shift < 32; shift += 8)
                out |= (((p >> shift) & 0xFF) * keep / 255) << shift;
            row[x] = out;
        }
    }
}

void sgSettleColor(TsgBitmap& Bitmap, TsgColor Color) {
    const TsgColor rgb = Color & 0x00FFFFFF;
    for (int y = 0; y < Bitmap.Height(); ++y) {
        uint32_t* row = Bitmap.Scanline(y);
        if (!row)
            continue;
        for (int x = 0; x < Bitmap.Width(); ++x)
            row[x] = sgPremultyAlpha(rgb | (row[x] & 0xFF000000));
    }
}
