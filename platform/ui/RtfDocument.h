// Reading rich text (RTF) as the rich-text box shows it.
//
// Groups and control words are read; destinations that are not body text (font and style
// tables, document information, pictures, "\*" groups) are skipped, and the colour table is
// read for \cf. \par and \line end a line, \tab is a tab, \'hh is a byte in the document's code
// page (\ansicpg: 1250, 1251, else Latin-1), \uN is a UTF-16 unit followed by \ucN fallback
// characters that are skipped. Character formatting: \b, \i, \ul (\ulnone), \fsN (half points),
// \cfN, \plain; each group restores what it changed. Nesting deeper than a licence needs is read
// flat, so no input can make the reader recurse or allocate beyond its own size.
#pragma once

#include "platform/gfx/RichText.h"
#include "platform/rtl/UnicodeString.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The runs of formatted text; adjacent characters of the same format share one run.
std::vector<gfx::RichTextRun> RtfToRuns(std::string_view rtf);
// The text alone; text before the first group and after the last is ignored.
UnicodeString RtfToPlainText(std::string_view rtf);
// True when the bytes start as an RTF document.
bool LooksLikeRtf(std::string_view bytes);
// The bytes of a file; nothing when it cannot be read.
std::optional<std::string> ReadRtfFile(const UnicodeString& fileName);
