#include "installer/archive/SevenzipTypes.h"

#include <cstdio>

namespace sevenzip {

bool IsEqualGUID(const TGUID& a, const TGUID& b) {
    if (a.D1 != b.D1 || a.D2 != b.D2 || a.D3 != b.D3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.D4[i] != b.D4[i])
            return false;
    return true;
}

UnicodeString GUIDToString(const TGUID& g) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.D1,
                  g.D2, g.D3, g.D4[0], g.D4[1], g.D4[2], g.D4[3], g.D4[4], g.D4[5], g.D4[6],
                  g.D4[7]);
    return UnicodeString(text);
}

} // namespace sevenzip
