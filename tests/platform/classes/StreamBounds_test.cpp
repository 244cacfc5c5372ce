// Hostile binary streams: truncation, lengths beyond the end, deep nesting, unknown tags.
#include "TestClasses.h"

#include "platform/classes/Extended.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

void ReadBoth(const std::vector<uint8_t>& bytes) {
    {
        TBytesStream stream(bytes);
        TReader reader(stream);
        std::unique_ptr<TComponent> root(reader.ReadRootComponent(nullptr));
    }
    BinaryToText(bytes);
}

TEST(StreamBounds, EveryTruncationOfAValidStreamIsAReadError) {
    TTestForm form(nullptr);
    form.SetName("F");
    form.Caption = "text";
    form.Hint = u"ż";
    form.Ratio = 2.5;
    form.Lines.Lines = {u"a", u"b"};
    form.Lines.Data = {1, 2, 3};
    static_cast<TTestItem*>(form.Items.Add())->SetWidth(3);
    auto* child = new TTestWidget(&form);
    child->SetName("C");
    child->SetParentComponent(&form);
    std::vector<uint8_t> bytes = WriteToBytes(&form);
    ASSERT_NO_THROW(ReadBoth(bytes));
    for (size_t n = 0; n < bytes.size(); ++n) {
        SCOPED_TRACE(n);
        std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(n));
        EXPECT_THROW(ReadBoth(prefix), EReadError);
    }
}

TEST(StreamBounds, LengthsBeyondTheEndAreRefusedBeforeAllocating) {
    const char* values[] = {
        "0C FFFFFF7F 41",   // LString of 2 GB
        "12 FFFFFFFF 4100", // WString of 4 G units
        "14 FFFFFF7F 41",   // UTF8String
        "0A FFFFFF7F 00",   // Binary
        "06 FF 41",         // short String longer than the rest
        "16",               // a tag past the last one
        "0B 05 4142",       // set element cut short
    };
    for (const char* value : values) {
        SCOPED_TRACE(value);
        std::string hex =
            std::string("54504630 0B 5454657374576964676574 00 01 56 ") + value + " 00 00";
        EXPECT_THROW(BinaryToText(FromHex(hex)), EReadError);
        TBytesStream stream(FromHex(hex));
        TReader reader(stream);
        reader.OnError = [](TReader&, const AnsiString&, bool& handled) { handled = true; };
        EXPECT_THROW(reader.ReadRootComponent(nullptr), EReadError);
    }
}

TEST(StreamBounds, DeepNestingIsLimited) {
    for (const char* open : {"01", "0E 01 01 56"}) {
        SCOPED_TRACE(open);
        std::string hex = "54504630 0B 5454657374576964676574 00 01 56";
        for (int i = 0; i < 5000; ++i)
            hex += std::string(" ") + open;
        EXPECT_THROW(BinaryToText(FromHex(hex)), EReadError);
        TBytesStream stream(FromHex(hex));
        TReader reader(stream);
        reader.OnError = [](TReader&, const AnsiString&, bool& handled) { handled = true; };
        EXPECT_THROW(reader.ReadRootComponent(nullptr), EReadError);
    }
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "object A: TTestWidget\n";
    EXPECT_THROW(TextToBinary(text), EReadError);
    EXPECT_THROW(TextToBinary("object A: TB\n  V = " + std::string(5000, '(')), EReadError);
}

TEST(StreamBounds, SignatureIsChecked) {
    EXPECT_THROW(BinaryToText(FromHex("54504631 00 00 00 00")), EReadError);
    TBytesStream stream(FromHex("00"));
    TReader reader(stream);
    EXPECT_THROW(reader.ReadRootComponent(nullptr), EReadError);
}

TEST(Extended, DoublesSurviveTheTenByteForm) {
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             -2.5,
                             0.1,
                             1e300,
                             -1e-300,
                             4.9e-324,
                             2.2250738585072014e-308,
                             1.7976931348623157e308,
                             INFINITY,
                             -INFINITY};
    for (double v : values) {
        SCOPED_TRACE(v);
        uint8_t buf[10];
        DoubleToExtended(v, buf);
        double back = ExtendedToDouble(buf);
        EXPECT_EQ(std::signbit(back), std::signbit(v));
        EXPECT_EQ(back, v);
    }
    uint8_t buf[10];
    DoubleToExtended(NAN, buf);
    EXPECT_TRUE(std::isnan(ExtendedToDouble(buf)));
}

TEST(Extended, ValuesBeyondDoubleRangeSaturate) {
    // 2^16000 and 2^-16000 as extended.
    uint8_t huge[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0x7F, 0x7E};
    uint8_t tiny[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0x7F, 0x01};
    EXPECT_EQ(ExtendedToDouble(huge), INFINITY);
    EXPECT_EQ(ExtendedToDouble(tiny), 0.0);
}

} // namespace
