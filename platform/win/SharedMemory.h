// Named shared memory: a block of bytes that every process of the user can open by its name.
//
// The block lives in POSIX shared memory (/dev/shm/<name>), so any other process, a script
// included, can read it while this one writes. Opening creates the block, zero-filled, when it
// does not exist, and never clears one that does: it keeps whatever an earlier user left. A
// block that exists with a smaller size than asked for is refused rather than grown, since
// whoever made it may rely on its size. The block stays until it is removed (Unlink), as the
// readers may outlive the writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace win {

class SharedMemoryBlock {
public:
    SharedMemoryBlock() = default;
    ~SharedMemoryBlock();
    SharedMemoryBlock(SharedMemoryBlock&& other) noexcept;
    SharedMemoryBlock& operator=(SharedMemoryBlock&& other) noexcept;
    SharedMemoryBlock(const SharedMemoryBlock&) = delete;
    SharedMemoryBlock& operator=(const SharedMemoryBlock&) = delete;

    // Opens or creates the block `name` of `size` bytes and maps all of them, read-write.
    // False with a reason in Error() when the name is not usable ('/' in it, empty, too long),
    // the block is smaller than `size`, or the system refuses.
    bool Open(const std::string& name, size_t size);
    void Close();
    // Removes the name, so the next Open creates a fresh block; mappings stay valid.
    static bool Unlink(const std::string& name);

    bool IsOpen() const { return data_ != nullptr; }
    uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }
    const std::string& Error() const { return error_; }

private:
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    std::string error_;
};

} // namespace win
