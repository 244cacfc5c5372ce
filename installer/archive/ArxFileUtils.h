// Path arithmetic, file tests and folder creation of the archive library.
//
// Paths use "/" as their delimiter. A drive ("C:") or a "//server/share" prefix is still
// recognised, since Windows-style paths can reach the library; every comparison of path pieces
// ignores case. The names keep their historical "Backslash" although the delimiter is "/".
#pragma once

#include "installer/archive/ArxBase.h"

DBI_DECLARE_EXCEPTION(EArxFileUtilsError, EArxError);

constexpr char16_t kArxPathDelimiter = u'/';

// False for an empty name; true for an existing entry that is not a folder.
bool ArxFileExists(const UnicodeString& name);
bool ArxFolderExists(const UnicodeString& name);
// A plain delete (there is no recycle bin to send the file to); true when the file went.
bool ArxDeleteFile(const UnicodeString& name);
// True when anything stands at the name, a link included (whether or not it leads anywhere).
bool ArxEntryExists(const UnicodeString& name);
// Removes the file or link at the name, never a folder; true when it went.
bool ArxRemoveFile(const UnicodeString& name);

UnicodeString EnsureTrailingBackslash(const UnicodeString& path);
UnicodeString StripTrailingBackslash(const UnicodeString& path);
// "C:" or "//server/share" at the start of the path; empty when there is none.
UnicodeString ExtractPathDrive(const UnicodeString& path);
// True when a delimiter directly follows the drive part ("/x", "C:/x").
bool IsRootedPath(const UnicodeString& path);
// Removes "." segments and collapses each segment followed by "..".
UnicodeString NormalizeDotSegments(const UnicodeString& path);
// A folder path as extraction compares it: a Windows-style path ("D:\x") with "/" delimiters,
// then without "." segments and with each segment followed by ".." collapsed.
UnicodeString NormalizeFolderPath(const UnicodeString& path);
// Where target lies seen from origin; see the extraction rule in the archive classes.
UnicodeString RelativePathBetween(const UnicodeString& origin, const UnicodeString& target);
// Creates the folder and any missing parents; false on failure, an empty path raises.
bool CreateFolderChain(const UnicodeString& path);
// The text up to and including the last delimiter; empty when there is none.
UnicodeString ExtractFolderPart(const UnicodeString& path);
// The text after the last delimiter.
UnicodeString ExtractNamePart(const UnicodeString& path);
