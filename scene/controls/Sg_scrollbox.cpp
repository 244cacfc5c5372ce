#include "scene/controls/Sg_scrollbox.h"

#include "scene/core/Sg_ani_kinds.h"
#include "scene/core/Sg_scene_align.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_paint.h"

#include "platform/ui/UiClock.h"

DBI_PUBLISH(TsgScrollContent) {}

DBI_PUBLISH(TsgScrollBox) {
    using B = TsgScrollBox;
    p.Boolean("AutoHide", &B::AutoHide, &B::SetAutoHide, true);
    p.Boolean("Animated", &B::Animated, &B::SetAnimated, true);
    p.Boolean("DisableMouseWheel", &B::DisableMouseWheel, &B::SetDisableMouseWheel, false);
    p.Boolean("MouseTracking", &B::MouseTracking, &B::SetMouseTracking, false);
    p.Boolean("ShowScrollBars", &B::ShowScrollBars, &B::SetShowScrollBars, true);
    p.Boolean("ShowHScrollBar", &B::ShowHScrollBar, &B::SetShowHScrollBar, true);
    p.Boolean("ShowVScrollBar", &B::ShowVScrollBar, &B::SetShowVScrollBar, true);
    p.Float("AniDuration", &B::AniDuration, &B::SetAniDuration);
    p.Boolean("ShowSizeGrip", &B::ShowSizeGrip, &B::SetShowSizeGrip, false);
    p.Boolean("UseSmallScrollBars", &B::UseSmallScrollBars, &B::SetUseSmallScrollBars, false);
    p.Event("OnScrollChange", &B::GetOnScrollChange, &B::SetOnScrollChange);
}

DBI_PUBLISH(TsgVertScrollBox) {}
DBI_PUBLISH(TsgFramedScrollBox) {}
DBI_PUBLISH(TsgFramedVertScrollBox) {}

namespace {

TsgVisualObject* AsVisual(TsgObject* O) {
    return O ? O->Visual() : nullptr;
}

} // namespace

// ---- TsgScrollContent ----

TsgScrollContent::TsgScrollContent(TComponent* AOwner) : TsgContent(AOwner) {
    SetClipChildren(true);
}

TsgScrollBox* TsgScrollContent::Box() const {
    auto* box = dynamic_cast<TsgScrollBox*>(Parent());
    return box && box->ContentLayout() ? box : nullptr;
}

TsgRect TsgScrollContent::GetClipRect() {
    TsgScrollBox* box = Box();
    if (!box)
        return TsgContent::GetClipRect();
    TsgVisualObject* layout = box->ContentLayout();
    TsgRect r{0, 0, layout->Width(), layout->Height()};
    if (TsgScrollBar* v = box->VScrollBar(); v && v->Enabled())
        sgOffsetRect(r, 0, v->Value());
    if (TsgScrollBar* h = box->HScrollBar(); h && h->Enabled())
        sgOffsetRect(r, h->Value(), 0);
    return r;
}

TsgVisualObject* TsgScrollContent::ObjectByPoint(float X, float Y) {
    // Nothing scrolled out of the viewport is hit.
    if (!sgPtInRect(AbsoluteToLocal({X, Y}), GetClipRect()))
        return nullptr;
    int first = 0, last = ChildrenCount() - 1;
    if (TsgScrollBox* box = Box())
        box->ShownContentRange(first, last);
    return ObjectByPointAmong(X, Y, first, last);
}

void TsgScrollContent::ChildAdded(TsgObject* AObject) {
    TsgContent::ChildAdded(AObject);
    if (TsgScrollBox* box = Box(); box && AObject->IsVisual() && !Loading())
        box->Realign();
}

void TsgScrollContent::ChildRemoved(TsgObject* AObject) {
    TsgContent::ChildRemoved(AObject);
    if (TsgScrollBox* box = Box();
        box && AObject->IsVisual() && !Loading() && !box->HasState(csDestroying))
        box->Realign();
}

