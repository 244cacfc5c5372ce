#include "platform/rtl/UnicodeString.h"

#include <gtest/gtest.h>

TEST(UnicodeString, IndexingIsOneBased) {
    UnicodeString s(u"abcdef");
    EXPECT_EQ(s[1], u'a');
    EXPECT_EQ(s.Length(), 6);
    EXPECT_EQ(s.SubString(2, 3), UnicodeString(u"bcd"));
    EXPECT_EQ(s.SubString(5, 100), UnicodeString(u"ef"));
    EXPECT_EQ(s.SubString(0, 2), UnicodeString(u"ab"));
    EXPECT_TRUE(s.SubString(7, 1).IsEmpty());
    EXPECT_TRUE(s.SubString(3, 0).IsEmpty());
    EXPECT_EQ(s.Pos(u"cd"), 3);
    EXPECT_EQ(s.Pos(u"x"), 0);
    EXPECT_EQ(s.Pos(u""), 0);
    EXPECT_EQ(UnicodeString(u"/a/b/c.txt").LastDelimiter(u"/\\"), 5);
    EXPECT_EQ(UnicodeString(u"abc").LastDelimiter(u"/"), 0);
}

TEST(UnicodeString, DeleteAndInsertClampLikeThePlatform) {
    UnicodeString s(u"abcdef");
    s.Delete(2, 2);
    EXPECT_EQ(s, UnicodeString(u"adef"));
    s.Delete(10, 1);
    EXPECT_EQ(s, UnicodeString(u"adef"));
    s.Delete(3, 100);
    EXPECT_EQ(s, UnicodeString(u"ad"));
    s.Insert(u"XY", 2);
    EXPECT_EQ(s, UnicodeString(u"aXYd"));
    s.Insert(u"!", 99);
    EXPECT_EQ(s, UnicodeString(u"aXYd!"));
}

TEST(UnicodeString, Utf8RoundTripIsLossless) {
    const std::u16string cases[] = {u"",
                                    u"plain",
                                    u"Zażółć gęślą jaźń",
                                    u"Привет",
                                    u"\U0001F600 outside the plane",
                                    std::u16string(1, char16_t(0xD800)) + u"lone high",
                                    u"lone low" + std::u16string(1, 0xDFFF),
                                    std::u16string(1, u'\0') + u"embedded nul"};
    for (const auto& text : cases) {
        std::string utf8 = Utf16ToUtf8(text);
        EXPECT_EQ(Utf8ToUtf16(utf8), text);
        EXPECT_EQ(UnicodeString(AnsiString(UnicodeString(text))).str(), text);
    }
    EXPECT_EQ(UnicodeString("Łódź").ToUtf8(), "Łódź");
}

TEST(UnicodeString, MalformedUtf8BecomesReplacementCharacters) {
    struct Case {
        std::string in;
        std::u16string out;
    } cases[] = {
        {"a\xFF"
         "b",
         u"a\uFFFDb"},
        {"\xC3", u"\uFFFD"},                               // truncated two-byte form
        {"\xE2\x82", u"\uFFFD\uFFFD"},                     // truncated three-byte form
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // overlong slash
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
        {"\xE2\x28\xA1", u"\uFFFD(\uFFFD"},                // bad continuation byte
        {"\xFF\x80\x80", u"\uFFFD\uFFFD\uFFFD"},           // no lead byte above F4
        {"\xF7\x9F\x80", u"\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8ToUtf16(c.in), c.out) << c.in;
}

TEST(UnicodeString, CaseMappingIsUnicodeAware) {
    EXPECT_EQ(UnicodeString(u"Zażółć Ĳ abc").UpperCase(), UnicodeString(u"ZAŻÓŁĆ Ĳ ABC"));
    EXPECT_EQ(UnicodeString(u"ŁÓDŹ ПРИВЕТ").LowerCase(), UnicodeString(u"łódź привет"));
    EXPECT_EQ(AnsiString("gęś").UpperCase(), AnsiString("GĘŚ"));
}

TEST(UnicodeString, TrimDropsEverythingUpToSpace) {
    EXPECT_EQ(UnicodeString(u"\t\r\n  a b \x01").Trim(), UnicodeString(u"a b"));
    EXPECT_EQ(UnicodeString(u"  a ").TrimLeft(), UnicodeString(u"a "));
    EXPECT_EQ(UnicodeString(u"  a ").TrimRight(), UnicodeString(u"  a"));
    EXPECT_EQ(AnsiString(" \x1F x \t").Trim(), AnsiString("x"));
    EXPECT_TRUE(UnicodeString(u"   ").Trim().IsEmpty());
}
