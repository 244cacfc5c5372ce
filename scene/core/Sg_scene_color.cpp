#include "scene/core/Sg_scene_color.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/StringUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

// The CSS Color Module Level 3 keywords (the SVG 1.1 colour keywords).
const TsgColorIdent sgColorIdents[sgColorIdentCount] = {
    {"Aliceblue", "#FFF0F8FF"},
    {"Antiquewhite", "#FFFAEBD7"},
    {"Aqua", "#FF00FFFF"},
    {"Aquamarine", "#FF7FFFD4"},
    {"Azure", "#FFF0FFFF"},
    {"Beige", "#FFF5F5DC"},
    {"Bisque", "#FFFFE4C4"},
    {"Black", "#FF000000"},
    {"Blanchedalmond", "#FFFFEBCD"},
    {"Blue", "#FF0000FF"},
    {"Blueviolet", "#FF8A2BE2"},
    {"Brown", "#FFA52A2A"},
    {"Burlywood", "#FFDEB887"},
    {"Cadetblue", "#FF5F9EA0"},
    {"Chartreuse", "#FF7FFF00"},
    {"Chocolate", "#FFD2691E"},
    {"Coral", "#FFFF7F50"},
    {"Cornflowerblue", "#FF6495ED"},
    {"Cornsilk", "#FFFFF8DC"},
    {"Crimson", "#FFDC143C"},
    {"Cyan", "#FF00FFFF"},
    {"Darkblue", "#FF00008B"},
    {"Darkcyan", "#FF008B8B"},
    {"Darkgoldenrod", "#FFB8860B"},
    {"Darkgray", "#FFA9A9A9"},
    {"Darkgreen", "#FF006400"},
    {"Darkgrey", "#FFA9A9A9"},
    {"Darkkhaki", "#FFBDB76B"},
    {"Darkmagenta", "#FF8B008B"},
    {"Darkolivegreen", "#FF556B2F"},
    {"Darkorange", "#FFFF8C00"},
    {"Darkorchid", "#FF9932CC"},
    {"Darkred", "#FF8B0000"},
    {"Darksalmon", "#FFE9967A"},
    {"Darkseagreen", "#FF8FBC8F"},
    {"Darkslateblue", "#FF483D8B"},
    {"Darkslategray", "#FF2F4F4F"},
    {"Darkslategrey", "#FF2F4F4F"},
    {"Darkturquoise", "#FF00CED1"},
    {"Darkviolet", "#FF9400D3"},
    {"Deeppink", "#FFFF1493"},
    {"Deepskyblue", "#FF00BFFF"},
    {"Dimgray", "#FF696969"},
    {"Dimgrey", "#FF696969"},
    {"Dodgerblue", "#FF1E90FF"},
    {"Firebrick", "#FFB22222"},
    {"Floralwhite", "#FFFFFAF0"},
    {"Forestgreen", "#FF228B22"},
    {"Fuchsia", "#FFFF00FF"},
    {"Gainsboro", "#FFDCDCDC"},
    {"Ghostwhite", "#FFF8F8FF"},
    {"Gold", "#FFFFD700"},
    {"Goldenrod", "#FFDAA520"},
    {"Gray", "#FF808080"},
    {"Green", "#FF008000"},
    {"Greenyellow", "#FFADFF2F"},
    {"Grey", "#FF808080"},
    {"Honeydew", "#FFF0FFF0"},
    {"Hotpink", "#FFFF69B4"},
    {"Indianred", "#FFCD5C5C"},
    {"Indigo", "#FF4B0082"},
    {"Ivory", "#FFFFFFF0"},
    {"Khaki", "#FFF0E68C"},
    {"Lavender", "#FFE6E6FA"},
    {"Lavenderblush", "#FFFFF0F5"},
    {"Lawngreen", "#FF7CFC00"},
    {"Lemonchiffon", "#FFFFFACD"},
    {"Lightblue", "#FFADD8E6"},
    {"Lightcoral", "#FFF08080"},
    {"Lightcyan", "#FFE0FFFF"},
    {"Lightgoldenrodyellow", "#FFFAFAD2"},
    {"Lightgray", "#FFD3D3D3"},
    {"Lightgreen", "#FF90EE90"},
    {"Lightgrey", "#FFD3D3D3"},
    {"Lightpink", "#FFFFB6C1"},
    {"Lightsalmon", "#FFFFA07A"},
    {"Lightseagreen", "#FF20B2AA"},
    {"Lightskyblue", "#FF87CEFA"},
    {"Lightslategray", "#FF778899"},
    {"Lightslategrey", "#FF778899"},
    {"Lightsteelblue", "#FFB0C4DE"},
    {"Lightyellow", "#FFFFFFE0"},
    {"Lime", "#FF00FF00"},
    {"Limegreen", "#FF32CD32"},
    {"Linen", "#FFFAF0E6"},
    {"Magenta", "#FFFF00FF"},
    {"Maroon", "#FF800000"},
    {"Mediumaquamarine", "#FF66CDAA"},
    {"Mediumblue", "#FF0000CD"},
    {"Mediumorchid", "#FFBA55D3"},
    {"Mediumpurple", "#FF9370DB"},
    {"Mediumseagreen", "#FF3CB371"},
    {"Mediumslateblue", "#FF7B68EE"},
    {"Mediumspringgreen", "#FF00FA9A"},
    {"Mediumturquoise", "#FF48D1CC"},
    {"Mediumvioletred", "#FFC71585"},
    {"Midnightblue", "#FF191970"},
    {"Mintcream", "#FFF5FFFA"},
    {"Mistyrose", "#FFFFE4E1"},
    {"Moccasin", "#FFFFE4B5"},
    {"Navajowhite", "#FFFFDEAD"},
    {"Navy", "#FF000080"},
    {"Oldlace", "#FFFDF5E6"},
    {"Olive", "#FF808000"},
    {"Olivedrab", "#FF6B8E23"},
    {"Orange", "#FFFFA500"},
    {"Orangered", "#FFFF4500"},
    {"Orchid", "#FFDA70D6"},
    {"Palegoldenrod", "#FFEEE8AA"},
    {"Palegreen", "#FF98FB98"},
    {"Paleturquoise", "#FFAFEEEE"},
    {"Palevioletred", "#FFDB7093"},
    {"Papayawhip", "#FFFFEFD5"},
    {"Peachpuff", "#FFFFDAB9"},
    {"Peru", "#FFCD853F"},
    {"Pink", "#FFFFC0CB"},
    {"Plum", "#FFDDA0DD"},
    {"Powderblue", "#FFB0E0E6"},
    {"Purple", "#FF800080"},
    {"Red", "#FFFF0000"},
    {"Rosybrown", "#FFBC8F8F"},
    {"Royalblue", "#FF4169E1"},
    {"Saddlebrown", "#FF8B4513"},
    {"Salmon", "#FFFA8072"},
    {"Sandybrown", "#FFF4A460"},
    {"Seagreen", "#FF2E8B57"},
    {"Seashell", "#FFFFF5EE"},
    {"Sienna", "#FFA0522D"},
    {"Silver", "#FFC0C0C0"},
    {"Skyblue", "#FF87CEEB"},
    {"Slateblue", "#FF6A5ACD"},
    {"Slategray", "#FF708090"},
    {"Slategrey", "#FF708090"},
    {"Snow", "#FFFFFAFA"},
    {"Springgreen", "#FF00FF7F"},
    {"Steelblue", "#FF4682B4"},
    {"Tan", "#FFD2B48C"},
    {"Teal", "#FF008080"},
    {"Thistle", "#FFD8BFD8"},
    {"Tomato", "#FFFF6347"},
    {"Turquoise", "#FF40E0D0"},
    {"Violet", "#FFEE82EE"},
    {"Wheat", "#FFF5DEB3"},
    {"White", "#FFFFFFFF"},
    {"Whitesmoke", "#FFF5F5F5"},
    {"Yellow", "#FFFFFF00"},
    {"Yellowgreen", "#FF9ACD32"},
};

