// A scene on the manual user-interface clock for the animation tests: ticks are stepped 33 ms
// at a time and pumped as the message loop does.
#pragma once

#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_preview.h"
#include "scene/core/Sg_timerheap.h"

#include "platform/ui/Application.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <gtest/gtest.h>

// Counts OnFinish calls.
struct FinishCounter {
    int Count = 0;
    void Finished(TObject*) { ++Count; }
    TNotifyEvent Event() { return TNotifyEvent::Bind<&FinishCounter::Finished>(this); }
};

class AnimationTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgAniUnit();
        SetUiClock(&clock);
        scene = new TsgOffscreenScene(nullptr, 120, 80);
        root = new TsgPreviewShape(scene);
        root->SetWidth(120);
        root->SetHeight(80);
        scene->AddObject(root);
    }
    void TearDown() override {
        delete scene;
        sgFreeAniThread();
        TsgTimerHeap::Instance().Reset();
        TTimerHeap::Instance().Reset();
        SetUiClock(nullptr);
    }
    // Steps the clock by ms, n times, pumping after each step.
    void Tick(int n = 1, uint64_t ms = 33) {
        for (int i = 0; i < n; ++i) {
            clock.Advance(ms);
            Application->ProcessMessages();
        }
    }
    template <class T>
    T* Add(TsgObject* parent, const char* property = nullptr) {
        auto* a = new T(scene);
        a->SetParent(parent);
        if constexpr (std::is_base_of_v<TsgPropertyAnimation, T>)
            if (property)
                a->SetPropertyName(property);
        return a;
    }

    TManualClock clock{5000};
    TsgOffscreenScene* scene = nullptr;
    TsgPreviewShape* root = nullptr;
};
