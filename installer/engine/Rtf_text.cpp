#include "installer/engine/Rtf_text.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/TextEncoding.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// Nesting deeper than this is not a licence text; the rest is read flat.
constexpr size_t kMaxGroupDepth = 256;

struct GroupState {
    bool skip = false;
    int unicodeSkip = 1;
};

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char16_t CodePageByte(unsigned char byte, int codePage) {
    if (byte < 0x80)
        return byte;
    if (codePage == 1250) {
        const std::u16string unit =
            Windows1250ToUtf16(std::string_view(reinterpret_cast<const char*>(&byte), 1));
        return unit.empty() ? u'\uFFFD' : unit[0];
    }
    if (codePage == 1251) {
        if (byte >= 0xC0)
            return static_cast<char16_t>(0x0410 + (byte - 0xC0));
        if (byte == 0xA8)
            return u'\u0401';
        if (byte == 0xB8)
            return u'\u0451';
        return u'\uFFFD';
    }
    return byte; // Latin-1 agrees with 1252 on the letters
}

bool IsSkippedDestination(const std::string& word) {
    static const char* const kSkipped[] = {
        "fonttbl", "colortbl",  "stylesheet",        "info",      "pict",      "header",
        "footer",  "listtable", "listoverridetable", "generator", "themedata", "latentstyles"};
    for (const char* name : kSkipped)
        if (word == name)
            return true;
    return false;
}

} // namespace

UnicodeString RtfToPlainText(std::string_view rtf) {
    std::u16string out;
    std::vector<GroupState> stack;
    GroupState state;
    int codePage = 1252;
    int pendingSkip = 0; // fallback characters still to drop after \uN
    auto emit = [&](char16_t unit) {
        if (state.skip)
            return;
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        out += unit;
    };
    for (size_t i = 0; i < rtf.size();) {
        const char c = rtf[i];
        if (c == '{') {
            if (stack.size() < kMaxGroupDepth)
                stack.push_back(state);
            ++i;
            pendingSkip = 0;
            continue;
        }
        if (c == '}') {
            if (!stack.empty()) {
                state = stack.back();
                stack.pop_back();
            }
            ++i;
            pendingSkip = 0;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            emit(static_cast<unsigned char>(c) < 0x80
                     ? static_cast<char16_t>(c)
                     : CodePageByte(static_cast<unsigned char>(c), codePage));
            ++i;
            continue;
        }
        // A control symbol or word.
        ++i;
        if (i >= rtf.size())
            break;
        const char symbol = rtf[i];
        if (!IsLetter(symbol)) {
            ++i;
            if (symbol == '\'') {
                const int hi =
                    i < rtf.size() ? HexDigitValue(static_cast<unsigned char>(rtf[i])) : -1;
                const int lo =
                    i + 1 < rtf.size() ? HexDigitValue(static_cast<unsigned char>(rtf[i + 1])) : -1;
                if (hi >= 0 && lo >= 0) {
                    emit(CodePageByte(static_cast<unsigned char>(hi * 16 + lo), codePage));
                    i += 2;
                }
            } else if (symbol == '*') {
                state.skip = true;
            } else if (symbol == '~') {
                emit(u'\u00A0');
            } else if (symbol == '_') {
                emit(u'\u2011');
            } else if (symbol == '\\' || symbol == '{' || symbol == '}') {
                emit(static_cast<char16_t>(symbol));
            } else if (symbol == '\r' || symbol == '\n') {
                emit(u'\n');
            }
            continue;
        }
        std::string word;
        while (i < rtf.size() && IsLetter(rtf[i]) && word.size() < 32)
            word += rtf[i++];
        bool hasParameter = false;
        long parameter = 0;
        if (i < rtf.size() && (rtf[i] == '-' || (rtf[i] >= '0' && rtf[i] <= '9'))) {
            std::string digits;
            if (rtf[i] == '-')
                digits += rtf[i++];
            while (i < rtf.size() && rtf[i] >= '0' && rtf[i] <= '9' && digits.size() < 11)
                digits += rtf[i++];
            hasParameter = digits != "-";
            parameter = hasParameter ? std::strtol(digits.c_str(), nullptr, 10) : 0;
        }
        if (i < rtf.size() && rtf[i] == ' ')
            ++i;
        if (word == "par" || word == "line")
            emit(u'\n');
        else if (word == "tab")
            emit(u'\t');
        else if (word == "ansicpg" && hasParameter)
            codePage = static_cast<int>(parameter);
        else if (word == "uc" && hasParameter)
            state.unicodeSkip = parameter < 0 ? 0 : static_cast<int>(std::min<long>(parameter, 8));
        else if (word == "u" && hasParameter) {
            const long unit = parameter < 0 ? parameter + 65536 : parameter;
            emit(static_cast<char16_t>(unit & 0xFFFF));
            pendingSkip = state.skip ? 0 : state.unicodeSkip;
        } else if (IsSkippedDestination(word))
            state.skip = true;
    }
    return UnicodeString(out);
}

bool TRtfText::LoadFromFile(const UnicodeString& fileName) {
    Clear();
    TMemoryStream stream;
    try {
        stream.LoadFromFile(fileName);
    } catch (const Exception&) {
        return false;
    }
    const auto* data = static_cast<const char*>(stream.Memory());
    return LoadFromBytes(std::string_view(data, static_cast<size_t>(stream.Size())));
}

bool TRtfText::LoadFromBytes(std::string_view bytes) {
    Clear();
    if (bytes.substr(0, 5) != "{\\rtf")
        return false;
    bytes_ = std::string(bytes);
    plain_ = RtfToPlainText(bytes);
    return true;
}

void TRtfText::Clear() {
    bytes_.clear();
    plain_ = UnicodeString();
}
