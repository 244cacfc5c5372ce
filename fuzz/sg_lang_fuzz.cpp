// The language tables' "ResourcesBin" block: any bytes either load or raise the platform's
// stream error, and what loaded writes back to a block that loads the same languages.
#include "scene/core/Sg_scene.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 65536)
        return 0;
    TBytesStream block(std::vector<uint8_t>(data, data + size));
    TsgLang lang(nullptr);
    try {
        lang.ReadResources(block);
    } catch (const Exception&) {
        return 0;
    }
    TMemoryStream written;
    lang.WriteResources(written);
    written.SetPosition(0);
    TsgLang back(nullptr);
    back.ReadResources(written);
    if (back.Resources()->GetCount() != lang.Resources()->GetCount())
        std::abort();
    return 0;
}
