#include "scene/controls/Sg_controls_splitter.h"

#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_geometry.h"

#include "platform/classes/Reader.h"
#include "platform/ui/Cursors.h"

DBI_PUBLISH(TsgSplitter) {
    p.Float("MinSize", &TsgSplitter::MinSize, &TsgSplitter::SetMinSize, 0);
    p.Float("MaxSize", &TsgSplitter::MaxSize, &TsgSplitter::SetMaxSize, 0);
    p.Float("SplitSize", &TsgSplitter::SplitSize, &TsgSplitter::SetSplitSize, 0);
    p.Boolean("ShowGrip", &TsgSplitter::ShowGrip, &TsgSplitter::SetShowGrip, true);
    p.Boolean("Pressed", &TsgSplitter::Pressed, &TsgSplitter::SetPressed, std::nullopt);
    p.Event("OnSplitChange", &TsgSplitter::GetOnSplitChange, &TsgSplitter::SetOnSplitChange);
}

namespace {

bool IsSideAlign(TsgAlign A) {
    return A == vaLeft || A == vaRight || A == vaMostLeft || A == vaMostRight;
}

bool IsEndAlign(TsgAlign A) {
    return A == vaTop || A == vaBottom || A == vaMostTop || A == vaMostBottom;
}

} // namespace

TsgSplitter::TsgSplitter(TComponent* AOwner) : TsgControl(AOwner) {
    SetWidth(5);
    SetAlign(vaLeft);
    SetAutoCapture(true);
    SetCursor(crHSplit);
}

void TsgSplitter::ReadState(TReader& Reader) {
    // MinSize is left out of a stream when it equals its declared default 0; an object read
    // from a stream starts from that default, not from the constructor's 20.
    FMinSize = 0;
    TsgControl::ReadState(Reader);
}

bool TsgSplitter::Horizontal() const {
    return IsSideAlign(Align());
}

void TsgSplitter::SetAlign(TsgAlign Value) {
    TsgControl::SetAlign(Value);
    SetCursor(Value == vaTop || Value == vaBottom ? crVSplit : crHSplit);
}

void TsgSplitter::SetShowGrip(bool Value) {
    if (Value == FShowGrip)
        return;
    FShowGrip = Value;
    ApplyStyle();
}

void TsgSplitter::ApplyStyle() {
    TsgControl::ApplyStyle();
    TsgObject* grip = FindResource("grip");
    if (grip && grip->IsVisual())
        grip->Visual()->SetVisible(FShowGrip);
}

TsgVisualObject* TsgSplitter::FindObject() {
    if (!Parent())
        return nullptr;
    TsgPoint probe = Position()->Point();
    switch (Align()) {
    case vaTop:
        probe.Y -= 1;
        break;
    case vaLeft:
    case vaMostLeft:
        probe.X -= 1;
        break;
    case vaRight:
    case vaMostRight:
        probe.X += Width() + 1;
        break;
    case vaBottom:
        probe.Y += Height() + 1;
        break;
    default:
        return nullptr;
    }
    const bool side = IsSideAlign(Align());
    const bool towardsStart = Align() == vaTop || Align() == vaLeft || Align() == vaMostLeft;
    for (int i = 0; i < Parent()->ChildrenCount(); ++i) {
        TsgObject* child = Parent()->GetChild(i);
        if (!child->IsVisual())
            continue;
        TsgVisualObject* v = child->Visual();
        if (v == this || v->Locked() || !v->Visible())
            continue;
        if (side ? !IsSideAlign(v->Align()) : !IsEndAlign(v->Align()))
            continue;
        TsgRect r = v->LocalRect();
        const TsgPoint at = v->Position()->Point();
        r = {r.Left + at.X, r.Top + at.Y, r.Right + at.X, r.Bottom + at.Y};
        if (r.Right == r.Left)
            (towardsStart ? r.Left : r.Right) += towardsStart ? -1 : 1;
        if (r.Bottom == r.Top)
            (towardsStart ? r.Top : r.Bottom) += towardsStart ? -1 : 1;
        if (sgPtInRect(probe, r))
            return v;
    }
    return nullptr;
}

