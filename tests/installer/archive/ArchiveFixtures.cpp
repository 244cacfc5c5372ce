#include "ArchiveFixtures.h"

#include "installer/archive/sevenzip.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace arxtest {

namespace {

fs::path MakeTempDir(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    return fs::path(pattern);
}

// Loads the package's decoder and removes the fixtures once the program ends.
class ArchiveEnvironment : public ::testing::Environment {
public:
    void SetUp() override { SetSevenZipLibraryFileName(u"/usr/lib/p7zip/7z.so"); }
    void TearDown() override {
        std::error_code error;
        if (!fixtures().empty())
            fs::remove_all(fixtures(), error);
    }
    static fs::path& fixtures() {
        static fs::path path;
        return path;
    }
};

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new ArchiveEnvironment);

} // namespace

namespace {

void RunFixtureScript(const fs::path& dir, const std::string& group) {
    std::string script = std::string(DBI_SOURCE_DIR) + "/tools/make_archive_fixtures.sh";
    int status = 0;
    RunCommand("'" + script + "' '" + dir.string() + "' " + group + " 2>&1", &status);
    if (status != 0)
        throw std::runtime_error("the fixture script failed");
}

} // namespace

const fs::path& FixtureDir() {
    fs::path& dir = ArchiveEnvironment::fixtures();
    if (dir.empty()) {
        dir = MakeTempDir("arx-fixtures-");
        RunFixtureScript(dir, "");
    }
    return dir;
}

fs::path Fixture(const std::string& name) {
    // The large archive takes longest to make; only the tests that read it wait for it.
    if (name == "large.7z" && !fs::exists(FixtureDir() / name))
        RunFixtureScript(FixtureDir(), "large");
    return FixtureDir() / name;
}

ScratchDir::ScratchDir() {
    if (path().empty())
        throw std::runtime_error("cannot create a temporary folder");
}

std::string RunCommand(const std::string& command, int* status) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::array<char, 4096> buffer;
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    int result = pclose(pipe);
    if (status)
        *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return output;
}

std::map<std::string, EntryFacts> Snapshot(const fs::path& root) {
    std::map<std::string, EntryFacts> entries;
    for (auto& entry : fs::recursive_directory_iterator(root)) {
        EntryFacts facts;
        facts.folder = entry.is_directory();
        if (!facts.folder)
            facts.content = ReadFile(entry.path());
        auto time = std::chrono::file_clock::to_sys(fs::last_write_time(entry.path()));
        facts.mtimeNs =
            std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
        entries[fs::relative(entry.path(), root).string()] = facts;
    }
    return entries;
}

std::string CaseName(const char* fixture, size_t index) {
    std::string name;
    for (const char* c = fixture; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name + "_" + std::to_string(index);
}

UnicodeString U(const fs::path& path) {
    return UnicodeString(path.string());
}

void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
}

} // namespace arxtest
