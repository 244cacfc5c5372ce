// The order of the wizard's states and the trace lines the Next rule writes.
#include "installer/ui/Wizard_states.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct Step {
    int state;
    int next;
    int prev;
    const char* trace;
};

TEST(WizardStates, NextAndBackFollowTheTables) {
    const Step steps[] = {
        {kStateWelcome, kStateChoosePath, kStateLicense, "GetNextState1"},
        {kStateLicense, kStateChoosePath, kStateWelcome, "GetNextState2"},
        {kStateChoosePath, kStateInstallDbs, kStateWelcome, "GetNextState3"},
        {kStateVerifyPath, kStateInstallDbs, kStateWelcome, "GetNextState4"},
        {kStateInstallDbs, kStateFinal, kStateWelcome, "GetNextState5"},
        {kStateFinal, kStateFinal, kStateFinal, "GetNextState6"},
        {6, kStateWelcome, kStateWelcome, "GetNextState7"},
        {-1, kStateWelcome, kStateWelcome, "GetNextState7"},
    };
    setenv("DBI_TRACE", "1", 1);
    for (const Step& step : steps) {
        testing::internal::CaptureStderr();
        const int next = GetNextWizardState(step.state);
        const std::string trace = testing::internal::GetCapturedStderr();
        EXPECT_EQ(next, step.next) << step.state;
        EXPECT_EQ(GetPrevWizardState(step.state), step.prev) << step.state;
        EXPECT_EQ(trace, std::string("[trace] GetNextState\n[trace] ") + step.trace + "\n");
    }
    unsetenv("DBI_TRACE");
}

TEST(WizardStates, TheForwardRoadSkipsLicenceAndVerification) {
    int state = kStateWelcome;
    std::string road = std::to_string(state);
    while (state != kStateFinal) {
        state = GetNextWizardState(state);
        road += std::to_string(state);
    }
    EXPECT_EQ(road, "0245");
}

TEST(WizardStates, TraceStaysSilentWithoutTheVariable) {
    unsetenv("DBI_TRACE");
    testing::internal::CaptureStderr();
    GetNextWizardState(kStateWelcome);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
