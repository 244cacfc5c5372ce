// The timer heap with a hand-stepped clock, and TsgTimer on top of it.
#include "scene/core/Sg_classes.h"
#include "scene/core/Sg_timerheap.h"

#include <gtest/gtest.h>

namespace {

class TimerHeap : public testing::Test {
protected:
    void SetUp() override {
        heap.SetClock([this] { return now; });
    }
    uint64_t now = 1000;
    TsgTimerHeap heap;
};

TEST_F(TimerHeap, TicksOncePerPassHoweverLateAndNeverAfterKill) {
    std::vector<uint32_t> ticks;
    auto record = [&](uint32_t id) { ticks.push_back(id); };
    uint32_t fast = heap.SetTimer(10, record);
    uint32_t slow = heap.SetTimer(25, record);
    EXPECT_EQ(heap.SetTimer(0, record), 0u);
    EXPECT_EQ(heap.MillisecondsUntilNext(), 10);
    EXPECT_EQ(heap.ProcessDueTimers(), 0);
    now += 100; // many periods missed: one tick each, earliest due first
    EXPECT_EQ(heap.ProcessDueTimers(), 2);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{fast, slow}));
    EXPECT_EQ(heap.MillisecondsUntilNext(), 10);
    now += 10;
    EXPECT_EQ(heap.ProcessDueTimers(), 1);
    EXPECT_TRUE(heap.KillTimer(fast));
    EXPECT_FALSE(heap.KillTimer(fast));
    now += 100;
    ticks.clear();
    heap.ProcessDueTimers();
    EXPECT_EQ(ticks, std::vector<uint32_t>{slow});
    heap.KillTimer(slow);
    EXPECT_EQ(heap.MillisecondsUntilNext(), -1);
}

TEST_F(TimerHeap, ATimerKilledByAnEarlierCallbackOfThePassDoesNotTick) {
    std::vector<uint32_t> ticks;
    uint32_t second = 0;
    uint32_t first = heap.SetTimer(5, [&](uint32_t id) {
        ticks.push_back(id);
        heap.KillTimer(second);
    });
    second = heap.SetTimer(6, [&](uint32_t id) { ticks.push_back(id); });
    now += 50;
    heap.ProcessDueTimers();
    EXPECT_EQ(ticks, std::vector<uint32_t>{first});
}

struct Receiver {
    void OnTick(TObject* sender) { senders.push_back(sender); }
    std::vector<TObject*> senders;
};

class SgTimer : public testing::Test {
protected:
    void SetUp() override {
        TsgTimerHeap::Instance().SetClock([this] { return now; });
    }
    void TearDown() override { TsgTimerHeap::Instance().SetClock(nullptr); }
    void Advance(uint64_t ms) {
        now += ms;
        TsgTimerHeap::Instance().ProcessDueTimers();
    }
    TNotifyEvent Tick() { return TNotifyEvent::Bind<&Receiver::OnTick>(&receiver); }

    uint64_t now = 5000;
    Receiver receiver;
    std::vector<TObject*>& senders = receiver.senders;
};

TEST_F(SgTimer, RunsOnlyWithEnabledIntervalAndHandler) {
    TsgTimer timer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_EQ(timer.TimerHandle(), TsgTimer::TimerNone);
    timer.SetOnTimer(Tick());
    EXPECT_NE(timer.TimerHandle(), TsgTimer::TimerNone);
    Advance(1000);
    EXPECT_EQ(senders, std::vector<TObject*>{&timer});
    timer.SetInterval(0);
    EXPECT_EQ(timer.TimerHandle(), TsgTimer::TimerNone);
    timer.SetInterval(200);
    timer.SetEnabled(false);
    EXPECT_EQ(timer.TimerHandle(), TsgTimer::TimerNone);
    Advance(1000);
    EXPECT_EQ(senders.size(), 1u);
    timer.SetEnabled(true);
    Advance(200);
    EXPECT_EQ(senders.size(), 2u);
}

TEST_F(SgTimer, HandlerChangesCompareObjectAndMethod) {
    TsgTimer timer(nullptr);
    Receiver other;
    timer.SetOnTimer(Tick());
    uint32_t handle = timer.TimerHandle();
    timer.SetOnTimer(Tick());
    EXPECT_EQ(timer.TimerHandle(), handle); // same method, same object: nothing restarts
    timer.SetOnTimer(TNotifyEvent::Bind<&Receiver::OnTick>(&other));
    EXPECT_EQ(timer.OnTimer().Data(), &other);
    Advance(1000);
    EXPECT_TRUE(senders.empty());
    EXPECT_EQ(other.senders.size(), 1u);
}

TEST_F(SgTimer, DestroyedOrLoadingTimersLeaveNoRecord) {
    int before = TimerRecordCount();
    {
        TComponent owner(nullptr);
        auto* timer = new TsgTimer(&owner);
        timer->SetOnTimer(Tick());
        EXPECT_EQ(TimerRecordCount(), before + 1);
    }
    EXPECT_EQ(TimerRecordCount(), before);
    Advance(5000);
    EXPECT_TRUE(senders.empty());
    TsgTimer loading(nullptr);
    loading.SetStateFlags(csLoading);
    loading.SetOnTimer(Tick());
    EXPECT_EQ(loading.TimerHandle(), TsgTimer::TimerNone);
    loading.Loaded();
    EXPECT_NE(loading.TimerHandle(), TsgTimer::TimerNone);
}

} // namespace
