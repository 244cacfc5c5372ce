// The canvas's pixels: exact where pixels are defined (integer rectangles, clears, clips,
// unscaled bitmaps, opacity 0), analytic with a small tolerance elsewhere.
#include "CanvasTestSupport.h"

#include "platform/gfx/Gfx.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kRed = 0xFFFF0000;

// The block (left, top)..(right, bottom) holds `inside`, every other pixel `outside`.
void ExpectBlock(TsgCanvas& canvas, int left, int top, int right, int bottom, uint32_t inside,
                 uint32_t outside) {
    const auto px = Pixels(canvas);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const bool in = x >= left && x < right && y >= top && y < bottom;
            ASSERT_EQ(px[size_t(y) * canvas.Width() + x], in ? inside : outside)
                << "at " << x << "," << y;
        }
}

} // namespace

TEST(CanvasPixels, IntegerRectanglesAreExact) {
    struct Case {
        TsgColor color;
        float opacity;
        uint32_t expected;
    };
    const Case cases[] = {
        {kRed, 1, 0xFFFF0000},
        {0x80FF0000, 1, 0x80800000},    // premultiplied in the buffer
        {0xFF00FF00, 0.5f, 0x7F007F00}, // opacity truncates: 255 x 0.5 = 127
        {0xFF0000FF, 0, 0},             // opacity 0 paints nothing
    };
    for (const Case& c : cases) {
        auto canvas = MakeCanvas(12, 10);
        SetSolidFill(*canvas, c.color);
        canvas->FillRect({2, 3, 7, 8}, 0, 0, AllCorners, c.opacity);
        ExpectBlock(*canvas, 2, 3, 7, 8, c.expected, 0);
    }
}

TEST(CanvasPixels, ClipMasksArePixelExact) {
    auto canvas = MakeCanvas(10, 4);
    SetSolidFill(*canvas, kRed);
    canvas->SetClipRects({{0, 0, 4, 4}, {6, 0, 10, 4}});
    canvas->FillRect({0, 0, 10, 4}, 0, 0, 0, 1);
    const auto px = Pixels(*canvas);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(px[size_t(x)], (x == 4 || x == 5) ? 0u : kRed) << x;

    canvas->Clear(0);
    canvas->ResetClipRect();
    canvas->IntersectClipRect({1, 1, 9, 3});
    canvas->ExcludeClipRect({3, 0, 5, 4});
    canvas->FillRect({0, 0, 10, 4}, 0, 0, 0, 1);
    const auto clipped = Pixels(*canvas);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool in = y >= 1 && y < 3 && x >= 1 && x < 9 && !(x >= 3 && x < 5);
            ASSERT_EQ(clipped[size_t(y) * 10 + x], in ? kRed : 0u) << x << "," << y;
        }
}

TEST(CanvasPixels, ClearIgnoresTransformAndClip) {
    auto canvas = MakeCanvas(3, 3);
    canvas->SetMatrix({2, 0, 0, 0, 2, 0, 5, 5, 1});
    canvas->IntersectClipRect({0, 0, 1, 1});
    canvas->Clear(0x80402010);
    ExpectBlock(*canvas, 0, 0, 3, 3, 0x80402010, 0);
}

TEST(CanvasPixels, UnscaledBitmapsAreCopiedExactly) {
    TsgBitmap bitmap(3, 2);
    const uint32_t words[6] = {0xFF102030, 0x80402010, 0, 0xFFFFFFFF, 0x01010101, 0xC0300060};
    for (int i = 0; i < 6; ++i)
        bitmap.SetPixels(i % 3, i / 3, words[i]);
    for (bool highSpeed : {true, false}) {
        auto canvas = MakeCanvas(8, 6);
        canvas->DrawBitmap(&bitmap, {0, 0, 3, 2}, {4, 3, 7, 5}, 1, highSpeed);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(PixelAt(*canvas, 4 + i % 3, 3 + i / 3), words[i]) << i << " " << highSpeed;
        EXPECT_EQ(PixelAt(*canvas, 3, 3), 0u);
        EXPECT_EQ(PixelAt(*canvas, 7, 4), 0u);
    }
}

