// The wizard window as a user meets it: streamed from its carried layout on a machine of the
// test's own, walked with clicks on its buttons, its target page, the running-program check on
// the clock, the slide show, and a real installation of the sample catalogue into a scratch
// program folder, successful or failing.
#include "WizardTestSupport.h"

#include "installer/engine/Dodbinstallishthings.h"
#include "installer/ui/Wizard_states.h"
#include "platform/rtl/Paths.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/Timer.h"
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_progressbar.h"
#include "scene/controls/Sg_tabcontrol.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/controls/Sg_treeview.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_objects_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace wizardtest;

namespace {

bool SameBitmap(TsgBitmap* a, TsgBitmap* b) {
    if (!a || !b || a->Width() != b->Width() || a->Height() != b->Height())
        return false;
    for (int y = 0; y < a->Height(); ++y)
        for (int x = 0; x < a->Width(); ++x)
            if (a->GetPixels(x, y) != b->GetPixels(x, y))
                return false;
    return true;
}

std::vector<std::string> FilesBelow(const fs::path& folder) {
    std::vector<std::string> files;
    if (!fs::exists(folder))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

class Wizard : public WizardWindow {};

TEST_F(Wizard, OpensOnTheWelcomePageWithTheCatalogueAndTheButtonsAtTheirPlaces) {
    StartWizard();
    EXPECT_EQ(wizard->Width(), 660);
    EXPECT_EQ(wizard->Height(), 516);
    EXPECT_EQ(wizard->WizardState(), kStateWelcome);
    EXPECT_EQ(ShownPage(), kStateWelcome);
    EXPECT_EQ(wizard->Caption(), GetTranslatedText(GeneralMod, 208)) << "several databases";
    EXPECT_EQ(wizard->TextWelcomeHead->Text(), GetTranslatedText(GeneralMod, 215));
    EXPECT_TRUE(wizard->TextWelcomeDb01->Visible());
    EXPECT_TRUE(wizard->TextWelcomeDb03->Visible());
    EXPECT_FALSE(wizard->TextWelcomeDb04->Visible());
    // The lines shown later stand in their list order below the head.
    EXPECT_LT(wizard->TextWelcomeHead->AbsoluteRect().Top,
              wizard->TextWelcomeDb01->AbsoluteRect().Top);
    EXPECT_LT(wizard->TextWelcomeDb01->AbsoluteRect().Top,
              wizard->TextWelcomeDb02->AbsoluteRect().Top);
    EXPECT_LT(wizard->TextWelcomeDb02->AbsoluteRect().Top,
              wizard->TextWelcomeDb03->AbsoluteRect().Top);
    EXPECT_FALSE(wizard->RadioButtonChoosePathMainOne->Visible());
    EXPECT_FALSE(wizard->ButtonPrev->Visible());
    EXPECT_TRUE(wizard->ButtonMkay->Enabled());
    EXPECT_EQ(wizard->ButtonMkay->Text(), GetTranslatedText(GeneralMod, 23));
    EXPECT_EQ(wizard->SiteText->Text(), GetTranslatedText(GeneralMod, 286));
    EXPECT_FALSE(wizard->RichEditLicense->Bytes().empty()) << "the licence is loaded";
    // The bottom bar's buttons where the layout puts them (the end-to-end walk clicks there).
    const std::pair<TsgControl*, TsgRect> places[] = {{wizard->ButtonMkay, {533, 477, 645, 505}},
                                                      {wizard->ButtonPrev, {414, 477, 526, 505}},
                                                      {wizard->ButtonExit, {11, 477, 123, 505}}};
    for (const auto& [button, place] : places) {
        const TsgRect r = button->AbsoluteRect();
        EXPECT_FLOAT_EQ(r.Left, place.Left) << button->Name().str();
        EXPECT_FLOAT_EQ(r.Top, place.Top) << button->Name().str();
        EXPECT_FLOAT_EQ(r.Right, place.Right) << button->Name().str();
        EXPECT_FLOAT_EQ(r.Bottom, place.Bottom) << button->Name().str();
    }
}

TEST_F(Wizard, NextAndBackWalkThePagesAndTheHiddenHeadersTakeNoClicks) {
    Install(plLumora, "lm");
    StartWizard();
    // Clicks on the practically invisible page headers change nothing.
    for (TsgTabItem* item : {wizard->TabItem02ChoosePath, wizard->TabItem05Final}) {
        ClickOn(item);
        EXPECT_EQ(ShownPage(), kStateWelcome);
    }
    ClickOn(wizard->ButtonMkay);
    EXPECT_EQ(wizard->WizardState(), kStateChoosePath);
    EXPECT_EQ(ShownPage(), kStateChoosePath);
    EXPECT_TRUE(wizard->ButtonPrev->Visible());
    EXPECT_EQ(wizard->ButtonMkay->Text(), GetTranslatedText(GeneralMod, 226));
    EXPECT_EQ(wizard->GroupBoxChoosePath->Text(), GetTranslatedText(GeneralMod, 59));

    ClickOn(wizard->ButtonPrev);
    EXPECT_EQ(wizard->WizardState(), kStateWelcome);
    EXPECT_EQ(ShownPage(), kStateWelcome);
    EXPECT_FALSE(wizard->ButtonPrev->Visible());
    EXPECT_EQ(wizard->ButtonMkay->Text(), GetTranslatedText(GeneralMod, 23));

    // Cancel asks; No keeps the wizard where it was.
    answers = {"no"};
    ClickOn(wizard->ButtonExit);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], GetTranslatedText(GeneralMod, 242).ToUtf8());
    EXPECT_EQ(ShownPage(), kStateWelcome);
    EXPECT_TRUE(exits.empty());

