// What each figure asks the canvas for: geometry, radii, corners and opacity, logged by a
// recording canvas and compared with tables of the figures' edge cases.
#include "RecordingCanvas.h"

#include "scene/core/Sg_ani_kinds.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using Log = std::vector<std::string>;

struct FigureCase {
    const char* name;
    std::function<TsgVisualObject*(TComponent*)> make;
    Log expected;
};

template <class T>
T* Make(TComponent* owner, float w, float h, const std::function<void(T&)>& set = {}) {
    auto* o = new T(owner);
    o->SetWidth(w);
    o->SetHeight(h);
    if (set)
        set(*o);
    return o;
}

void NoStroke(TsgShape& s) {
    s.Stroke()->SetStyle(sgBrushNone);
}

class Figures : public ::testing::TestWithParam<FigureCase> {
protected:
    void SetUp() override { RegisterSgObjectsUnit(); }
    RecordingScene scene;
};

TEST_P(Figures, PassTheirGeometryToTheCanvas) {
    TsgVisualObject* o = GetParam().make(&scene);
    scene.AddObject(o);
    const Log got = scene.PaintOnce(o);
    EXPECT_EQ(got, GetParam().expected);
}

const FigureCase kFigureCases[] = {
    {"DefaultRectangle",
     [](TComponent* w) { return Make<TsgRectangle>(w, 50, 50); },
     {"FillRect(0.5,0.5,49.5,49.5) r0,0 c15 o1 t0", "DrawRect(0.5,0.5,49.5,49.5) r0,0 c15 o1 t0"}},
    {"RectangleWithoutStroke",
     [](TComponent* w) { return Make<TsgRectangle>(w, 50, 50, NoStroke); },
     {"FillRect(0,0,50,50) r0,0 c15 o1 t0", "DrawRect(0,0,50,50) r0,0 c15 o1 t0"}},
    {"RectangleRadiiCornersAndTypePassedUnchanged",
     [](TComponent* w) {
         return Make<TsgRectangle>(w, 40, 20, [](TsgRectangle& r) {
             r.SetxRadius(30);
             r.SetyRadius(4);
             r.SetCorners(sgCornerTopLeft | sgCornerBottomRight);
             r.SetCornerType(sgCornerBevel);
             r.SetStrokeThickness(4);
             r.SetOpacity(0.5f);
         });
     },
     {"FillRect(2,2,38,18) r30,4 c9 o0.5 t1", "DrawRect(2,2,38,18) r30,4 c9 o0.5 t1"}},
    {"SidesRectangleTopOnly",
     [](TComponent* w) {
         return Make<TsgSidesRectangle>(w, 50, 50, [](TsgSidesRectangle& r) {
             r.SetSides(sgSideTop);
             r.SetStrokeThickness(2);
         });
     },
     // The stroke of the chosen sides is a path over the shape rectangle (pixels show which).
     {"FillRect(0,1,50,50) r0,0 c15 o1 t0", "DrawPath(1,1,49,49) o1"}},
    {"SidesRectangleAllSidesIsARectangle",
     [](TComponent* w) { return Make<TsgSidesRectangle>(w, 50, 50); },
     {"FillRect(0.5,0.5,49.5,49.5) r0,0 c15 o1 t0", "DrawPath(0.5,0.5,49.5,49.5) o1"}},
    {"SidesRectangleWithoutStrokeFillsTheObject",
     [](TComponent* w) {
         return Make<TsgSidesRectangle>(w, 50, 50, [](TsgSidesRectangle& r) {
             NoStroke(r);
             r.SetSides(sgSideLeft);
         });
     },
     {"FillRect(0,0,50,50) r0,0 c15 o1 t0", "DrawPath(0,0,50,50) o1"}},
    {"RoundRectWideUsesHalfTheHeight",
     [](TComponent* w) { return Make<TsgRoundRect>(w, 100, 40); },
     {"FillRect(0.5,0.5,99.5,39.5) r19.5,19.5 c15 o1 t0",
      "DrawRect(0.5,0.5,99.5,39.5) r19.5,19.5 c15 o1 t0"}},
    {"RoundRectTallUsesHalfTheWidth",
     [](TComponent* w) {
         return Make<TsgRoundRect>(w, 40, 100,
                                   [](TsgRoundRect& r) { r.SetCorners(sgCornerTopLeft); });
     },
     {"FillRect(0.5,0.5,39.5,99.5) r19.5,19.5 c1 o1 t0",
      "DrawRect(0.5,0.5,39.5,99.5) r19.5,19.5 c1 o1 t0"}},
    {"RoundRectIgnoresCornerTypeOfNothing",
     [](TComponent* w) { return Make<TsgRoundRect>(w, 30, 30, NoStroke); },
     {"FillRect(0,0,30,30) r15,15 c15 o1 t0", "DrawRect(0,0,30,30) r15,15 c15 o1 t0"}},
    {"Ellipse",
     [](TComponent* w) { return Make<TsgEllipse>(w, 80, 40); },
     {"FillEllipse(0.5,0.5,79.5,39.5) o1", "DrawEllipse(0.5,0.5,79.5,39.5) o1"}},
    {"CircleWideWithoutStroke",
     [](TComponent* w) { return Make<TsgCircle>(w, 100, 40, NoStroke); },
     {"FillEllipse(30,0,70,40) o1", "DrawEllipse(30,0,70,40) o1"}},
    {"CircleTall",
     [](TComponent* w) { return Make<TsgCircle>(w, 40, 100, NoStroke); },
     {"FillEllipse(0,30,40,70) o1", "DrawEllipse(0,30,40,70) o1"}},
    {"LineNormal",
     [](TComponent* w) { return Make<TsgLine>(w, 100, 40); },
     {"DrawLine(0.5,0.5,99.5,39.5) o1"}},
    {"LineHorizontal",
     [](TComponent* w) {
         return Make<TsgLine>(w, 100, 40, [](TsgLine& l) { l.SetLineType(sgLineHorizontal); });
     },
     {"DrawLine(0.5,0.5,99.5,0.5) o1"}},
    {"LineVertical",
     [](TComponent* w) {
         return Make<TsgLine>(w, 100, 40, [](TsgLine& l) { l.SetLineType(sgLineVertical); });
     },
     {"DrawLine(0.5,0.5,0.5,39.5) o1"}},
    {"DefaultPieQuarterRadius24_5",
     [](TComponent* w) { return Make<TsgPie>(w, 50, 50); },
     {"FillPath(25,0.5,49.5,25) o1", "DrawPath(25,0.5,49.5,25) o1"}},
    {"PieRadiusInsetEvenWithoutStroke",
     [](TComponent* w) { return Make<TsgPie>(w, 50, 50, NoStroke); },
     {"FillPath(25,0.5,49.5,25) o1", "DrawPath(25,0.5,49.5,25) o1"}},
    {"DefaultArcQuarter",
     [](TComponent* w) { return Make<TsgArc>(w, 50, 50); },
     {"FillPath(25,0.5,49.5,25) o1", "DrawPath(25,0.5,49.5,25) o1"}},
    {"ArcSweepsEndAngleFromStart",
     [](TComponent* w) {
         return Make<TsgArc>(w, 50, 50, [](TsgArc& a) {
             a.SetStartAngle(90);
             a.SetEndAngle(180);
         });
     },
     // From the bottom through the left to the top: the whole left half.
     {"FillPath(0.5,0.5,25,49.5) o1", "DrawPath(0.5,0.5,25,49.5) o1"}},
};

