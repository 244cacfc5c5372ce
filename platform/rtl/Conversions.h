// Numbers to text and back.
//
// Integer text: an optional sign, then decimal digits, or hexadecimal after "$", "0x" or "0X";
// leading spaces are allowed; anything else, trailing blanks included ("12 "), makes the text
// invalid, and so does a value outside the target type. StrToInt raises EConvertError for invalid
// text; the *Def forms answer the default instead.
//
// Float text is locale-free: '.' is the decimal point whatever the user's locale, with an
// optional exponent ("1.5", "-2E-3", ".5"); infinities and NaN are not numbers here.
#pragma once

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>

UnicodeString IntToStr(int64_t value);
UnicodeString UIntToStr(uint64_t value);
// Upper-case hexadecimal, at least `digits` digits.
UnicodeString IntToHex(uint64_t value, int digits);

bool TryStrToInt(const UnicodeString& text, int& value);
bool TryStrToInt64(const UnicodeString& text, int64_t& value);
int StrToInt(const UnicodeString& text);
int64_t StrToInt64(const UnicodeString& text);
int StrToIntDef(const UnicodeString& text, int defaultValue);
int64_t StrToInt64Def(const UnicodeString& text, int64_t defaultValue);

// Shortest form up to 15 significant digits: 2 -> "2", 1.5 -> "1.5", 1e20 -> "1E20",
// 0.000001 -> "1E-6".
UnicodeString FloatToStr(double value);
bool TryStrToFloat(const UnicodeString& text, double& value);
double StrToFloat(const UnicodeString& text);
double StrToFloatDef(const UnicodeString& text, double defaultValue);

// Formats with a picture such as "#,##0.#", "0.00" or "#,##0;(#,##0);zero": '0' is a digit
// always written, '#' a digit written when significant, '.' the decimal point, ',' anywhere in
// the integer part asks for thousand separators, text in quotes is copied, ';' separates the
// positive, negative and zero sections. Separators come from the settings (FormatSettings() by
// default). Halves round away from zero, as the platform does.
UnicodeString FormatFloat(const UnicodeString& picture, double value);
UnicodeString FormatFloat(const UnicodeString& picture, double value,
                          const TFormatSettings& settings);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Values outside the 64-bit range and NaN raise EInvalidOp.
int64_t Round(double value);
// Toward zero.
int64_t Trunc(double value);
