// The component-object vocabulary spoken with the decoder library: result codes, GUIDs,
// property values and strings, laid out exactly as the library's build expects them.
//
// The library is a 64-bit Linux build: its HRESULT, PROPID and ULONG are 32-bit, its wide
// character is the 4-byte wchar_t, and a BSTR is a wchar_t block with a 4-byte byte-length
// prefix that only the library's own allocator may create or free.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <cstdint>

// A namespace of its own keeps these Windows names apart from the platform layer's.
namespace sevenzip {

using HRESULT = int32_t;
using ULONG = uint32_t;
using PROPID = uint32_t;
using VARTYPE = uint16_t;
using BSTR = wchar_t*;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);

// An operating-system error code carried as a result, the way the decoder expects it.
constexpr HRESULT HResultFromOSError(uint32_t code) {
    return static_cast<HRESULT>(0x80070000u | (code & 0xFFFFu));
}

struct TGUID {
    uint32_t D1;
    uint16_t D2;
    uint16_t D3;
    uint8_t D4[8];
};
static_assert(sizeof(TGUID) == 16);

// Field-by-field equality of all 16 bytes.
bool IsEqualGUID(const TGUID& a, const TGUID& b);
// The usual brace form with upper-case digits: {23170F69-40C1-278A-1000-000110070000}.
UnicodeString GUIDToString(const TGUID& guid);

// Property value types the library uses.
enum : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_BSTR = 8,
    VT_BOOL = 11,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_LPSTR = 30,
    VT_LPWSTR = 31,
    VT_FILETIME = 64,
};

// 100-nanosecond intervals since 1601-01-01 UTC, split in two halves.
struct FILETIME {
    uint32_t dwLowDateTime;
    uint32_t dwHighDateTime;
};

struct PROPVARIANT {
    VARTYPE vt;
    uint16_t wReserved1;
    uint16_t wReserved2;
    uint16_t wReserved3;
    union {
        int8_t cVal;
        uint8_t bVal;
        int16_t iVal;
        uint16_t uiVal;
        int32_t lVal;
        uint32_t ulVal;
        int32_t intVal;
        uint32_t uintVal;
        int64_t hVal;
        uint64_t uhVal;
        int16_t boolVal;
        FILETIME filetime;
        BSTR bstrVal;
        char* pszVal;
        wchar_t* pwszVal;
    };
};
static_assert(sizeof(PROPVARIANT) == 16);

} // namespace sevenzip
