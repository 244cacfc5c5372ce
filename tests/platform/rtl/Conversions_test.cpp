#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

TEST(Conversions, IntegerTextBothWays) {
    EXPECT_EQ(IntToStr(-42), UnicodeString(u"-42"));
    EXPECT_EQ(IntToStr(INT64_C(9000000000)), UnicodeString(u"9000000000"));
    EXPECT_EQ(IntToHex(0xABC, 8), UnicodeString(u"00000ABC"));
    EXPECT_EQ(IntToHex(0xABCDEF, 2), UnicodeString(u"ABCDEF"));

    struct Case {
        const char16_t* text;
        bool valid;
        int value;
    };
    const Case cases[] = {
        {u"0", true, 0},
        {u"123", true, 123},
        {u"-17", true, -17},
        {u"+5", true, 5},
        {u"  12", true, 12},
        {u"12 ", false, 0},
        {u"\t12", false, 0},
        {u"$1F", true, 31},
        {u"0x1f", true, 31},
        {u"0X10", true, 16},
        {u"-$10", true, -16},
        {u"2147483647", true, 2147483647},
        {u"-2147483648", true, INT32_MIN},
        {u"2147483648", false, 0},
        {u"", false, 0},
        {u"abc", false, 0},
        {u"12abc", false, 0},
        {u"1 2", false, 0},
        {u"0x", false, 0},
        {u"$", false, 0},
        {u"-", false, 0},
        {u"1.5", false, 0},
        {u"99999999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UnicodeString(c.text).ToUtf8());
        int value = -999;
        EXPECT_EQ(TryStrToInt(c.text, value), c.valid);
        EXPECT_EQ(StrToIntDef(c.text, -7), c.valid ? c.value : -7);
        if (c.valid)
            EXPECT_EQ(StrToInt(c.text), c.value);
        else
            EXPECT_THROW(StrToInt(c.text), EConvertError);
    }
    EXPECT_EQ(StrToInt64Def(u"-9223372036854775808", 0), INT64_MIN);
    EXPECT_EQ(StrToInt64Def(u"9223372036854775808", 3), 3);
    EXPECT_EQ(StrToInt64(u"12345678901"), INT64_C(12345678901));
}

TEST(Conversions, FloatTextIsLocaleFree) {
    // Whatever locale the process runs in, '.' stays the decimal point.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    std::setlocale(LC_NUMERIC, "pl_PL.UTF-8");
    struct Case {
        double value;
        const char16_t* text;
    };
    const Case cases[] = {
        {0, u"0"},           {2, u"2"},
        {-1.5, u"-1.5"},     {0.1, u"0.1"},
        {1e20, u"1E20"},     {123456789012345.0, u"123456789012345"},
        {1e15, u"1E15"},     {0.00001, u"0.00001"},
        {0.000001, u"1E-6"}, {-2.5e-10, u"-2.5E-10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UnicodeString(c.text).ToUtf8());
        EXPECT_EQ(FloatToStr(c.value), UnicodeString(c.text));
        EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.value);
    }
    // Fifteen digits, like the platform: more than that is noise of the binary fraction.
    EXPECT_EQ(FloatToStr(1.0 / 3), UnicodeString(u"0.333333333333333"));
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Conversions, FloatReadingAcceptsOnlyPlainDecimals) {
    struct Case {
        const char16_t* text;
        bool valid;
        double value;
    };
    const Case cases[] = {
        {u"1.5", true, 1.5},  {u" -2 ", true, -2},    {u".5", true, 0.5},   {u"5.", true, 5},
        {u"+3e2", true, 300}, {u"1E-3", true, 0.001}, {u"1e-400", true, 0}, {u"1,5", false, 0},
        {u"", false, 0},      {u".", false, 0},       {u"e5", false, 0},    {u"1e", false, 0},
        {u"inf", false, 0},   {u"nan", false, 0},     {u"0x1p3", false, 0}, {u"1e400", false, 0},
        {u"1.5x", false, 0},  {u"--1", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UnicodeString(c.text).ToUtf8());
        double value = -1;
        EXPECT_EQ(TryStrToFloat(c.text, value), c.valid);
        if (c.valid)
            EXPECT_DOUBLE_EQ(value, c.value);
        else
            EXPECT_THROW(StrToFloat(c.text), EConvertError);
        EXPECT_DOUBLE_EQ(StrToFloatDef(c.text, 7), c.valid ? c.value : 7);
    }
}

TEST(Conversions, FormatFloatWithTheUsersSeparators) {
    TFormatSettings polish;
    polish.DecimalSeparator = u',';
    polish.ThousandSeparator = u' ';
    TFormatSettings english;
    struct Case {
        const char16_t* picture;
        double value;
        const char16_t* polishText;
        const char16_t* englishText;
    };
    const Case cases[] = {
        {u"#,##0.#", 1234567.25, u"1 234 567,3", u"1,234,567.3"},
        {u"#,##0.#", 0, u"0", u"0"},
        {u"#,##0.#", 12, u"12", u"12"},
        {u"#,##0.#", -1234.5, u"-1 234,5", u"-1,234.5"},
        {u"#,##0.#", 999.96, u"1 000", u"1,000"},
        {u"0.00", 3.14159, u"3,14", u"3.14"},
        {u"#.##", 0.5, u",5", u".5"},
        {u"0000", 42, u"0042", u"0042"},
        {u"#,##0 MB", 2048, u"2 048 MB", u"2,048 MB"},
        {u"0.0;(0.0);zero", -2, u"(2,0)", u"(2.0)"},
        {u"0.0;(0.0);zero", 0, u"zero", u"zero"},
        {u"'x'0", 5, u"x5", u"x5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UnicodeString(c.picture).ToUtf8());
        EXPECT_EQ(FormatFloat(c.picture, c.value, polish).ToUtf8(),
                  UnicodeString(c.polishText).ToUtf8());
        EXPECT_EQ(FormatFloat(c.picture, c.value, english).ToUtf8(),
                  UnicodeString(c.englishText).ToUtf8());
    }
}

TEST(Conversions, RoundHalvesToEvenAndTruncTowardZero) {
    struct Case {
        double value;
        int64_t rounded, truncated;
    };
    const Case cases[] = {
        {2.5, 2, 2},     {3.5, 4, 3},
        {-2.5, -2, -2},  {-3.5, -4, -3},
        {0.5, 0, 0},     {1.49, 1, 1},
        {-1.51, -2, -1}, {2.6, 3, 2},
        {-0.4, 0, 0},    {9007199254740993.0, 9007199254740992, 9007199254740992},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Round(c.value), c.rounded);
        EXPECT_EQ(Trunc(c.value), c.truncated);
    }
    EXPECT_THROW(Round(std::numeric_limits<double>::quiet_NaN()), EInvalidOp);
    EXPECT_THROW(Trunc(1e300), EInvalidOp);
    EXPECT_THROW(Round(-1e19), EInvalidOp);
}

} // namespace
