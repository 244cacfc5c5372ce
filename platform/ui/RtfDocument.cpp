#include "platform/ui/RtfDocument.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/TextEncoding.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

constexpr size_t kMaxGroupDepth = 256;
constexpr size_t kMaxColours = 1024;

struct Format {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24;
    int colour = 0; // index into the colour table; 0 is the automatic colour
};

struct GroupState {
    bool skip = false;
    bool colourTable = false;
    int unicodeSkip = 1;
    Format format;
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
        "fonttbl",   "stylesheet",        "info",      "pict",      "header",      "footer",
        "listtable", "listoverridetable", "generator", "themedata", "latentstyles"};
    for (const char* name : kSkipped)
        if (word == name)
            return true;
    return false;
}

class Reader {
public:
    explicit Reader(std::string_view rtf) : rtf_(rtf) {}

    std::vector<gfx::RichTextRun> Read() {
        for (size_t i = 0; i < rtf_.size();)
            i = Step(i);
        return std::move(runs_);
    }

private:
    size_t Step(size_t i) {
        const char c = rtf_[i];
        if (c == '{') {
            if (stack_.size() < kMaxGroupDepth)
                stack_.push_back(state_);
            pendingSkip_ = 0;
            return i + 1;
        }
        if (c == '}') {
            if (!stack_.empty()) {
                state_ = stack_.back();
                stack_.pop_back();
            }
            pendingSkip_ = 0;
            return i + 1;
        }
        if (c == '\r' || c == '\n')
            return i + 1;
        if (c != '\\') {
            if (state_.colourTable) {
                if (c == ';')
                    EndColour();
            } else {
                Emit(static_cast<unsigned char>(c) < 0x80
                         ? static_cast<char16_t>(c)
                         : CodePageByte(static_cast<unsigned char>(c), codePage_));
            }
            return i + 1;
        }
        ++i;
        if (i >= rtf_.size())
            return i;
        const char symbol = rtf_[i];
        if (!IsLetter(symbol))
            return Symbol(symbol, i + 1);
        std::string word;
        while (i < rtf_.size() && IsLetter(rtf_[i]) && word.size() < 32)
            word += rtf_[i++];
        bool hasParameter = false;
        long parameter = 0;
        if (i < rtf_.size() && (rtf_[i] == '-' || (rtf_[i] >= '0' && rtf_[i] <= '9'))) {
            std::string digits;
            if (rtf_[i] == '-')
                digits += rtf_[i++];
            while (i < rtf_.size() && rtf_[i] >= '0' && rtf_[i] <= '9' && digits.size() < 11)
                digits += rtf_[i++];
            hasParameter = digits != "-";
            parameter = hasParameter ? std::strtol(digits.c_str(), nullptr, 10) : 0;
        }
        if (i < rtf_.size() && rtf_[i] == ' ')
            ++i;
        Word(word, hasParameter, parameter);
        return i;
    }

    size_t Symbol(char symbol, size_t i) {
        if (symbol == '\'') {
            const int hi =
                i < rtf_.size() ? HexDigitValue(static_cast<unsigned char>(rtf_[i])) : -1;
            const int lo =
                i + 1 < rtf_.size() ? HexDigitValue(static_cast<unsigned char>(rtf_[i + 1])) : -1;
            if (hi >= 0 && lo >= 0) {
                Emit(CodePageByte(static_cast<unsigned char>(hi * 16 + lo), codePage_));
                i += 2;
            }
        } else if (symbol == '*') {
            state_.skip = true;
        } else if (symbol == '~') {
            Emit(u'\u00A0');
        } else if (symbol == '_') {
            Emit(u'\u2011');
        } else if (symbol == '\\' || symbol == '{' || symbol == '}') {
            Emit(static_cast<char16_t>(symbol));
        } else if (symbol == '\r' || symbol == '\n') {
            Emit(u'\n');
        }
        return i;
    }

