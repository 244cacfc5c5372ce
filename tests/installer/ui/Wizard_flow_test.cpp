// The wizard's road through its states, recorded through a host that notes every call: the
// order of what each state does, Next, Back, closing, the overwrite question, a refused folder
// and an installation step that fails.
#include "installer/ui/Wizard_flow.h"
#include "installer/ui/Wizard_states.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* Name(TWizardButton b) {
    return b == TWizardButton::Next ? "Next" : b == TWizardButton::Back ? "Back" : "Cancel";
}
const char* Name(TWizardTimer t) {
    return t == TWizardTimer::RunningCheck ? "check"
           : t == TWizardTimer::DiskSpace  ? "disk"
                                           : "slides";
}

class RecordingHost : public TWizardHost {
public:
    std::vector<std::string> log;
    UnicodeString folder;
    bool nothingPresent = true;
    bool overwriteAnswer = false;
    bool versionNew = false;
    bool extractOk = true;
    bool installOk = true;
    int exitCode = -1;

    void Note(const std::string& line) { log.push_back(line); }
    bool Saw(const std::string& line) const {
        return std::find(log.begin(), log.end(), line) != log.end();
    }

    UnicodeString Text(int number) override { return UnicodeString(std::to_string(number)); }
    void SetCaption(TWizardButton b, const UnicodeString& c) override {
        Note(std::string(Name(b)) + "=" + c.ToUtf8());
    }
    void SetButtonVisible(TWizardButton b, bool v) override {
        Note(std::string(v ? "show " : "hide ") + Name(b));
    }
    void SetButtonEnabled(TWizardButton b, bool e) override {
        Note(std::string(e ? "enable " : "disable ") + Name(b));
    }
    void SetBrowseEnabled(bool e) override { Note(e ? "enable Browse" : "disable Browse"); }
    void ShowPage(int state) override { Note("page " + std::to_string(state)); }
    void SetTimer(TWizardTimer t, bool e) override {
        Note(std::string(e ? "start " : "stop ") + Name(t));
    }
    void CheckRunningProgram() override { Note("running check"); }
    void RefreshProgramTreeCheck() override { Note("refresh tree"); }
    void ColourProgressBar() override { Note("colour bar"); }
    void ShowCurrentSlide() override { Note("slide"); }
    void UpdateFreeSpace() override { Note("free space"); }
    TCadAppInstalled ChosenTarget() override { return {plLumora, folder}; }
    bool CheckExistingDatabases() override {
        Note("check present");
        return nothingPresent;
    }
    bool AskOverwrite() override {
        Note("ask overwrite");
        return overwriteAnswer;
    }
    void RefuseTarget(const UnicodeString&) override { Note("refuse"); }
    bool IsTargetVersionNew(const UnicodeString&) override { return versionNew; }
    bool IsTargetVersionLegacy(const UnicodeString&) override {
        Note("legacy?");
        return true;
    }
    void UseDbMaterialsFolder() override { Note("materials folder"); }
    bool ExtractArchives() override {
        Note("extract");
        return extractOk;
    }
    bool InstallDatabases(const UnicodeString&, bool legacy) override {
        Note(legacy ? "install legacy" : "install");
        return installOk;
    }
    void RunCompatibilityPass(const UnicodeString&) override { Note("compat"); }
    void ReportFailure(TInstallStep step) override {
        Note(step == TInstallStep::Extract ? "failed extract" : "failed install");
    }
    bool ConfirmCancel() override {
        Note("confirm cancel");
        return false;
    }
    void CloseWindow() override { Note("close"); }
    void Exit(int code) override {
        Note("exit " + std::to_string(code));
        exitCode = code;
    }
};

class WizardFlow : public testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("w23_flow_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        host.folder = UnicodeString(dir.string() + "/");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::vector<std::string> Take() {
        std::vector<std::string> taken;
        taken.swap(host.log);
        return taken;
    }

    std::filesystem::path dir;
    RecordingHost host;
    TWizardFlow flow{host};
};

using Lines = std::vector<std::string>;

