// The catalogue of carried databases: numbered resource pairs, their INI copies in the
// extraction folder, and the copies of them already installed in a target.
#include "installer/engine/Myfileop_class.h"

#include "installer/config/General_module.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Paths.h"
#include "platform/win/FileSystem.h"

TDatabaseEmbeddedVecAfterTypeMap MyFileOp::GetCatalogue() {
    TDatabaseEmbeddedVec list = EnumerateEmbeddedDatabases();
    if (!ExtractDatabaseInis(list))
        return TDatabaseEmbeddedVecAfterTypeMap();
    return GroupDatabasesByType(list);
}

TDatabaseEmbeddedVec MyFileOp::EnumerateEmbeddedDatabases() {
    TDatabaseEmbeddedVec list;
    for (int n = 1;; ++n) {
        TDatabaseEmbedded entry;
        entry.iniResourceName = Format(u"DB%02dINI", n);
        entry.archiveResourceName = Format(u"DB%02dFULL", n);
        if (!ResourceExists(nullptr, entry.iniResourceName) ||
            !ResourceExists(nullptr, entry.archiveResourceName))
            break;
        list.push_back(entry);
    }
    return list;
}

UnicodeString MyFileOp::GetExtractionFolder() {
    // Without a temporary folder the name alone would be relative to wherever the program was
    // started, and that folder is deleted and recreated; so there is no extraction folder then.
    if (shellOps->tempFolder.IsEmpty())
        return UnicodeString();
    const UnicodeString name = GeneralMod ? GeneralMod->GetExtractionFolderName()
                                          : UnicodeString(u"cad_db_extraction_temp");
    return IncludeTrailingPathDelimiter(IncludeTrailingPathDelimiter(shellOps->tempFolder) + name);
}

bool MyFileOp::ExtractDatabaseInis(TDatabaseEmbeddedVec& list) {
    const UnicodeString folder = GetExtractionFolder();
    if (folder.IsEmpty())
        return false;
    const UnicodeString bare = ExcludeTrailingPathDelimiter(folder);
    try {
        if (DirectoryExists(bare)) {
            win::SetReadOnly(NativePath(bare), false);
            DeletePath(AnsiString(bare), true);
        }
    } catch (const Exception&) {
        return false;
    }
    if (!ForceDirectories(bare))
        return false;
    int n = 0;
    for (TDatabaseEmbedded& entry : list) {
        ++n;
        const UnicodeString path = folder + Format(u"DbIni%02d.ini", n);
        if (!SaveResourceToFile(nullptr, entry.iniResourceName, path, nullptr, nullptr))
            return false;
        entry.iniPath = path;
        if (!ReadEmbeddedDatabaseIni(entry))
            return false;
    }
    return true;
}

TDatabaseEmbeddedVecAfterTypeMap MyFileOp::GroupDatabasesByType(const TDatabaseEmbeddedVec& list) {
    TDatabaseEmbeddedVecAfterTypeMap map;
    for (const TDatabaseEmbedded& entry : list)
        if (IsCompleteEntry(entry))
            map[entry.type].push_back(entry);
    return map;
}

void MyFileOp::CollectInstalledIniCandidates(const UnicodeString& target,
                                             const TDatabaseEmbedded& entry,
                                             std::vector<UnicodeString>& candidates) {
    if (!GeneralMod || !IsPlainTargetName(entry.targetName))
        return;
    switch (entry.type) {
    case dtTiles: {
        const UnicodeString folder = GeneralMod->GetDatabaseFolder(target, dtTiles);
        candidates = ListFiles(folder, ChangeFileExt(entry.targetName, u".ini"));
        break;
    }
    case dtInterior:
    case dtCabinets:
    case dtHhd: {
        const UnicodeString folder =
            GeneralMod->GetDatabaseFolder(target, entry.type) + entry.targetName;
        candidates = ListFiles(IncludeTrailingPathDelimiter(folder), u"*.ini");
        break;
    }
    default:
        break;
    }
}

bool MyFileOp::GetInstalledDatabaseDate(const UnicodeString& target, const TDatabaseEmbedded& entry,
                                        TDatabaseDate& date) {
    std::vector<UnicodeString> candidates;
    CollectInstalledIniCandidates(target, entry, candidates);
    TDatabaseBase record;
    for (const UnicodeString& candidate : candidates) {
        if (!record.databaseName.IsEmpty())
            break;
        ReadInstalledDatabaseIni(candidate, record);
        date = record.mdate;
    }
    return !record.databaseName.IsEmpty();
}
