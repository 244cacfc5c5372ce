// Text through the canvas, checked by its properties, and the font aliases the project ships.
#include "CanvasTestSupport.h"

#include "platform/gfx/Font.h"
#include "platform/gfx/FontAliases.h"

#include "support/FontMatch.h"

#include <fontconfig/fontconfig.h>

#include <cmath>
#include <gtest/gtest.h>

namespace {

// The family fontconfig picks for a name, as text layouts will.
std::string MatchedFamily(const char* name) {
    return testsupport::MatchedFontProperty(name, FC_FAMILY).value_or("");
}

TsgRect Measure(TsgCanvas& canvas, const UnicodeString& text, TsgRect box, bool wrap,
                TsgTextAlign align = sgTextAlignNear, TsgTextAlign valign = sgTextAlignNear) {
    canvas.MeasureText(box, box, text, wrap, align, valign);
    return box;
}

// The bounding box of every pixel with some ink; empty (Right < Left) without ink.
TsgRect InkBox(TsgCanvas& canvas) {
    TsgRect ink{1e9f, 1e9f, -1e9f, -1e9f};
    const auto px = Pixels(canvas);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (Alpha(px[size_t(y) * canvas.Width() + x]) > 0) {
                ink.Left = std::min(ink.Left, float(x));
                ink.Top = std::min(ink.Top, float(y));
                ink.Right = std::max(ink.Right, float(x + 1));
                ink.Bottom = std::max(ink.Bottom, float(y + 1));
            }
    return ink;
}

} // namespace

TEST(CanvasText, MeasuringGrowsWithTheText) {
    auto canvas = MakeCanvas(10, 10);
    canvas->Font()->SetFamily(u"Verdana");
    canvas->Font()->SetSize(16);
    const float one = canvas->TextWidth(u"W");
    const float three = canvas->TextWidth(u"WWW");
    EXPECT_GT(one, 5);
    EXPECT_NEAR(three, 3 * one, 1.5);
    EXPECT_GT(canvas->TextWidth(u"ab  "), canvas->TextWidth(u"ab")); // trailing blanks count
    const float height = canvas->TextHeight(u"Xg");
    EXPECT_GT(height, 16);
    EXPECT_LT(height, 16 * 1.6);
    canvas->Font()->SetSize(32);
    EXPECT_NEAR(canvas->TextWidth(u"WWW"), 2 * three, 3);

    const TsgRect empty = Measure(*canvas, u"", {5, 6, 50, 60}, false);
    EXPECT_EQ(empty, (TsgRect{5, 6, 5, 60}));
}

TEST(CanvasText, AlignmentWithoutWrapPlacesTextAtLeft) {
    auto canvas = MakeCanvas(10, 10);
    const TsgRect box{100, 0, 300, 40};
    const TsgRect near = Measure(*canvas, u"abc", box, false, sgTextAlignNear);
    const TsgRect centre = Measure(*canvas, u"abc", box, false, sgTextAlignCenter);
    const TsgRect far = Measure(*canvas, u"abc", box, false, sgTextAlignFar);
    EXPECT_NEAR(near.Left, 100, 0.01);
    EXPECT_NEAR((centre.Left + centre.Right) / 2, 100, 0.5);
    EXPECT_NEAR(far.Right, 100, 0.5);
}

TEST(CanvasText, WrapsInsideItsBox) {
    auto canvas = MakeCanvas(10, 10);
    canvas->Font()->SetSize(14);
    const UnicodeString text(u"several words that cannot share one short line");
    const TsgRect line = Measure(*canvas, text, {0, 0, 1000, 500}, true);
    const TsgRect wrapped = Measure(*canvas, text, {0, 0, 120, 500}, true);
    EXPECT_LE(wrapped.Right, 120.5);
    EXPECT_GT(wrapped.Bottom - wrapped.Top, 2.5 * (line.Bottom - line.Top));
}

