// How long the engine takes to install a catalogue of several hundred megabytes (archive
// copies out of the resources, unpacking into the database folders with progress, the
// compatibility pass), against `cp` of the same archives plus `7z x -mmt=1` of each into the
// same folders, measured in the same run. The target is a ratio of at most 1.3.
//
//   engine_install_bench [MEGABYTES [DECODER]]
//
// MEGABYTES is the unpacked size of the catalogue (default 300); DECODER the decoder library
// (default /usr/lib/p7zip/7z.so). The catalogue is made in a scratch folder with the 7z command
// and removed at the end; five rounds alternate the sides, and the min, median and max of each
// side and of the per-round ratio are printed.
#include "installer/archive/sevenzip.h"
#include "installer/config/General_module.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "installer/engine/MMFile.h"
#include "platform/rtl/TextEncoding.h"
#include "platform/win/ResourceBundle.h"
#include "platform/win/Resources.h"
#include "platform/win/SharedMemory.h"
#include "scene/controls/Sg_progressbar.h"
#include "scene/core/Sg_objects_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kPassword = "kura_pomorska_zielona";
constexpr int kRounds = 5;

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool Run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One database of the catalogue: where its files go, and how.
struct Database {
    const char* type;
    const char* targetName;
    const char* folder; // below the program folder
    double share;       // of the catalogue's size
    bool compressible;
    int fileCount;
};

const Database kDatabases[] = {
    {"TILES", "Kafle.mdb", "Plytki", 0.40, false, 40},
    {"INTERIOR", "Meble", "dodatki/Meble", 0.30, true, 300},
    {"CABINETS", "Szafki", "Szafki", 0.20, false, 20},
    {"WALLS", "", "WALLS", 0.10, true, 2000},
};

// Writes one database's files: pictures and models (random bytes) or text-like data.
int64_t WriteFiles(const fs::path& folder, const Database& db, int64_t bytes,
                   std::mt19937_64& rng) {
    int64_t written = 0;
    const int64_t each = std::max<int64_t>(1, bytes / db.fileCount);
    for (int i = 0; i < db.fileCount; ++i) {
        const fs::path file = folder / ("sub" + std::to_string(i % 7)) /
                              ("file" + std::to_string(i) + (db.compressible ? ".txt" : ".bin"));
        fs::create_directories(file.parent_path());
        std::string content(static_cast<size_t>(each), '\0');
        if (db.compressible) {
            static const char* const words[] = {"tile ", "oak ", "kitchen ", "12.5 ", "wall\n"};
            size_t at = 0;
            while (at < content.size()) {
                const char* word = words[rng() % 5];
                const size_t n = std::min(std::strlen(word), content.size() - at);
                std::memcpy(&content[at], word, n);
                at += n;
            }
        } else {
            for (size_t at = 0; at + 8 <= content.size(); at += 8) {
                const uint64_t word = rng();
                std::memcpy(&content[at], &word, 8);
            }
        }
        std::ofstream(file, std::ios::binary) << content;
        written += each;
    }
    return written;
}

