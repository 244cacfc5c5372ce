#include "installer/ui/Maindbinstall_form.h"

#include "installer/config/General_module.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "installer/engine/Rtf_text.h"
#include "installer/ui/Message_form.h"
#include "installer/ui/Wizard_states.h"
#include "installer/ui/Wizard_texts.h"
#include "platform/ui/Application.h"
#include "platform/ui/FormLayout.h"
#include "platform/ui/ProcessExit.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/Timer.h"
#include "platform/win/Shell.h"
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_progressbar.h"
#include "scene/controls/Sg_tabcontrol.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/controls/Sg_treeview.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_objects_text.h"
#include "scene/core/Sg_scene_host.h"

TFormMainDbInstall* FormMainDbInstall = nullptr;

DBI_PUBLISH(TFormMainDbInstall) {
    using F = TFormMainDbInstall;
    p.Field<&F::sgSceneMainAndOnly>("sgSceneMainAndOnly");
    p.Field<&F::ImageClose>("ImageClose");
    p.Field<&F::ImageMinimalize>("ImageMinimalize");
    p.Field<&F::Image1>("Image1");
    p.Field<&F::Image2>("Image2");
    p.Field<&F::Image3>("Image3");
    p.Field<&F::Image4>("Image4");
    p.Field<&F::ButtonMkay>("ButtonMkay");
    p.Field<&F::ButtonPrev>("ButtonPrev");
    p.Field<&F::ButtonExit>("ButtonExit");
    p.Field<&F::TabControlMain>("TabControlMain");
    p.Field<&F::TabItem01Welcome>("TabItem01Welcome");
    p.Field<&F::TabItem02ChoosePath>("TabItem02ChoosePath");
    p.Field<&F::TabItem03VerifyPath>("TabItem03VerifyPath");
    p.Field<&F::TabItem04InstallDbs>("TabItem04InstallDbs");
    p.Field<&F::TabItem05Final>("TabItem05Final");
    p.Field<&F::TabItem02License>("TabItem02License");
    p.Field<&F::TextWelcomeHead>("TextWelcomeHead");
    p.Field<&F::TextWelcomeDb01>("TextWelcomeDb01");
    p.Field<&F::TextWelcomeDb02>("TextWelcomeDb02");
    p.Field<&F::TextWelcomeDb03>("TextWelcomeDb03");
    p.Field<&F::TextWelcomeDb04>("TextWelcomeDb04");
    p.Field<&F::TextWelcomeDb05>("TextWelcomeDb05");
    p.Field<&F::TextWelcomeDb06>("TextWelcomeDb06");
    p.Field<&F::TextWelcomeFoot02>("TextWelcomeFoot02");
    p.Field<&F::GroupBoxChoosePath>("GroupBoxChoosePath");
    p.Field<&F::RadioButtonChoosePathMainOne>("RadioButtonChoosePathMainOne");
    p.Field<&F::RadioButtonChoosePathRemainingOnes>("RadioButtonChoosePathRemainingOnes");
    p.Field<&F::TreeViewPaths>("TreeViewPaths");
    p.Field<&F::RadioButtonChoosePathChooseManually>("RadioButtonChoosePathChooseManually");
    p.Field<&F::TextBoxPathChooseManuallyPath>("TextBoxPathChooseManuallyPath");
    p.Field<&F::ButtonChoosePathChooseManuallyBrowse>("ButtonChoosePathChooseManuallyBrowse");
    p.Field<&F::TextChoosePathChooseManuallyWarning>("TextChoosePathChooseManuallyWarning");
    p.Field<&F::GroupBoxVerifyPath>("GroupBoxVerifyPath");
    p.Field<&F::TextVerifyPathHeader>("TextVerifyPathHeader");
    p.Field<&F::TextVerifyPathDbname01>("TextVerifyPathDbname01");
    p.Field<&F::TextVerifyPathDbdates01>("TextVerifyPathDbdates01");
    p.Field<&F::TextVerifyPathDbname02>("TextVerifyPathDbname02");
    p.Field<&F::TextVerifyPathDbdates02>("TextVerifyPathDbdates02");
    p.Field<&F::TextVerifyPathDbname03>("TextVerifyPathDbname03");
    p.Field<&F::TextVerifyPathDbdates03>("TextVerifyPathDbdates03");
    p.Field<&F::TextVerifyPathDbname04>("TextVerifyPathDbname04");
    p.Field<&F::TextVerifyPathDbdates04>("TextVerifyPathDbdates04");
    p.Field<&F::TextVerifyPathFoota>("TextVerifyPathFoota");
    p.Field<&F::ImageInstallation>("ImageInstallation");
    p.Field<&F::TextInstallMainActivity>("TextInstallMainActivity");
    p.Field<&F::ProgressBarInstallMainProcess>("ProgressBarInstallMainProcess");
    p.Field<&F::TextInstallSubActivity>("TextInstallSubActivity");
    p.Field<&F::ProgressBarInstallSubProcess>("ProgressBarInstallSubProcess");
    p.Field<&F::TextInstallDiskSpaceInfo>("TextInstallDiskSpaceInfo");
    p.Field<&F::MainBaseImage1>("MainBaseImage1");
    p.Field<&F::MainBaseImage2>("MainBaseImage2");
    p.Field<&F::MainBaseImage3>("MainBaseImage3");
    p.Field<&F::MainBaseImage4>("MainBaseImage4");
    p.Field<&F::MainBaseImage5>("MainBaseImage5");
    p.Field<&F::MainBaseImage6>("MainBaseImage6");
    p.Field<&F::TextFinalMessage>("TextFinalMessage");
    p.Field<&F::ThankYouText>("ThankYouText");
    p.Field<&F::SiteText>("SiteText");
    p.Field<&F::LogoFinalImage>("LogoFinalImage");
    p.Field<&F::licenceGroupBox>("licenceGroupBox");
    p.Field<&F::RichEditLicense>("RichEditLicense");
    p.Field<&F::TimerDiskSpaceInfo>("TimerDiskSpaceInfo");
    p.Field<&F::TimerCheckRunningStuff>("TimerCheckRunningStuff");
    p.Field<&F::ImageMainTimer>("ImageMainTimer");
    p.Method<&F::FormActivate>("FormActivate");
    p.Method<&F::FormCloseQuery>("FormCloseQuery");
    p.Method<&F::ButtonMkayClick>("ButtonMkayClick");
    p.Method<&F::ButtonPrevClick>("ButtonPrevClick");
    p.Method<&F::ButtonExitClick>("ButtonExitClick");
    p.Method<&F::ImageCloseClick>("ImageCloseClick");
    p.Method<&F::ImageMinimalizeClick>("ImageMinimalizeClick");
    p.Method<&F::RadioButtonChoosePathChange>("RadioButtonChoosePathChange");
    p.Method<&F::TreeViewPathsClick>("TreeViewPathsClick");
    p.Method<&F::TreeViewPathsChangeCheck>("TreeViewPathsChangeCheck");
    p.Method<&F::ButtonChoosePathChooseManuallyBrowseClick>(
        "ButtonChoosePathChooseManuallyBrowseClick");
    p.Method<&F::TextBoxPathChooseManuallyPathChange>("TextBoxPathChooseManuallyPathChange");
    p.Method<&F::TimerCheckRunningStuffTimer>("TimerCheckRunningStuffTimer");
    p.Method<&F::TimerDiskSpaceInfoTimer>("TimerDiskSpaceInfoTimer");
    p.Method<&F::ImageMainTimerTimer>("ImageMainTimerTimer");
    p.Method<&F::Image1Click>("Image1Click");
    p.Method<&F::LogoFinalImageClick>("LogoFinalImageClick");
    p.Method<&F::SiteTextClick>("SiteTextClick");
    p.Method<&F::Image2Click>("Image2Click");
}

