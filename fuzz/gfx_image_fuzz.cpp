// Feeds arbitrary bytes to the image codec entry (PNG, JPEG, BMP and GIF by signature).
#include "fuzz/GfxDecodeFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzImageDecoder(gfx::DecodeImage, data, size);
}
