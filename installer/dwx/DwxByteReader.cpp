#include "installer/dwx/DwxByteReader.h"

#include <algorithm>
#include <cstring>
#include <string>

DwxByteReader::~DwxByteReader() {
    if (file_) {
        std::fclose(file_);
    }
}

bool DwxByteReader::Open(const std::filesystem::path& file) {
    file_ = std::fopen(file.c_str(), "rb");
    if (!file_) {
        return false;
    }
    // The size bounds every count in the file; a stream that cannot tell it is not read at all.
    if (std::fseek(file_, 0, SEEK_END) != 0) {
        return false;
    }
    const long size = std::ftell(file_);
    if (size < 0 || std::fseek(file_, 0, SEEK_SET) != 0) {
        return false;
    }
    unread_ = static_cast<uint64_t>(size);
    capacity_ = static_cast<size_t>(std::min<uint64_t>(unread_ + kMaxTake, kBufferBytes));
    buffer_ = std::make_unique_for_overwrite<uint8_t[]>(capacity_);
    return true;
}

void DwxByteReader::RequireRoomFor(uint64_t count, uint64_t minBytesEach, const char* what) const {
    if (count > Remaining() / minBytesEach) {
        throw DwxError(std::to_string(count) + " " + what + " cannot fit in the " +
                       std::to_string(Remaining()) + " bytes left in the file");
    }
}

void DwxByteReader::ExpectEnd() const {
    if (Remaining() != 0) {
        throw DwxError(std::to_string(Remaining()) + " bytes follow the last mesh");
    }
}

void DwxByteReader::Refill(size_t needed) {
    const size_t kept = end_ - pos_;
    if (needed > kMaxTake || needed - kept > unread_) {
        throw DwxError("the file ends inside a field");
    }
    std::memmove(buffer_.get(), buffer_.get() + pos_, kept);
    pos_ = 0;
    end_ = kept;
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(capacity_ - kept, unread_));
    const size_t got = std::fread(buffer_.get() + kept, 1, wanted, file_);
    end_ += got;
    unread_ -= got;
    if (got != wanted || end_ < needed) {
        throw DwxError("the file could not be read to its end");
    }
}

void DwxByteReader::ReadInto(void* target, size_t n) {
    auto* out = static_cast<uint8_t*>(target);
    if (n > Remaining()) {
        throw DwxError("the file ends inside a block");
    }
    while (n > 0) {
        if (end_ == pos_) {
            Refill(1);
        }
        const size_t chunk = std::min(n, end_ - pos_);
        std::memcpy(out, buffer_.get() + pos_, chunk);
        pos_ += chunk;
        out += chunk;
        n -= chunk;
    }
}

void DwxByteReader::Skip(uint64_t n) {
    if (n > Remaining()) {
        throw DwxError("the file ends inside a skipped block");
    }
    const size_t buffered = end_ - pos_;
    if (n <= buffered) {
        pos_ += static_cast<size_t>(n);
        return;
    }
    n -= buffered;
    pos_ = end_;
    if (std::fseek(file_, static_cast<long>(n), SEEK_CUR) != 0) {
        throw DwxError("the file could not be read to its end");
    }
    unread_ -= n;
}