namespace {

constexpr int kTitleText = 20;
constexpr int kThankYouText = 285;
constexpr int kSiteText = 286;
constexpr int kLicenceText = 86;
constexpr int kChoosePathText = 59;
constexpr int kBrowseText = 74;
constexpr int kDetectedProgramsText = 228;
constexpr int kManualFolderText = 230;
constexpr int kVerifyPathText = 236;
constexpr int kInstallProgressText = 246;
constexpr int kFinalMessageText = 77;

void SetShown(TsgVisualObject* object, bool visible) {
    if (object)
        object->SetVisible(visible);
}

void SetTextOf(TsgText* text, const UnicodeString& value) {
    if (text)
        text->SetText(value);
}

void SetCaptionOf(TsgTextControl* control, const UnicodeString& value) {
    if (control)
        control->SetText(value);
}

} // namespace

TFormMainDbInstall::TFormMainDbInstall(TComponent*) {
    // The application object's reference is set before the constructor runs; a window made
    // outside it (tests) publishes itself here.
    if (!FormMainDbInstall)
        FormMainDbInstall = this;
    ReadFormLayoutResource(*this, "TFORMMAINDBINSTALL");
    Init();
}

TFormMainDbInstall::~TFormMainDbInstall() {
    if (FormMainDbInstall == this)
        FormMainDbInstall = nullptr;
}