TEST_F(WizardFlow, TheHappyRoadEntersEachStateInOrder) {
    flow.SetState(kStateWelcome);
    EXPECT_EQ(Take(), (Lines{"Next=23", "Cancel=22", "Back=24", "running check", "start check",
                             "page 0", "hide Back"}));
    flow.NextClicked();
    EXPECT_EQ(Take(), (Lines{"stop check", "refresh tree", "Next=226", "Cancel=22", "page 2",
                             "colour bar", "show Back"}));
    flow.NextClicked();
    EXPECT_EQ(Take(), (Lines{"check present", "hide Back",  "slide",      "start slides",
                             "legacy?",       "free space", "start disk", "page 4",
                             "hide Next",     "Cancel=22",  "extract",    "install legacy",
                             "stop disk",     "compat",     "hide Back",  "stop slides",
                             "page 5",        "show Next",  "Next=25",    "hide Cancel"}));
    EXPECT_EQ(flow.State(), kStateFinal);
    flow.NextClicked();
    EXPECT_EQ(Take(), (Lines{"close"}));
    EXPECT_FALSE(flow.CloseQuery());
    EXPECT_EQ(host.exitCode, kExitFinished);
}

TEST_F(WizardFlow, ANewTargetUsesTheMaterialsFolderAndNoLegacyLayout) {
    host.versionNew = true;
    flow.SetState(kStateChoosePath);
    Take();
    flow.NextClicked();
    const Lines log = Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "materials folder"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "install"), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), "legacy?"), log.end());
}

TEST_F(WizardFlow, BackReturnsToTheWelcomePageWithNextEnabled) {
    flow.SetState(kStateWelcome);
    flow.NextClicked();
    Take();
    flow.StepBack();
    EXPECT_EQ(Take(), (Lines{"Next=23", "Cancel=22", "enable Next", "page 0", "hide Back"}));
    EXPECT_EQ(flow.State(), kStateWelcome);
}

TEST_F(WizardFlow, PresentDatabasesAreInstalledOnlyAfterAYes) {
    flow.SetState(kStateChoosePath);
    host.nothingPresent = false;
    Take();
    flow.NextClicked();
    EXPECT_EQ(Take(), (Lines{"check present", "ask overwrite"}));
    EXPECT_EQ(flow.State(), kStateChoosePath);
    host.overwriteAnswer = true;
    flow.NextClicked();
    EXPECT_EQ(flow.State(), kStateFinal);
}

TEST_F(WizardFlow, AnEmptyOrMissingFolderIsRefused) {
    for (const UnicodeString& folder : {UnicodeString(), host.folder + u"missing/"}) {
        host.folder = folder;
        flow.SetState(kStateChoosePath);
        Take();
        flow.NextClicked();
        EXPECT_EQ(Take(), (Lines{"refuse"})) << folder.ToUtf8();
        EXPECT_EQ(flow.State(), kStateChoosePath);
    }
}

TEST_F(WizardFlow, AFailedStepIsReportedAndEndsWithCode3) {
    struct Case {
        bool extractOk;
        bool installOk;
        const char* report;
        bool installed;
    };
    for (const Case& c :
         {Case{false, true, "failed extract", false}, Case{true, false, "failed install", true}}) {
        RecordingHost failing;
        failing.folder = host.folder;
        failing.extractOk = c.extractOk;
        failing.installOk = c.installOk;
        TWizardFlow road(failing);
        road.SetState(kStateChoosePath);
        road.NextClicked();
        EXPECT_TRUE(failing.Saw(c.report));
        EXPECT_EQ(failing.Saw("install legacy"), c.installed);
        EXPECT_FALSE(failing.Saw("compat"));
        EXPECT_FALSE(failing.Saw("page 5")) << "no page claims success";
        EXPECT_TRUE(failing.Saw("stop disk"));
        EXPECT_EQ(failing.exitCode, kExitFailed);
    }
}

TEST_F(WizardFlow, ClosingBeforeTheEndAsksTheLeaveQuestion) {
    flow.SetState(kStateWelcome);
    Take();
    EXPECT_FALSE(flow.CloseQuery());
    EXPECT_EQ(Take(), (Lines{"confirm cancel"}));
    EXPECT_EQ(host.exitCode, -1);
}

TEST_F(WizardFlow, TheVerifyStateSkipsAheadWhenNothingIsPresent) {
    flow.SetState(kStateVerifyPath);
    const Lines log = Take();
    EXPECT_EQ(log.front(), "disable Browse");
    EXPECT_EQ(flow.State(), kStateFinal);
    host.nothingPresent = false;
    flow.SetState(kStateVerifyPath);
    EXPECT_EQ(Take(),
              (Lines{"disable Browse", "check present", "page 3", "Next=226", "Cancel=22"}));
}

TEST_F(WizardFlow, TheLicencePageDisablesNext) {
    flow.SetState(kStateLicense);
    EXPECT_EQ(Take(), (Lines{"disable Next", "Next=23", "Cancel=22", "page 1", "show Back"}));
}

} // namespace
