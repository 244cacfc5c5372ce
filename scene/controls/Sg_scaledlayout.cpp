#include "scene/controls/Sg_scaledlayout.h"

#include "scene/core/Sg_scene_iscene.h"

DBI_PUBLISH(TsgScaledLayout) {
    using S = TsgScaledLayout;
    p.Float("OriginalWidth", &S::OriginalWidth, &S::SetOriginalWidth).NoDefault();
    p.Float("OriginalHeight", &S::OriginalHeight, &S::SetOriginalHeight).NoDefault();
}

TsgScaledLayout::TsgScaledLayout(TComponent* AOwner)
    : TsgVisualObject(AOwner), FOriginalWidth(Width()), FOriginalHeight(Height()) {}

bool TsgScaledLayout::Designing() {
    IsgScene* scene = Scene();
    return scene && scene->GetDesignTime();
}

void TsgScaledLayout::SetOriginalWidth(float Value) {
    if (Value == FOriginalWidth)
        return;
    FOriginalWidth = Value < 1 ? 1 : Value;
    RecalcAbsolute();
}

void TsgScaledLayout::SetOriginalHeight(float Value) {
    if (Value == FOriginalHeight)
        return;
    FOriginalHeight = Value < 1 ? 1 : Value;
    RecalcAbsolute();
}

void TsgScaledLayout::SetWidth(float Value) {
    TsgVisualObject::SetWidth(Value);
    if (Designing())
        SetOriginalWidth(Width());
    else
        RecalcAbsolute();
}

void TsgScaledLayout::SetHeight(float Value) {
    TsgVisualObject::SetHeight(Value);
    if (Designing())
        SetOriginalHeight(Height());
    else
        RecalcAbsolute();
}

TsgMatrix TsgScaledLayout::GetChildrenMatrix() {
    if (Designing()) {
        SetOriginalHeight(Height());
        SetOriginalWidth(Width());
    }
    TsgMatrix m = IdentityMatrix;
    m.m11 = Width() / FOriginalWidth;
    m.m22 = Height() / FOriginalHeight;
    return m;
}

void TsgScaledLayout::Realign() {
    if (auto* hold = dynamic_cast<IsgRealignHold*>(Parent()); hold && hold->RealignHeld())
        return;
    TsgVisualObject::Realign();
    if (!Designing()) {
        RecalcAbsolute();
        RecalcUpdateRect();
    }
}

void TsgScaledLayout::Paint() {
    sgPaintLayoutFrame(this, PaintingToTarget());
    TsgVisualObject::Paint();
}