INSTANTIATE_TEST_SUITE_P(Shapes, Figures, ::testing::ValuesIn(kFigureCases),
                         [](const auto& info) { return std::string(info.param.name); });

bool Near(const TsgPoint& p, float x, float y) {
    return std::fabs(p.X - x) < 1e-3f && std::fabs(p.Y - y) < 1e-3f;
}

struct Shapes : ::testing::Test {
    void SetUp() override { RegisterSgObjectsUnit(); }
    RecordingScene scene;
};

TEST_F(Shapes, PieIsCentreArcBackToCentreClosed) {
    auto* pie = Make<TsgPie>(&scene, 50, 50);
    scene.AddObject(pie);
    scene.PaintOnce(pie);
    ASSERT_EQ(scene.Canvas.Paths.size(), 2u);
    const auto& path = scene.Canvas.Paths[0];
    EXPECT_EQ(path, scene.Canvas.Paths[1]); // fill and stroke share the geometry
    ASSERT_GE(path.size(), 4u);
    EXPECT_EQ(path.front().Kind, sgPathPointMoveTo);
    EXPECT_TRUE(Near(path.front().Point, 25, 25));
    EXPECT_TRUE(Near(path[1].Point, 49.5f, 25)); // the arc starts at 0 degrees, radius 24.5
    EXPECT_EQ(path.back().Kind, sgPathPointClose);
    EXPECT_TRUE(Near(path[path.size() - 2].Point, 25, 25));
    EXPECT_TRUE(Near(path[path.size() - 3].Point, 25, 0.5f)); // ends at -90 degrees
}

