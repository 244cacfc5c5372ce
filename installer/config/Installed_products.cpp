// Installed programs as the registry records them, the maker's root folder and the manuals.
//
// Nothing here writes to the registry. A missing key, value or folder simply means no
// installation; a value of the wrong data type makes TRegistry raise, and that error is left
// to end the start-up.
#include "installer/config/General_module.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/Registry.h"

#include <array>

namespace {

// The order in which lines take a folder that several records name.
constexpr std::array<EProductLine, 8> kDetectionOrder = {
    plLumoraPro,     plFennix,     plLumora,  plLumoraMarvello,
    plLumoraProDemo, plLumoraDemo, plTessaro, plTrimora,
};

UnicodeString ComparableFolder(const UnicodeString& folder) {
    return IncludeTrailingPathDelimiter(LowerCase(Trim(folder)));
}

bool IsAlreadyDetected(const std::map<EProductLine, UnicodeString>& detected,
                       const UnicodeString& folder) {
    const UnicodeString wanted = ComparableFolder(folder);
    for (const auto& [line, known] : detected)
        if (ComparableFolder(known) == wanted)
            return true;
    return false;
}

// Gives the line the folder the open key's value names, when the value is set, the folder
// exists and no line has taken it yet.
void AdoptRecordedFolder(TRegistry& reg, const UnicodeString& valueName, EProductLine line,
                         std::map<EProductLine, UnicodeString>& detected) {
    if (!reg.ValueExists(valueName))
        return;
    const UnicodeString folder = reg.ReadString(valueName);
    if (!folder.IsEmpty() && !IsAlreadyDetected(detected, folder) && DirectoryExists(folder))
        detected[line] = IncludeTrailingPathDelimiter(folder);
}

// The folder of the latest-dated named value of a legacy key; of equal dates the first listed
// wins.
UnicodeString LatestLegacyFolder(TRegistry& reg) {
    UnicodeString candidate;
    bool first = true;
    double best = 0;
    for (const UnicodeString& name : reg.GetValueNames()) {
        // The value names are the folders: a default value names none, and must not win the
        // comparison and hide the named folders.
        if (name.IsEmpty())
            continue;
        const double date = reg.ReadDateTime(name);
        if (first || date > best) {
            best = date;
            candidate = name;
            first = false;
        }
    }
    return candidate.IsEmpty() ? candidate : IncludeTrailingPathDelimiter(candidate);
}

UnicodeString ComparableRoot(const UnicodeString& path) {
    return LowerCase(ExcludeTrailingPathDelimiter(path));
}

} // namespace

bool TGeneralMod::DetectInstalledProducts() {
    TRegistry reg;

    // Pass A: installations of an older generation, which only the start-up log reports.
    elderPathLumora = elderPathLumoraMarvello = elderPathFennix = UnicodeString();
    reg.RootKey = HKEY_CURRENT_USER;
    for (EProductLine line : {plLumora, plLumoraMarvello, plFennix}) {
        UnicodeString candidate;
        if (reg.OpenKey(GetProductRegistryKey(line, kGenerationLegacy), false)) {
            candidate = LatestLegacyFolder(reg);
            reg.CloseKey();
        }
        if (candidate.IsEmpty() &&
            reg.OpenKey(GetProductRegistryKey(line, kGenerationPrevious), false)) {
            if (reg.ValueExists(u"runfrom")) {
                const UnicodeString runFrom = reg.ReadString(u"runfrom");
                if (!runFrom.IsEmpty())
                    candidate = IncludeTrailingPathDelimiter(runFrom);
            }
            reg.CloseKey();
        }
        if (!candidate.IsEmpty() && DirectoryExists(candidate))
            elderInstalledProducts[line] = candidate;
    }
    elderPathLumora = GetElderInstalledPath(plLumora);
    elderPathLumoraMarvello = GetElderInstalledPath(plLumoraMarvello);
    elderPathFennix = GetElderInstalledPath(plFennix);

    // Pass B: the installation records, machine first, so a line recorded in both keeps the
    // machine's folder.
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        reg.RootKey = root;
        if (!reg.OpenKey(GetInstallationsKey(), false))
            continue;
        std::map<EProductLine, UnicodeString> recordNames;
        for (EProductLine line : kDetectionOrder) {
            const UnicodeString abbreviation = GetProductAbbreviation(line);
            if (reg.ValueExists(abbreviation)) {
                const UnicodeString record = reg.ReadString(abbreviation);
                if (!record.IsEmpty())
                    recordNames[line] = record;
            }
        }
        reg.CloseKey();
        for (EProductLine line : kDetectionOrder) {
            auto record = recordNames.find(line);
            if (record == recordNames.end() || installedProducts.count(line))
                continue;
            if (!reg.OpenKey(GetInstallationsKey() + u"\\" + record->second, false))
                continue;
            AdoptRecordedFolder(reg, u"PATH", line, installedProducts);
            reg.CloseKey();
        }
    }

    // Pass C: the current generation's own record replaces what pass B found for its line.
    reg.RootKey = HKEY_CURRENT_USER;
    for (EProductLine line : kDetectionOrder) {
        if (!reg.OpenKey(GetProductRegistryKey(line, kGenerationCurrent), false))
            continue;
        AdoptRecordedFolder(reg, u"runfrom", line, installedProducts);
        reg.CloseKey();
    }
    return true;
}

bool TGeneralMod::ReadRootPaths() {
    rootPath = UnicodeString();
    TRegistry reg;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        reg.RootKey = root;
        if (!reg.OpenKey(GetMainPathsKey(), false))
            continue;
        if (reg.ValueExists(u"RootPath")) {
            const UnicodeString value = reg.ReadString(u"RootPath");
            if (!Trim(value).IsEmpty() && DirectoryExists(value) && IsMakerRootFolder(value))
                rootPath = IncludeTrailingPathDelimiter(value);
        }
        reg.CloseKey();
        if (!rootPath.IsEmpty())
            break;
    }
    return true;
}

bool TGeneralMod::SetManualsFolder() {
    manualsWord = u"manuals";
    manualsFolder = u"Zentravo Manuals" + UnicodeString(PathDelim, 1) + GetProductFolderWord();
    return true;
}

UnicodeString TGeneralMod::GetInstalledPath(EProductLine line) const {
    auto found = installedProducts.find(line);
    return found == installedProducts.end() ? UnicodeString() : found->second;
}

UnicodeString TGeneralMod::GetElderInstalledPath(EProductLine line) const {
    auto found = elderInstalledProducts.find(line);
    return found == elderInstalledProducts.end() ? UnicodeString() : found->second;
}

bool TGeneralMod::IsMakerRootFolder(const UnicodeString& path) const {
    // Only a folder named by the maker word directly below a drive's root counts. The drive
    // letter comes from the drive map, so a native path below a drive's folder is compared
    // through its native form as well as in the Windows spelling a registry value may hold.
    const UnicodeString drive = ExtractFileDrive(path);
    if (drive.IsEmpty() || drive[1] == u'\\' || drive[1] == u'/')
        return false;
    const UnicodeString root = UnicodeString(drive[1], 1) + u":\\" + makerRootFolderWord;
    if (ComparableRoot(root) == ComparableRoot(path))
        return true;
    const std::string nativeRoot = NativePath(root);
    return !nativeRoot.empty() && ComparableRoot(UnicodeString(nativeRoot)) ==
                                      ComparableRoot(UnicodeString(NativePath(path)));
}
