// The toolkit's window-less timers on the user-interface thread's one timer heap, stepped with
// the user-interface clock, and TsgTimer on top of them.
#include "scene/core/Sg_classes.h"
#include "scene/core/Sg_timerheap.h"

#include "platform/ui/Application.h"
#include "platform/ui/Timer.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class UiClockTest : public testing::Test {
protected:
    void SetUp() override { SetUiClock(&clock); }
    void TearDown() override {
        TsgTimerHeap::Instance().Reset();
        TTimerHeap::Instance().Reset();
        SetUiClock(nullptr);
    }
    // Steps the clock and pumps what is due, as the message loop does.
    void Advance(uint64_t ms) {
        clock.Advance(ms);
        Application->ProcessMessages();
    }

    TManualClock clock{5000};
    TsgTimerHeap& heap = TsgTimerHeap::Instance();
};

using TimerHeap = UiClockTest;

TEST_F(TimerHeap, TicksOncePerPumpHoweverLateAndNeverAfterKill) {
    std::vector<uint32_t> ticks;
    auto record = [&](uint32_t id) { ticks.push_back(id); };
    uint32_t fast = heap.SetTimer(10, record);
    uint32_t slow = heap.SetTimer(25, record);
    EXPECT_EQ(heap.SetTimer(0, record), 0u);
    EXPECT_EQ(heap.SetTimer(10, nullptr), 0u);
    EXPECT_EQ(heap.Now(), 5000u);
    EXPECT_EQ(TTimerHeap::Instance().NextDeadline(), 5010u);
    Advance(0);
    EXPECT_TRUE(ticks.empty());
    Advance(100); // many periods missed: one tick each, earliest due first
    EXPECT_EQ(ticks, (std::vector<uint32_t>{fast, slow}));
    EXPECT_EQ(TTimerHeap::Instance().NextDeadline(), heap.Now() + 10);
    Advance(10);
    EXPECT_EQ(ticks.size(), 3u);
    EXPECT_TRUE(heap.KillTimer(fast));
    EXPECT_FALSE(heap.KillTimer(fast));
    EXPECT_FALSE(heap.IsRunning(fast));
    ticks.clear();
    Advance(100);
    EXPECT_EQ(ticks, std::vector<uint32_t>{slow});
    heap.KillTimer(slow);
    EXPECT_FALSE(TTimerHeap::Instance().NextDeadline());
}

TEST_F(TimerHeap, ATimerKilledByAnEarlierCallbackOfThePumpDoesNotTick) {
    std::vector<uint32_t> ticks;
    uint32_t second = 0;
    uint32_t first = heap.SetTimer(5, [&](uint32_t id) {
        ticks.push_back(id);
        heap.KillTimer(second);
    });
    second = heap.SetTimer(6, [&](uint32_t id) { ticks.push_back(id); });
    Advance(50);
    EXPECT_EQ(ticks, std::vector<uint32_t>{first});
}

TEST_F(TimerHeap, SharesTheHeapAndTheOrderWithTheClassLibrarysTimers) {
    std::string fired;
    TTimer classTimer;
    classTimer.SetInterval(30);
    classTimer.SetOnTimer([&](TTimer&) { fired += 'T'; });
    heap.SetTimer(20, [&](uint32_t) { fired += 's'; });
    heap.SetTimer(40, [&](uint32_t) { fired += 'S'; });
    EXPECT_EQ(TTimerHeap::Instance().Count(), 3u);
    struct Step {
        uint64_t ms;
        const char* firedSoFar;
    } steps[] = {{20, "s"}, {10, "sT"}, {10, "sTsS"}, {20, "sTsSTs"}};
    for (const Step& step : steps) {
        Advance(step.ms);
        EXPECT_EQ(fired, step.firedSoFar) << "at " << heap.Now();
    }
}

TEST_F(TimerHeap, ACallbackThatPumpsDoesNotReenterItsOwnTimer) {
    int depth = 0, maxDepth = 0, ticks = 0;
    heap.SetTimer(10, [&](uint32_t) {
        ++ticks;
        maxDepth = std::max(maxDepth, ++depth);
        clock.Advance(50);
        Application->ProcessMessages();
        --depth;
    });
    Advance(10);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(maxDepth, 1);
}

struct Receiver {
    void OnTick(TObject* sender) { senders.push_back(sender); }
    std::vector<TObject*> senders;
};

class SgTimer : public UiClockTest {
protected:
    TNotifyEvent Tick() { return TNotifyEvent::Bind<&Receiver::OnTick>(&receiver); }

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
    EXPECT_TRUE(TTimerHeap::Instance().Exists(nullptr, timer.TimerHandle()));
    Advance(1000);
    EXPECT_EQ(senders, std::vector<TObject*>{&timer});
    timer.SetInterval(0);
    EXPECT_EQ(timer.TimerHandle(), TsgTimer::TimerNone);
    EXPECT_EQ(TTimerHeap::Instance().Count(), 0u);
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
    EXPECT_EQ(TTimerHeap::Instance().Count(), 0u);
    Advance(5000);
    EXPECT_TRUE(senders.empty());
    TsgTimer loading(nullptr);
    loading.SetStateFlags(csLoading);
    loading.SetOnTimer(Tick());
    EXPECT_EQ(loading.TimerHandle(), TsgTimer::TimerNone);
    loading.Loaded();
    EXPECT_NE(loading.TimerHandle(), TsgTimer::TimerNone);
}

TEST_F(SgTimer, ATickDueForATimerStoppedInTheSamePumpDoesNothing) {
    TsgTimer first(nullptr), second(nullptr);
    // The first handler stops the second, whose tick is due in the same pump.
    struct Stopper {
        TsgTimer* victim;
        Receiver* receiver;
        void OnTick(TObject* sender) {
            receiver->senders.push_back(sender);
            victim->SetEnabled(false);
        }
    } stopper{&second, &receiver};
    first.SetInterval(10);
    second.SetInterval(10);
    first.SetOnTimer(TNotifyEvent::Bind<&Stopper::OnTick>(&stopper));
    second.SetOnTimer(Tick());
    Advance(10);
    EXPECT_EQ(senders, std::vector<TObject*>{&first});
}

} // namespace
