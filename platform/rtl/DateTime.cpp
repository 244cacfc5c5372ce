#include "platform/rtl/DateTime.h"

#include "platform/rtl/Exceptions.h"

#include <chrono>
#include <cmath>
#include <string>

namespace {

constexpr int kEpochShift = 25569; // days from 1899-12-30 to 1970-01-01

// Days since 1970-01-01 for a proleptic Gregorian date (H. Hinnant's civil algorithm).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Day number and milliseconds of the day of a TDateTime, rounded to the millisecond.
void Split(TDateTime value, int64_t& day, int64_t& millisecond) {
    if (!std::isfinite(value) || std::fabs(value) > 3e6)
        throw EConvertError(u"Invalid date/time value");
    double whole = std::trunc(value);
    int64_t ms = static_cast<int64_t>(std::llround(std::fabs(value - whole) * 86400000.0));
    day = static_cast<int64_t>(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        day += value < 0 ? -1 : 1;
    }
    millisecond = ms;
}

TDateTime FromParts(int64_t day, int64_t millisecond) {
    double fraction = static_cast<double>(millisecond) / 86400000.0;
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

TDateTime FromLocalTm(const std::tm& t, int millisecond) {
    int64_t day = DaysFromCivil(t.tm_year + 1900, static_cast<unsigned>(t.tm_mon + 1),
                                static_cast<unsigned>(t.tm_mday)) +
                  kEpochShift;
    int64_t ms = ((t.tm_hour * 60 + t.tm_min) * 60 + std::min(t.tm_sec, 59)) * 1000LL + millisecond;
    return FromParts(day, ms);
}

std::u16string TwoDigits(int value) {
    std::u16string s;
    s += static_cast<char16_t>(u'0' + value / 10 % 10);
    s += static_cast<char16_t>(u'0' + value % 10);
    return s;
}

std::u16string Number(int64_t value, size_t minimum) {
    std::string s = std::to_string(value);
    if (s.size() < minimum)
        s.insert(0, minimum - s.size(), '0');
    return std::u16string(s.begin(), s.end());
}

bool StartsWithNoCase(const std::u16string& s, size_t at, const char16_t* word) {
    for (size_t i = 0; word[i]; ++i) {
        if (at + i >= s.size() || LowerCaseUnit(s[at + i]) != LowerCaseUnit(word[i]))
            return false;
    }
    return true;
}

// Depth guards the "c"/"t" expansions against a settings pattern that names itself.
void AppendFormatted(std::u16string& out, const std::u16string& p, TDateTime value,
                     const TFormatSettings& settings, int depth) {
    if (depth > 3)
        return;
    int64_t dayNumber, msOfDay;
    Split(value, dayNumber, msOfDay);
    int64_t year;
    unsigned month, day;
    CivilFromDays(dayNumber - kEpochShift, year, month, day);
    int hour = static_cast<int>(msOfDay / 3600000);
    int minute = static_cast<int>(msOfDay / 60000 % 60);
    int second = static_cast<int>(msOfDay / 1000 % 60);
    int millisecond = static_cast<int>(msOfDay % 1000);
    // A pattern that names AM/PM anywhere shows a 12-hour clock.
    bool twelveHour = false;
    for (size_t i = 0; i < p.size(); ++i)
        if (StartsWithNoCase(p, i, u"am/pm") || StartsWithNoCase(p, i, u"ampm") ||
            StartsWithNoCase(p, i, u"a/p"))
            twelveHour = true;
    int shownHour = twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
    bool lastWasHour = false;
    size_t i = 0;
    while (i < p.size()) {
        char16_t c = p[i];
        char16_t lower = LowerCaseUnit(c);
        size_t run = 1;
        while (i + run < p.size() && LowerCaseUnit(p[i + run]) == lower)
            ++run;
        if (c == u'"' || c == u'\'') {
            size_t close = p.find(c, i + 1);
            if (close == std::u16string::npos)
                close = p.size();
            out.append(p, i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        if (StartsWithNoCase(p, i, u"am/pm")) {
            out += hour < 12 ? u"am" : u"pm";
            if (c == u'A')
                out.replace(out.size() - 2, 2, hour < 12 ? u"AM" : u"PM");
            i += 5;
            continue;
        }
        if (StartsWithNoCase(p, i, u"ampm")) {
            out += (hour < 12 ? settings.TimeAMString : settings.TimePMString).str();
            i += 4;
            continue;
        }
        if (StartsWithNoCase(p, i, u"a/p")) {
            out += hour < 12 ? u'a' : u'p';
            i += 3;
            continue;
        }
        switch (lower) {
        case u'y':
            out += run <= 2 ? TwoDigits(static_cast<int>(year % 100)) : Number(year, 4);
            lastWasHour = false;
            break;
        case u'm':
            if (lastWasHour) {
                out += run >= 2 ? TwoDigits(minute) : Number(minute, 1);
                lastWasHour = false;
            } else {
                out += run >= 2 ? TwoDigits(static_cast<int>(month))
                                : Number(static_cast<int>(month), 1);
            }
            run = std::min<size_t>(run, 2);
            break;
        case u'd':
            if (run <= 2)
                out +=
                    run == 2 ? TwoDigits(static_cast<int>(day)) : Number(static_cast<int>(day), 1);
            else if (run >= 5)
                AppendFormatted(out, settings.ShortDateFormat.str(), value, settings, depth + 1);
            // Day names (ddd, dddd) are not used by the program and write nothing.
            run = std::min<size_t>(run, 5);
            lastWasHour = false;
            break;
        case u'h':
            out += run >= 2 ? TwoDigits(shownHour) : Number(shownHour, 1);
            run = std::min<size_t>(run, 2);
            lastWasHour = true;
            i += run;
            continue;
        case u'n':
            out += run >= 2 ? TwoDigits(minute) : Number(minute, 1);
            run = std::min<size_t>(run, 2);
            lastWasHour = false;
            break;
        case u's':
            out += run >= 2 ? TwoDigits(second) : Number(second, 1);
            run = std::min<size_t>(run, 2);
            lastWasHour = false;
            break;
        case u'z':
            out += run >= 3 ? Number(millisecond, 3) : Number(millisecond, 1);
            run = std::min<size_t>(run, 3);
            break;
        case u't':
            AppendFormatted(out,
                            (run >= 2 ? settings.LongTimeFormat : settings.ShortTimeFormat).str(),
                            value, settings, depth + 1);
            run = std::min<size_t>(run, 2);
            break;
        case u'c':
            AppendFormatted(out, settings.ShortDateFormat.str(), value, settings, depth + 1);
            if (msOfDay != 0) {
                out += u' ';
                AppendFormatted(out, settings.LongTimeFormat.str(), value, settings, depth + 1);
            }
            run = 1;
            break;
        case u':':
            out += settings.TimeSeparator;
            run = 1;
            break;
        case u'/':
            out += settings.DateSeparator;
            run = 1;
            break;
        default:
            out += c;
            run = 1;
            break;
        }
        i += run;
    }
}

} // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

TDateTime Now() {
    using namespace std::chrono;
    auto now = system_clock::now();
    time_t seconds = system_clock::to_time_t(now);
    int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    return FromLocalTm(local, ms < 0 ? 0 : ms);
}

TDateTime Date() {
    return std::trunc(Now());
}

TDateTime Time() {
    TDateTime now = Now();
    return now - std::trunc(now);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        return false;
    date = static_cast<double>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
        kEpochShift);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date))
        throw EConvertError(u"Invalid argument to date encode");
    return date;
}

