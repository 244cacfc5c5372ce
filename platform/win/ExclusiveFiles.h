// Files made only where nothing stands yet, and times set on an entry without following a link
// at its name: what a writer needs when someone else may plant entries in the folder it writes
// to.
#pragma once

#include "platform/rtl/Stream.h"

#include <cstdint>
#include <string>

namespace win {

// Creates `path` as a new empty file open for reading and writing. Fails with errno EEXIST when
// any entry already stands at that name, a link included (which is never followed); answers
// the open handle, or -1 with errno set.
int CreateNewFile(const std::string& path);

// Removes the file or link at `path`, never a folder; false with errno set when it cannot.
bool RemoveFileEntry(const std::string& path);

// A stream over an open file handle, which it closes when it goes.
class HandleStream : public TStream {
public:
    explicit HandleStream(int handle) : handle_(handle) {}
    ~HandleStream() override;
    HandleStream(const HandleStream&) = delete;
    HandleStream& operator=(const HandleStream&) = delete;

    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t GetSize() override;
    // Raises EStreamError when the file cannot be resized.
    void SetSize(int64_t newSize) override;

private:
    int handle_;
};

// The last write time of an entry (a link's own time when the name is a link), in seconds and
// nanoseconds since 1970-01-01; false with errno set when it cannot be read.
bool ReadModifiedTime(const std::string& path, int64_t& seconds, uint32_t& nanoseconds);
// Sets the last write time (and the access time) of the entry itself, never of what a link at
// the name points to. The file system may round or clamp the time to what it can store.
bool SetModifiedTime(const std::string& path, int64_t seconds, uint32_t nanoseconds);

} // namespace win