void TsgScrollContent::Paint() {
    TsgContent::Paint();
    TsgScrollBox* box = Box();
    TsgCanvas* canvas = Canvas();
    if (!box || !canvas)
        return;
    const uint32_t state = canvas->SaveCanvas();
    canvas->SetMatrix(AbsoluteMatrix());
    canvas->IntersectClipRect(GetClipRect());
    box->ContentPaint(canvas, LocalRect());
    canvas->RestoreCanvas(state);
}

void TsgScrollContent::PaintChildren() {
    if (TsgScrollBox* box = Box())
        box->PaintContentChildren(this);
    else
        TsgContent::PaintChildren();
}

void TsgScrollContent::ApplyResource() {
    if (TsgScrollBox* box = dynamic_cast<TsgScrollBox*>(Parent());
        box && !box->StylesContentWithBox())
        return;
    TsgContent::ApplyResource();
}

// ---- TsgScrollBox ----

TsgScrollBox::TsgScrollBox(TComponent* AOwner) : TsgControl(AOwner) {
    SetAutoCapture(true);
    FContent = new TsgScrollContent(this);
    FContent->SetStored(false);
    FContent->SetLocked(true);
    FContent->SetHitTest(false);
    AddObject(FContent);
}

TsgScrollBox::~TsgScrollBox() {
    BeforeDestruction();
}

void TsgScrollBox::AddObject(TsgObject* AObject) {
    if (!FContent || !AObject || AObject == FContent || AObject == StyleClone() ||
        AObject->IsEffect() || AObject->IsAnimation()) {
        TsgControl::AddObject(AObject);
        return;
    }
    FContent->AddObject(AObject);
}

void TsgScrollBox::ApplyStyle() {
    TsgControl::ApplyStyle();
    if (TsgVisualObject* grip = AsVisual(FindResource(u"sizegrip")))
        grip->SetVisible(FShowSizeGrip);
    FVScrollBar = nullptr;
    FHScrollBar = nullptr;
    auto hide = [this](const char16_t* name) {
        if (TsgVisualObject* part = AsVisual(FindResource(name)))
            part->SetVisible(false);
    };
    if (FUseSmallScrollBars) {
        TakeBar(FindResource(u"vsmallscrollbar"), FVScrollBar, true);
        TakeBar(FindResource(u"hsmallscrollbar"), FHScrollBar, false);
        hide(u"vscrollbar");
        hide(u"hscrollbar");
    }
    if (!FUseSmallScrollBars || !FVScrollBar || !FHScrollBar) {
        TakeBar(FindResource(u"vscrollbar"), FVScrollBar, true);
        TakeBar(FindResource(u"hscrollbar"), FHScrollBar, false);
        hide(u"vsmallscrollbar");
        hide(u"hsmallscrollbar");
    }
    FContentLayout = AsVisual(FindResource(u"content"));
    Realign();
    FHScrollAni = nullptr;
    FVScrollAni = nullptr;
}

void TsgScrollBox::TakeBar(TsgObject* APart, TsgScrollBar*& ABar, bool Vertical) {
    auto* bar = dynamic_cast<TsgScrollBar*>(APart);
    if (!bar)
        return;
    ABar = bar;
    // Through the virtual slot, so that subclasses hear the bars.
    if (Vertical)
        bar->SetOnChange(TNotifyEvent::Bind<&TsgScrollBox::VScrollChange>(this));
    else
        bar->SetOnChange(TNotifyEvent::Bind<&TsgScrollBox::HScrollChange>(this));
    bar->SetLocked(true);
    if (bar->Tag() == 0)
        bar->SetTag(static_cast<int>(bar->Align()));
}

void TsgScrollBox::FreeStyle() {
    TsgControl::FreeStyle();
    FContentLayout = nullptr;
    FHScrollBar = nullptr;
    FVScrollBar = nullptr;
    // The animations are children of the bars and go with them.
    FHScrollAni = nullptr;
    FVScrollAni = nullptr;
}

