#include "platform/rtl/StringUtils.h"

#include <algorithm>

UnicodeString UpperCase(const UnicodeString& text) {
    return text.UpperCase();
}
UnicodeString LowerCase(const UnicodeString& text) {
    return text.LowerCase();
}
AnsiString UpperCase(const AnsiString& text) {
    return text.UpperCase();
}
AnsiString LowerCase(const AnsiString& text) {
    return text.LowerCase();
}

UnicodeString Trim(const UnicodeString& text) {
    return text.Trim();
}
UnicodeString TrimLeft(const UnicodeString& text) {
    return text.TrimLeft();
}
UnicodeString TrimRight(const UnicodeString& text) {
    return text.TrimRight();
}
AnsiString Trim(const AnsiString& text) {
    return text.Trim();
}
AnsiString TrimLeft(const AnsiString& text) {
    return text.TrimLeft();
}
AnsiString TrimRight(const AnsiString& text) {
    return text.TrimRight();
}

int CompareStr(const UnicodeString& a, const UnicodeString& b) {
    return a.str().compare(b.str());
}

int CompareText(const UnicodeString& a, const UnicodeString& b) {
    const std::u16string& x = a.str();
    const std::u16string& y = b.str();
    size_t common = std::min(x.size(), y.size());
    for (size_t i = 0; i < common; ++i) {
        char16_t p = UpperCaseUnit(x[i]), q = UpperCaseUnit(y[i]);
        if (p != q)
            return p < q ? -1 : 1;
    }
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

bool SameStr(const UnicodeString& a, const UnicodeString& b) {
    return a == b;
}

bool SameText(const UnicodeString& a, const UnicodeString& b) {
    return a.Length() == b.Length() && CompareText(a, b) == 0;
}

int CompareText(const AnsiString& a, const AnsiString& b) {
    return CompareText(UnicodeString(a), UnicodeString(b));
}

bool SameText(const AnsiString& a, const AnsiString& b) {
    return CompareText(UnicodeString(a), UnicodeString(b)) == 0;
}

int Pos(const UnicodeString& sub, const UnicodeString& text) {
    return text.Pos(sub);
}

int Pos(const AnsiString& sub, const AnsiString& text) {
    return text.Pos(sub);
}

UnicodeString StringReplace(const UnicodeString& text, const UnicodeString& from,
                            const UnicodeString& to, int flags) {
    if (from.IsEmpty())
        return text;
    const std::u16string& source = text.str();
    std::u16string haystack = (flags & rfIgnoreCase) ? text.UpperCase().str() : source;
    std::u16string needle = (flags & rfIgnoreCase) ? from.UpperCase().str() : from.str();
    std::u16string out;
    size_t at = 0;
    while (true) {
        size_t found = haystack.find(needle, at);
        if (found == std::u16string::npos)
            break;
        out.append(source, at, found - at);
        out += to.str();
        at = found + needle.size();
        if (!(flags & rfReplaceAll))
            break;
    }
    out.append(source, at, std::u16string::npos);
    return UnicodeString(std::move(out));
}

UnicodeString QuotedStr(const UnicodeString& text) {
    std::u16string out = u"'";
    for (char16_t c : text.str()) {
        out += c;
        if (c == u'\'')
            out += c;
    }
    return UnicodeString(out + u"'");
}

UnicodeString StringOfChar(char16_t unit, int count) {
    return UnicodeString(unit, count < 0 ? 0 : count);
}

int HexDigitValue(char32_t c) {
    if (c >= U'0' && c <= U'9')
        return static_cast<int>(c - U'0');
    if (c >= U'a' && c <= U'f')
        return static_cast<int>(c - U'a') + 10;
    if (c >= U'A' && c <= U'F')
        return static_cast<int>(c - U'A') + 10;
    return -1;
}
