#include "scene/core/Sg_objects_selection.h"

#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_iscene.h"

#include "platform/rtl/Conversions.h"

#include <algorithm>

DBI_PUBLISH(TsgSelection) {
    using S = TsgSelection;
    p.Float("GripSize", &S::GripSize, &S::SetGripSize, 3);
    p.Boolean("ParentBounds", &S::ParentBounds, &S::SetParentBounds, true);
    p.Boolean("HideSelection", &S::HideSelection, &S::SetHideSelection, false);
    p.Integer("MinSize", &S::MinSize, &S::SetMinSize, 15);
    p.Boolean("Proportional", &S::Proportional, &S::SetProportional, false);
    p.Event("OnChange", &S::GetOnChange, &S::SetOnChange);
    p.Event("OnTrack", &S::GetOnTrack, &S::SetOnTrack);
}

DBI_PUBLISH(TsgSelectionPoint) {
    using S = TsgSelectionPoint;
    p.Float("GripSize", &S::GripSize, &S::SetGripSize, 3);
    p.Boolean("ParentBounds", &S::ParentBounds, &S::SetParentBounds, true);
    p.Event("OnChange", &S::GetOnChange, &S::SetOnChange);
    p.Event("OnTrack", &S::GetOnTrack, &S::SetOnTrack);
}

DBI_PUBLISH(TsgDesignFrame) {
    using S = TsgDesignFrame;
    p.Event("OnChange", &S::GetOnChange, &S::SetOnChange);
    p.Event("OnTrack", &S::GetOnTrack, &S::SetOnTrack);
}

namespace {

constexpr TsgColor kFrameColor = 0xFF1072C5;
constexpr TsgColor kHotGripColor = 0xFFFF0000;
constexpr TsgColor kGripColor = 0xFFFFFFFF;

float ClampGrip(float Value) {
    return std::clamp(Value, 1.0f, 20.0f);
}

float RoundF(float Value) {
    return static_cast<float>(Round(double(Value)));
}

// The pointer, given in O's local coordinates, in its parent's (the scene's without a parent).
TsgPoint ToParent(TsgVisualObject* O, float X, float Y) {
    const TsgPoint absolute = O->LocalToAbsolute({X, Y});
    TsgVisualObject* parent = O->Parent() ? O->Parent()->Visual() : nullptr;
    return parent ? parent->AbsoluteToLocal(absolute) : absolute;
}

} // namespace

// Selection.

TsgSelection::TsgSelection(TComponent* AOwner) : TsgVisualObject(AOwner) {
    SetAutoCapture(true);
}

void TsgSelection::SetGripSize(float Value) {
    FGripSize = ClampGrip(Value);
    Repaint();
}

void TsgSelection::SetHideSelection(bool Value) {
    FHideSelection = Value;
    Repaint();
}

TsgRect TsgSelection::GripRect(float CornerX, float CornerY) const {
    return {CornerX - FGripSize, CornerY - FGripSize, CornerX + FGripSize, CornerY + FGripSize};
}

TsgRect TsgSelection::GetAbsoluteRect() {
    TsgRect r = TsgVisualObject::GetAbsoluteRect();
    sgInflateRect(r, 5, 5);
    return r;
}

TsgRect TsgSelection::GetUpdateRect() {
    TsgRect r = TsgVisualObject::GetUpdateRect();
    sgInflateRect(r, FGripSize / 2, FGripSize / 2);
    return r;
}

bool TsgSelection::PointInObject(float X, float Y) {
    if (TsgVisualObject::PointInObject(X, Y))
        return true;
    const TsgPoint p = AbsoluteToLocal({X, Y});
    const float w = Width(), h = Height();
    return sgPtInRect(p, GripRect(0, 0)) || sgPtInRect(p, GripRect(w, 0)) ||
           sgPtInRect(p, GripRect(w, h)) || sgPtInRect(p, GripRect(0, h));
}

void TsgSelection::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgVisualObject::MouseDown(Button, Shift, X, Y);
    FDownPos = {X, Y};
    if (Button != mbLeft)
        return;
    FRatio = Height() != 0 ? Width() / Height() : 1;
    const float w = Width(), h = Height();
    if (sgPtInRect(FDownPos, GripRect(0, 0)))
        FLeftTop = true;
    else if (sgPtInRect(FDownPos, GripRect(w, 0)))
        FRightTop = true;
    else if (sgPtInRect(FDownPos, GripRect(w, h)))
        FRightBottom = true;
    else if (sgPtInRect(FDownPos, GripRect(0, h)))
        FLeftBottom = true;
    else
        FMove = true;
}

