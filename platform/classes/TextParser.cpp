#include "platform/classes/TextParser.h"

#include "platform/rtl/StringUtils.h"

#include <charconv>

namespace {

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

TTextParser::TTextParser(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF")
        pos_ = 3;
    Scan();
}

const TToken& TTextParser::Next() {
    Scan();
    return token_;
}

TToken TTextParser::Peek() {
    size_t pos = pos_;
    int line = line_;
    TToken saved = token_;
    Scan();
    TToken next = token_;
    pos_ = pos;
    line_ = line;
    token_ = std::move(saved);
    return next;
}

bool TTextParser::IsSymbol(const char* word) const {
    if (token_.Kind != TTokenKind::Symbol)
        return false;
    const std::string& t = token_.Text;
    size_t i = 0;
    for (; word[i]; ++i) {
        if (i >= t.size())
            return false;
        char a = t[i], b = word[i];
        if (a >= 'a' && a <= 'z')
            a = static_cast<char>(a - 32);
        if (b >= 'a' && b <= 'z')
            b = static_cast<char>(b - 32);
        if (a != b)
            return false;
    }
    return i == t.size();
}

void TTextParser::CheckSymbol() {
    if (token_.Kind != TTokenKind::Symbol)
        Error("Identifier expected");
}

void TTextParser::CheckChar(char c) {
    if (!IsChar(c))
        Error(std::string("'") + c + "' expected");
}

void TTextParser::Error(const std::string& message) const {
    throw EParserError(AnsiString(message + " on line " + std::to_string(token_.Line)));
}

void TTextParser::SkipBlanks() {
    while (pos_ < text_.size()) {
        char c = text_[pos_];
        if (c == '\n')
            ++line_;
        if (static_cast<unsigned char>(c) > ' ')
            return;
        ++pos_;
    }
}

void TTextParser::Scan() {
    SkipBlanks();
    token_ = TToken();
    token_.Line = line_;
    if (pos_ >= text_.size())
        return;
    char c = text_[pos_];
    if (IsIdentStart(c)) {
        size_t start = pos_;
        while (pos_ < text_.size() && (IsIdentStart(text_[pos_]) || IsDigit(text_[pos_])))
            ++pos_;
        token_.Kind = TTokenKind::Symbol;
        token_.Text = std::string(text_.substr(start, pos_ - start));
    } else if (IsDigit(c) || c == '$') {
        ScanNumber();
    } else if (c == '\'' || c == '#') {
        ScanString();
    } else {
        token_.Kind = TTokenKind::Char;
        token_.Char = c;
        ++pos_;
    }
}

void TTextParser::ScanNumber() {
    size_t start = pos_;
    if (text_[pos_] == '$') {
        ++pos_;
        uint64_t value = 0;
        size_t digits = 0;
        while (pos_ < text_.size() && HexDigitValue(text_[pos_]) >= 0) {
            if (++digits > 16)
                Error("Hexadecimal number too long");
            value = value * 16 + static_cast<uint64_t>(HexDigitValue(text_[pos_++]));
        }
        if (digits == 0)
            Error("Invalid hexadecimal number");
        token_.Kind = TTokenKind::Integer;
        token_.Integer = static_cast<int64_t>(value);
        token_.Text = std::string(text_.substr(start, pos_ - start));
        return;
    }
    bool isFloat = false;
    while (pos_ < text_.size() && IsDigit(text_[pos_]))
        ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '.') {
        isFloat = true;
        ++pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_]))
            ++pos_;
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
        size_t save = pos_++;
        if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-'))
            ++pos_;
        if (pos_ < text_.size() && IsDigit(text_[pos_])) {
            isFloat = true;
            while (pos_ < text_.size() && IsDigit(text_[pos_]))
                ++pos_;
        } else {
            pos_ = save;
        }
    }
    token_.Text = std::string(text_.substr(start, pos_ - start));
    if (pos_ < text_.size()) {
        char s = text_[pos_];
        if (s == 's' || s == 'S' || s == 'c' || s == 'C' || s == 'd' || s == 'D' || s == 'f' ||
            s == 'F') {
            if (pos_ + 1 >= text_.size() ||
                !(IsIdentStart(text_[pos_ + 1]) || IsDigit(text_[pos_ + 1]))) {
                isFloat = true;
                token_.Suffix = static_cast<char>(s | 0x20);
                ++pos_;
            }
        }
    }
    if (isFloat) {
        token_.Kind = TTokenKind::Float;
        return;
    }
    token_.Kind = TTokenKind::Integer;
    uint64_t value = 0;
    auto [end, ec] =
        std::from_chars(token_.Text.data(), token_.Text.data() + token_.Text.size(), value);
    if (ec != std::errc() || end != token_.Text.data() + token_.Text.size() ||
        value > uint64_t(INT64_MAX) + 1)
        Error("Integer out of range");
    token_.Integer = static_cast<int64_t>(value); // 2^63 only makes sense after a minus sign
}

void TTextParser::ScanString() {
    std::string utf8run;
    std::u16string value;
    auto flush = [&] {
        value += Utf8ToUtf16(utf8run);
        utf8run.clear();
    };
    for (;;) {
        if (pos_ >= text_.size())
            break;
        char c = text_[pos_];
        if (c == '\'') {
            ++pos_;
            for (;;) {
                if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r')
                    Error("Unterminated string");
                char d = text_[pos_++];
                if (d == '\'') {
                    if (pos_ < text_.size() && text_[pos_] == '\'') {
                        utf8run += '\'';
                        ++pos_;
                        continue;
                    }
                    break;
                }
                utf8run += d;
            }
        } else if (c == '#') {
            ++pos_;
            uint32_t code = 0;
            size_t digits = 0;
            if (pos_ < text_.size() && text_[pos_] == '$') {
                ++pos_;
                while (pos_ < text_.size() && HexDigitValue(text_[pos_]) >= 0 && digits < 5) {
                    code = code * 16 + static_cast<uint32_t>(HexDigitValue(text_[pos_++]));
                    ++digits;
                }
            } else {
                while (pos_ < text_.size() && IsDigit(text_[pos_]) && digits < 6) {
                    code = code * 10 + static_cast<uint32_t>(text_[pos_++] - '0');
                    ++digits;
                }
            }
            if (digits == 0 || code > 0xFFFF)
                Error("Invalid character code");
            flush();
            value += static_cast<char16_t>(code);
        } else {
            break;
        }
    }
    flush();
    token_.Kind = TTokenKind::String;
    token_.Value = std::move(value);
}

std::string TTextParser::ReadHexBlock() {
    std::string bytes;
    int high = -1;
    for (;;) {
        if (pos_ >= text_.size())
            Error("Unterminated binary block");
        char c = text_[pos_++];
        if (c == '}')
            break;
        if (c == '\n')
            ++line_;
        if (static_cast<unsigned char>(c) <= ' ')
            continue;
        int v = HexDigitValue(c);
        if (v < 0)
            Error("Invalid binary value");
        if (high < 0)
            high = v;
        else {
            bytes += static_cast<char>(high * 16 + v);
            high = -1;
        }
    }
    if (high >= 0)
        Error("Odd number of digits in binary value");
    Scan();
    return bytes;
}
