// How ReadSetupIni takes Setup.ini apart (General_module.h has the readers themselves).
//
// The file is read as a list of lines, not through INI parsing: a section starts at the first
// line equal to its header (without regard to case) and runs up to the next line that looks
// like a header (a "[" somewhere before the first "]"), or to the end of the file. Lines of the
// language, engine, version and pricing sections are split at "%" characters.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <vector>

class TStrings;

// The non-empty lines of the section whose header line is `header` ("[JEZYKI]"); empty when
// the header is absent.
std::vector<UnicodeString> SetupIniSectionContent(const TStrings& lines,
                                                  const UnicodeString& header);

// A line "a%b%c" split into its three fields: the text before the first "%", between the first
// and the second, and after the second. A line with a single "%" has the text after it as both
// its second and third field. A line without "%" gives the whole line as first field.
struct TPercentFields {
    AnsiString first;
    AnsiString second;
    AnsiString third;
};
TPercentFields SplitPercentFields(const AnsiString& line);
