#include "installer/engine/Myfileop_class.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/UiClock.h"
#include "platform/win/FileSystem.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowsPath.h"

#include <boost/filesystem.hpp>

#include <vector>

namespace {

bool EndsWithDelimiter(const AnsiString& path) {
    return !path.IsEmpty() && (path[path.Length()] == '/' || path[path.Length()] == '\\');
}

AnsiString WithoutTrailingDelimiter(AnsiString path) {
    if (EndsWithDelimiter(path) && path.Length() > 1)
        path.SetLength(path.Length() - 1);
    return path;
}

// A path that names the same entry whatever the current folder is.
bool IsAbsolutePath(const AnsiString& path) {
    if (path.IsEmpty())
        return false;
    if (path[1] == '/')
        return true;
    return path.Length() >= 3 && path[2] == ':' && (path[3] == '\\' || path[3] == '/');
}

std::string Native(const AnsiString& path) {
    return NativePath(UnicodeString(path));
}

constexpr int kCopyBlockSize = 16384;

bool IsLink(const AnsiString& path) {
    boost::system::error_code error;
    return boost::filesystem::is_symlink(boost::filesystem::symlink_status(Native(path), error));
}

} // namespace

MyFileOp::MyFileOp(std::unique_ptr<ShellOps> shell)
    : loggingOn(true), log(std::make_unique<TStringList>()) {
    CheckSystemVersion();
    driveLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    ownerWindow = nullptr;
    if (!shell) {
        shell = std::make_unique<ShellOps>();
        shell->Init();
        shell->lastPumpTick = GetTickCount();
    }
    shellOps = std::move(shell);
    cancelRequested = false;
}

MyFileOp::~MyFileOp() = default;

void MyFileOp::Log(const UnicodeString& text) {
    if (loggingOn)
        log->Add(TimeToStr(Now()) + u": " + text);
}

void MyFileOp::CheckSystemVersion() {
    const win::SystemVersion version = win::GetSystemVersion();
    if (version.platformId != win::kPlatformIdWin32s && version.build > 1000)
        return;
    Log(UnicodeString(kUnsupportedSystemText));
}

int MyFileOp::AddJournalEntry(const AnsiString& from, const AnsiString& to, int kind) {
    journal.push_back({from, to, kind, AnsiString(TimeToStr(Now()))});
    return static_cast<int>(journal.size());
}

bool MyFileOp::RenamePath(AnsiString from, AnsiString to) {
    from = WithoutTrailingDelimiter(from);
    to = WithoutTrailingDelimiter(to);
    if (from.IsEmpty() || to.IsEmpty() || !win::RenameWithoutReplacing(Native(from), Native(to))) {
        Log(UnicodeString("Zmiana nazwy z " + from + " na " + to + " nie powiodło się"));
        return false;
    }
    AddJournalEntry(from, to, kJournalRename);
    return true;
}

bool MyFileOp::DeletePath(AnsiString path, bool /*silent*/) {
    if (EndsWithDelimiter(path))
        path += "*.*";
    if (!IsAbsolutePath(path) || !win::ShellDelete(Native(path))) {
        Log(UnicodeString("Kasowanie " + path + " nie powiodło się"));
        return false;
    }
    AddJournalEntry(path, AnsiString(), kJournalDelete);
    return true;
}

bool MyFileOp::PathExists(const AnsiString& path) {
    return !path.IsEmpty() && !win::FindEntries(Native(path)).empty();
}

int64_t MyFileOp::FileSizeOf(const AnsiString& path) {
    const std::vector<win::FoundEntry> found =
        path.IsEmpty() ? std::vector<win::FoundEntry>() : win::FindEntries(Native(path));
    if (found.empty())
        return -1;
    Pump();
    const win::FoundEntry& entry = found.front();
    return entry.directory || entry.name.empty() ? 0 : entry.size;
}

