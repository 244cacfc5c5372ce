// The product-line tables of the configuration module.
#include "installer/config/Product_lines.h"
#include "installer/config/General_module.h"
#include "platform/rtl/StringUtils.h"

namespace {

bool IsKnownLine(EProductLine line) {
    return line >= plLumora && line <= plTrimora;
}

// The engine sub-folder whose executables carry the older, upper-case names.
const UnicodeString kEngineSubFolder = u"V3_I6x86";

} // namespace

EProductLine TGeneralMod::ProductLineFromAbbreviation(const UnicodeString& abbreviation) const {
    auto found = abbreviationMap.find(UpperCase(Trim(abbreviation)));
    return found == abbreviationMap.end() ? plNone : found->second;
}

UnicodeString TGeneralMod::GetProductAbbreviation(EProductLine line) const {
    auto found = inverseAbbreviationMap.find(line);
    return found == inverseAbbreviationMap.end() ? UnicodeString() : found->second;
}

UnicodeString TGeneralMod::GetProductName(EProductLine line) const {
    switch (line) {
    case plTessaro:
        return GetTranslatedText(this, 284);
    case plTrimora:
        return GetTranslatedText(this, 273);
    default:
        // Lines 1 to 6 have the texts of their own numbers; anything else reads like line 1.
        return GetTranslatedText(this, line >= plLumora && line <= plLumoraProDemo ? line : 1);
    }
}

UnicodeString TGeneralMod::GetStartupProductName() const {
    return GetProductName(programMode == pmUninstall ? updateProduct : sourceProductLine);
}

UnicodeString TGeneralMod::GetSetupExePath(int flag) const {
    return flag == 0 ? exePathValue : exePathTestValue;
}

UnicodeString TGeneralMod::GetProductExecutable(EProductLine line, int layoutFlag) const {
    const bool upperCaseSet = GetSetupExePath(0) == kEngineSubFolder || layoutFlag == 0;
    switch (line) {
    case plLumora:
    case plLumoraDemo:
        return upperCaseSet ? u"CADLumora.exe" : u"CadLumora.exe";
    case plLumoraMarvello:
        return upperCaseSet ? u"CADLumora_Marvello.exe" : u"CadLumora_Marvello.exe";
    case plFennix:
        return upperCaseSet ? u"CADFennix.exe" : u"CadFennix.exe";
    case plLumoraPro:
    case plLumoraProDemo:
        return upperCaseSet ? u"CADLumoraPro.exe" : u"CadLumoraPro.exe";
    default:
        return u"CadNothing.exe";
    }
}

UnicodeString TGeneralMod::GetProductFolderWord() const {
    switch (sourceProductLine) {
    case plLumora:
        return u"CadLumora";
    case plLumoraMarvello:
        return u"CadLumoraMarvello";
    case plLumoraDemo:
        return u"CadLumoraDemo";
    case plFennix:
        return u"CadFennix";
    case plLumoraPro:
        return u"CadLumoraPro";
    case plLumoraProDemo:
        return u"CadLumoraProDemo";
    default:
        return u"CadNothing";
    }
}

UnicodeString TGeneralMod::GetMakerRegistryKey() const {
    return u"SOFTWARE\\ZENTRAVO";
}

UnicodeString TGeneralMod::GetInstallationsKey() const {
    return GetMakerRegistryKey() + u"\\INSTALLATIONS";
}

UnicodeString TGeneralMod::GetMainPathsKey() const {
    return GetMakerRegistryKey() + u"\\MAINPATHS";
}

UnicodeString TGeneralMod::GetProductRegistryKey(EProductLine line, int generation) const {
    struct KeyRow {
        const char16_t* current;
        const char16_t* previous;
        const char16_t* legacy;
    };
    static const KeyRow kNothing = {u"\\CADNOTHING", u"\\CADNOTHING",
                                    u"\\CADNOTHING\\INSTALLATIONS"};
    static const KeyRow kRows[] = {
        kNothing,
        {u"\\CADLUMORA3", u"\\CADLUMORA2", u"\\CADLUMORA\\INSTALLATIONS"},
        {u"\\CADLUMORA3", u"\\CADLUMORA2", u"\\CADLUMORA_MARVELLO\\INSTALLATIONS"},
        {u"\\CADLUMORA3", u"\\CADLUMORA2", u"\\CADLUMORA\\INSTALLATIONS"},
        {u"\\CADFENNIX7", u"\\CADFENNIX6", u"\\CADFENNIX\\INSTALLATIONS"},
        {u"\\CADLUMORAPRO3", u"\\CADLUMORAPRO", u"\\PLEASEDONTFINDME"},
        {u"\\CADLUMORAPRO3", u"\\CADLUMORAPRO", u"\\PLEASEDONTFINDME"},
        {u"\\TESSARO", u"\\CADNOTHING", u"\\CADNOTHING\\INSTALLATIONS"},
        {u"\\CADTrimora2", u"\\CADNOTHING", u"\\CADNOTHING\\INSTALLATIONS"},
    };
    const KeyRow& row = IsKnownLine(line) ? kRows[line] : kNothing;
    const char16_t* subKey = u"\\CADNOTHING";
    if (generation == kGenerationCurrent)
        subKey = row.current;
    else if (generation == kGenerationPrevious)
        subKey = row.previous;
    else if (generation == kGenerationLegacy)
        subKey = row.legacy;
    return GetMakerRegistryKey() + subKey;
}

std::vector<TProgramFileForCheckup> TGeneralMod::GetFilesToCheck(EProductLine line,
                                                                 int layoutFlag) const {
    // Programs laid out with the engine sub-folder are one major version further on.
    const int step = layoutFlag == 0 ? 1 : 0;
    return {
        {GetProductExecutable(line, layoutFlag), (line == plFennix ? 6 : 2) + step, 0},
        {u"Manager.dll", 6 + step, 0},
        {u"kafle.dll", 2 + step, 0},
    };
}

bool IsVersionShownInName(EProductLine line, int flag) {
    if (flag == 0)
        return true;
    return line != plLumoraPro && line != plLumoraProDemo;
}
