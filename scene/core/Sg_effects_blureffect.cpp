#include "scene/core/Sg_effects.h"

#include "scene/core/Sg_scene_geometry.h"

#include <algorithm>
#include <cmath>

DBI_PUBLISH(TsgBlurEffect) {
    p.Float("Softness", &TsgBlurEffect::Softness, &TsgBlurEffect::SetSoftness);
}

int TsgBlurEffect::Margin() const {
    return int(std::trunc(double(FSoftness) * 20));
}

TsgRect TsgBlurEffect::GetRect(const TsgRect& ARect) const {
    TsgRect r = ARect;
    sgInflateRect(r, float(Margin()), float(Margin()));
    return r;
}

TsgPoint TsgBlurEffect::GetOffset() {
    return {float(Margin()), float(Margin())};
}

void TsgBlurEffect::SetSoftness(float Value) {
    Change(FSoftness, std::clamp(Value, 0.0f, 9.0f));
}

void TsgBlurEffect::ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Visual, float) {
    if (FSoftness > 0)
        Blur(Canvas, Visual, int(std::trunc(double(FSoftness) * 15)), true);
}
