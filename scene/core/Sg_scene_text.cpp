#include "scene/core/Sg_scene_text.h"

#include "scene/core/Sg_utils.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StringUtils.h"

#include <charconv>
#include <cmath>
#include <string>

UnicodeString sgFloatToStr(float X) {
    DecimalSeparatorScope separator(u'.');
    double value = X;
    char buf[512];
    // to_chars never looks at the C locale, so no setlocale can bring a ',' in.
    bool fraction = value != std::trunc(value);
    auto result =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, fraction ? 3 : 0);
    std::string text(buf, result.ptr);
    if (text == "-0")
        text = "0";
    return UnicodeString(text);
}

float sgStrToFloat(const UnicodeString& Text) {
    DecimalSeparatorScope separator(u'.');
    const float value =
        static_cast<float>(StrToFloat(StringReplace(Text, u",", u".", rfReplaceAll)));
    // A number beyond single precision would come back as infinity.
    if (!std::isfinite(value))
        throw EConvertError(AnsiString("'") + AnsiString(Text) +
                            "' is not a valid floating point value");
    return value;
}

float sgStrToFloatDef(const UnicodeString& Text, float Default) {
    try {
        return sgStrToFloat(Text);
    } catch (const EConvertError&) {
        return Default;
    }
}

AnsiString sgRectToString(const TsgRect& R) {
    return AnsiString("(") + AnsiString(sgFloatToStr(R.Left)) + "," +
           AnsiString(sgFloatToStr(R.Top)) + "," + AnsiString(sgFloatToStr(R.Right)) + "," +
           AnsiString(sgFloatToStr(R.Bottom)) + ")";
}

AnsiString sgPointToString(const TsgPoint& P) {
    return AnsiString("(") + AnsiString(sgFloatToStr(P.X)) + "," + AnsiString(sgFloatToStr(P.Y)) +
           ")";
}

namespace {

// Reads count numbers after the discarded leading token; false on any conversion error.
bool ReadNumbers(AnsiString text, float* out, int count) {
    try {
        GetToken(text, ",()");
        for (int i = 0; i < count; ++i)
            out[i] = sgStrToFloat(UnicodeString(GetToken(text, ",()")));
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

} // namespace

TsgRect sgStringToRect(const AnsiString& Text) {
    float v[4];
    if (!ReadNumbers(Text, v, 4))
        return NullRect;
    return {v[0], v[1], v[2], v[3]};
}

TsgPoint sgStringToPoint(const AnsiString& Text) {
    float v[2];
    if (!ReadNumbers(Text, v, 2))
        return {};
    return {v[0], v[1]};
}
