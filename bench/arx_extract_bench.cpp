// Speed and peak memory of the archive library against the 7z command, in three cases:
//
//   data         an encrypted LZMA2 archive of MEGABYTES (default 256) of text-like data,
//                extracted by `7z x -mmt=1` and by the library
//   listing      an archive of ITEMS (default 4,000,000) empty files, listed by `7z l` and by
//                the library's ListFiles
//   empty-files  an archive of FILES (default 100,000) empty files, extracted by `7z x -mmt=1`
//                and by the library: the cost per file
//
//   arx_extract_bench [--case data|listing|empty-files|all] [--runs N] [--megabytes M]
//                     [--items N] [--files N] [--library PATH]
//
// Each run of a case measures the command and the library one after the other, each in a child
// process of its own so that peak memory is measured the same way for both; a case prints every
// run and the minimum, median and maximum of the time ratio (library time / 7z time) and of the
// peak memory ratio over N runs (default 5). The archives of empty files are written here
// directly in the 7z format (an uncompressed header of names, times and attributes), since
// millions of files on disk only to pack them would cost more than the measurement.
#include "installer/archive/ArxCompression.h"
#include "installer/archive/sevenzip.h"
#include "platform/rtl/FileStream.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
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

// --- a 7z archive of empty files, written directly ---

uint32_t Crc32(const uint8_t* data, size_t size) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

class Bytes {
public:
    std::vector<uint8_t> data;
    void Byte(uint8_t b) { data.push_back(b); }
    void Little(uint64_t value, int count) {
        for (int i = 0; i < count; ++i)
            Byte(static_cast<uint8_t>(value >> (8 * i)));
    }
    // The format's variable-length number: the leading one bits of the first byte count the
    // bytes that follow, lowest first.
    void Number(uint64_t value) {
        uint8_t first = 0, mask = 0x80;
        int i = 0;
        for (; i < 8; ++i) {
            if (value < (uint64_t{1} << (7 * (i + 1)))) {
                first |= static_cast<uint8_t>(value >> (8 * i));
                break;
            }
            first |= mask;
            mask >>= 1;
        }
        Byte(first);
        Little(value, i);
    }
    void Append(const Bytes& other) {
        data.insert(data.end(), other.data.begin(), other.data.end());
    }
};

// `count` empty files named by their number in hexadecimal, all with one date and the archive
// attribute, as `7z a` stores them.
void WriteEmptyFilesArchive(const fs::path& path, uint64_t count) {
    enum : uint8_t {
        kEnd = 0x00,
        kHeader = 0x01,
        kFilesInfo = 0x05,
        kEmptyStream = 0x0E,
        kEmptyFile = 0x0F,
        kName = 0x11,
        kMTime = 0x14,
        kAttributes = 0x15
    };
    auto property = [](Bytes& header, uint8_t id, const Bytes& body) {
        header.Byte(id);
        header.Number(body.data.size());
        header.Append(body);
    };
    Bytes allSet;
    allSet.data.assign((count + 7) / 8, 0xFF);
    if (count % 8)
        allSet.data.back() = static_cast<uint8_t>(0xFF << (8 - count % 8));
    Bytes names;
    names.Byte(0);
    char name[32];
    for (uint64_t i = 0; i < count; ++i) {
        int length = std::snprintf(name, sizeof name, "%llx", static_cast<unsigned long long>(i));
        for (int k = 0; k <= length; ++k)
            names.Little(static_cast<uint8_t>(name[k]), 2);
    }
    Bytes times;
    times.Byte(1);
    times.Byte(0);
    const uint64_t kTime = 0x01DB2A3B4C5D6E70ull; // late 2024
    for (uint64_t i = 0; i < count; ++i)
        times.Little(kTime, 8);
    Bytes attributes;
    attributes.Byte(1);
    attributes.Byte(0);
    for (uint64_t i = 0; i < count; ++i)
        attributes.Little(0x20, 4);

    Bytes header;
    header.Byte(kHeader);
    header.Byte(kFilesInfo);
    header.Number(count);
    property(header, kEmptyStream, allSet);
    property(header, kEmptyFile, allSet);
    property(header, kName, names);
    property(header, kMTime, times);
    property(header, kAttributes, attributes);
    header.Byte(kEnd);
    header.Byte(kEnd);

    Bytes start;
    start.Little(0, 8);                                             // next header offset
    start.Little(header.data.size(), 8);                            // next header size
    start.Little(Crc32(header.data.data(), header.data.size()), 4); // next header CRC
    Bytes signature;
    for (uint8_t b : std::initializer_list<uint8_t>{'7', 'z', 0xBC, 0xAF, 0x27, 0x1C, 0, 4})
        signature.Byte(b);
    signature.Little(Crc32(start.data.data(), start.data.size()), 4);
    signature.Append(start);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(signature.data.data()),
              static_cast<std::streamsize>(signature.data.size()));
    out.write(reinterpret_cast<const char*>(header.data.data()),
              static_cast<std::streamsize>(header.data.size()));
}

// --- measuring ---

// Runs `body` in a child process; its wall time and peak resident size.
Run InChild(const std::function<bool()>& body) {
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

Run RunLibrary(const fs::path& archivePath, const char* password,
               const std::function<bool(TArx7zDecompressArchive&)>& work) {
    return InChild([&] {
        try {
            TFileStream file(UnicodeString(archivePath.string()), fmOpenRead | fmShareDenyWrite);
            TArx7zDecompressArchive archive(&file, 0, false);
            archive.Password = UnicodeString(password);
            archive.ListFiles();
            return work(archive);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "library: %s\n", e.what());
            return false;
        }
    });
}

struct Spread {
    double min = 0, median = 0, max = 0;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {values.front(), median, values.back()};
}