TEST_F(Shapes, EatenPieIsARingSegmentInnerEdgeBackwards) {
    auto* pie = Make<TsgEatenPie>(&scene, 100, 100);
    scene.AddObject(pie);
    EXPECT_EQ(pie->BiteWidth(), 50);
    scene.PaintOnce(pie);
    ASSERT_EQ(scene.Canvas.Log.size(), 2u);
    EXPECT_EQ(scene.Canvas.Log[0], "FillPath(50,0.5,99.5,50) o1");
    const auto& path = scene.Canvas.Paths[0];
    // Inner radius (50 - 1) / 2 from -90 back to 0, then the outer 49.5 from 0 to -90.
    EXPECT_EQ(path.front().Kind, sgPathPointMoveTo);
    EXPECT_TRUE(Near(path.front().Point, 50, 25.5f));
    bool outerStart = false;
    for (const TsgPathPoint& p : path)
        outerStart = outerStart || Near(p.Point, 99.5f, 50);
    EXPECT_TRUE(outerStart);
    EXPECT_EQ(path.back().Kind, sgPathPointClose);

    // No bite: the ring closes on the centre.
    pie->SetBiteWidth(0);
    scene.PaintOnce(pie);
    EXPECT_TRUE(Near(scene.Canvas.Paths[0].front().Point, 50, 50));
}

TEST_F(Shapes, EatenPieBiteFollowsTheSize) {
    auto* pie = Make<TsgEatenPie>(&scene, 100, 50);
    EXPECT_FLOAT_EQ(pie->BitePerc(), 0.5f);
    pie->SetBitePerc(0.2f);
    EXPECT_FLOAT_EQ(pie->BiteWidth(), 20);
    EXPECT_FLOAT_EQ(pie->BiteHeight(), 10);
    pie->SetWidth(200);
    EXPECT_FLOAT_EQ(pie->BiteWidth(), 40);
    pie->SetBiteHeight(33); // by hand, until the next resize
    EXPECT_FLOAT_EQ(pie->BiteHeight(), 33);
    pie->SetBoundsRect({0, 0, 200, 100});
    EXPECT_FLOAT_EQ(pie->BiteHeight(), 20);
    TsgEatenPie fresh(nullptr);
    EXPECT_EQ(fresh.BiteWidth(), 25);
    EXPECT_EQ(fresh.BiteHeight(), 25);
    EXPECT_FALSE(fresh.IsPressed());
}

TEST_F(Shapes, EatenPieRecoloursOnHoverUnlessPressed) {
    TsgEatenPie pie(nullptr);
    struct Expected {
        TsgColorAnimation* ani;
        const char* name;
        const char* trigger;
    };
    for (const Expected& e : {Expected{pie.HoverOnAni(), "HoverOnAni", "IsMouseOver=true"},
                              Expected{pie.HoverOffAni(), "HoverOffAni", "IsMouseOver=false"},
                              Expected{pie.PressOnAni(), "PressOnAni", ""},
                              Expected{pie.PressOffAni(), "PressOffAni", ""}}) {
        ASSERT_NE(e.ani, nullptr) << e.name;
        EXPECT_EQ(e.ani->Name(), e.name);
        EXPECT_EQ(e.ani->Parent(), &pie);
        EXPECT_EQ(e.ani->PropertyName(), "Fill.Color");
        EXPECT_EQ(e.ani->Trigger(), e.trigger);
        EXPECT_FALSE(e.ani->Stored()) << e.name;
    }
    // Outside a scene an animation jumps to its end: the press colour shows at once.
    pie.SetIsPressed(true);
    EXPECT_EQ(pie.HoverOnAni()->Trigger(), "");
    EXPECT_EQ(pie.HoverOffAni()->Trigger(), "");
    EXPECT_EQ(pie.Fill()->SolidColor(), 0xFF404040u);
    pie.SetIsPressed(false);
    EXPECT_EQ(pie.HoverOnAni()->Trigger(), "IsMouseOver=true");
    EXPECT_EQ(pie.HoverOffAni()->Trigger(), "IsMouseOver=false");
    EXPECT_EQ(pie.Fill()->SolidColor(), 0xFF8C8C8Cu);
}

