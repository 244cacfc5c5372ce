#include "scene/controls/Sg_controls_angle.h"

#include "scene/core/Sg_objects_text.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/rtl/Conversions.h"

#include <algorithm>
#include <cmath>

DBI_PUBLISH(TsgAngleButton) {
    using S = TsgAngleButton;
    p.Float("Value", &S::Value, &S::SetValue, 0);
    p.Float("Frequency", &S::Frequency, &S::SetFrequency, 0);
    p.Boolean("Tracking", &S::Tracking, &S::SetTracking, true);
    p.Boolean("ShowValue", &S::ShowValue, &S::SetShowValue, false);
    p.Event("OnChange", &S::GetOnChange, &S::SetOnChange);
    p.Object("BindingSource", &S::BindingSource, &S::SetBindingSource);
}

DBI_PUBLISH(TsgHudAngleButton) {
    (void)p;
}

DBI_PUBLISH(TsgAniIndicator) {
    using S = TsgAniIndicator;
    p.Boolean("Enabled", &S::Enabled, &S::SetEnabled, std::nullopt);
    p.Enumeration("Style", &S::Style, &S::SetStyle, {"sgAniIndicatorLine", "sgAniIndicatorCircle"},
                  std::nullopt);
}

// Angle button.

TsgAngleButton::TsgAngleButton(TComponent* AOwner) : TsgControl(AOwner) {
    SetWidth(30);
    SetHeight(30);
    SetAutoCapture(true);
}

void TsgAngleButton::RotateTick() {
    if (TsgObject* tick = FindResource(u"tick"); tick && tick->IsVisual())
        tick->Visual()->SetRotateAngle(-FValue);
    else
        Repaint();
}

void TsgAngleButton::UpdateTexts() {
    const UnicodeString text =
        IntToStr(static_cast<int64_t>(std::nearbyint(double(FValue)))) + UnicodeString(u"°");
    // The value under the knob shows while a drag has not reported it yet.
    if (auto* track = dynamic_cast<TsgText*>(FindResource(u"tracktext"))) {
        const bool unreported = FPressing && !FTracking;
        track->SetText(text);
        track->SetVisible(unreported);
        track->SetOpacity(unreported ? 1 : 0);
    }
    if (auto* part = dynamic_cast<TsgText*>(FindResource(u"text"))) {
        part->SetVisible(FShowValue);
        part->SetText(text);
        part->SetOpacity(FShowValue ? 1 : 0);
    }
}

void TsgAngleButton::SetValue(float Value) {
    float v = Value;
    if (FFrequency != 0)
        v = static_cast<float>(double(FFrequency) * std::nearbyint(double(v) / FFrequency));
    if (v == FValue)
        return;
    FValue = v;
    RotateTick();
    UpdateTexts();
    ToBindingObjects();
    if (OnChange && (!FPressing || FTracking))
        OnChange(this);
}

void TsgAngleButton::SetShowValue(bool Value) {
    if (Value == FShowValue)
        return;
    FShowValue = Value;
    UpdateTexts();
    Repaint();
}

void TsgAngleButton::ApplyStyle() {
    TsgControl::ApplyStyle();
    RotateTick();
    UpdateTexts();
}

void TsgAngleButton::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FPressing = true;
    FOldPos = {X, Y};
    FSaveValue = FValue;
    UpdateTexts();
}

void TsgAngleButton::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgControl::MouseMove(Shift, X, Y, Dx, Dy);
    if (!Shift.Contains(ssLeft) || !FPressing)
        return;
    const TsgVector toPointer = sgVector(X - Width() / 2, Y - Height() / 2, 0);
    SetValue(sgVectorAngle(sgVector(1, 0, 0), toPointer));
    FOldPos = {X, Y};
    UpdateTexts();
}

void TsgAngleButton::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseUp(Button, Shift, X, Y);
    if (!FPressing)
        return;
    FPressing = false;
    UpdateTexts();
    if (FValue != FSaveValue && OnChange)
        OnChange(this);
}

TsgVariant TsgAngleButton::GetData() {
    return FloatToStr(FValue);
}

void TsgAngleButton::SetData(const TsgVariant& Value) {
    if (VarIsEvent(Value)) {
        OnChange = TNotifyEvent::FromMethod(VariantToEvent(Value));
        return;
    }
    // A value that is no number leaves the knob where it is.
    try {
        SetValue(static_cast<float>(StrToFloat(Value)));
    } catch (const EConvertError&) {
    }
}

