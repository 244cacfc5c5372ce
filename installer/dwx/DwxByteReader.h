// Little-endian fields of a DWX file, read through a buffer and checked against the bytes the
// file really has: a read past the end and a count that the rest of the file cannot hold both
// raise DwxError before anything is allocated for them.
#pragma once

#include "installer/dwx/DwxError.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

class DwxByteReader {
public:
    DwxByteReader() = default;
    DwxByteReader(const DwxByteReader&) = delete;
    DwxByteReader& operator=(const DwxByteReader&) = delete;
    ~DwxByteReader();

    // False when the file cannot be opened for reading.
    bool Open(const std::filesystem::path& file);

    uint64_t Remaining() const { return (end_ - pos_) + unread_; }

    // Refuses a count of items of at least minBytesEach bytes that the rest cannot hold.
    void RequireRoomFor(uint64_t count, uint64_t minBytesEach, const char* what) const;
    // Refuses trailing bytes: nothing may follow the last field the counts describe.
    void ExpectEnd() const;

    // The next n contiguous bytes (n at most kMaxTake).
    const uint8_t* Take(size_t n) {
        if (end_ - pos_ < n) {
            Refill(n);
        }
        const uint8_t* bytes = buffer_.get() + pos_;
        pos_ += n;
        return bytes;
    }
    // As many of the next `wanted` records of recordBytes each (at most kMaxTake) as lie whole in
    // the buffer, at least one: a long block is bounds-checked once per buffer load instead of
    // once per record.
    const uint8_t* TakeRecords(uint64_t wanted, size_t recordBytes, size_t& taken) {
        if (end_ - pos_ < recordBytes) {
            Refill(recordBytes);
        }
        taken = static_cast<size_t>(std::min<uint64_t>(wanted, (end_ - pos_) / recordBytes));
        const uint8_t* bytes = buffer_.get() + pos_;
        pos_ += taken * recordBytes;
        return bytes;
    }
    // Copies the next n bytes; a long block goes from the file straight into the target.
    void ReadInto(void* target, size_t n);
    void Skip(uint64_t n);

    uint8_t U8() { return *Take(1); }
    uint16_t U16() { return LoadU16(Take(2)); }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    uint32_t U24() { return LoadU24(Take(3)); }
    uint32_t U32() { return LoadU32(Take(4)); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    float F32() { return std::bit_cast<float>(U32()); }
    double F64() { return LoadF64(Take(8)); }

    static uint16_t LoadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
    static uint32_t LoadU24(const uint8_t* p) {
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16);
    }
    static uint32_t LoadU32(const uint8_t* p) {
        return LoadU24(p) | (static_cast<uint32_t>(p[3]) << 24);
    }
    static float LoadF32(const uint8_t* p) { return std::bit_cast<float>(LoadU32(p)); }
    static double LoadF64(const uint8_t* p) {
        return std::bit_cast<double>(static_cast<uint64_t>(LoadU32(p)) |
                                     (static_cast<uint64_t>(LoadU32(p + 4)) << 32));
    }

    static constexpr size_t kMaxTake = 4096;

private:
    void Refill(size_t needed);
    void ReadFromFile(uint8_t* target, size_t n);

    static constexpr size_t kBufferBytes = 256 * 1024;
    std::FILE* file_ = nullptr;
    std::unique_ptr<uint8_t[]> buffer_;
    size_t capacity_ = 0;
    size_t pos_ = 0;
    size_t end_ = 0;
    uint64_t unread_ = 0; // bytes of the file not yet in the buffer
};

// Calls decode(bytes, first, n) for runs of n consecutive records out of `count`, record
// `first` onward, each run whole in the reader's buffer. The caller has already checked with
// RequireRoomFor that the file holds the count.
template <class Decode>
void ForEachRecordRun(DwxByteReader& in, uint64_t count, size_t recordBytes, Decode&& decode) {
    uint64_t done = 0;
    while (done < count) {
        size_t run = 0;
        const uint8_t* bytes = in.TakeRecords(count - done, recordBytes, run);
        decode(bytes, static_cast<size_t>(done), run);
        done += run;
    }
}
