// The translation table resource and how one of its sections fills the interface texts.
//
// The resource TxtTransl is UTF-8 text with a byte-order mark and CR LF lines, made of sections:
// a header line "[LANGn]" followed by lines "number=text". TGeneralMod::LoadTranslations reads
// it into lines and applies the section of the language in force (General_module.h).
#pragma once

#include "platform/rtl/UnicodeString.h"

class TStrings;

// The name of the translation table resource.
inline constexpr const char* kTranslationResource = "TxtTransl";

// Overwrites entries of `table` from the section "[code]" of `lines` (code compared without
// regard to case). The header counts only when at least two lines follow it; the section runs
// to the next line starting with "[" or to the end. A line "n=text" with 0 <= n < table size
// and a non-empty text stores the text (everything after the first "=", unchanged); every other
// line is skipped and entries not named keep their text. False when the section is missing,
// with the table unchanged.
bool ApplyTranslationSection(const TStrings& lines, const UnicodeString& code, TStrings& table);
