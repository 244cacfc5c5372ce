// Blur: the separable tent filter against a direct loop over the whole window, and its fixed
// points (a single pixel, a uniform picture, radius 0).
#include "scene/core/Sg_effects.h"

#include "scene/core/Sg_bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using Pixels = std::vector<uint32_t>;

Pixels Read(const TsgBitmap& b) {
    Pixels out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            out.push_back(b.GetPixels(x, y));
    return out;
}

// The same filter written the slow way: for every output value, the whole weighted window.
Pixels SlowBlur(const Pixels& in, int w, int h, int r, int channels) {
    auto pass = [&](const Pixels& src, bool rows) {
        Pixels dst = src;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < channels; ++c) {
                    int64_t sum = 0;
                    for (int i = -r; i <= r; ++i) {
                        const int sx = rows ? std::clamp(x + i, 0, w - 1) : x;
                        const int sy = rows ? y : std::clamp(y + i, 0, h - 1);
                        sum += (r + 1 - std::abs(i)) * ((src[sy * w + sx] >> (8 * c)) & 0xFF);
                    }
                    const uint32_t v = static_cast<uint32_t>(sum / ((r + 1) * (r + 1)));
                    uint32_t& p = dst[y * w + x];
                    p = (p & ~(0xFFu << (8 * c))) | (v << (8 * c));
                }
        return dst;
    };
    return pass(pass(in, true), false);
}

TEST(Blur, SinglePixelSpreadsAsATent) {
    TsgBitmap b(3, 3);
    b.SetPixels(1, 1, 0xFFFFFFFF);
    Blur(nullptr, &b, 1, true);
    EXPECT_EQ(b.GetPixels(1, 1), 0x3F3F3F3Fu);
    for (auto [x, y] : {std::pair{1, 0}, {0, 1}, {2, 1}, {1, 2}})
        EXPECT_EQ(b.GetPixels(x, y), 0x1F1F1F1Fu);
    for (auto [x, y] : {std::pair{0, 0}, {2, 0}, {0, 2}, {2, 2}})
        EXPECT_EQ(b.GetPixels(x, y), 0x0F0F0F0Fu);
}

TEST(Blur, UniformPictureAndRadiusZeroAreUnchanged) {
    TsgBitmap b(17, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 17; ++x)
            b.SetPixels(x, y, 0x80402010);
    const Pixels before = Read(b);
    for (int r : {0, 1, 4, 30, 200}) {
        Blur(nullptr, &b, r, true);
        EXPECT_EQ(Read(b), before) << "radius " << r;
    }
}

TEST(Blur, EqualsTheDirectWindowOnRandomPictures) {
    std::mt19937 rng(7);
    // 130: beyond the quotient table, the sums are divided.
    for (int r : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 130})
        for (bool alpha : {true, false}) {
            const int w = 1 + static_cast<int>(rng() % 23), h = 1 + static_cast<int>(rng() % 19);
            TsgBitmap b(w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    b.SetPixels(x, y, static_cast<uint32_t>(rng()));
            const Pixels in = Read(b);
            Blur(nullptr, &b, r, alpha);
            const Pixels want = r < 1 ? in : SlowBlur(in, w, h, r, alpha ? 4 : 3);
            EXPECT_EQ(Read(b), want)
                << "radius " << r << " alpha " << alpha << " " << w << "x" << h;
        }
}

// The true two-dimensional convolution with the outer product of two tents, in exact
// arithmetic: truncating after each pass can only lose less than 1 twice, so every channel of the
// blur lies in (exact - 2, exact].
TEST(Blur, StaysJustBelowTheExactTwoDimensionalConvolution) {
    std::mt19937 rng(11);
    for (int r : {1, 2, 5, 9}) {
        const int w = 5 + static_cast<int>(rng() % 17), h = 4 + static_cast<int>(rng() % 13);
        TsgBitmap b(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                b.SetPixels(x, y, static_cast<uint32_t>(rng()));
        const Pixels in = Read(b);
        Blur(nullptr, &b, r, true);
        const Pixels out = Read(b);
        const double d = double(r + 1) * (r + 1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 4; ++c) {
                    double exact = 0;
                    for (int j = -r; j <= r; ++j)
                        for (int i = -r; i <= r; ++i) {
                            const int sx = std::clamp(x + i, 0, w - 1);
                            const int sy = std::clamp(y + j, 0, h - 1);
                            const double weight = (r + 1 - std::abs(i)) * (r + 1 - std::abs(j));
                            exact += weight * ((in[sy * w + sx] >> (8 * c)) & 0xFF);
                        }
                    exact /= d * d;
                    const double got = (out[y * w + x] >> (8 * c)) & 0xFF;
                    ASSERT_LE(got, exact + 1e-9) << r << " " << x << "," << y << " c" << c;
                    ASSERT_GT(got, exact - 2) << r << " " << x << "," << y << " c" << c;
                }
    }
}

} // namespace

namespace {

// A bevel's Size comes from a stream unclamped: a huge radius must neither hang nor overflow.
TEST(Blur, AHugeRadiusEndsAndKeepsAUniformPictureUniform) {
    TsgBitmap b(9, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            b.SetPixels(x, y, 0xFFFFFFFF);
    Blur(nullptr, &b, 2147483647, true);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(b.GetPixels(x, y), 0xFFFFFFFFu);
}

} // namespace
