// Solid fills, clears, clipping, saved states and pens, checked pixel by pixel where the pixels
// are fully determined (integer edges, opaque colours).
#include <gtest/gtest.h>

#include <cmath>

#include "GfxTestSupport.h"

namespace gfx {
namespace {

using testing::CountPixels;
using testing::PixelAt;
using testing::UseCanvasSettings;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

class GraphicsFill : public ::testing::Test {
protected:
    GraphicsFill() : bitmap(20, 20), g(&bitmap) { UseCanvasSettings(g); }
    // Every pixel of the rectangle has `inside`, every other pixel `outside`.
    void ExpectOnly(int x, int y, int w, int h, uint32_t inside, uint32_t outside = 0) {
        for (int py = 0; py < bitmap.GetHeight(); ++py)
            for (int px = 0; px < bitmap.GetWidth(); ++px) {
                const bool in = px >= x && px < x + w && py >= y && py < y + h;
                ASSERT_EQ(PixelAt(bitmap, px, py), in ? inside : outside)
                    << "pixel " << px << "," << py;
            }
    }
    Bitmap bitmap;
    Graphics g;
};

TEST_F(GraphicsFill, NewBitmapIsTransparentAndClearFillsEveryPixel) {
    EXPECT_EQ(CountPixels(bitmap, 0), 400);
    g.Clear(Color(0x80FF0000));
    // Clear stores the premultiplied word.
    EXPECT_EQ(CountPixels(bitmap, 0x80800000), 400);
}

TEST_F(GraphicsFill, IntegerRectangleIsPixelExact) {
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(3, 4, 5, 6));
    ExpectOnly(3, 4, 5, 6, kRed);
}

TEST_F(GraphicsFill, PixelOffsetNoneShiftsByHalfAPixel) {
    // Without the half-pixel offset, a rectangle from 3.5 to 8.5 covers pixels 4..8 exactly.
    g.SetPixelOffsetMode(PixelOffsetMode::None);
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(3.5f, 4.5f, 5, 6));
    ExpectOnly(4, 5, 5, 6, kRed);
}

TEST_F(GraphicsFill, TranslucentFillBlendsOver) {
    g.Clear(Color(kBlue));
    g.FillRectangle(SolidBrush(Color(0x80FF0000)), RectF(0, 0, 20, 20));
    const uint32_t p = PixelAt(bitmap, 5, 5);
    EXPECT_EQ(p >> 24, 0xFFu);
    EXPECT_NEAR(testing::Channel(p, 16), 128, 1);
    EXPECT_NEAR(testing::Channel(p, 0), 127, 1);
}

TEST_F(GraphicsFill, SourceCopyReplacesInsteadOfBlending) {
    g.Clear(Color(kBlue));
    g.SetCompositingMode(CompositingMode::SourceCopy);
    g.FillRectangle(SolidBrush(Color(0x00000000)), RectF(2, 2, 4, 4));
    ExpectOnly(2, 2, 4, 4, 0, kBlue);
}

TEST_F(GraphicsFill, TransformMovesAndScalesFills) {
    Matrix m(2, 0, 0, 3, 4, 1);
    g.SetTransform(m);
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(0, 0, 3, 2));
    ExpectOnly(4, 1, 6, 6, kRed);
}

TEST_F(GraphicsFill, SingularTransformDrawsNothingAndLeavesGraphicsUsable) {
    g.SetTransform(Matrix(0, 0, 0, 0, 5, 5));
    EXPECT_EQ(g.FillRectangle(SolidBrush(Color(kRed)), RectF(0, 0, 10, 10)), Status::Ok);
    EXPECT_EQ(CountPixels(bitmap, 0), 400);
    g.ResetTransform();
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(0, 0, 1, 1));
    EXPECT_EQ(PixelAt(bitmap, 0, 0), kRed);
}

