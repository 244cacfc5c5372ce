// Hand-built binary fixtures for every value tag, against the text each one converts to.
#include "TestClasses.h"

#include "platform/classes/Reader.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

// "TPF0", class TTestWidget, no name, one property V holding the value, two end-of-list marks.
std::string WrapHex(const std::string& valueHex) {
    return "54504630 0B 5454657374576964676574 00 01 56 " + valueHex + " 00 00";
}

std::string WrapText(const std::string& valueText) {
    return "object TTestWidget\n  V = " + valueText + "\nend\n";
}

struct TagCase {
    const char* name;
    const char* hex;
    const char* text;
};

const TagCase canonicalCases[] = {
    {"Int8", "02 05", "5"},
    {"Int8Negative", "02 FB", "-5"},
    {"Int16", "03 34 12", "4660"},
    {"Int32", "04 A0 86 01 00", "100000"},
    {"Int64", "13 00 00 00 00 01 00 00 00", "4294967296"},
    {"Int64Min", "13 00 00 00 00 00 00 00 80", "-9223372036854775808"},
    {"Extended", "05 00 00 00 00 00 00 00 C0 FF 3F", "1.5"},
    {"ExtendedNegative", "05 00 00 00 00 00 00 00 80 00 C0", "-2.0"},
    {"ExtendedSmall", "05 00 D0 CC CC CC CC CC CC FB 3F", "0.1"},
    {"String", "06 03 616263", "'abc'"},
    {"StringQuote", "06 04 49742773", "'It''s'"},
    {"StringControls", "06 04 610D0A62", "'a'#13#10'b'"},
    {"StringEmpty", "06 00", "''"},
    {"Ident", "07 08 7368436972636C65", "shCircle"},
    {"IdentDotted", "07 0B 466F726D2E427574746F6E", "Form.Button"},
    {"False", "08", "False"},
    {"True", "09", "True"},
    {"Binary", "0A 03000000 0102FF", "{\n    0102FF}"},
    {"BinaryEmpty", "0A 00000000", "{}"},
    {"Set", "0B 06 616B4C656674 05 616B546F70 00", "[akLeft, akTop]"},
    {"SetEmpty", "0B 00", "[]"},
    {"Nil", "0D", "nil"},
    {"Collection", "0E 01 05 5769647468 02 03 00 00", "<\n    item\n      Width = 3\n    end>"},
    {"CollectionOrder", "0E 02 07 01 00 00", "<\n    item [7]\n    end>"},
    {"CollectionEmpty", "0E 00", "<>"},
    {"Single", "0F 0000C03F", "1.5s"},
    {"Currency", "10 983A000000000000", "1.5c"},
    {"CurrencyNegative", "10 F0D8FFFFFFFFFFFF", "-1.0c"},
    {"Date", "11 0000000000000040", "2.0d"},
    {"WString", "12 02000000 7A00 0501", "'z\xC4\x85'"},
    {"WStringLoneSurrogate", "12 01000000 00D8", "#55296"},
    {"WStringPair", "12 02000000 3DD8 00DE", "'\xF0\x9F\x98\x80'"},
    {"Double", "15 0000000000000440", "2.5f"},
    {"List", "01 02 01 06 01 78 00", "(\n    1\n    'x')"},
    {"ListEmpty", "01 00", "()"},
    {"ListNested", "01 01 02 01 00 00", "(\n    (\n      1))"},
};

class CanonicalTag : public testing::TestWithParam<TagCase> {};

TEST_P(CanonicalTag, BinaryConvertsToItsTextAndBack) {
    const TagCase& c = GetParam();
    std::vector<uint8_t> binary = FromHex(WrapHex(c.hex));
    std::string text = BinaryToText(binary);
    EXPECT_EQ(text, WrapText(c.text));
    EXPECT_EQ(ToHex(TextToBinary(text)), ToHex(binary));
}