    ClickOn(wizard->Image1);
    ClickOn(wizard->ImageMinimalize);
    EXPECT_EQ(wizard->WindowState(), wsMinimized);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], "open " + GetTranslatedText(GeneralMod, 286).ToUtf8());
}

TEST_F(Wizard, TheFirstOfTwoDetectedProgramsBecomesTheOnlyCheckedAndSelected) {
    Install(plLumora, "lm");
    Install(plFennix, "fx");
    StartWizard();
    TsgTreeView* tree = wizard->TreeViewPaths;
    ASSERT_EQ(tree->Count(), 2);
    EXPECT_TRUE(wizard->RadioButtonChoosePathRemainingOnes->Visible());
    EXPECT_TRUE(wizard->RadioButtonChoosePathRemainingOnes->IsChecked());
    const TCadAppInstalledVec programs = wizard->Engine()->GetTargetPrograms();
    ASSERT_EQ(programs.size(), 2u);
    // As the page is built the second is the checked one.
    EXPECT_FALSE(tree->ItemByIndex(0)->IsChecked());
    EXPECT_TRUE(tree->ItemByIndex(1)->IsChecked());
    EXPECT_EQ(wizard->TextBoxPathChooseManuallyPath->Text(), programs[0].folder);

    ClickOn(wizard->ButtonMkay);
    ASSERT_EQ(ShownPage(), kStateChoosePath);
    EXPECT_TRUE(tree->ItemByIndex(0)->IsChecked());
    EXPECT_FALSE(tree->ItemByIndex(1)->IsChecked());
    EXPECT_EQ(tree->Selected(), tree->ItemByIndex(0));
    EXPECT_EQ(wizard->GetChosenTarget().folder, programs[0].folder);
    EXPECT_EQ(wizard->GetChosenTarget().productLine, programs[0].productLine);

    // A click on the second row's text makes it the only checked one.
    ClickOn(tree->ItemByIndex(1));
    EXPECT_FALSE(tree->ItemByIndex(0)->IsChecked());
    EXPECT_TRUE(tree->ItemByIndex(1)->IsChecked());
    EXPECT_EQ(wizard->GetChosenTarget().folder, programs[1].folder);
    // Its check box again leaves it checked.
    ClickOn(tree->ItemByIndex(1)->Check());
    EXPECT_TRUE(tree->ItemByIndex(1)->IsChecked());
    EXPECT_FALSE(tree->ItemByIndex(0)->IsChecked());
}

