#include "scene/controls/Sg_controls_track.h"

#include "scene/core/Sg_scene_registry.h"

#include "platform/rtl/Conversions.h"
#include "platform/ui/Input.h"
#include "platform/ui/Timer.h"

#include <cmath>

namespace {

template <class T>
void PublishTrackRange(TPublisher<T>& p) {
    p.Float("Min", &T::Min, &T::SetMin).NoDefault();
    p.Float("Max", &T::Max, &T::SetMax).NoDefault();
    p.Float("Value", &T::Value, &T::SetValue).NoDefault();
}

template <class T>
void PublishTrackRest(TPublisher<T>& p) {
    p.Float("Frequency", &T::Frequency, &T::SetFrequency).NoDefault();
    p.Enumeration("Orientation", &T::Orientation, &T::SetOrientation,
                  {"sgHorizontal", "sgVertical"}, std::nullopt);
    p.Boolean("Tracking", &T::Tracking, &T::SetTracking, std::nullopt);
    p.Event("OnChange", &T::GetOnChange, &T::SetOnChange);
}

} // namespace

DBI_PUBLISH(TsgCustomTrack) {}

DBI_PUBLISH(TsgTrack) {
    PublishTrackRange(p);
    p.Float("ViewportSize", &TsgTrack::ViewportSize, &TsgTrack::SetViewportSize).NoDefault();
    PublishTrackRest(p);
}

DBI_PUBLISH(TsgTrackBar) {
    PublishTrackRange(p);
    PublishTrackRest(p);
    p.Integer("TimerInterval", &TsgTrackBar::TimerInterval, &TsgTrackBar::SetTimerInterval, 0);
    p.Boolean("CanFocused", &TsgTrackBar::CanFocused, &TsgTrackBar::SetCanFocused, true);
    p.Boolean("DisableFocusEffect", &TsgTrackBar::DisableFocusEffect,
              &TsgTrackBar::SetDisableFocusEffect, false);
    p.Integer("TabOrder", &TsgTrackBar::TabOrder, &TsgTrackBar::SetTabOrder, -1);
}

TsgCustomTrack::TsgCustomTrack(TComponent* AOwner) : TsgControl(AOwner) {
    SetWidth(100);
    SetHeight(15);
}

TsgCustomTrack::~TsgCustomTrack() {
    // The timer is owned as a component; stop it first so no tick reaches a half-freed track.
    if (FTimer)
        FTimer->SetEnabled(false);
}

TsgTrack::TsgTrack(TComponent* AOwner) : TsgCustomTrack(AOwner) {}

TsgTrackBar::TsgTrackBar(TComponent* AOwner) : TsgCustomTrack(AOwner) {
    SetCanFocused(true);
}

void TsgCustomTrack::SetMin(float Value) {
    if (Value == FMin)
        return;
    FMin = Value;
    Realign();
}

void TsgCustomTrack::SetMax(float Value) {
    if (Value == FMax)
        return;
    FMax = Value;
    if (FMax < FMin)
        FMax = FMin + 0.001f;
    if (FMax - FMin < FViewportSize)
        FViewportSize = FMax - FMin;
    if (FMax - FViewportSize < FValue)
        FValue = FMax - FViewportSize;
    Realign();
}

void TsgCustomTrack::SetViewportSize(float Value) {
    if (Value == FViewportSize)
        return;
    FViewportSize = Value;
    if (FViewportSize > FMax - FMin)
        FViewportSize = FMax - FMin;
    if (FMax - FViewportSize < FValue)
        SetValue(FMax - FViewportSize);
    Realign();
}

void TsgCustomTrack::SetOrientation(TsgOrientation Value) {
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    Realign();
}

void TsgCustomTrack::SetFrequency(float Value) {
    if (Value == FFrequency)
        return;
    FFrequency = Value;
    if (FFrequency != 0)
        SetValue(FValue);
}

void TsgCustomTrack::SetValue(float Value) {
    // A value that is no number would leave the thumb nowhere; the track keeps its old one.
    if (std::isnan(Value))
        return;
    if (FFrequency != 0) {
        const double steps = double(Value) / FFrequency;
        if (std::isfinite(steps) && std::fabs(steps) < 9e18)
            Value = float(double(Round(steps)) * FFrequency);
    }
    if (Value == FValue)
        return;
    FValue = Value;
    if (FValue > FMax - FViewportSize)
        FValue = FMax - FViewportSize;
    if (FValue < FMin)
        FValue = FMin;
    const bool dragging = IsTracking();
    if (dragging && OnTracking)
        OnTracking(this);
    if (FTracking && !BindingObjects().empty())
        ToBindingObjects();
    if (OnChange && (!dragging || FTracking))
        NotifyChange();
    Realign();
}

void TsgCustomTrack::StoreRange(TsgOrientation AOrientation, float AMin, float AMax, float AValue) {
    FOrientation = AOrientation;
    FMin = AMin;
    FMax = AMax;
    FValue = AValue;
}

void TsgCustomTrack::SetTimerInterval(uint32_t Value) {
    FTimerInterval = Value;
    if (Value > 0) {
        if (!FTimer) {
            FTimer = new TTimer(this);
            FTimer->SetEnabled(false);
            FTimer->SetOnTimer([this](TTimer&) { TimerTrack(); });
        }
        FTimer->SetInterval(Value);
        FDelayed = true;
    } else {
        FDelayed = false;
    }
}

void TsgCustomTrack::NotifyChange() {
    if (FDelayed)
        DoTimerTrack(this);
    else
        DoTrack(this);
}

void TsgCustomTrack::DoTrack(TObject* Sender) {
    if (OnChange)
        OnChange(Sender);
}

