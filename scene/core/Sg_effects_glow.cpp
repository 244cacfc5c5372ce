#include "scene/core/Sg_effects.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_effects_pixels.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_geometry.h"

#include <algorithm>
#include <cmath>

DBI_PUBLISH(TsgGlowEffect) {
    using E = TsgGlowEffect;
    p.Float("Softness", &E::Softness, &E::SetSoftness);
    p.Float("Opacity", &E::Opacity, &E::SetOpacity);
    p.String("GlowColor", &E::GlowColor, &E::SetGlowColor);
}

DBI_PUBLISH(TsgInnerGlowEffect) {}

namespace {

int BlurRadius(float Softness) {
    return int(std::trunc(double(Softness) * 10 + 5));
}

} // namespace

int TsgGlowEffect::Margin() const {
    return int(std::trunc(double(FSoftness) * 23)) + 4;
}

int TsgInnerGlowEffect::Margin() const {
    return int(std::trunc(double(Softness()) * 20));
}

TsgRect TsgGlowEffect::GetRect(const TsgRect& ARect) const {
    TsgRect r = ARect;
    sgInflateRect(r, float(Margin()), float(Margin()));
    return r;
}

TsgPoint TsgGlowEffect::GetOffset() {
    return {float(Margin()), float(Margin())};
}

void TsgGlowEffect::SetSoftness(float Value) {
    Change(FSoftness, std::clamp(Value, 0.0f, 9.0f));
}

void TsgGlowEffect::SetOpacity(float Value) {
    Change(FOpacity, std::clamp(Value, 0.0f, 1.0f));
}

UnicodeString TsgGlowEffect::GlowColor() const {
    return sgColorToStr(FGlowColor);
}

void TsgGlowEffect::SetGlowColor(const UnicodeString& Value) {
    Change(FGlowColor, sgStrToColor(Value));
}

void TsgGlowEffect::ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Visual, float) {
    const TsgColor color = sgCorrectColor(FGlowColor);
    const std::vector<uint8_t> mask = Visual->CreateMask();
    if (FOpacity == 1) {
        // The transparent surroundings take the glow colour in their colour channels while
        // staying transparent, so the blur does not darken the glow's edge.
        Visual->InvertAlpha();
        Visual->FillColor(color);
        Visual->InvertAlpha();
    }
    Visual->FillColor(sgOpacity(color, FOpacity));
    Blur(Canvas, Visual, BlurRadius(FSoftness), true);
    sgRemoveCoverage(*Visual, mask, 0, 0);
    sgSettleColor(*Visual, color);
}

void TsgInnerGlowEffect::ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Visual, float) {
    const TsgColor color = sgCorrectColor(Color());
    if (Opacity() == 1)
        Visual->FillColor(color);
    Visual->InvertAlpha();
    const std::vector<uint8_t> mask = Visual->CreateMask(); // now the outside of the object
    Visual->FillColor(sgOpacity(color, Opacity()));
    Blur(Canvas, Visual, BlurRadius(Softness()), true);
    sgRemoveCoverage(*Visual, mask, 0, 0);
    sgSettleColor(*Visual, color);
}
