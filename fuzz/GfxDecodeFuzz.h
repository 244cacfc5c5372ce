// What the image-reader fuzz targets share. Inputs are capped, and so is the image size, so a
// header that promises a huge picture cannot make the run allocate gigabytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gfx/ImageCodec.h"

using GfxDecoder = gfx::Status (*)(const uint8_t*, size_t, gfx::DecodedImage*,
                                   const gfx::DecodeLimits&);

inline int FuzzImageDecoder(GfxDecoder decode, const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    gfx::DecodeLimits limits;
    limits.maxPixels = int64_t(1) << 22;
    gfx::DecodedImage image;
    decode(data, size, &image, limits);
    return 0;
}
