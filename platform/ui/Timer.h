// TTimer: the class library's timer component, on the one timer heap of the message loop.
//
// It ticks while it is enabled, has an interval above 0 and a handler; changing any of these
// restarts the count from now. The handler runs on the user-interface thread from whatever loop
// is pumping (Run, ProcessMessages, a modal loop), and never re-enters itself.
//
// As a component it streams Enabled, Interval and OnTimer; a handler named in a stream is a
// method pointer kept beside the function code assigns, and both run on a tick. A timer does not
// start while its stream is read (it starts in Loaded) nor at design time.
#pragma once

#include "platform/classes/Component.h"

#include <cstdint>
#include <functional>
#include <memory>

class TTimer : public TComponent {
    DBI_PERSISTENT(TTimer, TComponent)

    using TTimerEvent = std::function<void(TTimer& sender)>;

    explicit TTimer(TComponent* owner = nullptr);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Milliseconds; 1000 after construction; 0 stops the timer.
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t value);
    const TTimerEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TTimerEvent handler);

    TNotifyEvent OnTimerMethod() const { return onTimerMethod_; }
    void SetOnTimerMethod(const TNotifyEvent& handler);

    // Whether a tick is scheduled on the heap.
    bool Running() const { return id_ != 0; }

    void Loaded() override;

private:
    void UpdateTimer();
    void Tick();

    bool enabled_ = true;
    uint32_t interval_ = 1000;
    TTimerEvent onTimer_;
    TNotifyEvent onTimerMethod_;
    uintptr_t id_ = 0;
    bool inHandler_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