bool MyFileOp::CopyFileBlocks(const UnicodeString& source, const UnicodeString& target,
                              bool overwrite) {
    if (cancelRequested || !FileExists(source))
        return false;
    if (FileExists(target) && !overwrite)
        return true;
    const int32_t sourceDate = FileAge(source);

    TFileStream input(source, fmOpenRead | fmShareDenyWrite);
    // The copy grows under a name of its own and replaces the target only once it is whole.
    const UnicodeString partial =
        ExtractFilePath(target) + u"~" + ExtractFileName(target) + u".part";
    bool copied = false;
    try {
        TFileStream output(partial, fmCreate);
        std::vector<uint8_t> buffer(kCopyBlockSize);
        for (;;) {
            const int32_t got = input.Read(buffer.data(), kCopyBlockSize);
            if (got <= 0)
                break;
            output.WriteBuffer(buffer.data(), got);
            Pump();
            if (cancelRequested)
                break;
        }
        copied = !cancelRequested;
    } catch (const Exception&) {
        copied = false;
    }
    if (copied && sourceDate != -1)
        FileSetDate(partial, sourceDate);
    if (copied) {
        // The target may be read-only; it is replaced all the same, as the caller asked.
        copied = win::RenameReplacing(NativePath(partial), NativePath(target));
    }
    if (!copied)
        ::DeleteFile(partial);
    Pump();
    return copied;
}

bool MyFileOp::IsFolderEmpty(const UnicodeString& folder) {
    const UnicodeString path = IncludeTrailingPathDelimiter(folder);
    if (folder.IsEmpty() || !DirectoryExists(path))
        return true;
    const bool empty = win::FindEntries(NativePath(path + u"*.*")).empty();
    Pump();
    return empty;
}

std::vector<UnicodeString> MyFileOp::ListFiles(const UnicodeString& folder,
                                               const UnicodeString& mask) {
    std::vector<UnicodeString> files;
    const UnicodeString path = IncludeTrailingPathDelimiter(folder);
    for (const win::FoundEntry& entry : win::FindEntries(NativePath(path + mask)))
        if (!entry.directory && !entry.name.empty())
            files.push_back(path + UnicodeString(entry.name));
    Pump();
    return files;
}

UnicodeString MyFileOp::GetFirstFile(const UnicodeString& folder, const UnicodeString& mask) {
    const UnicodeString path = IncludeTrailingPathDelimiter(folder);
    for (const win::FoundEntry& entry : win::FindEntries(NativePath(path + mask)))
        if (!entry.directory && !entry.name.empty())
            return path + UnicodeString(entry.name);
    return UnicodeString();
}

std::vector<UnicodeString> MyFileOp::ListSubfolders(const UnicodeString& folder) {
    std::vector<UnicodeString> folders;
    const UnicodeString path = IncludeTrailingPathDelimiter(folder);
    for (const win::FoundEntry& entry : win::FindEntries(NativePath(path + u"*.*")))
        if (entry.directory && !entry.hidden && !entry.name.empty())
            folders.push_back(path + UnicodeString(entry.name));
    Pump();
    return folders;
}

bool MyFileOp::PrepareExtractTarget(const UnicodeString& path) {
    if (!FileExists(path))
        return true;
    return win::DeleteFile(NativePath(path));
}

bool MyFileOp::RemoveFolderTree(const AnsiString& folder) {
    const AnsiString base = WithoutTrailingDelimiter(folder);
    if (base.IsEmpty())
        return false;
    bool occupied = false;
    for (const win::FoundEntry& entry : win::FindEntries(Native(base + "/*.*"))) {
        Pump();
        if (entry.name.empty())
            continue;
        const AnsiString path = base + "/" + AnsiString(entry.name);
        // A link stays, and keeps its folder: what it points to lies outside this tree.
        if (!entry.directory || IsLink(path))
            occupied = true;
        else if (RemoveFolderTree(path))
            occupied = true;
    }
    if (!occupied)
        RemoveDir(UnicodeString(base));
    return occupied;
}

UnicodeString MyFileOp::GetArchivePassword() {
    return u"kura_pomorska_zielona";
}
