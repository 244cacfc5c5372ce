// Fuzz target: the licence document's RTF reader.
#include "installer/engine/Rtf_text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 16))
        return 0;
    TRtfText text;
    text.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
