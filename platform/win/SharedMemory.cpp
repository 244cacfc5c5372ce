#include "platform/win/SharedMemory.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace win {
namespace {

bool UsableName(const std::string& name) {
    return !name.empty() && name.size() < 250 && name.find('/') == std::string::npos &&
           name != "." && name != "..";
}

} // namespace

SharedMemoryBlock::~SharedMemoryBlock() {
    Close();
}

SharedMemoryBlock::SharedMemoryBlock(SharedMemoryBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      error_(std::move(other.error_)) {}

SharedMemoryBlock& SharedMemoryBlock::operator=(SharedMemoryBlock&& other) noexcept {
    if (this != &other) {
        Close();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool SharedMemoryBlock::Open(const std::string& name, size_t size) {
    Close();
    error_.clear();
    if (!UsableName(name) || size == 0) {
        error_ = "\"" + name + "\" is not a usable shared-memory name";
        return false;
    }
    std::string posixName = "/" + name;
    int fd = ::shm_open(posixName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error_ = "cannot open shared memory \"" + name + "\": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error_ = "cannot examine shared memory \"" + name + "\": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    // A fresh block has size 0; two processes creating it at once both set the same size.
    if (st.st_size == 0 && ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        error_ = "cannot size shared memory \"" + name + "\": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    if (st.st_size != 0 && static_cast<size_t>(st.st_size) < size) {
        error_ = "shared memory \"" + name + "\" exists with " + std::to_string(st.st_size) +
                 " bytes, fewer than the " + std::to_string(size) + " needed";
        ::close(fd);
        return false;
    }
    void* view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (view == MAP_FAILED) {
        error_ = "cannot map shared memory \"" + name + "\": " + std::strerror(errno);
        return false;
    }
    data_ = static_cast<uint8_t*>(view);
    size_ = size;
    return true;
}

void SharedMemoryBlock::Close() {
    if (data_ != nullptr)
        ::munmap(data_, size_);
    data_ = nullptr;
    size_ = 0;
}

bool SharedMemoryBlock::Unlink(const std::string& name) {
    return UsableName(name) && ::shm_unlink(("/" + name).c_str()) == 0;
}

} // namespace win
