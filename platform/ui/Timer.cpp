#include "platform/ui/Timer.h"

#include "platform/ui/TimerHeap.h"

DBI_PUBLISH(TTimer) {
    p.Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
    p.Integer("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000);
    p.Event("OnTimer", &TTimer::OnTimerMethod, &TTimer::SetOnTimerMethod);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    *alive_ = false;
    if (id_ != 0)
        TTimerHeap::Instance().Stop(nullptr, id_);
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_)
        return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(uint32_t value) {
    if (value == interval_)
        return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TTimerEvent handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::SetOnTimerMethod(const TNotifyEvent& handler) {
    onTimerMethod_ = handler;
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    auto& heap = TTimerHeap::Instance();
    if (id_ != 0)
        heap.Stop(nullptr, id_);
    id_ = 0;
    if (ComponentState() & (csLoading | csDesigning | csDestroying))
        return;
    if (enabled_ && interval_ > 0 && (onTimer_ || onTimerMethod_))
        id_ = heap.Start(nullptr, 0, interval_, [this] { Tick(); });
}

void TTimer::Tick() {
    // Restarting the timer inside its handler makes a new heap entry, which the heap does not
    // know to hold back; the flag does.
    if (inHandler_ || !(onTimer_ || onTimerMethod_))
        return;
    inHandler_ = true;
    std::shared_ptr<bool> alive = alive_;
    struct Leave {
        TTimer* timer;
        std::shared_ptr<bool> alive;
        ~Leave() {
            if (*alive)
                timer->inHandler_ = false;
        }
    } leave{this, alive};
    // Copies, so a handler may replace itself or free the timer.
    TTimerEvent handler = onTimer_;
    TNotifyEvent method = onTimerMethod_;
    if (handler)
        handler(*this);
    if (method && *alive)
        method(this);
}
