// Rectangle, sides rectangle and round rectangle.
#include "scene/core/Sg_objects.h"

namespace {

// A function, not a table: the class information of a rectangle may be built by a subclass's
// start-up in another file before this file's tables exist.
std::vector<AnsiString> CornerNames() {
    return {std::begin(sgCornerNames), std::end(sgCornerNames)};
}

} // namespace

DBI_PUBLISH(TsgRectangle) {
    using S = TsgRectangle;
    PublishShapeFill(p);
    PublishShapeStroke(p);
    p.Float("xRadius", &S::xRadius, &S::SetxRadius);
    p.Float("yRadius", &S::yRadius, &S::SetyRadius);
    p.Set("Corners", &S::Corners, &S::SetCorners, CornerNames(), AllCorners);
    p.Enumeration("CornerType", &S::CornerType, &S::SetCornerType,
                  {"sgCornerRound", "sgCornerBevel", "sgCornerInnerRound", "sgCornerInnerLine"},
                  sgCornerRound);
}

DBI_PUBLISH(TsgSidesRectangle) {
    using S = TsgSidesRectangle;
    p.Set("Sides", &S::Sides, &S::SetSides, {std::begin(sgSideNames), std::end(sgSideNames)},
          AllSides);
}

DBI_PUBLISH(TsgRoundRect) {
    using S = TsgRoundRect;
    PublishShapeFill(p);
    PublishShapeStroke(p);
    p.Set("Corners", &S::Corners, &S::SetCorners, CornerNames(), AllCorners);
}

// Rectangle.

void TsgRectangle::SetxRadius(float Value) {
    if (Value == FxRadius)
        return;
    FxRadius = Value;
    MarkEffects();
    Repaint();
}

void TsgRectangle::SetyRadius(float Value) {
    if (Value == FyRadius)
        return;
    FyRadius = Value;
    MarkEffects();
    Repaint();
}

void TsgRectangle::SetCorners(TsgCorners Value) {
    if (Value == FCorners)
        return;
    FCorners = Value;
    Repaint();
}

void TsgRectangle::SetCornerType(TsgCornerType Value) {
    if (Value == FCornerType)
        return;
    FCornerType = Value;
    MarkEffects();
    Repaint();
}

void TsgRectangle::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const TsgRect r = ShapeRect();
    const float opacity = AbsoluteOpacity();
    canvas->FillRect(r, FxRadius, FyRadius, FCorners, opacity, FCornerType);
    canvas->DrawRect(r, FxRadius, FyRadius, FCorners, opacity, FCornerType);
}

// Sides rectangle.

void TsgSidesRectangle::SetSides(TsgSides Value) {
    if (Value == FSides)
        return;
    FSides = Value;
    Repaint();
}

void TsgSidesRectangle::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const TsgRect r = ShapeRect();
    // The inset is half the stroke width where a stroke shows; where a side is not stroked the
    // fill goes out by it to the object's edge.
    const float inset = r.Left;
    TsgRect fill = r;
    if (!(FSides & sgSideTop))
        fill.Top -= inset;
    if (!(FSides & sgSideLeft))
        fill.Left -= inset;
    if (!(FSides & sgSideBottom))
        fill.Bottom += inset;
    if (!(FSides & sgSideRight))
        fill.Right += inset;
    const float opacity = AbsoluteOpacity();
    canvas->FillRect(fill, xRadius(), yRadius(), Corners(), opacity, CornerType());
    canvas->DrawRectSides(r, xRadius(), yRadius(), Corners(), opacity, FSides, CornerType());
}

// Round rectangle.

void TsgRoundRect::SetCorners(TsgCorners Value) {
    if (Value == FCorners)
        return;
    FCorners = Value;
    Repaint();
}

void TsgRoundRect::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const TsgRect r = ShapeRect();
    const float radius = Height() >= Width() ? (r.Right - r.Left) / 2 : (r.Bottom - r.Top) / 2;
    const float opacity = AbsoluteOpacity();
    canvas->FillRect(r, radius, radius, FCorners, opacity, sgCornerRound);
    canvas->DrawRect(r, radius, radius, FCorners, opacity, sgCornerRound);
}
