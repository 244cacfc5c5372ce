// TsgTimer: a timer component that needs no window. Its ticks come from the one timer heap of the
// user-interface thread (Sg_timerheap.h) through the process-wide record list, and call
// OnTimer with the timer as sender. A system timer runs exactly while the timer is enabled,
// has an interval and a handler, and is neither loading, being destroyed nor designed.
#pragma once

#include "platform/classes/Component.h"

#include <cstdint>

class TsgTimer : public TComponent {
    DBI_PERSISTENT(TsgTimer, TComponent)

    explicit TsgTimer(TComponent* AOwner);
    ~TsgTimer() override;

    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    uint32_t Interval() const { return FInterval; }
    virtual void SetInterval(uint32_t Value);
    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    // A handler that calls the same method on the same object changes nothing.
    virtual void SetOnTimer(const TNotifyEvent& Value);
    // The running system timer's id; TimerNone when none runs.
    uint32_t TimerHandle() const { return FTimerHandle; }
    static constexpr uint32_t TimerNone = 0xFFFFFFFF;

    void Loaded() override;
    // The tick target of the record list.
    void Timer();

protected:
    virtual void DoOnTimer();
    virtual void UpdateTimer();
    virtual void KillTimer();

private:
    uint32_t FInterval = 1000;
    uint32_t FTimerHandle = TimerNone;
    TNotifyEvent FOnTimer;
    bool FEnabled = true;
};

// Ticks delivered to timers through the record list (for tests and diagnostics).
int TimerRecordCount();
