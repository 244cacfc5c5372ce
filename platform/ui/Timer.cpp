#include "platform/ui/Timer.h"

#include "platform/ui/TimerHeap.h"

TTimer::TTimer() = default;

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

void TTimer::UpdateTimer() {
    auto& heap = TTimerHeap::Instance();
    if (id_ != 0)
        heap.Stop(nullptr, id_);
    id_ = 0;
    if (enabled_ && interval_ > 0 && onTimer_)
        id_ = heap.Start(nullptr, 0, interval_, [this] { Tick(); });
}

void TTimer::Tick() {
    // Restarting the timer inside its handler makes a new heap entry, which the heap does not
    // know to hold back; the flag does.
    if (inHandler_ || !onTimer_)
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
    // A copy, so the handler may replace itself or free the timer.
    TTimerEvent handler = onTimer_;
    handler(*this);
}
