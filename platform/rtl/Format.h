// printf-style formatting, type-safe.
//
// Format(pattern, args...) takes its arguments by value into a small variant, so no object ever
// travels through C varargs. A specifier is
//     % [index:] [flags - 0 + space #] [width | *] [. precision | .*] [size] type
// Size prefixes (h, hh, l, ll, L, I64, I32, j, z, t) are accepted and ignored: every integer
// argument carries its own width. Types:
//   d i      signed decimal               u        unsigned decimal
//   x X      hexadecimal, upper case (as the platform writes it)   o  octal
//   f e E g G  floating point, decimal separator from FormatSettings() (or the given settings)
//   n        fixed with thousand separators   s  text (either string type; an integer is
//            written in decimal, since translated texts use %s for counts)
//   c        one character     p  pointer as upper-case hexadecimal     %%  a percent sign
// A missing argument or an argument that does not fit its specifier (text for %d, a float for
// %x) raises EConvertError, as the platform does; integers are accepted by the float types.
#pragma once

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <type_traits>

class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Float, Text, Char, Pointer };

    template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char> &&
             !std::is_same_v<T, char16_t> && !std::is_same_v<T, wchar_t>) FormatArg(T value)
        : bits_(sizeof(T) * 8) {
        if constexpr (std::is_signed_v<T>) {
            kind_ = Kind::Signed;
            signed_ = value;
        } else {
            kind_ = Kind::Unsigned;
            unsigned_ = value;
        }
    }
    // Booleans print as 0 and 1 would hide mistakes; name the text you mean instead.
    FormatArg(bool) = delete;
    FormatArg(double value) : kind_(Kind::Float), float_(value) {}
    FormatArg(float value) : kind_(Kind::Float), float_(value) {}
    FormatArg(long double value) : kind_(Kind::Float), float_(static_cast<double>(value)) {}
    FormatArg(char value) : kind_(Kind::Char), unsigned_(static_cast<unsigned char>(value)) {}
    FormatArg(char16_t value) : kind_(Kind::Char), unsigned_(value) {}
    FormatArg(wchar_t value) : kind_(Kind::Char), unsigned_(static_cast<uint32_t>(value)) {}
    FormatArg(const UnicodeString& value) : kind_(Kind::Text), text_(&value.str()) {}
    FormatArg(const AnsiString& value) : kind_(Kind::Text), owned_(Utf8ToUtf16(value.str())) {}
    FormatArg(const std::string& value) : kind_(Kind::Text), owned_(Utf8ToUtf16(value)) {}
    FormatArg(const std::u16string& value) : kind_(Kind::Text), text_(&value) {}
    FormatArg(const char* value) : kind_(Kind::Text), owned_(Utf8ToUtf16(value ? value : "")) {}
    FormatArg(const char16_t* value) : kind_(Kind::Text), owned_(value ? value : u"") {}
    FormatArg(const void* value)
        : kind_(Kind::Pointer), unsigned_(reinterpret_cast<uintptr_t>(value)),
          bits_(sizeof(void*) * 8) {}

    Kind kind() const { return kind_; }
    int64_t AsSigned() const { return signed_; }
    // The value as the unsigned number of its own width: -1 of a 32-bit int is 0xFFFFFFFF.
    uint64_t AsUnsigned() const;
    double AsFloat() const { return float_; }
    const std::u16string& AsText() const { return text_ ? *text_ : owned_; }

private:
    Kind kind_;
    int64_t signed_ = 0;
    uint64_t unsigned_ = 0;
    double float_ = 0;
    int bits_ = 64;
    const std::u16string* text_ = nullptr;
    std::u16string owned_;
};

UnicodeString FormatWithArgs(const UnicodeString& pattern, std::span<const FormatArg> args,
                             const TFormatSettings& settings);

template <typename... Args>
UnicodeString Format(const UnicodeString& pattern, const Args&... args) {
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return FormatWithArgs(pattern, std::span<const FormatArg>(list, sizeof...(Args)),
                          FormatSettings());
}

// As Format, with explicit settings instead of the process-wide ones.
template <typename... Args>
UnicodeString FormatWith(const TFormatSettings& settings, const UnicodeString& pattern,
                         const Args&... args) {
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return FormatWithArgs(pattern, std::span<const FormatArg>(list, sizeof...(Args)), settings);
}
