#include "platform/rtl/UnicodeString.h"

#include <algorithm>
#include <cwctype>
#include <locale.h>
#include <wctype.h>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Case mapping must not depend on whatever locale the process was started with.
locale_t CaseLocale() {
    static locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return l ? l : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
    }();
    return locale;
}

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Shared by both string types: they differ only in their unit type.
template <typename String>
String SubStringOf(const String& s, int start, int count) {
    int length = static_cast<int>(s.size());
    if (start < 1)
        start = 1;
    if (count <= 0 || start > length)
        return String();
    return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

template <typename String>
int PosOf(const String& s, const String& sub) {
    if (sub.empty())
        return 0;
    size_t at = s.find(sub);
    return at == String::npos ? 0 : static_cast<int>(at) + 1;
}

template <typename String>
int LastDelimiterOf(const String& s, const String& delimiters) {
    size_t at = s.find_last_of(delimiters);
    return at == String::npos ? 0 : static_cast<int>(at) + 1;
}

template <typename String>
bool IsDelimiterOf(const String& s, const String& delimiters, int index) {
    if (index < 1 || index > static_cast<int>(s.size()))
        return false;
    return delimiters.find(s[static_cast<size_t>(index - 1)]) != String::npos;
}

template <typename String>
void DeleteFrom(String& s, int index, int count) {
    if (index < 1 || index > static_cast<int>(s.size()) || count <= 0)
        return;
    s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

template <typename String>
void InsertInto(String& s, const String& text, int index) {
    if (index < 1)
        index = 1;
    size_t at = std::min(static_cast<size_t>(index - 1), s.size());
    s.insert(at, text);
}

// Trim drops control characters and spaces: everything up to U+0020.
template <typename String>
String TrimOf(const String& s, bool left, bool right) {
    size_t begin = 0, end = s.size();
    auto blank = [](auto c) { return static_cast<std::make_unsigned_t<decltype(c)>>(c) <= 0x20; };
    if (left)
        while (begin < end && blank(s[begin]))
            ++begin;
    if (right)
        while (end > begin && blank(s[end - 1]))
            --end;
    return s.substr(begin, end - begin);
}

} // namespace

size_t DecodeUtf8Sequence(std::string_view in, size_t at, char32_t* code) {
    unsigned char b = static_cast<unsigned char>(in[at]);
    if (b < 0x80) {
        *code = b;
        return 1;
    }
    // F5..FF never start a sequence: whatever follows them, they are malformed on their own.
    int extra = b >= 0xF0 && b <= 0xF4   ? 3
                : b >= 0xE0 && b <= 0xEF ? 2
                : b >= 0xC2 && b < 0xE0  ? 1
                                         : -1;
    if (extra < 0 || at + static_cast<size_t>(extra) >= in.size())
        return 0;
    char32_t c = b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        unsigned char cont = static_cast<unsigned char>(in[at + static_cast<size_t>(k)]);
        if ((cont & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (cont & 0x3F);
    }
    // Overlong forms and values past U+10FFFF are malformed; surrogates are kept on purpose.
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[extra] || c > 0x10FFFF)
        return 0;
    *code = c;
    return static_cast<size_t>(extra) + 1;
}

void AppendUtf16(std::u16string& out, char32_t code) {
    if (code > 0x10FFFF) {
        out += kReplacement;
    } else if (code >= 0x10000) {
        code -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (code >> 10));
        out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
        out += static_cast<char16_t>(code);
    }
}

