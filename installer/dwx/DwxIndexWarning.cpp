#include "installer/dwx/DwxIndexWarning.h"

#include <cstdio>
#include <string>
#include <utility>

namespace {

DwxIndexWarningHandler& InstalledHandler() {
    static DwxIndexWarningHandler handler;
    return handler;
}

} // namespace

DwxIndexWarningHandler SetDwxIndexWarningHandler(DwxIndexWarningHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

void ShowDwxIndexWarning(uint32_t index, uint32_t pointCount) {
    const std::string text = std::to_string(index) + " >= " + std::to_string(pointCount);
    if (const DwxIndexWarningHandler& handler = InstalledHandler()) {
        handler(UnicodeString(text));
        return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}
