// The reference-counted base of every object the archive library hands to the decoder.
#pragma once

#include "installer/archive/SevenzipInterfaces.h"

#include <atomic>

class TArxSafecallInterfacedObject {
public:
    TArxSafecallInterfacedObject() = default;
    TArxSafecallInterfacedObject(const TArxSafecallInterfacedObject&) = delete;
    TArxSafecallInterfacedObject& operator=(const TArxSafecallInterfacedObject&) = delete;
    virtual ~TArxSafecallInterfacedObject() = default;

    sevenzip::HRESULT ArxQueryInterface(const sevenzip::TGUID& iid, void** object);
    virtual sevenzip::ULONG ArxAddRef();
    virtual sevenzip::ULONG ArxRelease();

protected:
    // The sub-object that implements the interface, or null when this object lacks it.
    virtual IUnknown* FindInterface(const sevenzip::TGUID& iid) = 0;

private:
    std::atomic<int32_t> refCount_{0};
};

// The three IUnknown slots of a class that implements several interfaces, all served by the
// one reference count of TArxSafecallInterfacedObject.
#define ARX_IMPLEMENT_IUNKNOWN                                                                     \
    sevenzip::HRESULT QueryInterface(const sevenzip::TGUID& iid,                                   \
                                     void** object) noexcept override {                            \
        return ArxQueryInterface(iid, object);                                                     \
    }                                                                                              \
    sevenzip::ULONG AddRef() noexcept override {                                                   \
        return ArxAddRef();                                                                        \
    }                                                                                              \
    sevenzip::ULONG Release() noexcept override {                                                  \
        return ArxRelease();                                                                       \
    }
