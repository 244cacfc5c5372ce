// Reading one property of an item (or of a handler) out of the decoder's property values.
//
// Every reader answers "absent" for an empty value and raises EArxCompressionError
// "Sevenzip: Unknown value type (%d) for property ID %d" for a type it cannot convert.
#pragma once

#include "installer/archive/SevenzipInterfaces.h"
#include "platform/rtl/UnicodeString.h"

#include <optional>

struct TArxPropertyReader {
    IInArchive* archive;
    uint32_t index;

    std::optional<UnicodeString> Text(sevenzip::PROPID id) const;
    std::optional<uint32_t> UInt32(sevenzip::PROPID id) const;
    std::optional<int64_t> Int64(sevenzip::PROPID id) const;
    std::optional<sevenzip::FILETIME> FileTime(sevenzip::PROPID id) const;
    std::optional<bool> Boolean(sevenzip::PROPID id) const;
};

[[noreturn]] void RaiseUnknownValueType(unsigned type, unsigned propId);

// Conversions of a value already in hand; the value stays the caller's to clear.
std::optional<UnicodeString> PropVariantText(const sevenzip::PROPVARIANT& value,
                                             sevenzip::PROPID id);
std::optional<uint32_t> PropVariantUInt32(const sevenzip::PROPVARIANT& value, sevenzip::PROPID id);
std::optional<int64_t> PropVariantInt64(const sevenzip::PROPVARIANT& value, sevenzip::PROPID id);
std::optional<sevenzip::FILETIME> PropVariantFileTime(const sevenzip::PROPVARIANT& value,
                                                      sevenzip::PROPID id);
std::optional<bool> PropVariantBoolean(const sevenzip::PROPVARIANT& value, sevenzip::PROPID id);
