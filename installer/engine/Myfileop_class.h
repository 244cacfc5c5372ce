// MyFileOp: the installer's file-operations object.
//
// Every file, folder, resource and shared-memory block the engine touches goes through the one
// MyFileOp the engine owns. It owns the system-services object ShellOps and a time-stamped log
// list of its own ("time: text", logging on from construction), and keeps a journal of the
// renames and deletions it performed. Failures are logged and answered as false; nothing here
// shows a message or ends the process.
//
// Paths: rename, delete, existence, size and folder-tree operations take 8-bit (UTF-8) texts,
// the copy, the listings and the database readers UTF-16 texts. A path ending with a delimiter
// names the contents of a folder (delete) or no entry at all (existence).
//
// Long operations pump pending window messages through ShellOps::ProcessMessagesThrottled, so a
// handler of the wizard, its Cancel included, may run (and end the process) inside them.
#pragma once

#include "installer/engine/Database_records.h"
#include "installer/engine/Logical_drive.h"
#include "installer/engine/Shellops_class.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class TArxCompressionArchive;
class TStream;
class TStringList;
class TsgProgressBar;

class MyFileOp {
public:
    // One rename or deletion the shell performed.
    struct OpsStruct {
        AnsiString from;
        AnsiString to; // empty for a deletion
        int kind = 0;  // kJournalRename or kJournalDelete
        AnsiString time;
    };
    static constexpr int kJournalRename = 2;
    static constexpr int kJournalDelete = 3;

    // Takes ownership of an initialised ShellOps; a null one is made and initialised here.
    explicit MyFileOp(std::unique_ptr<ShellOps> shell = nullptr);
    ~MyFileOp();
    MyFileOp(const MyFileOp&) = delete;
    MyFileOp& operator=(const MyFileOp&) = delete;

    // --- Basic file and folder operations ----------------------------------------------------
    void Log(const UnicodeString& text);
    void CheckSystemVersion();
    int AddJournalEntry(const AnsiString& from, const AnsiString& to, int kind);
    // Renames a file or folder; never replaces an existing target.
    bool RenamePath(AnsiString from, AnsiString to);
    // "dir/" deletes what the folder holds and keeps it; "dir" deletes the folder with all it
    // holds. A relative or empty path is refused: nothing is deleted by a folder name that
    // depends on the current folder. `silent` only matters where the shell shows progress.
    bool DeletePath(AnsiString path, bool silent);
    bool PathExists(const AnsiString& path);
    int64_t FileSizeOf(const AnsiString& path);
    // Copies in blocks, keeping the source's last-write time. The copy is written under a
    // temporary name beside the target and renamed over it only when complete, so the target
    // is either the old file, or absent, or the whole new file. A source that exists but
    // cannot be opened raises EFOpenError to the caller.
    bool CopyFileBlocks(const UnicodeString& source, const UnicodeString& target, bool overwrite);
    // True for a missing folder and for one without entries.
    bool IsFolderEmpty(const UnicodeString& folder);
    // Plain files matching the mask, hidden ones included, as folder + name.
    std::vector<UnicodeString> ListFiles(const UnicodeString& folder, const UnicodeString& mask);
    UnicodeString GetFirstFile(const UnicodeString& folder, const UnicodeString& mask);
    // Sub-folders that are not hidden, as folder + delimiter + name.
    std::vector<UnicodeString> ListSubfolders(const UnicodeString& folder);
    // True when no file stands at the path or the one there was deleted.
    bool PrepareExtractTarget(const UnicodeString& path);
    // Removes every folder below (and including) `folder` that holds no file at any depth;
    // true when a file remains somewhere below it.
    bool RemoveFolderTree(const AnsiString& folder);

    // --- Database INI files -----------------------------------------------------------------
    bool ReadEmbeddedDatabaseIni(TDatabaseEmbedded& entry);
    bool ReadInstalledDatabaseIni(const UnicodeString& path, TDatabaseBase& record);
    // The file's last-write date (local); 0, 0, 0 when it does not exist.
    TDatabaseDate GetFileDate(const UnicodeString& path);

    // --- Catalogue of carried databases -------------------------------------------------------
    TDatabaseEmbeddedVecAfterTypeMap GetCatalogue();
    TDatabaseEmbeddedVec EnumerateEmbeddedDatabases();
    // The temporary folder + "cad_db_extraction_temp/"; empty when there is no temporary folder.
    UnicodeString GetExtractionFolder();
    bool ExtractDatabaseInis(TDatabaseEmbeddedVec& list);
    TDatabaseEmbeddedVecAfterTypeMap GroupDatabasesByType(const TDatabaseEmbeddedVec& list);
    // Whether a copy of the entry is installed below the target; its date into `date`.
    bool GetInstalledDatabaseDate(const UnicodeString& target, const TDatabaseEmbedded& entry,
                                  TDatabaseDate& date);

