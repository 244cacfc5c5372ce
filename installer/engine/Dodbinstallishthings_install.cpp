// The two steps of an installation: the archive resources copied into the temporary folder,
// then unpacked into the database folders of the target program.
#include "installer/config/General_module.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Application.h"
#include "platform/win/FileSystem.h"
#include "scene/controls/Sg_progressbar.h"
#include "scene/core/Sg_objects_text.h"

#include <cerrno>
#include <cstring>
#include <set>

namespace {

void InstallLog(const UnicodeString& line) {
    if (GeneralMod && GeneralMod->installLog)
        GeneralMod->installLog->Add(line);
}

void PumpMessages() {
    if (Application)
        Application->ProcessMessages();
}

// A translated status text with the database's name in its "%s"; a translation that does not
// take one string gets the name after it.
UnicodeString StatusText(int number, const UnicodeString& name) {
    const UnicodeString pattern = GetTranslatedText(GeneralMod, number);
    try {
        return Format(pattern, name);
    } catch (const Exception&) {
        return pattern + u" " + name;
    }
}

// The temporary folder is recreated from scratch; false (logged) when that fails.
bool RemoveTemporaryFolder(MyFileOp& ops, const UnicodeString& folder) {
    try {
        if (DirectoryExists(folder)) {
            win::SetReadOnly(NativePath(folder), false);
            ops.DeletePath(AnsiString(folder), false);
        }
    } catch (const Exception&) {
        InstallLog(u"Couldn't delete the dir: " + folder);
        return false;
    }
    return true;
}

} // namespace

UnicodeString GetDatabaseDisplayName(const TDatabaseEmbedded& entry) {
    if (!entry.databaseName.IsEmpty())
        return entry.databaseName;
    if (!entry.targetName.IsEmpty())
        return entry.targetName;
    // The status texts put the name before their own word "database", which every type's name
    // already ends with; the resource name is what the legacy layout names such a folder after.
    if (!entry.archiveResourceName.IsEmpty())
        return entry.archiveResourceName;
    return GeneralMod ? GeneralMod->GetDatabaseTypeName(entry.type) : UnicodeString();
}

int64_t TDoDbInstallThings::GetTotalArchiveSize() {
    int64_t total = 0;
    for (const auto& [type, entries] : catalogue)
        for (const TDatabaseEmbedded& entry : entries) {
            const int64_t size = fileOps->GetResourceSize(nullptr, entry.archiveResourceName);
            if (size > 0)
                total += size;
        }
    return total;
}

int64_t TDoDbInstallThings::GetRequiredDiskSpace() const {
    int64_t total = 0;
    for (const auto& [type, entries] : catalogue)
        for (const TDatabaseEmbedded& entry : entries)
            if (IsCompleteEntry(entry))
                total += entry.targetSize;
    return total;
}