TEST(CanvasPixels, BitmapOpacityScalesAlpha) {
    TsgBitmap bitmap(2, 2);
    bitmap.Clear(0xFFC08040);
    const std::pair<float, int> table[] = {{0.5f, 128}, {0, 0}, {1.2f, 255}, {1, 255}};
    for (const auto& [opacity, alpha] : table) {
        auto canvas = MakeCanvas(2, 2);
        canvas->DrawBitmap(&bitmap, {0, 0, 2, 2}, {0, 0, 2, 2}, opacity, true);
        EXPECT_NEAR(Alpha(PixelAt(*canvas, 1, 1)), alpha, 1) << opacity;
    }
    // Changing the words after a draw is seen by the next draw.
    auto canvas = MakeCanvas(2, 2);
    canvas->DrawBitmap(&bitmap, {0, 0, 2, 2}, {0, 0, 2, 2}, 1, true);
    bitmap.Clear(0xFF0000FF);
    canvas->DrawBitmap(&bitmap, {0, 0, 2, 2}, {0, 0, 2, 2}, 1, true);
    EXPECT_EQ(PixelAt(*canvas, 0, 0), 0xFF0000FFu);
}

TEST(CanvasPixels, HalfPixelEdgesAndDiscCoverage) {
    auto canvas = MakeCanvas(8, 1);
    SetSolidFill(*canvas, 0xFF000000);
    canvas->FillRect({2.5f, 0, 5, 1}, 0, 0, 0, 1);
    EXPECT_EQ(Alpha(PixelAt(*canvas, 1, 0)), 0);
    EXPECT_NEAR(Alpha(PixelAt(*canvas, 2, 0)), 128, 3);
    EXPECT_EQ(Alpha(PixelAt(*canvas, 3, 0)), 255);
    EXPECT_EQ(Alpha(PixelAt(*canvas, 5, 0)), 0);

    auto disc = MakeCanvas(44, 44);
    SetSolidFill(*disc, 0xFF000000);
    disc->FillEllipse({2, 2, 42, 42}, 1);
    double covered = 0;
    for (uint32_t p : Pixels(*disc))
        covered += Alpha(p) / 255.0;
    EXPECT_NEAR(covered, M_PI * 400, M_PI * 400 * 0.01);
    EXPECT_EQ(Alpha(PixelAt(*disc, 22, 22)), 255);
    EXPECT_EQ(Alpha(PixelAt(*disc, 3, 3)), 0);
}

TEST(CanvasPixels, FillsUseTheEvenOddRule) {
    auto canvas = MakeCanvas(100, 100);
    SetSolidFill(*canvas, 0xFF000000);
    // A pentagram drawn in one stroke: its centre is crossed twice.
    const TsgPolygon star = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    canvas->FillPolygon(star, 1);
    EXPECT_EQ(Alpha(PixelAt(*canvas, 50, 50)), 0);
    EXPECT_EQ(Alpha(PixelAt(*canvas, 50, 20)), 255);
}

TEST(CanvasPixels, ThinPensAndDashRuns) {
    auto canvas = MakeCanvas(20, 12);
    SetSolidStroke(*canvas, 0xFF000000, 0); // width 0: one device pixel
    canvas->SetMatrix({3, 0, 0, 0, 3, 0, 0, 0, 1});
    canvas->DrawLine({0, 5.5f / 3}, {6, 5.5f / 3}, 1);
    EXPECT_GT(Alpha(PixelAt(*canvas, 10, 5)), 200);
    EXPECT_LT(Alpha(PixelAt(*canvas, 10, 4)), 30);
    EXPECT_LT(Alpha(PixelAt(*canvas, 10, 6)), 30);

    auto dashed = MakeCanvas(40, 10);
    SetSolidStroke(*dashed, 0xFF000000, 2);
    dashed->SetStrokeDash(sgDashDash); // 3 on, 1 off, in pen widths: 6 px on, 2 off
    dashed->DrawLine({0, 5}, {40, 5}, 1);
    for (int x = 0; x < 40; ++x) {
        const bool on = (x % 8) < 6;
        EXPECT_EQ(Alpha(PixelAt(*dashed, x, 4)), on ? 255 : 0) << x;
        EXPECT_EQ(Alpha(PixelAt(*dashed, x, 5)), on ? 255 : 0) << x;
    }
    EXPECT_EQ(Alpha(PixelAt(*dashed, 10, 6)), 0);
}

