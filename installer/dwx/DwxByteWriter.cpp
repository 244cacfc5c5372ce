#include "installer/dwx/DwxByteWriter.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

DwxByteWriter::DwxByteWriter(std::FILE* stream)
    : stream_(stream), buffer_(std::make_unique_for_overwrite<uint8_t[]>(capacity_)) {}

void DwxByteWriter::Drain() {
    if (used_ > 0 && std::fwrite(buffer_.get(), 1, used_, stream_) != used_) {
        throw DwxError("the file could not be written");
    }
    used_ = 0;
}

void DwxByteWriter::MakeRoom(size_t n) {
    Drain();
    if (n > capacity_) {
        try {
            buffer_ = std::make_unique_for_overwrite<uint8_t[]>(n);
        } catch (const std::bad_alloc&) {
            throw DwxError("no memory for a block of " + std::to_string(n) + " bytes");
        }
        capacity_ = n;
    }
}

void DwxByteWriter::Bytes(const void* data, size_t n) {
    if (n == 0) {
        return;
    }
    if (n >= capacity_) {
        // A block this long would only pass through the buffer.
        Drain();
        if (std::fwrite(data, 1, n, stream_) != n) {
            throw DwxError("the file could not be written");
        }
        return;
    }
    std::memcpy(Room(n), data, n);
}

void DwxByteWriter::Flush() {
    Drain();
    if (std::fflush(stream_) != 0 || std::ferror(stream_)) {
        throw DwxError("the file could not be written");
    }
}
