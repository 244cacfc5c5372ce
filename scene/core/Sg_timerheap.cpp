#include "scene/core/Sg_timerheap.h"

#include <chrono>

namespace {

uint64_t SteadyMilliseconds() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

} // namespace

TsgTimerHeap& TsgTimerHeap::Instance() {
    static TsgTimerHeap heap;
    return heap;
}

TsgTimerHeap::TsgTimerHeap() : clock_(SteadyMilliseconds) {}

void TsgTimerHeap::SetClock(Clock clock) {
    clock_ = clock ? std::move(clock) : Clock(SteadyMilliseconds);
}

void TsgTimerHeap::Push(uint32_t id, Timer& timer) {
    timer.serial = nextSerial_++;
    heap_.push(Entry{timer.due, nextOrder_++, id, timer.serial});
}

uint32_t TsgTimerHeap::SetTimer(uint32_t intervalMs, Callback callback) {
    if (intervalMs == 0 || !callback)
        return 0;
    uint32_t id = nextId_++;
    if (nextId_ == 0)
        nextId_ = 1;
    Timer& timer = timers_[id];
    timer = Timer{intervalMs, Now() + intervalMs, 0, std::move(callback)};
    Push(id, timer);
    return id;
}

bool TsgTimerHeap::KillTimer(uint32_t id) {
    return timers_.erase(id) != 0; // its heap entries become stale
}

void TsgTimerHeap::DropStale() {
    while (!heap_.empty()) {
        const Entry& top = heap_.top();
        auto it = timers_.find(top.id);
        if (it != timers_.end() && it->second.serial == top.serial)
            return;
        heap_.pop();
    }
}

int TsgTimerHeap::ProcessDueTimers() {
    uint64_t now = Now();
    // Take every due entry first, so a timer rescheduled in this pass waits for the next one.
    std::vector<Entry> due;
    for (DropStale(); !heap_.empty() && heap_.top().due <= now; DropStale()) {
        due.push_back(heap_.top());
        heap_.pop();
    }
    int ticks = 0;
    for (const Entry& entry : due) {
        auto it = timers_.find(entry.id);
        if (it == timers_.end() || it->second.serial != entry.serial)
            continue; // killed (or restarted) by an earlier callback of this pass
        Timer& timer = it->second;
        timer.due = now + timer.interval;
        Push(entry.id, timer);
        Callback callback = timer.callback; // the callback may kill its own timer
        callback(entry.id);
        ++ticks;
    }
    return ticks;
}

int64_t TsgTimerHeap::MillisecondsUntilNext() {
    DropStale();
    if (heap_.empty())
        return -1;
    uint64_t now = Now();
    uint64_t due = heap_.top().due;
    return due <= now ? 0 : static_cast<int64_t>(due - now);
}