TEST_F(Shapes, EatenPieHintRectFromManualRectInSceneSpace) {
    auto* pie = Make<TsgEatenPie>(&scene, 100, 100);
    scene.AddObject(pie);
    pie->Position()->SetPoint({10, 20});
    EXPECT_EQ(pie->GetHintRect(0, 0), (TsgRect{10, 20, 110, 120}));
    pie->ManualHintRect()->SetRect({5, 5, 15, 5}); // no height: still the whole object
    EXPECT_EQ(pie->GetHintRect(0, 0), (TsgRect{10, 20, 110, 120}));
    pie->ManualHintRect()->SetRect({30, 10, 5, 40}); // corners given backwards
    pie->Scale()->SetPoint({2, 1});
    EXPECT_EQ(pie->GetHintRect(0, 0), (TsgRect{20, 30, 70, 60}));
}

TEST_F(Shapes, StrokeSettingsGoToTheCanvasAndBack) {
    auto* r = Make<TsgRectangle>(&scene, 50, 50, [](TsgRectangle& s) {
        s.SetStrokeThickness(3);
        s.SetStrokeCap(sgCapRound);
        s.SetStrokeJoin(sgJoinBevel);
        s.SetStrokeDash(sgDashDot);
        s.Fill()->SetSolidColor(0xFF123456);
        s.Stroke()->SetSolidColor(0xFF654321);
    });
    scene.AddObject(r);
    r->BeforePaint();
    RecordingCanvas& c = scene.Canvas;
    EXPECT_EQ(c.StrokeThickness, 3);
    EXPECT_EQ(c.StrokeCap, sgCapRound);
    EXPECT_EQ(c.StrokeJoin, sgJoinBevel);
    EXPECT_EQ(c.StrokeDash(), sgDashDot);
    EXPECT_EQ(c.Fill()->SolidColor(), 0xFF123456u);
    EXPECT_EQ(c.Stroke()->SolidColor(), 0xFF654321u);
    r->AfterPaint();
    EXPECT_EQ(c.StrokeThickness, 1);
    EXPECT_EQ(c.StrokeDash(), sgDashSolid);
    EXPECT_EQ(c.StrokeCap, sgCapRound); // cap and join stay
}

TEST_F(Shapes, ShapeRectInsetOnlyWhenTheStrokeShows) {
    TsgEllipse e(nullptr);
    e.SetStrokeThickness(6);
    EXPECT_EQ(e.ShapeRect(), (TsgRect{3, 3, 47, 47}));
    e.Stroke()->SetStyle(sgBrushNone);
    EXPECT_EQ(e.ShapeRect(), (TsgRect{0, 0, 50, 50}));
}

TEST_F(Shapes, DefaultsAfterConstruction) {
    TsgRectangle r(nullptr);
    EXPECT_EQ(r.Fill()->Style(), sgBrushSolid);
    EXPECT_EQ(r.Fill()->SolidColor(), 0xFFE0E0E0u);
    EXPECT_EQ(r.Stroke()->SolidColor(), 0xFF000000u);
    EXPECT_EQ(r.StrokeThickness(), 1);
    EXPECT_EQ(r.Corners(), AllCorners);
    EXPECT_EQ(r.CornerType(), sgCornerRound);
    TsgArc arc(nullptr);
    EXPECT_EQ(arc.Fill()->Style(), sgBrushNone);
    EXPECT_EQ(arc.StartAngle(), 0);
    EXPECT_EQ(arc.EndAngle(), -90);
    TsgBlurRectangle blur(nullptr);
    EXPECT_EQ(blur.Stroke()->Style(), sgBrushNone);
    EXPECT_FLOAT_EQ(blur.Softness(), 0.3f);
    TsgText text(nullptr);
    EXPECT_EQ(text.Fill()->SolidColor(), 0xFF000000u);
    EXPECT_EQ(text.Stroke()->Style(), sgBrushNone);
    EXPECT_TRUE(text.WordWrap());
    TsgSidesRectangle sides(nullptr);
    EXPECT_EQ(sides.Sides(), AllSides);
}

