#include "platform/rtl/StringUtils.h"

#include <gtest/gtest.h>

TEST(StringUtils, CaseInsensitiveComparisonIsUnicodeAware) {
    struct Case {
        const char16_t* a;
        const char16_t* b;
        int order; // sign of CompareText
    };
    const Case cases[] = {
        {u"abc", u"ABC", 0},
        {u"Zażółć", u"ZAŻÓŁĆ", 0},
        {u"a", u"b", -1},
        {u"B", u"a", 1},
        {u"ab", u"abc", -1},
        {u"", u"", 0},
        // Upper-case forms are compared, so '_' (0x5F) sorts after 'a' (as 'A', 0x41).
        {u"_", u"a", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UnicodeString(c.a).ToUtf8() + " vs " + UnicodeString(c.b).ToUtf8());
        int order = CompareText(c.a, c.b);
        EXPECT_EQ((order > 0) - (order < 0), c.order);
        EXPECT_EQ(SameText(UnicodeString(c.a), UnicodeString(c.b)), c.order == 0);
    }
    EXPECT_TRUE(SameText(AnsiString("Żółw"), AnsiString("żÓŁW")));
    EXPECT_LT(CompareStr(u"B", u"a"), 0);
}

TEST(StringUtils, ReplaceQuoteAndSearch) {
    EXPECT_EQ(StringReplace(u"a-b-c", u"-", u"+", 0), UnicodeString(u"a+b-c"));
    EXPECT_EQ(StringReplace(u"a-b-c", u"-", u"+", rfReplaceAll), UnicodeString(u"a+b+c"));
    EXPECT_EQ(StringReplace(u"xAx", u"a", u"bb", rfReplaceAll | rfIgnoreCase),
              UnicodeString(u"xbbx"));
    EXPECT_EQ(StringReplace(u"aaa", u"", u"b", rfReplaceAll), UnicodeString(u"aaa"));
    EXPECT_EQ(QuotedStr(u"it's"), UnicodeString(u"'it''s'"));
    EXPECT_EQ(Pos(UnicodeString(u"c"), UnicodeString(u"abc")), 3);
    EXPECT_EQ(Pos(AnsiString("z"), AnsiString("abc")), 0);
    EXPECT_EQ(Trim(UnicodeString(u"\t x \r\n")), UnicodeString(u"x"));
    EXPECT_EQ(UpperCase(UnicodeString(u"źdźbło")), UnicodeString(u"ŹDŹBŁO"));
}
