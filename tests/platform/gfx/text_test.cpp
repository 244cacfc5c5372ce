// Text by its properties: measuring grows with the text and counts trailing blanks when asked,
// wrapping keeps lines inside the box, the ink lies inside the measured box, alignment places
// the box, and outlines are made of moves, lines and whole curves.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string>
#include <strings.h>

#include "GfxTestSupport.h"
#include "platform/rtl/UnicodeString.h"
#include "support/FontMatch.h"
#include "support/TestSupport.h"

namespace gfx {
namespace {

using testing::UseCanvasSettings;

// Any font the machine has: fontconfig's default sans-serif family.
Font TestFont(float pixels = 16, int style = FontStyleRegular) {
    return Font(*FontFamily::GenericSansSerif(), pixels, style, Unit::Pixel);
}

RectF Measure(std::u16string_view text, const RectF& layout, int flags = 0,
              StringAlignment align = StringAlignment::Near,
              StringAlignment lineAlign = StringAlignment::Near, float size = 16) {
    Bitmap scratch(1, 1);
    Graphics g(&scratch);
    StringFormat format(flags);
    format.SetAlignment(align);
    format.SetLineAlignment(lineAlign);
    RectF box;
    EXPECT_EQ(g.MeasureCharacterRanges(text, TestFont(size), layout, &format, &box), Status::Ok);
    return box;
}

constexpr int kOneLine = StringFormatFlagsNoWrap | StringFormatFlagsMeasureTrailingSpaces;

// A property (FC_FAMILY, FC_FILE) of the font fontconfig picks for sans-serif.
std::optional<std::string> SansSerifMatch(const char* property) {
    return testsupport::MatchedFontProperty("sans-serif", property);
}

TEST(Text, MeasuredWidthGrowsWithTheText) {
    const RectF layout(0, 0, 0, 0);
    float previous = 0;
    for (std::u16string_view text : {u"i", u"ii", u"iiW", u"iiWWWW"}) {
        const RectF box = Measure(text, layout, kOneLine);
        EXPECT_GT(box.Width, previous) << std::string(text.begin(), text.end());
        previous = box.Width;
    }
    EXPECT_GT(
        Measure(u"Hello", layout, kOneLine, StringAlignment::Near, StringAlignment::Near, 32).Width,
        1.8f * Measure(u"Hello", layout, kOneLine).Width);
}

TEST(Text, TrailingBlanksCountOnlyWhenAsked) {
    const RectF layout(0, 0, 0, 0);
    const float bare = Measure(u"abc", layout, kOneLine).Width;
    EXPECT_GT(Measure(u"abc   ", layout, kOneLine).Width, bare + 3);
    EXPECT_NEAR(Measure(u"abc   ", layout, StringFormatFlagsNoWrap).Width, bare, 0.01);
}

TEST(Text, MeasuringAnEmptyTextGivesAnEmptyBoxAtTheOrigin) {
    const RectF box = Measure(u"", RectF(5, 6, 100, 20), kOneLine);
    EXPECT_EQ(box, RectF(5, 6, 0, 0));
}

TEST(Text, WrappingKeepsEveryLineInsideTheWidth) {
    const std::u16string text = u"the quick brown fox jumps over the lazy dog again and again";
    const RectF oneLine = Measure(text, RectF(0, 0, 0, 0), kOneLine);
    const RectF wrapped = Measure(text, RectF(0, 0, 120, 1000));
    EXPECT_LE(wrapped.Width, 120.01f);
    EXPECT_GE(wrapped.Height, 3 * oneLine.Height - 0.5f);
    // Without a width there is nothing to wrap to.
    EXPECT_NEAR(Measure(text, RectF(0, 0, 0, 0)).Height, oneLine.Height, 0.01);
}

TEST(Text, AlignmentPlacesTheBox) {
    const RectF unbounded(100, 50, 0, 0);
    const RectF near = Measure(u"Text", unbounded, kOneLine);
    const float w = near.Width;
    EXPECT_NEAR(near.X, 100, 0.01);
    EXPECT_NEAR(Measure(u"Text", unbounded, kOneLine, StringAlignment::Center).X, 100 - w / 2,
                0.01);
    EXPECT_NEAR(Measure(u"Text", unbounded, kOneLine, StringAlignment::Far).X, 100 - w, 0.01);
    const RectF box(10, 20, 200, 100);
    const RectF centred =
        Measure(u"Text", box, kOneLine, StringAlignment::Center, StringAlignment::Center);
    EXPECT_NEAR(centred.X + centred.Width / 2, 110, 0.01);
    EXPECT_NEAR(centred.Y + centred.Height / 2, 70, 0.01);
    const RectF far = Measure(u"Text", box, kOneLine, StringAlignment::Far, StringAlignment::Far);
    EXPECT_NEAR(far.GetRight(), 210, 0.01);
    EXPECT_NEAR(far.GetBottom(), 120, 0.01);
}

TEST(Text, InkLiesInsideTheMeasuredBox) {
    Bitmap bitmap(200, 60);
    Graphics g(&bitmap);
    UseCanvasSettings(g);
    StringFormat format(StringFormatFlagsNoWrap | StringFormatFlagsNoClip);
    format.SetAlignment(StringAlignment::Center);
    format.SetLineAlignment(StringAlignment::Center);
    const RectF layout(0, 0, 200, 60);
    const std::u16string text = u"Mgjy Ågot";
    ASSERT_EQ(g.DrawString(text, TestFont(20), layout, &format, SolidBrush(Color(0xFF000000))),
              Status::Ok);
    RectF box;
    g.MeasureCharacterRanges(text, TestFont(20), layout, &format, &box);
    bitmap.Flush();
    int ink = 0, outside = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            if (!bitmap.Scan0()[y * 200 + x])
                continue;
            ++ink;
            if (x + 0.5f < box.X - 1 || x + 0.5f > box.GetRight() + 1 || y + 0.5f < box.Y - 1 ||
                y + 0.5f > box.GetBottom() + 1)
                ++outside;
        }
    EXPECT_GT(ink, 100);
    EXPECT_EQ(outside, 0);
}

TEST(Text, DrawingUsesTheBrushAndTheClipOfTheLayout) {
    Bitmap bitmap(100, 40);
    Graphics g(&bitmap);
    UseCanvasSettings(g);
    // Clipped to a box too small for the text: nothing lands below row 10.
    StringFormat clipped(StringFormatFlagsNoWrap);
    g.DrawString(u"WWWW", TestFont(30), RectF(0, 0, 100, 10), &clipped,
                 SolidBrush(Color(0xFFFF0000)));
    bitmap.Flush();
    int inside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) {
            const uint32_t p = bitmap.Scan0()[y * 100 + x];
            if (!p)
                continue;
            EXPECT_LT(y, 10);
            EXPECT_EQ(p & 0xFFFF, 0u) << "only red ink";
            ++inside;
        }
    EXPECT_GT(inside, 0);
}