TEST(CanvasGradients, VerticalFillIsPhasedToTheRectangle) {
    auto canvas = MakeCanvas(50, 120);
    canvas->Fill()->SetStyle(sgBrushGradient); // default: black at 0 to white at 1, top to bottom
    canvas->FillRect({0, 10, 50, 110}, 0, 0, 0, 1);
    TsgGradient* g = canvas->Fill()->Gradient();
    EXPECT_FLOAT_EQ(g->StartPosition()->Y(), 0.1f);
    EXPECT_FLOAT_EQ(g->StopPosition()->Y(), 1.1f);
    for (int y = 10; y < 110; y += 9) {
        const double expected = 255.0 * (y + 0.5 - 10) / 100.0;
        const uint32_t p = PixelAt(*canvas, 25, y);
        EXPECT_NEAR(double((p >> 16) & 0xFF), expected, 2.0) << y;
        EXPECT_EQ(Alpha(p), 255);
    }
    EXPECT_EQ(PixelAt(*canvas, 25, 5), 0u);
}

TEST(CanvasGradients, StopsArePaddedForFillsOnly) {
    auto canvas = MakeCanvas(10, 10);
    TsgBrush brush(sgBrushGradient, 0);
    brush.SetStyle(sgBrushGradient);
    brush.Gradient()->StopPosition()->SetPoint({1, 1});
    brush.Gradient()->Points()->Points(0)->SetOffset(0.2f);
    brush.Gradient()->Points()->Points(1)->SetOffset(0.8f);
    canvas->Fill()->Assign(&brush);
    canvas->FillRect({0, 0, 10, 10}, 0, 0, 0, 1);
    const auto* fill = dynamic_cast<const gfx::LinearGradientBrush*>(canvas->LastFillBrush());
    ASSERT_NE(fill, nullptr);
    const gfx::ColorBlend stops = fill->EffectiveStops();
    ASSERT_EQ(stops.positions, (std::vector<float>{0, 0.2f, 0.8f, 1}));
    EXPECT_EQ(stops.colors[0].GetValue(), 0xFF000000u);
    EXPECT_EQ(stops.colors[3].GetValue(), 0xFFFFFFFFu);
    EXPECT_EQ(fill->GetWrapMode(), gfx::WrapMode::TileFlipX); // start and stop X differ

    // A gradient grows its table with its points (no fixed limit).
    TsgGradientPoints* points = canvas->Fill()->Gradient()->Points();
    for (int i = 0; i < 150; ++i) {
        auto* p = static_cast<TsgGradientPoint*>(points->Add());
        p->SetOffset(0.8f + 0.001f * float(i));
        p->SetIntColor(0xFF808080);
    }
    canvas->FillRect({0, 0, 10, 10}, 0, 0, 0, 1);
    fill = dynamic_cast<const gfx::LinearGradientBrush*>(canvas->LastFillBrush());
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->GetInterpolationColorCount(), 154);
}

TEST(CanvasBrushes, MirroredTilesOfBitmapBrushes) {
    auto canvas = MakeCanvas(8, 1);
    canvas->Fill()->SetStyle(sgBrushBitmap);
    TsgBitmap* tile = canvas->Fill()->Bitmap()->Bitmap();
    tile->SetSize(2, 1);
    tile->SetPixels(0, 0, 0xFF0000FF);
    tile->SetPixels(1, 0, 0xFF00FF00);
    canvas->Fill()->Bitmap()->SetWrapMode(sgWrapTileOriginal);
    canvas->FillRect({0, 0, 8, 1}, 0, 0, 0, 1);
    const uint32_t A = 0xFF0000FF, B = 0xFF00FF00;
    const std::vector<uint32_t> mirrored = {A, B, B, A, A, B, B, A};
    EXPECT_EQ(Pixels(*canvas), mirrored);

    canvas->Fill()->Bitmap()->SetWrapMode(sgWrapTile);
    canvas->FillRect({0, 0, 8, 1}, 0, 0, 0, 1);
    EXPECT_EQ(Pixels(*canvas), (std::vector<uint32_t>{A, B, A, B, A, B, A, B}));
}

TEST(CanvasPaths, StretchedFromTheirBounds) {
    auto canvas = MakeCanvas(100, 20);
    SetSolidStroke(*canvas, 0xFF000000, 2);
    TsgPathData line;
    line.MoveTo({0, 0});
    line.LineTo({10, 0});
    canvas->DrawPath(&line, {0, 0, 100, 20}, 1); // bounds height 0.001: the line stays at y 0
    EXPECT_EQ(Alpha(PixelAt(*canvas, 50, 0)), 255);
    EXPECT_EQ(Alpha(PixelAt(*canvas, 98, 0)), 255);
    EXPECT_EQ(Alpha(PixelAt(*canvas, 50, 2)), 0);

    TsgPathData square;
    square.SetPathString("M 0,0 L 1,0 L 1,1 L 0,1 Z");
    EXPECT_TRUE(canvas->PtInPath({50, 10}, {40, 5, 60, 15}, &square));
    EXPECT_FALSE(canvas->PtInPath({70, 10}, {40, 5, 60, 15}, &square));
    TsgPathData empty;
    EXPECT_FALSE(canvas->PtInPath({50, 10}, {40, 5, 60, 15}, &empty));
}

