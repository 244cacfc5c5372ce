// Line, ellipse, circle, pie and arc.
#include "scene/core/Sg_objects.h"

#include "scene/core/Sg_scene_geometry.h"

#include <algorithm>

DBI_PUBLISH(TsgLine) {
    using S = TsgLine;
    PublishShapeStroke(p);
    p.Enumeration("LineType", &S::LineType, &S::SetLineType,
                  {"sgLineNormal", "sgLineHorizontal", "sgLineVertical"}, sgLineNormal);
}

DBI_PUBLISH(TsgEllipse) {
    PublishShapeFill(p);
    PublishShapeStroke(p);
}

DBI_PUBLISH(TsgCircle) {}

DBI_PUBLISH(TsgPie) {
    using S = TsgPie;
    p.Float("StartAngle", &S::StartAngle, &S::SetStartAngle);
    p.Float("EndAngle", &S::EndAngle, &S::SetEndAngle, -90);
}

DBI_PUBLISH(TsgArc) {
    using S = TsgArc;
    p.Float("StartAngle", &S::StartAngle, &S::SetStartAngle);
    p.Float("EndAngle", &S::EndAngle, &S::SetEndAngle, -90);
}

// Line.

void TsgLine::SetLineType(TsgLineType Value) {
    if (Value == FLineType)
        return;
    FLineType = Value;
    Repaint();
}

void TsgLine::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const TsgRect r = ShapeRect();
    TsgPoint to{r.Right, r.Bottom};
    if (FLineType == sgLineHorizontal)
        to = {r.Right, r.Top};
    else if (FLineType == sgLineVertical)
        to = {r.Left, r.Bottom};
    canvas->DrawLine({r.Left, r.Top}, to, AbsoluteOpacity());
}

// Ellipse and circle.

void TsgEllipse::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const TsgRect r = ShapeRect();
    const float opacity = AbsoluteOpacity();
    canvas->FillEllipse(r, opacity);
    canvas->DrawEllipse(r, opacity);
}

bool TsgEllipse::PointInObject(float X, float Y) {
    if (Width() * Height() == 0)
        return false;
    const TsgPoint p = AbsoluteToLocal({X, Y});
    const double dx = (2.0 * p.X - Width()) / Width();
    const double dy = (2.0 * p.Y - Height()) / Height();
    return dx * dx + dy * dy <= 1;
}

TsgRect TsgCircle::CircleRect() const {
    const float side = std::max(Width(), Height());
    TsgRect r{0, 0, side, side};
    sgFitRect(r, ShapeRect());
    return r;
}

void TsgCircle::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const TsgRect r = CircleRect();
    const float opacity = AbsoluteOpacity();
    canvas->FillEllipse(r, opacity);
    canvas->DrawEllipse(r, opacity);
}

// Pie.

void TsgPie::SetStartAngle(float Value) {
    if (Value == FStartAngle)
        return;
    FStartAngle = Value;
    Repaint();
}

void TsgPie::SetEndAngle(float Value) {
    if (Value == FEndAngle)
        return;
    FEndAngle = Value;
    Repaint();
}

void TsgPie::BuildPath(TsgPathData& Path) {
    const TsgPoint c = Center();
    Path.MoveTo(c);
    Path.AddArc(c, OuterRadius(), FStartAngle, FEndAngle - FStartAngle);
    Path.LineTo(c);
    Path.ClosePath();
}

void TsgPie::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    TsgPathData path;
    BuildPath(path);
    const TsgRect bounds = path.GetBounds();
    const float opacity = AbsoluteOpacity();
    canvas->FillPath(&path, bounds, opacity);
    canvas->DrawPath(&path, bounds, opacity);
}

bool TsgPie::PointInObject(float X, float Y) {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return TsgEllipse::PointInObject(X, Y);
    TsgPathData path;
    BuildPath(path);
    return canvas->PtInPath(AbsoluteToLocal({X, Y}), path.GetBounds(), &path);
}

// Arc.

void TsgArc::SetStartAngle(float Value) {
    if (Value == FStartAngle)
        return;
    FStartAngle = Value;
    Repaint();
}

void TsgArc::SetEndAngle(float Value) {
    if (Value == FEndAngle)
        return;
    FEndAngle = Value;
    Repaint();
}

void TsgArc::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const TsgPoint c{Width() / 2, Height() / 2};
    const TsgPoint radius{(Width() - StrokeThickness()) / 2, (Height() - StrokeThickness()) / 2};
    const float opacity = AbsoluteOpacity();
    canvas->FillArc(c, radius, FStartAngle, FEndAngle, opacity);
    canvas->DrawArc(c, radius, FStartAngle, FEndAngle, opacity);
}