TEST(Text, MeasuringDoesNotDependOnTheTransformOrTarget) {
    Bitmap small(1, 1), large(300, 300);
    Graphics a(&small), b(&large);
    b.ScaleTransform(2.5f, 2.5f);
    StringFormat format(kOneLine);
    RectF boxA, boxB;
    a.MeasureCharacterRanges(u"Scaled text", TestFont(13), RectF(0, 0, 0, 0), &format, &boxA);
    b.MeasureCharacterRanges(u"Scaled text", TestFont(13), RectF(0, 0, 0, 0), &format, &boxB);
    EXPECT_EQ(boxA, boxB);
}

TEST(Text, OutlinesAreMovesLinesAndWholeCurves) {
    GraphicsPath path;
    auto family = FontFamily::GenericSansSerif();
    ASSERT_EQ(path.AddString(u"S", *family, FontStyleRegular, 40, RectF(0, 0, 0, 0),
                             StringFormat(kOneLine)),
              Status::Ok);
    const auto& types = path.Types();
    ASSERT_GT(types.size(), 4u);
    EXPECT_EQ(types[0], PathPointTypeStart);
    for (size_t i = 0; i < types.size(); ++i) {
        const uint8_t kind = types[i] & PathPointTypePathTypeMask;
        ASSERT_TRUE(kind == PathPointTypeStart || kind == PathPointTypeLine ||
                    kind == PathPointTypeBezier);
        if (kind == PathPointTypeBezier) {
            ASSERT_LT(i + 2, types.size());
            EXPECT_EQ(types[i + 1] & PathPointTypePathTypeMask, PathPointTypeBezier);
            EXPECT_EQ(types[i + 2] & PathPointTypePathTypeMask, PathPointTypeBezier);
            i += 2;
        }
    }
    EXPECT_TRUE(types.back() & PathPointTypeCloseSubpath);
    // The outline sits where DrawString would put the glyph.
    RectF bounds;
    path.GetBounds(&bounds);
    const RectF box = Measure(u"S", RectF(0, 0, 0, 0), kOneLine, StringAlignment::Near,
                              StringAlignment::Near, 40);
    EXPECT_GE(bounds.X, box.X - 1);
    EXPECT_LE(bounds.GetRight(), box.GetRight() + 1);
    EXPECT_GE(bounds.Y, box.Y);
    EXPECT_LE(bounds.GetBottom(), box.GetBottom());
}

TEST(Text, BoldIsWider) {
    Bitmap scratch(1, 1);
    Graphics g(&scratch);
    StringFormat format(kOneLine);
    RectF regular, bold;
    g.MeasureCharacterRanges(u"Wide words", TestFont(20), RectF(), &format, &regular);
    g.MeasureCharacterRanges(u"Wide words", TestFont(20, FontStyleBold), RectF(), &format, &bold);
    EXPECT_GT(bold.Width, regular.Width);
}

TEST(FontFamily, UnknownNamesAreReportedAndGenericOnesFound) {
    EXPECT_EQ(FontFamily(u"No Such Family Anywhere 42").GetLastStatus(),
              Status::FontFamilyNotFound);
    EXPECT_EQ(FontFamily::GenericSansSerif()->GetLastStatus(), Status::Ok);
    EXPECT_EQ(FontFamily(u"").GetLastStatus(), Status::FontFamilyNotFound);
    const Font font(FontFamily(u"No Such Family Anywhere 42"), 12);
    EXPECT_EQ(font.GetLastStatus(), Status::FontFamilyNotFound);
}