void TsgCustomTrack::DoTimerTrack(TObject*) {
    // Disabling first makes the count start again from this change.
    FTimer->SetEnabled(false);
    FTimer->SetEnabled(true);
}

void TsgCustomTrack::TimerTrack() {
    FTimer->SetEnabled(false);
    if (OnChange)
        OnChange(this);
}

void TsgCustomTrack::ReportDragEnd() {
    if (!BindingObjects().empty())
        ToBindingObjects();
    if (OnChange)
        NotifyChange();
}

bool TsgCustomTrack::IsTracking() {
    TsgThumb* thumb = Thumb();
    return thumb && thumb->FPressed;
}

TsgThumb* TsgCustomTrack::Thumb() {
    auto* thumb = dynamic_cast<TsgThumb*>(FindResource("thumb"));
    if (thumb)
        thumb->FTrack = this;
    return thumb;
}

float TsgCustomTrack::Length() {
    return FOrientation == sgHorizontal ? Width() : Height();
}

bool TsgCustomTrack::ValueAt(float Along, float& AValue) {
    const float length = Length();
    if (!(length > 0))
        return false;
    AValue = FMin + Along / length * (FMax - FMin);
    return std::isfinite(AValue);
}

TsgRect TsgCustomTrack::GetThumbRect() {
    TsgRect r = LocalRect();
    const float d = FMax - FMin;
    if (d > 0) {
        const float w = Width(), h = Height();
        if (FOrientation == sgHorizontal) {
            r = {0, 0, FViewportSize / d * w, h};
            const float shift = float(Round((FValue - FMin) / d * w));
            r.Left += shift;
            r.Right += shift;
            if (r.Right - r.Left < h) {
                const float left = r.Left;
                r.Left = left - 7;
                r.Right = left + 7;
            }
            if (r.Right > w) {
                r.Left -= r.Right - w;
                r.Right = w;
            }
            if (r.Left < 0) {
                r.Right -= r.Left;
                r.Left = 0;
            }
        } else {
            r = {0, 0, w, FViewportSize / d * h};
            if (r.Bottom - r.Top < w) {
                const float top = r.Top;
                const float half = float(Trunc(w / 2));
                r.Top = top - half;
                r.Bottom = top + half;
            }
            const float shift = float(Round((FValue - FMin) / d * h));
            r.Top += shift;
            r.Bottom += shift;
            if (r.Bottom > h) {
                r.Top -= r.Bottom - h;
                r.Bottom = h;
            }
            if (r.Top < 0) {
                r.Bottom -= r.Top;
                r.Top = 0;
            }
        }
    }
    TsgThumb* thumb = Thumb();
    if (thumb && thumb->Parent() && thumb->Parent()->IsVisual()) {
        const TsgRect m = thumb->Parent()->Visual()->Margins()->Rect();
        const TsgRect q = thumb->Padding()->Rect();
        if (r.Right - r.Left > m.Left + q.Left + m.Right + q.Right) {
            r.Left += m.Left + q.Left;
            r.Right -= m.Right + q.Right;
        }
        r.Top += m.Top + q.Top;
        r.Bottom -= m.Bottom + q.Bottom;
    }
    return r;
}

void TsgCustomTrack::Realign() {
    TsgControl::Realign();
    TsgThumb* thumb = Thumb();
    if (!thumb)
        return;
    const TsgRect r = GetThumbRect();
    // A track of no size yet, or a range that is no number, gives nothing to place.
    if (!std::isfinite(r.Left) || !std::isfinite(r.Top) || !std::isfinite(r.Right) ||
        !std::isfinite(r.Bottom))
        return;
    thumb->Position()->SetPoint(r.TopLeft());
    const float w = r.Right - r.Left, h = r.Bottom - r.Top;
    if (std::fabs(w) < 1e9f && Round(w) > 0)
        thumb->SetWidth(float(Round(w)));
    if (std::fabs(h) < 1e9f && Round(h) > 0)
        thumb->SetHeight(float(Round(h)));
}

void TsgCustomTrack::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    if (!FMouseDownBlocked) {
        float point = 0;
        if (ValueAt(FOrientation == sgHorizontal ? X : Y, point)) {
            if (FViewportSize == 0)
                SetValue(point);
            else if (point > FValue)
                SetValue(FValue + FViewportSize);
            else
                SetValue(FValue - FViewportSize);
        }
        TsgThumb* thumb = Thumb();
        if (thumb && thumb->Parent() && thumb->Parent()->IsVisual()) {
            // The thumb continues the drag from here; it measures the grabbed point in its own
            // coordinates, so the page just taken is not undone by the first move.
            const TsgPoint local = thumb->AbsoluteToLocal(LocalToAbsolute({X, Y}));
            thumb->MouseDown(Button, Shift, local.X, local.Y);
        }
    }
    FMouseDownBlocked = false;
}

void TsgCustomTrack::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    TsgControl::KeyDown(Key, KeyChar, Shift);
    const float step = FFrequency != 0 ? FFrequency : 1;
    switch (Key) {
    case VK_END:
        SetValue(FMax);
        break;
    case VK_HOME:
        SetValue(FMin);
        break;
    case VK_LEFT:
    case VK_UP:
        SetValue(FValue - step);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        SetValue(FValue + step);
        break;
    default:
        return;
    }
    // SetValue has told every change already (no drag is in progress during a key): a key
    // reports once, and a key that changes nothing reports nothing.
    Key = 0;
}

TsgVariant TsgCustomTrack::GetData() {
    return FloatToStr(FValue);
}

void TsgCustomTrack::SetData(const TsgVariant& Value) {
    if (VarIsEvent(Value))
        OnChange = TNotifyEvent::FromMethod(VariantToEvent(Value));
    else
        SetValue(float(StrToFloat(Value)));
}
