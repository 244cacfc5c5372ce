#include "scene/controls/Sg_progressbar.h"

DBI_PUBLISH(TsgProgressBar) {
    p.Float("Min", &TsgProgressBar::Min, &TsgProgressBar::SetMin, 0);
    p.Float("Max", &TsgProgressBar::Max, &TsgProgressBar::SetMax, 0);
    p.Float("Value", &TsgProgressBar::Value, &TsgProgressBar::SetValue, 0);
    p.Enumeration("Orientation", &TsgProgressBar::Orientation, &TsgProgressBar::SetOrientation,
                  {"sgHorizontal", "sgVertical"}, std::nullopt);
}

TsgProgressBar::TsgProgressBar(TComponent* AOwner) : TComponent(AOwner) {}

void TsgProgressBar::SetValue(float Value) {
    if (Value == FValue)
        return;
    FValue = Value;
    if (FValue < FMin)
        FValue = FMin;
    if (FValue > FMax)
        FValue = FMax;
    Realign();
}