bool TDoDbInstallThings::ExtractArchives(TsgProgressBar* mainBar, TsgProgressBar* subBar,
                                         TsgText* status) {
    const UnicodeString folderWithDelimiter = fileOps->GetExtractionFolder();
    const UnicodeString folder = ExcludeTrailingPathDelimiter(folderWithDelimiter);
    if (folder.IsEmpty()) {
        InstallLog(u"Couldn't create the dir: " + folder);
        return false;
    }
    if (!RemoveTemporaryFolder(*fileOps, folder))
        return false;
    if (!ForceDirectories(folder)) {
        InstallLog(u"Couldn't create the dir: " + folder);
        return false;
    }

    const int64_t total = GetTotalArchiveSize();
    const int64_t scale = total * 5 / 2;
    fileOps->WriteInstallTotals(scale, 0, status ? status->Text() : UnicodeString());
    if (mainBar && subBar) {
        mainBar->SetMin(0);
        mainBar->SetMax(static_cast<float>(scale));
        mainBar->SetValue(0);
        subBar->SetMin(0);
        subBar->SetMax(100);
        subBar->SetValue(0);
        PumpMessages();
    }

    bool allCopied = true;
    std::set<UnicodeString> usedPaths;
    int n = 1;
    for (auto& [type, entries] : catalogue)
        for (TDatabaseEmbedded& entry : entries) {
            InstallLog(u"Extracting the archive for database: " + GetDatabaseDisplayName(entry));
            if (!IsCompleteEntry(entry)) {
                InstallLog(u"The database (" + GetDatabaseDisplayName(entry) +
                           u") is not read correctly");
                return false;
            }
            const UnicodeString name =
                entry.targetName.IsEmpty() ? Format(u"DB%d", n) : entry.targetName;
            const UnicodeString fileName = ChangeFileExt(name, u".7z");
            UnicodeString path = folderWithDelimiter + fileName;
            // Two databases of one name keep their archives apart, each under its own name.
            if (usedPaths.count(path))
                path = folderWithDelimiter + Format(u"%d", n) + u"/" + fileName;
            usedPaths.insert(path);

            const UnicodeString text =
                StatusText(kCopyingArchiveText, GetDatabaseDisplayName(entry));
            fileOps->WriteUpdateProgress(0, text, false);
            if (status)
                status->SetText(text);
            PumpMessages();
            const bool copied = fileOps->SaveResourceToFile(nullptr, entry.archiveResourceName,
                                                            path, mainBar, subBar);
            PumpMessages();
            entry.archivePath = path;
            entry.archiveSize = fileOps->GetResourceSize(nullptr, entry.archiveResourceName);
            if (copied) {
                InstallLog(u"The " + GetDatabaseDisplayName(entry) +
                           u" database archive extracted");
            } else {
                InstallLog(u"The " + GetDatabaseDisplayName(entry) +
                           u" database archive could not be copied");
                allCopied = false;
            }
            ++n;
        }
    return allCopied;
}

UnicodeString TDoDbInstallThings::GetDatabaseTargetFolder(const UnicodeString& target,
                                                          const TDatabaseEmbedded& entry,
                                                          bool legacyLayout,
                                                          UnicodeString* refusal) const {
    const auto refuse = [refusal](const UnicodeString& why) {
        if (refusal)
            *refusal = why;
        return UnicodeString();
    };
    if (!GeneralMod)
        return refuse(u"no configuration module");
    if (target.IsEmpty())
        return refuse(u"no target program folder");
    if (!IsPlainTargetName(entry.targetName))
        return refuse(u"its TARGETNAME \"" + entry.targetName + u"\" is not one plain folder name");
    const UnicodeString program = IncludeTrailingPathDelimiter(target);
    const UnicodeString typeFolder = GeneralMod->GetDatabaseFolder(program, entry.type);
    // An empty TARGETNAME adds nothing to the folder the type gives.
    const UnicodeString named =
        entry.targetName.IsEmpty() ? UnicodeString() : entry.targetName + u"/";
    switch (entry.type) {
    case dtTiles:
        return typeFolder;
    case dtInterior:
    case dtHhd:
    case dtMaterials:
        return typeFolder + named;
    case dtCabinets:
        return program + named;
    case dtWalls:
    case dtDbMaterials: {
        if (!legacyLayout)
            return typeFolder;
        const UnicodeString name =
            entry.databaseName.IsEmpty() ? entry.archiveResourceName : entry.databaseName;
        // BAZA is free text; as a folder name it must stay one plain name.
        if (name.IsEmpty() || !IsPlainTargetName(name))
            return refuse(u"the name \"" + name + u"\" is not one plain folder name");
        return typeFolder + name;
    }
    default:
        return refuse(u"its type has no folder");
    }
}

namespace {

// Why a folder could not be made: a file in the way, else the system's reason.
UnicodeString WhyNoFolder(const UnicodeString& folder, int error) {
    for (UnicodeString path = folder; !path.IsEmpty();) {
        if (FileExists(path))
            return u"the file " + path + u" stands in its place";
        const UnicodeString parent = ExcludeTrailingPathDelimiter(ExtractFilePath(path));
        if (parent == path)
            break;
        path = parent;
    }
    return UnicodeString(std::strerror(error != 0 ? error : EIO));
}

} // namespace

