// The "Path" stream block: any bytes read within their size, and what was read writes back to
// a block that reads the same.
#include "scene/core/Sg_scene.h"

#include "platform/rtl/MemoryStream.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 65536)
        return 0;
    TBytesStream block(std::vector<uint8_t>(data, data + size));
    TsgPathData path;
    path.ReadPath(block);
    if (path.PathData.size() * 9 > size)
        std::abort();
    if (path.PathData.empty())
        return 0;
    TMemoryStream written;
    path.WritePath(written);
    written.SetPosition(0);
    TsgPathData back;
    back.ReadPath(written);
    if (back.PathData.size() != path.PathData.size())
        std::abort();
    for (size_t i = 0; i < path.PathData.size(); ++i)
        if (back.PathData[i].Kind != path.PathData[i].Kind ||
            std::memcmp(&back.PathData[i].Point, &path.PathData[i].Point, sizeof(TsgPoint)) != 0)
            std::abort();
    return 0;
}
