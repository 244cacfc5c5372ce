#include "scene/core/Sg_objects.h"

#include "scene/core/Sg_scene_geometry.h"

DBI_PUBLISH(TsgEatenPie) {
    using S = TsgEatenPie;
    p.Float("BitePerc", &S::BitePerc, &S::SetBitePerc);
    p.Float("BiteWidth", &S::BiteWidth, &S::SetBiteWidth);
    p.Float("BiteHeight", &S::BiteHeight, &S::SetBiteHeight);
    p.Boolean("IsPressed", &S::IsPressed, &S::SetIsPressed, false);
    p.Object("ManualHintRect", &S::ManualHintRect, &S::SetManualHintRect);
}

TsgEatenPie::TsgEatenPie(TComponent* AOwner)
    : TsgPie(AOwner), FBiteWidth(Width() * 0.5f), FBiteHeight(Height() * 0.5f),
      FManualHintRect(std::make_unique<TsgBounds>()) {}

void TsgEatenPie::SetBitePerc(float Value) {
    if (Value == FBitePerc)
        return;
    FBitePerc = Value;
    FBiteWidth = FBitePerc * Width();
    FBiteHeight = FBitePerc * Height();
    Repaint();
}

void TsgEatenPie::SetBiteWidth(float Value) {
    if (Value == FBiteWidth)
        return;
    FBiteWidth = Value;
    Repaint();
}

void TsgEatenPie::SetBiteHeight(float Value) {
    if (Value == FBiteHeight)
        return;
    FBiteHeight = Value;
    Repaint();
}

void TsgEatenPie::SetIsPressed(bool Value) {
    if (Value == FIsPressed)
        return;
    // Pressing also silences the hover animations and starts the press colour; those come with
    // the animation classes.
    FIsPressed = Value;
}

void TsgEatenPie::FollowSize() {
    FBiteWidth = FBitePerc * Width();
    FBiteHeight = FBitePerc * Height();
    Repaint();
}

void TsgEatenPie::SetWidth(float Value) {
    if (Value == Width())
        return;
    TsgPie::SetWidth(Value);
    FollowSize();
}

void TsgEatenPie::SetHeight(float Value) {
    if (Value == Height())
        return;
    TsgPie::SetHeight(Value);
    FollowSize();
}

void TsgEatenPie::SetBoundsRect(const TsgRect& R) {
    TsgPie::SetBoundsRect(R);
    FollowSize();
}

void TsgEatenPie::BuildPath(TsgPathData& Path) {
    const TsgPoint c = Center();
    if (FBiteWidth > 0 && FBiteHeight > 0)
        Path.AddArc(c,
                    {(FBiteWidth - StrokeThickness()) / 2, (FBiteHeight - StrokeThickness()) / 2},
                    EndAngle(), StartAngle() - EndAngle());
    else
        Path.MoveTo(c);
    Path.AddArc(c, OuterRadius(), StartAngle(), EndAngle() - StartAngle());
    Path.ClosePath();
}

TsgRect TsgEatenPie::GetHintRect(float, float) {
    const TsgRect r = FManualHintRect->Rect();
    if (sgRectWidth(r) == 0 || sgRectHeight(r) == 0)
        return AbsoluteRect();
    const TsgPoint corners[4] = {
        LocalToAbsolute({r.Left, r.Top}), LocalToAbsolute({r.Right, r.Top}),
        LocalToAbsolute({r.Right, r.Bottom}), LocalToAbsolute({r.Left, r.Bottom})};
    return sgNormalizeRect(corners, 4);
}