// Activity indicator.

namespace {

constexpr TsgColor kIdleColor = 0xFFBABABA;
constexpr TsgColor kHighlightColor = 0xFF000000;

} // namespace

TsgAniIndicator::TsgAniIndicator(TComponent* AOwner)
    : TsgControl(AOwner), FLayout(new TsgVisualObject(nullptr)), FAni(new TsgFloatAnimation(this)) {
    FLayout->SetAlign(vaContents);
    FLayout->SetLocked(true);
    FLayout->SetStored(false);
    FLayout->SetHitTest(false);
    AddObject(FLayout);
    FAni->SetPropertyName("RotateAngle");
    FAni->SetStartValue(0);
    FAni->SetStopValue(360);
    FAni->SetDuration(10);
    FAni->SetLoop(true);
    FAni->SetStored(false);
    FLayout->AddObject(FAni);
}

TsgAniIndicator::~TsgAniIndicator() {
    BeforeDestruction();
}

void TsgAniIndicator::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    // Outside a scene an animation would only jump to its end; the first paint starts it.
    if (FEnabled && Scene())
        FAni->Start();
    else if (!FEnabled)
        FAni->Stop();
    Repaint();
}

// An indicator enabled before it was in a scene (read from a stream) starts running here.
void TsgAniIndicator::BeforePaint() {
    TsgControl::BeforePaint();
    IsgScene* scene = Scene();
    if (FEnabled && !FAni->Running() && scene && !scene->GetDesignTime())
        FAni->Start();
}

void TsgAniIndicator::SetStyle(TsgAniIndicatorStyle Value) {
    if (Value == FStyle)
        return;
    FStyle = Value;
    Repaint();
}

float TsgAniIndicator::Highlight(int Index, int Count) const {
    const int lead = static_cast<int>(std::trunc(FLayout->RotateAngle()));
    const int place = static_cast<int>(std::trunc(double(Index) / Count * 30));
    // Written so that a negative angle still lands in 0..29.
    const int behind = ((lead - place + 30) % 30 + 30) % 30;
    return 1 - behind / 30.0f;
}

void TsgAniIndicator::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const float w = Width();
    const float h = Height();
    const float R = std::min(w, h) / 2;
    const float r = R / 3.7f;
    const float D = R - r;
    const TsgPoint c{w / 2, h / 2};
    const float opacity = Opacity();
    constexpr double kDegree = 3.14159265358979323846 / 180;
    if (FStyle == sgAniIndicatorLine) {
        canvas->Stroke()->SetStyle(sgBrushSolid);
        canvas->StrokeThickness = r / 2;
        canvas->StrokeCap = sgCapFlat;
        canvas->SetStrokeDash(sgDashSolid);
        for (int i = 0; i < 12; ++i) {
            const double a = 30.0 * i * kDegree;
            const float cx = static_cast<float>(std::cos(a)), sy = static_cast<float>(std::sin(a));
            const TsgPoint outer{c.X + cx * D, c.Y + sy * D};
            const TsgPoint inner{c.X + cx * D / 2, c.Y + sy * D / 2};
            canvas->Stroke()->SetSolidColor(kIdleColor);
            canvas->DrawLine(outer, inner, opacity);
            if (FEnabled) {
                canvas->Stroke()->SetSolidColor(kHighlightColor);
                canvas->DrawLine(outer, inner, Highlight(i, 12) * opacity);
            }
        }
    } else {
        canvas->Stroke()->SetStyle(sgBrushNone);
        canvas->Fill()->SetStyle(sgBrushSolid);
        for (int i = 0; i < 8; ++i) {
            const double a = 45.0 * i * kDegree;
            const TsgPoint centre{c.X + static_cast<float>(std::cos(a)) * D,
                                  c.Y + static_cast<float>(std::sin(a)) * D};
            const TsgRect dot{centre.X - r, centre.Y - r, centre.X + r, centre.Y + r};
            canvas->Fill()->SetSolidColor(kIdleColor);
            canvas->FillEllipse(dot, opacity);
            if (FEnabled) {
                canvas->Fill()->SetSolidColor(kHighlightColor);
                // Seven steps for eight dots: the last dot shares the first one's place.
                canvas->FillEllipse(dot, Highlight(i, 7) * opacity);
            }
        }
    }
}
