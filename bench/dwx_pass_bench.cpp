// The compatibility pass over a folder of 20 version-204 drawings, each rewritten as version 203,
// against `cp` of the same drawings into another folder, measured in the same run.
//
//   dwx_pass_bench [MEGABYTES]
//
// MEGABYTES is the size of one drawing (default 8), made by the reference encoder in
// tools/dwx_reference.py. Each round starts from fresh copies of the drawings (made outside the
// timing) and runs the pass in a fresh child process, as the installer meets it once, with one
// model for all files as the pass keeps it; the child's peak memory is reported against the size
// of one drawing. The rewrite flushes every file and folder to disk, which cp does not; the
// time of `cp` followed by `sync` is printed beside it. Goal: the pass at most 3 times the time
// of cp. Prints min/median/max of five rounds of each side.
//
// DBI_SOURCE_DIR names the source tree when the program does not run from its build folder.
#include "ChildRun.h"

#include "installer/dwx/Klasadwx.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "installer/engine/Folder_walk.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace bench;

namespace {

constexpr int kRounds = 5;
constexpr int kDrawings = 20;

// The pass's work on one folder: every drawing through TDwxDowngrade with one model.
ChildRun PassInChild(const fs::path& folder) {
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        KlasaDwx model;
        const TDwxDowngrade downgrade{nullptr, &model};
        int rewritten = 0;
        WalkFilesMatching(AnsiString(folder.string()), ".(dwx)$", [&](const AnsiString& file) {
            downgrade(file);
            rewritten += model.version == 203 ? 1 : 0;
        });
        _exit(rewritten == kDrawings ? 0 : 1);
    }
    return Wait(child, start);
}

void Fresh(const fs::path& pristine, const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int i = 0; i < kDrawings; ++i) {
        fs::copy_file(pristine, folder / ("drawing" + std::to_string(i) + ".dwx"));
    }
}

struct Spread {
    double min, median, max;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

} // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 8.0;
    if (!(megabytes > 0.0)) {
        std::fprintf(stderr, "usage: dwx_pass_bench [MEGABYTES]\n");
        return 2;
    }
    const fs::path scratch =
        fs::temp_directory_path() / ("dwx_pass_bench_" + std::to_string(getpid()));
    fs::create_directories(scratch);
    const fs::path pristine = scratch / "pristine204.dwx";
    const std::string script = (SourceTree() / "tools" / "dwx_reference.py").string();
    if (!RunProgram(
             {"/usr/bin/python3", script, "large", pristine.string(), std::to_string(megabytes)})
             .ok) {
        std::fprintf(stderr, "the reference encoder could not make %s\n", pristine.c_str());
        fs::remove_all(scratch);
        return 1;
    }
    const fs::path drawings = scratch / "drawings";
    const fs::path copies = scratch / "copies";
    std::vector<std::string> cpCommand = {"cp"};
    for (int i = 0; i < kDrawings; ++i) {
        cpCommand.push_back((drawings / ("drawing" + std::to_string(i) + ".dwx")).string());
    }
    cpCommand.push_back(copies.string());

    std::vector<double> cpTimes, cpSyncTimes, passTimes;
    long peakKilobytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        Fresh(pristine, drawings);
        RunProgram({"sync"});
        fs::remove_all(copies);
        fs::create_directories(copies);
        const ChildRun cp = RunProgram(cpCommand);
        const auto syncStart = Clock::now();
        RunProgram({"sync"});
        const double syncTime = Since(syncStart);
        const ChildRun pass = PassInChild(drawings);
        if (!cp.ok || !pass.ok) {
            std::fprintf(stderr, "a copy or the pass failed\n");
            fs::remove_all(scratch);
            return 1;
        }
        cpTimes.push_back(cp.milliseconds);
        cpSyncTimes.push_back(cp.milliseconds + syncTime);
        passTimes.push_back(pass.milliseconds);
        peakKilobytes = std::max(peakKilobytes, pass.peakKilobytes);
    }

    const double drawingBytes = static_cast<double>(fs::file_size(pristine));
    const Spread cp = SpreadOf(cpTimes);
    const Spread cpSync = SpreadOf(cpSyncTimes);
    const Spread pass = SpreadOf(passTimes);
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) {
        ratios.push_back(passTimes[round] / cpTimes[round]);
    }
    const Spread ratio = SpreadOf(ratios);
    std::printf("%d drawings of %.1f MB, version 204 rewritten as 203\n", kDrawings,
                drawingBytes / 1e6);
    std::printf("cp:        min %.1f  median %.1f  max %.1f ms\n", cp.min, cp.median, cp.max);
    std::printf("cp + sync: min %.1f  median %.1f  max %.1f ms\n", cpSync.min, cpSync.median,
                cpSync.max);
    std::printf("pass:      min %.1f  median %.1f  max %.1f ms\n", pass.min, pass.median, pass.max);
    std::printf("ratio pass/cp per round: min %.2f  median %.2f  max %.2f (goal at most 3.00)\n",
                ratio.min, ratio.median, ratio.max);
    std::printf("ratio of medians pass/(cp + sync): %.2f\n", pass.median / cpSync.median);
    std::printf("peak memory of the pass: %.1f MB, %.2f of one drawing\n",
                static_cast<double>(peakKilobytes) / 1024.0,
                static_cast<double>(peakKilobytes) * 1024.0 / drawingBytes);
    fs::remove_all(scratch);
    return 0;
}
