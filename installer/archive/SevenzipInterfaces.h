// The decoder library's component-object interfaces, declared from their published method
// order, and a small owning pointer for them.
//
// The interfaces live in the global namespace under their published names on purpose: the
// undefined-behaviour sanitizer checks every call on one of the library's objects against the
// object's run-time type, by the name of the class that declares the method, and the library's
// types carry exactly these names (its IUnknown included).
#pragma once

#include "installer/archive/SevenzipTypes.h"

#include <utility>

// The library's IUnknown: exactly the three slots, no virtual destructor.
struct IUnknown {
    virtual sevenzip::HRESULT QueryInterface(const sevenzip::TGUID& iid,
                                             void** object) noexcept = 0;
    virtual sevenzip::ULONG AddRef() noexcept = 0;
    virtual sevenzip::ULONG Release() noexcept = 0;
};

namespace sevenzip {

using ::IUnknown;

// {23170F69-40C1-278A-0000-00gg00ii0000}: the numbering scheme of the library's interfaces.
constexpr TGUID SevenzipInterfaceId(uint8_t group, uint8_t id) {
    return TGUID{0x23170F69, 0x40C1, 0x278A, {0, 0, 0, group, 0, id, 0, 0}};
}

constexpr TGUID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr TGUID IID_ISequentialInStream = SevenzipInterfaceId(0x03, 0x01);
constexpr TGUID IID_ISequentialOutStream = SevenzipInterfaceId(0x03, 0x02);
constexpr TGUID IID_IInStream = SevenzipInterfaceId(0x03, 0x03);
constexpr TGUID IID_IOutStream = SevenzipInterfaceId(0x03, 0x04);
constexpr TGUID IID_IStreamGetSize = SevenzipInterfaceId(0x03, 0x06);
constexpr TGUID IID_ICompressProgressInfo = SevenzipInterfaceId(0x04, 0x04);
constexpr TGUID IID_IProgress = SevenzipInterfaceId(0x00, 0x05);
constexpr TGUID IID_IArchiveOpenCallback = SevenzipInterfaceId(0x06, 0x10);
constexpr TGUID IID_IArchiveExtractCallback = SevenzipInterfaceId(0x06, 0x20);
constexpr TGUID IID_IInArchiveGetStream = SevenzipInterfaceId(0x06, 0x40);
constexpr TGUID IID_IInArchive = SevenzipInterfaceId(0x06, 0x60);
constexpr TGUID IID_ICryptoGetTextPassword = SevenzipInterfaceId(0x05, 0x10);
constexpr TGUID IID_ISetProperties = SevenzipInterfaceId(0x06, 0x03);
constexpr TGUID IID_IOutArchive = SevenzipInterfaceId(0x06, 0xA0);
constexpr TGUID IID_IArxArchiveNumberOfThreads{
    0x9CFAB801, 0xE68E, 0x4A51, {0xAC, 0x49, 0x27, 0x7B, 0x29, 0x7F, 0x11, 0x41}};

// Holds one reference to an interface and gives it back when it goes.
template <typename Interface>
class TComPtr {
public:
    TComPtr() = default;
    TComPtr(const TComPtr& other) : p_(other.p_) {
        if (p_)
            p_->AddRef();
    }
    TComPtr(TComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    TComPtr& operator=(TComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~TComPtr() { Clear(); }

    // Takes a reference the caller already holds (a creation or query result).
    static TComPtr Adopt(Interface* p) {
        TComPtr result;
        result.p_ = p;
        return result;
    }
    // Takes a new reference of its own.
    static TComPtr Share(Interface* p) {
        if (p)
            p->AddRef();
        return Adopt(p);
    }

    void Clear() {
        if (Interface* p = std::exchange(p_, nullptr))
            p->Release();
    }
    // For calls that fill an interface variable: the old one is given back first.
    Interface** Receive() {
        Clear();
        return &p_;
    }
    Interface* Get() const { return p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // The object's view as another interface; empty when it has none.
    template <typename Other>
    TComPtr<Other> As(const TGUID& iid) const {
        TComPtr<Other> result;
        if (p_ && p_->QueryInterface(iid, reinterpret_cast<void**>(result.Receive())) != S_OK)
            result.Clear();
        return result;
    }

private:
    Interface* p_ = nullptr;
};

} // namespace sevenzip

struct ISequentialInStream : IUnknown {
    virtual sevenzip::HRESULT Read(void* data, uint32_t size, uint32_t* processed) noexcept = 0;
};

struct ISequentialOutStream : IUnknown {
    virtual sevenzip::HRESULT Write(const void* data, uint32_t size,
                                    uint32_t* processed) noexcept = 0;
};

struct IInStream : ISequentialInStream {
    virtual sevenzip::HRESULT Seek(int64_t offset, uint32_t origin,
                                   uint64_t* newPosition) noexcept = 0;
};

struct IOutStream : ISequentialOutStream {
    virtual sevenzip::HRESULT Seek(int64_t offset, uint32_t origin,
                                   uint64_t* newPosition) noexcept = 0;
    virtual sevenzip::HRESULT SetSize(uint64_t newSize) noexcept = 0;
};

struct IStreamGetSize : IUnknown {
    virtual sevenzip::HRESULT GetSize(uint64_t* size) noexcept = 0;
};

struct ICompressProgressInfo : IUnknown {
    virtual sevenzip::HRESULT SetRatioInfo(const uint64_t* inSize,
                                           const uint64_t* outSize) noexcept = 0;
};

struct IProgress : IUnknown {
    virtual sevenzip::HRESULT SetTotal(uint64_t total) noexcept = 0;
    virtual sevenzip::HRESULT SetCompleted(const uint64_t* completed) noexcept = 0;
};

struct IArchiveOpenCallback : IUnknown {
    virtual sevenzip::HRESULT SetTotal(const uint64_t* files, const uint64_t* bytes) noexcept = 0;
    virtual sevenzip::HRESULT SetCompleted(const uint64_t* files,
                                           const uint64_t* bytes) noexcept = 0;
};

struct IArchiveExtractCallback : IProgress {
    virtual sevenzip::HRESULT GetStream(uint32_t index, ISequentialOutStream** stream,
                                        int32_t askExtractMode) noexcept = 0;
    virtual sevenzip::HRESULT PrepareOperation(int32_t askExtractMode) noexcept = 0;
    virtual sevenzip::HRESULT SetOperationResult(int32_t operationResult) noexcept = 0;
};

struct IInArchiveGetStream : IUnknown {
    virtual sevenzip::HRESULT GetStream(uint32_t index, ISequentialInStream** stream) noexcept = 0;
};

struct IInArchive : IUnknown {
    virtual sevenzip::HRESULT Open(IInStream* stream, const uint64_t* maxCheckStartPosition,
                                   IArchiveOpenCallback* callback) noexcept = 0;
    virtual sevenzip::HRESULT Close() noexcept = 0;
    virtual sevenzip::HRESULT GetNumberOfItems(uint32_t* count) noexcept = 0;
    virtual sevenzip::HRESULT GetProperty(uint32_t index, sevenzip::PROPID propId,
                                          sevenzip::PROPVARIANT* value) noexcept = 0;
    virtual sevenzip::HRESULT Extract(const uint32_t* indices, uint32_t count, int32_t testMode,
                                      IArchiveExtractCallback* callback) noexcept = 0;
    virtual sevenzip::HRESULT GetArchiveProperty(sevenzip::PROPID propId,
                                                 sevenzip::PROPVARIANT* value) noexcept = 0;
    virtual sevenzip::HRESULT GetNumberOfProperties(uint32_t* count) noexcept = 0;
    virtual sevenzip::HRESULT GetPropertyInfo(uint32_t index, sevenzip::BSTR* name,
                                              sevenzip::PROPID* propId,
                                              sevenzip::VARTYPE* varType) noexcept = 0;
    virtual sevenzip::HRESULT GetNumberOfArchiveProperties(uint32_t* count) noexcept = 0;
    virtual sevenzip::HRESULT GetArchivePropertyInfo(uint32_t index, sevenzip::BSTR* name,
                                                     sevenzip::PROPID* propId,
                                                     sevenzip::VARTYPE* varType) noexcept = 0;
};

struct ICryptoGetTextPassword : IUnknown {
    virtual sevenzip::HRESULT CryptoGetTextPassword(sevenzip::BSTR* password) noexcept = 0;
};

struct ISetProperties : IUnknown {
    virtual sevenzip::HRESULT SetProperties(const wchar_t* const* names,
                                            const sevenzip::PROPVARIANT* values,
                                            uint32_t count) noexcept = 0;
};

// The archive library's own setting interface.
struct IArxArchiveNumberOfThreads : IUnknown {
    virtual uint32_t GetNumberOfThreads() = 0;
    virtual void SetNumberOfThreads(uint32_t value) = 0;
};
