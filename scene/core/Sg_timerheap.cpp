#include "scene/core/Sg_timerheap.h"

#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

namespace {

void TimerProc(HWND, UINT, uintptr_t id, uint32_t) {
    TsgTimerHeap::Instance().Deliver(static_cast<uint32_t>(id));
}

} // namespace

TsgTimerHeap& TsgTimerHeap::Instance() {
    // Never destroyed: timers of components freed at exit still stop here.
    static auto* heap = new TsgTimerHeap();
    return *heap;
}

uint64_t TsgTimerHeap::Now() const {
    return UiClock().NowMs();
}

uint32_t TsgTimerHeap::SetTimer(uint32_t intervalMs, Callback callback) {
    if (intervalMs == 0 || !callback)
        return 0;
    const uintptr_t id = ::SetTimer(nullptr, 0, intervalMs, TimerProc);
    // Ids of window-less timers are small; one that does not fit is refused, not truncated.
    if (id == 0 || id > UINT32_MAX) {
        if (id != 0)
            ::KillTimer(nullptr, id);
        return 0;
    }
    callbacks_[static_cast<uint32_t>(id)] = std::move(callback);
    return static_cast<uint32_t>(id);
}

bool TsgTimerHeap::KillTimer(uint32_t id) {
    if (callbacks_.erase(id) == 0)
        return false;
    return ::KillTimer(nullptr, id);
}

void TsgTimerHeap::Deliver(uint32_t id) {
    auto found = callbacks_.find(id);
    if (found == callbacks_.end())
        return;
    // A copy: the callback may kill or restart its own timer.
    Callback callback = found->second;
    callback(id);
}

void TsgTimerHeap::Reset() {
    for (const auto& [id, callback] : callbacks_)
        ::KillTimer(nullptr, id);
    callbacks_.clear();
}