std::u16string Utf8ToUtf16(std::string_view in) {
    std::u16string out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        char32_t c = 0;
        size_t length = DecodeUtf8Sequence(in, i, &c);
        if (length == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        AppendUtf16(out, c);
        i += length;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view in) {
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
            in[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

char16_t UpperCaseUnit(char16_t unit) {
    if (unit < 0x80)
        return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 32) : unit;
    if (IsSurrogate(unit))
        return unit;
    wint_t mapped = towupper_l(static_cast<wint_t>(unit), CaseLocale());
    return mapped <= 0xFFFF && !IsSurrogate(mapped) ? static_cast<char16_t>(mapped) : unit;
}

char16_t LowerCaseUnit(char16_t unit) {
    if (unit < 0x80)
        return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit;
    if (IsSurrogate(unit))
        return unit;
    wint_t mapped = towlower_l(static_cast<wint_t>(unit), CaseLocale());
    return mapped <= 0xFFFF && !IsSurrogate(mapped) ? static_cast<char16_t>(mapped) : unit;
}

// --- UnicodeString

UnicodeString::UnicodeString(const char* utf8) : data_(Utf8ToUtf16(utf8 ? utf8 : "")) {}
UnicodeString::UnicodeString(const std::string& utf8) : data_(Utf8ToUtf16(utf8)) {}
UnicodeString::UnicodeString(const AnsiString& text) : data_(Utf8ToUtf16(text.str())) {}

UnicodeString UnicodeString::FromUtf8(std::string_view utf8) {
    return Utf8ToUtf16(utf8);
}
std::string UnicodeString::ToUtf8() const {
    return Utf16ToUtf8(data_);
}

UnicodeString UnicodeString::SubString(int start, int count) const {
    return SubStringOf(data_, start, count);
}
int UnicodeString::Pos(const UnicodeString& sub) const {
    return PosOf(data_, sub.data_);
}
int UnicodeString::LastDelimiter(const UnicodeString& delimiters) const {
    return LastDelimiterOf(data_, delimiters.data_);
}
bool UnicodeString::IsDelimiter(const UnicodeString& delimiters, int index) const {
    return IsDelimiterOf(data_, delimiters.data_, index);
}
UnicodeString& UnicodeString::Delete(int index, int count) {
    DeleteFrom(data_, index, count);
    return *this;
}
UnicodeString& UnicodeString::Insert(const UnicodeString& text, int index) {
    InsertInto(data_, text.data_, index);
    return *this;
}

UnicodeString UnicodeString::UpperCase() const {
    std::u16string out(data_);
    for (char16_t& c : out)
        c = UpperCaseUnit(c);
    return out;
}

UnicodeString UnicodeString::LowerCase() const {
    std::u16string out(data_);
    for (char16_t& c : out)
        c = LowerCaseUnit(c);
    return out;
}

UnicodeString UnicodeString::Trim() const {
    return TrimOf(data_, true, true);
}
UnicodeString UnicodeString::TrimLeft() const {
    return TrimOf(data_, true, false);
}
UnicodeString UnicodeString::TrimRight() const {
    return TrimOf(data_, false, true);
}

// --- AnsiString

AnsiString AnsiString::SubString(int start, int count) const {
    return SubStringOf(data_, start, count);
}
int AnsiString::Pos(const AnsiString& sub) const {
    return PosOf(data_, sub.data_);
}
int AnsiString::LastDelimiter(const AnsiString& delimiters) const {
    return LastDelimiterOf(data_, delimiters.data_);
}
bool AnsiString::IsDelimiter(const AnsiString& delimiters, int index) const {
    return IsDelimiterOf(data_, delimiters.data_, index);
}
AnsiString& AnsiString::Delete(int index, int count) {
    DeleteFrom(data_, index, count);
    return *this;
}
AnsiString& AnsiString::Insert(const AnsiString& text, int index) {
    InsertInto(data_, text.data_, index);
    return *this;
}

AnsiString AnsiString::UpperCase() const {
    return AnsiString(UnicodeString(*this).UpperCase());
}
AnsiString AnsiString::LowerCase() const {
    return AnsiString(UnicodeString(*this).LowerCase());
}
AnsiString AnsiString::Trim() const {
    return TrimOf(data_, true, true);
}
AnsiString AnsiString::TrimLeft() const {
    return TrimOf(data_, true, false);
}
AnsiString AnsiString::TrimRight() const {
    return TrimOf(data_, false, true);
}