TEST_F(Wizard, AFolderChosenByHandIsValidatedAndAnEmptyOrMissingOneIsRefused) {
    Install(plLumora, "lm");
    StartWizard();
    ClickOn(wizard->ButtonMkay);
    ClickOn(wizard->RadioButtonChoosePathChooseManually);
    ASSERT_TRUE(wizard->RadioButtonChoosePathChooseManually->IsChecked());
    EXPECT_FALSE(wizard->TreeViewPaths->Enabled());
    EXPECT_TRUE(wizard->ButtonChoosePathChooseManuallyBrowse->Enabled());

    for (const std::string& folder : {std::string(), Path("nowhere/")}) {
        shown.clear();
        wizard->TextBoxPathChooseManuallyPath->SetText(UnicodeString(folder));
        ClickOn(wizard->ButtonMkay);
        EXPECT_EQ(ShownPage(), kStateChoosePath) << folder;
        EXPECT_EQ(shown.size(), 1u) << "the user is told why: " << folder;
    }

    // Browsing to the program folder validates it.
    const std::string program = installed[plLumora];
    std::vector<std::string> asked;
    SetDialogRunner([&](const std::vector<std::string>& arguments) {
        asked = arguments;
        return std::optional<std::string>(program);
    });
    ClickOn(wizard->ButtonChoosePathChooseManuallyBrowse);
    SetDialogRunner({});
    EXPECT_FALSE(asked.empty()) << "the folder browser was shown";
    EXPECT_EQ(wizard->TextBoxPathChooseManuallyPath->Text(), UnicodeString(program + "/"));
    EXPECT_FALSE(wizard->TextChoosePathChooseManuallyWarning->Visible());
    EXPECT_EQ(wizard->GetChosenTarget().productLine, plLumora);

    // Editing the path afterwards leaves a folder that was never validated.
    fs::create_directories(Path("other"));
    wizard->TextBoxPathChooseManuallyPath->SetText(UnicodeString(Path("other")));
    EXPECT_EQ(wizard->GetChosenTarget().productLine, plNone);
    EXPECT_EQ(wizard->GetChosenTarget().folder, UnicodeString(Path("other/")));

    // A folder that is no program's is accepted after the warning, with no product line.
    SetDialogRunner(
        [&](const std::vector<std::string>&) { return std::optional<std::string>(Path("other")); });
    ClickOn(wizard->ButtonChoosePathChooseManuallyBrowse);
    SetDialogRunner({});
    EXPECT_TRUE(wizard->TextChoosePathChooseManuallyWarning->Visible());
    EXPECT_TRUE(wizard->ButtonMkay->Enabled());
    EXPECT_EQ(wizard->GetChosenTarget().productLine, plNone);
}