void TFormMainDbInstall::Init() {
    ExitHook = [](int code) { ExitProcess(static_cast<unsigned>(code)); };
    OpenAddress = [](const UnicodeString& address) {
        std::string error;
        win::OpenDocument(address.ToUtf8(), error);
    };
    slides_.clear();
    welcomeLines_.clear();
    overwriteLines_.clear();
    programTreeMap_.clear();
    manualChoice_ = {};
    driveMap_.clear();

    engine_ = std::make_unique<TDoDbInstallThings>();
    // Without a catalogue the libraries are not placed at all; a library that cannot be placed
    // stops the installer with the same notice.
    if (engine_->GetDatabaseCount() <= 0 || !engine_->PrepareSystemLibraries())
        ShowFatalErrorAndExit(engine_.get(), Text(kEmptyCatalogueText));

    TRtfText licence;
    if (engine_->LoadLicenseText(&licence) && RichEditLicense)
        RichEditLicense->LoadFromBytes(licence.Bytes());

    InitTexts();
    FillWelcomeAndTargetPages();
    ScanDrives();
    Show();

    slideIndex_ = 0;
    SetTextOf(ThankYouText, Text(kThankYouText));
    SetTextOf(SiteText, Text(kSiteText));
    SetCaptionOf(licenceGroupBox, Text(kLicenceText));
}

void TFormMainDbInstall::InitTexts() {
    indicatorColour_ = 0xFFF68D34;
    highlightColour_ = 0x55FFD3A8;
    welcomeLines_ = {TextWelcomeDb01, TextWelcomeDb02, TextWelcomeDb03,
                     TextWelcomeDb04, TextWelcomeDb05, TextWelcomeDb06};
    overwriteLines_ = {{TextVerifyPathDbname01, TextVerifyPathDbdates01},
                       {TextVerifyPathDbname02, TextVerifyPathDbdates02},
                       {TextVerifyPathDbname03, TextVerifyPathDbdates03},
                       {TextVerifyPathDbname04, TextVerifyPathDbdates04}};
    // The headers stay in the strip, practically invisible; they take no clicks either, so the
    // only way between pages is the wizard's own buttons.
    for (TsgTabItem* item : {TabItem01Welcome, TabItem02ChoosePath, TabItem03VerifyPath,
                             TabItem04InstallDbs, TabItem05Final, TabItem02License}) {
        if (!item)
            continue;
        item->SetOpacity(0.01f);
        item->SetHeight(2);
        item->SetHitTest(false);
    }
    slides_ = {MainBaseImage1, MainBaseImage2, MainBaseImage3,
               MainBaseImage4, MainBaseImage5, MainBaseImage6};
    if (GeneralMod && GeneralMod->GetLanguageCode() != u"lang0" && Image3) {
        if (std::unique_ptr<TsgBitmap> title =
                GeneralMod->LoadBitmapFromResource(AnsiString("Database_Installer")))
            Image3->SetBitmap(title.get());
    }
    SetState(kStateWelcome);
}

