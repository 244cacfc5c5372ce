// The toolkit's value texts: colours, points, rectangles and floats. No input may crash them,
// and a colour read from its own text comes back unchanged.
#include "scene/core/Sg_scene.h"

#include "platform/rtl/Exceptions.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096)
        return 0;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    UnicodeString text(bytes);
    TsgColor color = sgStrToColor(text);
    if (sgStrToColor(sgColorToStr(color)) != color)
        std::abort();
    TsgRect rect = sgStringToRect(AnsiString(bytes));
    TsgPoint point = sgStringToPoint(AnsiString(bytes));
    (void)sgRectToString(rect);
    (void)sgPointToString(point);
    float value = sgStrToFloatDef(text, 0);
    if (std::isfinite(value)) {
        // Whole numbers print exactly and read back exactly.
        float whole = std::trunc(value);
        if (std::abs(whole) < 1e7f && sgStrToFloat(sgFloatToStr(whole)) != whole)
            std::abort();
    }
    try {
        (void)sgStrToFloat(text);
    } catch (const EConvertError&) {
    }
    return 0;
}
