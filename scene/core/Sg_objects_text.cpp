#include "scene/core/Sg_objects_text.h"

DBI_PUBLISH(TsgText) {
    p.Boolean("AutoSize", &TsgText::AutoSize, &TsgText::SetAutoSize, false);
    p.String("Text", &TsgText::Text, &TsgText::SetText);
}

TsgText::TsgText(TComponent* AOwner) : TComponent(AOwner) {}

void TsgText::SetText(const UnicodeString& Value) {
    if (Value == FText)
        return;
    FText = Value;
    FUpdateEffects = true;
    if (FAutoSize)
        AdjustSize();
    Repaint();
}

void TsgText::SetAutoSize(bool Value) {
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    AdjustSize();
}
