#include "installer/engine/Dodbinstallishthings.h"

#include "installer/archive/sevenzip.h"
#include "installer/config/General_module.h"
#include "installer/engine/Rtf_text.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProcessExit.h"
#include "platform/ui/UiClock.h"
#include "platform/win/Folders.h"

TDoDbInstallThings::TDoDbInstallThings(std::unique_ptr<ShellOps> shell) {
    if (!shell) {
        shell = std::make_unique<ShellOps>();
        shell->Init();
        shell->lastPumpTick = GetTickCount();
    }
    fileOps = std::make_unique<MyFileOp>(std::move(shell));
    LoadCatalogue();
    DetectInstalledPrograms();
}

TDoDbInstallThings::~TDoDbInstallThings() = default;

bool TDoDbInstallThings::PrepareSystemLibraries() {
    // The platform has one library folder, whatever the bitness of the system.
    UnicodeString folder = UnicodeString(win::SystemFolder());
    if (folder.IsEmpty())
        folder = UnicodeString(fileOps->Shell().systemFolder);
    if (folder.IsEmpty())
        return false;
    folder = IncludeTrailingPathDelimiter(folder);
    const UnicodeString decoder = folder + u"7z.dll";
    const UnicodeString runtime = folder + u"cc3290mt.dll";
    if (!FileExists(decoder))
        fileOps->SaveResourceToFile(nullptr, u"LIB7Z", decoder, nullptr, nullptr);
    if (!FileExists(runtime))
        fileOps->SaveResourceToFile(nullptr, u"LIBB1", runtime, nullptr, nullptr);
    const bool placed = FileExists(decoder) && FileExists(runtime);
    if (placed)
        SetSevenZipLibraryFileName(decoder);
    return placed;
}

bool TDoDbInstallThings::LoadLicenseText(TRtfText* box) {
    const UnicodeString folder = GeneralMod && !GeneralMod->installerFolder.IsEmpty()
                                     ? GeneralMod->installerFolder
                                     : ExecutableFolder();
    const UnicodeString path = IncludeTrailingPathDelimiter(folder) + u"lic.rtf";
    if (!FileExists(path)) {
        const UnicodeString code = GeneralMod ? GeneralMod->GetLanguageCode() : UnicodeString();
        UnicodeString resource = u"LICEN";
        if (code == u"lang0" || code == u"lang2" || code == u"lang14")
            resource = u"LICPL";
        else if (code == u"lang5")
            resource = u"LICRU";
        else if (code == u"lang7")
            resource = u"LICHU";
        fileOps->SaveResourceToFile(nullptr, resource, path, nullptr, nullptr);
    }
    if (!FileExists(path))
        return false;
    if (box)
        box->LoadFromFile(path);
    DeleteFile(path);
    return true;
}

void TDoDbInstallThings::LoadCatalogue() {
    catalogue = fileOps->GetCatalogue();
}

int TDoDbInstallThings::GetDatabaseCount() const {
    int count = 0;
    for (const auto& [type, entries] : catalogue)
        count += static_cast<int>(entries.size());
    return count;
}

EDatabaseTypeVec TDoDbInstallThings::GetDatabaseTypes() const {
    EDatabaseTypeVec types;
    for (const auto& [type, entries] : catalogue)
        if (!entries.empty())
            types.push_back(type);
    return types;
}

bool TDoDbInstallThings::HasFdbFormatDatabase() const {
    for (const auto& [type, entries] : catalogue)
        for (const TDatabaseEmbedded& entry : entries)
            if (entry.formatFdb)
                return true;
    return false;
}

TDatabaseAndTargetDatePairVec
TDoDbInstallThings::FindInstalledDatabases(const UnicodeString& target) {
    TDatabaseAndTargetDatePairVec found;
    for (const auto& [type, entries] : catalogue)
        for (const TDatabaseEmbedded& entry : entries) {
            TDatabaseDate date;
            if (fileOps->GetInstalledDatabaseDate(target, entry, date))
                found.emplace_back(entry, date);
        }
    return found;
}

namespace {

TEngineMessageWindow& MessageWindow() {
    static TEngineMessageWindow window;
    return window;
}

} // namespace

void SetEngineMessageWindow(TEngineMessageWindow window) {
    MessageWindow() = std::move(window);
}

bool ConfirmCancelInstaller() {
    const UnicodeString question = GetTranslatedText(GeneralMod, 242);
    const UnicodeString caption = GetTranslatedText(GeneralMod, 19);
    const TEngineMessageWindow& window = MessageWindow();
    if (window.Ask && window.Ask(question, caption, false))
        ExitProcess(2);
    return false;
}

void ShowFatalErrorAndExit(TDoDbInstallThings* /*engine*/, const UnicodeString& text) {
    const UnicodeString caption = GetTranslatedText(GeneralMod, 20);
    const TEngineMessageWindow& window = MessageWindow();
    if (window.Info)
        window.Info(text, caption);
    else if (Application)
        Application->MessageBox(text, caption, MB_ICONWARNING | MB_OK);
    ExitProcess(3);
}