    // --- Resources ---------------------------------------------------------------------------
    // Resources are the installer's own (RCDATA); `module` is kept for the callers' sake and
    // must be null.
    int64_t GetResourceSize(const void* module, const UnicodeString& name);
    bool ResourceExists(const void* module, const UnicodeString& name);
    // Writes the resource into the file (its folder created when missing), moving both bars
    // when both are given and the shared-memory progress in any case, and commits the bytes
    // to the done count at the end. A failure leaves no partial file.
    bool SaveResourceToFile(const void* module, const UnicodeString& name,
                            const UnicodeString& file, TsgProgressBar* mainBar,
                            TsgProgressBar* subBar);
    // Has an outside resource tool take resource `name` out of another program file into
    // `target`: the tool writes a script "resource_temp.rc" in its folder whose first line names
    // the extracted file; that file is then moved to the target. No installer flow uses it.
    bool ExtractResourceWithTool(const UnicodeString& tool, const UnicodeString& program,
                                 const UnicodeString& target, const UnicodeString& name);

    // --- Shared-memory progress ---------------------------------------------------------------
    // Starts a step: its total and done count, percent 0, the status text (empty clears it).
    void WriteInstallTotals(int64_t total, int64_t done, const UnicodeString& status);
    // Publishes (done + delta) / total as the percent, clamped to 0..100; a non-empty status
    // replaces the text. With `commit` the delta joins the done count.
    void WriteUpdateProgress(int64_t delta, const UnicodeString& status, bool commit);

    // The fixed password of the installer's archives.
    static UnicodeString GetArchivePassword();

    // --- Unpacking ---------------------------------------------------------------------------
    // Unpacks the archive file into the folder (sub-folders created), with the password set,
    // moving the sub bar over 0..1 and the main bar by the unpacked bytes (both only when the
    // sub bar is given) and the shared-memory percent, never the done count. Every item is
    // written under a temporary name and replaces its file only when complete and correct; a
    // read-only file is left as it is. False when the file is missing (logged in the start-up
    // log), cannot be opened or listed, or any item failed (damaged data, wrong password).
    bool Extract7z(const UnicodeString& archive, const UnicodeString& destination,
                   TsgProgressBar* mainBar, TsgProgressBar* subBar);
    // The archive's extract event: notes the item, publishes progress on every 7th one, and
    // refuses an item whose file stands read-only at the target.
    bool OnExtractItem(TArxCompressionArchive* sender, int index, UnicodeString& fileName,
                       TStream*& stream, bool& ownsStream);
    // The archive's progress event (bytes unpacked so far): publishes on every 3rd report.
    void OnExtractProgress(TArxCompressionArchive* sender, int64_t value, int64_t maxValue);
    // 0.65 x items started + 0.35 x bytes out, onto the bars and the shared-memory percent.
    void UpdateExtractProgress();

    // --- Drives ------------------------------------------------------------------------------
    // The fixed drives C to Z above 10,000,000,000 bytes whose root takes a test file; one line
    // per letter in the configuration module's start-up log.
    TLogicalDriveFoundVec FindLogicalDrives();
    // Bytes free for the caller on the drive of the letter ("" or an unknown drive: -1), and
    // the count written with blanks between thousands into `text`.
    int64_t GetDiskFreeSpace(const AnsiString& letter, AnsiString& text);
    int64_t GetDiskFree(const AnsiString& letter);
    int64_t GetDiskFree(const UnicodeString& letter);
    // "1234567" -> "1 234 567"; -1 stays "-1".
    static AnsiString FormatByteCount(int64_t count);

    // --- Materials folder of the legacy layout ----------------------------------------------
    // Gathers every picture ("*jpg", case-sensitive) found below the folder into the folder
    // itself and removes the sub-folders left without files. The folder keeps its name and
    // every sub-folder that still holds a file.
    void ArrangeMaterialsFolder(const UnicodeString& folder);
    // Appends every file at or below the path whose full path ends in a character and "jpg".
    // Links to folders are not followed.
    void FindJpgFiles(const AnsiString& path, std::vector<UnicodeString>& found);

    ShellOps& Shell() { return *shellOps; }
    TStringList& LogList() { return *log; }

    // --- Fields, in declared order -----------------------------------------------------------
    AnsiString driveLetters;
    std::vector<OpsStruct> journal;
    bool loggingOn = true;
    TsgProgressBar* subBar = nullptr;
    TsgProgressBar* mainBar = nullptr;
    int itemCount = 0;
    int currentItem = 0;
    int64_t mainStart = 0;
    int64_t totalBytes = 0;
    int64_t bytesDone = 0;
    int itemCallCounter = 0;
    int progressCallCounter = 0;
    bool cancelRequested = false;
    std::unique_ptr<ShellOps> shellOps;
    std::unique_ptr<TStringList> log;
    void* ownerWindow = nullptr;

private:
    // Case-folded names of the files of each folder an unpacking writes into.
    std::map<std::string, std::set<std::u16string>> unpackFolderNames;

    // Whether the item's target file stands read-only. A target whose exact name is missing is
    // looked up case-insensitively in its folder's listing, made once per folder and archive:
    // resolving every new file on its own would read its whole folder once per item.
    bool IsReadOnlyTarget(const UnicodeString& fileName);
    void CollectInstalledIniCandidates(const UnicodeString& target, const TDatabaseEmbedded& entry,
                                       std::vector<UnicodeString>& candidates);
    void Pump() { shellOps->ProcessMessagesThrottled(); }
};

// The text the system-version check logs on a system it does not support.
inline constexpr const char* kUnsupportedSystemText =
    "Wykryto nieobslugiwaną wersję systemu operacyjnego";
