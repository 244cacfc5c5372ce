#include "scene/controls/Sg_progressbar.h"

#include "platform/classes/Reader.h"
#include "platform/rtl/Conversions.h"

#include <cmath>

DBI_PUBLISH(TsgProgressBar) {
    p.Float("Min", &TsgProgressBar::Min, &TsgProgressBar::SetMin, 0);
    p.Float("Max", &TsgProgressBar::Max, &TsgProgressBar::SetMax, 0);
    p.Float("Value", &TsgProgressBar::Value, &TsgProgressBar::SetValue, 0);
    p.Enumeration("Orientation", &TsgProgressBar::Orientation, &TsgProgressBar::SetOrientation,
                  {"sgHorizontal", "sgVertical"}, std::nullopt);
}

TsgProgressBar::TsgProgressBar(TComponent* AOwner) : TsgControl(AOwner) {
    SetWidth(100);
    SetHeight(20);
    SetCanFocused(false);
}

void TsgProgressBar::ReadState(TReader& Reader) {
    // A stream leaves Max out when it equals the declared default 0; an object read from it
    // starts from that default, not from the constructor's 100.
    FMax = 0;
    TsgControl::ReadState(Reader);
}

void TsgProgressBar::SetValue(float Value) {
    if (Value == FValue || std::isnan(Value))
        return;
    FValue = Value;
    if (FValue < FMin)
        FValue = FMin;
    if (FValue > FMax)
        FValue = FMax;
    Realign();
}

void TsgProgressBar::ApplyStyle() {
    TsgControl::ApplyStyle();
    TsgObject* indicator = FindResource(FOrientation == sgVertical ? "vindicator" : "hindicator");
    if (indicator && indicator->IsVisual())
        indicator->StartTriggerAnimation(this, "IsVisible");
    Realign();
}

void TsgProgressBar::HidePart(const char* AName) {
    TsgObject* part = FindResource(AName);
    if (part && part->IsVisual())
        part->Visual()->SetVisible(false);
}

void TsgProgressBar::SizeIndicator(TsgVisualObject* ATrack, const char* AName, bool Horizontal) {
    TsgObject* part = FindResource(AName);
    if (!part || !part->IsVisual())
        return;
    TsgVisualObject* indicator = part->Visual();
    const float ratio = (FValue - FMin) / (FMax - FMin);
    const TsgRect m = ATrack->Margins()->Rect();
    const TsgRect q = indicator->Padding()->Rect();
    const float room = Horizontal ? ATrack->Width() - m.Left - m.Right - q.Left - q.Right
                                  : ATrack->Height() - m.Top - m.Bottom - q.Top - q.Bottom;
    const float size = ratio * room;
    if (!std::isfinite(size))
        return;
    if (Horizontal)
        indicator->SetWidth(size);
    else
        indicator->SetHeight(size);
    indicator->SetVisible(size > 2);
}

void TsgProgressBar::Realign() {
    if (!FDisableAlign) {
        FDisableAlign = true;
        const bool vertical = FOrientation == sgVertical;
        HidePart(vertical ? "htrack" : "vtrack");
        TsgObject* track = FindResource(vertical ? "vtrack" : "htrack");
        if (!track)
            track = FindResource("track");
        if (track && track->IsVisual() && FMax > FMin) {
            SizeIndicator(track->Visual(), vertical ? "vindicator" : "hindicator", !vertical);
            HidePart(vertical ? "hindicator" : "vindicator");
        }
        FDisableAlign = false;
    }
    TsgControl::Realign();
}

TsgVariant TsgProgressBar::GetData() {
    return FloatToStr(FValue);
}

void TsgProgressBar::SetData(const TsgVariant& Value) {
    SetValue(float(StrToFloat(Value)));
}
