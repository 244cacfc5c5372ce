#include "installer/archive/ArxFileTimes.h"

#include "platform/rtl/Paths.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;
using sevenzip::FILETIME;

namespace {

// 100-nanosecond ticks between 1601-01-01 and 1970-01-01.
constexpr int64_t kUnixEpochTicks = 116444736000000000LL;

fs::file_time_type FromFileTime(const FILETIME& time) {
    int64_t ticks = (static_cast<int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    auto since1970 = std::chrono::nanoseconds((ticks - kUnixEpochTicks) * 100);
    return std::chrono::file_clock::from_sys(std::chrono::sys_time<std::chrono::nanoseconds>(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(since1970)));
}

FILETIME ToFileTime(fs::file_time_type time) {
    auto sys = std::chrono::file_clock::to_sys(time);
    int64_t ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(sys.time_since_epoch()).count();
    auto ticks = static_cast<uint64_t>(ns / 100 + kUnixEpochTicks);
    return FILETIME{static_cast<uint32_t>(ticks & 0xFFFFFFFFu), static_cast<uint32_t>(ticks >> 32)};
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
    auto written = fs::last_write_time(path, error);
    if (error)
        return false;
    facts.lastWriteTime = ToFileTime(written);
    facts.creationTime = facts.lastWriteTime;
    facts.lastAccessTime = facts.lastWriteTime;
    return true;
}

bool SetFileTimes(const UnicodeString& name, const std::optional<FILETIME>&,
                  const std::optional<FILETIME>&, const std::optional<FILETIME>& lastWrite) {
    std::error_code error;
    fs::path path(NativePath(name));
    if (!fs::exists(path, error))
        return false;
    if (lastWrite)
        fs::last_write_time(path, FromFileTime(*lastWrite), error);
    return !error;
}

bool ReplaceFile(const UnicodeString& from, const UnicodeString& to) {
    std::error_code error;
    fs::rename(fs::path(NativePath(from)), fs::path(NativePath(to)), error);
    return !error;
}

bool CreateEmptyFile(const UnicodeString& name) {
    std::ofstream file(fs::path(NativePath(name)), std::ios::binary | std::ios::trunc);
    return file.good();
}
