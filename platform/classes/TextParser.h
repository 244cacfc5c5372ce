// The tokenizer of the text form of component streams.
//
// Tokens: identifiers (letters, digits, '_', not starting with a digit), integers (decimal, or
// hexadecimal after '$'), floats (digits with a '.' and/or an exponent, optionally followed by
// one suffix letter: s single, c currency, d date, f double), strings (quoted runs with '' for a
// quote and #nnn or #$hh character codes, adjacent runs forming one string), and single
// characters. The decimal point is always '.', whatever the user's locale. Text is UTF-8; a
// leading byte-order mark is skipped. Errors raise EParserError with the line number.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <string>
#include <string_view>

DBI_DECLARE_EXCEPTION(EParserError, EReadError);

enum class TTokenKind { Eof, Symbol, Integer, Float, String, Char };

struct TToken {
    TTokenKind Kind = TTokenKind::Eof;
    std::string Text;     // Symbol: the identifier; Integer, Float: the digits as written
    std::u16string Value; // String: the decoded text
    int64_t Integer = 0;  // Integer
    char Suffix = 0;      // Float: 0, 's', 'c', 'd' or 'f'
    char Char = 0;        // Char
    int Line = 1;
};

class TTextParser {
public:
    explicit TTextParser(std::string_view text);

    const TToken& Token() const { return token_; }
    // Advances to the next token and answers it.
    const TToken& Next();
    // The token after the current one, without moving.
    TToken Peek();

    bool IsSymbol(const char* word) const; // case-insensitive
    bool IsChar(char c) const { return token_.Kind == TTokenKind::Char && token_.Char == c; }
    void CheckSymbol();
    void CheckChar(char c);
    // The bytes of a hexadecimal block after '{', up to and including '}'; the current token
    // becomes the one after the block.
    std::string ReadHexBlock();

    [[noreturn]] void Error(const std::string& message) const;

private:
    void Scan();
    void ScanNumber();
    void ScanString();
    void SkipBlanks();

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
    TToken token_;
};