bool TDoDbInstallThings::InstallDatabases(const UnicodeString& target, TsgProgressBar* mainBar,
                                          TsgProgressBar* subBar, TsgText* status,
                                          bool legacyLayout) {
    const UnicodeString temporary = ExcludeTrailingPathDelimiter(fileOps->GetExtractionFolder());
    const int64_t required = GetRequiredDiskSpace();
    const int64_t scale = required * 5 / 3;
    const int64_t start = scale * 2 / 5;
    if (mainBar && subBar) {
        mainBar->SetMin(0);
        mainBar->SetMax(static_cast<float>(scale));
        mainBar->SetValue(static_cast<float>(start));
        subBar->SetMin(0);
        subBar->SetMax(100);
        subBar->SetValue(0);
        PumpMessages();
    }
    fileOps->WriteInstallTotals(scale, start, UnicodeString());

    bool allInstalled = true;
    for (auto& [type, entries] : catalogue)
        for (TDatabaseEmbedded& entry : entries) {
            InstallLog(u"Installing the database: " + GetDatabaseDisplayName(entry));
            if (!IsCompleteEntry(entry) || entry.archivePath.IsEmpty()) {
                InstallLog(u"The database (" + GetDatabaseDisplayName(entry) +
                           u") is not extracted correctly");
                return false;
            }
            UnicodeString refusal;
            const UnicodeString folder =
                GetDatabaseTargetFolder(target, entry, legacyLayout, &refusal);
            const UnicodeString bare = ExcludeTrailingPathDelimiter(folder);
            if (legacyLayout && (entry.type == dtWalls || entry.type == dtDbMaterials) &&
                entry.databaseName.IsEmpty() && !bare.IsEmpty() && DirectoryExists(bare))
                fileOps->DeletePath(AnsiString(bare), true);
            if (folder.IsEmpty()) {
                InstallLog(u"Couldn't create the dir for the " + GetDatabaseDisplayName(entry) +
                           u" database: " + refusal);
                return false;
            }
            if (!DirectoryExists(bare)) {
                errno = 0;
                if (!ForceDirectories(bare)) {
                    InstallLog(u"Couldn't create the dir: " + bare + u": " +
                               WhyNoFolder(bare, errno));
                    return false;
                }
            }

            const UnicodeString text =
                StatusText(kInstallingDatabaseText, GetDatabaseDisplayName(entry));
            if (status)
                status->SetText(text);
            fileOps->WriteUpdateProgress(0, text, false);
            PumpMessages();

            const float before = mainBar ? mainBar->Value() : 0.0f;
            const bool unpacked = fileOps->Extract7z(entry.archivePath, folder, mainBar, subBar);
            entry.installedFolder = folder;
            if (unpacked) {
                if (mainBar && subBar) {
                    mainBar->SetValue(static_cast<float>(entry.targetSize) + before);
                    subBar->SetValue(subBar->Max());
                    PumpMessages();
                }
                fileOps->WriteUpdateProgress(entry.targetSize, UnicodeString(), true);
                InstallLog(u"The " + GetDatabaseDisplayName(entry) + u" database installed");
            } else {
                // The bars go back to where this database started: nothing of it is counted.
                if (mainBar && subBar) {
                    mainBar->SetValue(before);
                    subBar->SetValue(0);
                    PumpMessages();
                }
                fileOps->WriteUpdateProgress(0, UnicodeString(), false);
                InstallLog(u"The " + GetDatabaseDisplayName(entry) +
                           u" database could not be installed");
                allInstalled = false;
            }
            if (unpacked && entry.type == dtMaterials && legacyLayout)
                fileOps->ArrangeMaterialsFolder(folder);
        }

    if (DirectoryExists(temporary) && !RemoveTemporaryFolder(*fileOps, temporary))
        return false;
    return allInstalled;
}