namespace {

uint8_t Channel(TsgColor c, int shift) {
    return static_cast<uint8_t>(c >> shift);
}

int RoundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

// Per channel (alpha, red, green, blue), through a function of the two channel values.
template <class F>
TsgColor PerChannel(TsgColor a, TsgColor b, F f) {
    TsgColor result = 0;
    for (int shift = 0; shift < 32; shift += 8)
        result |= TsgColor(f(Channel(a, shift), Channel(b, shift)) & 0xFF) << shift;
    return result;
}

} // namespace

TsgColor sgColor(uint8_t R, uint8_t G, uint8_t B, uint8_t A) {
    return (TsgColor(A) << 24) | (TsgColor(R) << 16) | (TsgColor(G) << 8) | TsgColor(B);
}

TsgColor sgCorrectColor(TsgColor C) {
    return C;
}

TsgColor sgPremultyAlpha(TsgColor C) {
    unsigned a = Channel(C, 24);
    if (a == 0)
        return 0;
    if (a == 255)
        return C;
    auto scale = [a](unsigned v) { return v * a / 255; };
    return sgColor(static_cast<uint8_t>(scale(Channel(C, 16))),
                   static_cast<uint8_t>(scale(Channel(C, 8))),
                   static_cast<uint8_t>(scale(Channel(C, 0))), static_cast<uint8_t>(a));
}

