// The user's conventions for numbers, dates and times.
//
// FormatSettings() is the process-wide record that Format's %f, FormatFloat, DateTimeToStr and
// TimeToStr consult. It starts from the user's locale (LC_NUMERIC and LC_TIME of the
// environment, read without changing the C library's locale), and code or tests may assign
// it. Time and date patterns use the platform's letters: yyyy yy mm m dd d (date),
// hh h nn n ss s zzz (time), AM/PM and ampm, ':' for TimeSeparator and '/' for DateSeparator,
// text in quotes taken as it stands.
#pragma once

#include "platform/rtl/UnicodeString.h"

struct TFormatSettings {
    char16_t DecimalSeparator = u'.';
    char16_t ThousandSeparator = u',';
    char16_t DateSeparator = u'-';
    char16_t TimeSeparator = u':';
    UnicodeString ShortDateFormat = u"yyyy/mm/dd";
    UnicodeString LongTimeFormat = u"hh:nn:ss";
    UnicodeString ShortTimeFormat = u"hh:nn";
    UnicodeString TimeAMString = u"AM";
    UnicodeString TimePMString = u"PM";

    // Locale-free settings: '.' for decimals, ',' for thousands, ISO dates, 24-hour times.
    static TFormatSettings Invariant() { return TFormatSettings(); }
    // The settings of the user's locale (the environment's LC_ALL, LC_NUMERIC, LC_TIME, LANG).
    static TFormatSettings FromUserLocale();
};

// Made on first use, so code running during static initialisation sees it too.
TFormatSettings& FormatSettings();

// Sets FormatSettings().DecimalSeparator for one scope and restores it on leaving, also when an
// exception unwinds the scope.
class DecimalSeparatorScope {
public:
    explicit DecimalSeparatorScope(char16_t separator) : saved_(FormatSettings().DecimalSeparator) {
        FormatSettings().DecimalSeparator = separator;
    }
    ~DecimalSeparatorScope() { FormatSettings().DecimalSeparator = saved_; }
    DecimalSeparatorScope(const DecimalSeparatorScope&) = delete;
    DecimalSeparatorScope& operator=(const DecimalSeparatorScope&) = delete;

private:
    char16_t saved_;
};
