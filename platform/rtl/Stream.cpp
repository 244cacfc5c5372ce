#include "platform/rtl/Stream.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <vector>

int64_t TStream::GetSize() {
    int64_t position = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(int64_t) {}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    auto* bytes = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        int32_t chunk = static_cast<int32_t>(std::min<int64_t>(count, 1 << 30));
        int32_t done = Read(bytes, chunk);
        if (done <= 0)
            throw EReadError(u"Stream read error");
        bytes += done;
        count -= done;
    }
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    auto* bytes = static_cast<const uint8_t*>(buffer);
    while (count > 0) {
        int32_t chunk = static_cast<int32_t>(std::min<int64_t>(count, 1 << 30));
        int32_t done = Write(bytes, chunk);
        if (done <= 0)
            throw EWriteError(u"Stream write error");
        bytes += done;
        count -= done;
    }
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const int64_t total = count;
    std::vector<uint8_t> buffer(
        static_cast<size_t>(std::min<int64_t>(std::max<int64_t>(count, 1), 1 << 20)));
    while (count > 0) {
        int32_t chunk =
            static_cast<int32_t>(std::min<int64_t>(count, static_cast<int64_t>(buffer.size())));
        source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        count -= chunk;
    }
    return total;
}