void TFormMainDbInstall::FillWelcomeAndTargetPages() {
    const TDatabaseEmbeddedVecAfterTypeMap catalogue = engine_->GetCatalogue();
    const UnicodeString title = Text(WindowTitleTextNumber(engine_->GetDatabaseCount()));
    if (Application)
        Application->SetTitle(title);
    TForm::SetCaption(title);

    const TWelcomeContent welcome =
        BuildWelcomeContent(catalogue, [this](int number) { return Text(number); });
    SetTextOf(TextWelcomeHead, welcome.head);
    for (size_t i = 0; i < welcomeLines_.size() && i < welcome.lines.size(); ++i) {
        SetTextOf(welcomeLines_[i], welcome.lines[i].text);
        SetShown(welcomeLines_[i], welcome.lines[i].visible);
    }
    SetTextOf(TextWelcomeFoot02, Text(223));
    SetShown(TextWelcomeFoot02, false);

    SetCaptionOf(GroupBoxChoosePath, Text(kChoosePathText));
    SetCaptionOf(ButtonChoosePathChooseManuallyBrowse, Text(kBrowseText));
    if (!engine_->GetTargetPrograms().empty())
        SetCaptionOf(RadioButtonChoosePathRemainingOnes, Text(kDetectedProgramsText));
    SetCaptionOf(RadioButtonChoosePathChooseManually, Text(kManualFolderText));
    SetTextOf(TextChoosePathChooseManuallyWarning,
              Text(engine_->HasFdbFormatDatabase() ? 232 : 231));
    SetCaptionOf(GroupBoxVerifyPath, Text(kVerifyPathText));
    SetTextOf(TextInstallMainActivity, Text(kInstallProgressText));
    SetTextOf(TextFinalMessage, Text(kFinalMessageText));

    FillTargetPage();
}

void TFormMainDbInstall::ScanDrives() {
    const TLogicalDriveFoundVec drives = engine_->FileOps().FindLogicalDrives();
    driveMap_.clear();
    for (const TLogicalDriveFound& drive : drives) {
        const UnicodeString key = drive.letter.SubString(1, 1).UpperCase();
        if (!key.IsEmpty())
            driveMap_[key] = drive;
    }
}

void TFormMainDbInstall::CopyImagesToMessageForm() {
    if (!FormMessage)
        return;
    if (Image3 && FormMessage->Image1)
        FormMessage->Image1->SetBitmap(Image3->Bitmap());
    if (Image4 && FormMessage->ImageSpecimenQuestion)
        FormMessage->ImageSpecimenQuestion->SetBitmap(Image4->Bitmap());
}

// --- Buttons and closing ----------------------------------------------------------------------

void TFormMainDbInstall::FormActivate(TObject*) {}

void TFormMainDbInstall::FormCloseQuery(TObject*, bool& CanClose) {
    CanClose = flow_.CloseQuery();
}

void TFormMainDbInstall::ButtonMkayClick(TObject*) {
    flow_.NextClicked();
}

void TFormMainDbInstall::ButtonPrevClick(TObject*) {
    StepBack();
}

void TFormMainDbInstall::ButtonExitClick(TObject*) {
    Close();
}

void TFormMainDbInstall::ImageCloseClick(TObject*) {
    Close();
}

