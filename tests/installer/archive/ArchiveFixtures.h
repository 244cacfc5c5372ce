// Shared ground of the archive tests: the fixture archives made by the project's script, scratch
// folders, the 7z command as an oracle and snapshots of extracted trees.
#pragma once

#include "platform/rtl/UnicodeString.h"
#include "support/TestSupport.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace arxtest {

// The folder the fixture script filled, made once per test program.
const std::filesystem::path& FixtureDir();
std::filesystem::path Fixture(const std::string& name);

// A fresh folder removed again when the object goes; raises when none can be made.
class ScratchDir {
public:
    ScratchDir();
    const std::filesystem::path& path() const { return folder_.Path(); }
    std::filesystem::path operator/(const std::string& name) const { return path() / name; }

private:
    testsupport::ScratchFolder folder_{"arx-test-"};
};

// Runs a shell command; answers its standard output, and its exit status through `status`.
std::string RunCommand(const std::string& command, int* status = nullptr);

struct EntryFacts {
    bool folder = false;
    std::string content;
    int64_t mtimeNs = 0;
    friend bool operator==(const EntryFacts&, const EntryFacts&) = default;
};
// Every entry below root by its relative path.
std::map<std::string, EntryFacts> Snapshot(const std::filesystem::path& root);

UnicodeString U(const std::filesystem::path& path);

// A test-case name from a fixture name and the case's place in its table: "plain_7z_0".
std::string CaseName(const char* fixture, size_t index);
using testsupport::ReadFile;
void WriteFile(const std::filesystem::path& path, const std::string& content);

} // namespace arxtest
