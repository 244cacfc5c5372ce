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
#include <vector>

struct KlasaDwx;
class TRtfText;
class TsgProgressBar;
class TsgText;

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

    // --- Installation -------------------------------------------------------------------------
    // The wizard's installation page calls, in this order: IsTargetVersionNew and, only when it
    // is false, IsTargetVersionLegacy (the legacy-layout flag); ExtractArchives;
    // InstallDatabases; RunCompatibilityPass. Progress runs on one scale per step: the copies
    // fill the first 40 %, the unpacking the remaining 60 %; only a database that arrived
    // whole is committed to the done count of the "CAD_DbInstall" block.

    // Sum of the archive resources' sizes (missing ones count 0).
    int64_t GetTotalArchiveSize();
    // Sum of TARGETSIZE over the complete entries.
    int64_t GetRequiredDiskSpace() const;
    // Recreates the temporary folder and copies every archive resource into a ".7z" file
    // there, recording its path and size in the entry. False when the folder could not be
    // made, an entry is incomplete (the walk stops there) or an archive could not be copied
    // (the walk goes on). Bars and text may be null.
    bool ExtractArchives(TsgProgressBar* mainBar, TsgProgressBar* subBar, TsgText* status);
    // Unpacks every copied archive into its folder below the target program folder and
    // records the folder; removes the temporary folder at the end. False when an entry is
    // incomplete or not copied, or a folder cannot be made (the walk stops there), or an
    // archive could not be unpacked (that database is not logged as installed, its bytes are
    // not committed, and the walk goes on).
    bool InstallDatabases(const UnicodeString& target, TsgProgressBar* mainBar,
                          TsgProgressBar* subBar, TsgText* status, bool legacyLayout);
    // The folder a database goes into; "" when its type has none or the name it would take
    // is not one plain folder name, with the reason in `refusal` when one is asked for.
    UnicodeString GetDatabaseTargetFolder(const UnicodeString& target,
                                          const TDatabaseEmbedded& entry, bool legacyLayout,
                                          UnicodeString* refusal = nullptr) const;

    // --- Compatibility with older targets ----------------------------------------------------
    // From the target's "kafle.dll" ("V3_I6x86/kafle.dll" first, which makes a V3 target).
    bool IsTargetVersionNew(const UnicodeString& target);
    bool IsTargetVersionLegacy(const UnicodeString& target);
    // Rewrites version-204 drawing files as 203 for targets below 2.0.6, keeps one of the two
    // formats of a tiles database, and gives a "Brettholm" materials database its 2015 PDFs
    // in place of the 2014 ones.
    void RunCompatibilityPass(const UnicodeString& target);
    // Every "*dwx" file at or below the path (links not followed) through TDwxDowngrade; the
    // temporary file of a rewrite that was killed before it finished is removed when its
    // drawing is beside it.
    void DowngradeDwxFiles(const AnsiString& path);
    // The same with a model that is loaded anew for each file and keeps its memory between them.
    void DowngradeDwxFiles(const AnsiString& path, KlasaDwx& model);
    void RemoveFdbCopy(const TDatabaseEmbedded& entry);
    void RemoveMdbCopy(const TDatabaseEmbedded& entry);
    // Appends every "*pdf" file at or below the path (links not followed).
    void FindPdfFiles(const AnsiString& path, std::vector<AnsiString>& list);
    // Copies every 2015 PDF into the 2014 folder; only when all copies succeeded are the
    // 2014 PDFs that got no newer copy removed. False when something was not done.
    bool ReplaceOlderFolderPdfs(const TDatabaseEmbedded& entry);

    MyFileOp& FileOps() { return *fileOps; }

private:
    void RemoveStaleRewrite(const AnsiString& file);

public:
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

// Rewrites one drawing file as version 203 when a complete load found it newer; a file that
// did not load completely is never written.
struct TDwxDowngrade {
    TDoDbInstallThings* engine;
    // Loaded anew for every file; a fresh model per file when null.
    KlasaDwx* model = nullptr;
    void operator()(const AnsiString& file) const;
};

// The name a database is shown by: its BAZA, else its TARGETNAME, else its type's name.
UnicodeString GetDatabaseDisplayName(const TDatabaseEmbedded& entry);

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
// Status texts of the installation: "Copying the archive of: %s database", "Installation of
// %s database".
inline constexpr int kCopyingArchiveText = 244;
inline constexpr int kInstallingDatabaseText = 152;
