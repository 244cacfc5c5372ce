// Feeds arbitrary bytes to the BMP reader. Inputs are capped, and so is the image size, so a
// header that promises a huge picture cannot make the run allocate gigabytes.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/ImageCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    gfx::DecodeLimits limits;
    limits.maxPixels = int64_t(1) << 22;
    gfx::DecodedImage image;
    gfx::DecodeBmp(data, size, &image, limits);
    return 0;
}
