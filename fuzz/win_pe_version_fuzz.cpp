// PE version resources: any bytes give a version or none, never a read outside them.
#include "platform/win/FileVersion.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20)
        return 0;
    if (auto info = win::ParsePeVersionInfo({data, size}))
        (void)info->QueryString("\\StringFileInfo\\041504e2\\FileVersion");
    // The version block reader alone, without the PE headers in front of it.
    (void)win::ParseVersionBlock({data, size});
    return 0;
}