TEST(FontFamily, InstalledFamiliesAndAliasesAreFoundByName) {
    // The family fontconfig picks for sans-serif is installed, whatever it is here.
    const std::optional<std::string> family = SansSerifMatch(FC_FAMILY);
    ASSERT_TRUE(family);
    const std::string& installed = *family;
    std::u16string wide(installed.begin(), installed.end());
    EXPECT_EQ(FontFamily(wide).GetLastStatus(), Status::Ok) << installed;
    for (char16_t& c : wide)
        c = c < 128 ? char16_t(std::toupper(int(c))) : c;
    EXPECT_EQ(FontFamily(wide).GetLastStatus(), Status::Ok) << "names are case-insensitive";

    // A family name that only a configuration rule maps onto an installed font.
    const std::string rule = "<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">"
                             "<fontconfig><alias><family>Dbi Test Alias</family><prefer><family>" +
                             installed + "</family></prefer></alias></fontconfig>";
    EXPECT_EQ(FontFamily(u"Dbi Test Alias").GetLastStatus(), Status::FontFamilyNotFound);
    ASSERT_TRUE(FcConfigParseAndLoadFromMemory(
        FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(rule.c_str()), FcTrue));
    NotifyFontConfigurationChanged();
    EXPECT_EQ(FontFamily(u"Dbi Test Alias").GetLastStatus(), Status::Ok);
}

TEST(FontFamily, TheInstalledFamiliesAreListedOnceEachSortedAndFoundByName) {
    const std::vector<std::string> names = InstalledFontFamilies();
    ASSERT_FALSE(names.empty());
    for (size_t i = 1; i < names.size(); ++i)
        EXPECT_LE(strcasecmp(names[i - 1].c_str(), names[i].c_str()), 0)
            << names[i - 1] << " / " << names[i];
    const std::optional<std::string> family = SansSerifMatch(FC_FAMILY);
    ASSERT_TRUE(family);
    EXPECT_NE(std::find(names.begin(), names.end(), *family), names.end()) << *family;
    for (const std::string& name : names) {
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
        EXPECT_EQ(FontFamily(UnicodeString::FromUtf8(name).str()).GetLastStatus(), Status::Ok)
            << name;
    }
}

TEST(PrivateFontCollection, FontsFromMemoryBecomeFamilies) {
    const std::optional<std::string> file = SansSerifMatch(FC_FILE);
    ASSERT_TRUE(file);
    const std::string bytes = testsupport::ReadFile(*file);

    PrivateFontCollection collection;
    ASSERT_EQ(collection.AddMemoryFont(bytes.data(), bytes.size()), Status::Ok);
    ASSERT_FALSE(collection.FamilyNames().empty());
    const std::string& name = collection.FamilyNames().front();
    const FontFamily family(std::u16string(name.begin(), name.end()), &collection);
    EXPECT_EQ(family.GetLastStatus(), Status::Ok);
    // Text still lays out after the font configuration changed.
    EXPECT_GT(Measure(u"after", RectF(), kOneLine).Width, 0);

    const char garbage[] = "not a font at all";
    EXPECT_EQ(collection.AddMemoryFont(garbage, sizeof garbage), Status::InvalidParameter);
}

TEST(Font, SizesConvertToWorldUnits) {
    const auto family = FontFamily::GenericSansSerif();
    EXPECT_FLOAT_EQ(Font(*family, 12, FontStyleRegular, Unit::Point).SizeInWorldUnits(), 16);
    EXPECT_FLOAT_EQ(Font(*family, 16, FontStyleRegular, Unit::Pixel).SizeInWorldUnits(), 16);
    EXPECT_FLOAT_EQ(Font(*family, 1, FontStyleRegular, Unit::Inch).SizeInWorldUnits(), 96);
}

TEST(Text, ExtremeSizesStayFinite) {
    const RectF wide = Measure(u"wide layout", RectF(0, 0, 1e12f, 1e12f));
    EXPECT_TRUE(std::isfinite(wide.Width) && wide.Width > 0);
    const RectF huge =
        Measure(u"x", RectF(), kOneLine, StringAlignment::Near, StringAlignment::Near, 1e9f);
    EXPECT_TRUE(std::isfinite(huge.Height) && huge.Height > 0);
    const RectF tiny =
        Measure(u"x", RectF(), kOneLine, StringAlignment::Near, StringAlignment::Near, 1e-6f);
    EXPECT_TRUE(std::isfinite(tiny.Height) && tiny.Height >= 0);
}

TEST(Text, LoneSurrogatesDoNotBreakLayout) {
    const char16_t broken[] = {u'a', char16_t(0xD800), u'b', 0};
    EXPECT_GT(Measure(broken, RectF(), kOneLine).Width, 0);
}

} // namespace
} // namespace gfx
