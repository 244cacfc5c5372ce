#include "installer/archive/ArxSevenzipProperties.h"

#include "installer/archive/ArxCompressionErrors.h"
#include "installer/archive/sevenzip.h"
#include "platform/rtl/Format.h"

#include <string>

using namespace sevenzip;

namespace {

bool IsAbsent(const PROPVARIANT& value) {
    return value.vt == VT_EMPTY || value.vt == VT_NULL;
}

// Signed and unsigned integer types widened to 64 bits; false for any other type.
bool IntegerValue(const PROPVARIANT& value, int64_t& result) {
    switch (value.vt) {
    case VT_I2:
        result = value.iVal;
        return true;
    case VT_I4:
    case VT_INT:
        result = value.lVal;
        return true;
    case VT_I1:
        result = value.cVal;
        return true;
    case VT_UI1:
        result = value.bVal;
        return true;
    case VT_UI2:
        result = value.uiVal;
        return true;
    case VT_UI4:
    case VT_UINT:
        result = value.ulVal;
        return true;
    case VT_I8:
    case VT_UI8:
        result = value.hVal;
        return true;
    default:
        return false;
    }
}

// Reads one property into a value that is cleared by the library's allocator afterwards.
template <typename Result, typename Convert>
std::optional<Result> ReadWith(IInArchive* archive, uint32_t index, PROPID id, Convert convert) {
    PROPVARIANT value{};
    SafecallCheck(archive->GetProperty(index, id, &value));
    struct Clearer {
        PROPVARIANT& v;
        ~Clearer() { ClearLibraryVariant(v); }
    } clearer{value};
    return convert(value, id);
}

} // namespace

void RaiseUnknownValueType(unsigned type, unsigned propId) {
    throw EArxCompressionError(
        Format(u"Sevenzip: Unknown value type (%d) for property ID %d", type, propId));
}

std::optional<UnicodeString> PropVariantText(const PROPVARIANT& value, PROPID id) {
    if (IsAbsent(value))
        return std::nullopt;
    int64_t number = 0;
    if (IntegerValue(value, number))
        return UnicodeString(std::to_string(number));
    switch (value.vt) {
    case VT_BSTR:
        return WideToUnicode(value.bstrVal,
                             LibraryStringByteLength(value.bstrVal) / sizeof(wchar_t));
    case VT_LPSTR:
        return UnicodeString(value.pszVal ? value.pszVal : "");
    case VT_LPWSTR:
        return WideToUnicode(value.pwszVal);
    default:
        RaiseUnknownValueType(value.vt, id);
    }
}

std::optional<uint32_t> PropVariantUInt32(const PROPVARIANT& value, PROPID id) {
    if (IsAbsent(value))
        return std::nullopt;
    int64_t number = 0;
    if (!IntegerValue(value, number))
        RaiseUnknownValueType(value.vt, id);
    return static_cast<uint32_t>(number);
}

std::optional<int64_t> PropVariantInt64(const PROPVARIANT& value, PROPID id) {
    if (IsAbsent(value))
        return std::nullopt;
    int64_t number = 0;
    if (!IntegerValue(value, number))
        RaiseUnknownValueType(value.vt, id);
    return number;
}

std::optional<FILETIME> PropVariantFileTime(const PROPVARIANT& value, PROPID id) {
    if (IsAbsent(value))
        return std::nullopt;
    if (value.vt != VT_FILETIME)
        RaiseUnknownValueType(value.vt, id);
    return value.filetime;
}

std::optional<bool> PropVariantBoolean(const PROPVARIANT& value, PROPID id) {
    if (IsAbsent(value))
        return std::nullopt;
    if (value.vt != VT_BOOL)
        RaiseUnknownValueType(value.vt, id);
    return value.boolVal != 0;
}

std::optional<UnicodeString> TArxPropertyReader::Text(PROPID id) const {
    return ReadWith<UnicodeString>(archive, index, id, PropVariantText);
}

std::optional<uint32_t> TArxPropertyReader::UInt32(PROPID id) const {
    return ReadWith<uint32_t>(archive, index, id, PropVariantUInt32);
}

std::optional<int64_t> TArxPropertyReader::Int64(PROPID id) const {
    return ReadWith<int64_t>(archive, index, id, PropVariantInt64);
}

std::optional<FILETIME> TArxPropertyReader::FileTime(PROPID id) const {
    return ReadWith<FILETIME>(archive, index, id, PropVariantFileTime);
}

std::optional<bool> TArxPropertyReader::Boolean(PROPID id) const {
    return ReadWith<bool>(archive, index, id, PropVariantBoolean);
}
