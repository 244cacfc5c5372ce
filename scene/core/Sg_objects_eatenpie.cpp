#include "scene/core/Sg_objects.h"

#include "scene/core/Sg_ani_kinds.h"
#include "scene/core/Sg_scene_geometry.h"

DBI_PUBLISH(TsgEatenPie) {
    using S = TsgEatenPie;
    p.Float("BitePerc", &S::BitePerc, &S::SetBitePerc);
    p.Float("BiteWidth", &S::BiteWidth, &S::SetBiteWidth);
    p.Float("BiteHeight", &S::BiteHeight, &S::SetBiteHeight);
    p.Boolean("IsPressed", &S::IsPressed, &S::SetIsPressed, false);
    p.Object("ManualHintRect", &S::ManualHintRect, &S::SetManualHintRect);
}

namespace {

constexpr const char* kHoverOnTrigger = "IsMouseOver=true";
constexpr const char* kHoverOffTrigger = "IsMouseOver=false";

// One of the pie's own colour animations on its fill: a child that streams never see.
TsgColorAnimation* AddFillAnimation(TsgEatenPie* Pie, const char* Name, TsgAnimationType Type,
                                    float Duration, bool FromCurrent, const char* StartValue,
                                    const char* StopValue, const char* Trigger) {
    auto* ani = new TsgColorAnimation(Pie);
    ani->SetName(Name);
    ani->SetAnimationType(Type);
    ani->SetDuration(Duration);
    ani->SetStartFromCurrent(FromCurrent);
    ani->SetStartValue(UnicodeString(StartValue));
    ani->SetStopValue(UnicodeString(StopValue));
    ani->SetTrigger(Trigger);
    ani->SetPropertyName("Fill.Color");
    Pie->AddObject(ani);
    ani->SetStored(false);
    return ani;
}

} // namespace

TsgEatenPie::TsgEatenPie(TComponent* AOwner)
    : TsgPie(AOwner), FBiteWidth(Width() * 0.5f), FBiteHeight(Height() * 0.5f),
      FManualHintRect(std::make_unique<TsgBounds>()) {
    FHoverOnAni = AddFillAnimation(this, "HoverOnAni", sgAnimationIn, 0.2f, false, "#FFD9D9D9",
                                   "#FF8C8C8C", kHoverOnTrigger);
    FHoverOffAni = AddFillAnimation(this, "HoverOffAni", sgAnimationOut, 0.4f, true, "#FF8C8C8C",
                                    "#FFD9D9D9", kHoverOffTrigger);
    FPressOnAni = AddFillAnimation(this, "PressOnAni", sgAnimationIn, 0.2f, false, "#FF8C8C8C",
                                   "#FF404040", "");
    FPressOffAni = AddFillAnimation(this, "PressOffAni", sgAnimationOut, 0.4f, true, "#FF404040",
                                    "#FF8C8C8C", "");
}

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
    FIsPressed = Value;
    // While pressed, hovering does not recolour the pie.
    FHoverOnAni->SetTrigger(Value ? "" : kHoverOnTrigger);
    FHoverOffAni->SetTrigger(Value ? "" : kHoverOffTrigger);
    (Value ? FPressOnAni : FPressOffAni)->Start();
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
