// Path building (figures, point types), bounds, hit testing and flattening.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/gfx/GraphicsPath.h"
#include "platform/gfx/Pen.h"

namespace gfx {
namespace {

std::string TypesOf(const GraphicsPath& p) {
    std::string s;
    for (uint8_t t : p.Types()) {
        switch (t & PathPointTypePathTypeMask) {
        case PathPointTypeStart:
            s += 'M';
            break;
        case PathPointTypeLine:
            s += 'L';
            break;
        case PathPointTypeBezier:
            s += 'C';
            break;
        default:
            s += '?';
        }
        if (t & PathPointTypeCloseSubpath)
            s += 'z';
    }
    return s;
}

TEST(GraphicsPath, AdditionsJoinTheOpenFigureUntilStartOrClose) {
    GraphicsPath p;
    p.AddLine(PointF(0, 0), PointF(10, 0));
    p.AddLine(PointF(10, 0), PointF(10, 10)); // shared point is not repeated
    p.AddBezier(PointF(10, 10), PointF(5, 15), PointF(0, 15), PointF(0, 10));
    p.CloseFigure();
    p.AddLine(PointF(20, 20), PointF(30, 20)); // after a close: a new figure
    p.StartFigure();
    p.AddLine(PointF(40, 40), PointF(50, 40));
    EXPECT_EQ(TypesOf(p), "MLLCCCzMLML");
}

TEST(GraphicsPath, ShapesAreFiguresOfTheirOwn) {
    GraphicsPath p;
    p.AddLine(PointF(0, 0), PointF(1, 1));
    p.AddRectangle(RectF(0, 0, 4, 4));
    p.AddEllipse(RectF(0, 0, 10, 20));
    EXPECT_EQ(TypesOf(p), "MLMLLLzMCCCCCCCCCCCCz");
    // The ellipse starts at its right-most point and runs clockwise on screen.
    EXPECT_EQ(p.Points()[6], PointF(10, 10));
    EXPECT_EQ(p.Points()[9], PointF(5, 20));
    EXPECT_FALSE(p.IsSingleEllipse(nullptr));
    GraphicsPath e;
    e.AddEllipse(RectF(1, 2, 3, 4));
    RectF r;
    EXPECT_TRUE(e.IsSingleEllipse(&r));
    EXPECT_EQ(r, RectF(1, 2, 3, 4));
}

TEST(GraphicsPath, BoundsFollowTheCurveNotItsControlPoints) {
    GraphicsPath p;
    p.AddEllipse(RectF(10, 20, 100, 50));
    RectF b;
    ASSERT_EQ(p.GetBounds(&b), Status::Ok);
    EXPECT_NEAR(b.X, 10, 0.05);
    EXPECT_NEAR(b.Y, 20, 0.05);
    EXPECT_NEAR(b.Width, 100, 0.1);
    EXPECT_NEAR(b.Height, 50, 0.1);
    Matrix twice(2, 0, 0, 2, 0, 0);
    p.GetBounds(&b, &twice);
    EXPECT_NEAR(b.Width, 200, 0.2);
    GraphicsPath empty;
    empty.GetBounds(&b);
    EXPECT_EQ(b, RectF());
    GraphicsPath flat;
    flat.AddLine(PointF(0, 5), PointF(10, 5));
    flat.GetBounds(&b);
    EXPECT_EQ(b, RectF(0, 5, 10, 0));
}

TEST(GraphicsPath, IsVisibleUsesTheFillMode) {
    GraphicsPath p;
    p.AddRectangle(RectF(0, 0, 10, 10));
    p.AddRectangle(RectF(2, 2, 4, 4));
    EXPECT_TRUE(p.IsVisible(1, 1));
    EXPECT_FALSE(p.IsVisible(3, 3));
    EXPECT_FALSE(p.IsVisible(11, 1));
    p.SetFillMode(FillMode::Winding);
    EXPECT_TRUE(p.IsVisible(3, 3));
}

TEST(GraphicsPath, FlattenLeavesOnlyLinesCloseToTheCurve) {
    GraphicsPath p;
    p.AddEllipse(RectF(-50, -50, 100, 100));
    ASSERT_EQ(p.Flatten(nullptr, 0.1f), Status::Ok);
    const std::string types = TypesOf(p);
    EXPECT_EQ(types.find('C'), std::string::npos);
    EXPECT_EQ(types.front(), 'M');
    EXPECT_EQ(types.back(), 'z');
    EXPECT_GT(p.GetPointCount(), 16);
    for (const PointF& pt : p.Points())
        EXPECT_NEAR(std::hypot(pt.X, pt.Y), 50, 0.2);
}

TEST(GraphicsPath, TransformMovesEveryPoint) {
    GraphicsPath p;
    p.AddLine(PointF(1, 2), PointF(3, 4));
    p.Transform(Matrix(1, 0, 0, 1, 10, 20));
    EXPECT_EQ(p.Points()[0], PointF(11, 22));
    EXPECT_EQ(p.Points()[1], PointF(13, 24));
}

} // namespace
} // namespace gfx
