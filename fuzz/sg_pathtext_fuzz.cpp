// The path text reader: no text may crash it or make it loop, and a path of finite points
// written as text reads back with the same kinds of points (numbers beyond the single range
// become infinite, which the text form cannot carry).
#include "scene/core/Sg_scene.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 8192)
        return 0;
    TsgPathData path;
    path.SetPathString(AnsiString(std::string(reinterpret_cast<const char*>(data), size)));
    bool finite = true;
    for (const TsgPathPoint& p : path.PathData)
        finite = finite && std::isfinite(p.Point.X) && std::isfinite(p.Point.Y);
    if (finite) {
        TsgPathData back;
        back.SetPathString(path.GetPathString());
        if (back.PathData.size() != path.PathData.size())
            std::abort();
        for (size_t i = 0; i < path.PathData.size(); ++i)
            if (back.PathData[i].Kind != path.PathData[i].Kind)
                std::abort();
    }
    (void)path.GetBounds();
    TsgPolygon polygon;
    path.FlattenToPolygon(polygon, 0.5f);
    path.Flatten(0.5f);
    return 0;
}
