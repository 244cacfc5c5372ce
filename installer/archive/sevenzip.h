// The decoder library: where it is, how it is loaded, its entries, and the strings and property
// values that must be made and freed by its own allocator.
//
// The library is loaded once per process, on the first request of any archive object, and
// stays loaded until the process ends.
#pragma once

#include "installer/archive/SevenzipInterfaces.h"
#include "installer/archive/SevenzipTypes.h"
#include "platform/rtl/UnicodeString.h"

// The file the loader opens: "7z.dll" (found by the platform's library search) until the caller
// names the placed copy or a test names the package's copy.
void SetSevenZipLibraryFileName(const UnicodeString& fileName);
UnicodeString SevenZipLibraryFileName();

// Loads the library and resolves its entries. True at once when it is already loaded; false
// when it cannot be loaded or is a build this program cannot drive (the reason is then kept in
// SevenZipLibraryLoadFailure), and also when one of the seven entries is missing, in which case
// the library stays loaded and the next call answers true.
bool LoadSevenZipLibrary();
bool IsSevenZipLibraryLoaded();
UnicodeString SevenZipLibraryLoadFailure();

// The only driveable builds: IUnknown with exactly three slots (interface type 0), version 23 or
// later. Empty when the module's answers are acceptable, else the reason to refuse it.
UnicodeString CheckSevenZipModuleProps(uint32_t interfaceType, uint32_t version);

namespace sevenzip {

// The 7z format handler.
constexpr TGUID CLSID_CFormat7z{0x23170F69, 0x40C1, 0x278A, {0x10, 0, 0, 0x01, 0x10, 0x07, 0, 0}};

using TCreateObjectFunc = HRESULT (*)(const TGUID* classId, const TGUID* iid, void** object);
using TGetNumberOfFormatsFunc = HRESULT (*)(uint32_t* count);
using TGetHandlerProperty2Func = HRESULT (*)(uint32_t index, PROPID propId, PROPVARIANT* value);

// Null until resolved.
TCreateObjectFunc CreateObjectEntry();
TGetNumberOfFormatsFunc GetNumberOfFormatsEntry();
TGetHandlerProperty2Func GetHandlerProperty2Entry();

// Strings and values handed to or received from the library. The library must be loaded.
BSTR AllocLibraryString(const UnicodeString& text);
void FreeLibraryString(BSTR text);
uint32_t LibraryStringByteLength(BSTR text);
void ClearLibraryVariant(PROPVARIANT& value);

// The library's wide text holds UTF-16 code units widened to wchar_t; a unit above the basic
// plane is taken as a whole code point, so either form decodes to the same UTF-16 text.
UnicodeString WideToUnicode(const wchar_t* text, size_t length);
UnicodeString WideToUnicode(const wchar_t* text);
std::wstring UnicodeToWide(const UnicodeString& text);

} // namespace sevenzip