INSTANTIATE_TEST_SUITE_P(EveryTag, CanonicalTag, testing::ValuesIn(canonicalCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Tags the writer never produces read as the kind they hold.
struct OneWayCase {
    const char* name;
    const char* hex;
    const char* text;
};

const OneWayCase oneWayCases[] = {
    {"UTF8String", "14 03000000 616263", "'abc'"},
    {"LStringShort", "0C 02000000 6869", "'hi'"},
    {"WideAscii", "12 02000000 68006900", "'hi'"},
    {"Int32Small", "04 01000000", "1"},
};

TEST(ValueTags, NonCanonicalTagsReadAsTheirValue) {
    for (const auto& c : oneWayCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BinaryToText(FromHex(WrapHex(c.hex))), WrapText(c.text));
    }
}

TEST(ValueTags, LongStringsAreCutIntoPiecesAndJoinedAgain) {
    std::string value(300, 'x');
    value[70] = '\'';
    std::string hex = "0C 2C010000 " + ToHex(std::vector<uint8_t>(value.begin(), value.end()));
    std::vector<uint8_t> binary = FromHex(WrapHex(hex));
    std::string expected;
    for (size_t start = 0; start < value.size(); start += 64) {
        std::string piece = value.substr(start, 64);
        size_t quote = piece.find('\'');
        if (quote != std::string::npos)
            piece.insert(quote, "'");
        expected += (start ? " +\n    '" : "'") + piece + "'";
    }
    std::string text = BinaryToText(binary);
    EXPECT_EQ(text, WrapText(expected));
    EXPECT_EQ(ToHex(TextToBinary(text)), ToHex(binary));
}

TEST(ValueTags, IntegersGoOutWithTheSmallestTag) {
    struct {
        int64_t value;
        const char* hex;
    } cases[] = {
        {0, "0200"},
        {127, "027F"},
        {128, "038000"},
        {-32768, "030080"},
        {32768, "0400800000"},
        {2147483647, "04FFFFFF7F"},
        {2147483648, "130000008000000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::string text = WrapText(std::to_string(c.value));
        EXPECT_EQ(ToHex(TextToBinary(text)), ToHex(FromHex(WrapHex(c.hex))));
    }
}

TEST(ValueTags, TextReaderAcceptsTheUsualSpellings) {
    struct {
        const char* text;
        const char* hex;
    } cases[] = {
        {"$FF", "03 FF00"},
        {"#65#$42'c'", "06 03 414263"},
        {"'a' + 'b'", "06 02 6162"},
        {"true", "09"},
        {"NIL", "0D"},
        {"1E2", "05 00000000000000C8 0540"},
        {"-0.5", "05 00000000000000 80 FEBF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ToHex(TextToBinary(WrapText(c.text))), ToHex(FromHex(WrapHex(c.hex))));
    }
}

TEST(ValueTags, MalformedTextIsRefused) {
    const char* cases[] = {
        "'unterminated",        "#70000", "{ABC}",     "{XY}", "[a b]", "1.5x",
        "99999999999999999999", "(1",     "<item end", "",
    };
    for (const char* value : cases) {
        SCOPED_TRACE(value);
        EXPECT_THROW(TextToBinary(WrapText(value)), EReadError);
    }
    EXPECT_THROW(TextToBinary("object A: TB\n"), EReadError);
    EXPECT_THROW(TextToBinary("thing A: TB\nend\n"), EReadError);
    EXPECT_THROW(TextToBinary("object A: TB\nend\nextra"), EReadError);
}

} // namespace

namespace {

using testsupport::ReadFile;

TEST(CanonicalFile, EveryValueKindRoundTripsThroughBothFormsByteForByte) {
    std::string text =
        ReadFile(std::string(DBI_SOURCE_DIR) + "/tests/platform/classes/data/every_value.txt");
    ASSERT_FALSE(text.empty());
    std::vector<uint8_t> binary = TextToBinary(text);
    EXPECT_EQ(BinaryToText(binary), text);
    EXPECT_EQ(ToHex(TextToBinary(BinaryToText(binary))), ToHex(binary));
}

} // namespace