void TsgScrollBox::Realign() {
    if (HasState(csDestroying))
        return;
    TsgControl::Realign();
    if (Loading() || !FContentLayout || FRealigningBars || FUpdateCount > 0)
        return;
    FRealigningBars = true;
    sgDisableAlign(this);
    struct Done {
        TsgScrollBox* Box;
        ~Done() {
            sgEnableAlign(Box);
            Box->FRealigningBars = false;
        }
    } done{this};
    const float width = FContentLayout->Width();
    const float height = FContentLayout->Height();
    BarPass();
    // A bar that came or went changed the viewport.
    if (FContentLayout && (FContentLayout->Width() != width || FContentLayout->Height() != height))
        BarPass();
}

void TsgScrollBox::ShowBar(TsgScrollBar* Bar, bool Enabled, bool Shown) {
    Bar->SetEnabled(Enabled);
    if (FAutoHide)
        Bar->SetVisible(Bar->Enabled());
    if (Shown) {
        Bar->SetOpacity(1);
        Bar->SetAlign(static_cast<TsgAlign>(Bar->Tag()));
    } else {
        Bar->SetOpacity(0);
        Bar->SetAlign(vaNone);
    }
}

void TsgScrollBox::BarPass() {
    TsgRect r = GetContentBounds();
    if (sgRectWidth(r) * sgRectHeight(r) == 0)
        return;
    TsgVisualObject* layout = FContentLayout;
    sgOffsetRect(r, layout->Position()->X(), layout->Position()->Y());
    if (FHScrollBar && FHScrollBar->Enabled())
        sgOffsetRect(r, -FScrollPosition.X, 0);
    if (FVScrollBar && FVScrollBar->Enabled())
        sgOffsetRect(r, 0, -FScrollPosition.Y);
    RealignContent(r);

    TsgVisualObject* layoutParent = AsVisual(layout->Parent());
    if (layoutParent)
        sgDisableAlign(layoutParent);
    const bool showV = FShowScrollBars && FShowVScrollBar;
    const bool showH = FShowScrollBars && FShowHScrollBar;
    if (FVScrollBar)
        ShowBar(FVScrollBar, sgRectHeight(r) > layout->Height(), showV);
    if (FHScrollBar) {
        ShowBar(FHScrollBar, sgRectWidth(r) > layout->Width(), showH);
        if (showH && FVScrollBar && FVScrollBar->Enabled())
            FHScrollBar->Padding()->SetRight(FVScrollBar->Width());
    }
    if (layoutParent) {
        sgEnableAlign(layoutParent);
        layoutParent->Realign();
    }
    if (!FContentLayout)
        return;

    if (TsgScrollBar* v = FVScrollBar) {
        ShowBar(v, sgRectHeight(r) > layout->Height(), showV);
        if (showV)
            v->SetHitTest(true);
        else
            // Transparent but still hit-testable: parked beyond the right edge, away from
            // the content, however tall the box is.
            v->Position()->SetX(Width() + HiddenBarOffset);
        v->BringToFront();
        if (v->Visible()) {
            v->SetMax(sgRectHeight(r));
            v->SetViewportSize(layout->Height());
            v->SetSmallChange(v->ViewportSize() / 5);
            v->SetValue(FScrollPosition.Y);
        } else
            v->SetValue(0);
    }
    if (TsgScrollBar* h = FHScrollBar) {
        const bool enabled = sgRectWidth(r) > layout->Width();
        h->Padding()->SetRight(0);
        ShowBar(h, enabled, showH);
        if (showH) {
            h->SetHitTest(true);
            if (FVScrollBar && FVScrollBar->Enabled())
                h->Padding()->SetRight(FVScrollBar->Width());
        } else
            h->Position()->SetY(Height() + HiddenBarOffset);
        h->BringToFront();
        if (h->Visible()) {
            h->SetMax(sgRectWidth(r));
            h->SetViewportSize(layout->Width());
            h->SetSmallChange(h->ViewportSize() / 5);
            h->SetValue(layout->Position()->X() - FContent->Position()->X());
        } else
            h->SetValue(0);
    }
}

