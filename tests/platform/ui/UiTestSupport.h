// Shared set-up of the user-interface tests: SDL's offscreen driver, a manual clock, and a clean
// queue, timer heap and application between tests.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/Messages.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <gtest/gtest.h>

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUiClock(&clock);
        Drain();
    }
    void TearDown() override {
        Application->Reset();
        TTimerHeap::Instance().Reset();
        Drain();
        SetUiClock(nullptr);
    }
    // Drops every posted message left over.
    static void Drain() {
        TMsg msg;
        while (PeekMessage(&msg, nullptr, 0, 0xFFFFFFFF, PM_REMOVE) && msg.message != WM_PAINT &&
               msg.message != WM_TIMER) {
        }
    }

    TManualClock clock;
};
