#include "platform/rtl/FormatSettings.h"

#include <langinfo.h>
#include <locale.h>

#include <initializer_list>
#include <string>

namespace {

// A separator of the locale as one UTF-16 unit; multi-unit or empty separators (some locales
// use a narrow no-break space written as three UTF-8 bytes) keep the fallback when they do not
// fit one unit.
char16_t SingleUnit(const char* utf8, char16_t fallback) {
    if (!utf8)
        return fallback;
    std::u16string units = Utf8ToUtf16(utf8);
    return units.size() == 1 ? units[0] : fallback;
}

struct StrftimeWord {
    char letter;
    const char16_t* replacement;
};

// Turns a strftime pattern into the platform's letters; conversions outside `words` vanish.
UnicodeString FromStrftime(const std::string& pattern, std::initializer_list<StrftimeWord> words) {
    std::u16string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c != '%' || i + 1 == pattern.size()) {
            out += static_cast<char16_t>(static_cast<unsigned char>(c));
            continue;
        }
        char letter = pattern[++i];
        for (const StrftimeWord& word : words)
            if (word.letter == letter)
                out += word.replacement;
    }
    return UnicodeString(out);
}

UnicodeString TimePatternFromStrftime(const std::string& pattern) {
    return FromStrftime(pattern, {{'H', u"hh"},
                                  {'k', u"h"},
                                  {'I', u"hh"},
                                  {'l', u"h"},
                                  {'M', u"nn"},
                                  {'S', u"ss"},
                                  {'p', u"AMPM"},
                                  {'P', u"AMPM"},
                                  {'T', u"hh:nn:ss"},
                                  {'R', u"hh:nn"},
                                  {'r', u"hh:nn:ss AMPM"}});
}

UnicodeString DatePatternFromStrftime(const std::string& pattern) {
    return FromStrftime(pattern, {{'d', u"dd"},
                                  {'e', u"d"},
                                  {'m', u"mm"},
                                  {'Y', u"yyyy"},
                                  {'y', u"yy"},
                                  {'F', u"yyyy-mm-dd"},
                                  {'D', u"mm/dd/yy"}});
}

} // namespace

TFormatSettings TFormatSettings::FromUserLocale() {
    TFormatSettings settings;
    locale_t user = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (!user)
        return settings;
    settings.DecimalSeparator = SingleUnit(nl_langinfo_l(RADIXCHAR, user), u'.');
    const char* thousands = nl_langinfo_l(THOUSEP, user);
    // The C locale has no thousands separator; ',' keeps "#,##0" readable there.
    settings.ThousandSeparator = thousands && *thousands
                                     ? SingleUnit(thousands, u' ')
                                     : (settings.DecimalSeparator == u',' ? u' ' : u',');
    if (const char* timeFormat = nl_langinfo_l(T_FMT, user); timeFormat && *timeFormat)
        settings.LongTimeFormat = TimePatternFromStrftime(timeFormat);
    if (const char* dateFormat = nl_langinfo_l(D_FMT, user); dateFormat && *dateFormat)
        settings.ShortDateFormat = DatePatternFromStrftime(dateFormat);
    if (const char* am = nl_langinfo_l(AM_STR, user); am && *am)
        settings.TimeAMString = UnicodeString(am);
    if (const char* pm = nl_langinfo_l(PM_STR, user); pm && *pm)
        settings.TimePMString = UnicodeString(pm);
    // Separators are written literally in the converted patterns; keep the record's fields
    // neutral so ':' and '/' in a pattern mean exactly what the locale wrote.
    settings.TimeSeparator = u':';
    settings.DateSeparator = u'/';
    freelocale(user);
    return settings;
}

TFormatSettings& FormatSettings() {
    static TFormatSettings settings = TFormatSettings::FromUserLocale();
    return settings;
}
