// Easing curves, the spline against scipy, tokenizers, attribute texts and pixel fills.
#include "OracleData.h"

#include "scene/core/Sg_utils.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Curve = double (*)(double, double, double, double, TsgAnimationType);

double Back(double t, double b, double c, double d, TsgAnimationType a) {
    return sgInterpolateBack(t, b, c, d, 0, a);
}
double Elastic(double t, double b, double c, double d, TsgAnimationType a) {
    return sgInterpolateElastic(t, b, c, d, 0, 0, a);
}

const Curve curves[] = {sgInterpolateQuad,
                        sgInterpolateCubic,
                        sgInterpolateQuart,
                        sgInterpolateQuint,
                        sgInterpolateSine,
                        sgInterpolateExpo,
                        sgInterpolateCirc,
                        sgInterpolateBounce,
                        Back,
                        Elastic};

TEST(Easing, EveryCurveRunsFromZeroToOneInEveryDirection) {
    for (Curve curve : curves)
        for (TsgAnimationType type : {sgAnimationIn, sgAnimationOut, sgAnimationInOut}) {
            EXPECT_NEAR(curve(0, 0, 1, 2, type), 0, 1e-3);
            EXPECT_NEAR(curve(2, 0, 1, 2, type), 1, 1e-3);
            EXPECT_EQ(curve(1, 0, 1, 2, static_cast<TsgAnimationType>(7)), 0);
        }
    EXPECT_DOUBLE_EQ(sgInterpolateLinear(1, 10, 20, 4), 15);
}

TEST(Easing, KnownValues) {
    EXPECT_DOUBLE_EQ(sgInterpolateQuad(0.5, 0, 1, 1, sgAnimationIn), 0.25);
    EXPECT_DOUBLE_EQ(sgInterpolateQuad(0.5, 0, 1, 1, sgAnimationOut), 0.75);
    EXPECT_DOUBLE_EQ(sgInterpolateQuad(0.5, 0, 1, 1, sgAnimationInOut), 0.5);
    EXPECT_DOUBLE_EQ(sgInterpolateBack(0.3, 0, 1, 1, 0, sgAnimationIn),
                     sgInterpolateBack(0.3, 0, 1, 1, 1.70158, sgAnimationIn));
    EXPECT_LT(sgInterpolateBack(0.5, 0, 1, 1, 0, sgAnimationIn), 0);
    EXPECT_GT(sgInterpolateElastic(0.2, 0, 1, 1, 0, 0, sgAnimationOut), 1);
    // Each parabola of the bounce ends where the next begins.
    for (double p : {1 / 2.75, 2 / 2.75, 2.5 / 2.75}) {
        double before = sgInterpolateBounce(p - 1e-9, 0, 1, 1, sgAnimationOut);
        double after = sgInterpolateBounce(p + 1e-9, 0, 1, 1, sgAnimationOut);
        EXPECT_NEAR(before, after, 1e-6);
        EXPECT_NEAR(before, 1, 1e-6);
    }
}

TEST(Spline, MatchesScipysNaturalCubicSpline) {
    for (const std::string& line : OracleLines("spline.txt")) {
        SCOPED_TRACE(line.substr(0, 60));
        size_t bar = line.find('|');
        TsgPolygon points;
        std::istringstream spec(line.substr(0, bar));
        for (std::string pair; std::getline(spec, pair, ';');) {
            size_t comma = pair.find(',');
            points.push_back({std::stof(pair.substr(0, comma)), std::stof(pair.substr(comma + 1))});
        }
        const TsgSpline spline(points);
        std::istringstream rest(line.substr(bar + 1));
        int evaluated = 0;
        for (double t, x, y; rest >> t >> x >> y; ++evaluated) {
            float X, Y;
            spline.SplineXY(static_cast<float>(t), X, Y);
            // Single-precision results: a few units in the last place of the coordinates.
            const double tolerance = 1e-3 * (1 + std::abs(x) + std::abs(y));
            EXPECT_NEAR(X, x, tolerance) << "t = " << t;
            EXPECT_NEAR(Y, y, tolerance) << "t = " << t;
        }
        EXPECT_GT(evaluated, 0);
    }
    float X = 1, Y = 1;
    TsgSpline(TsgPolygon{{5, 5}}).SplineXY(0, X, Y);
    EXPECT_EQ(X, 0);
    EXPECT_EQ(Y, 0);
}

