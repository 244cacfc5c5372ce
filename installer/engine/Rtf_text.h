// TRtfText: a rich-text document loaded as the licence box shows it.
//
// The licence agreement travels as RTF. The document keeps the file's bytes unchanged (the
// box's view draws from them) and gives the plain text: groups and control words are read,
// destinations that are not body text (font, colour and style tables, document information,
// pictures, "\*" groups) are skipped, \par and \line end a line, \tab is a tab, \'hh is a byte in
// the document's code page (\ansicpg: 1250, 1251 or Latin-1 otherwise) and \uN is a UTF-16 unit
// followed by \ucN fallback characters that are skipped.
//
// The rich-text box of the wizard is not part of the platform layer yet; until it is, the
// engine loads the licence into this document.
#pragma once

#include "platform/rtl/UnicodeString.h"
#include "platform/ui/RtfDocument.h"

#include <string>
#include <string_view>

class TRtfText {
public:
    // False (and the document left empty) when the file cannot be read or does not start as RTF.
    bool LoadFromFile(const UnicodeString& fileName);
    // The same from bytes in memory.
    bool LoadFromBytes(std::string_view bytes);
    void Clear();

    const std::string& Bytes() const { return bytes_; }
    const UnicodeString& PlainText() const { return plain_; }
    bool IsEmpty() const { return bytes_.empty(); }

private:
    std::string bytes_;
    UnicodeString plain_;
};
