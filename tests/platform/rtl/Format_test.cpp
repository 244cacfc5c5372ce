#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace {

struct FormatCase {
    const char* name;
    std::function<UnicodeString()> format;
    const char16_t* expected;
};

const TFormatSettings kComma = [] {
    TFormatSettings s;
    s.DecimalSeparator = u',';
    s.ThousandSeparator = u' ';
    return s;
}();

const std::vector<FormatCase>& Cases() {
    static const UnicodeString wide = u"Zażółć";
    static const AnsiString narrow = "gęślą";
    static const std::vector<FormatCase> cases = {
        {"plain text", [] { return Format(u"no specifiers"); }, u"no specifiers"},
        {"percent", [] { return Format(u"100%%"); }, u"100%"},
        {"both string types", [] { return Format(u"%s/%s", wide, narrow); }, u"Zażółć/gęślą"},
        {"c string", [] { return Format(u"[%s]", "abc"); }, u"[abc]"},
        {"string width", [] { return Format(u"[%5s][%-5s]", "ab", "cd"); }, u"[   ab][cd   ]"},
        {"string precision", [] { return Format(u"[%.2s]", "abcdef"); }, u"[ab]"},
        {"zero padded dates", [] { return Format(u"%02d.%02d.%04d", 5, 11, 2011); }, u"05.11.2011"},
        {"negative zero pad", [] { return Format(u"%05d", -42); }, u"-0042"},
        {"width", [] { return Format(u"[%4d][%-4d]", 7, 7); }, u"[   7][7   ]"},
        {"int64 forms",
         [] { return Format(u"%I64d %Li %lld", INT64_C(-9000000000), INT64_C(9000000000), 1LL); },
         u"-9000000000 9000000000 1"},
        {"int64 minimum", [] { return Format(u"%d", INT64_MIN); }, u"-9223372036854775808"},
        {"unsigned of negative int", [] { return Format(u"%u", -1); }, u"4294967295"},
        {"hex upper", [] { return Format(u"%x %X", 255, 255u); }, u"FF FF"},
        {"hex eight digits", [] { return Format(u"%.8x", 1); }, u"00000001"},
        {"hex padded long", [] { return Format(u"%08lx", 0xABCDL); }, u"0000ABCD"},
        {"hex of negative 32-bit", [] { return Format(u"%x", static_cast<int32_t>(0x80004005)); },
         u"80004005"},
        {"error result message",
         [] { return Format(u"Sevenzip: Error result (%.8x) \"%s\"", 1, "S_FALSE"); },
         u"Sevenzip: Error result (00000001) \"S_FALSE\""},
        {"fixed", [] { return Format(u"%.2f", 3.14159); }, u"3.14"},
        {"fixed rounds", [] { return Format(u"%.1f|%.0f", 0.25, 2.5); }, u"0.2|2"},
        {"fixed width", [] { return Format(u"[%8.3f]", -1.5); }, u"[  -1.500]"},
        {"fixed of integer", [] { return Format(u"%.1f", 3); }, u"3.0"},
        {"fixed with locale separator", [] { return FormatWith(kComma, u"%.2f", 1.5); }, u"1,50"},
        {"number with thousands", [] { return FormatWith(kComma, u"%.1n", 1234567.25); },
         u"1 234 567,2"},
        {"general", [] { return Format(u"%g + %gi", 1.5, 1e20); }, u"1.5 + 1e+20i"},
        {"integer as text", [] { return Format(u"And other databases (%s)", 3); },
         u"And other databases (3)"},
        {"char", [] { return Format(u"%c%c", 'A', u'ż'); }, u"Aż"},
        {"star width", [] { return Format(u"[%*d]", 4, 9); }, u"[   9]"},
        {"indexed argument", [] { return Format(u"%1:s %0:s", "a", "b"); }, u"b a"},
        {"plus flag", [] { return Format(u"%+d %+d", 5, -5); }, u"+5 -5"},
        {"precision on integer", [] { return Format(u"%.3d", 7); }, u"007"},
        {"unsigned 64", [] { return Format(u"%u", UINT64_MAX); }, u"18446744073709551615"},
        {"char as number", [] { return Format(u"%d %x", 'A', 'A'); }, u"65 41"},
        {"unsigned star", [] { return Format(u"[%*s]", size_t{3}, "a"); }, u"[  a]"},
        {"left zero ignored", [] { return Format(u"[%-05d]", 7); }, u"[7    ]"},
    };
    return cases;
}

TEST(Format, FormatsEveryFormTheProgramUses) {
    for (const FormatCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.format().ToUtf8(), UnicodeString(c.expected).ToUtf8());
    }
}

TEST(Format, FixedUsesTheProcessWideDecimalSeparator) {
    DecimalSeparatorScope comma(u',');
    EXPECT_EQ(Format(u"%.2f", 2.0), UnicodeString(u"2,00"));
    {
        DecimalSeparatorScope point(u'.');
        EXPECT_EQ(Format(u"%.2f", 2.0), UnicodeString(u"2.00"));
    }
    EXPECT_EQ(Format(u"%.2f", 2.0), UnicodeString(u"2,00"));
}

TEST(Format, MismatchedOrMissingArgumentsRaiseConvertError) {
    const std::vector<std::pair<const char*, std::function<UnicodeString()>>> bad = {
        {"text for %d", [] { return Format(u"%d", "x"); }},
        {"float for %d", [] { return Format(u"%d", 1.5); }},
        {"float for %x", [] { return Format(u"%x", 1.5); }},
        {"text for %f", [] { return Format(u"%f", "1.5"); }},
        {"missing argument", [] { return Format(u"%d %d", 1); }},
        {"dangling percent", [] { return Format(u"50%"); }},
        {"unknown type", [] { return Format(u"%y", 1); }},
        {"huge width", [] { return Format(u"%999999999d", 1); }},
        {"index past the end", [] { return Format(u"%5:d", 1); }},
    };
    for (const auto& [name, call] : bad) {
        SCOPED_TRACE(name);
        EXPECT_THROW(call(), EConvertError);
    }
}

} // namespace
