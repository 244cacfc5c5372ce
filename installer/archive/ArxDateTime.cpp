#include "installer/archive/ArxDateTime.h"

#include <cmath>
#include <ctime>

sevenzip::FILETIME DateTimeToFileTime(TDateTime localValue) {
    constexpr int64_t kTicksPerSecond = 10000000;
    constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;
    double days = static_cast<double>(localValue) + 109205.0;
    double localTicks = std::nearbyint(days * 864000000000.0);
    if (!std::isfinite(localTicks) || localTicks < 0 || localTicks > 9.2e18)
        throw EArxDateTimeError("Error illegal date or time format");
    auto ticks = static_cast<int64_t>(localTicks);
    // The local wall-clock time, read as if it were UTC, then handed to the local-time
    // conversion to find the instant it names.
    std::time_t wall = static_cast<std::time_t>(ticks / kTicksPerSecond - kSecondsFrom1601To1970);
    std::tm parts{};
    if (!gmtime_r(&wall, &parts))
        throw EArxDateTimeError("Error illegal date or time format");
    parts.tm_isdst = -1;
    std::time_t utc = std::mktime(&parts);
    if (utc == static_cast<std::time_t>(-1) && wall != static_cast<std::time_t>(-1))
        throw EArxDateTimeError("Error illegal date or time format");
    auto utcTicks = static_cast<uint64_t>((static_cast<int64_t>(utc) + kSecondsFrom1601To1970) *
                                              kTicksPerSecond +
                                          ticks % kTicksPerSecond);
    return sevenzip::FILETIME{static_cast<uint32_t>(utcTicks & 0xFFFFFFFFu),
                              static_cast<uint32_t>(utcTicks >> 32)};
}
