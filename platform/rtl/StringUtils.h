// Free-function forms of the text routines, for both string types.
//
// Case mapping is Unicode-aware (simple one-to-one mapping per UTF-16 unit); comparisons
// without regard to case compare the upper-case forms unit by unit, so they do not depend on
// the user's locale. Trim drops every character up to U+0020 at either end.
#pragma once

#include "platform/rtl/UnicodeString.h"

UnicodeString UpperCase(const UnicodeString& text);
UnicodeString LowerCase(const UnicodeString& text);
AnsiString UpperCase(const AnsiString& text);
AnsiString LowerCase(const AnsiString& text);

UnicodeString Trim(const UnicodeString& text);
UnicodeString TrimLeft(const UnicodeString& text);
UnicodeString TrimRight(const UnicodeString& text);
AnsiString Trim(const AnsiString& text);
AnsiString TrimLeft(const AnsiString& text);
AnsiString TrimRight(const AnsiString& text);

// Negative, zero or positive as a sorts before, equal to or after b.
int CompareStr(const UnicodeString& a, const UnicodeString& b);
int CompareText(const UnicodeString& a, const UnicodeString& b);
bool SameStr(const UnicodeString& a, const UnicodeString& b);
bool SameText(const UnicodeString& a, const UnicodeString& b);
int CompareText(const AnsiString& a, const AnsiString& b);
bool SameText(const AnsiString& a, const AnsiString& b);

// 1-based position of sub in text, 0 when absent or when sub is empty.
int Pos(const UnicodeString& sub, const UnicodeString& text);
int Pos(const AnsiString& sub, const AnsiString& text);

constexpr int rfReplaceAll = 1;
constexpr int rfIgnoreCase = 2;
// Replaces the first (or, with rfReplaceAll, every) occurrence of from; flags combine
// rfReplaceAll and rfIgnoreCase.
UnicodeString StringReplace(const UnicodeString& text, const UnicodeString& from,
                            const UnicodeString& to, int flags);

// The text in single quotes, inner quotes doubled.
UnicodeString QuotedStr(const UnicodeString& text);
// The text repeated count times.
UnicodeString StringOfChar(char16_t unit, int count);

// The value of a hexadecimal digit (0-9, a-f, A-F); -1 for any other character.
int HexDigitValue(char32_t c);
