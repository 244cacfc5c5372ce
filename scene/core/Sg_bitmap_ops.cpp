// The pixel operations of TsgBitmap that effects and editors use.
#include "scene/core/Sg_bitmap.h"

#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_geometry.h"

#include <algorithm>
#include <cmath>

void TsgBitmap::FlipHorizontal() {
    if (bits_.empty())
        return;
    SyncPixels();
    for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(bits_.begin() + ptrdiff_t(top) * width_,
                         bits_.begin() + ptrdiff_t(top + 1) * width_,
                         bits_.begin() + ptrdiff_t(bottom) * width_);
    NeedUpdate = true;
    BitmapChanged();
}

void TsgBitmap::FlipVertical() {
    if (bits_.empty())
        return;
    SyncPixels();
    for (int y = 0; y < height_; ++y)
        std::reverse(bits_.begin() + ptrdiff_t(y) * width_,
                     bits_.begin() + ptrdiff_t(y + 1) * width_);
    NeedUpdate = true;
    BitmapChanged();
}

namespace {

// Every channel of a premultiplied pixel times Factor (0 to 1): the colour keeps its proportion
// to the alpha, so it never exceeds it.
uint32_t ScalePremultiplied(uint32_t Pixel, float Factor) {
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const double channel = std::trunc(static_cast<double>(Factor) * ((Pixel >> shift) & 255u));
        result |= static_cast<uint32_t>(channel) << shift;
    }
    return result;
}

} // namespace

void TsgBitmap::InvertAlpha() {
    SyncPixels();
    // The straight colour stays, premultiplied by the new alpha; a pixel that had no coverage
    // has no colour to keep and becomes black.
    for (uint32_t& p : bits_) {
        const uint32_t alpha = p >> 24, inverted = 255u - alpha;
        uint32_t result = inverted << 24;
        if (alpha != 0)
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t channel = (p >> shift) & 255u;
                const uint32_t scaled = (channel * inverted + alpha / 2) / alpha;
                result |= std::min(scaled, inverted) << shift;
            }
        p = result;
    }
    NeedUpdate = true;
    BitmapChanged();
}

void TsgBitmap::FillColor(TsgColor color) {
    SyncPixels();
    for (uint32_t& p : bits_) {
        const uint32_t a = p >> 24;
        if (a != 0)
            p = sgPremultyAlpha(sgOpacity(color, static_cast<float>(a) / 255.0f));
    }
    NeedUpdate = true;
    BitmapChanged();
}

std::vector<uint8_t> TsgBitmap::CreateMask() const {
    SyncPixels();
    std::vector<uint8_t> mask(bits_.size());
    std::transform(bits_.begin(), bits_.end(), mask.begin(),
                   [](uint32_t p) { return static_cast<uint8_t>(p >> 24); });
    return mask;
}

void TsgBitmap::ApplyMask(const std::vector<uint8_t>& mask, int dstX, int dstY) {
    if (bits_.empty() || mask.size() < bits_.size())
        return;
    SyncPixels();
    for (int y = 0; y < height_; ++y) {
        const int my = y - dstY;
        if (my < 0 || my >= height_)
            continue;
        for (int x = 0; x < width_; ++x) {
            const int mx = x - dstX;
            if (mx < 0 || mx >= width_)
                continue;
            const uint8_t m = mask[size_t(my) * width_ + mx];
            if (m != 0) {
                uint32_t& p = bits_[size_t(y) * width_ + x];
                p = ScalePremultiplied(p, static_cast<float>(255 - m) / 255.0f);
            }
        }
    }
    BitmapChanged();
    NeedUpdate = true;
}

void TsgBitmap::Rotate(float angle) {
    if (angle == 0 || bits_.empty())
        return;
    TsgRect r;
    const TsgMatrix m = sgTurnAboutCentreMatrix(float(width_), float(height_), angle, r);

    TsgBitmap turned(static_cast<int>(std::trunc(sgRectWidth(r))),
                     static_cast<int>(std::trunc(sgRectHeight(r))), true);
    TsgCanvas* canvas = turned.Canvas();
    if (!canvas)
        return;
    canvas->SetMatrix(m);
    const TsgRect whole{0, 0, float(width_), float(height_)};
    canvas->DrawBitmap(this, whole, whole, 1, false);
    Assign(&turned);
    BitmapChanged();
}

std::unique_ptr<TsgBitmap> TsgBitmap::CreateThumbnail(int width, int height) {
    auto thumbnail = std::make_unique<TsgBitmap>(width, height, true);
    if (TsgCanvas* canvas = thumbnail->Canvas())
        canvas->DrawThumbnail(this, static_cast<float>(width), static_cast<float>(height));
    return thumbnail;
}
