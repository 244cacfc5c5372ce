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
    // Every read below asks for a whole block, so the stream's own buffer would only add a copy.
    std::setvbuf(file_, nullptr, _IONBF, 0);
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
    if (needed > capacity_ || needed - kept > unread_) {
        throw DwxError("the file ends inside a field");
    }
    std::memmove(buffer_.get(), buffer_.get() + pos_, kept);
    pos_ = 0;
    end_ = kept;
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(capacity_ - kept, unread_));
    ReadFromFile(buffer_.get() + kept, wanted);
    end_ += wanted;
}

void DwxByteReader::ReadFromFile(uint8_t* target, size_t n) {
    const size_t got = std::fread(target, 1, n, file_);
    unread_ -= got;
    if (got != n) {
        throw DwxError("the file could not be read to its end");
    }
}

void DwxByteReader::ReadInto(void* target, size_t n) {
    auto* out = static_cast<uint8_t*>(target);
    if (n > Remaining()) {
        throw DwxError("the file ends inside a block");
    }
    const size_t buffered = std::min(n, end_ - pos_);
    if (buffered > 0) {
        std::memcpy(out, buffer_.get() + pos_, buffered);
        pos_ += buffered;
        out += buffered;
        n -= buffered;
    }
    if (n >= capacity_ / 2) {
        // A block this long would only pass through the buffer; the buffer is empty here.
        ReadFromFile(out, n);
        return;
    }
    if (n > 0) {
        Refill(n);
        std::memcpy(out, buffer_.get() + pos_, n);
        pos_ += n;
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