void TsgSelection::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgVisualObject::MouseMove(Shift, X, Y, Dx, Dy);
    if (Shift.Bits == 0) {
        FMovePos = {X, Y};
        const float w = Width(), h = Height();
        bool changed = false;
        auto follow = [&](bool& hot, const TsgRect& grip) {
            const bool now = sgPtInRect(FMovePos, grip);
            if (now != hot) {
                hot = now;
                changed = true;
            }
        };
        follow(FLeftTopHot, GripRect(0, 0));
        follow(FRightTopHot, GripRect(w, 0));
        follow(FRightBottomHot, GripRect(w, h));
        follow(FLeftBottomHot, GripRect(0, h));
        if (changed)
            Repaint();
        return;
    }
    if (!Shift.Contains(ssLeft))
        return;
    FMovePos = {X, Y};
    if (FMove)
        Move(X, Y);
    else if (FLeftTop || FRightTop || FRightBottom || FLeftBottom)
        Resize(X, Y);
}

TsgPoint TsgSelection::PointInParent(float X, float Y) {
    return ToParent(this, X, Y);
}

void TsgSelection::Move(float X, float Y) {
    float px = Position()->X() + X - FDownPos.X;
    float py = Position()->Y() + Y - FDownPos.Y;
    TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr;
    if (FParentBounds && parent) {
        px = std::max(px, 0.0f);
        py = std::max(py, 0.0f);
        if (px + Width() > parent->Width())
            px = parent->Width() - Width();
        if (py + Height() > parent->Height())
            py = parent->Height() - Height();
    }
    Position()->SetPoint({px, py});
    if (OnTrack)
        OnTrack(this);
}

void TsgSelection::ProportionalWidthLimits() {
    if (Width() < float(FMinSize))
        SetWidth(float(FMinSize));
    if (FRatio != 0 && float(FMinSize) > Width() / FRatio)
        SetWidth(RoundF(float(FMinSize) * FRatio));
}

void TsgSelection::Resize(float X, float Y) {
    TsgPoint p = PointInParent(X, Y);
    TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr;
    if (FParentBounds && parent) {
        p.X = std::clamp(p.X, 0.0f, parent->Width());
        p.Y = std::clamp(p.Y, 0.0f, parent->Height());
    }
    const float x = Position()->X(), y = Position()->Y();
    TsgVector d{};
    if (FLeftTop)
        d = {x - (p.X + FDownPos.X), y - (p.Y + FDownPos.Y), 1};
    else if (FRightTop)
        d = {p.X - x, y - (p.Y + FDownPos.Y), 1};
    else if (FRightBottom)
        d = {p.X - x, p.Y - y, 1};
    else
        d = {x - (p.X + FDownPos.X), p.Y - y, 1};
    // The delta is in the parent's space; the size is in this object's, which may be rotated or
    // scaled.
    if (parent)
        d = parent->LocalToAbsoluteVector(d);
    d = AbsoluteToLocalVector(d);

    Repaint();
    const float ratio = FRatio != 0 ? FRatio : 1;
    if (!FProportional) {
        if (FLeftTop) {
            SetWidth(Width() + d.X);
            SetHeight(Height() + d.Y);
            Position()->SetPoint({p.X + FDownPos.X, p.Y + FDownPos.Y});
        } else if (FRightTop) {
            SetWidth(d.X);
            SetHeight(Height() + d.Y);
            Position()->SetY(p.Y + FDownPos.Y);
        } else if (FRightBottom) {
            SetWidth(d.X);
            SetHeight(d.Y);
        } else {
            SetWidth(Width() + d.X);
            Position()->SetX(p.X + FDownPos.X);
            SetHeight(d.Y);
        }
        if (Width() < float(FMinSize))
            SetWidth(float(FMinSize));
        if (Height() < float(FMinSize))
            SetHeight(float(FMinSize));
    } else if (FLeftTop || FLeftBottom) {
        SetWidth(Width() + d.X);
        const float w1 = Width();
        ProportionalWidthLimits();
        Position()->SetX(p.X + FDownPos.X - (Width() - w1));
        const float h = RoundF(Width() / ratio);
        if (FLeftTop)
            Position()->SetY(Position()->Y() + Height() - h);
        SetHeight(h);
    } else {
        SetWidth(d.X);
        ProportionalWidthLimits();
        const float h = RoundF(Width() / ratio);
        if (FRightTop)
            Position()->SetY(Position()->Y() + Height() - h);
        SetHeight(h);
    }
    Repaint();
    if (OnTrack)
        OnTrack(this);
}

void TsgSelection::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgVisualObject::MouseUp(Button, Shift, X, Y);
    const bool dragged = FMove || FLeftTop || FLeftBottom || FRightTop || FRightBottom;
    FMove = FLeftTop = FLeftBottom = FRightTop = FRightBottom = false;
    if (dragged && OnChange)
        OnChange(this);
}

