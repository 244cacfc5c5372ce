// Identifier maps of integer properties: a colour, a cursor or a character set is streamed by
// name ("clBtnFace", "crHandPoint", "DEFAULT_CHARSET") when its value has one, and by number
// otherwise. Names compare without case; a value with two names is written with the first.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <span>

struct TIdentMapEntry {
    int32_t Value;
    const char* Name;
};

using TIdentMap = std::span<const TIdentMapEntry>;

bool IdentToInt(const AnsiString& ident, int32_t& value, TIdentMap map);
bool IntToIdent(int32_t value, AnsiString& ident, TIdentMap map);