TEST(Tokens, GetTokenTrimsAndKeepsStopCharacters) {
    AnsiString s = "  abc, def ";
    EXPECT_EQ(GetToken(s, ","), "abc");
    EXPECT_EQ(s, "def");
    s = "(1,2)";
    EXPECT_EQ(GetToken(s, ",()"), "");
    EXPECT_EQ(s, "1,2)");
    s = "a=b;c";
    EXPECT_EQ(GetToken(s, ";", "="), "a");
    EXPECT_EQ(s, "=b;c");
    UnicodeString w = u" żółw ;x";
    EXPECT_EQ(WideGetToken(w, u";"), UnicodeString(u"żółw"));
    EXPECT_EQ(w, UnicodeString(u"x"));
    int pos = 1;
    EXPECT_EQ(sgGetToken(pos, "a;;b", ";"), "a");
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(sgGetToken(pos, "a;;b", ";"), "b");
    EXPECT_EQ(pos, 5);
    pos = 1;
    EXPECT_EQ(sgWideGetToken(pos, u"ab=c", u";", u"="), UnicodeString(u"ab"));
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(ClearResObjectName(u"  object Button1: TsgButton "),
              UnicodeString(u"object TsgButton"));
    EXPECT_EQ(ClearResObjectName(u" end "), UnicodeString(u"end"));
}

TEST(AttributeText, XmlAndAttributes) {
    EXPECT_EQ(GetXmlStr(u"<a><b>x</b></a>", u"b"), UnicodeString(u"x"));
    EXPECT_EQ(GetXmlStr(u"<b>x", u"b"), UnicodeString());
    EXPECT_EQ(GetXmlStr(u"</b>x<b>", u"b"), UnicodeString());
    EXPECT_EQ(GetAttrStr(u"<i NAME=\"Some Value\">", u"name"), UnicodeString(u"Some Value"));
    EXPECT_EQ(GetAttrStr(u"<i name=\"open", u"name"), UnicodeString());
    UnicodeString s = u"<i name=\"old\" x=\"1\">";
    SetAttrStr(s, u"name", u"new");
    EXPECT_EQ(s, UnicodeString(u"<i name=\"new\" x=\"1\">"));
    SetAttrStr(s, u"NAME", u"other"); // case-sensitive: unchanged
    EXPECT_EQ(s, UnicodeString(u"<i name=\"new\" x=\"1\">"));
}

TEST(Pixels, FillsStayInsideTheBuffer) {
    uint32_t buf[4 * 3] = {};
    FillLongwordRect(buf, 4, 3, 1, 1, 9, 9, 7);
    uint32_t expected[12] = {0, 0, 0, 0, 0, 7, 7, 7, 0, 7, 7, 7};
    EXPECT_TRUE(std::equal(buf, buf + 12, expected));
    uint32_t before[12];
    std::copy(buf, buf + 12, before);
    FillLongwordRect(buf, 4, 3, 3, 0, 1, 3, 9);   // X1 past X2: nothing
    FillLongwordRect(buf, 4, 3, -5, -5, 1, 1, 5); // negative starts clip at the buffer
    EXPECT_EQ(buf[0], 5u);
    EXPECT_TRUE(std::equal(buf + 1, buf + 12, before + 1));
    FillAlpha(buf, 2, 0x80);
    EXPECT_EQ(buf[1], 0x80000000u);
    FillLongword(buf, 3, 1);
    MoveLongword(buf, buf + 1, 3);
    EXPECT_EQ(buf[3], 1u);
    uint16_t units[3] = {1, 2, 3};
    ReverseBytes(units, 3);
    EXPECT_EQ(units[0], 3);
    EXPECT_EQ(strToNumber(u"AB"), UnicodeString(u"00410042"));
    EXPECT_EQ(RandomColor() >> 24, 0xFFu);
    EXPECT_EQ(FileNameWithOutExt(u"/a/b.c.txt"), UnicodeString(u"/a/b.c"));
    EXPECT_EQ(FileNameWithOutExt(u"/a/b"), UnicodeString(u"/a/b"));
    EXPECT_FLOAT_EQ(MaxFloat(1, 2), 2);
    EXPECT_FLOAT_EQ(MinFloat(1, 2), 1);
}

} // namespace