TEST_F(GraphicsFill, NonFiniteCoordinatesLeaveTheGraphicsUsable) {
    const float nan = std::nanf("");
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(nan, 0, 5, 5));
    g.DrawLine(Pen(Color(kRed), 1), PointF(0, nan), PointF(1e30f, 1e30f));
    Pen odd(Color(kRed), nan);
    odd.SetDashStyle(DashStyle::Dash);
    odd.SetDashOffset(nan);
    g.DrawLine(odd, PointF(0, 0), PointF(5, 5));
    g.SetTransform(Matrix(nan, 0, 0, 1, 0, 0));
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(0, 0, 5, 5));
    g.ResetTransform();
    g.FillRectangle(SolidBrush(Color(kBlue)), RectF(1, 1, 2, 2));
    EXPECT_EQ(PixelAt(bitmap, 1, 1), kBlue);
    EXPECT_EQ(PixelAt(bitmap, 2, 2), kBlue);
}

TEST_F(GraphicsFill, HalfPixelEdgesCoverHalfAPixel) {
    g.FillRectangle(SolidBrush(Color(0xFFFFFFFF)), RectF(2.5f, 2, 5, 5));
    EXPECT_NEAR(double(PixelAt(bitmap, 2, 4) >> 24), 127.5, 1.5);
    EXPECT_EQ(PixelAt(bitmap, 3, 4), 0xFFFFFFFFu);
    EXPECT_NEAR(double(PixelAt(bitmap, 7, 4) >> 24), 127.5, 1.5);
}

TEST(GraphicsCoverage, DiscCoverageMatchesItsArea) {
    for (float radius : {3.0f, 7.5f, 20.0f}) {
        Bitmap b(48, 48);
        Graphics g(&b);
        UseCanvasSettings(g);
        g.FillEllipse(SolidBrush(Color(0xFFFFFFFF)),
                      RectF(24.3f - radius, 23.6f - radius, 2 * radius, 2 * radius));
        b.Flush();
        double covered = 0;
        for (int i = 0; i < 48 * 48; ++i)
            covered += (b.Scan0()[i] >> 24) / 255.0;
        EXPECT_NEAR(covered, M_PI * radius * radius, 0.01 * M_PI * radius * radius + 0.5) << radius;
    }
}

TEST_F(GraphicsFill, PathsFillEvenOdd) {
    // Two nested squares in one path: the inner one is a hole under the even-odd rule.
    GraphicsPath path;
    path.AddRectangle(RectF(2, 2, 12, 12));
    path.AddRectangle(RectF(6, 6, 4, 4));
    g.FillPath(SolidBrush(Color(kRed)), path);
    EXPECT_EQ(PixelAt(bitmap, 3, 3), kRed);
    EXPECT_EQ(PixelAt(bitmap, 7, 7), 0u);
    path.SetFillMode(FillMode::Winding);
    g.FillPath(SolidBrush(Color(kBlue)), path);
    EXPECT_EQ(PixelAt(bitmap, 7, 7), kBlue);
}

struct ClipCase {
    const char* name;
    void (*apply)(Graphics&);
    Rect visible; // the one rectangle left visible (of a fill of the whole bitmap)
};

const ClipCase kClipCases[] = {
    {"set rect", [](Graphics& g) { g.SetClip(RectF(2, 3, 5, 4)); }, {2, 3, 5, 4}},
    {"intersect",
     [](Graphics& g) {
         g.SetClip(RectF(2, 2, 10, 10));
         g.IntersectClip(RectF(6, 0, 20, 8));
     },
     {6, 2, 6, 6}},
    {"replace drops the earlier clip",
     [](Graphics& g) {
         g.SetClip(RectF(0, 0, 2, 2));
         g.SetClip(RectF(10, 10, 3, 3), CombineMode::Replace);
     },
     {10, 10, 3, 3}},
    {"clip is fixed in world coordinates at the time of the call",
     [](Graphics& g) {
         g.TranslateTransform(5, 5);
         g.SetClip(RectF(0, 0, 4, 4));
         g.ResetTransform();
     },
     {5, 5, 4, 4}},
    {"region union of touching rects",
     [](Graphics& g) {
         Region r;
         r.MakeEmpty();
         r.Union(RectF(1, 1, 3, 5));
         r.Union(RectF(4, 1, 3, 5));
         g.SetClip(r);
     },
     {1, 1, 6, 5}},
    {"reset",
     [](Graphics& g) {
         g.SetClip(RectF(1, 1, 1, 1));
         g.ResetClip();
     },
     {0, 0, 20, 20}},
};

