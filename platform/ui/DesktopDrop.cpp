#include "platform/ui/DesktopDrop.h"

#include <utility>

namespace {
// More names than any real selection; the rest of a larger drop is dropped.
constexpr size_t kMaxFiles = 65536;

TDesktopDrop collecting;
TDesktopDrop delivered;
} // namespace

const TDesktopDrop& CurrentDesktopDrop() {
    return delivered;
}

void DesktopDropBegin() {
    collecting = TDesktopDrop{};
}

void DesktopDropFile(const UnicodeString& AFileName) {
    if (collecting.Files.size() < kMaxFiles)
        collecting.Files.push_back(AFileName);
}

void DesktopDropText(const UnicodeString& AText) {
    collecting.Text = AText;
}

void DesktopDropComplete(HWND target, TPoint client) {
    delivered = std::move(collecting);
    collecting = TDesktopDrop{};
    if (!target)
        return;
    const LPARAM at = MakeMouseLParam(client.X, client.Y);
    PostMessage(target, CM_DESKTOPDRAG, ddsEnter, at);
    PostMessage(target, CM_DESKTOPDRAG, ddsOver, at);
    PostMessage(target, CM_DESKTOPDRAG, ddsDrop, at);
}