TsgRect TsgScrollBox::GetContentBounds() {
    if (!FContent || !FContentLayout)
        return {0, 0, Width(), Height()};
    TsgRect r{0, 0, FContentLayout->Width(), FContentLayout->Height()};
    for (int i = 0; i < FContent->ChildrenCount(); ++i) {
        TsgVisualObject* child = AsVisual(FContent->GetChild(i));
        if (child && child->Visible())
            r = sgUnionRect(r, child->GetParentedRect());
    }
    return r;
}

void TsgScrollBox::ContentPaint(TsgCanvas*, const TsgRect&) {}

void TsgScrollBox::PaintContentChildren(TsgScrollContent* AContent) {
    sgPaintChildren(AContent);
}

void TsgScrollBox::RealignContent(const TsgRect& R) {
    if (!FContent || !FContentLayout)
        return;
    FContent->SetBounds(R.Left, R.Top, sgRectWidth(R), sgRectHeight(R));
    FContent->RecalcUpdateRect();
}

void TsgScrollBox::HScrollChange(TObject* Sender) {
    if (!FContentLayout || !FHScrollBar)
        return;
    const float x = FContentLayout->Position()->X();
    FContent->Position()->SetX(FHScrollBar->Visible() ? x - FHScrollBar->Value() : x);
    FScrollPosition.X = FHScrollBar->Value();
    if (FOnScrollChange)
        FOnScrollChange(Sender);
}

void TsgScrollBox::VScrollChange(TObject* Sender) {
    if (!FContentLayout || !FVScrollBar)
        return;
    const float y = FContentLayout->Position()->Y();
    FContent->Position()->SetY(FVScrollBar->Visible() ? y - FVScrollBar->Value() : y);
    FScrollPosition.Y = FVScrollBar->Value();
    if (FOnScrollChange)
        FOnScrollChange(Sender);
}

void TsgScrollBox::ScrollTo(float Dx, float Dy) {
    if (FVScrollBar && FVScrollBar->Visible())
        FVScrollBar->SetValue(FVScrollBar->Value() - Dy);
    if (FHScrollBar && FHScrollBar->Visible())
        FHScrollBar->SetValue(FHScrollBar->Value() - Dx);
}

void TsgScrollBox::Centre() {
    for (TsgScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar && bar->Visible())
            bar->SetValue((bar->Max() - bar->ViewportSize()) / 2);
}

void TsgScrollBox::BeginUpdate() {
    ++FUpdateCount;
    sgDisableAlign(this);
}

void TsgScrollBox::EndUpdate() {
    if (FUpdateCount <= 0)
        return;
    if (--FUpdateCount == 0) {
        sgEnableAlign(this);
        Realign();
    }
}

void TsgScrollBox::SetShowScrollBars(bool Value) {
    if (Value == FShowScrollBars)
        return;
    FShowScrollBars = Value;
    Realign();
}

void TsgScrollBox::SetShowHScrollBar(bool Value) {
    if (Value == FShowHScrollBar)
        return;
    FShowHScrollBar = Value;
    Realign();
}

void TsgScrollBox::SetShowVScrollBar(bool Value) {
    if (Value == FShowVScrollBar)
        return;
    FShowVScrollBar = Value;
    Realign();
}

void TsgScrollBox::SetShowSizeGrip(bool Value) {
    if (Value == FShowSizeGrip)
        return;
    FShowSizeGrip = Value;
    if (StyleClone())
        ApplyStyle();
}

void TsgScrollBox::SetUseSmallScrollBars(bool Value) {
    if (Value == FUseSmallScrollBars)
        return;
    FUseSmallScrollBars = Value;
    if (StyleClone())
        ApplyStyle();
}

void TsgScrollBox::SetAniDuration(float Value) {
    if (Value == FAniDuration)
        return;
    FAniDuration = Value;
    for (TsgFloatAnimation* ani : {FHScrollAni, FVScrollAni})
        if (ani)
            ani->SetDuration(Value);
}

