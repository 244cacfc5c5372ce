// Resource bundles: any bytes give a directory whose every entry lies inside them, or an error.
#include "platform/win/ResourceBundle.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20)
        return 0;
    std::string error;
    if (auto entries = win::ParseResourceBundle({data, size}, error)) {
        for (const win::ResourceEntry& entry : *entries)
            if (entry.offset > size || entry.size > size - entry.offset)
                std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
