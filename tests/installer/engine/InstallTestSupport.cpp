#include "InstallTestSupport.h"

#include <cstdio>
#include <fstream>
#include <sys/wait.h>

namespace installtest {

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::string& text) {
    return "'" + configtest::ReplaceAll(text, "'", "'\\''") + "'";
}

void WriteTree(const fs::path& root, const Tree& tree) {
    for (const auto& [name, content] : tree) {
        const fs::path file = root / name;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
}

Tree ReadTree(const fs::path& root) {
    Tree tree;
    if (!fs::exists(root))
        return tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_symlink() || !entry.is_regular_file())
            continue;
        const std::string name = entry.path().filename().string();
        if (name.rfind(".arx-", 0) == 0)
            continue;
        tree[fs::relative(entry.path(), root).generic_string()] = ReadBytes(entry.path());
    }
    return tree;
}

std::string Pack7z(const fs::path& folder, bool encrypt, const std::string& options) {
    const ScratchFolder out;
    const std::string archive = out / "a.7z";
    const std::string command = "cd " + Quote(folder.string()) + " && 7z a -bd -bso0 -bsp0 " +
                                (encrypt ? std::string("-p") + kPassword + " " : "") + options +
                                " " + Quote(archive) + " . >/dev/null 2>&1";
    EXPECT_EQ(Shell(command), 0) << command;
    return ReadBytes(archive);
}

std::string Pack7z(const Tree& tree, bool encrypt, const std::string& options) {
    const ScratchFolder folder;
    WriteTree(folder.Path(), tree);
    return Pack7z(folder.Path(), encrypt, options);
}

void Unpack7z(const std::string& archive, const fs::path& folder) {
    const ScratchFolder scratch;
    const std::string file = scratch.Write("a.7z", archive);
    fs::create_directories(folder);
    const std::string command = "7z x -y -bd -p" + std::string(kPassword) + " -o" +
                                Quote(folder.string()) + " " + Quote(file) + " >/dev/null 2>&1";
    EXPECT_EQ(Shell(command), 0) << command;
}

std::string DiffTrees(const fs::path& a, const fs::path& b) {
    const std::string command = "diff -r " + Quote(a.string()) + " " + Quote(b.string()) + " 2>&1";
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return "diff could not run";
    char buffer[4096];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, got);
    if (::pclose(pipe) != 0 && out.empty())
        out = "diff failed";
    return out;
}

std::string Damaged(std::string archive) {
    // The signature header (32 bytes) stays, so the archive is recognised and listed; the
    // packed data right behind it is broken.
    for (size_t i = 40; i < archive.size() / 2 && i < 400; ++i)
        archive[i] = static_cast<char>(archive[i] ^ 0x5A);
    return archive;
}

int64_t TreeSize(const Tree& tree) {
    int64_t size = 0;
    for (const auto& [name, content] : tree)
        size += static_cast<int64_t>(content.size());
    return size;
}

EngineRig::EngineRig() {
    SetSevenZipLibraryFileName(UnicodeString(kDecoder));
}

EngineRig::~EngineRig() {
    engine_.reset();
    module_.reset();
}

TDoDbInstallThings& EngineRig::Start() {
    bundle.Install();
    module_ = std::make_unique<ScopedModule>();
    engine_ = std::make_unique<TDoDbInstallThings>();
    return *engine_;
}

std::vector<std::string> EngineRig::InstallLog() const {
    return Lines(*GeneralMod->installLog);
}

std::vector<std::string> EngineRig::StartupLog() const {
    return Lines(*GeneralMod->startupLog);
}

namespace {

int64_t Count(int offset) {
    return std::stoll("0" + DbInstallBlock().ReadText(offset, 256));
}

} // namespace

int64_t BlockTotal() {
    return Count(0);
}

int64_t BlockDone() {
    return Count(256);
}

int BlockPercent() {
    return UpdateProgressBlock().ReadByte(0);
}

std::string BlockStatus() {
    return UpdateProgressBlock().ReadText(1, 1024);
}

} // namespace installtest
