#include "platform/rtl/Format.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

uint64_t FormatArg::AsUnsigned() const {
    if (kind_ == Kind::Signed) {
        uint64_t value = static_cast<uint64_t>(signed_);
        return bits_ >= 64 ? value : value & ((uint64_t(1) << bits_) - 1);
    }
    return unsigned_;
}

namespace {

struct Directive {
    bool leftAlign = false, zeroPad = false, plus = false, space = false, alternate = false;
    int width = -1, precision = -1;
    char16_t type = 0;
};

[[noreturn]] void RaiseInvalid(const UnicodeString& pattern) {
    throw EConvertError(UnicodeString(u"Format '") + pattern +
                        UnicodeString(u"' invalid or incompatible with argument"));
}

std::u16string UnsignedDigits(uint64_t value, unsigned base, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::u16string out;
    do {
        out.insert(out.begin(), static_cast<char16_t>(digits[value % base]));
        value /= base;
    } while (value);
    return out;
}

// Width caps keep a hostile pattern like "%999999999d" from asking for gigabytes.
constexpr int kMaxWidth = 1 << 20;
constexpr int kMaxPrecision = 1 << 10;

// Lays out sign + prefix + digits with width, zero padding and precision as printf does.
std::u16string PadNumber(std::u16string sign, std::u16string digits, const Directive& directive,
                         bool integer) {
    if (integer && directive.precision >= 0) {
        if (directive.precision == 0 && digits == u"0")
            digits.clear();
        if (static_cast<int>(digits.size()) < directive.precision)
            digits.insert(0, static_cast<size_t>(directive.precision) - digits.size(), u'0');
    }
    int length = static_cast<int>(sign.size() + digits.size());
    if (directive.width > length) {
        size_t fill = static_cast<size_t>(directive.width - length);
        bool zeros =
            directive.zeroPad && !directive.leftAlign && !(integer && directive.precision >= 0);
        if (directive.leftAlign)
            return sign + digits + std::u16string(fill, u' ');
        if (zeros)
            return sign + std::u16string(fill, u'0') + digits;
        return std::u16string(fill, u' ') + sign + digits;
    }
    return sign + digits;
}

std::u16string PadText(std::u16string text, const Directive& directive) {
    if (directive.precision >= 0 && static_cast<int>(text.size()) > directive.precision)
        text.resize(static_cast<size_t>(directive.precision));
    if (directive.width > static_cast<int>(text.size())) {
        size_t fill = static_cast<size_t>(directive.width) - text.size();
        if (directive.leftAlign)
            text.append(fill, u' ');
        else
            text.insert(0, fill, u' ');
    }
    return text;
}

std::u16string SignOf(bool negative, const Directive& directive) {
    if (negative)
        return u"-";
    if (directive.plus)
        return u"+";
    if (directive.space)
        return u" ";
    return u"";
}

std::u16string FormatFloatDirective(double value, const Directive& directive,
                                    const TFormatSettings& settings) {
    if (std::isnan(value) || std::isinf(value)) {
        std::u16string text = std::isnan(value) ? u"NAN" : (value < 0 ? u"-INF" : u"INF");
        Directive plain = directive;
        plain.zeroPad = false;
        plain.precision = -1;
        return PadText(text, plain);
    }
    bool negative = std::signbit(value) && value != 0;
    double magnitude = std::fabs(value);
    char type = static_cast<char>(directive.type);
    int precision =
        directive.precision >= 0 ? directive.precision : (type == 'g' || type == 'G' ? 6 : 6);
    if (type == 'n')
        precision = directive.precision >= 0 ? directive.precision : 2;
    char conversion = type == 'n' ? 'f' : type;
    char pattern[16];
    std::snprintf(pattern, sizeof pattern, "%%%s.%d%c", directive.alternate ? "#" : "", precision,
                  conversion);
    // The C library's output is locale-dependent only in its radix character, which the
    // program never changes from "C"; it is swapped for the chosen separator below.
    int needed = std::snprintf(nullptr, 0, pattern, magnitude);
    std::string buffer(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(buffer.data(), buffer.size(), pattern, magnitude);
    buffer.resize(static_cast<size_t>(needed));
    std::u16string digits;
    size_t point = buffer.find('.');
    for (size_t i = 0; i < buffer.size(); ++i)
        digits += i == point ? settings.DecimalSeparator : static_cast<char16_t>(buffer[i]);
    if (type == 'n') {
        size_t integerEnd = point == std::string::npos ? digits.size() : point;
        for (size_t at = integerEnd; at > 3; at -= 3)
            digits.insert(at - 3, 1, settings.ThousandSeparator);
    }
    return PadNumber(SignOf(negative, directive), digits, directive, false);
}

std::u16string FormatOne(const Directive& directive, const FormatArg& arg,
                         const UnicodeString& pattern, const TFormatSettings& settings) {
    using Kind = FormatArg::Kind;
    bool isInteger = arg.kind() == Kind::Signed || arg.kind() == Kind::Unsigned;
    // A character is a number to the integer types, as in C.
    bool isNumber = isInteger || arg.kind() == Kind::Char;
    switch (directive.type) {
    case u'd':
    case u'i': {
        if (!isNumber)
            RaiseInvalid(pattern);
        if (arg.kind() == Kind::Signed) {
            int64_t v = arg.AsSigned();
            uint64_t magnitude = v < 0 ? uint64_t(0) - static_cast<uint64_t>(v) : uint64_t(v);
            return PadNumber(SignOf(v < 0, directive), UnsignedDigits(magnitude, 10, false),
                             directive, true);
        }
        return PadNumber(SignOf(false, directive), UnsignedDigits(arg.AsUnsigned(), 10, false),
                         directive, true);
    }
    case u'u':
    case u'x':
    case u'X':
    case u'o': {
        if (!isNumber)
            RaiseInvalid(pattern);
        unsigned base = directive.type == u'u' ? 10 : directive.type == u'o' ? 8 : 16;
        std::u16string prefix;
        if (directive.alternate && base == 16 && arg.AsUnsigned() != 0)
            prefix = u"0X";
        return PadNumber(prefix, UnsignedDigits(arg.AsUnsigned(), base, true), directive, true);
    }
    case u'f':
    case u'e':
    case u'E':
    case u'g':
    case u'G':
    case u'n': {
        double value = 0;
        if (arg.kind() == Kind::Float)
            value = arg.AsFloat();
        else if (arg.kind() == Kind::Signed)
            value = static_cast<double>(arg.AsSigned());
        else if (arg.kind() == Kind::Unsigned)
            value = static_cast<double>(arg.AsUnsigned());
        else
            RaiseInvalid(pattern);
        return FormatFloatDirective(value, directive, settings);
    }
    case u's': {
        if (arg.kind() == Kind::Text)
            return PadText(arg.AsText(), directive);
        if (isInteger) {
            Directive decimal;
            decimal.type = u'd';
            decimal.width = directive.width;
            decimal.leftAlign = directive.leftAlign;
            return FormatOne(decimal, arg, pattern, settings);
        }
        if (arg.kind() == Kind::Char) {
            Directive character = directive;
            character.type = u'c';
            return FormatOne(character, arg, pattern, settings);
        }
        RaiseInvalid(pattern);
    }
    case u'c': {
        if (arg.kind() != Kind::Char && !isInteger)
            RaiseInvalid(pattern);
        uint64_t code = arg.AsUnsigned();
        std::u16string text;
        AppendUtf16(text, code <= 0x10FFFF ? static_cast<char32_t>(code) : char32_t(0xFFFD));
        Directive plain = directive;
        plain.precision = -1;
        return PadText(text, plain);
    }
    case u'p': {
        if (arg.kind() != Kind::Pointer)
            RaiseInvalid(pattern);
        Directive padded = directive;
        padded.precision = static_cast<int>(sizeof(void*) * 2);
        return PadNumber(u"", UnsignedDigits(arg.AsUnsigned(), 16, true), padded, true);
    }
    default:
        RaiseInvalid(pattern);
    }
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Reads a decimal number or '*' (taken from the arguments); -1 when neither is there.
int ReadCount(const std::u16string& p, size_t& i, std::span<const FormatArg> args, size_t& next,
              const UnicodeString& pattern, int cap) {
    if (i < p.size() && p[i] == u'*') {
        ++i;
        if (next >= args.size())
            RaiseInvalid(pattern);
        const FormatArg& count = args[next++];
        int64_t v;
        if (count.kind() == FormatArg::Kind::Signed)
            v = count.AsSigned();
        else if (count.kind() == FormatArg::Kind::Unsigned)
            v = static_cast<int64_t>(std::min<uint64_t>(count.AsUnsigned(), uint64_t(cap) + 1));
        else
            RaiseInvalid(pattern);
        return static_cast<int>(std::clamp<int64_t>(v, -1, cap));
    }
    if (i >= p.size() || !IsDigit(p[i]))
        return -1;
    int64_t v = 0;
    while (i < p.size() && IsDigit(p[i])) {
        v = std::min<int64_t>(v * 10 + (p[i] - u'0'), int64_t(cap) + 1);
        ++i;
    }
    if (v > cap)
        RaiseInvalid(pattern);
    return static_cast<int>(v);
}

} // namespace

UnicodeString FormatWithArgs(const UnicodeString& pattern, std::span<const FormatArg> args,
                             const TFormatSettings& settings) {
    const std::u16string& p = pattern.str();
    std::u16string out;
    size_t next = 0;
    size_t i = 0;
    while (i < p.size()) {
        char16_t c = p[i++];
        if (c != u'%') {
            out += c;
            continue;
        }
        if (i < p.size() && p[i] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        Directive directive;
        // An explicit argument index "n:" resets the running index, as the platform allows.
        size_t look = i;
        while (look < p.size() && IsDigit(p[look]))
            ++look;
        if (look > i && look < p.size() && p[look] == u':') {
            size_t index = 0;
            for (size_t k = i; k < look; ++k)
                index = std::min<size_t>(index * 10 + (p[k] - u'0'), args.size() + 1);
            next = index;
            i = look + 1;
        }
        for (; i < p.size(); ++i) {
            char16_t f = p[i];
            if (f == u'-')
                directive.leftAlign = true;
            else if (f == u'0')
                directive.zeroPad = true;
            else if (f == u'+')
                directive.plus = true;
            else if (f == u' ')
                directive.space = true;
            else if (f == u'#')
                directive.alternate = true;
            else
                break;
        }
        directive.width = ReadCount(p, i, args, next, pattern, kMaxWidth);
        if (directive.width < -1)
            directive.width = -1;
        if (i < p.size() && p[i] == u'.') {
            ++i;
            directive.precision = ReadCount(p, i, args, next, pattern, kMaxPrecision);
            if (directive.precision < 0)
                directive.precision = 0;
        }
        // Size prefixes: every argument knows its own width.
        while (i < p.size()) {
            if (p.compare(i, 3, u"I64") == 0 || p.compare(i, 3, u"I32") == 0)
                i += 3;
            else if (p[i] == u'h' || p[i] == u'l' || p[i] == u'L' || p[i] == u'j' || p[i] == u'z' ||
                     p[i] == u't' || p[i] == u'q')
                ++i;
            else
                break;
        }
        if (i >= p.size())
            RaiseInvalid(pattern);
        directive.type = p[i++];
        if (next >= args.size())
            RaiseInvalid(pattern);
        out += FormatOne(directive, args[next++], pattern, settings);
    }
    return UnicodeString(std::move(out));
}
