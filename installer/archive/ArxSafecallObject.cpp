#include "installer/archive/ArxSafecallObject.h"

using namespace sevenzip;

HRESULT TArxSafecallInterfacedObject::ArxQueryInterface(const TGUID& iid, void** object) {
    if (!object)
        return E_INVALIDARG;
    IUnknown* found = FindInterface(iid);
    *object = found;
    if (!found)
        return E_NOINTERFACE;
    found->AddRef();
    return S_OK;
}

ULONG TArxSafecallInterfacedObject::ArxAddRef() {
    return static_cast<ULONG>(++refCount_);
}

ULONG TArxSafecallInterfacedObject::ArxRelease() {
    int32_t count = --refCount_;
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}
