#include "platform/rtl/FileStream.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TFileStream::TFileStream(const UnicodeString& fileName, unsigned short mode) : fileName_(fileName) {
    std::string native = NativePath(fileName);
    bool create = (mode & 0xFF00) == fmCreate;
    int flags = O_CLOEXEC;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (mode & 3) {
        case fmOpenWrite:
            flags |= O_WRONLY;
            break;
        case fmOpenReadWrite:
            flags |= O_RDWR;
            break;
        default:
            flags |= O_RDONLY;
            break;
        }
    }
    fd_ = native.empty() ? -1 : ::open(native.c_str(), flags, 0666);
    int error = native.empty() ? ENOENT : errno;
    if (fd_ >= 0) {
        struct stat info {};
        // A folder opens read-only on POSIX; the platform refuses it as a file.
        if (fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            error = EISDIR;
        }
    }
    if (fd_ < 0) {
        UnicodeString reason = SysErrorMessage(error);
        if (create)
            throw EFCreateError(UnicodeString(u"Cannot create file \"") + fileName +
                                UnicodeString(u"\". ") + reason);
        throw EFOpenError(UnicodeString(u"Cannot open file \"") + fileName +
                          UnicodeString(u"\". ") + reason);
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0)
        ::close(fd_);
}

namespace {

// Moves count bytes with read or write, retrying after signals and short transfers; answers
// the bytes moved.
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

int32_t TFileStream::Read(void* buffer, int32_t count) {
    return TransferAll(static_cast<char*>(buffer), count,
                       [this](char* at, size_t n) { return ::read(fd_, at, n); });
}

int32_t TFileStream::Write(const void* buffer, int32_t count) {
    return TransferAll(static_cast<const char*>(buffer), count,
                       [this](const char* at, size_t n) { return ::write(fd_, at, n); });
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    int whence = origin == soCurrent ? SEEK_CUR : origin == soEnd ? SEEK_END : SEEK_SET;
    off_t result = ::lseek(fd_, static_cast<off_t>(offset), whence);
    return result < 0 ? -1 : static_cast<int64_t>(result);
}

int64_t TFileStream::GetSize() {
    struct stat info {};
    if (fstat(fd_, &info) != 0)
        return TStream::GetSize();
    return static_cast<int64_t>(info.st_size);
}

void TFileStream::SetSize(int64_t newSize) {
    if (newSize < 0 || ::ftruncate(fd_, static_cast<off_t>(newSize)) != 0)
        throw EStreamError(UnicodeString(u"Cannot resize file \"") + fileName_ +
                           UnicodeString(u"\". ") + SysErrorMessage(errno));
    if (Position() > newSize)
        Seek(newSize, soBeginning);
}
