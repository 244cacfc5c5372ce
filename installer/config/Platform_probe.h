// The tables the platform probe (TGeneralMod::DetectSystem) reads the running system through.
#pragma once

#include "platform/rtl/UnicodeString.h"

// Platform ids as the system's version query reports them.
constexpr int kPlatformWin9x = 1;
constexpr int kPlatformWinNt = 2;

// The installer's version code of a system: 4 (NT 4 and older), 6 (5.0), 7 (5.1), 8 (6.0),
// 9 (6.1), 10 (6.2), 11 (6.3), 12 (10.0) on the NT family; 1 (4.0), 2 or 3 (4.10, 3 when the
// service-pack text's second character is 'A') and 5 (4.90) on the 9x family; 0 otherwise.
int WindowsVersionCode(int platformId, int major, int minor, const UnicodeString& servicePack);

// The language code "lang0" to "lang19" of a Windows language id; "" for an id not in the table.
UnicodeString LanguageCodeOfLangId(int langId);

// The codes whose translations the installer offers ("lang0", "lang1", "lang2", "lang3",
// "lang5", "lang7", "lang9", "lang14"); every other code is shown in English.
bool IsSupportedLanguageCode(const UnicodeString& code);
