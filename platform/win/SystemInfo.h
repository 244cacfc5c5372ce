// Facts about the system the callers ask of their platform: its version and the user's
// language, in the platform's own terms.
#pragma once

#include <string>

namespace win {

inline constexpr int kPlatformIdWin32s = 0;
inline constexpr int kPlatformIdWin9x = 1;
inline constexpr int kPlatformIdWinNt = 2;

struct SystemVersion {
    int platformId = kPlatformIdWinNt;
    int major = 10;
    int minor = 0;
    unsigned build = 19045;
    std::string servicePack; // e.g. " A" on the second 9x release
};

// A fixed modern version (NT family 10.0, build 19045) unless DBI_WINDOWS_VERSION gives
// another, as "[NT|9X|WIN32S] major.minor[.build] [service-pack text]", e.g. "6.1.7601",
// "9X 4.10.2222 A". A value that does not read this way is ignored with a note on standard
// error.
SystemVersion GetSystemVersion();
// Reads a DBI_WINDOWS_VERSION text; false when it is malformed.
bool ParseSystemVersion(const std::string& text, SystemVersion& version);

// The user's language as a Windows language id: DBI_LANGUAGE_ID (decimal or 0x hex) when set,
// else derived from the locale (LC_ALL, LC_MESSAGES, LANG), else 1033 (English, US).
int GetUserDefaultLangID();
// The language id of a locale name such as "pl_PL.UTF-8", "de_AT", "pt_BR@x"; 0 when unknown.
int LangIdOfLocale(const std::string& locale);

} // namespace win
