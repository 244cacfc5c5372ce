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

namespace {

// Moves all count bytes in transfers of at most 1 GiB (a single Read or Write counts in 32-bit
// units); a transfer that moves nothing raises Error.
template <typename Error, typename Byte, typename Move>
void TransferAll(Byte* bytes, int64_t count, Move move, const char16_t* message) {
    while (count > 0) {
        int32_t chunk = static_cast<int32_t>(std::min<int64_t>(count, 1 << 30));
        int32_t done = move(bytes, chunk);
        if (done <= 0)
            throw Error(message);
        bytes += done;
        count -= done;
    }
}

} // namespace

void TStream::ReadBuffer(void* buffer, int64_t count) {
    TransferAll<EReadError>(
        static_cast<uint8_t*>(buffer), count,
        [this](uint8_t* bytes, int32_t chunk) { return Read(bytes, chunk); }, u"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    TransferAll<EWriteError>(
        static_cast<const uint8_t*>(buffer), count,
        [this](const uint8_t* bytes, int32_t chunk) { return Write(bytes, chunk); },
        u"Stream write error");
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
