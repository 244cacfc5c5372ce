// Drawing bitmaps: unscaled copies are exact, opacity scales alpha, the source rectangle is
// honoured, and pixel access converts between straight and premultiplied words.
#include <gtest/gtest.h>

#include "GfxTestSupport.h"

namespace gfx {
namespace {

using testing::PixelAt;
using testing::UseCanvasSettings;

std::unique_ptr<Bitmap> Checker(int w, int h) {
    auto b = std::make_unique<Bitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->SetPixel(x, y, Color((x + y) % 2 ? 0xFF00FF00 : 0x80FF0000));
    return b;
}

TEST(DrawImage, UnscaledDrawCopiesEveryPixel) {
    auto src = Checker(5, 4);
    for (InterpolationMode mode :
         {InterpolationMode::HighQuality, InterpolationMode::NearestNeighbor}) {
        Bitmap out(10, 10);
        Graphics g(&out);
        UseCanvasSettings(g);
        g.SetInterpolationMode(mode);
        g.DrawImage(src.get(), RectF(3, 2, 5, 4), 0, 0, 5, 4);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool in = x >= 3 && x < 8 && y >= 2 && y < 6;
                ASSERT_EQ(PixelAt(out, x, y), in ? PixelAt(*src, x - 3, y - 2) : 0u)
                    << x << "," << y;
            }
    }
}

TEST(DrawImage, SourceRectangleIsHonouredAndNotSampledBeyond) {
    auto src = Checker(6, 6);
    src->SetPixel(2, 2, Color(0xFF0000FF));
    Bitmap out(12, 12);
    Graphics g(&out);
    UseCanvasSettings(g);
    // One pixel stretched over 12 x 12: every output pixel is that pixel.
    g.DrawImage(src.get(), RectF(0, 0, 12, 12), 2, 2, 1, 1);
    EXPECT_EQ(testing::CountPixels(out, 0xFF0000FF), 144);
}

TEST(DrawImage, OpacityScalesAlpha) {
    Bitmap src(4, 4);
    Graphics(&src).Clear(Color(0xFFFF0000));
    const std::pair<float, uint32_t> table[] = {{1.0f, 255}, {0.5f, 128}, {0.0f, 0}};
    for (const auto& [opacity, alpha] : table) {
        Bitmap out(4, 4);
        Graphics g(&out);
        UseCanvasSettings(g);
        ImageAttributes attributes;
        ColorMatrix cm;
        cm.m[3][3] = opacity;
        attributes.SetColorMatrix(&cm);
        g.DrawImage(&src, RectF(0, 0, 4, 4), 0, 0, 4, 4, Unit::Pixel, &attributes);
        EXPECT_NEAR(double(PixelAt(out, 1, 1) >> 24), alpha, 1) << opacity;
    }
}

TEST(DrawImage, GeneralColourMatrixRecolours) {
    Bitmap src(2, 2);
    Graphics(&src).Clear(Color(0xFFFF0000));
    ImageAttributes attributes;
    ColorMatrix swap; // red into blue
    swap.m[0][0] = 0;
    swap.m[0][2] = 1;
    swap.m[2][2] = 0;
    attributes.SetColorMatrix(&swap);
    Bitmap out(2, 2);
    Graphics g(&out);
    UseCanvasSettings(g);
    g.DrawImage(&src, RectF(0, 0, 2, 2), 0, 0, 2, 2, Unit::Pixel, &attributes);
    EXPECT_EQ(PixelAt(out, 0, 0), 0xFF0000FFu);
}

TEST(DrawImage, PhysicalSizeFollowsResolutions) {
    Bitmap src(10, 10);
    Graphics(&src).Clear(Color(0xFFFF0000));
    Bitmap out(20, 20);
    out.SetResolution(48, 48); // the target counts half the dots per inch
    Graphics g(&out);
    UseCanvasSettings(g);
    g.DrawImage(&src, 0, 0);
    EXPECT_EQ(testing::CountPixels(out, 0xFFFF0000), 25);
}

TEST(Bitmap, PixelAccessConvertsBetweenStraightAndPremultiplied) {
    Bitmap b(3, 3);
    ASSERT_EQ(b.SetPixel(1, 1, Color(0x80FF8000)), Status::Ok);
    EXPECT_EQ(PixelAt(b, 1, 1), 0x80804000u);
    Color c;
    b.GetPixel(1, 1, &c);
    EXPECT_EQ(c.GetValue(), 0x80FF8000u);
    EXPECT_EQ(b.SetPixel(3, 0, Color(0xFFFFFFFF)), Status::InvalidParameter);
    EXPECT_EQ(b.GetPixel(-1, 0, &c), Status::InvalidParameter);
}

TEST(Bitmap, LockBitsHandsOutWordsOrAStraightCopy) {
    Bitmap b(4, 2);
    b.SetPixel(1, 0, Color(0x80FF0000));
    BitmapData data;
    Rect r(1, 0, 2, 2);
    ASSERT_EQ(
        b.LockBits(&r, ImageLockModeRead | ImageLockModeWrite, PixelFormat::Format32bppArgb, &data),
        Status::Ok);
    auto* words = static_cast<uint32_t*>(data.Scan0);
    EXPECT_EQ(words[0], 0x80FF0000u);
    words[1] = 0x40FFFFFF;
    ASSERT_EQ(b.UnlockBits(&data), Status::Ok);
    EXPECT_EQ(PixelAt(b, 2, 0), 0x40404040u);

    ASSERT_EQ(b.LockBits(nullptr, ImageLockModeRead, PixelFormat::Format32bppPArgb, &data),
              Status::Ok);
    EXPECT_EQ(data.Stride, 16);
    EXPECT_EQ(static_cast<uint32_t*>(data.Scan0)[1], 0x80800000u);
    b.UnlockBits(&data);
    Rect outside(3, 0, 2, 1);
    EXPECT_EQ(b.LockBits(&outside, ImageLockModeRead, PixelFormat::Format32bppPArgb, &data),
              Status::InvalidParameter);
}

TEST(Bitmap, WrapsCallerMemoryInPlace) {
    std::vector<uint32_t> memory(6, 0);
    Bitmap b(3, 2, 12, PixelFormat::Format32bppPArgb, reinterpret_cast<uint8_t*>(memory.data()));
    Graphics g(&b);
    UseCanvasSettings(g);
    g.FillRectangle(SolidBrush(Color(0xFF112233)), RectF(1, 1, 1, 1));
    g.Flush();
    EXPECT_EQ(memory[4], 0xFF112233u);
    Bitmap badStride(3, 2, 16, PixelFormat::Format32bppPArgb,
                     reinterpret_cast<uint8_t*>(memory.data()));
    EXPECT_EQ(badStride.GetLastStatus(), Status::InvalidParameter);
}

// A 3 x 2 image with pixels a..f (row by row) turned and mirrored.
TEST(Bitmap, RotateFlipByTable) {
    const struct {
        RotateFlipType type;
        int w, h;
        const char* rows;
    } table[] = {
        {RotateFlipType::RotateNoneFlipNone, 3, 2, "abc/def"},
        {RotateFlipType::Rotate90FlipNone, 2, 3, "da/eb/fc"},
        {RotateFlipType::Rotate180FlipNone, 3, 2, "fed/cba"},
        {RotateFlipType::Rotate270FlipNone, 2, 3, "cf/be/ad"},
        {RotateFlipType::RotateNoneFlipX, 3, 2, "cba/fed"},
        {RotateFlipType::Rotate90FlipX, 2, 3, "ad/be/cf"},
    };
    for (const auto& c : table) {
        std::vector<uint32_t> memory(6);
        for (int i = 0; i < 6; ++i)
            memory[i] = 0xFF000000u + 'a' + i;
        // Wrapped memory turns in place too.
        Bitmap b(3, 2, 12, PixelFormat::Format32bppPArgb,
                 reinterpret_cast<uint8_t*>(memory.data()));
        ASSERT_EQ(b.RotateFlip(c.type), Status::Ok);
        ASSERT_EQ(b.GetWidth(), c.w);
        ASSERT_EQ(b.GetHeight(), c.h);
        std::string rows;
        for (int y = 0; y < c.h; ++y) {
            if (y)
                rows += '/';
            for (int x = 0; x < c.w; ++x)
                rows += char(PixelAt(b, x, y) & 0xFF);
        }
        EXPECT_EQ(rows, c.rows) << int(c.type);
    }
}

TEST(Bitmap, ThumbnailScalesTheImage) {
    Bitmap b(40, 20);
    Graphics(&b).Clear(Color(0xFF00FF00));
    auto thumb = b.GetThumbnailImage(10, 5);
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->GetWidth(), 10);
    EXPECT_EQ(testing::CountPixels(*thumb, 0xFF00FF00), 50);
}

} // namespace
} // namespace gfx
