// Extraction speed and peak memory of the archive library against the 7z command.
//
//   arx_extract_bench [MEGABYTES] [LIBRARY]
//
// Makes an encrypted LZMA2 archive of MEGABYTES (default 256) of text-like data with the 7z
// command in a temporary folder, then extracts it three times each, alternating, with `7z x -mmt=1`
// and with the library (each in a child process of its own, so peak memory is measured the same way
// for both), and prints the speed ratio (7z time / library time; the target is at least 0.95) and
// the difference of the peak resident sizes (the target is at most 32 MiB above 7z's).
#include "installer/archive/ArxCompression.h"
#include "installer/archive/sevenzip.h"
#include "platform/rtl/FileStream.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kPassword = "kura_pomorska_zielona";

struct Run {
    double seconds = 0;
    double peakMiB = 0;
    bool ok = false;
};

// Words drawn from a small vocabulary with random numbers: compresses roughly like catalogue
// data, neither trivially nor not at all.
void MakeData(const fs::path& file, int64_t bytes) {
    std::mt19937_64 random(12345);
    const char* words[] = {"kafel",  "plytka",    "sciana",   "podloga", "szafka",
                           "blat",   "fuga",      "ceramika", "gres",    "mozaika",
                           "listwa", "narozniki", "zielony",  "bialy",   "czarny",
                           "matowy", "polysk",    "kolekcja", "seria",   "wymiar"};
    std::ofstream out(file, std::ios::binary);
    std::string line;
    int64_t written = 0;
    while (written < bytes) {
        line.clear();
        for (int i = 0; i < 12; ++i) {
            line += words[random() % 20];
            line += ' ';
            line += std::to_string(random() % 100000);
            line += ';';
        }
        line += '\n';
        out << line;
        written += static_cast<int64_t>(line.size());
    }
}

// Runs `body` in a child process; its wall time and peak resident size.
template <typename Body>
Run InChild(Body body) {
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0)
        _exit(body() ? 0 : 1);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

Run RunCommand(const std::vector<std::string>& args) {
    return InChild([&] {
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execvp(argv[0], argv.data());
        return false;
    });
}

Run RunLibrary(const fs::path& archivePath, const fs::path& destination) {
    return InChild([&] {
        try {
            TFileStream file(UnicodeString(archivePath.string()), fmOpenRead | fmShareDenyWrite);
            TArx7zDecompressArchive archive(&file, 0, false);
            archive.Password = UnicodeString(kPassword);
            archive.ListFiles();
            archive.ExtractAll(UnicodeString(destination.string()), true);
            return true;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "library: %s\n", e.what());
            return false;
        }
    });
}

Run Best(const Run& a, const Run& b) {
    Run best = a.seconds <= b.seconds ? a : b;
    best.peakMiB = std::max(a.peakMiB, b.peakMiB);
    best.ok = a.ok && b.ok;
    return best;
}

} // namespace

int main(int argc, char** argv) {
    int64_t megabytes = argc > 1 ? std::atoll(argv[1]) : 256;
    SetSevenZipLibraryFileName(UnicodeString(argc > 2 ? argv[2] : "/usr/lib/p7zip/7z.so"));

    std::string pattern = (fs::temp_directory_path() / "arx-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    fs::path work(pattern);
    fs::path source = work / "src", archive = work / "bench.7z";
    fs::create_directories(source);
    std::printf("making %lld MiB of data and an encrypted LZMA2 archive...\n",
                static_cast<long long>(megabytes));
    MakeData(source / "dane.txt", megabytes << 20);
    Run made = RunCommand({"7z", "a", "-bd", "-mx=3", "-m0=LZMA2", "-mhe=on",
                           std::string("-p") + kPassword, archive.string(),
                           (source / "dane.txt").string()});
    if (!made.ok) {
        std::fprintf(stderr, "7z a failed\n");
        fs::remove_all(work);
        return 1;
    }
    fs::remove_all(source);

    Run reference, ours;
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(work / "ref");
        fs::remove_all(work / "lib");
        Run r = RunCommand({"7z", "x", "-y", "-bd", "-mmt=1", std::string("-p") + kPassword,
                            "-o" + (work / "ref").string(), archive.string()});
        Run o = RunLibrary(archive, work / "lib");
        reference = round == 0 ? r : Best(reference, r);
        ours = round == 0 ? o : Best(ours, o);
    }
    bool same = fs::file_size(work / "ref/dane.txt") == fs::file_size(work / "lib/dane.txt");
    std::printf("archive: %.1f MiB packed, %lld MiB unpacked\n",
                static_cast<double>(fs::file_size(archive)) / (1 << 20),
                static_cast<long long>(megabytes));
    std::printf("7z x -mmt=1: %.3f s, peak %.1f MiB%s\n", reference.seconds, reference.peakMiB,
                reference.ok ? "" : " (FAILED)");
    std::printf("library:     %.3f s, peak %.1f MiB%s\n", ours.seconds, ours.peakMiB,
                ours.ok && same ? "" : " (FAILED)");
    double ratio = reference.seconds / ours.seconds;
    double memory = ours.peakMiB - reference.peakMiB;
    std::printf("speed ratio (7z time / library time): %.3f (target >= 0.95)\n", ratio);
    std::printf("peak memory difference (library - 7z): %+.1f MiB (target <= 32)\n", memory);
    fs::remove_all(work);
    return reference.ok && ours.ok && same ? 0 : 1;
}
