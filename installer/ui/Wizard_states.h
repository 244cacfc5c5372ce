// The wizard's six states and the rules that lead from one to the next.
//
// The forward road is Welcome, ChoosePath, InstallDbs, Final; the licence and the overwrite
// check have states of their own but no button leads into them (the overwrite question is asked
// through the message window instead). The tables live apart from the window so that the order
// can be checked without one.
#pragma once

constexpr int kStateWelcome = 0;
constexpr int kStateLicense = 1;
constexpr int kStateChoosePath = 2;
constexpr int kStateVerifyPath = 3;
constexpr int kStateInstallDbs = 4;
constexpr int kStateFinal = 5;

// The state Next leads to. Writes "GetNextState" and then "GetNextState1" to "GetNextState6"
// for states 0 to 5 ("GetNextState7" for any other value) to the debugger output.
int GetNextWizardState(int state);
// The state Back leads to.
int GetPrevWizardState(int state);
