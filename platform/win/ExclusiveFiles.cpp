#include "platform/win/ExclusiveFiles.h"

#include "platform/rtl/Exceptions.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win {

int CreateNewFile(const std::string& path) {
    if (path.empty()) {
        errno = ENOENT;
        return -1;
    }
    int handle;
    do
        handle = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    while (handle < 0 && errno == EINTR);
    return handle;
}

bool RemoveFileEntry(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

HandleStream::~HandleStream() {
    if (handle_ >= 0)
        ::close(handle_);
}

namespace {

template <typename Bytes, typename Call>
int32_t TransferAll(Bytes* buffer, int32_t count, Call call) {
    int32_t total = 0;
    while (total < count) {
        ssize_t done = call(buffer + total, static_cast<size_t>(count - total));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            break;
        total += static_cast<int32_t>(done);
    }
    return total;
}

} // namespace

int32_t HandleStream::Read(void* buffer, int32_t count) {
    return TransferAll(static_cast<char*>(buffer), count,
                       [this](char* at, size_t n) { return ::read(handle_, at, n); });
}

int32_t HandleStream::Write(const void* buffer, int32_t count) {
    return TransferAll(static_cast<const char*>(buffer), count,
                       [this](const char* at, size_t n) { return ::write(handle_, at, n); });
}

int64_t HandleStream::Seek(int64_t offset, TSeekOrigin origin) {
    int whence = origin == soCurrent ? SEEK_CUR : origin == soEnd ? SEEK_END : SEEK_SET;
    off_t result = ::lseek(handle_, static_cast<off_t>(offset), whence);
    return result < 0 ? -1 : static_cast<int64_t>(result);
}

int64_t HandleStream::GetSize() {
    struct stat info {};
    if (::fstat(handle_, &info) != 0)
        return TStream::GetSize();
    return static_cast<int64_t>(info.st_size);
}

void HandleStream::SetSize(int64_t newSize) {
    if (newSize < 0 || ::ftruncate(handle_, static_cast<off_t>(newSize)) != 0)
        throw EStreamError(UnicodeString(u"Cannot resize a file. ") + SysErrorMessage(errno));
    if (Position() > newSize)
        Seek(newSize, soBeginning);
}

bool ReadModifiedTime(const std::string& path, int64_t& seconds, uint32_t& nanoseconds) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return false;
    seconds = static_cast<int64_t>(info.st_mtim.tv_sec);
    nanoseconds = static_cast<uint32_t>(info.st_mtim.tv_nsec);
    return true;
}

bool SetModifiedTime(const std::string& path, int64_t seconds, uint32_t nanoseconds) {
    if (nanoseconds >= 1000000000u) {
        errno = EINVAL;
        return false;
    }
    struct timespec times[2];
    times[0].tv_sec = static_cast<time_t>(seconds);
    times[0].tv_nsec = static_cast<long>(nanoseconds);
    times[1] = times[0];
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

} // namespace win
