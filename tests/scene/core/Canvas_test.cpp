// The abstract canvas: its buffer, clearing, dash patterns, and the shapes it builds as paths.
#include "CanvasTestSupport.h"

#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

namespace {

// Records the paths the base class hands to its concrete operations.
class RecordingCanvas : public TsgCanvas {
public:
    RecordingCanvas() : TsgCanvas(0, 0) {}
    uint32_t SaveCanvas() override { return 0; }
    void RestoreCanvas(uint32_t) override {}
    void SetClipRects(const std::vector<TsgRect>&) override {}
    void IntersectClipRect(const TsgRect&) override {}
    void ExcludeClipRect(const TsgRect&) override {}
    void ResetClipRect() override {}
    void DrawLine(const TsgPoint&, const TsgPoint&, float) override {}
    void FillRect(const TsgRect&, float, float, TsgCorners, float, TsgCornerType) override {}
    void DrawRect(const TsgRect&, float, float, TsgCorners, float, TsgCornerType) override {}
    void FillEllipse(const TsgRect&, float) override {}
    void DrawEllipse(const TsgRect&, float) override {}
    bool PtInPath(const TsgPoint&, const TsgRect&, TsgPathData*) override { return false; }
    void FillPath(TsgPathData* APath, const TsgRect& ARect, float) override {
        Filled = APath->PathData;
        FillRectArg = ARect;
    }
    void DrawPath(TsgPathData* APath, const TsgRect& ARect, float) override {
        Drawn = APath->PathData;
        DrawRectArg = ARect;
    }
    void DrawBitmap(TsgBitmap*, const TsgRect&, const TsgRect&, float, bool) override {}
    void DrawThumbnail(TsgBitmap*, float, float) override {}
    void FillText(const TsgRect&, const TsgRect&, const UnicodeString&, bool, float, TsgTextAlign,
                  TsgTextAlign) override {}
    void MeasureText(TsgRect& ARect, const TsgRect&, const UnicodeString& AText, bool WordWrap,
                     TsgTextAlign, TsgTextAlign) override {
        if (!WordWrap)
            ARect.Right = ARect.Left;
        if (!AText.IsEmpty())
            ARect.Right = ARect.Left + 7 * float(AText.Length());
    }
    bool TextToPath(TsgPathData*, const TsgRect&, const UnicodeString&, bool, TsgTextAlign,
                    TsgTextAlign) override {
        return false;
    }

    std::vector<TsgPathPoint> Filled, Drawn;
    TsgRect FillRectArg, DrawRectArg;
};

TsgPathPoint P(TsgPathPointKind k, float x = 0, float y = 0) {
    return {k, {x, y}};
}

} // namespace

TEST(CanvasBuffer, SizesAndResizing) {
    TsgCanvasGdiPlus empty(0, 0);
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_EQ(empty.Height(), 0);
    EXPECT_EQ(empty.BufferBits(), nullptr);
    EXPECT_FALSE(empty.HasSurface());

    empty.ResizeBuffer(0, 5);
    EXPECT_EQ(empty.Width(), 1);
    EXPECT_EQ(empty.Height(), 5);
    EXPECT_NE(empty.BufferBits(), nullptr);
    EXPECT_TRUE(empty.Resized());

    auto canvas = MakeCanvas(4, 3, 0xFF112233);
    const uint32_t* bits = canvas->BufferBits();
    canvas->ResizeBuffer(4, 3);
    EXPECT_EQ(canvas->BufferBits(), bits);
    EXPECT_EQ(PixelAt(*canvas, 3, 2), 0xFF112233u);
    canvas->ResizeBuffer(5, 3);
    EXPECT_EQ(PixelAt(*canvas, 0, 0), 0u); // a new size discards the content
}

TEST(CanvasBuffer, ClearRectRoundsAndClamps) {
    struct Case {
        TsgRect r;
        int left, top, right, bottom; // the filled block
    };
    const Case cases[] = {
        {{-3.5f, 2, 4.5f, 3.5f}, 0, 2, 4, 4}, // Right and Bottom round half to even
        {{1.9f, 1.9f, 2.6f, 3.4f}, 1, 1, 3, 3},
        {{8, 8, 30, 30}, 8, 8, 10, 10},
        {{5, 5, 2, 2}, 0, 0, 0, 0}, // inverted: nothing
    };
    for (const Case& c : cases) {
        auto canvas = MakeCanvas(10, 10, 0);
        canvas->ClearRect(c.r, 0xFFABCDEF);
        const auto px = Pixels(*canvas);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
                ASSERT_EQ(px[size_t(y) * 10 + x], inside ? 0xFFABCDEFu : 0u)
                    << c.r.Left << "," << c.r.Top << " at " << x << "," << y;
            }
    }
}

