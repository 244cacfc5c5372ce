#include "installer/ui/Wizard_flow.h"

#include "installer/ui/Target_choice.h"
#include "installer/ui/Wizard_states.h"
#include "platform/win/DebugOutput.h"

#include <string>

namespace {

constexpr int kNextText = 23;
constexpr int kCancelText = 22;
constexpr int kBackText = 24;
constexpr int kInstallText = 226;
constexpr int kFinishText = 25;

// One line per state entered, for whoever follows the wizard from outside (DBI_TRACE).
void TraceState(int state) {
    const std::string line = "wizard: state " + std::to_string(state);
    OutputDebugStringA(line.c_str());
}

} // namespace

void TWizardFlow::Show(int state) {
    page_ = state;
    host_.ShowPage(state);
}

void TWizardFlow::Captions(int next, bool back) {
    host_.SetCaption(TWizardButton::Next, host_.Text(next));
    host_.SetCaption(TWizardButton::Cancel, host_.Text(kCancelText));
    if (back)
        host_.SetCaption(TWizardButton::Back, host_.Text(kBackText));
}

void TWizardFlow::SetState(int state) {
    state_ = state;
    TraceState(state);
    switch (state) {
    case kStateWelcome:
        Captions(kNextText, true);
        host_.CheckRunningProgram();
        host_.SetTimer(TWizardTimer::RunningCheck, true);
        Show(kStateWelcome);
        host_.SetButtonVisible(TWizardButton::Back, false);
        break;
    case kStateLicense:
        host_.SetButtonEnabled(TWizardButton::Next, false);
        Captions(kNextText, false);
        Show(kStateLicense);
        host_.SetButtonVisible(TWizardButton::Back, true);
        break;
    case kStateChoosePath:
        host_.SetTimer(TWizardTimer::RunningCheck, false);
        host_.RefreshProgramTreeCheck();
        Captions(kInstallText, false);
        Show(kStateChoosePath);
        host_.ColourProgressBar();
        host_.SetButtonVisible(TWizardButton::Back, true);
        break;
    case kStateVerifyPath:
        host_.SetBrowseEnabled(false);
        if (host_.CheckExistingDatabases()) {
            SetState(GetNextWizardState(kStateVerifyPath));
            return;
        }
        Show(kStateVerifyPath);
        Captions(kInstallText, false);
        break;
    case kStateInstallDbs:
        Install();
        break;
    case kStateFinal:
        host_.SetButtonVisible(TWizardButton::Back, false);
        host_.SetTimer(TWizardTimer::Slides, false);
        Show(kStateFinal);
        host_.SetButtonVisible(TWizardButton::Next, true);
        host_.SetCaption(TWizardButton::Next, host_.Text(kFinishText));
        host_.SetButtonVisible(TWizardButton::Cancel, false);
        break;
    default:
        break;
    }
}

void TWizardFlow::Install() {
    host_.SetButtonVisible(TWizardButton::Back, false);
    host_.ShowCurrentSlide();
    host_.SetTimer(TWizardTimer::Slides, true);
    const UnicodeString folder = host_.ChosenTarget().folder;
    bool legacy = false;
    if (host_.IsTargetVersionNew(folder))
        host_.UseDbMaterialsFolder();
    else
        legacy = host_.IsTargetVersionLegacy(folder);
    host_.UpdateFreeSpace();
    host_.SetTimer(TWizardTimer::DiskSpace, true);
    Show(kStateInstallDbs);
    host_.SetButtonVisible(TWizardButton::Next, false);
    host_.SetCaption(TWizardButton::Cancel, host_.Text(kCancelText));

    // A failed step stops here: what was copied so far stays, and the user learns what failed
    // instead of being told that the installation succeeded.
    bool ok = host_.ExtractArchives();
    const TInstallStep failedStep = ok ? TInstallStep::Install : TInstallStep::Extract;
    if (ok)
        ok = host_.InstallDatabases(host_.ChosenTarget().folder, legacy);
    host_.SetTimer(TWizardTimer::DiskSpace, false);
    if (!ok) {
        host_.SetTimer(TWizardTimer::Slides, false);
        host_.ReportFailure(failedStep);
        host_.Exit(kExitFailed);
        return;
    }
    host_.RunCompatibilityPass(host_.ChosenTarget().folder);
    SetState(GetNextWizardState(kStateInstallDbs));
}

void TWizardFlow::StepBack() {
    state_ = GetPrevWizardState(state_);
    if (state_ != kStateVerifyPath)
        TraceState(state_);
    switch (state_) {
    case kStateWelcome:
        Captions(kNextText, false);
        host_.SetButtonEnabled(TWizardButton::Next, true);
        Show(kStateWelcome);
        host_.SetButtonVisible(TWizardButton::Back, false);
        break;
    case kStateLicense:
        host_.SetButtonVisible(TWizardButton::Back, true);
        Captions(kNextText, false);
        Show(kStateLicense);
        break;
    case kStateChoosePath:
        host_.SetButtonVisible(TWizardButton::Back, true);
        host_.SetTimer(TWizardTimer::RunningCheck, false);
        host_.RefreshProgramTreeCheck();
        Captions(kInstallText, false);
        Show(kStateChoosePath);
        break;
    case kStateVerifyPath:
        SetState(kStateVerifyPath);
        break;
    default:
        break;
    }
}

void TWizardFlow::NextClicked() {
    if (page_ == kStateChoosePath) {
        // No installation into nothing: the folder must be named and must exist.
        const TCadAppInstalled target = host_.ChosenTarget();
        if (!IsInstallableFolder(target.folder)) {
            host_.RefuseTarget(target.folder);
            return;
        }
        if (!host_.CheckExistingDatabases() && !host_.AskOverwrite())
            return;
    }
    if (page_ == kStateFinal) {
        host_.CloseWindow();
        return;
    }
    SetState(GetNextWizardState(state_));
}

bool TWizardFlow::CloseQuery() {
    if (page_ == kStateFinal) {
        host_.Exit(kExitFinished);
        return false;
    }
    host_.ConfirmCancel();
    return false;
}
