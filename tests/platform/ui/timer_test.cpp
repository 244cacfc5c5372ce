#include "platform/ui/Forms.h"
#include "platform/ui/Timer.h"

#include "UiTestSupport.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {
class Timers : public UiTest {
protected:
    // Pumps everything due at the current time of the manual clock.
    static void Pump() { Application->ProcessMessages(); }
    void Step(uint64_t ms) {
        clock.Advance(ms);
        Pump();
    }
};

TEST_F(Timers, DueTimersFireInDeadlineOrderThenStartOrder) {
    std::string fired;
    TTimer a, b, c;
    a.SetInterval(100);
    b.SetInterval(30);
    c.SetInterval(30);
    a.SetOnTimer([&](TTimer&) { fired += 'a'; });
    b.SetOnTimer([&](TTimer&) { fired += 'b'; });
    c.SetOnTimer([&](TTimer&) { fired += 'c'; });

    struct Tick {
        uint64_t step;
        const char* firedSoFar;
    } ticks[] = {{29, ""}, {1, "bc"}, {30, "bcbc"}, {40, "bcbcbca"}, {250, "bcbcbcabca"}};
    for (const Tick& t : ticks) {
        Step(t.step);
        EXPECT_EQ(fired, t.firedSoFar) << "after stepping " << t.step << " ms";
    }
}

TEST_F(Timers, MissedTicksAreNotMadeUpAndTheCountRestartsFromTheTick) {
    int count = 0;
    TTimer timer;
    timer.SetInterval(250);
    timer.SetOnTimer([&](TTimer&) { ++count; });
    Step(8000);
    EXPECT_EQ(count, 1);
    Step(249);
    EXPECT_EQ(count, 1);
    Step(1);
    EXPECT_EQ(count, 2);
}

TEST_F(Timers, ATimerRunsOnlyWhenEnabledWithAnIntervalAndAHandler) {
    int count = 0;
    TTimer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_FALSE(timer.Running()) << "no handler yet";
    timer.SetOnTimer([&](TTimer&) { ++count; });
    EXPECT_TRUE(timer.Running());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(33);
    timer.SetEnabled(false);
    Step(100);
    EXPECT_EQ(count, 0);
    timer.SetEnabled(true);
    Step(32);
    EXPECT_EQ(count, 0) << "enabling restarts the count";
    Step(1);
    EXPECT_EQ(count, 1);
}

TEST_F(Timers, ATimerNeverFiresAgainWhileItsHandlerPumpsMessages) {
    int outer = 0;
    int other = 0;
    int depth = 0;
    int deepest = 0;
    TTimer slow, fast;
    fast.SetInterval(10);
    fast.SetOnTimer([&](TTimer&) { ++other; });
    slow.SetInterval(10);
    slow.SetOnTimer([&](TTimer&) {
        ++outer;
        ++depth;
        deepest = std::max(deepest, depth);
        // A handler that keeps the window alive, as the installation does.
        for (int i = 0; i < 5; ++i) {
            clock.Advance(10);
            Application->ProcessMessages();
        }
        --depth;
    });
    Step(10);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(outer, 1);
    EXPECT_GE(other, 5) << "other timers go on ticking inside the handler";
    Pump();
    EXPECT_EQ(outer, 2) << "a tick that fell due during the handler comes once afterwards";
}