// Runs the pair `runs` times, alternating, and prints each run and the spread of the ratios.
bool Measure(const char* title, const char* reference, int runs, const std::function<Run()>& ours,
             const std::function<Run()>& theirs) {
    std::vector<double> timeRatios, memoryRatios;
    bool ok = true;
    std::printf("%s\n", title);
    for (int i = 0; i < runs; ++i) {
        Run r = theirs();
        Run o = ours();
        ok = ok && r.ok && o.ok;
        timeRatios.push_back(o.seconds / r.seconds);
        memoryRatios.push_back(o.peakMiB / r.peakMiB);
        std::printf("  run %d: %s %.3f s, %.1f MiB; library %.3f s, %.1f MiB%s\n", i + 1, reference,
                    r.seconds, r.peakMiB, o.seconds, o.peakMiB, r.ok && o.ok ? "" : " (FAILED)");
        std::fflush(stdout);
    }
    Spread time = SpreadOf(timeRatios), memory = SpreadOf(memoryRatios);
    std::printf("  time ratio (library / %s): min %.3f, median %.3f, max %.3f\n", reference,
                time.min, time.median, time.max);
    std::printf("  peak memory ratio (library / %s): min %.3f, median %.3f, max %.3f\n", reference,
                memory.min, memory.median, memory.max);
    return ok;
}

struct Options {
    std::string which = "all";
    int runs = 5;
    int64_t megabytes = 256;
    uint64_t items = 4000000;
    uint64_t files = 100000;
    std::string library = "/usr/lib/p7zip/7z.so";
};

bool DataCase(const fs::path& work, const Options& options) {
    fs::path source = work / "src", archive = work / "data.7z";
    fs::create_directories(source);
    MakeData(source / "dane.txt", options.megabytes << 20);
    Run made = RunCommand({"7z", "a", "-bd", "-mx=3", "-m0=LZMA2", "-mhe=on",
                           std::string("-p") + kPassword, archive.string(),
                           (source / "dane.txt").string()});
    fs::remove_all(source);
    if (!made.ok) {
        std::fprintf(stderr, "7z a failed\n");
        return false;
    }
    std::string title = "data: " + std::to_string(options.megabytes) +
                        " MiB of text in an encrypted LZMA2 archive, extracted";
    return Measure(
        title.c_str(), "7z x -mmt=1", options.runs,
        [&] {
            fs::remove_all(work / "lib");
            Run run = RunLibrary(archive, kPassword, [&](TArx7zDecompressArchive& a) {
                a.ExtractAll(UnicodeString((work / "lib").string()), true);
                return fs::file_size(work / "lib/dane.txt") ==
                       static_cast<uintmax_t>(fs::file_size(work / "ref/dane.txt"));
            });
            fs::remove_all(work / "lib");
            return run;
        },
        [&] {
            fs::remove_all(work / "ref");
            return RunCommand({"7z", "x", "-y", "-bd", "-mmt=1", std::string("-p") + kPassword,
                               "-o" + (work / "ref").string(), archive.string()});
        });
}

bool ListingCase(const fs::path& work, const Options& options) {
    fs::path archive = work / "listing.7z";
    WriteEmptyFilesArchive(archive, options.items);
    std::string title = "listing: " + std::to_string(options.items) + " empty files (" +
                        std::to_string(fs::file_size(archive) >> 20) + " MiB archive), listed";
    return Measure(
        title.c_str(), "7z l", options.runs,
        [&] {
            return RunLibrary(archive, "", [&](TArx7zDecompressArchive& a) {
                return static_cast<uint64_t>(a.ItemCount()) == options.items;
            });
        },
        [&] {
            return RunCommand({"7z", "l", archive.string()});
        });
}

bool EmptyFilesCase(const fs::path& work, const Options& options) {
    fs::path archive = work / "empty.7z";
    WriteEmptyFilesArchive(archive, options.files);
    std::string title = "empty files: " + std::to_string(options.files) + " empty files, extracted";
    return Measure(
        title.c_str(), "7z x -mmt=1", options.runs,
        [&] {
            fs::remove_all(work / "lib");
            Run run = RunLibrary(archive, "", [&](TArx7zDecompressArchive& a) {
                a.ExtractAll(UnicodeString((work / "lib").string()), true);
                return true;
            });
            fs::remove_all(work / "lib");
            return run;
        },
        [&] {
            fs::remove_all(work / "ref");
            Run run = RunCommand({"7z", "x", "-y", "-bd", "-mmt=1", "-o" + (work / "ref").string(),
                                  archive.string()});
            fs::remove_all(work / "ref");
            return run;
        });
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string name = argv[i], value = argv[i + 1];
        if (name == "--case")
            options.which = value;
        else if (name == "--runs")
            options.runs = std::max(1, std::atoi(value.c_str()));
        else if (name == "--megabytes")
            options.megabytes = std::atoll(value.c_str());
        else if (name == "--items")
            options.items = std::strtoull(value.c_str(), nullptr, 10);
        else if (name == "--files")
            options.files = std::strtoull(value.c_str(), nullptr, 10);
        else if (name == "--library")
            options.library = value;
        else {
            std::fprintf(stderr, "unknown option %s\n", name.c_str());
            return 2;
        }
    }
    SetSevenZipLibraryFileName(UnicodeString(options.library));

    std::string pattern = (fs::temp_directory_path() / "arx-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    fs::path work(pattern);
    bool ok = true;
    bool all = options.which == "all";
    if (all || options.which == "listing")
        ok = ListingCase(work, options) && ok;
    if (all || options.which == "empty-files")
        ok = EmptyFilesCase(work, options) && ok;
    if (all || options.which == "data")
        ok = DataCase(work, options) && ok;
    fs::remove_all(work);
    return ok ? 0 : 1;
}