std::vector<uint8_t> Utf16Ini(const std::string& text) {
    const std::string bytes = EncodeText(UnicodeString(text), TTextEncoding::Utf16LE);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

struct Spread {
    double min, median, max;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

class ProgressBar : public TsgProgressBar {
public:
    ProgressBar() : TsgProgressBar(nullptr) {}
};

class StatusText : public TsgText {
public:
    StatusText() : TsgText(nullptr) {}
};

} // namespace

int main(int argc, char** argv) {
    const int64_t megabytes = argc > 1 ? std::atoll(argv[1]) : 300;
    const std::string decoder = argc > 2 ? argv[2] : "/usr/lib/p7zip/7z.so";
    if (megabytes <= 0) {
        std::fprintf(stderr, "usage: engine_install_bench [MEGABYTES [DECODER]]\n");
        return 1;
    }
    char pattern[] = "/tmp/engine-install-bench-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::perror("engine_install_bench");
        return 1;
    }
    const fs::path scratch = pattern;
    const std::string pid = std::to_string(::getpid());
    ::setenv("DBI_TEMP_DIR", (scratch / "temp").c_str(), 1);
    ::setenv("DBI_SYSTEM_DIR", (scratch / "system32").c_str(), 1);
    ::setenv("DBI_REGISTRY_MACHINE", (scratch / "machine.reg").c_str(), 1);
    ::setenv("DBI_REGISTRY_USER", (scratch / "user.reg").c_str(), 1);
    fs::create_directories(scratch / "temp");
    SetProgressBlockNames("dbi-bench-" + pid + "-update", "dbi-bench-" + pid + "-install");

    // The catalogue: files, archives, INIs, the bundle.
    std::printf("making a catalogue of %lld MB...\n", static_cast<long long>(megabytes));
    std::fflush(stdout);
    std::mt19937_64 rng(2024);
    std::vector<win::ResourceSource> resources;
    std::vector<fs::path> archives;
    int n = 0;
    for (const Database& db : kDatabases) {
        ++n;
        const fs::path source = scratch / ("source" + std::to_string(n));
        const int64_t size = WriteFiles(
            source, db, static_cast<int64_t>(db.share * static_cast<double>(megabytes) * 1048576.0),
            rng);
        const fs::path archive = scratch / ("archives/DB" + std::to_string(n) + ".7z");
        fs::create_directories(archive.parent_path());
        if (!Run("cd " + Quote(source.string()) + " && 7z a -bd -mx=1 -p" + kPassword + " " +
                 Quote(archive.string()) + " . >/dev/null")) {
            std::fprintf(stderr, "engine_install_bench: 7z a failed\n");
            return 1;
        }
        fs::remove_all(source);
        archives.push_back(archive);
        char name[16];
        std::snprintf(name, sizeof name, "DB%02d", n);
        const std::string ini = std::string("[info]\r\nBAZA=Bench ") + std::to_string(n) +
                                "\r\n[SKLEP]\r\n[INSTALL]\r\nTYPE=" + db.type +
                                "\r\nTARGETNAME=" + db.targetName +
                                "\r\nTARGETSIZE=" + std::to_string(size) + "\r\n";
        resources.push_back({std::string(name) + "INI", "RCDATA", Utf16Ini(ini), ""});
        resources.push_back({std::string(name) + "FULL", "RCDATA", {}, archive.string()});
    }
    const char* source = std::getenv("DBI_SOURCE_DIR");
    const fs::path sourceDir =
        source ? fs::path(source) : fs::path(__FILE__).parent_path().parent_path();
    const fs::path texts = sourceDir / "resources/TxtTransl.txt";
    resources.push_back({"TXTTRANSL", "RCDATA", {}, texts.string()});
    const fs::path bundle = scratch / "bundle.res";
    {
        std::ofstream out(bundle, std::ios::binary);
        std::string error;
        if (!win::WriteResourceBundle(out, resources, 0, error)) {
            std::fprintf(stderr, "engine_install_bench: %s\n", error.c_str());
            return 1;
        }
    }
    win::SetResourceFile(bundle.string());
    SetSevenZipLibraryFileName(UnicodeString(decoder));

    // Per round: the whole of each side and their archive copies.
    std::vector<double> engineTimes, referenceTimes, engineCopyTimes, referenceCopyTimes;
    {
        TGeneralMod module(nullptr);
        GeneralMod = &module;
        TDoDbInstallThings engine;
        if (engine.GetDatabaseCount() != static_cast<int>(std::size(kDatabases))) {
            std::fprintf(stderr, "engine_install_bench: the catalogue was not read\n");
            return 1;
        }
        for (int round = 0; round < kRounds; ++round) {
            // The reference: copies of the archives, then the 7z command into the same folders.
            // Both sides write into folders of their own per round; the previous round's trees
            // go first, so both sides create their files after the same deletions.
            const std::string suffix = std::to_string(round);
            fs::remove_all(scratch / ("reference" + std::to_string(round - 1)));
            fs::remove_all(scratch / ("program" + std::to_string(round - 1)));
            fs::remove_all(scratch / "copies");
            const fs::path referenceTarget = scratch / ("reference" + suffix);
            fs::create_directories(scratch / "copies");
            // What the previous round left unwritten must not be paid for by this one.
            Run("sync");
            Clock::time_point start = Clock::now();
            bool ok = true;
            double copies = 0;
            for (size_t i = 0; i < archives.size(); ++i) {
                const fs::path copy = scratch / "copies" / archives[i].filename();
                const Clock::time_point copyStart = Clock::now();
                ok = ok && Run("cp " + Quote(archives[i].string()) + " " + Quote(copy.string()));
                copies += Seconds(copyStart);
                ok = ok && Run("7z x -bd -y -mmt=1 -p" + std::string(kPassword) + " -o" +
                               Quote((referenceTarget / kDatabases[i].folder).string()) + " " +
                               Quote(copy.string()) + " >/dev/null");
            }
            referenceTimes.push_back(Seconds(start));
            referenceCopyTimes.push_back(copies);
            if (!ok) {
                std::fprintf(stderr, "engine_install_bench: the reference run failed\n");
                return 1;
            }

            const fs::path target = scratch / ("program" + suffix);
            fs::create_directories(target);
            ProgressBar mainBar, subBar;
            StatusText status;
            Run("sync");
            start = Clock::now();
            ok = engine.ExtractArchives(&mainBar, &subBar, &status);
            const double copied = Seconds(start);
            ok = engine.InstallDatabases(UnicodeString(target.string()), &mainBar, &subBar, &status,
                                         false) &&
                 ok;
            engine.RunCompatibilityPass(UnicodeString(target.string()));
            engineTimes.push_back(Seconds(start));
            engineCopyTimes.push_back(copied);
            if (!ok || !Run("diff -rq " + Quote(referenceTarget.string()) + " " +
                            Quote(target.string()) + " >/dev/null")) {
                std::fprintf(stderr, "engine_install_bench: the installation differs from the "
                                     "reference\n");
                return 1;
            }
        }
        GeneralMod = nullptr;
    }

    std::vector<double> ratios;
    for (size_t i = 0; i < engineTimes.size(); ++i)
        ratios.push_back(engineTimes[i] / referenceTimes[i]);
    const Spread engineSpread = SpreadOf(engineTimes), referenceSpread = SpreadOf(referenceTimes);
    const Spread engineCopies = SpreadOf(engineCopyTimes);
    const Spread referenceCopies = SpreadOf(referenceCopyTimes);
    const Spread ratio = SpreadOf(ratios);
    std::printf("copies:         engine min %.3f median %.3f max %.3f s; cp min %.3f median %.3f "
                "max %.3f s\n",
                engineCopies.min, engineCopies.median, engineCopies.max, referenceCopies.min,
                referenceCopies.median, referenceCopies.max);
    std::printf("engine install: min %.3f median %.3f max %.3f s\n", engineSpread.min,
                engineSpread.median, engineSpread.max);
    std::printf("cp + 7z x -mmt=1: min %.3f median %.3f max %.3f s\n", referenceSpread.min,
                referenceSpread.median, referenceSpread.max);
    std::printf("ratio per round: min %.3f median %.3f max %.3f (target <= 1.3) %s\n", ratio.min,
                ratio.median, ratio.max, ratio.median <= 1.3 ? "ok" : "SLOW");
    win::SharedMemoryBlock::Unlink("dbi-bench-" + pid + "-update");
    win::SharedMemoryBlock::Unlink("dbi-bench-" + pid + "-install");
    win::SetResourceFile("");
    fs::remove_all(scratch);
    return 0;
}
