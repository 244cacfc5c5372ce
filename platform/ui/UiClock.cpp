#include "platform/ui/UiClock.h"

#include <chrono>

uint64_t TSystemClock::NowMs() const {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

bool TManualClock::PassTime(uint64_t ms) {
    if (!AutoAdvance)
        return false;
    now_ += ms;
    return true;
}

namespace {
TSystemClock systemClock;
TUiClock* currentClock = &systemClock;
} // namespace

TUiClock& UiClock() {
    return *currentClock;
}

void SetUiClock(TUiClock* clock) {
    currentClock = clock ? clock : &systemClock;
}

uint32_t UiTickCount() {
    return static_cast<uint32_t>(currentClock->NowMs());
}
