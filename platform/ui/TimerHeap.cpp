#include "platform/ui/TimerHeap.h"

#include "platform/ui/UiClock.h"

#include <algorithm>

uintptr_t SetTimer(HWND hwnd, uintptr_t id, UINT elapse, TIMERPROC proc) {
    if (hwnd && !IsWindow(hwnd))
        return 0;
    if (!hwnd && !proc)
        return 0;
    TTimerHeap::Handler handler;
    if (proc) {
        // The id is known only after starting, so the handler reads it from a shared cell.
        auto cell = std::make_shared<uintptr_t>(0);
        handler = [proc, hwnd, cell] { proc(hwnd, WM_TIMER, *cell, UiTickCount()); };
        uintptr_t started = TTimerHeap::Instance().Start(hwnd, hwnd ? id : 0, elapse, handler);
        *cell = started;
        return started;
    }
    handler = [hwnd, id] { SendMessage(hwnd, WM_TIMER, id, 0); };
    return TTimerHeap::Instance().Start(hwnd, id, elapse, handler);
}

bool KillTimer(HWND hwnd, uintptr_t id) {
    return TTimerHeap::Instance().Stop(hwnd, id);
}

TTimerHeap& TTimerHeap::Instance() {
    // Never destroyed: timers of forms freed at exit still stop here.
    static auto* heap = new TTimerHeap();
    return *heap;
}

uintptr_t TTimerHeap::FreshId() const {
    // An id whose handler still runs is not free, even when its timer has been stopped: a new
    // timer under it would count as that timer started again and wait for the handler to
    // return, which for a handler that runs a modal loop is the whole of that loop.
    uintptr_t id = 1;
    while (timers_.count({nullptr, id}) != 0 || runningKeys_.count({nullptr, id}) != 0)
        ++id;
    return id;
}

void TTimerHeap::Arm(Entry& entry) {
    heap_.insert({entry.deadline, entry.serial, Key{entry.hwnd, entry.id}});
}

void TTimerHeap::Disarm(Entry& entry) {
    heap_.erase({entry.deadline, entry.serial, Key{entry.hwnd, entry.id}});
}

uintptr_t TTimerHeap::Start(HWND hwnd, uintptr_t id, uint32_t interval, Handler handler) {
    if (!hwnd && id == 0)
        id = FreshId();
    // Windows treat an interval of 0 as the shortest one; so do we.
    if (interval == 0)
        interval = 1;
    Key key{hwnd, id};
    auto found = timers_.find(key);
    std::shared_ptr<Entry> entry;
    if (found != timers_.end()) {
        entry = found->second;
        if (!entry->running)
            Disarm(*entry);
    } else {
        entry = std::make_shared<Entry>();
        entry->hwnd = hwnd;
        entry->id = id;
        entry->serial = nextSerial_++;
        entry->waiting = runningKeys_.count(key) != 0;
        timers_[key] = entry;
    }
    entry->interval = interval;
    entry->deadline = UiClock().NowMs() + interval;
    entry->handler = std::move(handler);
    entry->stopped = false;
    if (!entry->running && !entry->waiting)
        Arm(*entry);
    return id;
}

bool TTimerHeap::Stop(HWND hwnd, uintptr_t id) {
    auto found = timers_.find({hwnd, id});
    if (found == timers_.end())
        return false;
    std::shared_ptr<Entry> entry = found->second;
    if (!entry->running && !entry->waiting)
        Disarm(*entry);
    // A running handler holds the entry; it only learns that the timer has gone.
    entry->stopped = true;
    timers_.erase(found);
    return true;
}

void TTimerHeap::StopAllOf(HWND hwnd) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first.first == hwnd && hwnd != nullptr) {
            auto next = std::next(it);
            Stop(it->first.first, it->first.second);
            it = next;
        } else {
            ++it;
        }
    }
}

std::optional<uint64_t> TTimerHeap::NextDeadline() const {
    if (heap_.empty())
        return std::nullopt;
    return std::get<0>(*heap_.begin());
}

bool TTimerHeap::TakeDue(uint64_t now, HWND hwnd, bool remove, TMsg& out) {
    uint64_t dueBy = horizon_ ? std::min(now, *horizon_) : now;
    for (const Slot& slot : heap_) {
        if (std::get<0>(slot) > dueBy)
            return false;
        const Key& key = std::get<2>(slot);
        if (hwnd && key.first != hwnd)
            continue;
        std::shared_ptr<Entry> entry = timers_.at(key);
        out = TMsg{};
        out.hwnd = entry->hwnd;
        out.message = WM_TIMER;
        out.wParam = entry->id;
        out.time = static_cast<uint32_t>(now);
        if (remove) {
            Disarm(*entry);
            entry->deadline = now + entry->interval;
            Arm(*entry);
        }
        return true;
    }
    return false;
}

bool TTimerHeap::Fire(HWND hwnd, uintptr_t id) {
    auto found = timers_.find({hwnd, id});
    if (found == timers_.end() || found->second->running)
        return false;
    std::shared_ptr<Entry> entry = found->second;
    Disarm(*entry);
    entry->running = true;
    Key key{hwnd, id};
    runningKeys_.insert(key);
    struct Rearm {
        TTimerHeap& heap;
        std::shared_ptr<Entry> entry;
        Key key;
        ~Rearm() {
            entry->running = false;
            heap.runningKeys_.erase(key);
            if (!entry->stopped) {
                heap.Arm(*entry);
                return;
            }
            auto successor = heap.timers_.find(key);
            if (successor != heap.timers_.end() && successor->second->waiting) {
                successor->second->waiting = false;
                heap.Arm(*successor->second);
            }
        }
    } rearm{*this, entry, key};
    // A copy: the handler may restart its own timer with another handler.
    Handler handler = entry->handler;
    handler();
    return true;
}

void TTimerHeap::Reset() {
    for (auto& [key, entry] : timers_)
        entry->stopped = true;
    timers_.clear();
    heap_.clear();
    runningKeys_.clear();
}
