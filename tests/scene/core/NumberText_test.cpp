// Float, rectangle and point texts: fixed '.' separator whatever the locale.
#include "scene/core/Sg_scene.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(FloatText, FormatsWithThreeDecimalsOnlyForFractions) {
    struct {
        float value;
        const char* text;
    } cases[] = {{2, "2"},           {0.0001f, "0.000"}, {-1.5f, "-1.500"}, {1.5f, "1.500"},
                 {-0.25f, "-0.250"}, {12, "12"},         {-0.0f, "0"},      {16777216, "16777216"}};
    FormatSettings().DecimalSeparator = u',';
    for (const auto& c : cases)
        EXPECT_EQ(sgFloatToStr(c.value).ToUtf8(), c.text) << c.value;
    EXPECT_EQ(FormatSettings().DecimalSeparator, u',');
    FormatSettings().DecimalSeparator = u'.';
}

TEST(FloatText, ReadsCommaOrPointAndRejectsTheRest) {
    EXPECT_FLOAT_EQ(sgStrToFloat(u"1,5"), 1.5f);
    EXPECT_FLOAT_EQ(sgStrToFloat(u" -2.25 "), -2.25f);
    EXPECT_THROW(sgStrToFloat(u"abc"), EConvertError);
    EXPECT_THROW(sgStrToFloat(u""), EConvertError);
    EXPECT_FLOAT_EQ(sgStrToFloatDef(u"x", 7), 7);
    EXPECT_FLOAT_EQ(sgStrToFloatDef(u"3", 7), 3);
}

TEST(RectText, RoundTripAndMalformedInput) {
    EXPECT_EQ(sgRectToString({0, 0, 10.5f, 20}).str(), "(0,0,10.500,20)");
    EXPECT_EQ(sgPointToString({-1, 2.25f}).str(), "(-1,2.250)");
    EXPECT_EQ(sgStringToRect("(1,2,3,4)"), (TsgRect{1, 2, 3, 4}));
    EXPECT_EQ(sgStringToRect(" ( 1 , 2.5 , 3,4 ) "), (TsgRect{1, 2.5f, 3, 4}));
    EXPECT_EQ(sgStringToRect("(1,2,3)"), NullRect);
    EXPECT_EQ(sgStringToRect("1,2,3,4"), NullRect);
    EXPECT_EQ(sgStringToRect("(1,x,3,4)"), NullRect);
    EXPECT_EQ(sgStringToPoint("(5,6)"), (TsgPoint{5, 6}));
    EXPECT_EQ(sgStringToPoint("(5)"), (TsgPoint{}));
    // Beyond single precision is refused as malformed, not turned into infinity.
    EXPECT_EQ(sgStringToRect("(1,2,3,1e39)"), NullRect);
    EXPECT_EQ(sgStringToRect("(-1e300,2,3,4)"), NullRect);
    EXPECT_EQ(sgStringToPoint("(1e39,0)"), (TsgPoint{}));
    EXPECT_THROW(sgStrToFloat(u"4e38"), EConvertError);
    EXPECT_FLOAT_EQ(sgStrToFloat(u"3e38"), 3e38f);
    TsgRect r{-3.25f, 0.5f, 1e6f, 7};
    EXPECT_EQ(sgStringToRect(sgRectToString(r)), r);
}

} // namespace