TEST_F(GraphicsFill, ClipsByTable) {
    for (const ClipCase& c : kClipCases) {
        SCOPED_TRACE(c.name);
        Bitmap b(20, 20);
        Graphics gg(&b);
        UseCanvasSettings(gg);
        c.apply(gg);
        gg.FillRectangle(SolidBrush(Color(kRed)), RectF(0, 0, 20, 20));
        EXPECT_EQ(CountPixels(b, kRed), c.visible.Width * c.visible.Height);
        EXPECT_EQ(PixelAt(b, c.visible.X, c.visible.Y), kRed);
        EXPECT_EQ(PixelAt(b, c.visible.X + c.visible.Width - 1, c.visible.Y + c.visible.Height - 1),
                  kRed);
    }
}

TEST_F(GraphicsFill, ExcludeClipLeavesAHole) {
    g.ExcludeClip(RectF(5, 5, 4, 3));
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(0, 0, 20, 20));
    ExpectOnly(5, 5, 4, 3, 0, kRed);
}

TEST_F(GraphicsFill, EmptyRegionClipsEverything) {
    Region none;
    none.MakeEmpty();
    g.SetClip(none);
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(0, 0, 20, 20));
    EXPECT_EQ(CountPixels(bitmap, 0), 400);
}

TEST_F(GraphicsFill, RectanglesWithoutAreaClipEverythingAndExcludeNothing) {
    g.ExcludeClip(RectF(5, 5, -3, 4));
    g.FillRectangle(SolidBrush(Color(kBlue)), RectF(0, 0, 20, 20));
    EXPECT_EQ(CountPixels(bitmap, kBlue), 400);
    g.IntersectClip(RectF(10, 10, -5, 5));
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(0, 0, 20, 20));
    EXPECT_EQ(CountPixels(bitmap, kBlue), 400);
}

TEST_F(GraphicsFill, ClearRespectsTheClip) {
    g.SetClip(RectF(0, 0, 10, 20));
    g.Clear(Color(kBlue));
    EXPECT_EQ(CountPixels(bitmap, kBlue), 200);
}

TEST_F(GraphicsFill, RestoreBringsBackTransformAndClip) {
    const GraphicsState s = g.Save();
    g.SetClip(RectF(0, 0, 2, 2));
    g.TranslateTransform(7, 7);
    g.SetSmoothingMode(SmoothingMode::None);
    ASSERT_EQ(g.Restore(s), Status::Ok);
    EXPECT_EQ(g.GetSmoothingMode(), SmoothingMode::HighQuality);
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(3, 4, 5, 6));
    ExpectOnly(3, 4, 5, 6, kRed);
}

TEST_F(GraphicsFill, RestoringAnEarlierStateDropsTheLaterOnes) {
    g.SetClip(RectF(0, 0, 10, 10));
    const GraphicsState first = g.Save();
    g.IntersectClip(RectF(0, 0, 5, 5));
    const GraphicsState second = g.Save();
    g.IntersectClip(RectF(0, 0, 1, 1));
    EXPECT_EQ(g.Restore(first), Status::Ok);
    // `second` was saved after `first` and went with it.
    EXPECT_EQ(g.Restore(second), Status::InvalidParameter);
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(0, 0, 20, 20));
    EXPECT_EQ(CountPixels(bitmap, kRed), 100);
}

