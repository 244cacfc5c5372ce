// Number, rectangle and point texts of component streams: always '.' as the decimal point,
// whatever the user's locale.
#pragma once

#include "scene/core/Sg_scene_types.h"

#include "platform/rtl/UnicodeString.h"

// "%.3f" when X has a fractional part ("1.500"), else the integer part ("12").
UnicodeString sgFloatToStr(float X);
// Reads "," as "."; raises EConvertError for malformed text.
float sgStrToFloat(const UnicodeString& Text);
float sgStrToFloatDef(const UnicodeString& Text, float Default);
// "(Left,Top,Right,Bottom)", each number by sgFloatToStr.
AnsiString sgRectToString(const TsgRect& R);
// (0, 0, 0, 0) when any of the four numbers is missing or malformed.
TsgRect sgStringToRect(const AnsiString& Text);
AnsiString sgPointToString(const TsgPoint& P);
TsgPoint sgStringToPoint(const AnsiString& Text);
