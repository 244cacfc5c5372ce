#include "platform/ui/WindowRegistry.h"

#include "platform/ui/Controls.h"
#include "platform/ui/TimerHeap.h"

#include <algorithm>

namespace {
// Never destroyed: forms freed by the application object at exit still unregister here.
std::vector<TWinControl*>& Windows() {
    static auto* windows = new std::vector<TWinControl*>();
    return *windows;
}
} // namespace

void TWindowRegistry::Add(TWinControl* window) {
    Windows().push_back(window);
}

void TWindowRegistry::Remove(TWinControl* window) {
    auto& windows = Windows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
    PurgeMessagesOf(window);
    TTimerHeap::Instance().StopAllOf(window);
    if (GetCapture() == window)
        ReleaseCapture();
}

bool TWindowRegistry::Contains(const TWinControl* window) {
    const auto& windows = Windows();
    return window && std::find(windows.begin(), windows.end(), window) != windows.end();
}

const std::vector<TWinControl*>& TWindowRegistry::All() {
    return Windows();
}

TWinControl* TWindowRegistry::FirstNeedingPaint(HWND hwnd, bool (*skip)(HWND)) {
    for (TWinControl* window : Windows()) {
        if (window->updateRegion_.IsEmpty() || !window->HandleAllocated() || !window->Showing())
            continue;
        if (skip && skip(window))
            continue;
        if (hwnd && !IsSelfOrChild(hwnd, window))
            continue;
        // Parents first: their painting lies under their children's.
        TWinControl* first = window;
        for (TWinControl* up = window->Parent(); up; up = up->Parent()) {
            if (!up->updateRegion_.IsEmpty() && up->HandleAllocated() &&
                (!hwnd || IsSelfOrChild(hwnd, up)) && !(skip && skip(up)))
                first = up;
        }
        return first;
    }
    return nullptr;
}

bool IsSelfOrChild(const TWinControl* ancestor, const TWinControl* window) {
    for (const TWinControl* w = window; w; w = w->Parent()) {
        if (w == ancestor)
            return true;
    }
    return false;
}
