#include "platform/rtl/FileSystem.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Paths.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utime.h>

namespace fs = std::filesystem;

bool FileExists(const UnicodeString& fileName) {
    std::error_code error;
    return !fileName.IsEmpty() && fs::is_regular_file(NativePath(fileName), error);
}

bool DirectoryExists(const UnicodeString& folder) {
    std::error_code error;
    return !folder.IsEmpty() && fs::is_directory(NativePath(folder), error);
}

bool ForceDirectories(const UnicodeString& folder) {
    if (folder.IsEmpty())
        return false;
    std::error_code error;
    std::string native = NativePath(ExcludeTrailingPathDelimiter(folder));
    fs::create_directories(native, error);
    return fs::is_directory(native, error);
}

bool CreateDir(const UnicodeString& folder) {
    return !folder.IsEmpty() && mkdir(NativePath(folder).c_str(), 0777) == 0;
}

bool RemoveDir(const UnicodeString& folder) {
    return !folder.IsEmpty() && rmdir(NativePath(folder).c_str()) == 0;
}

bool DeleteFile(const UnicodeString& fileName) {
    if (fileName.IsEmpty())
        return false;
    std::string native = NativePath(fileName);
    struct stat info {};
    // Folders are not files: unlink must not be asked to remove one.
    if (lstat(native.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return false;
    return unlink(native.c_str()) == 0;
}

bool RenameFile(const UnicodeString& oldName, const UnicodeString& newName) {
    if (oldName.IsEmpty() || newName.IsEmpty())
        return false;
    std::string target = NativePath(newName);
    // The platform's rename never replaces an existing file.
    if (access(target.c_str(), F_OK) == 0)
        return false;
    return rename(NativePath(oldName).c_str(), target.c_str()) == 0;
}

UnicodeString GetCurrentDir() {
    std::error_code error;
    fs::path current = fs::current_path(error);
    return error ? UnicodeString() : UnicodeString(current.string());
}

int64_t FileSizeOf(const UnicodeString& fileName) {
    struct stat info {};
    if (fileName.IsEmpty() || stat(NativePath(fileName).c_str(), &info) != 0 ||
        !S_ISREG(info.st_mode))
        return -1;
    return static_cast<int64_t>(info.st_size);
}

bool FileAge(const UnicodeString& fileName, TDateTime& lastWrite) {
    struct stat info {};
    if (fileName.IsEmpty() || stat(NativePath(fileName).c_str(), &info) != 0 ||
        !S_ISREG(info.st_mode))
        return false;
    lastWrite = UnixTimeToDateTime(info.st_mtime);
    return true;
}

int32_t FileAge(const UnicodeString& fileName) {
    TDateTime lastWrite;
    if (!FileAge(fileName, lastWrite))
        return -1;
    return DateTimeToFileDate(lastWrite);
}

int FileSetDate(const UnicodeString& fileName, int32_t fileDate) {
    TDateTime when;
    try {
        when = FileDateToDateTime(fileDate);
    } catch (const EConvertError&) {
        return EINVAL;
    }
    struct utimbuf times {};
    times.actime = times.modtime = DateTimeToUnixTime(when);
    return utime(NativePath(fileName).c_str(), &times) == 0 ? 0 : errno;
}
