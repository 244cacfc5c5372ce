// The toolkit's window-less timers, kept on the one timer heap of the user-interface thread.
//
// A thin adapter over the platform's window-less SetTimer/KillTimer: ticks come from whatever
// message loop is pumping (the main loop, a modal loop, ProcessMessages) in deadline order
// together with every other timer of the program, and time is the user-interface clock, so a
// test steps it with a manual clock. A timer has at most one pending tick: when several periods
// pass unseen, it ticks once and the next tick is due a full interval after it was taken. A
// timer killed before its tick is delivered, even by another timer's callback in the same pump,
// never ticks again, and a timer never ticks again while its own callback runs.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

class TsgTimerHeap {
public:
    using Callback = std::function<void(uint32_t id)>;

    // The process's timers (one user-interface thread).
    static TsgTimerHeap& Instance();

    // The user-interface clock, in milliseconds.
    uint64_t Now() const;

    // Starts a periodic timer; 0 (no timer) for an interval of 0, an empty callback, or when
    // the platform refuses the timer.
    uint32_t SetTimer(uint32_t intervalMs, Callback callback);
    // False when no such timer runs.
    bool KillTimer(uint32_t id);
    bool IsRunning(uint32_t id) const { return callbacks_.count(id) != 0; }
    size_t Count() const { return callbacks_.size(); }

    // Kills every timer started here; for tests.
    void Reset();

    // A tick of the platform timer `id`: runs its callback (a killed timer has none).
    void Deliver(uint32_t id);

private:
    TsgTimerHeap() = default;

    std::map<uint32_t, Callback> callbacks_;
};
