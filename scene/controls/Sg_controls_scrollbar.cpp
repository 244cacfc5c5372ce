#include "scene/controls/Sg_controls_scrollbar.h"

#include "scene/core/Sg_scene_registry.h"

#include "platform/classes/Reader.h"
#include "platform/rtl/Conversions.h"

#include <cmath>

DBI_PUBLISH(TsgScrollBar) {
    p.Float("Min", &TsgScrollBar::Min, &TsgScrollBar::SetMin, 0);
    p.Float("Max", &TsgScrollBar::Max, &TsgScrollBar::SetMax, 0);
    p.Float("Value", &TsgScrollBar::Value, &TsgScrollBar::SetValue, 0);
    p.Float("ViewportSize", &TsgScrollBar::ViewportSize, &TsgScrollBar::SetViewportSize, 0);
    p.Float("SmallChange", &TsgScrollBar::SmallChange, &TsgScrollBar::SetSmallChange, 0);
    p.Enumeration("Orientation", &TsgScrollBar::Orientation, &TsgScrollBar::SetOrientation,
                  {"sgHorizontal", "sgVertical"}, std::nullopt);
    p.Event("OnChange", &TsgScrollBar::GetOnChange, &TsgScrollBar::SetOnChange);
}

DBI_PUBLISH(TsgSmallScrollBar) {}

namespace {

// The arrow buttons are the toolkit's buttons; the bar wires any of them by class, without
// depending on the button code.
bool IsButton(TsgObject* AObject) {
    for (const TClassInfo* c = &AObject->ClassInfo(); c; c = c->Parent())
        if (c->ClassName() == "TsgCustomButton")
            return true;
    return false;
}

} // namespace

TsgScrollBar::TsgScrollBar(TComponent* AOwner) : TsgControl(AOwner) {
    SetWidth(150);
    SetHeight(18);
}

TsgSmallScrollBar::TsgSmallScrollBar(TComponent* AOwner) : TsgScrollBar(AOwner) {
    SetHeight(8);
}

void TsgScrollBar::ReadState(TReader& Reader) {
    // A stream leaves out what equals the declared default (0 for Max and SmallChange), so an
    // object read from it starts from those defaults rather than from the constructor's values.
    FMax = 0;
    FSmallChange = 0;
    TsgControl::ReadState(Reader);
}

void TsgScrollBar::SetValue(float Value) {
    if (std::isnan(Value) || Value == FValue)
        return;
    FValue = Value;
    if (FValue > FMax - FViewportSize)
        FValue = FMax - FViewportSize;
    if (FValue < FMin)
        FValue = FMin;
    if (!BindingObjects().empty())
        ToBindingObjects();
    if (OnChange)
        OnChange(this);
    Realign();
}

void TsgScrollBar::SetMin(float Value) {
    if (Value == FMin)
        return;
    FMin = Value;
    if (FMin > FValue)
        SetValue(FMin);
    Realign();
}

void TsgScrollBar::SetMax(float Value) {
    if (Value == FMax)
        return;
    FMax = Value;
    if (FMax < FMin)
        FMax = FMin + 0.001f;
    if (FMax - FViewportSize < FValue)
        SetValue(FMax - FViewportSize);
    if (FMax - FMin < FViewportSize)
        FViewportSize = FMax - FMin;
    Realign();
}

void TsgScrollBar::SetViewportSize(float Value) {
    if (Value == FViewportSize)
        return;
    FViewportSize = Value;
    if (FViewportSize > FMax - FMin)
        FViewportSize = FMax - FMin;
    if (FMax - FViewportSize < FValue)
        SetValue(FMax - FViewportSize);
    Realign();
}

void TsgScrollBar::SetOrientation(TsgOrientation Value) {
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    IsgScene* scene = Scene();
    if (scene && scene->GetDesignTime() && !Loading()) {
        const float w = Width();
        SetWidth(Height());
        SetHeight(w);
    }
    Realign();
}

void TsgScrollBar::Realign() {
    if (FDisableAlign)
        return;
    FDisableAlign = true;
    Track();
    MinButton();
    MaxButton();
    FDisableAlign = false;
    TsgControl::Realign();
}

TsgCustomTrack* TsgScrollBar::WireTrack(const char* AName, TsgOrientation AOrientation) {
    auto* track = dynamic_cast<TsgCustomTrack*>(FindResource(AName));
    if (!track)
        return nullptr;
    track->StoreRange(AOrientation, FMin, FMax, FValue);
    track->SetViewportSize(FViewportSize);
    const bool shown = FOrientation == AOrientation;
    track->SetVisible(shown);
    track->OnChange = TNotifyEvent::Bind<&TsgScrollBar::TrackChanged>(this);
    track->SetCanFocused(false);
    if (shown)
        track->Realign();
    return shown ? track : nullptr;
}

TsgCustomTrack* TsgScrollBar::Track() {
    TsgCustomTrack* h = WireTrack("htrack", sgHorizontal);
    TsgCustomTrack* v = WireTrack("vtrack", sgVertical);
    return h ? h : v;
}

TsgVisualObject* TsgScrollBar::WireButton(const char* AName, TsgOrientation AOrientation,
                                          bool Plus) {
    TsgObject* part = FindResource(AName);
    if (!part || !part->IsVisual() || !IsButton(part))
        return nullptr;
    TsgVisualObject* button = part->Visual();
    button->OnClick = Plus ? TNotifyEvent::Bind<&TsgScrollBar::PlusClick>(this)
                           : TNotifyEvent::Bind<&TsgScrollBar::MinusClick>(this);
    const bool shown = FOrientation == AOrientation;
    button->SetVisible(shown);
    button->SetCanFocused(false);
    return shown ? button : nullptr;
}

TsgVisualObject* TsgScrollBar::MinButton() {
    TsgVisualObject* h = WireButton("leftbutton", sgHorizontal, false);
    TsgVisualObject* v = WireButton("topbutton", sgVertical, false);
    return h ? h : v;
}

TsgVisualObject* TsgScrollBar::MaxButton() {
    TsgVisualObject* h = WireButton("rightbutton", sgHorizontal, true);
    TsgVisualObject* v = WireButton("bottombutton", sgVertical, true);
    return h ? h : v;
}

void TsgScrollBar::TrackChanged(TObject* Sender) {
    if (auto* track = dynamic_cast<TsgCustomTrack*>(Sender))
        SetValue(track->Value());
}

void TsgScrollBar::MinusClick(TObject*) {
    SetValue(FValue - FSmallChange);
}

void TsgScrollBar::PlusClick(TObject*) {
    SetValue(FValue + FSmallChange);
}

TsgVariant TsgScrollBar::GetData() {
    return FloatToStr(FValue);
}

void TsgScrollBar::SetData(const TsgVariant& Value) {
    if (VarIsEvent(Value))
        OnChange = TNotifyEvent::FromMethod(VariantToEvent(Value));
    else
        SetValue(float(StrToFloat(Value)));
}