void DecodeDate(TDateTime date, unsigned short& year, unsigned short& month, unsigned short& day) {
    int64_t dayNumber, ms;
    Split(date, dayNumber, ms);
    int64_t y;
    unsigned m, d;
    CivilFromDays(dayNumber - kEpochShift, y, m, d);
    year = static_cast<unsigned short>(y);
    month = static_cast<unsigned short>(m);
    day = static_cast<unsigned short>(d);
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& time) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999)
        return false;
    time = (((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / 86400000.0;
    return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    TDateTime time;
    if (!TryEncodeTime(hour, minute, second, millisecond, time))
        throw EConvertError(u"Invalid argument to time encode");
    return time;
}

void DecodeTime(TDateTime time, unsigned short& hour, unsigned short& minute,
                unsigned short& second, unsigned short& millisecond) {
    int64_t day, ms;
    Split(time, day, ms);
    hour = static_cast<unsigned short>(ms / 3600000);
    minute = static_cast<unsigned short>(ms / 60000 % 60);
    second = static_cast<unsigned short>(ms / 1000 % 60);
    millisecond = static_cast<unsigned short>(ms % 1000);
}

int DayOfWeek(TDateTime date) {
    int64_t day, ms;
    Split(date, day, ms);
    // 1899-12-30 was a Saturday.
    return static_cast<int>(((day - 1) % 7 + 7) % 7) + 1;
}

UnicodeString FormatDateTime(const UnicodeString& pattern, TDateTime value) {
    return FormatDateTime(pattern, value, FormatSettings());
}

UnicodeString FormatDateTime(const UnicodeString& pattern, TDateTime value,
                             const TFormatSettings& settings) {
    std::u16string out;
    AppendFormatted(out, pattern.IsEmpty() ? std::u16string(u"c") : pattern.str(), value, settings,
                    0);
    return UnicodeString(std::move(out));
}

UnicodeString DateTimeToStr(TDateTime value) {
    return FormatDateTime(u"c", value);
}

UnicodeString DateToStr(TDateTime value) {
    return FormatDateTime(u"ddddd", value);
}

UnicodeString TimeToStr(TDateTime value) {
    return FormatDateTime(u"tt", value);
}

TDateTime UnixTimeToDateTime(time_t seconds) {
    std::tm local{};
    localtime_r(&seconds, &local);
    return FromLocalTm(local, 0);
}

time_t DateTimeToUnixTime(TDateTime value) {
    int64_t dayNumber, ms;
    Split(value, dayNumber, ms);
    int64_t y;
    unsigned m, d;
    CivilFromDays(dayNumber - kEpochShift, y, m, d);
    std::tm local{};
    local.tm_year = static_cast<int>(y - 1900);
    local.tm_mon = static_cast<int>(m) - 1;
    local.tm_mday = static_cast<int>(d);
    local.tm_hour = static_cast<int>(ms / 3600000);
    local.tm_min = static_cast<int>(ms / 60000 % 60);
    local.tm_sec = static_cast<int>(ms / 1000 % 60);
    local.tm_isdst = -1;
    return mktime(&local);
}

int32_t DateTimeToFileDate(TDateTime value) {
    unsigned short year, month, day, hour, minute, second, ms;
    DecodeDate(value, year, month, day);
    if (year < 1980 || year > 2107)
        return -1;
    DecodeTime(value, hour, minute, second, ms);
    uint32_t packed = (uint32_t(year - 1980) << 25) | (uint32_t(month) << 21) |
                      (uint32_t(day) << 16) | (uint32_t(hour) << 11) | (uint32_t(minute) << 5) |
                      uint32_t(second / 2);
    return static_cast<int32_t>(packed);
}

TDateTime FileDateToDateTime(int32_t fileDate) {
    uint32_t packed = static_cast<uint32_t>(fileDate);
    TDateTime date, time;
    if (!TryEncodeDate(static_cast<int>((packed >> 25) + 1980), static_cast<int>(packed >> 21 & 15),
                       static_cast<int>(packed >> 16 & 31), date) ||
        !TryEncodeTime(static_cast<int>(packed >> 11 & 31), static_cast<int>(packed >> 5 & 63),
                       static_cast<int>((packed & 31) * 2), 0, time))
        throw EConvertError(u"Invalid argument to date encode");
    return date + time;
}
