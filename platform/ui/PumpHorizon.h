// Keeps a pump to what is pending when it starts.
//
// ProcessMessages handles "everything pending now". Without a limit, a timer whose handler takes
// longer than its interval, or a window that leaves its update region unvalidated, would keep it
// going for ever. While a horizon lives, timers are handed out only when due by the moment it was
// made, and each window gets at most one WM_PAINT. A loop that waits for messages (HandleMessage,
// GetMessage, WaitMessage, and so every modal loop) lifts the limit for its own time with
// `unlimited`, also when it runs inside a pump's handler.
#pragma once

#include "platform/ui/Messages.h"

#include <optional>
#include <set>

class TPumpHorizon {
public:
    explicit TPumpHorizon(bool unlimited = false);
    ~TPumpHorizon();
    TPumpHorizon(const TPumpHorizon&) = delete;
    TPumpHorizon& operator=(const TPumpHorizon&) = delete;

    // The horizon in force, or nullptr.
    static TPumpHorizon* Current();
    // Whether `hwnd` has had its paint under this horizon.
    bool Painted(HWND hwnd) const { return painted_.count(hwnd) != 0; }
    void MarkPainted(HWND hwnd) { painted_.insert(hwnd); }

private:
    TPumpHorizon* saved_;
    std::optional<uint64_t> savedTimerHorizon_;
    std::set<HWND> painted_;
};
