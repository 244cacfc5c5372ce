// Which installations of the maker's programs can take the carried databases, and in which
// order the wizard offers them.
#include "installer/config/General_module.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/FileSystem.h"

namespace {

const UnicodeString kEngineSubFolder = u"V3_I6x86";

// The engine sub-folder is looked up as the platform finds names, whatever their case, as the
// target-library check of the compatibility pass finds it.
bool HasEngineSubFolder(const UnicodeString& base) {
    return DirectoryExists(IncludeTrailingPathDelimiter(base) + kEngineSubFolder);
}

// Whether the folder's last eight characters, trimmed, are the engine sub-folder's name, in any
// case.
bool IsEngineSubFolderPath(const UnicodeString& folder) {
    const UnicodeString bare = ExcludeTrailingPathDelimiter(folder);
    const int length = kEngineSubFolder.Length();
    return bare.Length() >= length &&
           SameText(Trim(bare.SubString(bare.Length() - length + 1, length)), kEngineSubFolder);
}

bool SameFolder(const UnicodeString& a, const UnicodeString& b) {
    return IncludeTrailingPathDelimiter(LowerCase(Trim(a))) ==
           IncludeTrailingPathDelimiter(LowerCase(Trim(b)));
}

void Append(TCadAppInstalledVec& to, const TCadAppInstalledVec& from) {
    to.insert(to.end(), from.begin(), from.end());
}

} // namespace

void TProgramFileCheck::operator()() const {
    filesPresent = true;
    versionsSufficient = true;
    for (const TProgramFileForCheckup& file : files) {
        if (!filesPresent)
            break;
        const UnicodeString path = folder + file.fileName;
        filesPresent = FileExists(path);
        int major = -1, minor = -1;
        engine->fileOps->Shell().GetFileVersion2(path, major, minor);
        versionsSufficient =
            versionsSufficient && filesPresent &&
            (file.minMajor < major || (file.minMajor == major && minor >= file.minMinor));
    }
}

bool TDoDbInstallThings::CheckProgramFolder(const UnicodeString& folder, EProductLine line,
                                            bool& filesPresent, bool& versionsSufficient) {
    if (!GeneralMod || folder.IsEmpty() ||
        fileOps->IsFolderEmpty(IncludeTrailingPathDelimiter(folder)))
        return false;
    UnicodeString base = ExcludeTrailingPathDelimiter(folder);
    if (IsEngineSubFolderPath(base))
        base = base.SubString(1, base.Length() - kEngineSubFolder.Length());
    base = IncludeTrailingPathDelimiter(base);

    const bool hasSubFolder = HasEngineSubFolder(base);
    if (hasSubFolder)
        TProgramFileCheck{this, base + kEngineSubFolder + u"/",
                          GeneralMod->GetFilesToCheck(line, 0), filesPresent, versionsSufficient}();
    if (!hasSubFolder || !filesPresent)
        TProgramFileCheck{this, base, GeneralMod->GetFilesToCheck(line, 1), filesPresent,
                          versionsSufficient}();
    return true;
}

bool TDoDbInstallThings::IsCadProgramRunning() {
    const UnicodeString names[] = {GeneralMod ? GeneralMod->cadEngineExecutable
                                              : UnicodeString(u"viru.exe")};
    for (const UnicodeString& name : names)
        if (fileOps->Shell().CheckProcess(AnsiString(name), false))
            return true;
    return false;
}

