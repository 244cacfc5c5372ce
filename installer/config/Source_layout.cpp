// Where the installation source lies, and the fixed name tables other parts read.
#include "installer/config/General_module.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/Paths.h"
#include "platform/win/Folders.h"

bool TGeneralMod::InitSourceLayout(const UnicodeString& folder) {
    installerFolder = folder.IsEmpty() ? IncludeTrailingPathDelimiter(ExecutableFolder())
                                       : IncludeTrailingPathDelimiter(folder);
    sourceSubFolder = UnicodeString();
    installationFilesPath = IncludeTrailingPathDelimiter(installerFolder + sourceSubFolder);

    setupFileName = u"Setup.ini";
    cadEngineExecutable = u"viru.exe";
    makerRootFolderWord = u"Zentravo";
    tilesFolderWord = u"Plytki";
    interiorFolderWord = u"dodatki";
    cabinetsFolderWord = UnicodeString(); // cabinet databases go straight into the program folder
    hhdFolderWord = u"AGD";
    wallsFolderWord = u"WALLS";
    materialsFolderWord = u"DB_MATERIALS";
    materials2FolderWord = u"Materialy";
    materialsSwitched = false;

    static const struct {
        const char16_t* abbreviation;
        EProductLine line;
    } kAbbreviations[] = {
        {u"LM", plLumora},   {u"LMM", plLumoraMarvello}, {u"LMD", plLumoraDemo},
        {u"FX", plFennix},   {u"LMPRO", plLumoraPro},    {u"LMPROD", plLumoraProDemo},
        {u"TSR", plTessaro}, {u"TRM", plTrimora},
    };
    for (const auto& entry : kAbbreviations)
        abbreviationMap[entry.abbreviation] = entry.line;
    for (const auto& [abbreviation, line] : abbreviationMap)
        inverseAbbreviationMap[line] = abbreviation;
    return true;
}

UnicodeString GetLocalAppDataFolder() {
    return UnicodeString(win::LocalAppDataFolder());
}
