// Fuzz target: one section of a translation table applied to the 1000-entry text table.
#include "installer/config/Translations.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringList.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (1 << 16))
        return 0;
    // The first byte picks the section, the rest is the resource's text.
    const UnicodeString code = UnicodeString(u"lang") + UnicodeString(std::to_string(data[0] % 16));
    TCustomMemoryStream stream(data + 1, static_cast<int64_t>(size - 1));
    TStringList lines;
    lines.LoadFromStream(stream);
    TStringList table;
    for (int i = 0; i < 1000; ++i)
        table.Add(UnicodeString());
    ApplyTranslationSection(lines, code, table);
    if (table.Count() != 1000)
        __builtin_trap();
    return 0;
}
