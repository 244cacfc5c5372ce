#include "scene/core/Sg_classes_timer.h"

#include "scene/core/Sg_timerheap.h"

#include <memory>
#include <vector>

DBI_PUBLISH(TsgTimer) {
    p.Boolean("Enabled", &TsgTimer::Enabled, &TsgTimer::SetEnabled, true);
    p.Integer("Interval", &TsgTimer::Interval, &TsgTimer::SetInterval, 1000);
    p.Event("OnTimer", &TsgTimer::OnTimer, &TsgTimer::SetOnTimer);
}

namespace {

using TTimerMethod = TClosure<void()>;

struct TTimerRecord {
    uint32_t id;
    TTimerMethod method;
};

// Created on the first timer start; the records exist exactly while their timers run.
std::unique_ptr<std::vector<std::unique_ptr<TTimerRecord>>>& TimerList() {
    static std::unique_ptr<std::vector<std::unique_ptr<TTimerRecord>>> list;
    return list;
}

void TimerProc(uint32_t id) {
    auto& list = TimerList();
    if (!list)
        return;
    for (size_t i = list->size(); i-- > 0;) {
        if ((*list)[i]->id == id) {
            TTimerMethod method = (*list)[i]->method;
            method();
            return;
        }
    }
}

uint32_t StartRecord(uint32_t interval, const TTimerMethod& method) {
    if (interval == 0 || !method)
        return 0;
    uint32_t id = TsgTimerHeap::Instance().SetTimer(interval, TimerProc);
    if (id == 0)
        return 0;
    auto& list = TimerList();
    if (!list)
        list = std::make_unique<std::vector<std::unique_ptr<TTimerRecord>>>();
    list->push_back(std::make_unique<TTimerRecord>(TTimerRecord{id, method}));
    return id;
}

bool StopRecord(uint32_t id) {
    auto& list = TimerList();
    if (!list)
        return false;
    bool stopped = false;
    for (size_t i = list->size(); i-- > 0;) {
        if ((*list)[i]->id == id) {
            stopped = TsgTimerHeap::Instance().KillTimer(id);
            list->erase(list->begin() + static_cast<long>(i));
        }
    }
    return stopped;
}

} // namespace

int TimerRecordCount() {
    auto& list = TimerList();
    return list ? static_cast<int>(list->size()) : 0;
}

TsgTimer::TsgTimer(TComponent* AOwner) : TComponent(AOwner) {}

TsgTimer::~TsgTimer() {
    FOnTimer = nullptr;
    FEnabled = false;
    KillTimer();
}

void TsgTimer::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    UpdateTimer();
}

void TsgTimer::SetInterval(uint32_t Value) {
    if (Value == FInterval)
        return;
    FInterval = Value;
    UpdateTimer();
}

void TsgTimer::SetOnTimer(const TNotifyEvent& Value) {
    if (Value == FOnTimer) // code and object both
        return;
    FOnTimer = Value;
    UpdateTimer();
}

void TsgTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TsgTimer::UpdateTimer() {
    KillTimer();
    if (!FEnabled || FInterval == 0 || !FOnTimer)
        return;
    if (ComponentState() & (csLoading | csDestroying | csDesigning))
        return;
    uint32_t id = StartRecord(FInterval, TTimerMethod::Bind<&TsgTimer::Timer>(this));
    FTimerHandle = id == 0 ? TimerNone : id;
}

void TsgTimer::KillTimer() {
    if (FTimerHandle == TimerNone)
        return;
    StopRecord(FTimerHandle);
    FTimerHandle = TimerNone;
}

void TsgTimer::Timer() {
    if (FEnabled && FInterval > 0)
        DoOnTimer();
}

void TsgTimer::DoOnTimer() {
    if (FOnTimer)
        FOnTimer(this);
}
