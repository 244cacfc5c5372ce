// The file operations of the platform and its shell that the run-time library's file routines
// (platform/rtl/FileSystem.h: FileExists, ForceDirectories, FileAge...) do not cover: folder
// searches by mask with attributes, the read-only attribute, the shell's rename and delete.
//
// Every path goes through ResolvePath (WindowsPath.h): Windows-style paths are mapped through
// the drive map and existing entries are found whatever the case of their names. Failures
// answer false and leave errno set to the reason.
//
// Attributes: a name beginning with '.' counts as hidden; a file without the owner's write
// permission counts as read-only.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace win {

struct FoundEntry {
    std::string name; // as stored
    std::string path; // the folder searched + name
    bool directory = false;
    bool hidden = false;
    bool readOnly = false;
    int64_t size = 0; // 0 for folders
    time_t modified = 0;
};

// The entries a folder search for `pattern` finds: its last part is a name or a mask
// (FileMask.h), matched case-insensitively, hidden entries included, "." and ".." never listed.
// A pattern that ends with a delimiter names no entry and finds nothing. Sorted by name,
// ignoring case.
std::vector<FoundEntry> FindEntries(const std::string& pattern);

bool IsReadOnly(const std::string& path);
bool SetReadOnly(const std::string& path, bool readOnly);

// The platform's deletion of one file: fails for a read-only file and for a folder.
bool DeleteFile(const std::string& path);

// The shell's rename: never replaces an existing target (nor one whose name differs only in
// case); the source may be a file or a folder. The new name is used as given.
bool RenameWithoutReplacing(const std::string& from, const std::string& to);
// rename(2): replaces the target atomically; for saves through a temporary name.
bool RenameReplacing(const std::string& from, const std::string& to);

// The shell's delete: `pattern` is a file or folder (deleted with everything below it,
// read-only files included) or ends in a mask, whose every match is deleted that way while the
// folder stays. False when a named entry does not exist or anything could not be deleted.
bool ShellDelete(const std::string& pattern);

} // namespace win
