#include "scene/core/Sg_utils.h"

#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/StringUtils.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>

namespace {

template <class S>
S GetTokenOf(S& s, const S& separators, const S& stop) {
    S token;
    int i = 1;
    for (; i <= s.Length(); ++i) {
        auto c = s[i];
        if (stop.Pos(S(&c, 1)) > 0)
            break;
        if (separators.Pos(S(&c, 1)) > 0) {
            ++i;
            break;
        }
        token += c;
    }
    s = s.SubString(i, s.Length() - i + 1).Trim();
    return token.Trim();
}

template <class S>
S SgGetTokenOf(int& pos, const S& s, const S& separators, const S& stop) {
    S token;
    auto in = [](const S& set, decltype(s[1]) c) { return set.Pos(S(&c, 1)) > 0; };
    if (pos < 1)
        pos = 1;
    while (pos <= s.Length() && !in(stop, s[pos]) && !in(separators, s[pos]))
        token += s[pos++];
    while (pos <= s.Length() && in(separators, s[pos]))
        ++pos;
    return token;
}

} // namespace

AnsiString GetToken(AnsiString& S, const AnsiString& Separators, const AnsiString& Stop) {
    return GetTokenOf(S, Separators, Stop);
}

UnicodeString WideGetToken(UnicodeString& S, const UnicodeString& Separators,
                           const UnicodeString& Stop) {
    return GetTokenOf(S, Separators, Stop);
}

AnsiString sgGetToken(int& Pos, const AnsiString& S, const AnsiString& Separators,
                      const AnsiString& Stop) {
    return SgGetTokenOf(Pos, S, Separators, Stop);
}

UnicodeString sgWideGetToken(int& Pos, const UnicodeString& S, const UnicodeString& Separators,
                             const UnicodeString& Stop) {
    return SgGetTokenOf(Pos, S, Separators, Stop);
}

UnicodeString ClearResObjectName(const UnicodeString& S) {
    int colon = S.Pos(u":");
    if (colon == 0)
        return S.Trim();
    return (UnicodeString(u"object") + S.SubString(colon + 1, S.Length() - colon)).Trim();
}

UnicodeString GetXmlStr(const UnicodeString& S, const UnicodeString& Tag) {
    UnicodeString open = UnicodeString(u"<") + Tag + u">";
    UnicodeString close = UnicodeString(u"</") + Tag + u">";
    int start = S.Pos(open);
    int end = S.Pos(close);
    if (start == 0 || end == 0)
        return UnicodeString();
    start += open.Length();
    if (end < start)
        return UnicodeString();
    return S.SubString(start, end - start);
}

UnicodeString GetAttrStr(const UnicodeString& S, const UnicodeString& Attr) {
    UnicodeString key = UnicodeString(u" ") + Attr + u"=\"";
    int at = S.UpperCase().Pos(key.UpperCase());
    if (at == 0)
        return UnicodeString();
    int start = at + key.Length();
    for (int i = start; i <= S.Length(); ++i)
        if (S[i] == u'"')
            return S.SubString(start, i - start);
    return UnicodeString();
}

void SetAttrStr(UnicodeString& S, const UnicodeString& Attr, const UnicodeString& Value) {
    UnicodeString key = UnicodeString(u" ") + Attr + u"=\"";
    int at = S.Pos(key);
    if (at == 0)
        return;
    int start = at + key.Length();
    for (int i = start; i <= S.Length(); ++i)
        if (S[i] == u'"') {
            S = S.SubString(1, start - 1) + Value + S.SubString(i, S.Length() - i + 1);
            return;
        }
}

float MaxFloat(float X, float Y) {
    return X > Y ? X : Y;
}

float MinFloat(float X, float Y) {
    return X < Y ? X : Y;
}

TsgColor RandomColor() {
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<uint32_t> rgb(0, 0xFFFFFE);
    return 0xFF000000u | rgb(generator);
}

void MoveLongword(const uint32_t* Src, uint32_t* Dst, int Count) {
    if (Count > 0)
        std::memmove(Dst, Src, static_cast<size_t>(Count) * sizeof(uint32_t));
}

void FillLongword(uint32_t* Dst, int Count, uint32_t Value) {
    if (Count > 0)
        std::fill(Dst, Dst + Count, Value);
}

void FillAlpha(uint32_t* Dst, int Count, uint8_t Alpha) {
    for (int i = 0; i < Count; ++i)
        Dst[i] = (Dst[i] & 0x00FFFFFFu) | (uint32_t(Alpha) << 24);
}

void FillLongwordRect(uint32_t* Dst, int W, int H, int X1, int Y1, int X2, int Y2, uint32_t Value) {
    // Negative starts are clipped too: the buffer begins at (0, 0).
    X2 = std::min(X2, W);
    Y2 = std::min(Y2, H);
    X1 = std::clamp(X1, 0, std::max(X2, 0));
    Y1 = std::clamp(Y1, 0, std::max(Y2, 0));
    for (int y = Y1; y < Y2; ++y)
        for (int x = X1; x < X2; ++x)
            Dst[static_cast<size_t>(y) * static_cast<size_t>(W) + static_cast<size_t>(x)] = Value;
}

void ReverseBytes(uint16_t* P, int Count) {
    if (Count > 1)
        std::reverse(P, P + Count);
}

UnicodeString strToNumber(const UnicodeString& S) {
    static const char16_t digits[] = u"0123456789ABCDEF";
    UnicodeString out;
    for (int i = 1; i <= S.Length(); ++i)
        for (int shift = 12; shift >= 0; shift -= 4)
            out += digits[(S[i] >> shift) & 15];
    return out;
}

bool IsWin2kUp() {
    return true; // every platform the toolkit runs on has the services of that generation
}

UnicodeString ExeName() {
    return ExecutableFileName();
}

UnicodeString ExePath() {
    return IncludeTrailingPathDelimiter(ExtractFilePath(ExecutableFileName()));
}

UnicodeString ExeFileName() {
    UnicodeString name = ExecutableFileName();
    int at = name.LastDelimiter(u"/\\");
    UnicodeString file = name.SubString(at + 1, name.Length() - at);
    return file.SubString(1, 1000);
}

UnicodeString FileNameWithOutExt(const UnicodeString& S) {
    int dot = S.LastDelimiter(u".");
    return dot == 0 ? S : S.SubString(1, dot - 1);
}

UnicodeString ExeNameWithOutExt() {
    return FileNameWithOutExt(ExeName());
}

bool IsFileReadOnly(const UnicodeString& FileName) {
    UnicodeString name = FileExists(FileName) ? FileName : ExeName();
    std::error_code error;
    auto status = std::filesystem::status(NativePath(name), error);
    if (error)
        return false;
    return (status.permissions() & std::filesystem::perms::owner_write) ==
           std::filesystem::perms::none;
}
