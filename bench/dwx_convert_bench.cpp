// Converting a large version-204 drawing to version 203, against copying the same file with cp.
//
// The file (about 48 MB unless a size in MB is given) is made by the reference encoder in
// tools/dwx_reference.py. Each conversion runs in a fresh child process, as the installer
// meets a file, so the time includes building the model in new memory and the peak memory is
// that of the conversion alone. Goals: at most 3 times the time of cp, peak memory below 5 times
// the file size. The conversion is also timed repeated inside one process, and the time to touch
// fresh memory of the model's size is printed, to show how much of the time is the kernel's.
//
// DBI_SOURCE_DIR names the source tree when the program does not run from its build folder.
#include "ChildRun.h"

#include "installer/dwx/Klasadwx.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

bool Convert(const fs::path& source, const fs::path& target) {
    KlasaDwx dwx;
    return dwx.LoadFromFile(UnicodeString(source.string())) == 204 &&
           dwx.SaveToFile(UnicodeString(target.string()), 203);
}

ChildRun ConvertInChild(const fs::path& source, const fs::path& target) {
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        _exit(Convert(source, target) ? 0 : 1);
    }
    return Wait(child, start);
}

double TouchFreshMemory(size_t bytes) {
    const auto start = Clock::now();
    std::vector<char> memory;
    memory.reserve(bytes);
    for (size_t i = 0; i < bytes; i += 4096) {
        memory.push_back(1);
        memory.data()[i] = 1;
    }
    volatile char sink = memory.data()[bytes / 2];
    (void)sink;
    return Since(start);
}

size_t ModelBytes(const fs::path& source) {
    KlasaDwx dwx;
    dwx.LoadFromFile(UnicodeString(source.string()));
    size_t bytes = 0;
    for (const vcV& vertices : dwx.definition.meshVertices) {
        bytes += vertices.size() * sizeof(CpunktF);
    }
    for (const vcF& faces : dwx.definition.meshFaces) {
        bytes += faces.size() * sizeof(CfaceF);
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 48.0;
    const fs::path folder = fs::temp_directory_path() / ("dwx_bench_" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path source = folder / "large204.dwx";
    const fs::path copy = folder / "copy.dwx";
    const fs::path converted = folder / "converted203.dwx";

    const std::string script = (SourceTree() / "tools" / "dwx_reference.py").string();
    if (!RunProgram(
             {"/usr/bin/python3", script, "large", source.string(), std::to_string(megabytes)})
             .ok) {
        std::fprintf(stderr, "the reference encoder could not make %s\n", source.c_str());
        fs::remove_all(folder);
        return 1;
    }
    const double fileBytes = static_cast<double>(fs::file_size(source));
    RunProgram({"cp", source.string(), copy.string()}); // both start from a warm page cache

    double copyBest = 1e300;
    double convertBest = 1e300;
    long peakKilobytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        fs::remove(copy);
        const ChildRun cp = RunProgram({"cp", source.string(), copy.string()});
        fs::remove(converted);
        const ChildRun conversion = ConvertInChild(source, converted);
        if (!cp.ok || !conversion.ok) {
            std::fprintf(stderr, "a copy or conversion failed\n");
            fs::remove_all(folder);
            return 1;
        }
        copyBest = std::min(copyBest, cp.milliseconds);
        convertBest = std::min(convertBest, conversion.milliseconds);
        peakKilobytes = std::max(peakKilobytes, conversion.peakKilobytes);
    }
    double repeatedBest = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        fs::remove(converted); // as for cp: no old file to drop inside the timing
        const auto start = Clock::now();
        Convert(source, converted);
        repeatedBest = std::min(repeatedBest, Since(start));
    }
    const size_t modelBytes = ModelBytes(source);
    const double touch = TouchFreshMemory(modelBytes);

    const double peakBytes = static_cast<double>(peakKilobytes) * 1024.0;
    std::printf("file: %.1f MB version 204, converted to %.1f MB version 203\n", fileBytes / 1e6,
                static_cast<double>(fs::file_size(converted)) / 1e6);
    std::printf("cp: %.1f ms (best of %d)\n", copyBest, kRounds);
    std::printf("convert 204->203, fresh process: %.1f ms (best of %d)\n", convertBest, kRounds);
    std::printf("convert 204->203, repeated in one process: %.1f ms\n", repeatedBest);
    std::printf("touching %.1f MB of fresh memory (the model's size): %.1f ms\n",
                static_cast<double>(modelBytes) / 1e6, touch);
    std::printf("time ratio convert/cp: %.2f (goal at most 3.00)\n", convertBest / copyBest);
    std::printf("time ratio repeated convert/cp: %.2f\n", repeatedBest / copyBest);
    std::printf("peak memory ratio: %.2f of the file size (%.1f MB; goal below 5.00)\n",
                peakBytes / fileBytes, peakBytes / 1e6);
    fs::remove_all(folder);
    return 0;
}
