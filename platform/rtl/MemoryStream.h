// Streams over bytes in memory.
//
// TCustomMemoryStream reads a block it does not own (a resource, a mapped file): writes move
// nothing, so WriteBuffer raises EWriteError. TMemoryStream owns a growable block; a write past
// the end grows it, and a seek past the end followed by a write fills the gap with zeros.
// TBytesStream is a memory stream that starts from given bytes; TStringStream one whose bytes
// are 8-bit text (UTF-8).
#pragma once

#include "platform/rtl/Stream.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <string>
#include <vector>

class TCustomMemoryStream : public TStream {
public:
    // A read-only view of size bytes at memory; the bytes must outlive the stream.
    TCustomMemoryStream(const void* memory, int64_t size) { SetPointer(memory, size); }

    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t GetSize() override { return size_; }

    const void* Memory() const { return memory_; }
    void SaveToStream(TStream& stream);
    // Creates (or truncates) the file and writes the whole block into it.
    void SaveToFile(const UnicodeString& fileName);

protected:
    TCustomMemoryStream() = default;
    void SetPointer(const void* memory, int64_t size);
    int64_t position_ = 0;

private:
    const void* memory_ = nullptr;
    int64_t size_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
public:
    TMemoryStream() = default;

    int32_t Write(const void* buffer, int32_t count) override;
    void SetSize(int64_t newSize) override;

    void* Memory() { return data_.data(); }
    const void* Memory() const { return data_.data(); }
    // Empties the stream and rewinds it.
    void Clear();
    // Replaces the content with the rest of stream (from its position) or the whole file; the
    // position is 0 afterwards. A failing open raises EFOpenError.
    void LoadFromStream(TStream& stream);
    void LoadFromFile(const UnicodeString& fileName);

protected:
    std::vector<uint8_t> data_;

private:
    void Sync() { SetPointer(data_.data(), static_cast<int64_t>(data_.size())); }
};

class TBytesStream : public TMemoryStream {
public:
    TBytesStream() = default;
    explicit TBytesStream(std::vector<uint8_t> bytes);
    // The bytes of the stream (all of them, whatever the position).
    const std::vector<uint8_t>& Bytes() const { return data_; }
};

class TStringStream : public TBytesStream {
public:
    TStringStream() = default;
    explicit TStringStream(const AnsiString& text);
    explicit TStringStream(const UnicodeString& text) : TStringStream(AnsiString(text)) {}
    // All bytes of the stream as 8-bit text.
    AnsiString DataString() const;
    // Reads count bytes (fewer at the end) from the position as 8-bit text.
    AnsiString ReadString(int32_t count);
    void WriteString(const AnsiString& text);
};
