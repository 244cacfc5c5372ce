// The installation page and the window's timers: the running-program check of the welcome
// page, the free-space text and the slide show, the progress bar's colours, and the engine
// calls of the installation with their results.
#include "installer/ui/Maindbinstall_form.h"

#include "installer/config/General_module.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "installer/ui/Install_page.h"
#include "installer/ui/Message_form.h"
#include "installer/ui/Wizard_texts.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Application.h"
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_progressbar.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_objects_text.h"

namespace {

constexpr uint32_t kFootWarningColour = 0xFFC04040;
constexpr uint32_t kFootQuietColour = 0xFF000000;
constexpr int kNoticeTitleText = 20;

} // namespace

void TFormMainDbInstall::TimerCheckRunningStuffTimer(TObject*) {
    const bool running = engine_->IsCadProgramRunning();
    if (TextWelcomeFoot02) {
        TextWelcomeFoot02->SetVisible(running);
        TextWelcomeFoot02->Fill()->SetSolidColor(running ? kFootWarningColour : kFootQuietColour);
        TextWelcomeFoot02->Font()->SetStyle(running ? sgFontBold : sgFontRegular);
    }
    SetButtonEnabled(TWizardButton::Next, !running);
    if (Application)
        Application->ProcessMessages();
}

void TFormMainDbInstall::CheckRunningProgram() {
    TimerCheckRunningStuffTimer(nullptr);
}

void TFormMainDbInstall::TimerDiskSpaceInfoTimer(TObject*) {
    const UnicodeString drive = ExtractFileDrive(GetChosenTarget().folder).UpperCase();
    const int64_t free = engine_->FileOps().GetDiskFree(drive);
    if (TextInstallDiskSpaceInfo)
        TextInstallDiskSpaceInfo->SetText(FreeSpaceText(
            drive, FormatMegabytes(free), [this](int number) { return Text(number); }));
}

void TFormMainDbInstall::UpdateFreeSpace() {
    TimerDiskSpaceInfoTimer(nullptr);
}

void TFormMainDbInstall::ImageMainTimerTimer(TObject* Sender) {
    const int count = static_cast<int>(slides_.size());
    slideIndex_ = NextSlideIndex(slideIndex_, count, Sender != nullptr);
    if (slideIndex_ < 0 || slideIndex_ >= count)
        return;
    if (ImageInstallation && slides_[static_cast<size_t>(slideIndex_)])
        ImageInstallation->SetBitmap(slides_[static_cast<size_t>(slideIndex_)]->Bitmap());
    if (Application)
        Application->ProcessMessages();
}

void TFormMainDbInstall::ShowCurrentSlide() {
    ImageMainTimerTimer(nullptr);
}

void TFormMainDbInstall::ColourProgressBar() {
    if (!ProgressBarInstallMainProcess)
        return;
    if (auto* indicator = dynamic_cast<TsgRectangle*>(
            ProgressBarInstallMainProcess->FindResource(u"hindicator"))) {
        indicator->Fill()->SetStyle(sgBrushSolid);
        indicator->Fill()->SetSolidColor(indicatorColour_);
    }
    if (auto* highlight =
            dynamic_cast<TsgRectangle*>(ProgressBarInstallMainProcess->FindResource(u"rectopac"))) {
        TsgGradient* gradient = highlight->Fill()->Gradient();
        if (gradient->Points()->Count() > 1) {
            gradient->Points()->Points(1)->SetIntColor(highlightColour_);
            gradient->Change();
        }
    }
}

bool TFormMainDbInstall::IsTargetVersionNew(const UnicodeString& folder) {
    return engine_->IsTargetVersionNew(folder);
}

bool TFormMainDbInstall::IsTargetVersionLegacy(const UnicodeString& folder) {
    return engine_->IsTargetVersionLegacy(folder);
}

void TFormMainDbInstall::UseDbMaterialsFolder() {
    if (GeneralMod)
        GeneralMod->UseDbMaterialsFolder(GeneralMod->materialsFolderWord);
}

bool TFormMainDbInstall::ExtractArchives() {
    return engine_->ExtractArchives(ProgressBarInstallMainProcess, ProgressBarInstallSubProcess,
                                    TextInstallSubActivity);
}

bool TFormMainDbInstall::InstallDatabases(const UnicodeString& folder, bool legacy) {
    return engine_->InstallDatabases(folder, ProgressBarInstallMainProcess,
                                     ProgressBarInstallSubProcess, TextInstallSubActivity, legacy);
}

void TFormMainDbInstall::RunCompatibilityPass(const UnicodeString& folder) {
    engine_->RunCompatibilityPass(folder);
}

void TFormMainDbInstall::ReportFailure(TInstallStep step) {
    std::vector<UnicodeString> log;
    const TStringList& lines = engine_->FileOps().LogList();
    for (int i = 0; i < lines.Count(); ++i)
        log.push_back(lines.Strings(i));
    const UnicodeString report = BuildFailureReport(step == TInstallStep::Extract, log);
    if (FormMessage)
        FormMessage->Info(report, Text(kNoticeTitleText));
}
