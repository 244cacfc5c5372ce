// The two text types the whole system is written against.
//
// UnicodeString holds UTF-16 code units, AnsiString holds 8-bit text, which on this platform is
// UTF-8. Both index from 1, as the callers expect: s[1] is the first unit, Pos answers 0 for
// "not found", SubString(start, count) clamps to the text. Conversion between the two is
// lossless: a lone surrogate travels through UTF-8 in its three-byte form and comes back.
#pragma once

#include <compare>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class AnsiString;

class UnicodeString {
public:
    UnicodeString() = default;
    UnicodeString(const char16_t* text) : data_(text ? text : u"") {}
    UnicodeString(std::u16string text) : data_(std::move(text)) {}
    UnicodeString(std::u16string_view text) : data_(text) {}
    UnicodeString(const char16_t* text, int length) : data_(text, static_cast<size_t>(length)) {}
    UnicodeString(char16_t unit, int count) : data_(static_cast<size_t>(count), unit) {}
    // 8-bit text is taken as UTF-8.
    UnicodeString(const char* utf8);
    UnicodeString(const std::string& utf8);
    UnicodeString(const AnsiString& text);

    static UnicodeString FromUtf8(std::string_view utf8);
    std::string ToUtf8() const;

    int Length() const { return static_cast<int>(data_.size()); }
    bool IsEmpty() const { return data_.empty(); }
    const char16_t* c_str() const { return data_.c_str(); }
    const std::u16string& str() const { return data_; }
    std::u16string& str() { return data_; }
    void SetLength(int length) { data_.resize(length < 0 ? 0 : static_cast<size_t>(length)); }

    // 1-based.
    char16_t operator[](int index) const { return data_[static_cast<size_t>(index - 1)]; }
    char16_t& operator[](int index) { return data_[static_cast<size_t>(index - 1)]; }

    UnicodeString SubString(int start, int count) const;
    int Pos(const UnicodeString& sub) const;
    int LastDelimiter(const UnicodeString& delimiters) const;
    bool IsDelimiter(const UnicodeString& delimiters, int index) const;
    UnicodeString& Delete(int index, int count);
    UnicodeString& Insert(const UnicodeString& text, int index);

    UnicodeString UpperCase() const;
    UnicodeString LowerCase() const;
    UnicodeString Trim() const;
    UnicodeString TrimLeft() const;
    UnicodeString TrimRight() const;

    UnicodeString& operator+=(const UnicodeString& other) {
        data_ += other.data_;
        return *this;
    }
    UnicodeString& operator+=(char16_t unit) {
        data_ += unit;
        return *this;
    }
    friend UnicodeString operator+(UnicodeString left, const UnicodeString& right) {
        left += right;
        return left;
    }
    friend bool operator==(const UnicodeString& a, const UnicodeString& b) {
        return a.data_ == b.data_;
    }
    friend std::strong_ordering operator<=>(const UnicodeString& a, const UnicodeString& b) {
        return a.data_.compare(b.data_) <=> 0;
    }

private:
    std::u16string data_;
};

class AnsiString {
public:
    AnsiString() = default;
    AnsiString(const char* text) : data_(text ? text : "") {}
    AnsiString(std::string text) : data_(std::move(text)) {}
    AnsiString(std::string_view text) : data_(text) {}
    AnsiString(const char* text, int length) : data_(text, static_cast<size_t>(length)) {}
    AnsiString(char unit, int count) : data_(static_cast<size_t>(count), unit) {}
    AnsiString(const UnicodeString& text) : data_(text.ToUtf8()) {}

    int Length() const { return static_cast<int>(data_.size()); }
    bool IsEmpty() const { return data_.empty(); }
    const char* c_str() const { return data_.c_str(); }
    const std::string& str() const { return data_; }
    std::string& str() { return data_; }
    void SetLength(int length) { data_.resize(length < 0 ? 0 : static_cast<size_t>(length)); }

    // 1-based.
    char operator[](int index) const { return data_[static_cast<size_t>(index - 1)]; }
    char& operator[](int index) { return data_[static_cast<size_t>(index - 1)]; }

    AnsiString SubString(int start, int count) const;
    int Pos(const AnsiString& sub) const;
    int LastDelimiter(const AnsiString& delimiters) const;
    bool IsDelimiter(const AnsiString& delimiters, int index) const;
    AnsiString& Delete(int index, int count);
    AnsiString& Insert(const AnsiString& text, int index);

    // Case mapping goes through UTF-16, so it is Unicode-aware for UTF-8 text.
    AnsiString UpperCase() const;
    AnsiString LowerCase() const;
    AnsiString Trim() const;
    AnsiString TrimLeft() const;
    AnsiString TrimRight() const;

    AnsiString& operator+=(const AnsiString& other) {
        data_ += other.data_;
        return *this;
    }
    AnsiString& operator+=(char unit) {
        data_ += unit;
        return *this;
    }
    friend AnsiString operator+(AnsiString left, const AnsiString& right) {
        left += right;
        return left;
    }
    friend bool operator==(const AnsiString& a, const AnsiString& b) { return a.data_ == b.data_; }
    friend std::strong_ordering operator<=>(const AnsiString& a, const AnsiString& b) {
        return a.data_.compare(b.data_) <=> 0;
    }

private:
    std::string data_;
};

// UTF-8 <-> UTF-16. Malformed UTF-8 bytes become U+FFFD each; lone surrogates survive both ways.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// The UTF-8 sequence that starts at byte `at` (< size): its length in bytes, with its code point
// in `code`; 0 when it is malformed (overlong, past U+10FFFF, cut short). Encoded surrogates
// count as well-formed.
size_t DecodeUtf8Sequence(std::string_view utf8, size_t at, char32_t* code);
// Appends one code point as UTF-16: a surrogate pair above U+FFFF, U+FFFD past U+10FFFF.
void AppendUtf16(std::u16string& out, char32_t code);

// Unicode simple case mapping of one UTF-16 unit (units of a surrogate pair map to themselves).
char16_t UpperCaseUnit(char16_t unit);
char16_t LowerCaseUnit(char16_t unit);

template <>
struct std::hash<UnicodeString> {
    size_t operator()(const UnicodeString& s) const noexcept {
        return std::hash<std::u16string>()(s.str());
    }
};
template <>
struct std::hash<AnsiString> {
    size_t operator()(const AnsiString& s) const noexcept {
        return std::hash<std::string>()(s.str());
    }
};
