// The stream objects through which the decoder reads an archive and writes each item, and a
// platform stream over a stream object of the decoder (an archive inside an archive).
#pragma once

#include "installer/archive/ArxSafecallObject.h"
#include "installer/archive/ArxStreams.h"

class TArxCompressionArchive;

// Shared by the in and out stream objects: either over an item of an archive (its stream is
// taken from the item on first use) or over a stream given at creation.
class TArxSevenzipStreamBase : public TArxSafecallInterfacedObject {
protected:
    TArxSevenzipStreamBase(TArxCompressionArchive* AArchive, int AItemIndex);
    TArxSevenzipStreamBase(TStream* AStream, bool AOwnsStream);
    ~TArxSevenzipStreamBase() override;

    // The stream to work on; raises "Sevenzip: Stream object is not assigned" when none.
    TStream& EnsureStream();
    // The decoder's seek on either stream object, with its origin checked.
    sevenzip::HRESULT SeekStream(int64_t offset, uint32_t origin, uint64_t* newPosition) noexcept;

    TArxCompressionArchive* archive_;
    int itemIndex_;
    TStream* stream_ = nullptr;
    bool ownsStream_ = false;
};

class TArxSevenzipInStream : public TArxSevenzipStreamBase,
                             public IStreamGetSize,
                             public IInStream {
public:
    TArxSevenzipInStream(TArxCompressionArchive* AArchive, int AItemIndex)
        : TArxSevenzipStreamBase(AArchive, AItemIndex) {}
    TArxSevenzipInStream(TStream* AStream, bool AOwnsStream)
        : TArxSevenzipStreamBase(AStream, AOwnsStream) {}

    ARX_IMPLEMENT_IUNKNOWN
    sevenzip::HRESULT Read(void* data, uint32_t size, uint32_t* processed) noexcept override;
    sevenzip::HRESULT Seek(int64_t offset, uint32_t origin,
                           uint64_t* newPosition) noexcept override;
    sevenzip::HRESULT GetSize(uint64_t* size) noexcept override;

protected:
    IUnknown* FindInterface(const sevenzip::TGUID& iid) override;
};

class TArxSevenzipOutStream : public TArxSevenzipStreamBase, public IOutStream {
public:
    TArxSevenzipOutStream(TArxCompressionArchive* AArchive, int AItemIndex)
        : TArxSevenzipStreamBase(AArchive, AItemIndex) {}
    TArxSevenzipOutStream(TStream* AStream, bool AOwnsStream, bool ATruncateOnRelease)
        : TArxSevenzipStreamBase(AStream, AOwnsStream), truncateOnRelease_(ATruncateOnRelease) {}
    ~TArxSevenzipOutStream() override;

    ARX_IMPLEMENT_IUNKNOWN
    sevenzip::HRESULT Write(const void* data, uint32_t size, uint32_t* processed) noexcept override;
    sevenzip::HRESULT Seek(int64_t offset, uint32_t origin,
                           uint64_t* newPosition) noexcept override;
    sevenzip::HRESULT SetSize(uint64_t newSize) noexcept override;

protected:
    IUnknown* FindInterface(const sevenzip::TGUID& iid) override;

private:
    bool truncateOnRelease_ = false;
    int64_t maximumPosition_ = 0;
};

// Reads an IInStream of the decoder as a platform stream; it cannot be written.
class TArxSevenzipNestedInStream : public TArxStream {
public:
    explicit TArxSevenzipNestedInStream(sevenzip::TComPtr<IInStream> AInStream);

    int Read(void* Buffer, int Count) override;
    int Write(const void* Buffer, int Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;

private:
    sevenzip::TComPtr<IInStream> inStream_;
};
