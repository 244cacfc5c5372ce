// TFormMainDbInstall: the installer's wizard, its only main window.
//
// A borderless window drawn entirely by its scene, streamed from the resource
// "TFORMMAINDBINSTALL". It owns the installation engine, fills its pages from the engine's
// catalogue and detected programs, and hands the walk through its pages to TWizardFlow, for
// which it is the host: every page change, caption, timer and engine call of the state machine
// ends in one of the TWizardHost methods below. The behaviour is split by page: the target page
// (Maindbinstall_target.cpp), the installation page with its timers (Maindbinstall_install.cpp)
// and the licence page with the web links (Maindbinstall_licence.cpp).
#pragma once

#include "installer/engine/Database_records.h"
#include "installer/ui/Target_choice.h"
#include "installer/ui/Wizard_flow.h"
#include "platform/rtl/UnicodeString.h"
#include "platform/ui/Forms.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class TDoDbInstallThings;
class TRichEdit;
class TTimer;
class TsgButton;
class TsgControl;
class TsgGroupBox;
class TsgImage;
class TsgProgressBar;
class TsgRadioButton;
class TsgScene;
class TsgTabControl;
class TsgTabItem;
class TsgText;
class TsgTextBox;
class TsgTreeView;
class TsgTreeViewItem;
class TsgVisualObject;

class TFormMainDbInstall : public TForm, public TWizardHost {
    DBI_PERSISTENT(TFormMainDbInstall, TForm)

    // Streams the window from the resource "TFORMMAINDBINSTALL", creates the engine, stops the
    // program (exit code 3) when the catalogue is empty or a library cannot be placed, and
    // opens on the welcome page.
    explicit TFormMainDbInstall(TComponent* owner = nullptr);
    ~TFormMainDbInstall() override;

    // --- Components, as the layout names them -------------------------------------------------
    TsgScene* sgSceneMainAndOnly = nullptr;
    TsgImage* ImageClose = nullptr;
    TsgImage* ImageMinimalize = nullptr;
    TsgImage* Image1 = nullptr;
    TsgImage* Image2 = nullptr;
    TsgImage* Image3 = nullptr;
    TsgImage* Image4 = nullptr;
    TsgButton* ButtonMkay = nullptr;
    TsgButton* ButtonPrev = nullptr;
    TsgButton* ButtonExit = nullptr;
    TsgTabControl* TabControlMain = nullptr;
    TsgTabItem* TabItem01Welcome = nullptr;
    TsgTabItem* TabItem02ChoosePath = nullptr;
    TsgTabItem* TabItem03VerifyPath = nullptr;
    TsgTabItem* TabItem04InstallDbs = nullptr;
    TsgTabItem* TabItem05Final = nullptr;
    TsgTabItem* TabItem02License = nullptr;
    TsgText* TextWelcomeHead = nullptr;
    TsgText* TextWelcomeDb01 = nullptr;
    TsgText* TextWelcomeDb02 = nullptr;
    TsgText* TextWelcomeDb03 = nullptr;
    TsgText* TextWelcomeDb04 = nullptr;
    TsgText* TextWelcomeDb05 = nullptr;
    TsgText* TextWelcomeDb06 = nullptr;
    TsgText* TextWelcomeFoot02 = nullptr;
    TsgGroupBox* GroupBoxChoosePath = nullptr;
    TsgRadioButton* RadioButtonChoosePathMainOne = nullptr;
    TsgRadioButton* RadioButtonChoosePathRemainingOnes = nullptr;
    TsgTreeView* TreeViewPaths = nullptr;
    TsgRadioButton* RadioButtonChoosePathChooseManually = nullptr;
    TsgTextBox* TextBoxPathChooseManuallyPath = nullptr;
    TsgButton* ButtonChoosePathChooseManuallyBrowse = nullptr;
    TsgText* TextChoosePathChooseManuallyWarning = nullptr;
    TsgGroupBox* GroupBoxVerifyPath = nullptr;
    TsgText* TextVerifyPathHeader = nullptr;
    TsgText* TextVerifyPathDbname01 = nullptr;
    TsgText* TextVerifyPathDbdates01 = nullptr;
    TsgText* TextVerifyPathDbname02 = nullptr;
    TsgText* TextVerifyPathDbdates02 = nullptr;
    TsgText* TextVerifyPathDbname03 = nullptr;
    TsgText* TextVerifyPathDbdates03 = nullptr;
    TsgText* TextVerifyPathDbname04 = nullptr;
    TsgText* TextVerifyPathDbdates04 = nullptr;
    TsgText* TextVerifyPathFoota = nullptr;
    TsgImage* ImageInstallation = nullptr;
    TsgText* TextInstallMainActivity = nullptr;
    TsgProgressBar* ProgressBarInstallMainProcess = nullptr;
    TsgText* TextInstallSubActivity = nullptr;
    TsgProgressBar* ProgressBarInstallSubProcess = nullptr;
    TsgText* TextInstallDiskSpaceInfo = nullptr;
    TsgImage* MainBaseImage1 = nullptr;
    TsgImage* MainBaseImage2 = nullptr;
    TsgImage* MainBaseImage3 = nullptr;
    TsgImage* MainBaseImage4 = nullptr;
    TsgImage* MainBaseImage5 = nullptr;
    TsgImage* MainBaseImage6 = nullptr;
    TsgText* TextFinalMessage = nullptr;
    TsgText* ThankYouText = nullptr;
    TsgText* SiteText = nullptr;
    TsgImage* LogoFinalImage = nullptr;
    TsgGroupBox* licenceGroupBox = nullptr;
    TRichEdit* RichEditLicense = nullptr;
    TTimer* TimerDiskSpaceInfo = nullptr;
    TTimer* TimerCheckRunningStuff = nullptr;
    TTimer* ImageMainTimer = nullptr;

