// Colours: the keyword table against the CSS list, HSL against Python's colorsys, and the
// colour text and arithmetic.
#include "OracleData.h"

#include "scene/core/Sg_scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ColorIdents, TableIsTheCssKeywordListInOrder) {
    std::vector<std::string> expected = OracleLines("css_colors.txt");
    ASSERT_EQ(expected.size(), static_cast<size_t>(sgColorIdentCount));
    for (int i = 0; i < sgColorIdentCount; ++i)
        EXPECT_EQ(std::string(sgColorIdents[i].Name) + " " + sgColorIdents[i].Value,
                  expected[static_cast<size_t>(i)]);
}

TEST(ColorText, ReadsNamesHexAndDecimal) {
    struct {
        const char16_t* text;
        TsgColor color;
    } cases[] = {
        {u"red", 0xFFFF0000},
        {u"RED", 0xFFFF0000},
        {u"Darkgrey", 0xFFA9A9A9},
        {u"#80FF0000", 0x80FF0000},
        {u"#FF0000", 0x00FF0000},
        {u"#ffc04040", 0xFFC04040},
        {u"16711680", 0x00FF0000},
        {u"", 0},
        {u"notacolour", 0},
        {u"#", 0},
        {u"#1FFFFFFFF", 0},
        {u"4294967295", 0},
        {u"#XYZ", 0},
        {u"\0", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(UnicodeString(c.text).ToUtf8());
        EXPECT_EQ(sgStrToColor(UnicodeString(c.text)), c.color);
    }
    EXPECT_EQ(sgStrToColor(UnicodeString(u"\0", 1)), 0u);
    EXPECT_EQ(sgColorToStr(0x80FF0000).ToUtf8(), "#80FF0000");
    EXPECT_EQ(sgColorToStr(0x0000000A).ToUtf8(), "#0000000A");
    for (TsgColor c : {0u, 0xFFFFFFFFu, 0x12345678u})
        EXPECT_EQ(sgStrToColor(sgColorToStr(c)), c);
}

TEST(ColorArithmetic, ChannelOperations) {
    EXPECT_EQ(sgColor(0x10, 0x20, 0x30, 0x40), 0x40102030u);
    EXPECT_EQ(sgPremultyAlpha(0x80804020), 0x80402010u);
    EXPECT_EQ(sgPremultyAlpha(0x00FFFFFF), 0u);
    EXPECT_EQ(sgPremultyAlpha(0xFF123456), 0xFF123456u);
    EXPECT_EQ(sgUnpremultyAlpha(0x80402010), 0x807F3F1Fu);
    EXPECT_EQ(sgUnpremultyAlpha(0x00123456), 0u);
    EXPECT_EQ(sgOpacity(0xFF102030, 0.5f), 0x7F102030u);
    EXPECT_EQ(sgOpacity(0x80102030, 1.5f), 0x80102030u);
    EXPECT_EQ(sgInterpolateColor(0xFF000000, 0xFFFFFFFF, 0.5f), 0xFF7F7F7Fu);
    EXPECT_EQ(sgInterpolateColor(0xFFFFFFFF, 0xFF000000, 0.5f), 0xFF808080u);
    EXPECT_EQ(sgAppendColor(0x80F01020, 0x80201020), 0xFFFF2040u);
    EXPECT_EQ(sgSubtractColor(0x80102030, 0x40201010), 0x40001020u);
    EXPECT_EQ(sgChangeHSL(0x80FF0000, 0, 0, 1), 0x80FFFFFFu);
    EXPECT_EQ(sgChangeHSL(0xFFFF0000, 0, -1, 0), 0xFF808080u);
}

TEST(Hsl, ToRgbMatchesColorsys) {
    for (const std::string& line : OracleLines("hsl_to_rgb.txt")) {
        std::istringstream in(line);
        int h, s, l;
        std::string rgb;
        in >> h >> s >> l >> rgb;
        SCOPED_TRACE(line);
        TsgColor c = HSLtoRGB(h / 1024.0f, s / 1024.0f, l / 1024.0f);
        EXPECT_EQ(c, 0xFF000000u | std::stoul(rgb, nullptr, 16));
    }
}

TEST(Hsl, FromRgbMatchesColorsys) {
    for (const std::string& line : OracleLines("rgb_to_hsl.txt")) {
        std::istringstream in(line);
        std::string rgb;
        double h, s, l;
        in >> rgb >> h >> s >> l;
        SCOPED_TRACE(line);
        float H, S, L;
        RGBtoHSL(0x12000000u | std::stoul(rgb, nullptr, 16), H, S, L);
        EXPECT_NEAR(H, h, 1e-6);
        EXPECT_NEAR(S, s, 1e-6);
        EXPECT_NEAR(L, l, 1e-6);
    }
    EXPECT_EQ(HSLtoRGB(0, 1, 0.5f), 0xFFFF0000u);
}

} // namespace
