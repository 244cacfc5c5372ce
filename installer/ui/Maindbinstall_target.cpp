// The target page of the wizard: the program tree as a single-choice list, the radio buttons,
// browsing for a folder and its validation, the chosen target, and the overwrite question.
#include "installer/ui/Maindbinstall_form.h"

#include "installer/config/General_module.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "installer/ui/Message_form.h"
#include "installer/ui/Wizard_texts.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"
#include "platform/ui/Dialogs.h"
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/controls/Sg_treeview.h"
#include "scene/core/Sg_objects_text.h"

namespace {

constexpr int kQuestionTitleText = 19;
constexpr int kWarningOnColour = static_cast<int>(0xFFC04040);
constexpr int kWarningOffColour = 0x60000000;

void SetWarningColour(TsgText* warning, uint32_t colour) {
    if (warning && warning->Visible())
        warning->Fill()->SetSolidColor(colour);
}

// The folder a browser starts in: the typed one or the nearest folder above it that exists.
UnicodeString BrowseStart(const UnicodeString& typed) {
    UnicodeString start = IncludeTrailingPathDelimiter(typed);
    for (int guard = 0; guard < 4096; ++guard) {
        const UnicodeString bare = ExcludeTrailingPathDelimiter(start);
        if (ExtractFileName(bare).IsEmpty() || DirectoryExists(start))
            break;
        const UnicodeString parent = ExtractFileDir(bare);
        if (parent == bare)
            break;
        start = IncludeTrailingPathDelimiter(parent);
    }
    return DirectoryExists(start) ? start : UnicodeString();
}

} // namespace

void TFormMainDbInstall::FillTargetPage() {
    const TCadAppInstalledVec candidates = engine_->GetTargetPrograms();
    programTreeMap_.clear();
    if (RadioButtonChoosePathMainOne)
        RadioButtonChoosePathMainOne->SetVisible(false);
    if (candidates.empty()) {
        if (RadioButtonChoosePathRemainingOnes)
            RadioButtonChoosePathRemainingOnes->SetVisible(false);
        if (TreeViewPaths)
            TreeViewPaths->SetVisible(false);
    } else if (TreeViewPaths) {
        if (RadioButtonChoosePathRemainingOnes)
            RadioButtonChoosePathRemainingOnes->SetVisible(true);
        TreeViewPaths->SetVisible(true);
        const TProgramList list = BuildProgramList(
            candidates,
            [this](const TCadAppInstalled& app) {
                UnicodeString version;
                engine_->GetProgramVersionText(app.folder, app.productLine, version);
                return version;
            },
            [](EProductLine line) {
                return GeneralMod ? GeneralMod->GetProductName(line) : UnicodeString();
            },
            [this](int number) { return Text(number); });
        if (TextBoxPathChooseManuallyPath)
            TextBoxPathChooseManuallyPath->SetText(list.firstFolder);
        for (size_t i = 0; i < list.entries.size(); ++i) {
            auto* item = new TsgTreeViewItem(TreeViewPaths);
            item->SetText(list.entries[i].text);
            // The second candidate starts checked; entering the page makes the first the
            // only one (RefreshProgramTreeCheck).
            item->SetIsChecked(i == 1);
            item->SetIsChecked(i != 1);
            item->SetIsChecked(i == 1);
            TreeViewPaths->AddObject(item);
            programTreeMap_[item] = list.entries[i].program;
        }
        TreeViewPaths->SetHeight(22.0f * static_cast<float>(list.entries.size()));
    }
    if (TextChoosePathChooseManuallyWarning)
        TextChoosePathChooseManuallyWarning->SetVisible(false);
    manualChoice_ = {};

    TsgRadioButton* first =
        RadioButtonChoosePathRemainingOnes && RadioButtonChoosePathRemainingOnes->Visible()
            ? RadioButtonChoosePathRemainingOnes
            : RadioButtonChoosePathChooseManually;
    if (first) {
        first->SetIsChecked(true);
        RadioButtonChoosePathChange(first);
    }
}