TsgColor sgUnpremultyAlpha(TsgColor C) {
    unsigned a = Channel(C, 24);
    if (a == 0)
        return 0;
    if (a == 255)
        return C;
    double factor = a / 255.0;
    // A channel above alpha is no valid premultiplied value; it keeps its low eight bits.
    auto scale = [factor](unsigned v) {
        return static_cast<uint8_t>(static_cast<unsigned>(std::trunc(v / factor)) & 0xFF);
    };
    return sgColor(scale(Channel(C, 16)), scale(Channel(C, 8)), scale(Channel(C, 0)),
                   static_cast<uint8_t>(a));
}

TsgColor sgOpacity(TsgColor C, float Opacity) {
    if (Opacity >= 1)
        return C;
    double alpha = std::trunc(static_cast<double>(Opacity) * Channel(C, 24));
    alpha = std::clamp(alpha, 0.0, 255.0);
    return (C & 0x00FFFFFF) | (TsgColor(alpha) << 24);
}

void RGBtoHSL(TsgColor C, float& H, float& S, float& L) {
    double r = Channel(C, 16) / 255.0, g = Channel(C, 8) / 255.0, b = Channel(C, 0) / 255.0;
    double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    double l = (mx + mn) / 2;
    double h = 0, s = 0;
    if (mx != mn) {
        double d = mx - mn;
        s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
        if (r == mx)
            h = (g - b) / d;
        else if (g == mx)
            h = (b - r) / d + 2;
        else
            h = (r - g) / d + 4;
        h /= 6;
        if (h < 0)
            h += 1;
    }
    H = static_cast<float>(h);
    S = static_cast<float>(s);
    L = static_cast<float>(l);
}

TsgColor HSLtoRGB(float H, float S, float L) {
    double h = H, s = S, l = L;
    if (s == 0) {
        auto v = static_cast<uint8_t>(RoundHalfEven(l * 255));
        return sgColor(v, v, v, 255);
    }
    double q = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    double p = 2 * l - q;
    auto channel = [p, q](double t) {
        t -= std::floor(t);
        double v;
        if (6 * t < 1)
            v = p + (q - p) * 6 * t;
        else if (2 * t < 1)
            v = q;
        else if (3 * t < 2)
            v = p + (q - p) * (2.0 / 3.0 - t) * 6;
        else
            v = p;
        return static_cast<uint8_t>(std::clamp(RoundHalfEven(v * 255), 0, 255));
    };
    return sgColor(channel(h + 1.0 / 3.0), channel(h), channel(h - 1.0 / 3.0), 255);
}

TsgColor sgChangeHSL(TsgColor C, float dH, float dS, float dL) {
    float h, s, l;
    RGBtoHSL(C, h, s, l);
    h = std::clamp(h + dH, 0.0f, 1.0f);
    s = std::clamp(s + dS, 0.0f, 1.0f);
    l = std::clamp(l + dL, 0.0f, 1.0f);
    return (HSLtoRGB(h, s, l) & 0x00FFFFFF) | (C & 0xFF000000);
}

TsgColor sgInterpolateColor(TsgColor Start, TsgColor Stop, float T) {
    return PerChannel(Start, Stop, [T](int a, int b) {
        return a + static_cast<int>(std::trunc((b - a) * static_cast<double>(T)));
    });
}

TsgColor sgAppendColor(TsgColor C1, TsgColor C2) {
    return PerChannel(C1, C2, [](int a, int b) { return std::min(a + b, 255); });
}

TsgColor sgSubtractColor(TsgColor C1, TsgColor C2) {
    return PerChannel(C1, C2, [](int a, int b) { return b > a ? 0 : a - b; });
}

UnicodeString sgColorToStr(TsgColor C) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%08X", static_cast<unsigned>(C));
    return UnicodeString(buf);
}

TsgColor sgStrToColor(const UnicodeString& Text) {
    UnicodeString text = Text;
    if (text.Length() == 1 && text[1] == u'\0') {
        text = u"$0";
    } else if (text.Length() > 0 && text[1] == u'#') {
        text[1] = u'$';
    } else {
        for (const TsgColorIdent& ident : sgColorIdents)
            if (SameText(text, UnicodeString(ident.Name))) {
                text = UnicodeString(ident.Value);
                text[1] = u'$';
                break;
            }
    }
    // The platform's integer parser: hexadecimal after '$' or 0x up to eight digits, the top
    // bit landing in the alpha; decimal within the 32-bit signed range.
    int64_t value;
    if (!TryStrToInt64(text, value))
        return 0;
    UnicodeString trimmed = Trim(text);
    int start = trimmed.Length() > 0 && (trimmed[1] == u'-' || trimmed[1] == u'+') ? 2 : 1;
    bool hex =
        trimmed.Length() >= start &&
        (trimmed[start] == u'$' || (trimmed.Length() > start && trimmed[start] == u'0' &&
                                    (trimmed[start + 1] == u'x' || trimmed[start + 1] == u'X')));
    int64_t highest = hex ? 0xFFFFFFFFll : std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min() || value > highest)
        return 0;
    return static_cast<TsgColor>(static_cast<uint32_t>(value));
}