void TDoDbInstallThings::DetectInstalledPrograms() {
    currentTarget = TCadAppInstalled{};
    lumoraPrograms.clear();
    fennixPrograms.clear();
    lumoraProPrograms.clear();
    lumoraProgramsTooOld.clear();
    fennixProgramsTooOld.clear();
    targetCandidates.clear();
    if (!GeneralMod)
        return;

    bool present = false, sufficient = false;
    if (GeneralMod->programMode == pmDatabaseInstaller && !GeneralMod->updateFolder.IsEmpty() &&
        GeneralMod->updateProduct != plNone &&
        CheckProgramFolder(GeneralMod->updateFolder, GeneralMod->updateProduct, present,
                           sufficient) &&
        present)
        currentTarget = {GeneralMod->updateProduct,
                         IncludeTrailingPathDelimiter(GeneralMod->updateFolder)};

    struct GroupLists {
        std::vector<EProductLine> lines;
        TCadAppInstalledVec* passing;
        TCadAppInstalledVec* tooOld; // nullptr: too-old installations are dropped
    };
    const GroupLists groups[] = {
        {{plLumora, plLumoraMarvello, plLumoraDemo}, &lumoraPrograms, &lumoraProgramsTooOld},
        {{plFennix}, &fennixPrograms, &fennixProgramsTooOld},
        {{plLumoraPro, plLumoraProDemo}, &lumoraProPrograms, nullptr},
    };
    for (const GroupLists& group : groups)
        for (EProductLine line : group.lines) {
            const UnicodeString folder = GeneralMod->GetInstalledPath(line);
            if (folder.IsEmpty())
                continue;
            present = sufficient = false;
            if (!CheckProgramFolder(folder, line, present, sufficient) || !present)
                continue;
            const TCadAppInstalled found{line, IncludeTrailingPathDelimiter(folder)};
            if (sufficient)
                group.passing->push_back(found);
            else if (group.tooOld)
                group.tooOld->push_back(found);
        }

    for (EDatabaseType type : GetDatabaseTypes()) {
        if (type == dtTiles) {
            bool fdb = false;
            for (const TDatabaseEmbedded& entry : catalogue[dtTiles])
                fdb = fdb || entry.formatFdb;
            if (fdb) {
                lumoraProgramsTooOld.clear();
                fennixProgramsTooOld.clear();
            }
        } else if (type == dtCabinets || type == dtHhd) {
            lumoraPrograms.clear();
            lumoraProgramsTooOld.clear();
        }
    }

    if (!lumoraPrograms.empty())
        lumoraProgramsTooOld.clear();
    if (!fennixPrograms.empty())
        fennixProgramsTooOld.clear();
    if (!lumoraProPrograms.empty()) {
        lumoraProgramsTooOld.clear();
        fennixProgramsTooOld.clear();
    }

    const EDatabaseType firstType = catalogue.empty() ? dtUnknown : catalogue.begin()->first;
    const bool hasCurrent = currentTarget.productLine != plNone && !currentTarget.folder.IsEmpty();
    if (hasCurrent)
        targetCandidates.push_back(currentTarget);
    for (EProductGroup group : GetProductGroupsForDatabaseType(firstType)) {
        if (group == pgLumora)
            Append(targetCandidates,
                   lumoraPrograms.empty() ? lumoraProgramsTooOld : lumoraPrograms);
        else if (group == pgFennix)
            Append(targetCandidates,
                   fennixPrograms.empty() ? fennixProgramsTooOld : fennixPrograms);
        else if (group == pgLumoraPro)
            Append(targetCandidates, lumoraProPrograms);
    }

    if (hasCurrent && targetCandidates.size() > 1)
        for (size_t i = 1; i < targetCandidates.size(); ++i)
            if (SameFolder(targetCandidates[i].folder, currentTarget.folder)) {
                targetCandidates.erase(targetCandidates.begin() + static_cast<long>(i));
                break;
            }
}

bool TDoDbInstallThings::GetProgramVersionText(const UnicodeString& folder, EProductLine line,
                                               UnicodeString& text) {
    if (folder.IsEmpty() || !GeneralMod)
        return false;
    const int layoutFlag = IsEngineSubFolderPath(folder) ? 0 : 1;
    const UnicodeString executable =
        IncludeTrailingPathDelimiter(folder) + GeneralMod->GetProductExecutable(line, layoutFlag);
    if (!FileExists(executable))
        return false;
    int major = -1, minor = -1;
    fileOps->Shell().GetFileVersion2(executable, major, minor);
    text = Format(u"%d.%d", major, minor);
    return true;
}
