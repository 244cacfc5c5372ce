#include "scene/core/Sg_effects.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_effects_pixels.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_geometry.h"

#include <algorithm>
#include <cmath>

DBI_PUBLISH(TsgShadowEffect) {
    using E = TsgShadowEffect;
    p.Float("Distance", &E::Distance, &E::SetDistance);
    p.Float("Direction", &E::Direction, &E::SetDirection);
    p.Float("Softness", &E::Softness, &E::SetSoftness);
    p.Float("Opacity", &E::Opacity, &E::SetOpacity);
    p.String("ShadowColor", &E::ShadowColor, &E::SetShadowColor);
}

int TsgShadowEffect::Margin() const {
    return int(std::trunc(double(FSoftness) * 20));
}

TsgRect TsgShadowEffect::GetRect(const TsgRect& ARect) const {
    TsgRect r = ARect;
    const float s = float(Margin());
    sgInflateRect(r, s, s);
    const double a = double(FDirection) * M_PI / 180;
    sgOffsetRect(r, float(FDistance * std::cos(a)), float(FDistance * std::sin(a)));
    return r;
}

TsgPoint TsgShadowEffect::GetOffset() {
    return {float(Margin()), float(Margin())};
}

void TsgShadowEffect::SetSoftness(float Value) {
    Change(FSoftness, std::clamp(Value, 0.0f, 3.0f));
}

void TsgShadowEffect::SetOpacity(float Value) {
    Change(FOpacity, std::clamp(Value, 0.0f, 1.0f));
}

UnicodeString TsgShadowEffect::ShadowColor() const {
    return sgColorToStr(FShadowColor);
}

void TsgShadowEffect::SetShadowColor(const UnicodeString& Value) {
    Change(FShadowColor, sgStrToColor(Value));
}

void TsgShadowEffect::ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Visual, float Data) {
    const std::vector<uint8_t> mask = Visual->CreateMask();
    Visual->FillColor(sgOpacity(sgCorrectColor(FShadowColor), FOpacity));
    Blur(Canvas, Visual, int(std::trunc(double(FSoftness) * 10 + 5)), true);
    // The shadow goes where the object itself will not stand.
    const double a = double(FDirection) * M_PI / 180;
    const double px = double(Data) * FDistance * std::cos(a);
    const double py = double(Data) * FDistance * std::sin(a);
    sgRemoveCoverage(*Visual, mask, -int(std::nearbyint(px)), -int(std::nearbyint(py)));
}
