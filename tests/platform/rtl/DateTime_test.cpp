#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

TEST(DateTime, DaysCountFrom1899December30) {
    struct Case {
        int year, month, day;
        double serial; // from Python's date arithmetic
    };
    const Case cases[] = {
        {1899, 12, 30, 0},    {1900, 1, 1, 2},      {1970, 1, 1, 25569},  {2000, 1, 1, 36526},
        {2021, 9, 10, 44449}, {2000, 2, 29, 36585}, {1700, 3, 1, -72987}, {9999, 12, 31, 2958465},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.serial);
        EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.serial);
        unsigned short y, m, d;
        DecodeDate(c.serial, y, m, d);
        EXPECT_EQ(y, c.year);
        EXPECT_EQ(m, c.month);
        EXPECT_EQ(d, c.day);
    }
    const int invalid[][3] = {{2021, 2, 29}, {2021, 13, 1}, {2021, 0, 1}, {0, 1, 1}, {2021, 4, 31}};
    for (const auto& date : invalid) {
        TDateTime ignored;
        EXPECT_FALSE(TryEncodeDate(date[0], date[1], date[2], ignored));
        EXPECT_THROW(EncodeDate(date[0], date[1], date[2]), EConvertError);
    }
}

TEST(DateTime, TimeOfDayIsTheFraction) {
    TDateTime noon = EncodeDate(2021, 9, 10) + EncodeTime(12, 34, 56, 789);
    unsigned short h, n, s, ms;
    DecodeTime(noon, h, n, s, ms);
    EXPECT_EQ(h, 12);
    EXPECT_EQ(n, 34);
    EXPECT_EQ(s, 56);
    EXPECT_EQ(ms, 789);
    // Before the epoch the fraction still counts forward from midnight.
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(h, 6);
    unsigned short y, m, d;
    DecodeDate(-1.25, y, m, d);
    EXPECT_EQ(d, 29);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_EQ(DayOfWeek(EncodeDate(2021, 9, 10)), 6); // a Friday
}

TEST(DateTime, FormatsWithThePlatformsLetters) {
    TFormatSettings settings;
    settings.ShortDateFormat = u"dd/mm/yyyy";
    settings.DateSeparator = u'.';
    settings.LongTimeFormat = u"hh:nn:ss";
    settings.TimeSeparator = u':';
    TDateTime value = EncodeDate(2021, 9, 5) + EncodeTime(7, 3, 9, 45);
    struct Case {
        const char16_t* pattern;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"yyyy-mm-dd", u"2021-09-05"},      {u"d/m/yy", u"5.9.21"},
        {u"hh:nn:ss.zzz", u"07:03:09.045"},  {u"h:mm", u"7:03"}, // mm after an hour means minutes
        {u"hh:mm:ss AM/PM", u"07:03:09 AM"}, {u"'at' hh", u"at 07"},
        {u"c", u"05.09.2021 07:03:09"},      {u"tt", u"07:03:09"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UnicodeString(c.pattern).ToUtf8());
        EXPECT_EQ(FormatDateTime(c.pattern, value, settings).ToUtf8(),
                  UnicodeString(c.expected).ToUtf8());
    }
    EXPECT_EQ(FormatDateTime(u"c", EncodeDate(2021, 9, 5), settings), UnicodeString(u"05.09.2021"));
    EXPECT_EQ(FormatDateTime(u"h AMPM", EncodeTime(15, 0, 0, 0), settings), UnicodeString(u"3 PM"));
}

TEST(DateTime, LongTimeFormatDrivesTimeToStr) {
    TFormatSettings saved = FormatSettings();
    FormatSettings().LongTimeFormat = u"hh:nn:ss";
    FormatSettings().TimeSeparator = u':';
    EXPECT_EQ(TimeToStr(EncodeTime(23, 5, 1, 0)), UnicodeString(u"23:05:01"));
    FormatSettings() = saved;
}

TEST(DateTime, DosFileTimesPackTwoSecondSteps) {
    TDateTime value = EncodeDate(2021, 9, 10) + EncodeTime(12, 34, 57, 0);
    EXPECT_EQ(DateTimeToFileDate(value), 0x532a645c); // 56 s: odd seconds round down
    EXPECT_EQ(FileDateToDateTime(0x532a645c), EncodeDate(2021, 9, 10) + EncodeTime(12, 34, 56, 0));
    EXPECT_EQ(DateTimeToFileDate(EncodeDate(1979, 12, 31)), -1);
    EXPECT_THROW(FileDateToDateTime(0), EConvertError); // month 0
}

TEST(DateTime, NowIsTheLocalClock) {
    TDateTime a = Now();
    time_t seconds = time(nullptr);
    TDateTime b = UnixTimeToDateTime(seconds);
    EXPECT_LT(std::fabs(a - b), 5.0 / 86400);
    EXPECT_EQ(Date(), std::trunc(Now()));
    EXPECT_EQ(DateTimeToUnixTime(b), seconds);
}

} // namespace

namespace {

TEST(FormatSettings, ComeFromTheUsersLocale) {
    const char* saved = std::getenv("LC_ALL");
    std::string previous = saved ? saved : "";
    setenv("LC_ALL", "C.UTF-8", 1);
    TFormatSettings settings = TFormatSettings::FromUserLocale();
    EXPECT_EQ(settings.DecimalSeparator, u'.');
    EXPECT_EQ(settings.LongTimeFormat, UnicodeString(u"hh:nn:ss"));
    EXPECT_EQ(settings.ShortDateFormat, UnicodeString(u"mm/dd/yy"));
    EXPECT_EQ(FormatDateTime(u"c", EncodeDate(2021, 9, 10) + EncodeTime(8, 5, 0, 0), settings),
              UnicodeString(u"09/10/21 08:05:00"));
    if (saved)
        setenv("LC_ALL", previous.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

} // namespace
