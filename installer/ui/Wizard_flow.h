// The wizard's state machine: what entering each state does, Next, Back and closing, and the
// exit codes. It drives the window through TWizardHost, so the order of everything it does can
// be followed without the window's controls; the window implements the host with its scene.
//
// The whole installation runs inside Next on the user-interface thread; the engine and the
// timers pump messages meanwhile. The results of the extraction and the installation are
// checked: a failure is reported through the message window and ends the process with exit
// code 3, and the final page (which says the installation succeeded) is never shown then.
#pragma once

#include "installer/engine/Database_records.h"
#include "platform/rtl/UnicodeString.h"

enum class TWizardButton { Next, Back, Cancel };
enum class TWizardTimer { RunningCheck, DiskSpace, Slides };
enum class TInstallStep { Extract, Install };

// Exit codes of the installer.
constexpr int kExitFinished = 0;
constexpr int kExitCancelled = 2;
constexpr int kExitFailed = 3;

class TWizardHost {
public:
    virtual ~TWizardHost() = default;

    // Window.
    virtual UnicodeString Text(int number) = 0;
    virtual void SetCaption(TWizardButton button, const UnicodeString& caption) = 0;
    virtual void SetButtonVisible(TWizardButton button, bool visible) = 0;
    virtual void SetButtonEnabled(TWizardButton button, bool enabled) = 0;
    virtual void SetBrowseEnabled(bool enabled) = 0;
    virtual void ShowPage(int state) = 0;
    virtual void SetTimer(TWizardTimer timer, bool enabled) = 0;
    virtual void CheckRunningProgram() = 0;
    virtual void RefreshProgramTreeCheck() = 0;
    virtual void ColourProgressBar() = 0;
    virtual void ShowCurrentSlide() = 0;
    virtual void UpdateFreeSpace() = 0;

    // Target page.
    virtual TCadAppInstalled ChosenTarget() = 0;
    // Fills the overwrite lines; true when none of the catalogue is present in the target.
    virtual bool CheckExistingDatabases() = 0;
    // Asks whether the present databases may be overwritten; true for yes.
    virtual bool AskOverwrite() = 0;
    // Tells the user that the chosen folder cannot take the installation.
    virtual void RefuseTarget(const UnicodeString& folder) = 0;

    // Engine.
    virtual bool IsTargetVersionNew(const UnicodeString& folder) = 0;
    virtual bool IsTargetVersionLegacy(const UnicodeString& folder) = 0;
    virtual void UseDbMaterialsFolder() = 0;
    virtual bool ExtractArchives() = 0;
    virtual bool InstallDatabases(const UnicodeString& folder, bool legacy) = 0;
    virtual void RunCompatibilityPass(const UnicodeString& folder) = 0;
    // Tells the user what failed, with what the engine logged.
    virtual void ReportFailure(TInstallStep step) = 0;

    // Leaving.
    // The leave question; a yes ends the process (exit code 2) and does not return.
    virtual bool ConfirmCancel() = 0;
    virtual void CloseWindow() = 0;
    // Ends the process with the code; tests record it and return.
    virtual void Exit(int code) = 0;
};

class TWizardFlow {
public:
    explicit TWizardFlow(TWizardHost& host) : host_(host) {}

    int State() const { return state_; }
    int ShownPage() const { return page_; }

    void SetState(int state);
    void StepBack();
    // Next / Install / Finish.
    void NextClicked();
    // Any close request: true would let the window close, which never happens; the process
    // ends here instead (0 on the final page, 2 after a confirmed leave question).
    bool CloseQuery();

private:
    void Show(int state);
    void Captions(int next, bool back);
    void Install();

    TWizardHost& host_;
    int state_ = 0;
    int page_ = -1;
};
