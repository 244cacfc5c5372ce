// The window-less timers of the user-interface thread.
//
// A timer heap of the toolkit's own, drained by whatever loop runs on the user-interface thread:
// the loop asks how long it may wait (MillisecondsUntilNext) and calls ProcessDueTimers when it
// wakes. Time comes from an injectable millisecond clock, so tests step it by hand. A timer has
// at most one pending tick: when several periods pass unseen, it ticks once and the next tick
// is due a full interval later. A timer killed before its tick is delivered, even by another
// timer's callback in the same pass, never ticks again.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <queue>
#include <vector>

class TsgTimerHeap {
public:
    using Clock = std::function<uint64_t()>;
    using Callback = std::function<void(uint32_t id)>;

    // The process's timers (one user-interface thread).
    static TsgTimerHeap& Instance();

    TsgTimerHeap();
    // nullptr restores the steady system clock.
    void SetClock(Clock clock);
    uint64_t Now() const { return clock_(); }

    // Starts a periodic timer; 0 (no timer) for an interval of 0 or an empty callback.
    uint32_t SetTimer(uint32_t intervalMs, Callback callback);
    // False when no such timer runs.
    bool KillTimer(uint32_t id);
    bool IsRunning(uint32_t id) const { return timers_.count(id) != 0; }
    size_t Count() const { return timers_.size(); }

    // Delivers the tick of every timer due now, earliest first; answers how many ticked.
    int ProcessDueTimers();
    // Milliseconds until the earliest tick (0 when one is due); -1 without timers.
    int64_t MillisecondsUntilNext();

private:
    struct Timer {
        uint32_t interval;
        uint64_t due;
        uint64_t serial; // tells current heap entries from stale ones
        Callback callback;
    };
    struct Entry {
        uint64_t due;
        uint64_t order;
        uint32_t id;
        uint64_t serial;
        bool operator>(const Entry& other) const {
            return due != other.due ? due > other.due : order > other.order;
        }
    };
    void Push(uint32_t id, Timer& timer);
    void DropStale();

    Clock clock_;
    std::map<uint32_t, Timer> timers_;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> heap_;
    uint32_t nextId_ = 1;
    uint64_t nextSerial_ = 1;
    uint64_t nextOrder_ = 1;
};