TsgTreeViewItem* TFormMainDbInstall::GetFirstCheckedItem() {
    if (!TreeViewPaths)
        return nullptr;
    for (int i = 0; i < TreeViewPaths->Count(); ++i)
        if (TsgTreeViewItem* item = TreeViewPaths->ItemByIndex(i); item && item->IsChecked())
            return item;
    return nullptr;
}

void TFormMainDbInstall::SelectSingleProgramItem(TsgTreeViewItem* item) {
    if (!TreeViewPaths)
        return;
    const int count = TreeViewPaths->Count();
    if (!item)
        for (int i = 0; i < count && !item; ++i)
            if (TsgTreeViewItem* candidate = TreeViewPaths->ItemByIndex(i);
                candidate && candidate->IsSelected())
                item = candidate;
    if (!item && count > 0)
        item = TreeViewPaths->ItemByIndex(0);
    if (!item)
        return;
    for (int i = 0; i < count; ++i)
        if (TsgTreeViewItem* other = TreeViewPaths->ItemByIndex(i))
            other->SetIsChecked(other == item);
    TreeViewPaths->SetSelected(item);
}

void TFormMainDbInstall::TreeViewPathsClick(TObject* Sender) {
    if (!TreeViewPaths)
        return;
    const ::TNotifyEvent handler = TreeViewPaths->OnClick;
    TreeViewPaths->OnClick = {};
    SelectSingleProgramItem(dynamic_cast<TsgTreeViewItem*>(Sender));
    TreeViewPaths->OnClick = handler;
}

void TFormMainDbInstall::TreeViewPathsChangeCheck(TObject* Sender) {
    if (!TreeViewPaths)
        return;
    const ::TNotifyEvent handler = TreeViewPaths->OnChangeCheck;
    TreeViewPaths->OnChangeCheck = {};
    SelectSingleProgramItem(dynamic_cast<TsgTreeViewItem*>(Sender));
    TreeViewPaths->OnChangeCheck = handler;
}

void TFormMainDbInstall::RefreshProgramTreeCheck() {
    if (!TreeViewPaths)
        return;
    const bool enabled = TreeViewPaths->Enabled();
    TreeViewPaths->SetEnabled(true);
    if (TsgTreeViewItem* first = TreeViewPaths->ItemByIndex(0)) {
        // Whatever the first item's state, at least one change is reported, and the tree's
        // handler makes the first item the only checked and the selected one.
        first->SetIsChecked(true);
        first->SetIsChecked(false);
        first->SetIsChecked(true);
    }
    TreeViewPaths->SetEnabled(enabled);
}

void TFormMainDbInstall::RadioButtonChoosePathChange(TObject* Sender) {
    auto* radio = dynamic_cast<TsgRadioButton*>(Sender);
    if (!radio || !radio->IsChecked())
        return;
    if (radio == RadioButtonChoosePathRemainingOnes) {
        if (TreeViewPaths)
            TreeViewPaths->SetEnabled(true);
        if (TextBoxPathChooseManuallyPath)
            TextBoxPathChooseManuallyPath->SetEnabled(false);
        SetBrowseEnabled(false);
        SetWarningColour(TextChoosePathChooseManuallyWarning, kWarningOffColour);
        SetButtonEnabled(TWizardButton::Next, true);
    } else if (radio == RadioButtonChoosePathChooseManually) {
        if (TreeViewPaths && TreeViewPaths->Visible())
            TreeViewPaths->SetEnabled(false);
        if (TextBoxPathChooseManuallyPath)
            TextBoxPathChooseManuallyPath->SetEnabled(true);
        SetBrowseEnabled(true);
        SetWarningColour(TextChoosePathChooseManuallyWarning,
                         static_cast<uint32_t>(kWarningOnColour));
    }
}

