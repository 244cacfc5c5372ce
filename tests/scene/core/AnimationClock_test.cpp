// The animation clock and the timing every animation shares, tick by tick on the manual clock:
// start state, delay, loop, auto-reverse, inverse, stop, stop-at-current, hidden parents,
// triggers, the jump to the end outside a scene, caret animations and the clock's lifetime.
#include "AnimationTestSupport.h"

#include "scene/core/Sg_scene_host.h"
#include "scene/core/Sg_scene_streams.h"

#include "platform/rtl/MemoryStream.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

class AnimationTimeline : public AnimationTest {
protected:
    // A linear 0 -> 1 animation of the root's opacity.
    TsgFloatAnimation* Opacity(float duration) {
        auto* a = Add<TsgFloatAnimation>(root, "Opacity");
        a->SetStartValue(0);
        a->SetStopValue(1);
        a->SetDuration(duration);
        a->SetOnFinish(finished.Event());
        return a;
    }
    // The opacity after each of n ticks.
    std::vector<float> Run(int n) {
        std::vector<float> seen;
        for (int i = 0; i < n; ++i) {
            Tick();
            seen.push_back(root->Opacity());
        }
        return seen;
    }

    FinishCounter finished;
};

void ExpectNear(const std::vector<float>& got, const std::vector<float>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-4) << "tick " << i + 1;
}

TEST_F(AnimationTimeline, RunsFromTheStartStateToTheEndAndFinishesOnce) {
    root->SetOpacity(0.5f);
    auto* a = Opacity(0.2f);
    a->Start();
    EXPECT_EQ(root->Opacity(), 0); // the start state at once
    ASSERT_NE(aniThread, nullptr);
    EXPECT_EQ(aniThread->RunningCount(), 1);
    a->Start(); // already running: still one entry, so not twice as fast
    EXPECT_EQ(aniThread->RunningCount(), 1);
    ExpectNear(Run(8), {0.165f, 0.33f, 0.495f, 0.66f, 0.825f, 0.99f, 1, 1});
    EXPECT_FALSE(a->Running());
    EXPECT_EQ(aniThread->RunningCount(), 0);
    EXPECT_EQ(finished.Count, 1);
    // Enabled stays on after a natural finish: setting it again restarts nothing, Start does.
    EXPECT_TRUE(a->Enabled());
    a->SetEnabled(true);
    EXPECT_FALSE(a->Running());
    a->Start();
    EXPECT_TRUE(a->Running());
    EXPECT_EQ(root->Opacity(), 0);
}

TEST_F(AnimationTimeline, DelayShowsTheStartStateAndHoldsTheTime) {
    auto* a = Opacity(0.2f);
    a->SetDelay(0.5f);
    root->SetOpacity(0.7f);
    a->Start();
    EXPECT_EQ(root->Opacity(), 0);
    // 16 ticks count 0.528 s down; the tick in which the delay runs out does not advance.
    for (int i = 0; i < 16; ++i) {
        Tick();
        EXPECT_EQ(root->Opacity(), 0) << "tick " << i + 1;
    }
    EXPECT_LE(a->RemainingDelay(), 0);
    ExpectNear(Run(2), {0.165f, 0.33f});
}

