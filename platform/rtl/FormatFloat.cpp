#include "platform/rtl/Conversions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Splits a picture at ';' outside quotes.
std::vector<std::u16string> Sections(const std::u16string& picture) {
    std::vector<std::u16string> sections(1);
    char16_t quote = 0;
    for (char16_t c : picture) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

struct Picture {
    std::u16string prefix, suffix;
    int minInteger = 0, minDecimals = 0, maxDecimals = 0;
    bool thousands = false, hasPoint = false, hasPlaceholder = false;
};

Picture Analyse(const std::u16string& section) {
    Picture picture;
    bool afterPoint = false;
    std::u16string literal;
    char16_t quote = 0;
    for (char16_t c : section) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                literal += c;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
            continue;
        }
        bool placeholder = c == u'0' || c == u'#';
        if (placeholder || c == u'.' || (c == u',' && !afterPoint && picture.hasPlaceholder)) {
            if (!picture.hasPlaceholder && !placeholder && c != u'.') {
                literal += c;
                continue;
            }
            if (!picture.hasPlaceholder && (placeholder || c == u'.')) {
                picture.prefix = literal;
                literal.clear();
            }
            picture.hasPlaceholder = picture.hasPlaceholder || placeholder || c == u'.';
            literal.clear();
            if (c == u'.') {
                picture.hasPoint = true;
                afterPoint = true;
            } else if (c == u',') {
                picture.thousands = true;
            } else if (afterPoint) {
                ++picture.maxDecimals;
                if (c == u'0')
                    picture.minDecimals = picture.maxDecimals;
            } else if (c == u'0' || picture.minInteger > 0) {
                if (c == u'0')
                    ++picture.minInteger;
            }
            continue;
        }
        literal += c;
    }
    if (picture.hasPlaceholder)
        picture.suffix = literal;
    else
        picture.prefix = literal;
    return picture;
}

// The platform rounds the shown digits half away from zero; printf would round the binary
// value to nearest-even. Twenty extra digits decide the direction.
void RoundHalfAwayFromZero(double magnitude, int decimals, std::string& integer,
                           std::string& fraction) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals + 20, magnitude);
    std::string text(buffer);
    size_t point = text.find('.');
    integer = text.substr(0, point);
    std::string rest = point == std::string::npos ? "" : text.substr(point + 1);
    fraction = rest.substr(0, static_cast<size_t>(decimals));
    if (rest.size() > static_cast<size_t>(decimals) && rest[static_cast<size_t>(decimals)] >= '5') {
        std::string digits = integer + fraction;
        size_t i = digits.size();
        while (i > 0) {
            --i;
            if (digits[i] == '9') {
                digits[i] = '0';
                continue;
            }
            ++digits[i];
            break;
        }
        if (i == 0 && digits[0] == '0')
            digits.insert(digits.begin(), '1');
        integer = digits.substr(0, digits.size() - fraction.size());
        fraction = digits.substr(digits.size() - fraction.size());
    }
}

std::u16string Render(const Picture& picture, double magnitude, bool negative,
                      const TFormatSettings& settings) {
    if (!picture.hasPlaceholder)
        return picture.prefix;
    std::string integer, fraction;
    RoundHalfAwayFromZero(magnitude, std::min(picture.maxDecimals, 40), integer, fraction);
    while (static_cast<int>(fraction.size()) > picture.minDecimals && !fraction.empty() &&
           fraction.back() == '0')
        fraction.pop_back();
    size_t firstSignificant = integer.find_first_not_of('0');
    integer = firstSignificant == std::string::npos ? "" : integer.substr(firstSignificant);
    if (static_cast<int>(integer.size()) < picture.minInteger)
        integer.insert(0, static_cast<size_t>(picture.minInteger) - integer.size(), '0');
    bool allZero = integer.find_first_not_of('0') == std::string::npos &&
                   fraction.find_first_not_of('0') == std::string::npos;
    std::u16string out = picture.prefix;
    if (negative && !allZero)
        out += u'-';
    for (size_t i = 0; i < integer.size(); ++i) {
        if (picture.thousands && i > 0 && (integer.size() - i) % 3 == 0)
            out += settings.ThousandSeparator;
        out += static_cast<char16_t>(integer[i]);
    }
    if (!fraction.empty()) {
        out += settings.DecimalSeparator;
        for (char c : fraction)
            out += static_cast<char16_t>(c);
    }
    return out + picture.suffix;
}

} // namespace

UnicodeString FormatFloat(const UnicodeString& picture, double value) {
    return FormatFloat(picture, value, FormatSettings());
}

UnicodeString FormatFloat(const UnicodeString& picture, double value,
                          const TFormatSettings& settings) {
    if (std::isnan(value) || std::isinf(value))
        return FloatToStr(value);
    std::vector<std::u16string> sections = Sections(picture.str());
    if (picture.IsEmpty())
        return FloatToStr(value);
    double magnitude = std::fabs(value);
    if (value < 0 && sections.size() >= 2 && !sections[1].empty())
        return UnicodeString(Render(Analyse(sections[1]), magnitude, false, settings));
    if (value == 0 && sections.size() >= 3 && !sections[2].empty())
        return UnicodeString(Render(Analyse(sections[2]), magnitude, false, settings));
    return UnicodeString(Render(Analyse(sections[0]), magnitude, value < 0, settings));
}
