// The recursive file searches of the engine: every file at or below a path whose full path
// matches a regular expression (Perl syntax, case-sensitive, searched anywhere in the text, as
// ".(dwx)$" asks for paths ending in a character and "dwx").
//
// A walk stays inside the folder it started in: links are neither followed into folders nor
// reported as files, since a file reached through a link may lie anywhere. Only regular files
// are reported; pipes, sockets and devices are passed over. Paths are reported
// as the starting path (as given) joined with the names below it. A folder that exists but
// cannot be read raises EInOutError; entries are visited in the order the directory iterator
// gives.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <functional>

void WalkFilesMatching(const AnsiString& path, const char* pattern,
                       const std::function<void(const AnsiString& file)>& action);
