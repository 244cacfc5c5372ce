// Feeds arbitrary bytes to the BMP reader.
#include "fuzz/GfxDecodeFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzImageDecoder(gfx::DecodeBmp, data, size);
}
