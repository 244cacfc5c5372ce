#include "scene/core/Sg_effects.h"

#include "scene/core/Sg_bitmap.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Quotients of the tent sums by (radius + 1)^2: a table for the radii effects use (a sum never
// exceeds 255 * (radius + 1)^2), a division beyond.
class Quotients {
public:
    explicit Quotients(int radius) : divisor_(int64_t(radius + 1) * (radius + 1)) {
        const int64_t size = 256 * divisor_;
        if (size <= (int64_t(1) << 22)) {
            table_.resize(size_t(size));
            for (int64_t i = 0; i < size; ++i)
                table_[size_t(i)] = uint8_t(i / divisor_);
        }
    }
    int32_t operator()(int64_t sum) const {
        return table_.empty() ? int32_t(sum / divisor_) : table_[size_t(sum)];
    }

private:
    int64_t divisor_;
    std::vector<uint8_t> table_;
};

// The tent moves by two running totals: at position p the sum is S(p) = sum of
// (r + 1 - |i|) * v(p + i); the rising half R(p) holds offsets -r..0 and the falling half F(p)
// offsets 1..r+1, and S(p + 1) = S(p) + F(p) - R(p). Each step costs the same whatever the
// radius. Positions beyond the ends repeat the end value.

// Row pass of one channel: count values read from src (every 4th byte), written to dst.
void RowPass(const uint8_t* src, int32_t* dst, int count, int radius, const Quotients& quotient) {
    auto v = [&](int i) -> int64_t { return src[size_t(std::clamp(i, 0, count - 1)) * 4]; };
    int64_t sum = 0, rising = 0, falling = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += (radius + 1 - (i < 0 ? -i : i)) * v(i);
    for (int i = -radius; i <= 0; ++i)
        rising += v(i);
    for (int i = 1; i <= radius + 1; ++i)
        falling += v(i);
    for (int x = 0; x < count; ++x) {
        dst[x] = quotient(sum);
        sum += falling - rising;
        rising += v(x + 1) - v(x - radius);
        falling += v(x + radius + 2) - v(x + 1);
    }
}

// Column pass of one channel over the whole plane at once, row after row, so that memory is read
// in order; the totals are kept per column.
void ColumnPass(const std::vector<int32_t>& plane, uint8_t* pixels, int width, int height,
                int radius, const Quotients& quotient) {
    auto row = [&](int y) { return plane.data() + size_t(std::clamp(y, 0, height - 1)) * width; };
    std::vector<int64_t> sum(size_t(width), 0), rising(size_t(width), 0), falling(size_t(width), 0);
    for (int i = -radius; i <= radius; ++i) {
        const int32_t* r = row(i);
        const int64_t weight = radius + 1 - (i < 0 ? -i : i);
        for (int x = 0; x < width; ++x)
            sum[x] += weight * r[x];
    }
    for (int i = -radius; i <= 0; ++i) {
        const int32_t* r = row(i);
        for (int x = 0; x < width; ++x)
            rising[x] += r[x];
    }
    for (int i = 1; i <= radius + 1; ++i) {
        const int32_t* r = row(i);
        for (int x = 0; x < width; ++x)
            falling[x] += r[x];
    }
    for (int y = 0; y < height; ++y) {
        uint8_t* out = pixels + size_t(y) * width * 4;
        const int32_t *next = row(y + 1), *leaving = row(y - radius),
                      *entering = row(y + radius + 2);
        for (int x = 0; x < width; ++x) {
            out[size_t(x) * 4] = uint8_t(quotient(sum[x]));
            sum[x] += falling[x] - rising[x];
            rising[x] += next[x] - leaving[x];
            falling[x] += entering[x] - next[x];
        }
    }
}

// Wider than any picture the toolkit makes; a radius from a stream (a bevel's Size) is held to
// it so that the window sums stay in range and setting them up stays short.
constexpr int kMaxRadius = 1 << 16;

} // namespace

void Blur(TsgCanvas* /*canvas*/, TsgBitmap* bitmap, int radius, bool alpha) {
    if (bitmap == nullptr || radius < 1)
        return;
    radius = std::min(radius, kMaxRadius);
    const int width = bitmap->Width();
    const int height = bitmap->Height();
    uint32_t* pixels = width > 0 && height > 0 ? bitmap->Scanline(0) : nullptr;
    if (pixels == nullptr)
        return;
    // Channel c of a pixel word is byte c of it in memory (B, G, R, A on a little-endian machine
    // for the shifts 0, 8, 16, 24).
    auto* bytes = reinterpret_cast<uint8_t*>(pixels);
    auto channelByte = [](int c) {
        const uint32_t probe = 0xFFu << (8 * c);
        const auto* b = reinterpret_cast<const uint8_t*>(&probe);
        for (int k = 0; k < 4; ++k)
            if (b[k])
                return k;
        return 0;
    };
    const int channels = alpha ? 4 : 3;
    const Quotients quotient(radius);
    std::vector<int32_t> plane(size_t(width) * height);
    for (int c = 0; c < channels; ++c) {
        uint8_t* base = bytes + channelByte(c);
        for (int y = 0; y < height; ++y)
            RowPass(base + size_t(y) * width * 4, plane.data() + size_t(y) * width, width, radius,
                    quotient);
        ColumnPass(plane, base, width, height, radius, quotient);
    }
}
