#include "installer/archive/sevenzip.h"

#include "installer/archive/ArxBase.h"

#include <cwchar>
#include <string>

using namespace sevenzip;

namespace {

using TGetModulePropFunc = HRESULT (*)(PROPID propId, PROPVARIANT* value);
using TSysAllocStringFunc = BSTR (*)(const wchar_t* text);
using TSysFreeStringFunc = void (*)(BSTR text);
using TSysStringByteLenFunc = uint32_t (*)(BSTR text);
using TVariantClearFunc = HRESULT (*)(PROPVARIANT* value);

constexpr int kEntryCount = 7;
constexpr const char* kEntryNames[kEntryCount] = {
    "CreateObject",       "GetHandlerProperty2", "GetHandlerProperty", "GetMethodProperty",
    "GetNumberOfFormats", "GetNumberOfMethods",  "SetLargePageMode"};
enum EntryIndex { kCreateObject, kGetHandlerProperty2, kGetNumberOfFormats = 4 };

struct LibraryState {
    TArxModuleHandle handle = nullptr;
    UnicodeString fileName = u"7z.dll";
    UnicodeString failure;
    void* entries[kEntryCount] = {};
    TSysAllocStringFunc sysAllocString = nullptr;
    TSysFreeStringFunc sysFreeString = nullptr;
    TSysStringByteLenFunc sysStringByteLen = nullptr;
    TVariantClearFunc variantClear = nullptr;
};

LibraryState& Library() {
    static LibraryState state;
    return state;
}

uint32_t ModuleProp(TGetModulePropFunc getModuleProp, PROPID id, bool& ok) {
    PROPVARIANT value{};
    if (getModuleProp(id, &value) != S_OK || value.vt != VT_UI4) {
        ok = false;
        return 0;
    }
    return value.ulVal;
}

// Refuses builds whose object layout or string allocator we would misuse.
UnicodeString CheckModule(TArxModuleHandle handle) {
    auto getModuleProp = reinterpret_cast<TGetModulePropFunc>(ModuleEntry(handle, "GetModuleProp"));
    if (!getModuleProp)
        return u"the module does not export GetModuleProp (a build older than 23)";
    bool ok = true;
    uint32_t interfaceType = ModuleProp(getModuleProp, 0, ok);
    uint32_t version = ModuleProp(getModuleProp, 1, ok);
    if (!ok)
        return u"GetModuleProp does not report the interface type and version";
    UnicodeString reason = CheckSevenZipModuleProps(interfaceType, version);
    if (!reason.IsEmpty())
        return reason;
    for (const char* name : {"SysAllocString", "SysFreeString", "SysStringByteLen", "VariantClear"})
        if (!ModuleEntry(handle, name))
            return UnicodeString("the module does not export ") + UnicodeString(name);
    return UnicodeString();
}

} // namespace

void SetSevenZipLibraryFileName(const UnicodeString& fileName) {
    Library().fileName = fileName;
}

UnicodeString SevenZipLibraryFileName() {
    return Library().fileName;
}

UnicodeString SevenZipLibraryLoadFailure() {
    return Library().failure;
}

UnicodeString CheckSevenZipModuleProps(uint32_t interfaceType, uint32_t version) {
    uint32_t major = version >> 16;
    uint32_t minor = version & 0xFFFF;
    std::string found = "interface type " + std::to_string(interfaceType) + ", version " +
                        std::to_string(major) + "." + (minor < 10 ? "0" : "") +
                        std::to_string(minor);
    if (interfaceType != 0)
        return UnicodeString("the module reports " + found +
                             "; only interface type 0 (no virtual destructor) can be driven");
    if (major < 23)
        return UnicodeString("the module reports " + found + "; version 23 or later is needed");
    return UnicodeString();
}

bool LoadSevenZipLibrary() {
    LibraryState& lib = Library();
    if (lib.handle)
        return true;
    lib.failure = UnicodeString();
    TArxModuleHandle handle = nullptr;
    UnicodeString reason;
    if (!LoadModule(handle, lib.fileName, &reason)) {
        lib.failure = reason;
        return false;
    }
    reason = CheckModule(handle);
    if (!reason.IsEmpty()) {
        UnloadModule(handle);
        lib.failure = reason;
        return false;
    }
    lib.handle = handle;
    lib.sysAllocString =
        reinterpret_cast<TSysAllocStringFunc>(ModuleEntry(handle, "SysAllocString"));
    lib.sysFreeString = reinterpret_cast<TSysFreeStringFunc>(ModuleEntry(handle, "SysFreeString"));
    lib.sysStringByteLen =
        reinterpret_cast<TSysStringByteLenFunc>(ModuleEntry(handle, "SysStringByteLen"));
    lib.variantClear = reinterpret_cast<TVariantClearFunc>(ModuleEntry(handle, "VariantClear"));
    bool all = true;
    for (int i = 0; i < kEntryCount; ++i) {
        lib.entries[i] = ModuleEntry(handle, kEntryNames[i]);
        all = all && lib.entries[i];
    }
    return all;
}

bool IsSevenZipLibraryLoaded() {
    return Library().handle != nullptr;
}

namespace sevenzip {

TCreateObjectFunc CreateObjectEntry() {
    return reinterpret_cast<TCreateObjectFunc>(Library().entries[kCreateObject]);
}

TGetNumberOfFormatsFunc GetNumberOfFormatsEntry() {
    return reinterpret_cast<TGetNumberOfFormatsFunc>(Library().entries[kGetNumberOfFormats]);
}

TGetHandlerProperty2Func GetHandlerProperty2Entry() {
    return reinterpret_cast<TGetHandlerProperty2Func>(Library().entries[kGetHandlerProperty2]);
}

BSTR AllocLibraryString(const UnicodeString& text) {
    std::wstring wide = UnicodeToWide(text);
    return Library().sysAllocString(wide.c_str());
}

void FreeLibraryString(BSTR text) {
    if (text)
        Library().sysFreeString(text);
}

uint32_t LibraryStringByteLength(BSTR text) {
    return text ? Library().sysStringByteLen(text) : 0;
}

void ClearLibraryVariant(PROPVARIANT& value) {
    if (Library().variantClear)
        Library().variantClear(&value);
    value = PROPVARIANT{};
}

UnicodeString WideToUnicode(const wchar_t* text, size_t length) {
    std::u16string units;
    units.reserve(length);
    for (size_t i = 0; i < length; ++i)
        AppendUtf16(units, static_cast<char32_t>(static_cast<uint32_t>(text[i])));
    return UnicodeString(std::move(units));
}

UnicodeString WideToUnicode(const wchar_t* text) {
    return text ? WideToUnicode(text, std::wcslen(text)) : UnicodeString();
}

std::wstring UnicodeToWide(const UnicodeString& text) {
    // The decoder turns a password into bytes unit by unit, as UTF-16, so units are widened
    // one by one rather than combined into code points.
    std::wstring wide;
    wide.reserve(static_cast<size_t>(text.Length()));
    for (char16_t unit : text.str())
        wide += static_cast<wchar_t>(unit);
    return wide;
}

} // namespace sevenzip
