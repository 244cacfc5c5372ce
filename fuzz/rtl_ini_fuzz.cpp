// INI reading: any bytes must parse, answer queries and survive a write-back round trip.
#include "platform/rtl/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 20))
        return 0;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniDocument document = IniDocument::FromBytes(bytes);
    for (const UnicodeString& section : document.Sections()) {
        for (const auto& [key, value] : document.Entries(section)) {
            // Every listed key reads back with the value it was listed with.
            auto found = document.Value(section, key);
            if (!found || *found != value)
                __builtin_trap();
        }
    }
    document.SetValue(u"fuzz", u"key", u"value");
    document.DeleteKey(u"info", u"baza");
    IniDocument again = IniDocument::FromBytes(document.ToBytes());
    auto written = again.Value(u"FUZZ", u"KEY");
    // A malformed earlier line may already hold a [fuzz] key; the first occurrence wins.
    if (!written)
        __builtin_trap();
    return 0;
}
