#include "platform/win/RegistryFileFormat.h"

#include "platform/rtl/StringUtils.h"
#include "platform/rtl/TextEncoding.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace win {
namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t begin = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(begin, i - begin));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            begin = i + 1;
        }
    }
    if (begin < text.size())
        lines.push_back(text.substr(begin));
    return lines;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char a = s[i], b = prefix[i];
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = static_cast<char>(b - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}

std::optional<uint32_t> ParseHexNumber(std::string_view s) {
    if (s.empty() || s.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : s) {
        int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

// Reads a quoted text at the start of `s` ("..." with \\ and \" escapes); advances `s` past it.
// A backslash before any other character is kept as written, so hand-written paths survive.
std::optional<std::string> ParseQuoted(std::string_view& s) {
    if (s.empty() || s.front() != '"')
        return std::nullopt;
    std::string text;
    for (size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return text;
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            text += s[++i];
            continue;
        }
        text += c;
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> ParseHexBytes(std::string_view s) {
    std::vector<uint8_t> bytes;
    s = TrimBlanks(s);
    if (s.empty())
        return bytes;
    size_t i = 0;
    while (true) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        if (i + 2 > s.size())
            return std::nullopt;
        int high = HexDigitValue(s[i]), low = HexDigitValue(s[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
        i += 2;
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        if (i == s.size())
            return bytes;
        if (s[i] != ',')
            return std::nullopt;
        ++i;
        // A list may end with a comma before a continuation that was trimmed away.
        if (TrimBlanks(s.substr(i)).empty())
            return bytes;
    }
}

struct ParsedData {
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
};

std::optional<ParsedData> ParseData(std::string_view s, std::string& error) {
    s = TrimBlanks(s);
    ParsedData parsed;
    if (!s.empty() && s.front() == '"') {
        std::optional<std::string> text = ParseQuoted(s);
        if (!text) {
            error = "string value without its closing quote";
            return std::nullopt;
        }
        if (!TrimBlanks(s).empty()) {
            error = "unexpected text after a string value";
            return std::nullopt;
        }
        parsed.type = kRegString;
        parsed.data = EncodeRegistryString(Utf8ToUtf16(*text));
        return parsed;
    }
    if (StartsWithNoCase(s, "dword:")) {
        std::optional<uint32_t> number = ParseHexNumber(TrimBlanks(s.substr(6)));
        if (!number) {
            error = "dword value is not 1 to 8 hexadecimal digits";
            return std::nullopt;
        }
        parsed.type = kRegDWord;
        for (int shift = 0; shift < 32; shift += 8)
            parsed.data.push_back(static_cast<uint8_t>(*number >> shift));
        return parsed;
    }
    if (StartsWithNoCase(s, "hex")) {
        std::string_view rest = s.substr(3);
        parsed.type = kRegBinary;
        if (!rest.empty() && rest.front() == '(') {
            size_t close = rest.find(')');
            std::optional<uint32_t> type = close == std::string_view::npos
                                               ? std::nullopt
                                               : ParseHexNumber(rest.substr(1, close - 1));
            if (!type) {
                error = "hex value with a malformed type number";
                return std::nullopt;
            }
            parsed.type = *type;
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest.front() != ':') {
            error = "hex value without ':'";
            return std::nullopt;
        }
        std::optional<std::vector<uint8_t>> bytes = ParseHexBytes(rest.substr(1));
        if (!bytes) {
            error = "hex value with a malformed byte list";
            return std::nullopt;
        }
        parsed.data = std::move(*bytes);
        return parsed;
    }
    if (s == "-") {
        error = "value deletion is not supported in a hive file";
        return std::nullopt;
    }
    error = "unknown value data";
    return std::nullopt;
}

// Value lines ending in '\' continue on the next line (long hex lists).
bool ContinuesOnNextLine(std::string_view line) {
    std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.back() != '\\')
        return false;
    size_t equals = trimmed.find("=hex");
    if (equals == std::string_view::npos)
        equals = trimmed.find("=HEX");
    return equals != std::string_view::npos;
}

} // namespace

RegistryParseResult ParseRegistryFile(std::span<const uint8_t> bytes, std::string_view rootName,
                                      RegistryHive& hive) {
    std::string text =
        DecodeText({reinterpret_cast<const char*>(bytes.data()), bytes.size()}).ToUtf8();
    std::vector<std::string_view> lines = SplitLines(text);
    RegistryParseResult result;
    auto fail = [&](int line, std::string message) {
        result.ok = false;
        result.line = line;
        result.message = std::move(message);
        return result;
    };

    size_t i = 0;
    while (i < lines.size() && TrimBlanks(lines[i]).empty())
        ++i;
    if (i == lines.size())
        return result; // an empty file is an empty hive
    std::string_view header = TrimBlanks(lines[i]);
    if (header != kRegistryFileHeader && header != "REGEDIT4")
        return fail(static_cast<int>(i) + 1,
                    "not a registry file (expected \"" + std::string(kRegistryFileHeader) + "\")");
    ++i;

    std::optional<std::string> currentKey;
    for (; i < lines.size(); ++i) {
        int lineNumber = static_cast<int>(i) + 1;
        std::string joined;
        std::string_view line = TrimBlanks(lines[i]);
        if (ContinuesOnNextLine(line)) {
            joined.assign(line.substr(0, line.size() - 1));
            while (i + 1 < lines.size()) {
                std::string_view next = TrimBlanks(lines[++i]);
                bool more = !next.empty() && next.back() == '\\';
                joined.append(more ? next.substr(0, next.size() - 1) : next);
                if (!more)
                    break;
            }
            line = joined;
        }
        if (line.empty() || line.front() == ';')
            continue;

        if (line.front() == '[') {
            if (line.back() != ']')
                return fail(lineNumber, "key line without its closing ']'");
            std::string_view full = line.substr(1, line.size() - 2);
            if (!full.empty() && full.front() == '-')
                return fail(lineNumber, "key deletion is not supported in a hive file");
            size_t cut = full.find('\\');
            std::string_view root = full.substr(0, cut);
            if (FoldRegistryName(root) != FoldRegistryName(rootName))
                return fail(lineNumber, "key outside " + std::string(rootName));
            std::string_view path =
                cut == std::string_view::npos ? std::string_view() : full.substr(cut);
            // Every level costs its whole path: a key deeper than the registry allows would make
            // a small file cost memory and time with the square of its depth.
            if (RegistryKeyDepth(NormalizeKeyPath(path)) > kMaxRegistryKeyDepth)
                return fail(lineNumber,
                            "key deeper than " + std::to_string(kMaxRegistryKeyDepth) + " levels");
            currentKey = hive.CreateKey(path).path;
            continue;
        }

        if (line.front() != '"' && line.front() != '@')
            return fail(lineNumber, "expected a [key] or a \"name\"=value line");
        if (!currentKey)
            return fail(lineNumber, "value before the first key");
        RegistryValue value;
        std::string_view rest = line;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else {
            std::optional<std::string> name = ParseQuoted(rest);
            if (!name)
                return fail(lineNumber, "value name without its closing quote");
            value.name = std::move(*name);
        }
        rest = TrimBlanks(rest);
        if (rest.empty() || rest.front() != '=')
            return fail(lineNumber, "expected '=' after the value name");
        std::string error;
        std::optional<ParsedData> data = ParseData(rest.substr(1), error);
        if (!data)
            return fail(lineNumber, error);
        value.type = data->type;
        value.data = std::move(data->data);
        hive.CreateKey(*currentKey).SetValue(std::move(value));
    }
    return result;
}

namespace {

std::string Quote(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

// A string value is written as "text" only when that form gives back the same bytes.
bool WritableAsText(const RegistryValue& value) {
    if (value.type != kRegString)
        return false;
    std::u16string text = DecodeRegistryString(value.data);
    if (EncodeRegistryString(text) != value.data)
        return false;
    for (char16_t unit : text)
        if (unit == u'\r' || unit == u'\n')
            return false;
    return true;
}

std::string FormatHex(uint32_t type, const std::vector<uint8_t>& data, size_t prefixLength) {
    char head[32];
    if (type == kRegBinary)
        std::snprintf(head, sizeof head, "hex:");
    else
        std::snprintf(head, sizeof head, "hex(%x):", type);
    std::string out = head;
    size_t column = prefixLength + out.size();
    for (size_t i = 0; i < data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        out += byte;
        column += 2;
        if (i + 1 < data.size()) {
            out += ',';
            ++column;
            if (column > 76) {
                out += "\\\n  ";
                column = 2;
            }
        }
    }
    return out;
}

} // namespace

std::string FormatRegistryFile(const RegistryHive& hive, std::string_view rootName) {
    std::string out = std::string(kRegistryFileHeader) + "\n\n";
    for (const RegistryKey& key : hive.Keys()) {
        if (key.generated || (key.path.empty() && key.Values().empty()))
            continue;
        out += '[';
        out += rootName;
        if (!key.path.empty())
            out += '\\' + key.path;
        out += "]\n";
        for (const RegistryValue& value : key.Values()) {
            std::string line = value.name.empty() ? "@=" : Quote(value.name) + "=";
            if (WritableAsText(value)) {
                line += Quote(Utf16ToUtf8(DecodeRegistryString(value.data)));
            } else if (value.type == kRegDWord && value.data.size() == 4) {
                char number[16];
                std::snprintf(number, sizeof number, "dword:%08x",
                              static_cast<unsigned>(value.data[0] | (value.data[1] << 8) |
                                                    (value.data[2] << 16) |
                                                    (static_cast<uint32_t>(value.data[3]) << 24)));
                line += number;
            } else {
                line += FormatHex(value.type, value.data, line.size());
            }
            out += line + "\n";
        }
        out += "\n";
    }
    return out;
}

} // namespace win