void TFormMainDbInstall::ButtonChoosePathChooseManuallyBrowseClick(TObject*) {
    if (!TextBoxPathChooseManuallyPath)
        return;
    UnicodeString folder = BrowseStart(TextBoxPathChooseManuallyPath->Text());
    const UnicodeString prompt = Text(engine_->GetDatabaseCount() == 1 ? 233 : 234);
    if (SelectDirectory(prompt, UnicodeString(), folder))
        TextBoxPathChooseManuallyPath->SetText(IncludeTrailingPathDelimiter(folder));

    // Validation runs whether or not the browser was confirmed.
    manualChoice_ = {};
    const TCadAppInstalled found = ValidateManualFolder(
        TextBoxPathChooseManuallyPath->Text(), driveMap_, engine_->HasFdbFormatDatabase(),
        [this](const UnicodeString& path, EProductLine line, bool& present, bool& sufficient) {
            return engine_->CheckProgramFolder(path, line, present, sufficient);
        });
    if (found.productLine != plNone)
        manualChoice_ = found;
    // The warning only informs: Next stays as it is.
    if (TextChoosePathChooseManuallyWarning)
        TextChoosePathChooseManuallyWarning->SetVisible(found.productLine == plNone);
}

void TFormMainDbInstall::TextBoxPathChooseManuallyPathChange(TObject*) {
    // A folder typed after validation is no longer the validated one; it counts, with no
    // product line, until it is validated again.
    if (!TextBoxPathChooseManuallyPath || manualChoice_.productLine == plNone)
        return;
    if (IncludeTrailingPathDelimiter(TextBoxPathChooseManuallyPath->Text()) !=
        IncludeTrailingPathDelimiter(manualChoice_.folder))
        manualChoice_ = {};
}

TCadAppInstalled TFormMainDbInstall::GetChosenTarget() {
    TTargetPageState page;
    if (RadioButtonChoosePathRemainingOnes) {
        page.detectedVisible = RadioButtonChoosePathRemainingOnes->Visible();
        page.detectedChecked = RadioButtonChoosePathRemainingOnes->IsChecked();
    }
    if (TsgTreeViewItem* item = GetFirstCheckedItem()) {
        if (auto found = programTreeMap_.find(item); found != programTreeMap_.end())
            page.checkedProgram = found->second;
    }
    if (RadioButtonChoosePathChooseManually) {
        page.manualVisible = RadioButtonChoosePathChooseManually->Visible();
        page.manualChecked = RadioButtonChoosePathChooseManually->IsChecked();
    }
    page.warningVisible =
        TextChoosePathChooseManuallyWarning && TextChoosePathChooseManuallyWarning->Visible();
    if (TextBoxPathChooseManuallyPath)
        page.pathText = TextBoxPathChooseManuallyPath->Text();
    page.manualChoice = manualChoice_;
    return ::GetChosenTarget(page);
}

bool TFormMainDbInstall::CheckExistingDatabases() {
    const TDatabaseAndTargetDatePairVec present =
        engine_->FindInstalledDatabases(GetChosenTarget().folder);
    const TOverwriteContent content =
        BuildOverwriteContent(present, [this](int number) { return Text(number); });
    if (TextVerifyPathHeader)
        TextVerifyPathHeader->SetText(content.header);
    if (TextVerifyPathFoota)
        TextVerifyPathFoota->SetText(content.foot);
    const int n = static_cast<int>(present.size());
    for (size_t i = 0; i < overwriteLines_.size() && i < content.lines.size(); ++i) {
        const auto& [nameLine, datesLine] = content.lines[i];
        auto& [name, dates] = overwriteLines_[i];
        // A pair past the present databases keeps its old texts and only hides.
        if (static_cast<int>(i) < n) {
            if (name)
                name->SetText(nameLine.text);
            if (dates)
                dates->SetText(datesLine.text);
        }
        if (name)
            name->SetVisible(nameLine.visible);
        if (dates)
            dates->SetVisible(datesLine.visible);
    }
    return content.nothingPresent;
}

bool TFormMainDbInstall::AskOverwrite() {
    UnicodeString message =
        (TextVerifyPathHeader ? TextVerifyPathHeader->Text() : UnicodeString()) + u" ";
    for (const auto& [name, dates] : overwriteLines_)
        if (name && name->Visible())
            message = message + name->Text() + u"\n\n" + (dates ? dates->Text() : UnicodeString()) +
                      u"\n";
    if (!FormMessage)
        return false;
    FormMessage->AskWarn(message,
                         TextVerifyPathFoota ? TextVerifyPathFoota->Text() : UnicodeString(),
                         Text(kQuestionTitleText), false);
    return FormMessage->Answer;
}