TEST_F(Timers, ATimerStartedInAHandlerThatStoppedItselfTicksInTheHandlersLoop) {
    // The shape of a one-shot timer that opens a modal window: it stops itself, then waits in
    // a loop while timers started on the way (the window's animation clock) must tick.
    int guardTicks = 0;
    TTimer guard;
    guard.SetInterval(10);
    guard.SetOnTimer([&](TTimer&) { ++guardTicks; });

    struct Started {
        const char* kind;
        std::function<void(int& ticks)> start;
        std::function<void()> stop;
    };
    std::unique_ptr<TTimer> inner;
    static int* procTicks = nullptr;
    uintptr_t procId = 0;
    const Started kinds[] = {
        {"component",
         [&](int& ticks) {
             inner = std::make_unique<TTimer>();
             inner->SetInterval(33);
             inner->SetOnTimer([&ticks](TTimer&) { ++ticks; });
         },
         [&] { inner.reset(); }},
        {"window-less procedure",
         [&](int& ticks) {
             procTicks = &ticks;
             procId =
                 SetTimer(nullptr, 0, 33, [](HWND, UINT, uintptr_t, uint32_t) { ++*procTicks; });
         },
         [&] { KillTimer(nullptr, procId); }},
    };
    for (const Started& kind : kinds) {
        for (bool freeFirst : {false, true}) {
            int innerTicks = 0;
            int guardAtEnd = 0;
            auto* opener = new TTimer();
            opener->SetInterval(5);
            opener->SetOnTimer([&](TTimer& self) {
                if (freeFirst)
                    delete &self;
                else
                    self.SetEnabled(false);
                kind.start(innerTicks);
                const int guardAtStart = guardTicks;
                while (innerTicks < 3 && guardTicks - guardAtStart < 50)
                    Application->HandleMessage();
                guardAtEnd = guardTicks - guardAtStart;
                kind.stop();
            });
            Step(5);
            EXPECT_EQ(innerTicks, 3) << kind.kind << (freeFirst ? ", opener freed" : "");
            EXPECT_LT(guardAtEnd, 50) << kind.kind;
            if (!freeFirst)
                delete opener;
        }
    }
}

TEST_F(Timers, RestartingAWindowTimerInsideItsHandlerDefersTheNewOne) {
    struct TimerForm : TForm {
        int ticks = 0;
        void WndProc(TMessage& m) override {
            if (m.Msg != WM_TIMER)
                return TForm::WndProc(m);
            ++ticks;
            KillTimer(this, 7);
            SetTimer(this, 7, 5, nullptr);
            UiClock().PassTime(5);
            Application->ProcessMessages();
        }
    } form;
    SetTimer(&form, 7, 5, nullptr);
    Step(5);
    EXPECT_EQ(form.ticks, 1);
    Pump();
    EXPECT_EQ(form.ticks, 2);
}

TEST_F(Timers, KillingOrFreeingATimerInsideItsHandlerIsSafe) {
    auto* timer = new TTimer();
    int count = 0;
    timer->SetInterval(20);
    timer->SetOnTimer([&](TTimer& self) {
        ++count;
        delete &self;
    });
    Step(20);
    Step(20);
    EXPECT_EQ(count, 1);

    static int procTicks = 0;
    procTicks = 0;
    uintptr_t id = SetTimer(nullptr, 0, 15, [](HWND, UINT message, uintptr_t self, uint32_t) {
        EXPECT_EQ(message, WM_TIMER);
        ++procTicks;
        KillTimer(nullptr, self);
    });
    ASSERT_NE(id, 0u);
    Step(15);
    Step(15);
    EXPECT_EQ(procTicks, 1);
    EXPECT_FALSE(TTimerHeap::Instance().Exists(nullptr, id));
}

TEST_F(Timers, ATickTakenButStoppedBeforeDispatchDoesNothing) {
    static int ticks = 0;
    ticks = 0;
    uintptr_t id = SetTimer(nullptr, 0, 10, [](HWND, UINT, uintptr_t, uint32_t) { ++ticks; });
    clock.Advance(10);
    TMsg msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.wParam, id);
    KillTimer(nullptr, id);
    DispatchMessage(&msg);
    EXPECT_EQ(ticks, 0);
}

TEST_F(Timers, AnIdleLoopJumpsTheManualClockToTheNextDeadline) {
    int count = 0;
    TTimer timer;
    timer.SetInterval(8000);
    timer.SetOnTimer([&](TTimer&) {
        if (++count == 3)
            Application->Terminate();
    });
    uint64_t start = clock.NowMs();
    Application->Run();
    EXPECT_EQ(count, 3);
    EXPECT_EQ(clock.NowMs() - start, 24000u);
}

TEST_F(Timers, WithTheSystemClockTheLoopWaitsForTheDeadline) {
    SetUiClock(nullptr);
    int count = 0;
    TTimer timer;
    timer.SetInterval(20);
    timer.SetOnTimer([&](TTimer&) {
        if (++count == 2)
            Application->Terminate();
    });
    auto start = std::chrono::steady_clock::now();
    Application->Run();
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(count, 2);
    EXPECT_GE(waited, std::chrono::milliseconds(39));
}

TEST_F(Timers, TheTickCountFollowsTheInstalledClock) {
    uint32_t before = UiTickCount();
    clock.Advance(33);
    EXPECT_EQ(static_cast<uint32_t>(UiTickCount() - before), 33u);
}
} // namespace
