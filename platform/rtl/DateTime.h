// Dates and times as the platform counts them.
//
// A TDateTime is a day count since 1899-12-30 00:00 (local time): the integer part is the day,
// the fraction the time of day (0.5 is noon). Before the epoch the day is negative and the
// fraction still counts forward from midnight in magnitude (-1.25 is 1899-12-29 06:00).
// DOS file times pack a local date and time into 32 bits: bits 25-31 year since 1980, 21-24
// month, 16-20 day, 11-15 hour, 5-10 minute, 0-4 seconds / 2.
#pragma once

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <ctime>

using TDateTime = double;

TDateTime Now();
TDateTime Date();
TDateTime Time();

bool TryEncodeDate(int year, int month, int day, TDateTime& date);
// Raises EConvertError for a date that does not exist (month 13, February 30, year 0).
TDateTime EncodeDate(int year, int month, int day);
void DecodeDate(TDateTime date, unsigned short& year, unsigned short& month, unsigned short& day);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& time);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeTime(TDateTime time, unsigned short& hour, unsigned short& minute,
                unsigned short& second, unsigned short& millisecond);
bool IsLeapYear(int year);
// 1 (Sunday) to 7 (Saturday).
int DayOfWeek(TDateTime date);

// Patterns as described in FormatSettings.h; "c" is short date plus long time (time left out
// at midnight), "t" the short and "tt" the long time format.
UnicodeString FormatDateTime(const UnicodeString& pattern, TDateTime value);
UnicodeString FormatDateTime(const UnicodeString& pattern, TDateTime value,
                             const TFormatSettings& settings);
UnicodeString DateTimeToStr(TDateTime value);
UnicodeString DateToStr(TDateTime value);
// The time in the user's long time format.
UnicodeString TimeToStr(TDateTime value);

// Local time conversions of POSIX times.
TDateTime UnixTimeToDateTime(time_t seconds);
time_t DateTimeToUnixTime(TDateTime value);

// DOS file times; a DOS time that is not a valid date raises EConvertError, a date before
// 1980 or after 2107 becomes -1.
int32_t DateTimeToFileDate(TDateTime value);
TDateTime FileDateToDateTime(int32_t fileDate);