    void Word(const std::string& word, bool hasParameter, long parameter) {
        Format& f = state_.format;
        const bool on = !hasParameter || parameter != 0;
        if (state_.colourTable) {
            const int value = static_cast<int>(std::clamp<long>(parameter, 0, 255));
            if (word == "red")
                colour_ = (colour_ & 0xFF00FFFF) | (uint32_t(value) << 16);
            else if (word == "green")
                colour_ = (colour_ & 0xFFFF00FF) | (uint32_t(value) << 8);
            else if (word == "blue")
                colour_ = (colour_ & 0xFFFFFF00) | uint32_t(value);
            return;
        }
        if (word == "par" || word == "line")
            Emit(u'\n');
        else if (word == "tab")
            Emit(u'\t');
        else if (word == "ansicpg" && hasParameter)
            codePage_ = static_cast<int>(parameter);
        else if (word == "uc" && hasParameter)
            state_.unicodeSkip = parameter < 0 ? 0 : static_cast<int>(std::min<long>(parameter, 8));
        else if (word == "u" && hasParameter) {
            const long unit = parameter < 0 ? parameter + 65536 : parameter;
            Emit(static_cast<char16_t>(unit & 0xFFFF));
            pendingSkip_ = state_.skip ? 0 : state_.unicodeSkip;
        } else if (word == "colortbl") {
            state_.colourTable = true;
            colours_.clear();
            colour_ = 0xFF000000;
        } else if (IsSkippedDestination(word))
            state_.skip = true;
        else if (word == "b")
            f.bold = on;
        else if (word == "i")
            f.italic = on;
        else if (word == "ul")
            f.underline = on;
        else if (word == "ulnone")
            f.underline = false;
        else if (word == "fs" && hasParameter && parameter > 0)
            f.halfPoints = static_cast<int>(std::min<long>(parameter, 2000));
        else if (word == "cf" && hasParameter)
            f.colour = static_cast<int>(std::clamp<long>(parameter, 0, kMaxColours));
        else if (word == "plain")
            f = Format();
    }

    void EndColour() {
        // The first entry of the table is usually empty: the automatic colour.
        if (colours_.size() < kMaxColours)
            colours_.push_back(colour_);
        colour_ = 0xFF000000;
    }

    void Emit(char16_t unit) {
        if (state_.skip || state_.colourTable)
            return;
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        const Format& f = state_.format;
        const uint32_t colour =
            f.colour > 0 && size_t(f.colour) < colours_.size() ? colours_[f.colour] : 0xFF000000;
        const float points = static_cast<float>(f.halfPoints) / 2;
        if (runs_.empty() || runs_.back().bold != f.bold || runs_.back().italic != f.italic ||
            runs_.back().underline != f.underline || runs_.back().points != points ||
            runs_.back().color != colour) {
            gfx::RichTextRun run;
            run.bold = f.bold;
            run.italic = f.italic;
            run.underline = f.underline;
            run.points = points;
            run.color = colour;
            runs_.push_back(std::move(run));
        }
        runs_.back().text += unit;
    }

    std::string_view rtf_;
    std::vector<gfx::RichTextRun> runs_;
    std::vector<GroupState> stack_;
    GroupState state_;
    std::vector<uint32_t> colours_;
    uint32_t colour_ = 0xFF000000;
    int codePage_ = 1252;
    int pendingSkip_ = 0;
};

} // namespace

std::vector<gfx::RichTextRun> RtfToRuns(std::string_view rtf) {
    return Reader(rtf).Read();
}

UnicodeString RtfToPlainText(std::string_view rtf) {
    std::u16string out;
    for (const gfx::RichTextRun& run : RtfToRuns(rtf))
        out += run.text;
    return UnicodeString(out);
}

bool LooksLikeRtf(std::string_view bytes) {
    return bytes.substr(0, 5) == "{\\rtf";
}

std::optional<std::string> ReadRtfFile(const UnicodeString& fileName) {
    TMemoryStream stream;
    try {
        stream.LoadFromFile(fileName);
    } catch (const Exception&) {
        return std::nullopt;
    }
    return std::string(static_cast<const char*>(stream.Memory()),
                       static_cast<size_t>(stream.Size()));
}
