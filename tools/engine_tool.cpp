// Runs the installation engine exactly as the installer does and prints what it knows.
//
//   engine_tool [--resources BUNDLE | --manifest FILE]... [--blocks UPDATE INSTALL]
//               COMMAND [ARGS] [-- installer arguments]
//
// Commands:
//   catalogue              the carried databases by type, as the catalogue holds them
//   programs               the detected installations per group and the target candidates in
//                          the order the wizard offers them, with their program versions
//   present FOLDER         the carried databases already installed below a program folder
//   check FOLDER LINE      the program-folder check of a folder for a product line ("LM", ...)
//   running                whether the CAD engine runs
//   start                  the wizard's start-up: stops with text 224 and exit code 3 when the
//                          catalogue is empty or a library cannot be placed, else places the
//                          libraries and prints the licence text
//   libraries              PrepareSystemLibraries alone
//   progress TOTAL DONE DELTA [STATUS] [--commit]
//                          writes the shared-memory progress blocks as the steps do
//   install FOLDER [--layout normal|legacy]
//                          the installation page's work: the decoder placed as at start-up,
//                          the legacy-layout flag from the folder's "kafle.dll" (unless
//                          --layout says), then ExtractArchives, InstallDatabases and
//                          RunCompatibilityPass with real progress bars and status text,
//                          printing a line whenever a bar's percent or the text changes, then
//                          each step's result and the installation log; exit code 2 when a
//                          step failed
//   drives                 the drive scan: the usable drives and the scan's log lines
//
// The resources come from DBI_RESOURCE_FILE or this program itself, unless --resources names a
// packed bundle or --manifest a resource manifest (lines "NAME TYPE FILE"; more than one may be
// given, e.g. the catalogue's and one naming resources/TxtTransl.txt as TXTTRANSL), which is
// packed on the fly. --blocks names other shared-memory blocks than "CAD_UpdateProgress" and
// "CAD_DbInstall", so a trial never disturbs a real installation. Arguments after "--" are the
// installer's command line ("/path:", ...). Exit codes: 0 done, 1 bad arguments, 2 a check that
// answered no, 3 the fatal start-up stop.
#include "installer/config/General_module.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "installer/engine/MMFile.h"
#include "installer/engine/Rtf_text.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "platform/win/ResourceBundle.h"
#include "platform/win/Resources.h"
#include "scene/controls/Sg_progressbar.h"
#include "scene/core/Sg_objects_text.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A bundle packed for this run from manifests; removed before the program ends, whichever way.
std::string packedBundle;

void RemovePackedBundle() {
    if (!packedBundle.empty()) {
        std::error_code ignored;
        fs::remove(packedBundle, ignored);
    }
}

int Usage(const char* why) {
    std::fprintf(
        stderr,
        "engine_tool: %s\n"
        "usage: engine_tool [--resources BUNDLE | --manifest FILE]... [--blocks UPDATE INSTALL]\n"
        "                   COMMAND [ARGS]\n"
        "                   [-- installer arguments]\n"
        "commands: catalogue, programs, present FOLDER, check FOLDER LINE, running,\n"
        "          start, libraries, progress TOTAL DONE DELTA [STATUS] [--commit],\n"
        "          install FOLDER [--layout normal|legacy], drives\n",
        why);
    return 1;
}

std::string Utf8(const UnicodeString& text) {
    return text.ToUtf8();
}

std::string DateText(const TDatabaseDate& date) {
    char text[48];
    std::snprintf(text, sizeof text, "%d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

const char* TypeWord(EDatabaseType type) {
    static const char* const kWords[] = {"TILES", "INTERIOR",  "CABINETS",    "HHD",
                                         "WALLS", "MATERIALS", "DB_MATERIALS"};
    return type >= dtTiles && type <= dtDbMaterials ? kWords[type] : "UNKNOWN";
}

// Packs the resources every manifest names into one bundle; its path, or "" with the reason.
std::string PackManifests(const std::vector<std::string>& manifests) {
    std::vector<win::ResourceSource> sources;
    for (const std::string& manifest : manifests) {
        std::ifstream in(manifest);
        if (!in) {
            std::fprintf(stderr, "engine_tool: cannot read %s\n", manifest.c_str());
            return "";
        }
        const fs::path base = fs::path(manifest).parent_path();
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line);
            std::string name, type, file;
            if (!(fields >> name >> type) || name[0] == '#')
                continue;
            std::getline(fields >> std::ws, file);
            if (!file.empty() && file.back() == '\r')
                file.pop_back();
            const fs::path path = fs::path(file).is_absolute() ? fs::path(file) : base / file;
            sources.push_back({name, type, {}, path.string()});
        }
    }
    const std::string bundle =
        (fs::temp_directory_path() / ("engine_tool-" + std::to_string(::getpid()) + ".res"))
            .string();
    std::ofstream out(bundle, std::ios::binary);
    std::string error;
    if (!win::WriteResourceBundle(out, sources, 0, error)) {
        std::fprintf(stderr, "engine_tool: %s\n", error.c_str());
        return "";
    }
    return bundle;
}