TsgFloatAnimation* TsgScrollBox::ScrollAni(TsgScrollBar* Bar, TsgFloatAnimation*& Ani) {
    if (!Ani) {
        Ani = new TsgFloatAnimation(this);
        Ani->SetAnimationType(sgAnimationOut);
        Ani->SetInterpolation(sgInterpolationQuadratic);
        Ani->SetDuration(FAniDuration);
        Ani->SetPropertyName("Value");
        Ani->SetStartFromCurrent(true);
        Ani->SetStored(false);
        Bar->AddObject(Ani);
    }
    return Ani;
}

void TsgScrollBox::StopAni(TsgFloatAnimation* Ani) {
    if (Ani && Ani->Running())
        Ani->StopAtCurrent();
}

void TsgScrollBox::AnimateBar(TsgScrollBar* Bar, TsgFloatAnimation*& Ani, float Target) {
    if (!FAnimated) {
        Bar->SetValue(Target);
        return;
    }
    TsgFloatAnimation* ani = ScrollAni(Bar, Ani);
    StopAni(ani);
    ani->SetStopValue(Target);
    ani->Start();
}

void TsgScrollBox::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
    TsgControl::MouseWheel(Shift, WheelDelta, Handled);
    const float steps = WheelDelta / 120.0f;
    if (Handled || FDisableMouseWheel)
        return;
    if (FVScrollBar && FVScrollBar->Visible()) {
        AnimateBar(FVScrollBar, FVScrollAni,
                   FVScrollBar->Value() - FVScrollBar->SmallChange() * 3 * steps);
        Handled = true;
        return;
    }
    if (FHScrollBar && FHScrollBar->Visible()) {
        AnimateBar(FHScrollBar, FHScrollAni,
                   FHScrollBar->Value() - FHScrollBar->SmallChange() * 3 * steps);
        Handled = true;
    }
}

void TsgScrollBox::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseDown(Button, Shift, X, Y);
    if (!FMouseTracking || Button != mbLeft)
        return;
    FLastDelta = {0, 0};
    FDownPoint = {X, Y};
    FTrackPoint = {X, Y};
    FTrackingPressed = true;
    StopAni(FHScrollAni);
    StopAni(FVScrollAni);
}

void TsgScrollBox::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgControl::MouseMove(Shift, X, Y, Dx, Dy);
    if (!FTrackingPressed)
        return;
    if (FVScrollBar && FVScrollBar->Visible()) {
        FVScrollBar->SetValue(FVScrollBar->Value() - (Y - FTrackPoint.Y));
        FLastDelta.Y = Y - FTrackPoint.Y;
    }
    if (FHScrollBar && FHScrollBar->Visible()) {
        FHScrollBar->SetValue(FHScrollBar->Value() - (X - FTrackPoint.X));
        FLastDelta.X = X - FTrackPoint.X;
    }
    FTrackPoint = {X, Y};
    FLastTrackTick = GetTickCount();
}

void TsgScrollBox::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseUp(Button, Shift, X, Y);
    if (!FTrackingPressed)
        return;
    FTrackingPressed = false;
    const bool moved = FLastDelta.X != 0 || FLastDelta.Y != 0;
    if (!FAnimated || !moved || GetTickCount() - FLastTrackTick >= 50)
        return;
    // A fling: the content goes on in the direction of the last move.
    if (FVScrollBar && FVScrollBar->Visible())
        AnimateBar(FVScrollBar, FVScrollAni, FVScrollBar->Value() - FLastDelta.Y * 7);
    if (FHScrollBar && FHScrollBar->Visible())
        AnimateBar(FHScrollBar, FHScrollAni, FHScrollBar->Value() - FLastDelta.X * 7);
}

// ---- TsgVertScrollBox and the framed boxes ----

TsgVertScrollBox::TsgVertScrollBox(TComponent* AOwner) : TsgScrollBox(AOwner) {
    SetResource(u"scrollboxstyle");
}

TsgRect TsgVertScrollBox::GetContentBounds() {
    if (Content() && ContentLayout())
        Content()->SetWidth(ContentLayout()->Width());
    return TsgScrollBox::GetContentBounds();
}

TsgFramedVertScrollBox::TsgFramedVertScrollBox(TComponent* AOwner) : TsgVertScrollBox(AOwner) {
    SetResource(u"framedscrollboxstyle");
}