TEST_F(Wizard, ARunningProgramHoldsNextUntilItEnds) {
    const std::string program = Path(CadEngineName());
    fs::copy_file("/bin/sleep", program);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl(program.c_str(), program.c_str(), "30", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::usleep(100000);
    StartWizard();
    // Next is held from the start; the request to close the program shows with the first tick
    // (filling the page hides it once more after the first check).
    EXPECT_FALSE(wizard->ButtonMkay->Enabled());
    Advance(250);
    EXPECT_TRUE(wizard->TextWelcomeFoot02->Visible());
    EXPECT_EQ(wizard->TextWelcomeFoot02->Text(), GetTranslatedText(GeneralMod, 223));
    EXPECT_EQ(wizard->TextWelcomeFoot02->Font()->Style(), sgFontBold);
    EXPECT_FALSE(wizard->ButtonMkay->Enabled());
    EXPECT_TRUE(wizard->TimerCheckRunningStuff->Enabled());
    EXPECT_EQ(wizard->TimerCheckRunningStuff->Interval(), 250u);
    Advance(500);
    EXPECT_FALSE(wizard->ButtonMkay->Enabled()) << "still running";

    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    Advance(250);
    EXPECT_TRUE(wizard->ButtonMkay->Enabled());
    EXPECT_FALSE(wizard->TextWelcomeFoot02->Visible());
}

TEST_F(Wizard, TheSlideShowOpensOnTheFirstPictureAndWrapsAfterTheSixth) {
    StartWizard();
    TsgImage* slides[] = {wizard->MainBaseImage1, wizard->MainBaseImage2, wizard->MainBaseImage3,
                          wizard->MainBaseImage4, wizard->MainBaseImage5, wizard->MainBaseImage6};
    EXPECT_FALSE(SameBitmap(slides[0]->Bitmap(), slides[1]->Bitmap())) << "told apart";
    wizard->ShowCurrentSlide();
    EXPECT_TRUE(SameBitmap(wizard->ImageInstallation->Bitmap(), slides[0]->Bitmap()));
    for (int tick = 1; tick <= 6; ++tick) {
        wizard->ImageMainTimerTimer(wizard->ImageMainTimer);
        EXPECT_TRUE(SameBitmap(wizard->ImageInstallation->Bitmap(), slides[tick % 6]->Bitmap()))
            << tick;
    }
}

class WizardInstall : public WizardWindow {
protected:
    void WalkToInstall() {
        Install(plLumora, "lm");
        StartWizard();
        ClickOn(wizard->ButtonMkay);
        ASSERT_EQ(ShownPage(), kStateChoosePath);
        ASSERT_EQ(wizard->GetChosenTarget().folder, UnicodeString(installed[plLumora] + "/"));
        // The main bar takes the wizard's colours on the target page.
        auto* highlight = dynamic_cast<TsgRectangle*>(
            wizard->ProgressBarInstallMainProcess->FindResource(u"rectopac"));
        ASSERT_NE(highlight, nullptr);
        EXPECT_EQ(highlight->Fill()->Gradient()->Points()->Points(1)->IntColor(), 0x55FFD3A8u);
        ClickOn(wizard->ButtonMkay);
    }
};

TEST_F(WizardInstall, TheSampleCatalogueGoesIntoTheProgramAndTheFinalPageFollows) {
    WalkToInstall();
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_EQ(wizard->WizardState(), kStateFinal);
    EXPECT_EQ(ShownPage(), kStateFinal);
    EXPECT_TRUE(exits.empty());
    EXPECT_FALSE(wizard->ButtonExit->Visible());
    EXPECT_FALSE(wizard->ButtonPrev->Visible());
    EXPECT_EQ(wizard->ButtonMkay->Text(), GetTranslatedText(GeneralMod, 25));
    EXPECT_FALSE(wizard->ImageMainTimer->Enabled());
    EXPECT_FALSE(wizard->TimerDiskSpaceInfo->Enabled());
    EXPECT_FALSE(wizard->TextInstallDiskSpaceInfo->Text().IsEmpty());
    EXPECT_FLOAT_EQ(wizard->ProgressBarInstallMainProcess->Value(),
                    wizard->ProgressBarInstallMainProcess->Max());
    const std::vector<std::string> files = FilesBelow(installed[plLumora]);
    EXPECT_GT(files.size(), GeneralMod->GetFilesToCheck(plLumora, 1).size())
        << ::testing::PrintToString(files);

    // The site text opens the maker's page; Finish ends with code 0 without a question.
    ClickOn(wizard->SiteText);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "open " + GetTranslatedText(GeneralMod, 286).ToUtf8());
    ClickOn(wizard->ButtonMkay);
    EXPECT_EQ(exits, std::vector<int>{kExitFinished});
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(WizardInstall, AFailedInstallationSaysWhatFailedAndEndsWithCode3) {
    // A file where the tiles database folder belongs: nothing can be unpacked there.
    Install(plLumora, "lm");
    const std::string tiles =
        ExcludeTrailingPathDelimiter(
            GeneralMod->GetDatabaseFolder(UnicodeString(installed[plLumora] + "/"), dtTiles))
            .ToUtf8();
    fs::create_directories(fs::path(tiles).parent_path());
    std::ofstream(tiles) << "in the way";
    answers = {"ok"};
    WalkToInstall();
    EXPECT_EQ(exits, std::vector<int>{kExitFailed});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("failed"), std::string::npos) << shown[0];
    EXPECT_NE(ShownPage(), kStateFinal);
}