// The blur shapes render their buffer once and draw it on every paint; only the changes that
// alter the picture render it again.
TEST_F(Shapes, BlurShapesRebuildTheirBufferOnlyAfterChanges) {
    auto* blur = Make<TsgBlurRectangle>(&scene, 40, 30);
    scene.AddObject(blur);
    blur->Fill()->SetSolidColor(0xFF0000FF);
    const Log one = {"DrawBitmap40x30(0,0,40,30)->(0,0,40,30) o1 fast"};
    EXPECT_EQ(scene.PaintOnce(blur), one);
    TsgBitmap* buffer = blur->Buffer();
    ASSERT_NE(buffer, nullptr);
    EXPECT_NE(buffer->GetPixels(20, 15), 0u);
    EXPECT_EQ(buffer->GetPixels(0, 0) >> 24, 0u); // the blurred edge fades out at the corner
    // A marker in the buffer survives repaints that change nothing.
    const uint32_t marker = 0x01020304;
    buffer->SetPixels(20, 15, marker);
    EXPECT_EQ(scene.PaintOnce(blur), one);
    EXPECT_EQ(scene.PaintOnce(blur), one);
    EXPECT_EQ(blur->Buffer()->GetPixels(20, 15), marker);

    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"fill", [&] { blur->Fill()->SetSolidColor(0xFF00FF00); }},
        {"softness", [&] { blur->SetSoftness(0.1f); }},
        {"corners", [&] { blur->SetCorners(sgCornerTopLeft); }},
        {"corner type", [&] { blur->SetCornerType(sgCornerBevel); }},
        {"x radius", [&] { blur->SetxRadius(3); }},
        {"y radius", [&] { blur->SetyRadius(3); }},
        {"size", [&] { blur->SetWidth(41); }},
    };
    for (const auto& [what, change] : changes) {
        blur->Buffer()->SetPixels(20, 15, marker);
        change();
        scene.PaintOnce(blur);
        EXPECT_NE(blur->Buffer()->GetPixels(20, 15), marker) << what;
    }
    // The stroke is not part of the picture's change list.
    blur->Buffer()->SetPixels(20, 15, marker);
    blur->SetStrokeThickness(5);
    scene.PaintOnce(blur);
    EXPECT_EQ(blur->Buffer()->GetPixels(20, 15), marker);
}

TEST_F(Shapes, BlurRoundRectDrawsItsBufferAndRebuildsOnCorners) {
    auto* blur = Make<TsgBlurRoundRect>(&scene, 60, 20);
    scene.AddObject(blur);
    EXPECT_EQ(scene.PaintOnce(blur), Log{"DrawBitmap60x20(0,0,60,20)->(0,0,60,20) o1 fast"});
    const uint32_t marker = 0x01020304;
    blur->Buffer()->SetPixels(30, 10, marker);
    scene.PaintOnce(blur);
    EXPECT_EQ(blur->Buffer()->GetPixels(30, 10), marker);
    blur->SetCorners(sgCornerTopLeft);
    scene.PaintOnce(blur);
    EXPECT_NE(blur->Buffer()->GetPixels(30, 10), marker);
}

// Softness 0: the figure fills the whole buffer and nothing is blurred; 0.1 blurs by 1.
TEST_F(Shapes, BlurRadiusFromSoftness) {
    auto* sharp = Make<TsgBlurRectangle>(&scene, 20, 20, [](TsgBlurRectangle& b) {
        b.SetSoftness(0);
        b.Fill()->SetSolidColor(0xFFFF0000);
    });
    scene.AddObject(sharp);
    scene.PaintOnce(sharp);
    EXPECT_EQ(sharp->Buffer()->GetPixels(0, 0), 0xFFFF0000u);
    EXPECT_EQ(sharp->Buffer()->GetPixels(19, 19), 0xFFFF0000u);
    sharp->SetSoftness(0.1f);
    scene.PaintOnce(sharp);
    // Radius 1 inset by 1: the corner pixel is transparent before the blur and a quarter after.
    const uint32_t corner = sharp->Buffer()->GetPixels(0, 0);
    EXPECT_GT(corner >> 24, 0u);
    EXPECT_LT(corner >> 24, 255u);
    EXPECT_EQ(sharp->Buffer()->GetPixels(10, 10), 0xFFFF0000u);
}

} // namespace
