#include "platform/rtl/Conversions.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

bool IsBlank(char16_t c) {
    return c <= u' ';
}

// Parses an integer text into a magnitude and sign; false for anything malformed or a
// magnitude beyond 2^64-1.
bool ParseInteger(const std::u16string& s, bool& negative, uint64_t& magnitude) {
    // Leading spaces are skipped; anything after the digits, blanks included, makes the text
    // invalid, as with the platform's conversion ("12 " is no number).
    size_t i = 0, end = s.size();
    while (i < end && s[i] == u' ')
        ++i;
    negative = false;
    if (i < end && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    unsigned base = 10;
    if (i < end && s[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < end && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= end)
        return false;
    magnitude = 0;
    for (; i < end; ++i) {
        const int value = HexDigitValue(s[i]);
        if (value < 0 || value >= static_cast<int>(base))
            return false;
        const auto digit = static_cast<unsigned>(value);
        if (magnitude > (std::numeric_limits<uint64_t>::max() - digit) / base)
            return false;
        magnitude = magnitude * base + digit;
    }
    return true;
}

template <typename T>
bool TryParse(const UnicodeString& text, T& value) {
    bool negative;
    uint64_t magnitude;
    if (!ParseInteger(text.str(), negative, magnitude))
        return false;
    const uint64_t maxPositive = static_cast<uint64_t>(std::numeric_limits<T>::max());
    if (!negative) {
        if (magnitude > maxPositive) {
            // Hexadecimal texts may spell a negative number in two's complement ("$FFFFFFFF").
            return false;
        }
        value = static_cast<T>(magnitude);
        return true;
    }
    if (magnitude > maxPositive + 1)
        return false;
    value =
        magnitude == maxPositive + 1 ? std::numeric_limits<T>::min() : -static_cast<T>(magnitude);
    return true;
}

[[noreturn]] void RaiseNotInteger(const UnicodeString& text) {
    throw EConvertError(UnicodeString(u"'") + text +
                        UnicodeString(u"' is not a valid integer value"));
}

} // namespace

UnicodeString IntToStr(int64_t value) {
    return UnicodeString(std::to_string(value));
}

UnicodeString UIntToStr(uint64_t value) {
    return UnicodeString(std::to_string(value));
}

UnicodeString IntToHex(uint64_t value, int digits) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*llX", digits < 0 ? 0 : (digits > 16 ? 16 : digits),
                  static_cast<unsigned long long>(value));
    return UnicodeString(buffer);
}

bool TryStrToInt(const UnicodeString& text, int& value) {
    return TryParse(text, value);
}

bool TryStrToInt64(const UnicodeString& text, int64_t& value) {
    return TryParse(text, value);
}

int StrToInt(const UnicodeString& text) {
    int value;
    if (!TryParse(text, value))
        RaiseNotInteger(text);
    return value;
}

int64_t StrToInt64(const UnicodeString& text) {
    int64_t value;
    if (!TryParse(text, value))
        RaiseNotInteger(text);
    return value;
}

int StrToIntDef(const UnicodeString& text, int defaultValue) {
    int value;
    return TryParse(text, value) ? value : defaultValue;
}

int64_t StrToInt64Def(const UnicodeString& text, int64_t defaultValue) {
    int64_t value;
    return TryParse(text, value) ? value : defaultValue;
}

UnicodeString FloatToStr(double value) {
    if (std::isnan(value))
        return u"NAN";
    if (std::isinf(value))
        return value < 0 ? u"-INF" : u"INF";
    if (value == 0)
        return u"0";
    // Fifteen significant digits, as the platform's general format gives them.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    std::string text(buffer);
    size_t e = text.find('e');
    int exponent = std::atoi(text.c_str() + e + 1);
    std::string mantissa = text.substr(0, e);
    bool negative = mantissa[0] == '-';
    std::string digits;
    for (char c : mantissa)
        if (c >= '0' && c <= '9')
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1)
            out += "." + digits.substr(1);
        out += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else {
        size_t integerDigits = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out += digits + std::string(integerDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
        }
    }
    return UnicodeString(out);
}

bool TryStrToFloat(const UnicodeString& text, double& value) {
    const std::u16string& s = text.str();
    size_t i = 0, end = s.size();
    while (i < end && IsBlank(s[i]))
        ++i;
    while (end > i && IsBlank(s[end - 1]))
        --end;
    // Only the plain decimal grammar; from_chars would also take "inf", "nan" and hex floats.
    std::string ascii;
    size_t k = i;
    if (k < end && (s[k] == u'+' || s[k] == u'-'))
        ascii += static_cast<char>(s[k++]);
    size_t mantissaDigits = 0;
    while (k < end && s[k] >= u'0' && s[k] <= u'9') {
        ascii += static_cast<char>(s[k++]);
        ++mantissaDigits;
    }
    if (k < end && s[k] == u'.') {
        ascii += '.';
        ++k;
        while (k < end && s[k] >= u'0' && s[k] <= u'9') {
            ascii += static_cast<char>(s[k++]);
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (k < end && (s[k] == u'e' || s[k] == u'E')) {
        ascii += 'e';
        ++k;
        if (k < end && (s[k] == u'+' || s[k] == u'-'))
            ascii += static_cast<char>(s[k++]);
        size_t exponentDigits = 0;
        while (k < end && s[k] >= u'0' && s[k] <= u'9') {
            ascii += static_cast<char>(s[k++]);
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    if (k != end)
        return false;
    const char* first = ascii.data();
    if (*first == '+')
        ++first;
    double parsed = 0;
    auto [ptr, ec] = std::from_chars(first, ascii.data() + ascii.size(), parsed);
    if (ptr != ascii.data() + ascii.size())
        return false;
    if (ec == std::errc::result_out_of_range) {
        // Overflow is no number; underflow is a zero of the right sign.
        bool negative = ascii[0] == '-';
        size_t ePos = ascii.find('e');
        if (ePos == std::string::npos || ascii.find('-', ePos) == std::string::npos)
            return false;
        value = negative ? -0.0 : 0.0;
        return true;
    }
    if (ec != std::errc())
        return false;
    value = parsed;
    return true;
}

double StrToFloat(const UnicodeString& text) {
    double value;
    if (!TryStrToFloat(text, value))
        throw EConvertError(UnicodeString(u"'") + text +
                            UnicodeString(u"' is not a valid floating point value"));
    return value;
}

double StrToFloatDef(const UnicodeString& text, double defaultValue) {
    double value;
    return TryStrToFloat(text, value) ? value : defaultValue;
}

namespace {

double CheckedForInteger(double value) {
    // 2^63 is exact as a double; anything at or beyond it does not fit.
    if (!(value > -9223372036854775808.0 - 1024.0 && value < 9223372036854775808.0))
        throw EInvalidOp(u"Invalid floating point operation");
    return value;
}

} // namespace

int64_t Round(double value) {
    // nearbyint follows the current rounding mode, which the program never leaves
    // round-to-nearest-even; rint/nearbyint both give halves to even in that mode.
    double rounded = std::nearbyint(value);
    if (rounded < -9223372036854775808.0)
        throw EInvalidOp(u"Invalid floating point operation");
    return static_cast<int64_t>(CheckedForInteger(rounded));
}

int64_t Trunc(double value) {
    double truncated = std::trunc(value);
    if (truncated < -9223372036854775808.0)
        throw EInvalidOp(u"Invalid floating point operation");
    return static_cast<int64_t>(CheckedForInteger(truncated));
}
