// File-name helpers.
//
// Paths are native POSIX paths with '/' as the delimiter. A Windows-style path ("C:\dir\x.txt")
// that reached the program from a registry value or an older file is also taken apart
// correctly: '\' counts as a delimiter too, and a leading drive letter with its colon is the
// drive part. New delimiters are always '/'.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <functional>
#include <string>

constexpr char16_t PathDelim = u'/';

// Everything up to and including the last delimiter ("/a/b/c.txt" -> "/a/b/").
UnicodeString ExtractFilePath(const UnicodeString& fileName);
// As ExtractFilePath without the trailing delimiter, except for a root ("/", "C:\").
UnicodeString ExtractFileDir(const UnicodeString& fileName);
// The part after the last delimiter.
UnicodeString ExtractFileName(const UnicodeString& fileName);
// The name's extension with its dot ("x.tar.gz" -> ".gz"), empty when the name has no dot.
UnicodeString ExtractFileExt(const UnicodeString& fileName);
// Replaces the name's extension (or appends one); extension carries its dot.
UnicodeString ChangeFileExt(const UnicodeString& fileName, const UnicodeString& extension);
UnicodeString IncludeTrailingPathDelimiter(const UnicodeString& path);
// Drops one trailing delimiter; the root "/" stays "/" so it keeps naming the root.
UnicodeString ExcludeTrailingPathDelimiter(const UnicodeString& path);
bool IsPathDelimiter(const UnicodeString& path, int index);
// An absolute form of fileName, relative to the current folder, with "." and ".." resolved.
UnicodeString ExpandFileName(const UnicodeString& fileName);

// The drive letter of a path, as "C:".
//
// Drive letters are the drive map's view of the file system. platform/win owns the drive map
// and installs it here at start-up with SetDriveResolver; the resolver is asked for every
// path that does not begin with a drive letter of its own. Until one is installed, an absolute
// path is on "C:" and a relative path has no drive (""). A Windows-style path ("D:\x", "d:/x")
// answers its own letter in upper case without asking the resolver.
using DriveResolver = std::function<UnicodeString(const UnicodeString& path)>;
void SetDriveResolver(DriveResolver resolver);
UnicodeString ExtractFileDrive(const UnicodeString& fileName);

// The native file-system name for a path the program hands to a file routine.
//
// The rtl's file routines (streams, string lists, INI files) open files through this hook.
// platform/win installs a resolver that maps Windows-style paths through the drive map and
// finds existing entries whatever the case of their names; until then the path is used as it
// is, in UTF-8.
using NativePathResolver = std::function<std::string(const UnicodeString& path)>;
void SetNativePathResolver(NativePathResolver resolver);
std::string NativePath(const UnicodeString& path);
