// Colours: assembling, premultiplying, opacity, HSL, interpolation and the colour text.
//
// Colour text is "#" and eight upper-case hexadecimal digits, alpha first ("#FFC04040"), or one
// of the 147 CSS colour keywords, compared without case.
#pragma once

#include "scene/core/Sg_scene_types.h"

#include "platform/rtl/UnicodeString.h"

#include <cstdint>

struct TsgColorIdent {
    const char* Name;  // capitalised: "Aliceblue"
    const char* Value; // colour text: "#FFF0F8FF"
};

constexpr int sgColorIdentCount = 147;
extern const TsgColorIdent sgColorIdents[sgColorIdentCount];

TsgColor sgColor(uint8_t R, uint8_t G, uint8_t B, uint8_t A);
// Every colour written into a bitmap by the effects and pickers passes through here.
TsgColor sgCorrectColor(TsgColor C);
TsgColor sgPremultyAlpha(TsgColor C);
TsgColor sgUnpremultyAlpha(TsgColor C);
TsgColor sgOpacity(TsgColor C, float Opacity);
TsgColor sgChangeHSL(TsgColor C, float dH, float dS, float dL);
TsgColor HSLtoRGB(float H, float S, float L);
void RGBtoHSL(TsgColor C, float& H, float& S, float& L);
TsgColor sgInterpolateColor(TsgColor Start, TsgColor Stop, float T);
TsgColor sgAppendColor(TsgColor C1, TsgColor C2);
TsgColor sgSubtractColor(TsgColor C1, TsgColor C2);

UnicodeString sgColorToStr(TsgColor C);
// 0 for anything that is no colour text.
TsgColor sgStrToColor(const UnicodeString& Text);
