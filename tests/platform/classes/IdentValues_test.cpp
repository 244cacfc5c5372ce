// Integer properties streamed by name through an identifier map, and float values a binary
// stream may hold but no property may take.
#include "TestClasses.h"

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr TIdentMapEntry kShades[] = {
    {0x0000FF, "shRed"}, {-16, "shFace"}, {0, "shBlack"}, {0, "shNothing"}};

class TShadedWidget : public TComponent {
    DBI_PERSISTENT(TShadedWidget, TComponent)

    explicit TShadedWidget(TComponent* owner) : TComponent(owner) {}
    int Shade() const { return shade_; }
    void SetShade(int v) { shade_ = v; }
    int Plain() const { return plain_; }
    void SetPlain(int v) { plain_ = v; }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }

private:
    int shade_ = 7;
    int plain_ = 0;
    double ratio_ = 0;
};

DBI_PUBLISH(TShadedWidget) {
    p.Integer("Shade", &TShadedWidget::Shade, &TShadedWidget::SetShade).IdentMap(kShades);
    p.Integer("Plain", &TShadedWidget::Plain, &TShadedWidget::SetPlain, 0);
    p.Float("Ratio", &TShadedWidget::Ratio, &TShadedWidget::SetRatio);
}

std::unique_ptr<TShadedWidget> Read(TStream& binary, std::vector<std::string>* errors = nullptr) {
    TReader reader(binary);
    if (errors)
        reader.OnError = [errors](TReader&, const AnsiString& message, bool& handled) {
            errors->push_back(message.str());
            handled = true;
        };
    auto widget = std::make_unique<TShadedWidget>(nullptr);
    reader.ReadRootComponent(widget.get());
    return widget;
}

std::unique_ptr<TShadedWidget> ReadText(const std::string& text,
                                        std::vector<std::string>* errors = nullptr) {
    TBytesStream binary(TextToBinary(text));
    return Read(binary, errors);
}

TEST(IdentValues, IdentifiersAndNumbersAreReadAndNamesAreWrittenBack) {
    struct {
        const char* value;
        int expected;
        const char* written;
    } cases[] = {
        {"shRed", 0xFF, "shRed"},
        {"SHFACE", -16, "shFace"},
        {"shNothing", 0, "shBlack"},
        {"255", 0xFF, "shRed"},
        {"-16", -16, "shFace"},
        {"12", 12, "12"},
        {"-2147483648", INT32_MIN, "-2147483648"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        auto w = ReadText(std::string("object W: TShadedWidget\n  Shade = ") + c.value + "\nend\n");
        EXPECT_EQ(w->Shade(), c.expected);
        const std::string text = BinaryToText(WriteToBytes(w.get()));
        EXPECT_NE(text.find(std::string("Shade = ") + c.written + "\n"), std::string::npos) << text;
        EXPECT_EQ(ReadText(text)->Shade(), c.expected);
    }
}

TEST(IdentValues, UnknownIdentifiersAndIdentifiersOfUnmappedPropertiesAreRefused) {
    struct {
        const char* text;
        int shade, plain; // the refused value keeps the constructor's, the other one reads
    } cases[] = {
        {"object W: TShadedWidget\n  Shade = shPurple\n  Plain = 3\nend\n", 7, 3},
        {"object W: TShadedWidget\n  Plain = shRed\n  Shade = 3\nend\n", 3, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_THROW(ReadText(c.text), EReadError);
        std::vector<std::string> errors;
        auto w = ReadText(c.text, &errors);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find("Invalid property value"), std::string::npos);
        EXPECT_EQ(w->Shade(), c.shade);
        EXPECT_EQ(w->Plain(), c.plain);
    }
}

// A binary stream with Ratio holding the given double, as only a damaged or hostile stream can.
std::unique_ptr<TBytesStream> RatioStream(double value) {
    auto stream = std::make_unique<TBytesStream>();
    TBytesStream& binary = *stream;
    TWriter writer(binary);
    writer.WriteSignature();
    writer.WriteStr("TShadedWidget");
    writer.WriteStr("W");
    writer.WritePropName("Ratio");
    writer.WriteDouble(value);
    writer.WritePropName("Plain");
    writer.WriteInteger(4);
    writer.WriteListEnd();
    writer.WriteListEnd();
    binary.SetPosition(0);
    return stream;
}

TEST(IdentValues, BinaryFloatsThatAreNoNumbersAreRefused) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(Read(*RatioStream(bad)), EReadError);
        std::vector<std::string> errors;
        auto w = Read(*RatioStream(bad), &errors);
        EXPECT_EQ(errors.size(), 1u);
        EXPECT_EQ(w->Ratio(), 0);
        EXPECT_EQ(w->Plain(), 4);
    }
    EXPECT_EQ(Read(*RatioStream(1e300))->Ratio(), 1e300); // a double property holds it
}

} // namespace