void TsgSplitter::ComputeMaxSize() {
    TsgVisualObject* parent = Parent() && Parent()->IsVisual() ? Parent()->Visual() : nullptr;
    if (!parent || !FControl)
        return;
    const TsgRect m = parent->Margins()->Rect();
    const bool side = Horizontal();
    float room = side ? parent->Width() - FMinSize - m.Left - m.Right
                      : parent->Height() - FMinSize - m.Top - m.Bottom;
    for (int i = 0; i < parent->ChildrenCount(); ++i) {
        TsgObject* child = parent->GetChild(i);
        if (!child->IsVisual())
            continue;
        TsgVisualObject* v = child->Visual();
        const TsgRect q = v->Padding()->Rect();
        if (side && IsSideAlign(v->Align()))
            room -= v->Width() + q.Left + q.Right;
        else if (!side && (v->Align() == vaTop || v->Align() == vaBottom))
            room -= v->Height() + q.Top + q.Bottom;
    }
    FMaxSize = room + (side ? FControl->Width() : FControl->Height());
}

void TsgSplitter::CalcSplitSize(float X, float Y) {
    const TsgAlign a = Align();
    FSplit = IsSideAlign(a) ? X - FDownPos.X : Y - FDownPos.Y;
    float n = 0;
    switch (a) {
    case vaTop:
        n = FControl->Height() + FSplit;
        break;
    case vaLeft:
    case vaMostLeft:
        n = FControl->Width() + FSplit;
        break;
    case vaRight:
    case vaMostRight:
        n = FControl->Width() - FSplit;
        break;
    case vaBottom:
        n = FControl->Height() - FSplit;
        break;
    default:
        break;
    }
    FNewSize = n;
    if (FNewSize < FMinSize)
        FNewSize = FMinSize;
    else if (FNewSize > FMaxSize)
        FNewSize = FMaxSize;
    if (FNewSize != n) {
        if (a == vaRight || a == vaBottom || a == vaMostRight)
            FSplit += n - FNewSize;
        else
            FSplit += FNewSize - n;
    }
}

void TsgSplitter::UpdateSize() {
    if (FNewSize == FOldSize || !FControl)
        return;
    switch (Align()) {
    case vaTop:
        FControl->SetHeight(FNewSize);
        break;
    case vaLeft:
    case vaMostLeft:
        FControl->SetWidth(FNewSize);
        break;
    case vaRight:
    case vaMostRight:
        FControl->Position()->SetX(FControl->Position()->X() + FControl->Width() - FNewSize);
        FControl->SetWidth(FNewSize);
        break;
    case vaBottom:
        FControl->Position()->SetY(FControl->Position()->Y() + FControl->Height() - FNewSize);
        FControl->SetHeight(FNewSize);
        break;
    default:
        break;
    }
    FOldSize = FNewSize;
    if (OnSplitChange)
        OnSplitChange(this);
}

void TsgSplitter::ForgetControl() {
    sgRelinkFreeNotify(FControl, nullptr, this);
}

void TsgSplitter::FreeNotify(TsgObject* AObject) {
    TsgControl::FreeNotify(AObject);
    if (AObject == FControl)
        FControl = nullptr;
}

void TsgSplitter::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FPressed = true;
    FDownPos = {X, Y};
    sgRelinkFreeNotify(FControl, FindObject(), this);
    if (!FControl)
        return;
    // The size last applied is the neighbour's present one: a press alone changes nothing.
    FOldSize = Horizontal() ? FControl->Width() : FControl->Height();
    ComputeMaxSize();
    CalcSplitSize(X, Y);
}

void TsgSplitter::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgControl::MouseMove(Shift, X, Y, Dx, Dy);
    if (!FPressed || !FControl)
        return;
    CalcSplitSize(X, Y);
    if (FNewSize <= FMinSize)
        FNewSize = FMinSize;
    UpdateSize();
}

void TsgSplitter::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseUp(Button, Shift, X, Y);
    FPressed = false;
    ForgetControl();
}

void TsgSplitter::Paint() {
    TsgControl::Paint();
    IsgScene* scene = Scene();
    if (!scene || !scene->GetDesignTime() || Locked() || PaintingToTarget())
        return;
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    TsgRect r = LocalRect();
    r = {r.Left + 0.5f, r.Top + 0.5f, r.Right - 0.5f, r.Bottom - 0.5f};
    canvas->Stroke()->SetStyle(sgBrushSolid);
    canvas->Stroke()->SetSolidColor(0xA0909090);
    canvas->StrokeThickness = 1;
    canvas->SetStrokeDash(sgDashDash);
    canvas->DrawRect(r, 0, 0, AllCorners, AbsoluteOpacity());
    canvas->SetStrokeDash(sgDashSolid);
}
