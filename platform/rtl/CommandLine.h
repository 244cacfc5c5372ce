// The program's own command line and executable.
//
// The arguments are read once from /proc/self/cmdline, so code far from main() sees them
// without being handed argc and argv. ParamStr(0) is the executable's full path (from
// /proc/self/exe); ParamStr(1) to ParamStr(ParamCount()) the arguments as given; an index out
// of range answers the empty text.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <vector>

int ParamCount();
UnicodeString ParamStr(int index);
// The executable's full path and its folder with a trailing delimiter.
UnicodeString ExecutableFileName();
UnicodeString ExecutableFolder();

// Replaces what ParamCount and ParamStr answer: arguments[0] is the executable's path, the rest
// the arguments. For tests and for hosts that start the program code in-process.
void SetCommandLine(const std::vector<UnicodeString>& arguments);
