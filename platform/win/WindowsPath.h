// How a path the program hands over becomes a path on this file system.
//
// Native POSIX paths are the normal form. A Windows-style path (a drive letter and a colon,
// "C:\Programs\x.ini", "d:/data", "E:") is taken too, as a registry value or a path built from
// a drive letter may hold one: its drive letter is replaced by that drive's folder in the drive
// map and its backslashes become '/', so "C:\" names the C: drive's folder.
//
// Windows finds an existing file whatever the case of its name; ResolvePath does the same for
// every part of the path whose exact spelling does not exist. Parts that do not exist in any
// case keep the spelling given, so a new file gets the name the caller chose.
#pragma once

#include <string>

namespace win {

// A drive letter, a colon, then nothing or a delimiter ('\' or '/') or a drive-relative name.
bool IsWindowsStylePath(const std::string& path);

// The native form of a path, through the drive map. A Windows-style path on a letter that has
// no drive gives "" (which names nothing, so every file operation on it fails). Any other path
// is returned unchanged.
std::string ToNativePath(const std::string& path);

// ToNativePath, then each missing part matched case-insensitively against the entries that
// exist. Of several entries that differ only in case the first in byte order wins. A trailing
// '/' stays.
std::string ResolvePath(const std::string& path);

// The drive of a native or Windows-style path as "C:", "" when no drive holds it.
std::string DriveOfPath(const std::string& path);

// Hands the drive map and path resolution to the run-time library (ExtractFileDrive and the
// file routines of streams, string lists and INI files). Runs by itself at start-up whenever
// this file is linked; calling it again does no harm.
void InstallPathResolvers();

} // namespace win
