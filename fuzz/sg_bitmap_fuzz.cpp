// TsgBitmap's picture loading through the toolkit's codec (the path of the "PNG" stream
// property and of picture files), then the pixel operations on what was decoded.
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_canvas_gdip.h"

#include "platform/rtl/MemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (1u << 16))
        return 0;
    InitSgCanvasUnit();
    // The first byte picks a turn; the rest is the picture.
    const float angle = float(data[0]) * 1.5f;
    TBytesStream stream(std::vector<uint8_t>(data + 1, data + size));
    TsgBitmap bitmap(stream);
    if (bitmap.IsEmpty() || int64_t(bitmap.Width()) * bitmap.Height() > 4096)
        return 0;
    bitmap.FlipHorizontal();
    bitmap.InvertAlpha();
    bitmap.Rotate(angle);
    TBytesStream out;
    bitmap.SaveToStream(out);
    return 0;
}
