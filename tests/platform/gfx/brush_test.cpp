// Gradient and texture brushes: end colours and columns against the gradient formula, wrap
// modes of textures pixel by pixel and of the ellipse gradient by the boxes it tiles, and the
// stop-table rules.
#include <gtest/gtest.h>

#include <cmath>

#include "GfxTestSupport.h"

namespace gfx {
namespace {

using testing::Channel;
using testing::PixelAt;
using testing::UseCanvasSettings;

class BrushFill : public ::testing::Test {
protected:
    BrushFill() : bitmap(100, 10), g(&bitmap) { UseCanvasSettings(g); }
    Bitmap bitmap;
    Graphics g;
};

TEST_F(BrushFill, LinearGradientColumnsFollowTheFormula) {
    // Black at x = 0 to white at x = 100: column x has its centre at x + 0.5.
    LinearGradientBrush brush(PointF(0, 0), PointF(100, 0), Color(0xFF000000), Color(0xFFFFFFFF));
    g.FillRectangle(brush, RectF(0, 0, 100, 10));
    for (int x = 0; x < 100; x += 7) {
        const double expected = (x + 0.5) / 100.0 * 255.0;
        EXPECT_NEAR(Channel(PixelAt(bitmap, x, 5), 8), expected, 1.5) << "column " << x;
        EXPECT_EQ(PixelAt(bitmap, x, 5) >> 24, 0xFFu);
    }
}

TEST_F(BrushFill, GradientEndsHaveTheEndColours) {
    LinearGradientBrush brush(PointF(0, 0), PointF(100, 0), Color(0xFFFF0000), Color(0xFF0000FF));
    g.FillRectangle(brush, RectF(0, 0, 100, 10));
    EXPECT_GE(Channel(PixelAt(bitmap, 0, 0), 16), 252);
    EXPECT_LE(Channel(PixelAt(bitmap, 0, 0), 0), 3);
    EXPECT_GE(Channel(PixelAt(bitmap, 99, 0), 0), 252);
    EXPECT_LE(Channel(PixelAt(bitmap, 99, 0), 16), 3);
}

TEST_F(BrushFill, InterpolationColoursPlaceTheStops) {
    LinearGradientBrush brush(PointF(0, 0), PointF(100, 0), Color(0xFF000000), Color(0xFF000000));
    const Color colors[] = {Color(0xFFFF0000), Color(0xFFFF0000), Color(0xFF0000FF),
                            Color(0xFF0000FF)};
    const float positions[] = {0, 0.2f, 0.8f, 1};
    ASSERT_EQ(brush.SetInterpolationColors(colors, positions, 4), Status::Ok);
    g.FillRectangle(brush, RectF(0, 0, 100, 10));
    EXPECT_EQ(PixelAt(bitmap, 10, 5), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(bitmap, 90, 5), 0xFF0000FFu);
    EXPECT_NEAR(Channel(PixelAt(bitmap, 50, 5), 16), 255 * (1 - 30.5 / 60), 2);
}

TEST(LinearGradientBrush, StopTablesMustSpanZeroToOne) {
    LinearGradientBrush brush(PointF(0, 0), PointF(1, 0), Color(0xFF000000), Color(0xFFFFFFFF));
    const Color colors[] = {Color(0xFFFF0000), Color(0xFF0000FF)};
    const float inner[] = {0.2f, 0.8f};
    EXPECT_EQ(brush.SetInterpolationColors(colors, inner, 2), Status::InvalidParameter);
    EXPECT_EQ(brush.GetInterpolationColorCount(), 0);
    EXPECT_EQ(brush.SetInterpolationColors(colors, inner, 1), Status::InvalidParameter);
    // A table far larger than any fixed table grows with the brush.
    std::vector<Color> many(500, Color(0xFF00FF00));
    std::vector<float> at(500);
    for (int i = 0; i < 500; ++i)
        at[i] = i / 499.0f;
    EXPECT_EQ(brush.SetInterpolationColors(many.data(), at.data(), 500), Status::Ok);
    EXPECT_EQ(brush.GetInterpolationColorCount(), 500);
    EXPECT_EQ(brush.SetWrapMode(WrapMode::Clamp), Status::InvalidParameter);
}

TEST_F(BrushFill, TileRepeatsAndFlipMirrorsTheGradient) {
    for (WrapMode mode : {WrapMode::Tile, WrapMode::TileFlipX}) {
        LinearGradientBrush brush(PointF(0, 0), PointF(50, 0), Color(0xFF000000),
                                  Color(0xFFFFFFFF));
        brush.SetWrapMode(mode);
        g.FillRectangle(brush, RectF(0, 0, 100, 10));
        const int first = Channel(PixelAt(bitmap, 10, 5), 8);
        const int second = Channel(PixelAt(bitmap, 60, 5), 8);
        if (mode == WrapMode::Tile)
            EXPECT_NEAR(second, first, 1);
        else
            EXPECT_NEAR(second, Channel(PixelAt(bitmap, 39, 5), 8), 1); // mirrored about x = 50
    }
}

TEST_F(BrushFill, BrushTransformScalesTheGradient) {
    // The gradient from 0 to 1 in brush space, scaled by 100 into world space.
    LinearGradientBrush brush(PointF(0, 0), PointF(1, 0), Color(0xFF000000), Color(0xFFFFFFFF));
    brush.ScaleTransform(100, 1);
    g.FillRectangle(brush, RectF(0, 0, 100, 10));
    EXPECT_NEAR(Channel(PixelAt(bitmap, 49, 5), 8), 49.5 / 100 * 255, 1.5);
}

TEST(PathGradientBrush, RunsFromTheOutlineToTheCentre) {
    Bitmap bitmap(101, 101);
    Graphics g(&bitmap);
    UseCanvasSettings(g);
    GraphicsPath ellipse;
    ellipse.AddEllipse(RectF(0.5f, 0.5f, 100, 100));
    PathGradientBrush brush(ellipse);
    ASSERT_EQ(brush.GetLastStatus(), Status::Ok);
    // Position 0 is the outline (black), 1 the centre (white).
    const Color colors[] = {Color(0xFF000000), Color(0xFFFFFFFF)};
    const float positions[] = {0, 1};
    brush.SetInterpolationColors(colors, positions, 2);
    g.FillRectangle(brush, RectF(0, 0, 101, 101));
    EXPECT_GE(Channel(PixelAt(bitmap, 50, 50), 8), 250);
    // Halfway out along a radius: half way between the colours.
    EXPECT_NEAR(Channel(PixelAt(bitmap, 75, 50), 8), 255 * 0.5, 4);
    // The corners lie outside the ellipse: the brush paints nothing there.
    EXPECT_EQ(PixelAt(bitmap, 2, 2), 0u);
}

// An ellipse in the box (40, 20) to (80, 40) whose bright centre point sits at (50, 25), up and
// left of its middle, filled over the boxes around it: the wrap mode decides whether the
// neighbouring boxes repeat the ellipse, and mirrored or not.
TEST(PathGradientBrush, TheWrapModeTilesTheEllipsesBox) {
    struct Case {
        WrapMode mode;
        bool tiled, mirroredX, mirroredY;
    };
    const Case cases[] = {
        {WrapMode::Clamp, false, false, false},   {WrapMode::Tile, true, false, false},
        {WrapMode::TileFlipX, true, true, false}, {WrapMode::TileFlipY, true, false, true},
        {WrapMode::TileFlipXY, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        Bitmap bitmap(120, 60);
        Graphics g(&bitmap);
        UseCanvasSettings(g);
        GraphicsPath ellipse;
        ellipse.AddEllipse(RectF(40, 20, 40, 20));
        PathGradientBrush brush(ellipse);
        const Color colors[] = {Color(0xFF000000), Color(0xFFFFFFFF)};
        const float positions[] = {0, 1};
        brush.SetInterpolationColors(colors, positions, 2);
        brush.SetCenterPoint(PointF(50, 25));
        brush.SetWrapMode(c.mode);
        g.FillRectangle(brush, RectF(0, 0, 120, 60));
        auto grey = [&](int x, int y) { return Channel(PixelAt(bitmap, x, y), 8); };
        EXPECT_GE(grey(50, 25), 220) << "the ellipse itself in every mode";
        EXPECT_EQ(PixelAt(bitmap, 40, 20), 0u) << "the box's corner lies outside the ellipse";
        if (!c.tiled) {
            EXPECT_EQ(PixelAt(bitmap, 90, 25), 0u);
            EXPECT_EQ(PixelAt(bitmap, 50, 45), 0u);
            continue;
        }
        // The box to the right has its bright point 10 from its left edge, or from its right
        // edge when mirrored; the box below 5 from its top, or from its bottom.
        EXPECT_GE(grey(c.mirroredX ? 110 : 90, 25), 220);
        EXPECT_LT(grey(c.mirroredX ? 90 : 110, 25), 150);
        EXPECT_GE(grey(50, c.mirroredY ? 55 : 45), 220);
        EXPECT_LT(grey(50, c.mirroredY ? 45 : 55), 150);
    }
}

TEST(PathGradientBrush, NonEllipticPathsAreReported) {
    GraphicsPath triangle;
    const PointF pts[] = {{0, 0}, {10, 0}, {0, 10}};
    triangle.AddPolygon(pts, 3);
    PathGradientBrush brush(triangle);
    EXPECT_EQ(brush.GetLastStatus(), Status::NotImplemented);
}

// A 2 x 1 image, A then B, tiled over 8 x 2 pixels.
struct TextureCase {
    WrapMode mode;
    const char* row0;
    const char* row1;
};

TEST(TextureBrush, WrapModesByTable) {
    constexpr uint32_t A = 0xFFFF0000, B = 0xFF0000FF;
    Bitmap tile(2, 1);
    tile.SetPixel(0, 0, Color(A));
    tile.SetPixel(1, 0, Color(B));
    const TextureCase cases[] = {
        {WrapMode::Tile, "ABABABAB", "ABABABAB"},
        {WrapMode::TileFlipX, "ABBAABBA", "ABBAABBA"},
        {WrapMode::TileFlipY, "ABABABAB", "ABABABAB"},
        {WrapMode::TileFlipXY, "ABBAABBA", "ABBAABBA"},
        {WrapMode::Clamp, "AB......", "........"},
    };
    for (const TextureCase& c : cases) {
        Bitmap out(8, 2);
        Graphics g(&out);
        UseCanvasSettings(g);
        g.SetInterpolationMode(InterpolationMode::NearestNeighbor);
        TextureBrush brush(&tile, c.mode);
        g.FillRectangle(brush, RectF(0, 0, 8, 2));
        for (int y = 0; y < 2; ++y) {
            std::string row;
            for (int x = 0; x < 8; ++x) {
                const uint32_t p = PixelAt(out, x, y);
                row += p == A ? 'A' : p == B ? 'B' : p == 0 ? '.' : '?';
            }
            EXPECT_EQ(row, y == 0 ? c.row0 : c.row1) << "mode " << int(c.mode);
        }
    }
}

TEST(TextureBrush, FlipYMirrorsRowsOnly) {
    constexpr uint32_t A = 0xFFFF0000, B = 0xFF0000FF;
    Bitmap tile(1, 2);
    tile.SetPixel(0, 0, Color(A));
    tile.SetPixel(0, 1, Color(B));
    Bitmap out(2, 4);
    Graphics g(&out);
    UseCanvasSettings(g);
    g.SetInterpolationMode(InterpolationMode::NearestNeighbor);
    g.FillRectangle(TextureBrush(&tile, WrapMode::TileFlipY), RectF(0, 0, 2, 4));
    const uint32_t expected[4] = {A, B, B, A};
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(PixelAt(out, 0, y), expected[y]) << y;
        EXPECT_EQ(PixelAt(out, 1, y), expected[y]) << y;
    }
}

TEST(TextureBrush, ScaledTextureStretchesOverTheTarget) {
    Bitmap tile(2, 2);
    tile.SetPixel(0, 0, Color(0xFFFF0000));
    Bitmap out(20, 20);
    Graphics g(&out);
    UseCanvasSettings(g);
    g.SetInterpolationMode(InterpolationMode::NearestNeighbor);
    TextureBrush brush(&tile, WrapMode::Clamp);
    brush.ScaleTransform(10, 10);
    g.FillRectangle(brush, RectF(0, 0, 20, 20));
    EXPECT_EQ(testing::CountPixels(out, 0xFFFF0000), 100);
    EXPECT_EQ(PixelAt(out, 9, 9), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(out, 10, 10), 0u);
}

} // namespace
} // namespace gfx
