#include "platform/rtl/MemoryStream.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

void TCustomMemoryStream::SetPointer(const void* memory, int64_t size) {
    memory_ = memory;
    size_ = size < 0 ? 0 : size;
}

int32_t TCustomMemoryStream::Read(void* buffer, int32_t count) {
    if (count <= 0 || position_ >= size_)
        return 0;
    int32_t n = static_cast<int32_t>(std::min<int64_t>(count, size_ - position_));
    std::memcpy(buffer, static_cast<const uint8_t*>(memory_) + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int32_t TCustomMemoryStream::Write(const void*, int32_t) {
    return 0;
}

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == soCurrent ? position_ : origin == soEnd ? GetSize() : 0;
    if (origin != soBeginning && origin != soCurrent && origin != soEnd)
        return -1;
    if ((offset < 0 && base + offset < 0) || (offset > 0 && base > INT64_MAX - offset))
        return -1;
    position_ = base + offset;
    return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
    if (size_ > 0)
        stream.WriteBuffer(memory_, size_);
}

void TCustomMemoryStream::SaveToFile(const UnicodeString& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count) {
    if (count <= 0 || position_ > INT64_MAX - count ||
        position_ + count > static_cast<int64_t>(data_.max_size()))
        return 0;
    int64_t end = position_ + count;
    if (end > static_cast<int64_t>(data_.size())) {
        data_.resize(static_cast<size_t>(end));
        Sync();
    }
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

void TMemoryStream::SetSize(int64_t newSize) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(newSize, 0)));
    Sync();
    if (position_ > newSize)
        position_ = std::max<int64_t>(newSize, 0);
}

void TMemoryStream::Clear() {
    data_.clear();
    data_.shrink_to_fit();
    Sync();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    int64_t start = stream.Position();
    int64_t size = stream.Size() - start;
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(size, 0)));
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    data_ = std::move(bytes);
    Sync();
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const UnicodeString& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

TBytesStream::TBytesStream(std::vector<uint8_t> bytes) {
    data_ = std::move(bytes);
    SetPointer(data_.data(), static_cast<int64_t>(data_.size()));
}

TStringStream::TStringStream(const AnsiString& text)
    : TBytesStream(std::vector<uint8_t>(text.str().begin(), text.str().end())) {}

AnsiString TStringStream::DataString() const {
    return AnsiString(std::string(data_.begin(), data_.end()));
}

AnsiString TStringStream::ReadString(int32_t count) {
    std::string text(static_cast<size_t>(std::max(count, 0)), '\0');
    int32_t n = Read(text.data(), count);
    text.resize(static_cast<size_t>(std::max(n, 0)));
    return AnsiString(std::move(text));
}

void TStringStream::WriteString(const AnsiString& text) {
    WriteBuffer(text.c_str(), text.Length());
}