void PrintPrograms(TDoDbInstallThings& engine, const char* title, const TCadAppInstalledVec& list) {
    std::printf("%s:\n", title);
    for (const TCadAppInstalled& app : list) {
        UnicodeString version = u"?";
        engine.GetProgramVersionText(app.folder, app.productLine, version);
        std::printf("  %s %s %s\n",
                    Utf8(GeneralMod->GetProductAbbreviation(app.productLine)).c_str(),
                    Utf8(app.folder).c_str(), Utf8(version).c_str());
    }
}

int Catalogue(TDoDbInstallThings& engine) {
    std::printf("databases: %d\n", engine.GetDatabaseCount());
    for (const auto& [type, entries] : engine.GetCatalogue())
        for (const TDatabaseEmbedded& e : entries)
            std::printf("%s %s/%s name=\"%s\" date=\"%s\" mdate=%s udate=%s target=\"%s\" "
                        "size=%lld fdb=%d\n",
                        TypeWord(type), Utf8(e.iniResourceName).c_str(),
                        Utf8(e.archiveResourceName).c_str(), Utf8(e.databaseName).c_str(),
                        Utf8(e.dateText).c_str(), DateText(e.mdate).c_str(),
                        DateText(e.udate).c_str(), Utf8(e.targetName).c_str(),
                        static_cast<long long>(e.targetSize), e.formatFdb ? 1 : 0);
    return 0;
}

int Programs(TDoDbInstallThings& engine) {
    const TCadAppInstalled& current = engine.currentTarget;
    std::printf("command-line target: %s %s\n",
                Utf8(GeneralMod->GetProductAbbreviation(current.productLine)).c_str(),
                Utf8(current.folder).c_str());
    PrintPrograms(engine, "main product", engine.lumoraPrograms);
    PrintPrograms(engine, "main product, too old", engine.lumoraProgramsTooOld);
    PrintPrograms(engine, "kitchen product", engine.fennixPrograms);
    PrintPrograms(engine, "kitchen product, too old", engine.fennixProgramsTooOld);
    PrintPrograms(engine, "professional", engine.lumoraProPrograms);
    PrintPrograms(engine, "candidates", engine.GetTargetPrograms());
    return 0;
}

int Present(TDoDbInstallThings& engine, const std::string& folder) {
    for (const auto& [entry, date] : engine.FindInstalledDatabases(UnicodeString(folder)))
        std::printf("%s %s \"%s\" installed %s\n", TypeWord(entry.type),
                    Utf8(entry.iniResourceName).c_str(), Utf8(entry.databaseName).c_str(),
                    DateText(date).c_str());
    return 0;
}

int Check(TDoDbInstallThings& engine, const std::string& folder, const std::string& line) {
    const EProductLine product = GeneralMod->ProductLineFromAbbreviation(UnicodeString(line));
    bool present = false, sufficient = false;
    const bool checked =
        engine.CheckProgramFolder(UnicodeString(folder), product, present, sufficient);
    std::printf("checked=%d files=%d versions=%d\n", checked ? 1 : 0, present ? 1 : 0,
                sufficient ? 1 : 0);
    return checked && present && sufficient ? 0 : 2;
}

int Start(TDoDbInstallThings& engine) {
    if (engine.GetDatabaseCount() == 0 || !engine.PrepareSystemLibraries()) {
        RemovePackedBundle();
        ShowFatalErrorAndExit(&engine, GetTranslatedText(GeneralMod, kEmptyCatalogueText));
    }
    std::printf("libraries placed\n");
    TRtfText licence;
    const bool loaded = engine.LoadLicenseText(&licence);
    std::printf("licence %s:\n%s\n", loaded ? "loaded" : "missing",
                Utf8(licence.PlainText()).c_str());
    return 0;
}

int Progress(TDoDbInstallThings& engine, const std::vector<std::string>& args) {
    if (args.size() < 3)
        return Usage("progress needs TOTAL DONE DELTA");
    int64_t total = 0, done = 0, delta = 0;
    if (!TryStrToInt64(UnicodeString(args[0]), total) ||
        !TryStrToInt64(UnicodeString(args[1]), done) ||
        !TryStrToInt64(UnicodeString(args[2]), delta))
        return Usage("progress numbers must be integers");
    bool commit = false;
    UnicodeString status;
    for (size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--commit")
            commit = true;
        else
            status = UnicodeString(args[i]);
    }
    engine.FileOps().WriteInstallTotals(total, done, UnicodeString());
    engine.FileOps().WriteUpdateProgress(delta, status, commit);
    return 0;
}

// A bar that prints a line whenever its whole percent changes.
class PrintingBar : public TsgProgressBar {
public:
    explicit PrintingBar(const char* name) : TsgProgressBar(nullptr), name_(name) {}

protected:
    void Realign() override {
        const float range = Max() - Min();
        const int percent = range > 0 ? static_cast<int>((Value() - Min()) * 100.0f / range) : 0;
        if (percent == shown_)
            return;
        shown_ = percent;
        std::printf("%s bar %d%%\n", name_, percent);
        std::fflush(stdout);
    }

private:
    const char* name_;
    int shown_ = -1;
};

