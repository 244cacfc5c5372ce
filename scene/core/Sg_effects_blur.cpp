#include "scene/core/Sg_effects.h"

#include "scene/core/Sg_bitmap.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// One pass of the tent over `count` pixels read from src[i * step] and written to dst[i * step].
// The tent sum moves by two running totals: the rising half (offsets -r..0) leaves, the falling
// half (offsets 1..r+1) enters, so each step costs the same whatever the radius.
void TentPass(const uint32_t* src, uint32_t* dst, int count, int step, int radius, int channels,
              int64_t divisor) {
    auto at = [&](int i) { return src[static_cast<size_t>(std::clamp(i, 0, count - 1)) * step]; };
    for (int c = 0; c < channels; ++c) {
        const int shift = c * 8;
        auto value = [&](int i) -> int64_t { return (at(i) >> shift) & 0xFF; };
        int64_t sum = 0;
        int64_t rising = 0;  // offsets -r..0 of the current position
        int64_t falling = 0; // offsets 1..r+1 of the current position
        for (int i = -radius; i <= radius; ++i)
            sum += (radius + 1 - (i < 0 ? -i : i)) * value(i);
        for (int i = -radius; i <= 0; ++i)
            rising += value(i);
        for (int i = 1; i <= radius + 1; ++i)
            falling += value(i);
        for (int x = 0; x < count; ++x) {
            uint32_t& out = dst[static_cast<size_t>(x) * step];
            out = (out & ~(0xFFu << shift)) | (static_cast<uint32_t>(sum / divisor) << shift);
            sum += falling - rising;
            rising += value(x + 1) - value(x - radius);
            falling += value(x + radius + 2) - value(x + 1);
        }
    }
}

} // namespace

void Blur(TsgCanvas* /*canvas*/, TsgBitmap* bitmap, int radius, bool alpha) {
    if (bitmap == nullptr || radius < 1)
        return;
    const int width = bitmap->Width();
    const int height = bitmap->Height();
    uint32_t* pixels = width > 0 && height > 0 ? bitmap->Scanline(0) : nullptr;
    if (pixels == nullptr)
        return;
    const int channels = alpha ? 4 : 3;
    const int64_t divisor = static_cast<int64_t>(radius + 1) * (radius + 1);
    std::vector<uint32_t> rows(pixels, pixels + static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const size_t line = static_cast<size_t>(y) * width;
        TentPass(pixels + line, rows.data() + line, width, 1, radius, channels, divisor);
    }
    for (int x = 0; x < width; ++x)
        TentPass(rows.data() + x, pixels + x, height, width, radius, channels, divisor);
}