TEST_F(GraphicsFill, RestoringALaterStateKeepsTheEarlierOne) {
    const GraphicsState first = g.Save();
    g.TranslateTransform(10, 0);
    const GraphicsState second = g.Save();
    g.TranslateTransform(0, 10);
    EXPECT_EQ(g.Restore(second), Status::Ok);
    Matrix m;
    g.GetTransform(&m);
    EXPECT_EQ(m.Transform(PointF(0, 0)), PointF(10, 0));
    EXPECT_EQ(g.Restore(first), Status::Ok);
    g.GetTransform(&m);
    EXPECT_TRUE(m.IsIdentity());
    EXPECT_NE(g.Save(), 0xFFFFFFFFu);
}

TEST_F(GraphicsFill, ZeroWidthPenDrawsOnePixelWhateverTheScale) {
    g.ScaleTransform(4, 4);
    Pen pen(Color(kRed), 0);
    // A horizontal line through pixel centres (y = 2.625 * 4 = 10.5).
    g.DrawLine(pen, PointF(0.5f, 2.625f), PointF(4.5f, 2.625f));
    bitmap.Flush();
    int rows = 0;
    for (int y = 0; y < 20; ++y)
        rows += PixelAt(bitmap, 10, y) != 0;
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(PixelAt(bitmap, 10, 10), kRed);
    EXPECT_EQ(CountPixels(bitmap, kRed), 16);
}

TEST_F(GraphicsFill, WidePenCoversItsWidth) {
    g.DrawLine(Pen(Color(kRed), 4), PointF(2, 10), PointF(18, 10));
    ExpectOnly(2, 8, 16, 4, kRed);
}

TEST_F(GraphicsFill, DashesRunInMultiplesOfTheWidth) {
    Pen pen(Color(kRed), 2);
    pen.SetDashStyle(DashStyle::Dash); // 6 on, 2 off at width 2
    g.DrawLine(pen, PointF(0, 10), PointF(20, 10));
    std::string runs;
    for (int x = 0; x < 20; ++x)
        runs += PixelAt(bitmap, x, 10) == kRed ? '#' : '.';
    EXPECT_EQ(runs, "######..######..####");
}

TEST(Pen, DashStylesSetTheirPatterns) {
    Pen pen(Color(0xFF000000), 1);
    const std::pair<DashStyle, std::vector<float>> table[] = {
        {DashStyle::Dash, {3, 1}},
        {DashStyle::Dot, {1, 1}},
        {DashStyle::DashDot, {3, 1, 1, 1}},
        {DashStyle::DashDotDot, {3, 1, 1, 1, 1, 1}},
        {DashStyle::Solid, {}},
    };
    for (const auto& [style, pattern] : table) {
        pen.SetDashStyle(style);
        EXPECT_EQ(pen.GetDashPattern(), pattern);
    }
    const float bad[] = {1, 0};
    EXPECT_EQ(pen.SetDashPattern(bad, 2), Status::InvalidParameter);
}

TEST(Graphics, TargetWithoutPixelsIsRefused) {
    Bitmap broken(0, 5);
    EXPECT_EQ(broken.GetLastStatus(), Status::InvalidParameter);
    Graphics g(&broken);
    EXPECT_EQ(g.GetLastStatus(), Status::InvalidParameter);
    EXPECT_EQ(g.FillRectangle(SolidBrush(Color(kRed)), RectF(0, 0, 1, 1)), Status::WrongState);
}

TEST(Graphics, OutlivingAWrappedBitmapDoesNotTouchItsMemory) {
    std::vector<uint32_t> memory(16, 0x12345678);
    auto bitmap = std::make_unique<Bitmap>(4, 4, 16, PixelFormat::Format32bppPArgb,
                                           reinterpret_cast<uint8_t*>(memory.data()));
    Graphics g(bitmap.get());
    bitmap.reset();
    g.FillRectangle(SolidBrush(Color(kRed)), RectF(0, 0, 4, 4));
    EXPECT_EQ(memory[5], 0x12345678u);
}

} // namespace
} // namespace gfx
