// Little-endian fields of a DWX file, collected in a buffer and written to an open stream. A
// failed write raises DwxError, so a writer never goes on as if the file were complete.
#pragma once

#include "installer/dwx/DwxError.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

class DwxByteWriter {
public:
    explicit DwxByteWriter(std::FILE* stream);
    DwxByteWriter(const DwxByteWriter&) = delete;
    DwxByteWriter& operator=(const DwxByteWriter&) = delete;

    // Room for the next n bytes, to be filled by the caller. A request larger than the buffer
    // grows it (a mesh's flag and index blocks are filled together in one pass over its faces,
    // at most a quarter of the memory of the faces themselves); DwxError when memory runs out.
    uint8_t* Room(size_t n) {
        if (capacity_ - used_ < n) {
            MakeRoom(n);
        }
        uint8_t* bytes = buffer_.get() + used_;
        used_ += n;
        return bytes;
    }
    // Room for as many of the next `wanted` records of recordBytes each (at most kMaxRecord)
    // as fit the buffer, at least one; `granted` tells how many.
    uint8_t* RoomForRecords(uint64_t wanted, size_t recordBytes, size_t& granted) {
        if (capacity_ - used_ < recordBytes) {
            Drain();
        }
        granted =
            static_cast<size_t>(std::min<uint64_t>(wanted, (capacity_ - used_) / recordBytes));
        uint8_t* bytes = buffer_.get() + used_;
        used_ += granted * recordBytes;
        return bytes;
    }
    void Bytes(const void* data, size_t n);
    // Hands everything buffered to the stream and flushes it.
    void Flush();

    void U8(uint8_t v) { *Room(1) = v; }
    void U16(uint16_t v) { StoreU16(Room(2), v); }
    void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
    void U24(uint32_t v) { StoreU24(Room(3), v); }
    void U32(uint32_t v) { StoreU32(Room(4), v); }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F32(float v) { U32(std::bit_cast<uint32_t>(v)); }
    void F64(double v) { StoreF64(Room(8), v); }

    static void StoreU16(uint8_t* p, uint16_t v) {
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
    }
    static void StoreU24(uint8_t* p, uint32_t v) {
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v >> 16);
    }
    static void StoreU32(uint8_t* p, uint32_t v) {
        StoreU24(p, v);
        p[3] = static_cast<uint8_t>(v >> 24);
    }
    static void StoreF32(uint8_t* p, float v) { StoreU32(p, std::bit_cast<uint32_t>(v)); }
    static void StoreF64(uint8_t* p, double v) {
        const uint64_t bits = std::bit_cast<uint64_t>(v);
        StoreU32(p, static_cast<uint32_t>(bits));
        StoreU32(p + 4, static_cast<uint32_t>(bits >> 32));
    }

    static constexpr size_t kMaxRecord = 4096;

private:
    void Drain();
    void MakeRoom(size_t n);

    std::FILE* stream_;
    size_t capacity_ = 256 * 1024; // before buffer_, which is made with this size
    std::unique_ptr<uint8_t[]> buffer_;
    size_t used_ = 0;
};

// Calls encode(bytes, first, n) to fill runs of n consecutive records out of `count`, record
// `first` onward, each run a whole stretch of the writer's buffer.
template <class Encode>
void ForEachRoomRun(DwxByteWriter& out, uint64_t count, size_t recordBytes, Encode&& encode) {
    uint64_t done = 0;
    while (done < count) {
        size_t run = 0;
        uint8_t* bytes = out.RoomForRecords(count - done, recordBytes, run);
        encode(bytes, static_cast<size_t>(done), run);
        done += run;
    }
}
