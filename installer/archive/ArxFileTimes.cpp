#include "installer/archive/ArxFileTimes.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Paths.h"
#include "platform/win/ExclusiveFiles.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <mutex>
#include <random>
#include <system_error>

namespace fs = std::filesystem;
using sevenzip::FILETIME;

namespace {

// 100-nanosecond ticks between 1601-01-01 and 1970-01-01.
constexpr int64_t kUnixEpochTicks = 116444736000000000LL;
constexpr int64_t kTicksPerSecond = 10000000;

// Whole seconds and nanoseconds since 1970 of a file time; every 64-bit value converts without
// overflow (the largest lies near the year 60056, the file system then clamps).
void FileTimeToUnix(const FILETIME& time, int64_t& seconds, uint32_t& nanoseconds) {
    uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    auto since1601 = static_cast<int64_t>(ticks / kTicksPerSecond);
    seconds = since1601 - kUnixEpochTicks / kTicksPerSecond;
    nanoseconds = static_cast<uint32_t>(ticks % kTicksPerSecond) * 100;
}

// Times before 1601 become 1601 and times past the last file time the last one.
FILETIME UnixToFileTime(int64_t seconds, uint32_t nanoseconds) {
    constexpr int64_t kFirst = -kUnixEpochTicks / kTicksPerSecond;
    constexpr auto kLast =
        static_cast<int64_t>(std::numeric_limits<uint64_t>::max() / kTicksPerSecond) -
        kUnixEpochTicks / kTicksPerSecond - 1;
    uint64_t ticks = 0;
    if (seconds >= kFirst) {
        int64_t clamped = seconds > kLast ? kLast : seconds;
        ticks = static_cast<uint64_t>(clamped - kFirst) * kTicksPerSecond + nanoseconds / 100;
    }
    return FILETIME{static_cast<uint32_t>(ticks & 0xFFFFFFFFu), static_cast<uint32_t>(ticks >> 32)};
}

std::string StagingName() {
    static std::mutex mutex;
    static std::mt19937_64 random{std::random_device{}()};
    std::lock_guard lock(mutex);
    char name[40];
    std::snprintf(name, sizeof name, ".arx-%016llx.part",
                  static_cast<unsigned long long>(random()));
    return name;
}

} // namespace

bool ReadFileFacts(const UnicodeString& name, TArxFileFacts& facts) {
    std::error_code error;
    fs::path path(NativePath(name));
    auto status = fs::status(path, error);
    if (error || !fs::exists(status))
        return false;
    bool folder = fs::is_directory(status);
    facts.attributes = folder ? 0x10 : 0x20;
    facts.size = folder ? 0 : static_cast<int64_t>(fs::file_size(path, error));
    int64_t seconds = 0;
    uint32_t nanoseconds = 0;
    if (error || !win::ReadModifiedTime(fs::canonical(path, error).string(), seconds, nanoseconds))
        return false;
    facts.lastWriteTime = UnixToFileTime(seconds, nanoseconds);
    facts.creationTime = facts.lastWriteTime;
    facts.lastAccessTime = facts.lastWriteTime;
    return true;
}

bool SetFileTimes(const UnicodeString& name, const std::optional<FILETIME>&,
                  const std::optional<FILETIME>&, const std::optional<FILETIME>& lastWrite) {
    std::string path = NativePath(name);
    if (!lastWrite) {
        std::error_code error;
        return fs::exists(fs::symlink_status(path, error));
    }
    int64_t seconds = 0;
    uint32_t nanoseconds = 0;
    FileTimeToUnix(*lastWrite, seconds, nanoseconds);
    return win::SetModifiedTime(path, seconds, nanoseconds);
}

bool CreateNewEmptyFile(const UnicodeString& name) {
    int handle = win::CreateNewFile(NativePath(name));
    if (handle < 0)
        return false;
    win::HandleStream close(handle);
    return true;
}

bool ReplaceFile(const UnicodeString& from, const UnicodeString& to) {
    std::error_code error;
    fs::rename(fs::path(NativePath(from)), fs::path(NativePath(to)), error);
    return !error;
}

TArxStagingFile CreateStagingFile(const UnicodeString& folder) {
    const std::string base = folder.IsEmpty() ? std::string() : NativePath(folder);
    int lastError = EEXIST;
    // A name taken by anything, ours or not, is passed over for another.
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::string path = base + StagingName();
        int handle = win::CreateNewFile(path);
        if (handle >= 0)
            return {UnicodeString::FromUtf8(path), std::make_unique<win::HandleStream>(handle)};
        lastError = errno;
        if (lastError != EEXIST)
            break;
    }
    throw EFCreateError(UnicodeString(u"Cannot create a temporary file in \"") +
                        (folder.IsEmpty() ? UnicodeString(u".") : folder) + UnicodeString(u"\". ") +
                        SysErrorMessage(lastError));
}
