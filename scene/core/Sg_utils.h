// The toolkit's free utility functions: easing curves and the spline (in their own headers),
// tokenizers for colour, rectangle, trigger and property-path texts, attribute texts, 32-bit
// pixel fills and small program and file helpers. All are stateless.
#pragma once

#include "scene/core/Sg_scene_types.h"
#include "scene/core/Sg_utils_easing.h"
#include "scene/core/Sg_utils_spline.h"

#include "platform/rtl/UnicodeString.h"

#include <cstdint>

// Cuts the first token off S: characters in Stop end it and stay in S, a character in
// Separators ends it and is removed; then token and rest are trimmed of blanks and controls.
AnsiString GetToken(AnsiString& S, const AnsiString& Separators, const AnsiString& Stop = "");
UnicodeString WideGetToken(UnicodeString& S, const UnicodeString& Separators,
                           const UnicodeString& Stop = u"");
// Reads a token from the 1-based Pos without changing S; Pos ends after the separators that
// follow it (a stop character is left for the caller). No trimming.
AnsiString sgGetToken(int& Pos, const AnsiString& S, const AnsiString& Separators,
                      const AnsiString& Stop = "");
UnicodeString sgWideGetToken(int& Pos, const UnicodeString& S, const UnicodeString& Separators,
                             const UnicodeString& Stop = u"");
// "object Name: TClass" becomes "object TClass"; a line without ':' is only trimmed.
UnicodeString ClearResObjectName(const UnicodeString& S);

UnicodeString GetXmlStr(const UnicodeString& S, const UnicodeString& Tag);
UnicodeString GetAttrStr(const UnicodeString& S, const UnicodeString& Attr);
void SetAttrStr(UnicodeString& S, const UnicodeString& Attr, const UnicodeString& Value);

float MaxFloat(float X, float Y);
float MinFloat(float X, float Y);
TsgColor RandomColor();
void MoveLongword(const uint32_t* Src, uint32_t* Dst, int Count);
void FillLongword(uint32_t* Dst, int Count, uint32_t Value);
void FillAlpha(uint32_t* Dst, int Count, uint8_t Alpha);
// Fills columns X1..X2-1 of rows Y1..Y2-1 of a W x H buffer, the rectangle clipped to it.
void FillLongwordRect(uint32_t* Dst, int W, int H, int X1, int Y1, int X2, int Y2, uint32_t Value);
void ReverseBytes(uint16_t* P, int Count);
// Each UTF-16 unit as four upper-case hexadecimal digits.
UnicodeString strToNumber(const UnicodeString& S);

bool IsWin2kUp();
UnicodeString ExeName();
UnicodeString ExePath();
UnicodeString ExeFileName();
UnicodeString ExeNameWithOutExt();
UnicodeString FileNameWithOutExt(const UnicodeString& S);
bool IsFileReadOnly(const UnicodeString& FileName);