    // --- Published handlers ------------------------------------------------------------------
    void FormActivate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void ButtonMkayClick(TObject* Sender);
    void ButtonPrevClick(TObject* Sender);
    void ButtonExitClick(TObject* Sender);
    void ImageCloseClick(TObject* Sender);
    void ImageMinimalizeClick(TObject* Sender);
    void RadioButtonChoosePathChange(TObject* Sender);
    void TreeViewPathsClick(TObject* Sender);
    void TreeViewPathsChangeCheck(TObject* Sender);
    void ButtonChoosePathChooseManuallyBrowseClick(TObject* Sender);
    void TextBoxPathChooseManuallyPathChange(TObject* Sender);
    void TimerCheckRunningStuffTimer(TObject* Sender);
    void TimerDiskSpaceInfoTimer(TObject* Sender);
    void ImageMainTimerTimer(TObject* Sender);
    void Image1Click(TObject* Sender);
    void LogoFinalImageClick(TObject* Sender);
    void SiteTextClick(TObject* Sender);
    void Image2Click(TObject* Sender);

    // --- The wizard ---------------------------------------------------------------------------
    int WizardState() const { return flow_.State(); }
    void SetState(int state) { flow_.SetState(state); }
    void StepBack() { flow_.StepBack(); }
    // The target the page's state amounts to: a checked detected program, or the folder typed
    // or browsed by hand (product line 0 until it passed validation).
    TCadAppInstalled GetChosenTarget();
    TsgTreeViewItem* GetFirstCheckedItem();
    void SelectSingleProgramItem(TsgTreeViewItem* item);
    // Gives the message window the title picture and the question picture.
    void CopyImagesToMessageForm();

    TDoDbInstallThings* Engine() const { return engine_.get(); }
    int SlideIndex() const { return slideIndex_; }
    const TDriveMap& DriveMap() const { return driveMap_; }

    // --- Seams --------------------------------------------------------------------------------
    // Ends the process; tests record the code instead.
    std::function<void(int code)> ExitHook;
    // Opens a web address; the platform's open command by default.
    std::function<void(const UnicodeString& address)> OpenAddress;

    // --- TWizardHost --------------------------------------------------------------------------
    UnicodeString Text(int number) override;
    void SetCaption(TWizardButton button, const UnicodeString& caption) override;
    void SetButtonVisible(TWizardButton button, bool visible) override;
    void SetButtonEnabled(TWizardButton button, bool enabled) override;
    void SetBrowseEnabled(bool enabled) override;
    void ShowPage(int state) override;
    void SetTimer(TWizardTimer timer, bool enabled) override;
    void CheckRunningProgram() override;
    void RefreshProgramTreeCheck() override;
    void ColourProgressBar() override;
    void ShowCurrentSlide() override;
    void UpdateFreeSpace() override;
    TCadAppInstalled ChosenTarget() override { return GetChosenTarget(); }
    bool CheckExistingDatabases() override;
    bool AskOverwrite() override;
    void RefuseTarget(const UnicodeString& folder) override;
    bool IsTargetVersionNew(const UnicodeString& folder) override;
    bool IsTargetVersionLegacy(const UnicodeString& folder) override;
    void UseDbMaterialsFolder() override;
    bool ExtractArchives() override;
    bool InstallDatabases(const UnicodeString& folder, bool legacy) override;
    void RunCompatibilityPass(const UnicodeString& folder) override;
    void ReportFailure(TInstallStep step) override;
    bool ConfirmCancel() override;
    void CloseWindow() override;
    void Exit(int code) override;

private:
    void Init();
    void InitTexts();
    void FillWelcomeAndTargetPages();
    void FillTargetPage();
    void ScanDrives();
    TsgControl* Button(TWizardButton button) const;
    TsgTabItem* PageItem(int state) const;

    TWizardFlow flow_{*this};
    // Kept for the life of the window, which in the program is the life of the process.
    std::unique_ptr<TDoDbInstallThings> engine_;
    int slideIndex_ = 0;
    std::vector<TsgImage*> slides_;
    uint32_t indicatorColour_ = 0xFFF68D34;
    uint32_t highlightColour_ = 0x55FFD3A8;
    std::vector<TsgText*> welcomeLines_;
    std::vector<std::pair<TsgText*, TsgText*>> overwriteLines_;
    std::map<TsgTreeViewItem*, TCadAppInstalled> programTreeMap_;
    TCadAppInstalled manualChoice_;
    TDriveMap driveMap_;
};

extern TFormMainDbInstall* FormMainDbInstall;
