#include "installer/ui/Target_choice.h"

#include "installer/config/Product_lines.h"
#include "installer/ui/Wizard_texts.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"

namespace {

const UnicodeString kV3Layout = u"V3_I6x86";

bool EndsWith(const UnicodeString& text, const UnicodeString& tail) {
    return text.Length() >= tail.Length() &&
           text.SubString(text.Length() - tail.Length() + 1, tail.Length()) == tail;
}

} // namespace

UnicodeString ListedProgramFolder(const UnicodeString& folder) {
    const UnicodeString bare = ExcludeTrailingPathDelimiter(folder).Trim();
    if (!EndsWith(bare, kV3Layout))
        return folder;
    return IncludeTrailingPathDelimiter(ExtractFileDir(ExcludeTrailingPathDelimiter(folder)));
}

int VersionNameFlag(const UnicodeString& versionText) {
    if (versionText.IsEmpty())
        return 1;
    const char16_t first = versionText[1];
    return first == u'7' || first == u'3' ? 0 : 1;
}

UnicodeString DriveKeyOfPath(const UnicodeString& path) {
    const UnicodeString drive = ExtractFileDrive(path);
    if (drive.IsEmpty())
        return {};
    return drive.SubString(1, 1).UpperCase();
}

bool IsInstallableFolder(const UnicodeString& folder) {
    return !folder.Trim().IsEmpty() && DirectoryExists(folder);
}

TCadAppInstalled ValidateManualFolder(const UnicodeString& pathText, const TDriveMap& drives,
                                      bool catalogueHasFdb, const TProgramFolderCheck& check) {
    const UnicodeString key = DriveKeyOfPath(pathText);
    if (key.IsEmpty() || drives.find(key) == drives.end() || !IsInstallableFolder(pathText))
        return {};
    for (EProductLine line : kManualCheckOrder) {
        bool found = false;
        bool sufficient = false;
        if (check(pathText, line, found, sufficient) && found && (!catalogueHasFdb || sufficient))
            return {line, pathText};
    }
    return {};
}

TCadAppInstalled GetChosenTarget(const TTargetPageState& page) {
    if (page.detectedVisible && page.detectedChecked)
        return page.checkedProgram;
    if (page.manualVisible && page.manualChecked) {
        if (page.pathText.Trim().IsEmpty())
            return {};
        const UnicodeString typed = IncludeTrailingPathDelimiter(page.pathText);
        const bool stillValidated = !page.warningVisible &&
                                    page.manualChoice.productLine != plNone &&
                                    IncludeTrailingPathDelimiter(page.manualChoice.folder) == typed;
        if (stillValidated)
            return {page.manualChoice.productLine, typed};
        return {plNone, typed};
    }
    return {};
}

TProgramList
BuildProgramList(const TCadAppInstalledVec& candidates,
                 const std::function<UnicodeString(const TCadAppInstalled&)>& versionText,
                 const std::function<UnicodeString(EProductLine)>& productName,
                 const std::function<UnicodeString(int)>& text) {
    TProgramList list;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const TCadAppInstalled& candidate = candidates[i];
        const UnicodeString version = versionText(candidate);
        UnicodeString name = productName(candidate.productLine);
        const UnicodeString folder = ListedProgramFolder(candidate.folder);
        if (i == 0)
            list.firstFolder = folder;
        if (!version.IsEmpty() &&
            IsVersionShownInName(candidate.productLine, VersionNameFlag(version)))
            name = name + u" " + version;
        list.entries.push_back(
            {FormatTranslated(text(229), {name, folder}), {candidate.productLine, folder}});
    }
    return list;
}
