// What fontconfig picks for a family name, asked directly, so that text tests can compare the
// toolkit's choice of font with the system's own.
#pragma once

#include <fontconfig/fontconfig.h>

#include <optional>
#include <string>

namespace testsupport {

// A property (FC_FAMILY, FC_FILE) of the font fontconfig picks for `family`, as text layouts
// will; none when there is no match or the match lacks it.
inline std::optional<std::string> MatchedFontProperty(const char* family, const char* property) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::optional<std::string> value;
    FcChar8* text = nullptr;
    if (match && FcPatternGetString(match, property, 0, &text) == FcResultMatch)
        value = reinterpret_cast<const char*>(text);
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return value;
}

} // namespace testsupport