// A status text that prints every new text.
class PrintingText : public TsgText {
public:
    PrintingText() : TsgText(nullptr) {}

protected:
    void Repaint() override {
        std::printf("status: %s\n", Text().ToUtf8().c_str());
        std::fflush(stdout);
    }
};

int Install(TDoDbInstallThings& engine, const std::vector<std::string>& args) {
    if (args.empty())
        return Usage("install needs FOLDER");
    const UnicodeString target(args[0]);
    std::string layout;
    for (size_t i = 1; i + 1 < args.size(); i += 2)
        if (args[i] == "--layout")
            layout = args[i + 1];
    if (!layout.empty() && layout != "normal" && layout != "legacy")
        return Usage("--layout is normal or legacy");
    if (!engine.PrepareSystemLibraries()) {
        std::fprintf(stderr, "engine_tool: the decoder library could not be placed\n");
        return 2;
    }
    bool legacy = !engine.IsTargetVersionNew(target) && engine.IsTargetVersionLegacy(target);
    if (!layout.empty())
        legacy = layout == "legacy";
    std::printf("layout: %s\n", legacy ? "legacy" : "normal");
    PrintingBar mainBar("main"), subBar("sub");
    PrintingText status;
    const bool extracted = engine.ExtractArchives(&mainBar, &subBar, &status);
    std::printf("extract: %s\n", extracted ? "ok" : "failed");
    const bool installed = engine.InstallDatabases(target, &mainBar, &subBar, &status, legacy);
    std::printf("install: %s\n", installed ? "ok" : "failed");
    engine.RunCompatibilityPass(target);
    std::printf("compatibility pass done\n");
    for (int i = 0; i < GeneralMod->installLog->Count(); ++i)
        std::printf("log: %s\n", Utf8((*GeneralMod->installLog)[i]).c_str());
    for (const auto& [type, entries] : engine.GetCatalogue())
        for (const TDatabaseEmbedded& e : entries)
            std::printf("installed %s %s into %s\n", TypeWord(type),
                        Utf8(e.archiveResourceName).c_str(), Utf8(e.installedFolder).c_str());
    return extracted && installed ? 0 : 2;
}

int Drives(TDoDbInstallThings& engine) {
    const int before = GeneralMod->startupLog->Count();
    const TLogicalDriveFoundVec drives = engine.FileOps().FindLogicalDrives();
    for (int i = before; i < GeneralMod->startupLog->Count(); ++i)
        std::printf("log: %s\n", Utf8((*GeneralMod->startupLog)[i]).c_str());
    for (const TLogicalDriveFound& drive : drives)
        std::printf("drive %s: free %s of %s bytes\n", Utf8(drive.letter).c_str(),
                    MyFileOp::FormatByteCount(drive.freeBytes).c_str(),
                    MyFileOp::FormatByteCount(drive.totalBytes).c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> manifests;
    std::string bundle;
    std::vector<std::string> args;
    std::vector<UnicodeString> installerLine{ExecutableFileName()};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            for (++i; i < argc; ++i)
                installerLine.push_back(UnicodeString(argv[i]));
            break;
        }
        if (arg == "--blocks" && i + 2 < argc) {
            SetProgressBlockNames(argv[i + 1], argv[i + 2]);
            i += 2;
        } else if ((arg == "--resources" || arg == "--manifest") && i + 1 < argc)
            (arg == "--resources" ? bundle : manifests.emplace_back()) = argv[++i];
        else
            args.push_back(arg);
    }
    if (args.empty())
        return Usage("no command");
    if (!manifests.empty()) {
        bundle = PackManifests(manifests);
        if (bundle.empty())
            return 1;
    }
    if (!bundle.empty())
        win::SetResourceFile(bundle);
    if (!manifests.empty())
        packedBundle = bundle;
    SetCommandLine(installerLine);

    int result = 1;
    try {
        TGeneralMod module(nullptr);
        GeneralMod = &module;
        TDoDbInstallThings engine;
        const std::string& command = args[0];
        if (command == "catalogue")
            result = Catalogue(engine);
        else if (command == "programs")
            result = Programs(engine);
        else if (command == "present" && args.size() == 2)
            result = Present(engine, args[1]);
        else if (command == "check" && args.size() == 3)
            result = Check(engine, args[1], args[2]);
        else if (command == "running") {
            const bool running = engine.IsCadProgramRunning();
            std::printf("running=%d\n", running ? 1 : 0);
            result = running ? 0 : 2;
        } else if (command == "start")
            result = Start(engine);
        else if (command == "libraries")
            result = engine.PrepareSystemLibraries() ? (std::printf("placed\n"), 0) : 2;
        else if (command == "install")
            result = Install(engine, std::vector<std::string>(args.begin() + 1, args.end()));
        else if (command == "drives")
            result = Drives(engine);
        else if (command == "progress")
            result = Progress(engine, std::vector<std::string>(args.begin() + 1, args.end()));
        else
            result = Usage("unknown command or wrong arguments");
        GeneralMod = nullptr;
    } catch (const Exception& error) {
        std::fprintf(stderr, "engine_tool: %s\n", error.what());
        result = 3;
    }
    RemovePackedBundle();
    return result;
}
