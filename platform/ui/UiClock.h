// The clock behind timers, the message loop's waiting and the tick count.
//
// Everything of the user-interface thread that measures time reads it here, so a test can put a
// manual clock in place and step 33 ms, 250 ms or 8000 ms without waiting for real.
#pragma once

#include <cstdint>

class TUiClock {
public:
    virtual ~TUiClock() = default;
    // Milliseconds since an arbitrary start; never goes back.
    virtual uint64_t NowMs() const = 0;
    // Asked by the message loop when it has nothing to do for `ms` milliseconds. A virtual clock
    // moves itself forward and answers true, so the loop goes on at once; the real clock answers
    // false and the loop waits on the event queue.
    virtual bool PassTime(uint64_t ms) = 0;
};

// Monotonic system time.
class TSystemClock : public TUiClock {
public:
    uint64_t NowMs() const override;
    bool PassTime(uint64_t) override { return false; }
};

// A clock that moves only when told to, or when the loop would otherwise wait for a timer.
class TManualClock : public TUiClock {
public:
    explicit TManualClock(uint64_t start = 1000) : now_(start) {}
    uint64_t NowMs() const override { return now_; }
    bool PassTime(uint64_t ms) override;
    void Advance(uint64_t ms) { now_ += ms; }

    // With auto-advance off, an idle loop waits on the event queue for real instead of jumping
    // to the next timer.
    bool AutoAdvance = true;

private:
    uint64_t now_;
};

// The clock in use; the system clock unless a test installed another.
TUiClock& UiClock();
// Installs `clock` (not owned) or, with nullptr, the system clock again.
void SetUiClock(TUiClock* clock);

// The 32-bit millisecond tick count of the user-interface clock; wraps after 49.7 days, so
// callers compare ticks by unsigned difference.
uint32_t UiTickCount();
// The same tick count under the name the callers use.
inline uint32_t GetTickCount() {
    return UiTickCount();
}