void TFormMainDbInstall::ImageMinimalizeClick(TObject*) {
    SetWindowState(wsMinimized);
}

// --- Host: the window's side of the state machine ----------------------------------------------

UnicodeString TFormMainDbInstall::Text(int number) {
    return GetTranslatedText(GeneralMod, number);
}

TsgControl* TFormMainDbInstall::Button(TWizardButton button) const {
    switch (button) {
    case TWizardButton::Next:
        return ButtonMkay;
    case TWizardButton::Back:
        return ButtonPrev;
    case TWizardButton::Cancel:
        return ButtonExit;
    }
    return nullptr;
}

void TFormMainDbInstall::SetCaption(TWizardButton button, const UnicodeString& caption) {
    SetCaptionOf(dynamic_cast<TsgTextControl*>(Button(button)), caption);
}

void TFormMainDbInstall::SetButtonVisible(TWizardButton button, bool visible) {
    SetShown(Button(button), visible);
}

void TFormMainDbInstall::SetButtonEnabled(TWizardButton button, bool enabled) {
    if (TsgControl* control = Button(button))
        control->SetEnabled(enabled);
}

void TFormMainDbInstall::SetBrowseEnabled(bool enabled) {
    if (ButtonChoosePathChooseManuallyBrowse)
        ButtonChoosePathChooseManuallyBrowse->SetEnabled(enabled);
}

TsgTabItem* TFormMainDbInstall::PageItem(int state) const {
    switch (state) {
    case kStateWelcome:
        return TabItem01Welcome;
    case kStateLicense:
        return TabItem02License;
    case kStateChoosePath:
        return TabItem02ChoosePath;
    case kStateVerifyPath:
        return TabItem03VerifyPath;
    case kStateInstallDbs:
        return TabItem04InstallDbs;
    case kStateFinal:
        return TabItem05Final;
    default:
        return nullptr;
    }
}

void TFormMainDbInstall::ShowPage(int state) {
    if (TsgTabItem* item = PageItem(state); item && TabControlMain)
        TabControlMain->SetItemIndex(item->Index());
}

void TFormMainDbInstall::SetTimer(TWizardTimer timer, bool enabled) {
    switch (timer) {
    case TWizardTimer::RunningCheck:
        if (!TimerCheckRunningStuff)
            return;
        if (enabled)
            TimerCheckRunningStuff->SetInterval(250);
        TimerCheckRunningStuff->SetEnabled(enabled);
        break;
    case TWizardTimer::DiskSpace:
        if (!TimerDiskSpaceInfo)
            return;
        if (enabled) {
            TimerDiskSpaceInfo->SetInterval(1000);
            TimerDiskSpaceInfo->SetOnTimerMethod(
                ::TNotifyEvent::Bind<&TFormMainDbInstall::TimerDiskSpaceInfoTimer>(this));
            TimerDiskSpaceInfo->SetEnabled(true);
        } else {
            TimerDiskSpaceInfo->SetEnabled(false);
            TimerDiskSpaceInfo->SetOnTimerMethod({});
        }
        break;
    case TWizardTimer::Slides:
        if (ImageMainTimer)
            ImageMainTimer->SetEnabled(enabled);
        break;
    }
}

bool TFormMainDbInstall::ConfirmCancel() {
    return ConfirmCancelInstaller();
}

void TFormMainDbInstall::CloseWindow() {
    Close();
}

void TFormMainDbInstall::Exit(int code) {
    if (ExitHook)
        ExitHook(code);
    else
        ExitProcess(static_cast<unsigned>(code));
}

void TFormMainDbInstall::RefuseTarget(const UnicodeString& folder) {
    const UnicodeString text = folder.Trim().IsEmpty()
                                   ? UnicodeString(u"Please choose the folder to install into.")
                                   : UnicodeString(u"The folder does not exist:\n") + folder;
    if (FormMessage)
        FormMessage->Info(text, Text(kTitleText));
}