TEST_F(AnimationTimeline, LoopAutoReverseAndInverse) {
    struct Case {
        const char* name;
        bool loop, autoReverse, inverse;
        std::vector<float> want; // opacity after each tick, duration 0.1
        float start;
    };
    const std::vector<Case> cases = {
        {"loop", true, false, false, {0.33f, 0.66f, 0.99f, 0, 0.33f, 0.66f, 0.99f, 0}, 0},
        {"auto-reverse",
         true,
         true,
         false,
         {0.33f, 0.66f, 0.99f, 1, 0.67f, 0.34f, 0.01f, 0, 0.33f},
         0},
        {"inverse", false, false, true, {0.67f, 0.34f, 0.01f, 0, 0}, 1},
        // Looping backwards without auto-reverse jumps back to the end at 0.
        {"inverse loop", true, false, true, {0.67f, 0.34f, 0.01f, 1, 0.67f}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* a = Opacity(0.1f);
        a->SetLoop(c.loop);
        a->SetAutoReverse(c.autoReverse);
        a->SetInverse(c.inverse);
        finished.Count = 0;
        a->Start();
        EXPECT_EQ(root->Opacity(), c.start);
        ExpectNear(Run(int(c.want.size())), c.want);
        EXPECT_EQ(a->Running(), c.loop);
        EXPECT_EQ(finished.Count, c.loop ? 0 : 1);
        a->Free();
    }
}

TEST_F(AnimationTimeline, StopWritesTheEndStopAtCurrentKeepsTheValue) {
    auto* a = Opacity(0.2f);
    a->Start();
    Tick(2);
    a->Stop();
    EXPECT_EQ(root->Opacity(), 1);
    EXPECT_FALSE(a->Running());
    EXPECT_FALSE(a->Enabled());
    EXPECT_EQ(finished.Count, 1);
    EXPECT_EQ(aniThread->RunningCount(), 0);
    a->Stop(); // stopped already: nothing
    EXPECT_EQ(finished.Count, 1);

    a->Start();
    Tick(2);
    const float now = root->Opacity();
    a->StopAtCurrent();
    EXPECT_EQ(root->Opacity(), now);
    EXPECT_EQ(finished.Count, 2);
    Tick(3);
    EXPECT_EQ(root->Opacity(), now);
}

TEST_F(AnimationTimeline, EnabledStartsAndStops) {
    auto* a = Opacity(0.2f);
    a->SetEnabled(true);
    EXPECT_TRUE(a->Running());
    a->SetEnabled(false);
    EXPECT_FALSE(a->Running());
    EXPECT_EQ(root->Opacity(), 1);
}

TEST_F(AnimationTimeline, HiddenParents) {
    auto* a = Opacity(0.2f);
    root->SetOpacity(0.5f);
    root->SetVisible(false);
    a->Start();
    EXPECT_FALSE(a->Running());
    EXPECT_EQ(root->Opacity(), 0.5f);
    root->SetVisible(true);
    a->Start();
    Tick();
    root->SetVisible(false);
    Tick();
    EXPECT_FALSE(a->Running());
    EXPECT_EQ(root->Opacity(), 1); // stopped with the end state written
    EXPECT_EQ(finished.Count, 1);
}

TEST_F(AnimationTimeline, OutsideASceneOrWithoutDurationItJumpsToTheEnd) {
    auto* loose = new TsgPreviewShape(nullptr);
    auto* a = new TsgFloatAnimation(loose);
    a->SetParent(loose);
    a->SetPropertyName("Opacity");
    a->SetStopValue(0.25f);
    a->SetOnFinish(finished.Event());
    a->Start();
    EXPECT_EQ(loose->Opacity(), 0.25f);
    EXPECT_FALSE(a->Running());
    EXPECT_FALSE(a->Enabled());
    EXPECT_EQ(finished.Count, 1);
    EXPECT_EQ(aniThread, nullptr); // no clock for that
    // The duration is given back, so the same animation runs in time once it is in a scene.
    EXPECT_FLOAT_EQ(a->Duration(), 0.2f);
    a->SetParent(root);
    a->Start();
    EXPECT_TRUE(a->Running());
    a->Free();
    delete loose;

    auto* z = Opacity(0);
    z->SetInverse(true);
    root->SetOpacity(0.5f);
    z->Start();
    EXPECT_EQ(root->Opacity(), 0); // inverse: the start value
    EXPECT_FALSE(z->Running());
    EXPECT_EQ(z->Duration(), 0);
}

TEST_F(AnimationTimeline, AFinishHandlerMayFreeTheAnimation) {
    auto* a = Opacity(0.05f);
    a->SetOnFinish(TNotifyEvent::Bind<&TsgAnimation::FreeOnFinish>(a));
    auto* b = Opacity(0.3f);
    a->Start();
    b->Start();
    Tick(3);
    EXPECT_EQ(root->ChildrenCount(), 1);
    EXPECT_TRUE(b->Running());
}

TEST_F(AnimationTimeline, CaretAnimationsMoveEveryThirdTick) {
    auto* a = Opacity(1);
    a->SetBindingName(u"Caret");
    a->Start();
    std::vector<float> seen = Run(6);
    EXPECT_EQ(seen[0], 0);
    EXPECT_EQ(seen[1], 0);
    EXPECT_NEAR(seen[2], 0.033f, 1e-4);
    EXPECT_EQ(seen[3], seen[2]);
    EXPECT_EQ(seen[4], seen[2]);
    EXPECT_NEAR(seen[5], 0.066f, 1e-4);
}

TEST_F(AnimationTimeline, TicksWithinTheSameMillisecondMoveNothing) {
    auto* a = Opacity(0.2f);
    a->Start();
    Tick();
    const float once = root->Opacity();
    aniThread->DoSyncTimer(nullptr); // no time has passed
    EXPECT_EQ(root->Opacity(), once);
    EXPECT_TRUE(a->Running());
}

TEST_F(AnimationTimeline, TheClockDoesNotStopAfterFortyNineDays) {
    // The millisecond count passes 2^32 between the first and the second tick.
    clock.Advance((uint64_t(1) << 32) - 5000 - 40);
    auto* a = Opacity(0.2f);
    a->Start();
    Run(3);
    EXPECT_NEAR(root->Opacity(), 0.495f, 1e-4);
}

// Triggers over boolean and enumeration properties of the instance.
TEST_F(AnimationTimeline, TriggersStartOnlyWhenEveryNamedConditionHolds) {
    struct Case {
        const char* trigger;
        const char* raised;
        bool starts;
    };
    root->SetHitTest(false);
    root->SetAlign(vaNone);
    const Case cases[] = {
        {"HitTest=false", "HitTest", true},
        {"hittest = FALSE", "HitTest", true},
        {"HitTest=true", "HitTest", false},
        {"HitTest=false", "IsMouseOver", false}, // not mentioned
        {"HitTest=false;Visible=true", "Visible", true},
        {"HitTest=false;Visible=false", "HitTest", false},
        {"Align=vaNone", "Align", true},
        {"Align=vaClient", "Align", false},
        {"Nothing=true", "Nothing", false}, // names no property of the instance
        {"Opacity=1", "Opacity", false},    // not an enumeration
        {"Nothing=1;HitTest=false", "HitTest", true},
        {"Nothing=1;;HitTest=false", "HitTest", false}, // a doubled ";" ends the list
        {"", "HitTest", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trigger);
        auto* a = Opacity(0.2f);
        a->SetTrigger(c.trigger);
        a->StartTrigger(root, c.raised);
        EXPECT_EQ(a->Running(), c.starts);
        a->StartTrigger(nullptr, c.raised);
        a->Free();
    }
}

TEST_F(AnimationTimeline, TheObjectTreeStartsAndStopsTriggerAnimations) {
    auto* on = Opacity(0.2f);
    on->SetTrigger("Visible=true");
    auto* plain = Add<TsgFloatAnimation>(root, "RotateAngle");
    plain->SetStopValue(90);
    plain->Start();
    root->StartTriggerAnimation(root, "Visible");
    EXPECT_TRUE(on->Running());
    root->StopTriggerAnimation(root);
    EXPECT_FALSE(on->Running());
    EXPECT_TRUE(plain->Running()); // trigger-less animations keep running
}

TEST_F(AnimationTimeline, StreamsItsTimingAndStartsWhenLoadedEnabled) {
    auto* src = Add<TsgFloatAnimation>(root, "Opacity");
    src->SetStopValue(0.25f);
    src->SetEnabled(true);
    src->SetLoop(true);
    TStringStream text;
    root->SaveToStream(text);
    const std::string s = text.DataString().str();
    EXPECT_NE(s.find("Duration = 0.2"), std::string::npos) << s;
    EXPECT_NE(s.find("HideOnFinish = False"), std::string::npos) << s;
    EXPECT_NE(s.find("Enabled = True"), std::string::npos) << s;
    EXPECT_EQ(s.find("Delay"), std::string::npos) << s;
    EXPECT_EQ(s.find("AnimationType"), std::string::npos) << s;

    // Loaded outside a scene, the enabled animation applies its end state at once.
    TStringStream in{text.DataString()};
    std::unique_ptr<TsgObject> copy(CreateObjectFromStream(nullptr, in));
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy->Visual(), nullptr);
    EXPECT_EQ(copy->Visual()->Opacity(), 0.25f);
}

TEST(AnimationClockLifetime, TheLastSceneFreesTheClock) {
    TManualClock clock{1000};
    SetUiClock(&clock);
    {
        TsgScene host(nullptr);
        auto* shape = new TsgPreviewShape(&host);
        host.AddObject(shape);
        auto* a = new TsgFloatAnimation(&host);
        a->SetParent(shape);
        a->SetPropertyName("Opacity");
        a->Start();
        EXPECT_NE(aniThread, nullptr);
    }
    EXPECT_EQ(aniThread, nullptr);
    TsgTimerHeap::Instance().Reset();
    TTimerHeap::Instance().Reset();
    SetUiClock(nullptr);
}

} // namespace
