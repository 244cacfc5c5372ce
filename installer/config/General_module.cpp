// Construction of the configuration module: the start-up sequence and its log lines.
#include "installer/config/General_module.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/StringList.h"
#include "platform/win/WindowsPath.h"
#include "scene/core/Sg_bitmap.h"

TGeneralMod* GeneralMod = nullptr;

TGeneralMod::TGeneralMod(TComponent* owner)
    : TComponent(owner), translationTable(std::make_unique<TStringList>()),
      startupLog(std::make_unique<TStringList>()), installLog(std::make_unique<TStringList>()) {
    // Registry values and command-line folders may be Windows-style paths; every file test of
    // the start-up must see them through the drive map.
    win::InstallPathResolvers();
    testFlag = false;
    configurationOk = RunStartupSequence();
    ClearTranslations();
    InitLanguage();
    AppendStartupLogLines();
}

TGeneralMod::~TGeneralMod() {
    DataModuleDestroy(this);
}

void TGeneralMod::DataModuleDestroy(TObject* /*sender*/) {
    translationTable.reset();
    languages.clear();
    startupLog.reset();
    installLog.reset();
}

bool TGeneralMod::RunStartupSequence() {
    // Every step runs whatever the earlier ones answered; only the AND is kept.
    bool ok = InitSourceLayout(UnicodeString());
    ok = ReadProcessorInfo() && ok;
    ok = DetectSystem() && ok;
    ok = ReadSetupIni() && ok;
    ok = ReadSetupIniProductKeys() && ok;
    ok = DetectInstalledProducts() && ok;
    ok = ReadRootPaths() && ok;
    ok = SetManualsFolder() && ok;
    ok = ParseCommandLine() && ok;
    return ok;
}

void TGeneralMod::AppendStartupLogLines() {
    TStringList& log = *startupLog;
    log.Add(u"CPU: " + processorName + u", MHz: " + IntToStr(processorMhz));
    log.Add(u"System: " + platformText + u" (" + IntToStr(windowsVersionCode) + u", " +
            (is64Bit ? u"64" : u"32") + u" bit)");
    log.Add(UnicodeString(u"Admin rights: ") + (isAdmin ? u"Present" : u"Can't determine"));
    log.Add(u"Product name: " + GetStartupProductName());
    log.Add(u"Installation files path: " + installationFilesPath);
    auto orNone = [](const UnicodeString& folder) {
        return folder.IsEmpty() ? UnicodeString(u"[NONE]") : folder;
    };
    log.Add(u"Elder installation path found for CAD Lumora: " + orNone(elderPathLumora));
    log.Add(u"Elder installation path found for CAD Lumora Marvello: " +
            orNone(elderPathLumoraMarvello));
    log.Add(u"Elder installation path found for CAD Fennix: " + orNone(elderPathFennix));
    for (const auto& [line, folder] : installedProducts)
        log.Add(u"Current installation path found for \"" + GetProductName(line) + u"\": " +
                folder);
    const char16_t* mode = u"Unknown";
    if (programMode == pmStandard)
        mode = u"Standard";
    else if (programMode == pmUpdate)
        mode = u"Update";
    else if (programMode == pmUninstall)
        mode = u"Uninstall";
    log.Add(UnicodeString(u"Program mode: ") + mode);
    if (!updateFolder.IsEmpty())
        log.Add(u"Update path: " + updateFolder);
    if (updateProduct != plNone)
        log.Add(u"Update product: " + GetProductName(updateProduct));
}
