// Text files as bytes.
//
// Reading: a byte-order mark decides (EF BB BF UTF-8, FF FE UTF-16LE, FE FF UTF-16BE); without
// one, bytes that are valid UTF-8 are UTF-8 (the system code page here) and anything else is
// windows-1250, the code page of the program's market. Decoding never fails: an odd trailing
// byte of UTF-16 is dropped, and bytes windows-1250 leaves undefined become U+FFFD.
// Writing: Utf8 writes no mark (what other programs expect of 8-bit text); Utf8WithBom,
// Utf16LE and Utf16BE write their mark; Windows1250 writes '?' for what it cannot encode.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <string>
#include <string_view>

enum class TTextEncoding { Utf8, Utf8WithBom, Utf16LE, Utf16BE, Windows1250 };

// Decodes bytes by their mark or their content; `detected` (optional) receives the encoding.
UnicodeString DecodeText(std::string_view bytes, TTextEncoding* detected = nullptr);
// Decodes bytes in a known encoding, skipping that encoding's mark when present.
UnicodeString DecodeTextAs(std::string_view bytes, TTextEncoding encoding);
std::string EncodeText(const UnicodeString& text, TTextEncoding encoding);

bool IsValidUtf8(std::string_view bytes);
std::u16string Windows1250ToUtf16(std::string_view bytes);
std::string Utf16ToWindows1250(std::u16string_view text);
