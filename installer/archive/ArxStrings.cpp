#include "installer/archive/ArxStrings.h"

#include <array>
#include <memory>

namespace {

struct CaseMap {
    std::array<char16_t, 65536> lower;
    std::array<char16_t, 65536> upper;
    CaseMap() {
        for (uint32_t unit = 0; unit < 65536; ++unit) {
            lower[unit] = LowerCaseUnit(static_cast<char16_t>(unit));
            upper[unit] = UpperCaseUnit(static_cast<char16_t>(unit));
        }
    }
};

const CaseMap& Cases() {
    static const auto map = std::make_unique<CaseMap>();
    return *map;
}

size_t FindFrom(const std::u16string& haystack, const std::u16string& needle, size_t from) {
    return haystack.find(needle, from);
}

// Greedy matching with one remembered star: linear in practice, never exponential.
bool MatchFrom(const std::u16string& p, const std::u16string& t, size_t ti) {
    size_t pi = 0, star = std::u16string::npos, resume = 0;
    while (ti < t.size()) {
        if (pi < p.size() && (p[pi] == u'?' || (p[pi] != u'*' && p[pi] == t[ti]))) {
            ++pi;
            ++ti;
        } else if (pi < p.size() && p[pi] == u'*') {
            star = pi++;
            resume = ti;
        } else if (star != std::u16string::npos) {
            pi = star + 1;
            ti = ++resume;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'*')
        ++pi;
    return pi == p.size();
}

} // namespace

char16_t ArxLowerUnit(char16_t unit) {
    return Cases().lower[unit];
}

char16_t ArxUpperUnit(char16_t unit) {
    return Cases().upper[unit];
}

UnicodeString ArxLowerCase(const UnicodeString& text) {
    std::u16string result = text.str();
    for (char16_t& unit : result)
        unit = ArxLowerUnit(unit);
    return UnicodeString(std::move(result));
}

UnicodeString ArxUpperCase(const UnicodeString& text) {
    std::u16string result = text.str();
    for (char16_t& unit : result)
        unit = ArxUpperUnit(unit);
    return UnicodeString(std::move(result));
}

int ArxCompareText(const UnicodeString& s1, const UnicodeString& s2, bool caseSensitive) {
    if (&s1 == &s2)
        return 0;
    if (s1.Length() != s2.Length())
        return s1.Length() - s2.Length();
    for (int i = 1; i <= s1.Length(); ++i) {
        char16_t a = caseSensitive ? s1[i] : ArxLowerUnit(s1[i]);
        char16_t b = caseSensitive ? s2[i] : ArxLowerUnit(s2[i]);
        if (a != b)
            return static_cast<int>(a) - static_cast<int>(b);
    }
    return 0;
}

bool ArxSameText(const UnicodeString& s1, const UnicodeString& s2, bool caseSensitive) {
    return ArxCompareText(s1, s2, caseSensitive) == 0;
}

TArxStringList SplitAt(const UnicodeString& text, const UnicodeString& separator, bool keepEmpty,
                       bool caseSensitive) {
    TArxStringList pieces;
    const std::u16string& source = text.str();
    const std::u16string haystack = caseSensitive ? source : ArxLowerCase(text).str();
    const std::u16string needle = caseSensitive ? separator.str() : ArxLowerCase(separator).str();
    auto add = [&](size_t from, size_t to) {
        if (to > from || keepEmpty)
            pieces.push_back(
                text.SubString(static_cast<int>(from) + 1, static_cast<int>(to - from)));
    };
    size_t start = 0;
    if (!needle.empty()) {
        for (size_t at = FindFrom(haystack, needle, 0); at != std::u16string::npos;
             at = FindFrom(haystack, needle, start)) {
            add(start, at);
            start = at + needle.size();
        }
    }
    add(start, source.size());
    return pieces;
}

UnicodeString JoinWith(const TArxStringList& pieces, const UnicodeString& separator,
                       bool keepEmpty) {
    UnicodeString result;
    bool first = true;
    for (const UnicodeString& piece : pieces) {
        if (piece.IsEmpty() && !keepEmpty)
            continue;
        if (!first)
            result += separator;
        result += piece;
        first = false;
    }
    return result;
}

UnicodeString RepeatString(const UnicodeString& text, int count) {
    UnicodeString result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

UnicodeString RemovePrefix(const UnicodeString& prefix, const UnicodeString& text) {
    if (text.str().starts_with(prefix.str()))
        return text.SubString(prefix.Length() + 1, text.Length());
    return text;
}

UnicodeString EnsureSuffix(const UnicodeString& suffix, const UnicodeString& text) {
    return text.str().ends_with(suffix.str()) ? text : text + suffix;
}

bool WildcardMatch(const UnicodeString& pattern, const UnicodeString& text, int start) {
    if (pattern.IsEmpty())
        throw EArxStringError("Search string cannot be blank");
    if (start < 1 || start > text.Length() + 1)
        throw EArxStringError("Argument out of range");
    if (pattern.str() == u"*")
        return true;
    return MatchFrom(pattern.str(), text.str(), static_cast<size_t>(start - 1));
}
