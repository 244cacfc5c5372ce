// The one timer heap of the user-interface thread.
//
// Timers are deadlines kept in the message loop, never callbacks on another thread: the loop
// waits for the earliest deadline and hands out WM_TIMER when a timer is due (Messages.h gives the
// order). A due timer is re-armed for one interval after the moment it is taken, so missed ticks
// are never made up in a burst. A timer never fires again while its own handler runs, even when
// the handler pumps messages: it is out of the heap until the handler returns.
#pragma once

#include "platform/ui/Messages.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <tuple>

// Called for a timer without a window, with the window (nullptr), WM_TIMER, the id and the tick
// count.
using TIMERPROC = void (*)(HWND hwnd, UINT message, uintptr_t id, uint32_t time);

// Starts or restarts a timer of `elapse` ms. Without a window the id argument is ignored and a
// fresh id is answered (never that of a timer whose handler is still running, stopped or not);
// with one, (hwnd, id) names the timer and restarting keeps it. Without a
// procedure a window timer's ticks go to the window as WM_TIMER. 0 when nothing was started (a
// window that has gone, or neither a window nor a procedure).
uintptr_t SetTimer(HWND hwnd, uintptr_t id, UINT elapse, TIMERPROC proc);
// Stops a timer; a tick already handed out for it does nothing. False when there is no such timer.
bool KillTimer(HWND hwnd, uintptr_t id);

class TTimerHeap {
public:
    using Handler = std::function<void()>;

    static TTimerHeap& Instance();

    // Starts (or restarts) the timer (hwnd, id); for hwnd nullptr an id of 0 asks for a fresh one.
    // The handler runs on every tick. Answers the timer's id.
    uintptr_t Start(HWND hwnd, uintptr_t id, uint32_t interval, Handler handler);
    bool Stop(HWND hwnd, uintptr_t id);
    // Stops every timer of a window that is going away.
    void StopAllOf(HWND hwnd);

    // The earliest deadline of a timer that may fire now (not one whose handler is running).
    std::optional<uint64_t> NextDeadline() const;
    // The WM_TIMER of the earliest timer due at `now` for `hwnd` (nullptr: any). Taking it
    // re-arms the timer for `now` + interval.
    bool TakeDue(uint64_t now, HWND hwnd, bool remove, TMsg& out);
    // Runs the handler of (hwnd, id) for a tick that was handed out; false when the timer has
    // gone or its handler is running already.
    bool Fire(HWND hwnd, uintptr_t id);

    size_t Count() const { return timers_.size(); }
    // While set, TakeDue hands out only timers due by `horizon` (see TTimerHorizon).
    std::optional<uint64_t> Horizon() const { return horizon_; }
    void SetHorizon(std::optional<uint64_t> horizon) { horizon_ = horizon; }
    bool Exists(HWND hwnd, uintptr_t id) const { return timers_.count({hwnd, id}) != 0; }
    // Forgets every timer; for tests.
    void Reset();

private:
    struct Entry {
        HWND hwnd = nullptr;
        uintptr_t id = 0;
        uint32_t interval = 0;
        uint64_t deadline = 0;
        uint64_t serial = 0;
        Handler handler;
        bool running = false;
        bool stopped = false;
        // Started again under the same name while the old entry's handler runs: armed only once
        // that handler has returned.
        bool waiting = false;
    };
    using Key = std::pair<HWND, uintptr_t>;
    // Deadline first, then the order in which the timers were started.
    using Slot = std::tuple<uint64_t, uint64_t, Key>;

    void Arm(Entry& entry);
    void Disarm(Entry& entry);
    uintptr_t FreshId() const;

    std::map<Key, std::shared_ptr<Entry>> timers_;
    std::set<Slot> heap_;
    std::set<Key> runningKeys_;
    std::optional<uint64_t> horizon_;
    uint64_t nextSerial_ = 1;
};