void TsgSelection::MouseLeave() {
    TsgVisualObject::MouseLeave();
    FLeftTopHot = FLeftBottomHot = FRightTopHot = FRightBottomHot = false;
    Repaint();
}

void TsgSelection::Paint() {
    TsgCanvas* canvas = Canvas();
    if (FHideSelection || !canvas)
        return;
    const float opacity = AbsoluteOpacity();
    TsgRect frame = LocalRect();
    sgInflateRect(frame, -0.5f, -0.5f);
    canvas->Fill()->SetStyle(sgBrushSolid);
    canvas->Fill()->SetSolidColor(0xFFFFFFFF);
    canvas->StrokeThickness = 1;
    canvas->Stroke()->SetStyle(sgBrushSolid);
    canvas->Stroke()->SetSolidColor(kFrameColor);
    canvas->SetStrokeDash(sgDashDash);
    canvas->DrawRect(frame, 0, 0, AllCorners, opacity, sgCornerRound);
    canvas->SetStrokeDash(sgDashSolid);
    const float w = Width(), h = Height();
    const struct {
        bool hot;
        TsgRect grip;
    } grips[] = {{FLeftTopHot, GripRect(0, 0)},
                 {FRightTopHot, GripRect(w, 0)},
                 {FLeftBottomHot, GripRect(0, h)},
                 {FRightBottomHot, GripRect(w, h)}};
    for (const auto& g : grips) {
        canvas->Fill()->SetSolidColor(g.hot ? kHotGripColor : kGripColor);
        canvas->FillEllipse(g.grip, opacity);
        canvas->DrawEllipse(g.grip, opacity);
    }
}

// Selection point.

TsgSelectionPoint::TsgSelectionPoint(TComponent* AOwner) : TsgVisualObject(AOwner) {
    SetAutoCapture(true);
    SetDisableDesignResize(true);
    TsgVisualObject::SetWidth(6);
    TsgVisualObject::SetHeight(6);
}

void TsgSelectionPoint::SetGripSize(float Value) {
    FGripSize = ClampGrip(Value);
    Repaint();
}

void TsgSelectionPoint::SetWidth(float) {
    TsgVisualObject::SetWidth(2 * FGripSize);
}

void TsgSelectionPoint::SetHeight(float) {
    TsgVisualObject::SetHeight(2 * FGripSize);
}

bool TsgSelectionPoint::PointInObject(float X, float Y) {
    const TsgPoint p = AbsoluteToLocal({X, Y});
    return std::abs(p.X) < FGripSize && std::abs(p.Y) < FGripSize;
}

TsgRect TsgSelectionPoint::GetUpdateRect() {
    TsgRect r = TsgVisualObject::GetUpdateRect();
    sgInflateRect(r, FGripSize + 1, FGripSize + 1);
    return r;
}

void TsgSelectionPoint::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgVisualObject::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft)
        FPressed = true;
}

void TsgSelectionPoint::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgVisualObject::MouseMove(Shift, X, Y, Dx, Dy);
    TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr;
    if (!FPressed || !parent)
        return;
    TsgPoint p = ToParent(this, X, Y);
    if (FParentBounds) {
        p.X = std::clamp(p.X, 0.0f, parent->Width());
        p.Y = std::clamp(p.Y, 0.0f, parent->Height());
    }
    Position()->SetPoint(p);
    if (OnTrack)
        OnTrack(this);
}

void TsgSelectionPoint::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgVisualObject::MouseUp(Button, Shift, X, Y);
    const bool was = FPressed;
    FPressed = false;
    if (was && OnChange)
        OnChange(this);
}

void TsgSelectionPoint::MouseEnter() {
    TsgVisualObject::MouseEnter();
    Repaint();
}

void TsgSelectionPoint::MouseLeave() {
    TsgVisualObject::MouseLeave();
    Repaint();
}

void TsgSelectionPoint::Paint() {
    TsgVisualObject::Paint();
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    IsgScene* scene = Scene();
    const bool lit = IsMouseOver() || (scene && scene->GetSelected() == this);
    canvas->StrokeThickness = 1;
    canvas->Stroke()->SetStyle(sgBrushSolid);
    canvas->Stroke()->SetSolidColor(kFrameColor);
    canvas->Fill()->SetStyle(sgBrushSolid);
    canvas->Fill()->SetSolidColor(lit ? kHotGripColor : kGripColor);
    const TsgRect grip{-FGripSize, -FGripSize, FGripSize, FGripSize};
    canvas->FillEllipse(grip, AbsoluteOpacity());
    canvas->DrawEllipse(grip, AbsoluteOpacity());
}