TEST(CanvasBuffer, SavesItselfAsPng) {
    auto canvas = MakeCanvas(3, 2, 0xFF336699);
    TMemoryStream png;
    canvas->SaveToStream(png);
    png.SetPosition(0);
    TsgBitmap back(png);
    ASSERT_EQ(back.Width(), 3);
    EXPECT_EQ(back.GetPixels(2, 1), 0xFF336699u);

    TsgBitmap copy(1, 1);
    copy.Assign(canvas.get()); // a canvas assigns itself to a bitmap
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.GetPixels(1, 1), 0xFF336699u);
}

TEST(CanvasDash, PatternsOfTheDashStyles) {
    RecordingCanvas canvas;
    const std::pair<TsgStrokeDash, std::vector<float>> table[] = {
        {sgDashDash, {3, 1}},
        {sgDashDot, {1, 1}},
        {sgDashDashDot, {3, 1, 1, 1}},
        {sgDashDashDotDot, {3, 1, 1, 1, 1, 1}},
        {sgDashSolid, {}},
    };
    for (const auto& [style, pattern] : table) {
        canvas.SetStrokeDash(style);
        EXPECT_EQ(canvas.Dash(), pattern) << style;
        EXPECT_EQ(canvas.DashOffset(), 0);
    }
    canvas.SetStrokeDash(sgDashDash);
    canvas.SetStrokeDash(sgDashDash);
    EXPECT_EQ(canvas.Dash(), (std::vector<float>{3, 1}));
    canvas.SetCustomDash({2, 2}, 1);
    canvas.SetStrokeDash(sgDashCustom);
    EXPECT_EQ(canvas.Dash(), (std::vector<float>{2, 2}));
    EXPECT_EQ(canvas.DashOffset(), 1);
}

TEST(CanvasShapesAsPaths, PolygonsSplitAtClosePolygon) {
    RecordingCanvas canvas;
    const TsgPolygon polygon = {{0, 0}, {10, 0}, ClosePolygon, {5, 5}, {9, 9}};
    canvas.DrawPolygon(polygon, 1);
    const std::vector<TsgPathPoint> drawn = {
        P(sgPathPointMoveTo, 0, 0), P(sgPathPointLineTo, 10, 0), P(sgPathPointClose),
        P(sgPathPointMoveTo, 5, 5), P(sgPathPointLineTo, 9, 9)};
    EXPECT_EQ(canvas.Drawn, drawn);
    canvas.FillPolygon(polygon, 1);
    std::vector<TsgPathPoint> filled = drawn;
    filled.push_back(P(sgPathPointClose));
    EXPECT_EQ(canvas.Filled, filled);
}

TEST(CanvasShapesAsPaths, RectSidesDrawOnlyTheChosenSides) {
    RecordingCanvas canvas;
    canvas.DrawRectSides({0, 0, 10, 4}, 0, 0, 0, 1, sgSideTop);
    // Only the top edge is drawn, in three pieces; every other step is a move.
    int lines = 0;
    for (const TsgPathPoint& p : canvas.Drawn)
        if (p.Kind == sgPathPointLineTo) {
            ++lines;
            EXPECT_EQ(p.Point.Y, 0);
        }
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(canvas.DrawRectArg, (TsgRect{0, 0, 10, 4}));

    canvas.DrawRectSides({0, 0, 10, 4}, 2, 2, AllCorners, 1, AllSides);
    EXPECT_EQ(canvas.Drawn.back(), P(sgPathPointLineTo, 0, 2)); // the left side closes it
}

TEST(CanvasText, WidthAndHeightThroughMeasuring) {
    RecordingCanvas canvas;
    EXPECT_EQ(canvas.TextWidth(u""), 0);
    EXPECT_EQ(canvas.TextWidth(u"abc"), 21);
}

TEST(CanvasState, UnrestoredSlotsAreFreedWithTheCanvas) {
    // The sanitizer build reports the slot's brushes and font if they leak.
    auto canvas = MakeCanvas(2, 2);
    EXPECT_EQ(canvas->SaveCanvas(), 0u);
    EXPECT_EQ(canvas->SaveCanvas(), 1u);
    canvas.reset();
}
