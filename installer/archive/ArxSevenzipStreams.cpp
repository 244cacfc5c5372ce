#include "installer/archive/ArxSevenzipStreams.h"

#include "installer/archive/ArxCompressionArchive.h"
#include "installer/archive/ArxCompressionErrors.h"

#include <algorithm>

using namespace sevenzip;

TArxSevenzipStreamBase::TArxSevenzipStreamBase(TArxCompressionArchive* AArchive, int AItemIndex)
    : archive_(AArchive), itemIndex_(AItemIndex) {}

TArxSevenzipStreamBase::TArxSevenzipStreamBase(TStream* AStream, bool AOwnsStream)
    : archive_(nullptr), itemIndex_(-1), stream_(AStream), ownsStream_(AOwnsStream) {}

TArxSevenzipStreamBase::~TArxSevenzipStreamBase() {
    if (archive_) {
        if (itemIndex_ >= 0 && itemIndex_ < archive_->ItemCount())
            archive_->Items(itemIndex_)->ReleaseStream();
    } else if (ownsStream_) {
        delete stream_;
    }
}

TStream& TArxSevenzipStreamBase::EnsureStream() {
    if (archive_) {
        archive_->SetCurrentItemIndex(itemIndex_);
        if (!stream_)
            stream_ = archive_->Items(itemIndex_)->Stream();
    }
    if (!stream_)
        throw EArxCompressionError("Sevenzip: Stream object is not assigned");
    return *stream_;
}

namespace {

TSeekOrigin SeekOriginOf(uint32_t origin) {
    if (origin > 2)
        throw EInvalidArgument("Invalid seek origin");
    return static_cast<TSeekOrigin>(origin);
}

} // namespace

HRESULT TArxSevenzipStreamBase::SeekStream(int64_t offset, uint32_t origin,
                                           uint64_t* newPosition) noexcept {
    return ArxGuardedCall([&] {
        int64_t position = EnsureStream().Seek(offset, SeekOriginOf(origin));
        if (newPosition)
            *newPosition = static_cast<uint64_t>(position);
        return S_OK;
    });
}

// --- in stream ---

IUnknown* TArxSevenzipInStream::FindInterface(const TGUID& iid) {
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_ISequentialInStream) ||
        IsEqualGUID(iid, IID_IInStream))
        return static_cast<IInStream*>(this);
    if (IsEqualGUID(iid, IID_IStreamGetSize))
        return static_cast<IStreamGetSize*>(this);
    return nullptr;
}

HRESULT TArxSevenzipInStream::Read(void* data, uint32_t size, uint32_t* processed) noexcept {
    return ArxGuardedCall([&] {
        TStream& stream = EnsureStream();
        // The platform's transfers count in 32-bit signed units.
        int wanted = static_cast<int>(std::min<uint32_t>(size, 0x7FFFFFFF));
        int got = stream.Read(data, wanted);
        if (processed)
            *processed = static_cast<uint32_t>(got < 0 ? 0 : got);
        return S_OK;
    });
}

HRESULT TArxSevenzipInStream::Seek(int64_t offset, uint32_t origin,
                                   uint64_t* newPosition) noexcept {
    return SeekStream(offset, origin, newPosition);
}

HRESULT TArxSevenzipInStream::GetSize(uint64_t* size) noexcept {
    return ArxGuardedCall([&] {
        int64_t result = EnsureStream().GetSize();
        if (size)
            *size = static_cast<uint64_t>(result);
        return S_OK;
    });
}

// --- out stream ---

TArxSevenzipOutStream::~TArxSevenzipOutStream() {
    if (truncateOnRelease_ && stream_) {
        try {
            stream_->SetSize(maximumPosition_);
        } catch (...) {
            // The decoder has already been told the item is done; nothing can be reported here.
        }
    }
}

IUnknown* TArxSevenzipOutStream::FindInterface(const TGUID& iid) {
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_ISequentialOutStream) ||
        IsEqualGUID(iid, IID_IOutStream))
        return static_cast<IOutStream*>(this);
    return nullptr;
}

HRESULT TArxSevenzipOutStream::Write(const void* data, uint32_t size,
                                     uint32_t* processed) noexcept {
    return ArxItemGuardedCall(archive_, itemIndex_, [&] {
        TStream& stream = EnsureStream();
        int wanted = static_cast<int>(std::min<uint32_t>(size, 0x7FFFFFFF));
        int written = stream.Write(data, wanted);
        if (processed)
            *processed = static_cast<uint32_t>(written < 0 ? 0 : written);
        if (truncateOnRelease_)
            maximumPosition_ = std::max(maximumPosition_, stream.Position());
        return S_OK;
    });
}

HRESULT TArxSevenzipOutStream::Seek(int64_t offset, uint32_t origin,
                                    uint64_t* newPosition) noexcept {
    return SeekStream(offset, origin, newPosition);
}

HRESULT TArxSevenzipOutStream::SetSize(uint64_t newSize) noexcept {
    return ArxGuardedCall([&] {
        EnsureStream().SetSize(static_cast<int64_t>(newSize));
        if (truncateOnRelease_ && static_cast<int64_t>(newSize) > maximumPosition_)
            maximumPosition_ = static_cast<int64_t>(newSize);
        return S_OK;
    });
}

// --- nested stream ---

TArxSevenzipNestedInStream::TArxSevenzipNestedInStream(TComPtr<IInStream> AInStream)
    : inStream_(std::move(AInStream)) {}

int TArxSevenzipNestedInStream::Read(void* Buffer, int Count) {
    uint32_t processed = 0;
    SafecallCheck(
        inStream_->Read(Buffer, static_cast<uint32_t>(Count < 0 ? 0 : Count), &processed));
    return static_cast<int>(processed);
}

int TArxSevenzipNestedInStream::Write(const void*, int) {
    throw EArxCompressionError("write is not an supported operation.");
}

int64_t TArxSevenzipNestedInStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    uint64_t position = 0;
    SafecallCheck(inStream_->Seek(Offset, static_cast<uint32_t>(Origin), &position));
    return static_cast<int64_t>(position);
}

void TArxSevenzipNestedInStream::SetSize(int64_t) {
    throw EArxCompressionError("write is not an supported operation.");
}
