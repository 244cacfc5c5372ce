// The file-system routines of the run-time library.
//
// Every name goes through NativePath (Paths.h), so Windows-style paths and names in another
// case reach the right entry once platform/win has installed its resolver. Failures answer
// false (or -1), never raise.
#pragma once

#include "platform/rtl/DateTime.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>

bool FileExists(const UnicodeString& fileName);
bool DirectoryExists(const UnicodeString& folder);
// Creates the folder and every missing parent; true when the folder exists afterwards.
bool ForceDirectories(const UnicodeString& folder);
bool CreateDir(const UnicodeString& folder);
// Removes an empty folder.
bool RemoveDir(const UnicodeString& folder);
bool DeleteFile(const UnicodeString& fileName);
bool RenameFile(const UnicodeString& oldName, const UnicodeString& newName);
UnicodeString GetCurrentDir();
// Size in bytes, -1 when the file does not exist.
int64_t FileSizeOf(const UnicodeString& fileName);
// Last write time as a DOS file time (local), -1 when the file does not exist.
int32_t FileAge(const UnicodeString& fileName);
// Last write time as a TDateTime (local); false when the file does not exist.
bool FileAge(const UnicodeString& fileName, TDateTime& lastWrite);
// Sets the last write time from a DOS file time; 0 on success, else the errno.
int FileSetDate(const UnicodeString& fileName, int32_t fileDate);