TEST(CanvasState, SlotsAreReusedAndRestoreTheDrawingState) {
    auto canvas = MakeCanvas(4, 4);
    const uint32_t a = canvas->SaveCanvas();
    const uint32_t b = canvas->SaveCanvas();
    canvas->RestoreCanvas(b);
    canvas->RestoreCanvas(a);
    EXPECT_EQ(canvas->SaveCanvas(), 0u); // the lowest free slot

    canvas->SetStrokeDash(sgDashSolid);
    SetSolidStroke(*canvas, 0xFF00FF00, 3);
    const uint32_t solid = canvas->SaveCanvas();
    canvas->SetStrokeDash(sgDashDot);
    canvas->StrokeThickness = 7;
    canvas->Stroke()->SetSolidColor(0xFF123456);
    canvas->Font()->SetSize(30);
    canvas->RestoreCanvas(solid);
    EXPECT_TRUE(canvas->Dash().empty());
    EXPECT_EQ(canvas->StrokeDash(), sgDashSolid);
    EXPECT_EQ(canvas->StrokeThickness, 3);
    EXPECT_EQ(canvas->Stroke()->SolidColor(), 0xFF00FF00u);
    EXPECT_EQ(canvas->Font()->Size(), 11);

    // Restoring an earlier state out of order brings back its clip and matrix.
    const uint32_t outer = canvas->SaveCanvas();
    canvas->IntersectClipRect({0, 0, 1, 1});
    canvas->SaveCanvas();
    canvas->RestoreCanvas(outer);
    SetSolidFill(*canvas, kRed);
    canvas->FillRect({0, 0, 4, 4}, 0, 0, 0, 1);
    EXPECT_EQ(PixelAt(*canvas, 3, 3), kRed);
}

TEST(CanvasState, StatesSavedBeforeAnyMatrixDrawUntransformed) {
    TsgCanvasGdiPlus canvas(4, 4); // no matrix given yet
    const uint32_t state = canvas.SaveCanvas();
    canvas.SetMatrix({2, 0, 0, 0, 2, 0, 0, 0, 1});
    canvas.RestoreCanvas(state);
    canvas.Stroke()->SetStyle(sgBrushNone);
    SetSolidFill(canvas, kRed);
    canvas.FillRect({0, 0, 2, 2}, 0, 0, 0, 1);
    EXPECT_EQ(PixelAt(canvas, 1, 1), kRed);
    EXPECT_EQ(PixelAt(canvas, 2, 2), 0u);
}

TEST(CanvasShapes, RoundedAndCornerlessRectangles) {
    auto canvas = MakeCanvas(20, 20);
    SetSolidFill(*canvas, 0xFF000000);
    canvas->FillRect({0, 0, 20, 20}, 8, 8, AllCorners, 1);
    EXPECT_EQ(Alpha(PixelAt(*canvas, 0, 0)), 0); // the round corner is cut away
    EXPECT_EQ(Alpha(PixelAt(*canvas, 10, 0)), 255);
    canvas->Clear(0);
    canvas->FillRect({0, 0, 20, 20}, 8, 8, sgCornerTopRight, 1);
    EXPECT_EQ(Alpha(PixelAt(*canvas, 0, 0)), 255); // corners not in the set stay square
    EXPECT_EQ(Alpha(PixelAt(*canvas, 19, 0)), 0);

    // Radii 0.5 without corners: stroked as a closed outline through the four corners.
    canvas->Clear(0);
    canvas->Fill()->SetStyle(sgBrushNone);
    SetSolidStroke(*canvas, 0xFF000000, 2);
    canvas->DrawRect({2, 2, 18, 18}, 0.5f, 0.5f, 0, 1);
    for (auto [x, y] : {std::pair{1, 1}, {18, 1}, {18, 18}, {1, 18}})
        EXPECT_GT(Alpha(PixelAt(*canvas, x, y)), 100) << x << "," << y;
    EXPECT_EQ(Alpha(PixelAt(*canvas, 10, 10)), 0);
}
