// Pixel probes of a few shapes painted by an off-screen scene on the real canvas.
#include "CanvasTestSupport.h"

#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene_offscreen.h"

#include <gtest/gtest.h>

namespace {

constexpr TsgColor kWhite = 0xFFFFFFFF;

struct ShapePixels : ::testing::Test {
    void SetUp() override {
        RegisterSgObjectsUnit();
        InitSgCanvasUnit();
    }
    template <class T>
    T* Add(float x, float y, float w, float h) {
        auto* o = new T(&scene);
        o->SetWidth(w);
        o->SetHeight(h);
        o->Position()->SetPoint({x, y});
        scene.AddObject(o);
        return o;
    }
    uint32_t At(int x, int y) {
        if (!painted) {
            scene.InvalidateAll();
            scene.PaintScene(kWhite);
            pixels = Pixels(*scene.Canvas());
            painted = true;
        }
        return pixels[size_t(y) * 300 + x];
    }
    TsgOffscreenScene scene{nullptr, 300, 200};
    std::vector<uint32_t> pixels;
    bool painted = false;
};

TEST_F(ShapePixels, OnePixelStrokeAtHalfUnitsIsCrisp) {
    auto* line = Add<TsgLine>(10, 10, 100, 5);
    line->SetLineType(sgLineHorizontal);
    EXPECT_EQ(At(50, 10), 0xFF000000u);
    EXPECT_EQ(At(50, 9), kWhite);
    EXPECT_EQ(At(50, 11), kWhite);
}

TEST_F(ShapePixels, DefaultRectangleStrokesItsEdgePixelsAndFillsInside) {
    Add<TsgRectangle>(20, 30, 50, 50);
    EXPECT_EQ(At(20, 30), 0xFF000000u);
    EXPECT_EQ(At(69, 79), 0xFF000000u);
    EXPECT_EQ(At(45, 30), 0xFF000000u);
    EXPECT_EQ(At(45, 55), 0xFFE0E0E0u);
    EXPECT_EQ(At(21, 31), 0xFFE0E0E0u);
    EXPECT_EQ(At(19, 30), kWhite);
    EXPECT_EQ(At(70, 55), kWhite);
}

TEST_F(ShapePixels, SidesRectangleStrokesOnlyItsSidesAndFillsToTheOtherEdges) {
    auto* r = Add<TsgSidesRectangle>(240, 140, 50, 50);
    r->SetSides(sgSideTop);
    r->SetStrokeThickness(2);
    r->Fill()->SetSolidColor(0xFFFF0000);
    EXPECT_EQ(At(265, 140), 0xFF000000u);
    EXPECT_EQ(At(265, 141), 0xFF000000u);
    EXPECT_EQ(At(240, 165), 0xFFFF0000u); // no left stroke: the fill reaches the edge
    EXPECT_EQ(At(289, 165), 0xFFFF0000u);
    EXPECT_EQ(At(265, 189), 0xFFFF0000u);
    EXPECT_EQ(At(239, 165), kWhite);
}

TEST_F(ShapePixels, CircleAndPieCoverWhatTheirGeometrySays) {
    auto* circle = Add<TsgCircle>(0, 100, 100, 40);
    circle->Stroke()->SetStyle(sgBrushNone);
    circle->Fill()->SetSolidColor(0xFF0000FF);
    auto* pie = Add<TsgPie>(150, 0, 50, 50);
    pie->Stroke()->SetStyle(sgBrushNone);
    pie->Fill()->SetSolidColor(0xFFFF0000);
    EXPECT_EQ(At(50, 120), 0xFF0000FFu); // centre of the square (30, 0, 70, 40)
    EXPECT_EQ(At(32, 120), 0xFF0000FFu);
    EXPECT_EQ(At(25, 120), kWhite); // left of the square
    EXPECT_EQ(At(75, 120), kWhite);
    EXPECT_EQ(At(190, 10), 0xFFFF0000u); // the quarter from 0 up to -90
    EXPECT_EQ(At(160, 10), kWhite);
    EXPECT_EQ(At(190, 40), kWhite);
}

TEST_F(ShapePixels, BlurRectangleFadesAtItsEdges) {
    auto* blur = Add<TsgBlurRectangle>(100, 100, 60, 60);
    blur->Fill()->SetSolidColor(0xFF000000);
    EXPECT_EQ(At(130, 130), 0xFF000000u);
    EXPECT_EQ(At(100, 100), kWhite); // the buffer's corner stays transparent
    const int edge = int(At(103, 130) & 0xFF);
    EXPECT_GT(edge, 0);
    EXPECT_LT(edge, 255);
}

TEST_F(ShapePixels, TextAndImageLandInTheirRectangles) {
    auto* text = Add<TsgText>(200, 100, 90, 30);
    text->Font()->SetSize(20);
    text->SetText(u"MMM");
    auto* image = Add<TsgImage>(200, 150, 40, 40);
    image->Bitmap()->SetSize(2, 2);
    image->Bitmap()->Clear(0xFF00FF00);
    image->SetWrapMode(sgImageStretch);
    int ink = 0;
    for (int y = 100; y < 130; ++y)
        for (int x = 200; x < 290; ++x)
            ink += (At(x, y) & 0xFF) < 100;
    EXPECT_GT(ink, 30);
    EXPECT_EQ(At(220, 170), 0xFF00FF00u);
    EXPECT_EQ(At(245, 170), kWhite);
}

} // namespace
