// The archive library's path arithmetic on arbitrary text: the first line is the origin (a
// destination folder), the rest the target (a stored item name).
#include "installer/archive/ArxFileUtils.h"
#include "installer/archive/ArxStrings.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096)
        return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t newline = text.find('\n');
    UnicodeString origin(newline == std::string::npos ? text : text.substr(0, newline));
    UnicodeString target(newline == std::string::npos ? std::string() : text.substr(newline + 1));

    UnicodeString normal = NormalizeDotSegments(target);
    UnicodeString relative = RelativePathBetween(origin, target);
    // A rooted destination and a plain relative name always give a path inside the destination.
    UnicodeString normalOrigin = NormalizeDotSegments(origin);
    if (IsRootedPath(normalOrigin) && ExtractPathDrive(normalOrigin).IsEmpty() &&
        !normal.IsEmpty() && normal[1] != u'/' && normal.Pos(u"..") == 0 && normal.Pos(u":") == 0 &&
        relative != UnicodeString(u".")) {
        UnicodeString prefix = EnsureTrailingBackslash(normalOrigin);
        if (!relative.str().starts_with(prefix.str()))
            __builtin_trap();
    }
    (void)IsRootedPath(target);
    (void)StripTrailingBackslash(target);
    (void)SplitAt(target, u"/", true);
    (void)SplitAt(target, origin, false, false);
    try {
        (void)WildcardMatch(origin, target);
    } catch (const EArxStringError&) {
    }
    return 0;
}
