// Hit testing of ellipses, circles, arcs, pies and eaten pies, in scene coordinates, with and
// without a canvas to ask.
#include "RecordingCanvas.h"

#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

#include <gtest/gtest.h>

namespace {

struct HitCase {
    float w, h, x, y;
    bool hit;
};

template <class T>
T* Placed(TComponent* owner, float w, float h) {
    auto* o = new T(owner);
    o->SetWidth(w);
    o->SetHeight(h);
    o->Position()->SetPoint({100, 200}); // scene points are taken into local space first
    return o;
}

struct Hits : ::testing::Test {
    void SetUp() override {
        RegisterSgObjectsUnit();
        InitSgCanvasUnit();
    }
};

TEST_F(Hits, EllipsesCirclesAndArcsUseTheEllipseOfTheWholeObject) {
    const HitCase cases[] = {
        {0, 50, 0, 25, false},       // no width: never hit
        {50, 0, 25, 0, false},       // no height
        {80, 40, 40, 20, true},      // centre
        {80, 40, 0.5f, 0.5f, false}, // corner of the rectangle
        {80, 40, 79.5f, 39.5f, false},
        {80, 40, 0, 20, true}, // on the ellipse: inclusive
        {80, 40, 40, 0, true},
        {80, 40, 75, 35, false}, // (0.875)^2 + (0.75)^2 > 1
        {80, 40, 70, 30, true},  // (0.75)^2 + (0.5)^2 <= 1
        {80, 40, 68, 20, true},
        {100, 40, 5, 20, true}, // the circle and the arc use the object's ellipse too
    };
    for (const HitCase& c : cases) {
        TsgEllipse* shapes[] = {Placed<TsgEllipse>(nullptr, c.w, c.h),
                                Placed<TsgCircle>(nullptr, c.w, c.h),
                                Placed<TsgArc>(nullptr, c.w, c.h)};
        for (TsgEllipse* s : shapes) {
            EXPECT_EQ(s->PointInObject(100 + c.x, 200 + c.y), c.hit)
                << s->ClassName().c_str() << " " << c.w << "x" << c.h << " at " << c.x << ","
                << c.y;
            delete s;
        }
    }
}

TEST_F(Hits, PieWithoutCanvasIsTheEllipseWithCanvasItsPainting) {
    const HitCase cases[] = {
        // The default quarter: from 0 (right) to -90 (up).
        {50, 50, 40, 10, true},     // upper right: inside the slice
        {50, 50, 10, 10, false},    // upper left
        {50, 50, 40, 40, false},    // lower right
        {50, 50, 26, 24, true},     // just inside near the centre
        {50, 50, 49.8f, 24, false}, // beyond the inset radius 24.5
    };
    for (const HitCase& c : cases) {
        TsgOffscreenScene scene(nullptr, 200, 300);
        auto* pie = Placed<TsgPie>(&scene, c.w, c.h);
        scene.AddObject(pie);
        EXPECT_EQ(pie->PointInObject(100 + c.x, 200 + c.y), c.hit) << c.x << "," << c.y;
        // Without a scene there is no canvas: the ellipse decides.
        auto* loose = Placed<TsgPie>(nullptr, c.w, c.h);
        const bool inEllipse =
            c.w * c.h != 0 && (2 * c.x - c.w) * (2 * c.x - c.w) / (c.w * c.w) +
                                      (2 * c.y - c.h) * (2 * c.y - c.h) / (c.h * c.h) <=
                                  1;
        EXPECT_EQ(loose->PointInObject(100 + c.x, 200 + c.y), inEllipse) << c.x << "," << c.y;
        delete loose;
    }
}

TEST_F(Hits, EatenPieHitsTheRingNotTheBite) {
    const HitCase cases[] = {
        {100, 100, 80, 20, true},  // in the ring, upper right
        {100, 100, 55, 45, false}, // in the bite
        {100, 100, 20, 20, false}, // outside the quarter
        {100, 100, 74, 30, true},  // just outside the bite's radius 24.5
    };
    for (const HitCase& c : cases) {
        TsgOffscreenScene scene(nullptr, 300, 400);
        auto* pie = Placed<TsgEatenPie>(&scene, c.w, c.h);
        scene.AddObject(pie);
        EXPECT_EQ(pie->PointInObject(100 + c.x, 200 + c.y), c.hit) << c.x << "," << c.y;
    }
    // Without a canvas the pie's test, which then is the ellipse: the bite counts as inside.
    TsgEatenPie loose(nullptr);
    loose.SetWidth(100);
    loose.SetHeight(100);
    EXPECT_TRUE(loose.PointInObject(55, 45));
    EXPECT_FALSE(loose.PointInObject(2, 2));
}

TEST_F(Hits, PieAsksTheCanvasWithItsPaintedPathInLocalSpace) {
    RecordingScene scene;
    auto* pie = Placed<TsgPie>(&scene, 50, 50);
    scene.AddObject(pie);
    scene.Canvas.PathHit = false;
    EXPECT_FALSE(pie->PointInObject(110, 220));
    ASSERT_EQ(scene.Canvas.Log.size(), 1u);
    EXPECT_EQ(scene.Canvas.Log[0], "PtInPath(10,20)(25,0.5,49.5,25)");
}

TEST_F(Hits, RectanglesAndLinesUseTheObjectRectangle) {
    TsgRectangle r(nullptr);
    TsgLine l(nullptr);
    TsgRoundRect rr(nullptr);
    for (TsgShape* s : std::initializer_list<TsgShape*>{&r, &l, &rr}) {
        EXPECT_TRUE(s->PointInObject(1, 1));
        EXPECT_FALSE(s->PointInObject(0, 10)); // the left edge is outside
        EXPECT_FALSE(s->PointInObject(50, 10));
    }
}

} // namespace
