// The abstract byte stream every stream class derives from.
//
// Read and Write move up to count bytes and answer how many moved; they never raise for a short
// transfer. ReadBuffer and WriteBuffer insist on the whole count and raise EReadError
// ("Stream read error") or EWriteError ("Stream write error") otherwise. Seek answers the new
// position; a seek before the start raises nothing and answers -1 in the streams of this
// library.
#pragma once

#include <cstdint>

enum TSeekOrigin : unsigned short { soBeginning = 0, soCurrent = 1, soEnd = 2 };
// The older names of the same origins.
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

class TStream {
public:
    virtual ~TStream() = default;

    virtual int32_t Read(void* buffer, int32_t count) = 0;
    virtual int32_t Write(const void* buffer, int32_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    // The byte count; by default found by seeking to the end and back.
    virtual int64_t GetSize();
    // By default streams have the size their data gives them; resizable streams override.
    virtual void SetSize(int64_t newSize);

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t position) { Seek(position, soBeginning); }
    int64_t Size() { return GetSize(); }

    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);

    // Copies count bytes from source's position; count 0 copies the whole of source from its
    // start. Answers the bytes copied; a source that ends early raises EReadError.
    int64_t CopyFrom(TStream& source, int64_t count);

protected:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
};