TEST_F(WizardInstall, ConfirmedCancelEndsTheProcessWithCode2) {
    Install(plLumora, "lm");
    StartWizard();
    answers = {"yes"};
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        wizard->ButtonExitClick(nullptr);
        ::_exit(99);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kExitCancelled);
}

TEST_F(WizardInstall, DatabasesAlreadyPresentAreListedAndOverwrittenOnlyAfterOk) {
    WalkToInstall();
    ASSERT_EQ(ShownPage(), kStateFinal);
    // A second run of the installer finds the three databases in the program.
    delete wizard;
    wizard = nullptr;
    message.reset();
    StartWizard();
    ClickOn(wizard->ButtonMkay);
    answers = {"no"};
    ClickOn(wizard->ButtonMkay);
    EXPECT_EQ(ShownPage(), kStateChoosePath) << "Cancel keeps the target page";
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind(GetTranslatedText(GeneralMod, 238).ToUtf8() + " ", 0), 0u) << shown[0];
    EXPECT_NE(shown[0].find("Probne Plytki"), std::string::npos) << shown[0];
    EXPECT_EQ(message->SecondText->Text(), GetTranslatedText(GeneralMod, 241));
    EXPECT_NE(shown[0].find("Probne Dodatki"), std::string::npos) << shown[0];
    EXPECT_TRUE(wizard->TextVerifyPathDbname02->Visible());
    EXPECT_FALSE(wizard->TextVerifyPathDbname04->Visible());

    answers = {"yes"};
    ClickOn(wizard->ButtonMkay);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(ShownPage(), kStateFinal);
    EXPECT_TRUE(exits.empty());
}

TEST_F(Wizard, TheLicencePageHoldsNextAndItsPicturePrintsTheText) {
    StartWizard();
    wizard->SetState(kStateLicense);
    EXPECT_EQ(ShownPage(), kStateLicense);
    EXPECT_FALSE(wizard->ButtonMkay->Enabled());
    EXPECT_TRUE(wizard->ButtonPrev->Visible());
    EXPECT_EQ(wizard->licenceGroupBox->Text(), GetTranslatedText(GeneralMod, 86));

    // With a prepared "lic.pdf" beside it, the print command gets that file.
    const fs::path here = fs::current_path();
    fs::current_path(scratch.Path());
    std::ofstream("lic.pdf") << "%PDF-1.4\n";
    const std::string printed = Path("printed.txt");
    const std::string printer = Path("print.sh");
    std::ofstream(printer) << "#!/bin/sh\necho \"$@\" > '" << printed << "'\n";
    fs::permissions(printer, fs::perms::owner_all);
    {
        ScopedEnv command("DBI_PRINT_COMMAND", printer);
        ClickOn(wizard->Image2);
    }
    fs::current_path(here);
    EXPECT_TRUE(fs::exists(Path("lic.rtf"))) << "the licence is saved beside it";
    EXPECT_NE(testsupport::ReadFile(printed).find("lic.pdf"), std::string::npos);

    ClickOn(wizard->ButtonPrev);
    EXPECT_EQ(ShownPage(), kStateWelcome);
    EXPECT_TRUE(wizard->ButtonMkay->Enabled());
}