TEST(CanvasText, InkStaysInsideTheMeasuredBox) {
    for (const char16_t* family : {u"Tahoma", u"Arial", u"Verdana", u"No Such Family 123"}) {
        auto canvas = MakeCanvas(240, 60);
        canvas->Font()->SetFamily(family);
        canvas->Font()->SetSize(20);
        SetSolidFill(*canvas, 0xFF000000);
        const TsgRect box{10, 5, 230, 55};
        const UnicodeString text(u"Hxgy Ag 123");
        const TsgRect measured =
            Measure(*canvas, text, box, true, sgTextAlignCenter, sgTextAlignCenter);
        canvas->FillText(box, box, text, true, 1, sgTextAlignCenter, sgTextAlignCenter);
        const TsgRect ink = InkBox(*canvas);
        ASSERT_LT(ink.Left, ink.Right) << "no ink";
        EXPECT_GE(ink.Left, std::floor(measured.Left) - 2);
        EXPECT_LE(ink.Right, std::ceil(measured.Right) + 2);
        EXPECT_GE(ink.Top, std::floor(measured.Top) - 1);
        EXPECT_LE(ink.Bottom, std::ceil(measured.Bottom) + 1);
        // Opacity 1 draws with 0.99: solid black text never reaches full alpha.
        int darkest = 0;
        for (uint32_t p : Pixels(*canvas))
            darkest = std::max(darkest, Alpha(p));
        EXPECT_EQ(darkest, 252);
    }
}

TEST(CanvasText, MeasuringNeedsNoSurface) {
    TsgCanvasGdiPlus canvas(0, 0);
    EXPECT_FALSE(canvas.HasSurface());
    EXPECT_GT(canvas.TextWidth(u"hello"), 10);
    EXPECT_FALSE(canvas.HasSurface());
}

TEST(CanvasText, OutlinesAreMovesLinesAndCurves) {
    auto canvas = MakeCanvas(10, 10);
    canvas->Font()->SetSize(40);
    TsgPathData path;
    ASSERT_TRUE(
        canvas->TextToPath(&path, {0, 0, 200, 60}, u"S", false, sgTextAlignNear, sgTextAlignNear));
    ASSERT_FALSE(path.IsEmpty());
    int curveRun = 0;
    for (const TsgPathPoint& p : path.PathData) {
        if (p.Kind == sgPathPointCurveTo) {
            ++curveRun;
            continue;
        }
        EXPECT_EQ(curveRun % 3, 0);
        curveRun = 0;
    }
    EXPECT_EQ(curveRun % 3, 0);
    EXPECT_EQ(path.PathData.front().Kind, sgPathPointMoveTo);
    const TsgRect bounds = path.GetBounds();
    EXPECT_GT(sgRectHeight(bounds), 20);
    EXPECT_FALSE(
        canvas->TextToPath(&path, {0, 0, 200, 60}, u"", false, sgTextAlignNear, sgTextAlignNear));
}

TEST(FontAliases, WindowFontsResolveToShippedFonts) {
    InitSgCanvasUnit();
    const std::pair<const char*, const char*> table[] = {
        {"Tahoma", "DejaVu Sans"},
        {"Verdana", "DejaVu Sans"},
        {"Microsoft Sans Serif", "Liberation Sans"},
        {"Arial", "Liberation Sans"},
    };
    for (const auto& [name, font] : table) {
        EXPECT_TRUE(gfx::FontFamily(UnicodeString::FromUtf8(name).c_str()).IsAvailable());
        EXPECT_EQ(MatchedFamily(name), font) << name;
    }
    // The loader adds a file's rules to the configuration in use.
    testsupport::ScratchFolder folder("sg-fonts-");
    const std::string conf = folder.Write(
        "extra.conf", "<?xml version=\"1.0\"?><fontconfig><alias binding=\"same\">"
                      "<family>Dbi Test Face</family><prefer><family>Liberation Serif</family>"
                      "</prefer></alias></fontconfig>");
    EXPECT_TRUE(gfx::LoadFontAliasesFile(conf));
    EXPECT_EQ(MatchedFamily("Dbi Test Face"), "Liberation Serif");
    EXPECT_FALSE(gfx::LoadFontAliasesFile(folder / "missing.conf"));
    const std::string shipped =
        testsupport::ReadFile(testsupport::SourceDir() / "resources/fonts/fonts.conf");
    EXPECT_EQ(shipped, gfx::EmbeddedFontAliases());
}
