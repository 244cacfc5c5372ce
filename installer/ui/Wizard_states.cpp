#include "installer/ui/Wizard_states.h"

#include "platform/win/DebugOutput.h"

#include <string>

int GetNextWizardState(int state) {
    OutputDebugStringA("GetNextState");
    // States outside the table trace as the seventh case and restart at the welcome page.
    const bool known = state >= kStateWelcome && state <= kStateFinal;
    const std::string line = "GetNextState" + std::to_string(known ? state + 1 : 7);
    OutputDebugStringA(line.c_str());
    switch (state) {
    case kStateWelcome:
    case kStateLicense:
        return kStateChoosePath;
    case kStateChoosePath:
    case kStateVerifyPath:
        return kStateInstallDbs;
    case kStateInstallDbs:
    case kStateFinal:
        return kStateFinal;
    default:
        return kStateWelcome;
    }
}

int GetPrevWizardState(int state) {
    switch (state) {
    case kStateWelcome:
        return kStateLicense;
    case kStateFinal:
        return kStateFinal;
    default:
        return kStateWelcome;
    }
}
