#include "installer/dwx/DwxByteWriter.h"

#include <algorithm>
#include <cstring>

DwxByteWriter::DwxByteWriter(std::FILE* stream)
    : stream_(stream), buffer_(std::make_unique<uint8_t[]>(kBufferBytes)) {}

void DwxByteWriter::Drain() {
    if (used_ > 0 && std::fwrite(buffer_.get(), 1, used_, stream_) != used_) {
        throw DwxError("the file could not be written");
    }
    used_ = 0;
}

void DwxByteWriter::Bytes(const void* data, size_t n) {
    const auto* in = static_cast<const uint8_t*>(data);
    while (n > 0) {
        if (used_ == kBufferBytes) {
            Drain();
        }
        const size_t chunk = std::min(n, kBufferBytes - used_);
        std::memcpy(buffer_.get() + used_, in, chunk);
        used_ += chunk;
        in += chunk;
        n -= chunk;
    }
}

void DwxByteWriter::Flush() {
    Drain();
    if (std::fflush(stream_) != 0 || std::ferror(stream_)) {
        throw DwxError("the file could not be written");
    }
}
