#include "platform/classes/ObjectText.h"

#include "platform/classes/Component.h"
#include "platform/classes/Reader.h"
#include "platform/classes/TextParser.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/Stream.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr size_t StringPieceUnits = 64;
constexpr size_t HexBytesPerLine = 32;

std::string Indent(int n) {
    return std::string(static_cast<size_t>(n), ' ');
}

bool IsDottedIdent(const AnsiString& text) {
    if (text.IsEmpty())
        return false;
    size_t start = 0;
    const std::string& s = text.str();
    for (;;) {
        size_t dot = s.find('.', start);
        std::string part =
            s.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (part.empty() || !IsValidIdent(AnsiString(part)))
            return false;
        if (dot == std::string::npos)
            return true;
        start = dot + 1;
    }
}

std::string CheckedIdent(const AnsiString& text, bool dotted, bool mayBeEmpty) {
    if (text.IsEmpty() && mayBeEmpty)
        return std::string();
    if (dotted ? !IsDottedIdent(text) : (text.IsEmpty() || !IsValidIdent(text)))
        throw EReadError(AnsiString("Invalid stream format: '") + text + "' is no identifier");
    return text.str();
}

template <class F>
std::string ShortestText(F value) {
    if (!std::isfinite(value))
        throw EReadError("Invalid stream format: a float is not finite");
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, result.ptr);
    if (s.find_first_of(".e") == std::string::npos)
        s += ".0";
    return s;
}

