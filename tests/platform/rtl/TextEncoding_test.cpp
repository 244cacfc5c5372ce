#include "platform/rtl/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(TextEncoding, DetectsByMarkThenByContent) {
    struct Case {
        const char* name;
        std::string bytes;
        TTextEncoding encoding;
        const char16_t* text;
    };
    const Case cases[] = {
        {"utf-8 with mark", "\xEF\xBB\xBFZa\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87"s,
         TTextEncoding::Utf8WithBom, u"Zażółć"},
        {"utf-16le",
         "\xFF\xFE"
         "a\0\x7C\x01"s,
         TTextEncoding::Utf16LE, u"aż"},
        {"utf-16be", "\xFE\xFF\0a\x01\x7C"s, TTextEncoding::Utf16BE, u"aż"},
        {"utf-16le odd tail dropped",
         "\xFF\xFE"
         "a\0b"s,
         TTextEncoding::Utf16LE, u"a"},
        {"plain utf-8", "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87"s, TTextEncoding::Utf8, u"Zażółć"},
        {"ascii", "plain"s, TTextEncoding::Utf8, u"plain"},
        // The same word in windows-1250: not valid UTF-8.
        {"windows-1250", "Za\xBF\xF3\xB3\xE6 \x8A\x9C"s, TTextEncoding::Windows1250, u"Zażółć Šś"},
        {"undefined windows-1250 byte", "a\x81z"s, TTextEncoding::Windows1250, u"a\uFFFDz"},
        {"truncated utf-8 sequence", "a\xC5"s, TTextEncoding::Windows1250, u"aĹ"},
        {"empty", ""s, TTextEncoding::Utf8, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTextEncoding found;
        UnicodeString text = DecodeText(c.bytes, &found);
        EXPECT_EQ(found, c.encoding);
        EXPECT_EQ(text.ToUtf8(), UnicodeString(c.text).ToUtf8());
    }
}

TEST(TextEncoding, EncodesWithTheRightMark) {
    UnicodeString text(u"aż");
    EXPECT_EQ(EncodeText(text, TTextEncoding::Utf8), "a\xC5\xBC"s);
    EXPECT_EQ(EncodeText(text, TTextEncoding::Utf8WithBom), "\xEF\xBB\xBF"
                                                            "a\xC5\xBC"s);
    EXPECT_EQ(EncodeText(text, TTextEncoding::Utf16LE), "\xFF\xFE"
                                                        "a\0\x7C\x01"s);
    EXPECT_EQ(EncodeText(text, TTextEncoding::Utf16BE), "\xFE\xFF\0a\x01\x7C"s);
    EXPECT_EQ(EncodeText(u"aż€\U0001F600", TTextEncoding::Windows1250), "a\xBF\x80?"s);
    for (TTextEncoding e : {TTextEncoding::Utf8WithBom, TTextEncoding::Utf16LE,
                            TTextEncoding::Utf16BE, TTextEncoding::Windows1250}) {
        TTextEncoding found;
        EXPECT_EQ(DecodeText(EncodeText(u"Gęś", e), &found), UnicodeString(u"Gęś"));
        EXPECT_EQ(found, e);
    }
}

TEST(TextEncoding, Utf8ValidityIsStrict) {
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
    EXPECT_TRUE(IsValidUtf8("\xED\xA0\x80"));      // a lone surrogate, as the text types write it
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_FALSE(IsValidUtf8("\xFF\x80\x80")); // no lead byte above F4
}

} // namespace
