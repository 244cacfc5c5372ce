// TDoDbInstallThings: the installation engine.
//
// The one object that knows which databases the installer carries (the catalogue, grouped by
// type), which installations of the maker's programs could take them (the target candidates,
// in the order the wizard offers them), and that owns the file-operations object through which
// every file, resource and archive is touched. The wizard creates it once, in its constructor,
// after the configuration module (GeneralMod) has finished its start-up, and never frees it.
//
// Start-up as the wizard runs it: construct (catalogue loaded, programs detected); when
// GetDatabaseCount is 0, or PrepareSystemLibraries fails, ShowFatalErrorAndExit with text 224;
// then LoadLicenseText.
#pragma once

#include "installer/engine/Database_records.h"
#include "installer/engine/Myfileop_class.h"
#include "platform/rtl/UnicodeString.h"

#include <functional>
#include <memory>

class TRtfText;

class TDoDbInstallThings {
public:
    // Builds the file-operations object (with its ShellOps), loads the catalogue and detects
    // the installed programs. A ShellOps may be handed in already initialised.
    explicit TDoDbInstallThings(std::unique_ptr<ShellOps> shell = nullptr);
    ~TDoDbInstallThings();
    TDoDbInstallThings(const TDoDbInstallThings&) = delete;
    TDoDbInstallThings& operator=(const TDoDbInstallThings&) = delete;

    // Writes "7z.dll" (resource LIB7Z) and "cc3290mt.dll" (resource LIBB1) into the system
    // folder when they are missing; true when both exist afterwards. The decoder is then loaded
    // from the placed copy.
    bool PrepareSystemLibraries();
    // The licence agreement in the user's language ("lic.rtf" beside the installer when one is
    // there, else the carried one) into the box; the file is deleted after loading.
    bool LoadLicenseText(TRtfText* box);

    // --- Catalogue ---------------------------------------------------------------------------
    void LoadCatalogue();
    TDatabaseEmbeddedVecAfterTypeMap GetCatalogue() const { return catalogue; }
    int GetDatabaseCount() const;
    EDatabaseTypeVec GetDatabaseTypes() const;
    bool HasFdbFormatDatabase() const;
    // The catalogue databases already installed below the target, with their copies' dates.
    TDatabaseAndTargetDatePairVec FindInstalledDatabases(const UnicodeString& target);

    // --- Programs ----------------------------------------------------------------------------
    void DetectInstalledPrograms();
    TCadAppInstalledVec GetTargetPrograms() const { return targetCandidates; }
    // "major.minor" of the product line's main executable in the folder.
    bool GetProgramVersionText(const UnicodeString& folder, EProductLine line, UnicodeString& text);
    // Whether the folder holds an installation of the line: false (outputs untouched) when the
    // folder is missing or empty; otherwise true, with whether every required file is there and
    // whether every version is high enough.
    bool CheckProgramFolder(const UnicodeString& folder, EProductLine line, bool& filesPresent,
                            bool& versionsSufficient);
    // Whether the CAD engine ("viru.exe") runs.
    bool IsCadProgramRunning();

    MyFileOp& FileOps() { return *fileOps; }

    // --- Fields, in declared order -----------------------------------------------------------
    TDatabaseEmbeddedVecAfterTypeMap catalogue;
    TCadAppInstalled currentTarget;
    TCadAppInstalledVec lumoraPrograms;
    TCadAppInstalledVec fennixPrograms;
    TCadAppInstalledVec lumoraProPrograms;
    TCadAppInstalledVec lumoraProgramsTooOld;
    TCadAppInstalledVec fennixProgramsTooOld;
    TCadAppInstalledVec targetCandidates;
    std::unique_ptr<MyFileOp> fileOps;
};

// Checks one folder against a list of required files and their lowest versions. The walk stops
// at the first missing file.
struct TProgramFileCheck {
    TDoDbInstallThings* engine;
    UnicodeString folder; // with a trailing delimiter
    std::vector<TProgramFileForCheckup> files;
    bool& filesPresent;
    bool& versionsSufficient;

    void operator()() const;
};

// The wizard's message window as the engine's unit uses it, installed by the window itself
// once it exists: a question that answers whether Yes was pressed, and a notice.
struct TEngineMessageWindow {
    std::function<bool(const UnicodeString& question, const UnicodeString& caption, bool focusYes)>
        Ask;
    std::function<void(const UnicodeString& text, const UnicodeString& caption)> Info;
};
// Installs (or, with empty functions, removes) the message window.
void SetEngineMessageWindow(TEngineMessageWindow window);

// Asks text 242; Yes ends the process with exit code 2, otherwise false.
bool ConfirmCancelInstaller();
// Shows the text (in the message window when it exists, else in the system message box with a
// warning icon) and ends the process with exit code 3.
[[noreturn]] void ShowFatalErrorAndExit(TDoDbInstallThings* engine, const UnicodeString& text);

// The translated text of the fatal start-up stop.
inline constexpr int kEmptyCatalogueText = 224;