std::string CurrencyText(int64_t tenThousandths) {
    bool negative = tenThousandths < 0;
    uint64_t magnitude = negative ? uint64_t(0) - static_cast<uint64_t>(tenThousandths)
                                  : static_cast<uint64_t>(tenThousandths);
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (fraction.size() > 1 && fraction.back() == '0')
        fraction.pop_back();
    return (negative ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction;
}

bool IsHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

std::string StringLiteral(std::u16string_view s) {
    std::string out;
    bool quoted = false;
    auto open = [&] {
        if (!quoted)
            out += '\'';
        quoted = true;
    };
    for (size_t i = 0; i < s.size(); ++i) {
        char16_t c = s[i];
        if (IsHigh(c) && i + 1 < s.size() && IsLow(s[i + 1])) {
            open();
            out += Utf16ToUtf8(s.substr(i, 2));
            ++i;
        } else if (c < 32 || c == 127 || (c >= 0x80 && c < 0xA0) || IsHigh(c) || IsLow(c)) {
            if (quoted)
                out += '\'';
            quoted = false;
            out += '#' + std::to_string(static_cast<unsigned>(c));
        } else {
            open();
            if (c == '\'')
                out += "''";
            else
                out += Utf16ToUtf8(s.substr(i, 1));
        }
    }
    if (quoted)
        out += '\'';
    return out.empty() ? "''" : out;
}

class BinaryToText {
public:
    BinaryToText(TReader& reader, std::string& out) : r_(reader), out_(out) {}

    void Object(int indent) {
        Enter();
        uint8_t flags;
        int childPos;
        r_.ReadPrefix(flags, childPos);
        std::string cls = CheckedIdent(r_.ReadStr(), false, false);
        std::string name = CheckedIdent(r_.ReadStr(), false, true);
        out_ += Indent(indent);
        out_ += (flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ";
        if (!name.empty())
            out_ += name + ": ";
        out_ += cls;
        if (flags & ffChildPos)
            out_ += " [" + std::to_string(childPos) + "]";
        out_ += '\n';
        while (!r_.EndOfList())
            Property(indent + 2);
        r_.ReadListEnd();
        while (!r_.EndOfList())
            Object(indent + 2);
        r_.ReadListEnd();
        out_ += Indent(indent) + "end\n";
        --depth_;
    }

private:
    void Enter() {
        if (++depth_ > TReader::MaxDepth)
            throw EReadError("Invalid stream format: nesting too deep");
    }

    void Property(int indent) {
        out_ += Indent(indent) + CheckedIdent(r_.ReadStr(), true, false) + " = ";
        Value(indent);
        out_ += '\n';
    }

    void Value(int indent) {
        Enter();
        TValueType type = r_.NextValue();
        switch (type) {
        case vaList:
            r_.ReadValue();
            out_ += '(';
            while (!r_.EndOfList()) {
                out_ += '\n' + Indent(indent + 2);
                Value(indent + 2);
            }
            r_.ReadListEnd();
            out_ += ')';
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            out_ += std::to_string(r_.ReadInt64());
            break;
        case vaExtended:
            out_ += ShortestText(r_.ReadFloat());
            break;
        case vaSingle:
            out_ += ShortestText(r_.ReadSingle()) + 's';
            break;
        case vaDouble:
            out_ += ShortestText(r_.ReadDouble()) + 'f';
            break;
        case vaDate:
            out_ += ShortestText(r_.ReadDate()) + 'd';
            break;
        case vaCurrency:
            out_ += CurrencyText(r_.ReadCurrency()) + 'c';
            break;
        case vaString:
        case vaLString:
        case vaWString:
        case vaUTF8String:
            String(r_.ReadString().str(), indent);
            break;
        case vaIdent:
        case vaFalse:
        case vaTrue:
        case vaNil: {
            // An identifier spelling True, False or nil is that value, and is written as the
            // text form spells the value.
            AnsiString ident = r_.ReadIdent();
            AnsiString upper = ident.UpperCase();
            if (upper == "TRUE")
                ident = "True";
            else if (upper == "FALSE")
                ident = "False";
            else if (upper == "NIL")
                ident = "nil";
            out_ += CheckedIdent(ident, true, false);
            break;
        }
        case vaBinary: {
            std::vector<uint8_t> bytes = r_.ReadBinary();
            static const char digits[] = "0123456789ABCDEF";
            out_ += '{';
            for (size_t i = 0; i < bytes.size(); ++i) {
                if (i % HexBytesPerLine == 0)
                    out_ += '\n' + Indent(indent + 2);
                out_ += digits[bytes[i] >> 4];
                out_ += digits[bytes[i] & 15];
            }
            out_ += '}';
            break;
        }
        case vaSet: {
            out_ += '[';
            bool first = true;
            for (const AnsiString& e : r_.ReadSet()) {
                out_ += (first ? "" : ", ") + CheckedIdent(e, false, false);
                first = false;
            }
            out_ += ']';
            break;
        }
        case vaCollection:
            r_.ReadValue();
            out_ += '<';
            while (!r_.EndOfList()) {
                out_ += '\n' + Indent(indent + 2) + "item";
                TValueType next = r_.NextValue();
                if (next == vaInt8 || next == vaInt16 || next == vaInt32 || next == vaInt64)
                    out_ += " [" + std::to_string(r_.ReadInt64()) + "]";
                out_ += '\n';
                r_.ReadListBegin();
                while (!r_.EndOfList())
                    Property(indent + 4);
                r_.ReadListEnd();
                out_ += Indent(indent + 2) + "end";
            }
            r_.ReadListEnd();
            out_ += '>';
            break;
        case vaNull:
            throw EReadError("Invalid stream format: unexpected end of list");
        default:
            throw EReadError("Invalid stream format: unknown value tag");
        }
        --depth_;
    }

    void String(const std::u16string& s, int indent) {
        if (s.size() <= StringPieceUnits) {
            out_ += StringLiteral(s);
            return;
        }
        size_t start = 0;
        while (start < s.size()) {
            size_t length = std::min(StringPieceUnits, s.size() - start);
            // Keep a surrogate pair in one piece.
            if (start + length < s.size() && IsHigh(s[start + length - 1]) &&
                IsLow(s[start + length]))
                --length;
            if (start > 0)
                out_ += " +\n" + Indent(indent + 2);
            out_ += StringLiteral(std::u16string_view(s).substr(start, length));
            start += length;
        }
    }

    TReader& r_;
    std::string& out_;
    int depth_ = 0;
};

class TextToBinary {
public:
    TextToBinary(TTextParser& parser, TWriter& writer) : p_(parser), w_(writer) {}

    void Object() {
        Enter();
        uint8_t flags = 0;
        if (p_.IsSymbol("inherited"))
            flags |= ffInherited;
        else if (p_.IsSymbol("inline"))
            flags |= ffInline;
        else if (!p_.IsSymbol("object"))
            p_.Error("'object' expected");
        p_.Next();
        std::string name;
        std::string cls = Ident();
        if (p_.IsChar(':')) {
            p_.Next();
            name = cls;
            cls = Ident();
        }
        int64_t childPos = 0;
        if (p_.IsChar('[')) {
            p_.Next();
            childPos = SignedInteger();
            p_.CheckChar(']');
            p_.Next();
            flags |= ffChildPos;
        }
        if (flags) {
            uint8_t prefix = 0xF0 | flags;
            w_.Write(&prefix, 1);
            if (flags & ffChildPos)
                w_.WriteInteger(childPos);
        }
        w_.WriteStr(cls);
        w_.WriteStr(name);
        while (!IsKeyword("end") && !IsObjectStart())
            Property();
        w_.WriteListEnd();
        while (IsObjectStart())
            Object();
        if (!IsKeyword("end"))
            p_.Error("'end' expected");
        p_.Next();
        w_.WriteListEnd();
        --depth_;
    }

private:
    void Enter() {
        if (++depth_ > TReader::MaxDepth)
            p_.Error("Nesting too deep");
    }

    // A keyword only when no property name is being spelled ("end = 1" is a property).
    bool IsKeyword(const char* word) {
        if (!p_.IsSymbol(word))
            return false;
        TToken next = p_.Peek();
        return !(next.Kind == TTokenKind::Char && (next.Char == '=' || next.Char == '.'));
    }
    bool IsObjectStart() {
        return IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline");
    }

    std::string Ident() {
        p_.CheckSymbol();
        std::string s = p_.Token().Text;
        if (s.size() > 255)
            p_.Error("Identifier too long");
        p_.Next();
        return s;
    }

    std::string DottedIdent() {
        std::string s = Ident();
        while (p_.IsChar('.')) {
            p_.Next();
            s += '.' + Ident();
        }
        if (s.size() > 255)
            p_.Error("Identifier too long");
        return s;
    }

    int64_t SignedInteger() {
        bool negative = p_.IsChar('-');
        if (negative)
            p_.Next();
        if (p_.Token().Kind != TTokenKind::Integer)
            p_.Error("Integer expected");
        int64_t v = p_.Token().Integer;
        if (!negative && v < 0)
            p_.Error("Integer out of range");
        p_.Next();
        return negative ? static_cast<int64_t>(uint64_t(0) - static_cast<uint64_t>(v)) : v;
    }

    void Property() {
        w_.WriteStr(DottedIdent());
        p_.CheckChar('=');
        p_.Next();
        Value();
    }

    void Float(bool negative) {
        const TToken& t = p_.Token();
        const char* first = t.Text.data();
        const char* last = first + t.Text.size();
        switch (t.Suffix) {
        case 'c':
            w_.WriteCurrency(Currency(t.Text, negative));
            break;
        case 's': {
            float f = 0;
            auto [end, ec] = std::from_chars(first, last, f);
            if (ec != std::errc() || end != last || !std::isfinite(f))
                p_.Error("Invalid float");
            w_.WriteSingle(negative ? -f : f);
            break;
        }
        default: {
            double d = 0;
            auto [end, ec] = std::from_chars(first, last, d);
            if (ec != std::errc() || end != last || !std::isfinite(d))
                p_.Error("Invalid float");
            d = negative ? -d : d;
            if (t.Suffix == 'd')
                w_.WriteDate(d);
            else if (t.Suffix == 'f')
                w_.WriteDouble(d);
            else
                w_.WriteFloat(d);
        }
        }
        p_.Next();
    }

    int64_t Currency(const std::string& text, bool negative) {
        size_t dot = text.find('.');
        std::string whole = text.substr(0, dot);
        std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
        if (whole.empty() || fraction.size() > 4 ||
            whole.find_first_not_of("0123456789") != std::string::npos ||
            fraction.find_first_not_of("0123456789") != std::string::npos)
            p_.Error("Invalid currency value");
        fraction.append(4 - fraction.size(), '0');
        uint64_t units = 0;
        for (char c : whole + fraction) {
            if (units > (uint64_t(INT64_MAX) - 9) / 10)
                p_.Error("Currency value out of range");
            units = units * 10 + static_cast<uint64_t>(c - '0');
        }
        int64_t v = static_cast<int64_t>(units);
        return negative ? -v : v;
    }

    void Value() {
        Enter();
        const TToken& t = p_.Token();
        switch (t.Kind) {
        case TTokenKind::Integer:
            w_.WriteInteger(SignedInteger());
            break;
        case TTokenKind::Float:
            Float(false);
            break;
        case TTokenKind::String: {
            std::u16string s = t.Value;
            p_.Next();
            while (p_.IsChar('+')) {
                p_.Next();
                if (p_.Token().Kind != TTokenKind::String)
                    p_.Error("String expected");
                s += p_.Token().Value;
                p_.Next();
            }
            w_.WriteString(UnicodeString(std::move(s)));
            break;
        }
        case TTokenKind::Symbol:
            w_.WriteIdent(DottedIdent());
            break;
        case TTokenKind::Char:
            CharValue();
            break;
        case TTokenKind::Eof:
            p_.Error("Value expected");
        }
        --depth_;
    }

    void CharValue() {
        switch (p_.Token().Char) {
        case '-':
            if (p_.Peek().Kind == TTokenKind::Float) {
                p_.Next();
                Float(true);
            } else {
                w_.WriteInteger(SignedInteger());
            }
            return;
        case '[': {
            std::vector<AnsiString> elements;
            p_.Next();
            if (!p_.IsChar(']'))
                for (;;) {
                    elements.emplace_back(Ident());
                    if (!p_.IsChar(','))
                        break;
                    p_.Next();
                }
            p_.CheckChar(']');
            p_.Next();
            w_.WriteSet(elements);
            return;
        }
        case '(':
            p_.Next();
            w_.WriteListBegin();
            while (!p_.IsChar(')'))
                Value();
            p_.Next();
            w_.WriteListEnd();
            return;
        case '{': {
            std::string bytes = p_.ReadHexBlock();
            w_.WriteBinary(std::vector<uint8_t>(bytes.begin(), bytes.end()));
            return;
        }
        case '<':
            p_.Next();
            w_.WriteValue(vaCollection);
            while (!p_.IsChar('>')) {
                if (!p_.IsSymbol("item"))
                    p_.Error("'item' expected");
                p_.Next();
                if (p_.IsChar('[')) {
                    p_.Next();
                    w_.WriteInteger(SignedInteger());
                    p_.CheckChar(']');
                    p_.Next();
                }
                w_.WriteListBegin();
                while (!IsKeyword("end"))
                    Property();
                p_.Next();
                w_.WriteListEnd();
            }
            p_.Next();
            w_.WriteListEnd();
            return;
        default:
            p_.Error("Invalid value");
        }
    }

    TTextParser& p_;
    TWriter& w_;
    int depth_ = 0;
};

std::string ReadRest(TStream& input) {
    int64_t size = input.Size() - input.Position();
    if (size <= 0)
        return std::string();
    std::string text(static_cast<size_t>(size), '\0');
    input.ReadBuffer(text.data(), size);
    return text;
}

} // namespace

void ObjectBinaryToText(TStream& input, TStream& output) {
    TReader reader(input);
    reader.ReadSignature();
    std::string text;
    BinaryToText(reader, text).Object(0);
    output.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void ObjectTextToBinary(TStream& input, TStream& output) {
    std::string text = ReadRest(input);
    TTextParser parser(text);
    TWriter writer(output);
    writer.WriteSignature();
    TextToBinary(parser, writer).Object();
    if (parser.Token().Kind != TTokenKind::Eof)
        parser.Error("End of text expected");
}

TStreamOriginalFormat TestStreamFormat(TStream& input) {
    int64_t at = input.Position();
    char head[16] = {};
    int32_t n = input.Read(head, sizeof head);
    input.SetPosition(at);
    std::string_view s(head, static_cast<size_t>(n < 0 ? 0 : n));
    if (s.substr(0, 4) == std::string_view(FilerSignature, 4))
        return sofBinary;
    if (s.substr(0, 3) == "\xEF\xBB\xBF")
        s.remove_prefix(3);
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    for (const char* word : {"object", "inherited", "inline"}) {
        size_t len = std::strlen(word);
        if (s.size() >= len) {
            bool same = true;
            for (size_t i = 0; i < len; ++i)
                if ((s[i] | 0x20) != word[i])
                    same = false;
            if (same)
                return sofText;
        }
    }
    return sofUnknown;
}
