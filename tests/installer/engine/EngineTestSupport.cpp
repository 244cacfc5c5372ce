#include "EngineTestSupport.h"

#include <csignal>
#include <cstdio>
#include <mutex>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace enginetest {

namespace {

// Every test process publishes into blocks of its own, so runs side by side never meet, and
// removes them when it ends.
struct PrivateProgressBlocks {
    std::string update = "dbi-engine-test-" + std::to_string(::getpid()) + "-CAD_UpdateProgress";
    std::string install = "dbi-engine-test-" + std::to_string(::getpid()) + "-CAD_DbInstall";
    PrivateProgressBlocks() { SetProgressBlockNames(update, install); }
    ~PrivateProgressBlocks() {
        win::SharedMemoryBlock::Unlink(update);
        win::SharedMemoryBlock::Unlink(install);
    }
};
const PrivateProgressBlocks privateBlocks;

const ScratchFolder& PeCacheFolder() {
    static ScratchFolder folder;
    return folder;
}

} // namespace

std::string VersionedFile(const std::string& version) {
    static std::mutex lock;
    static std::map<std::string, std::string> made;
    std::lock_guard<std::mutex> guard(lock);
    auto found = made.find(version);
    if (found != made.end())
        return found->second;
    const std::string path =
        PeCacheFolder().Str() + "/v" + (version.empty() ? "none" : version) + ".dll";
    if (version.empty()) {
        PeCacheFolder().Write(fs::path(path).filename().string(), "not a program file\n");
    } else {
        const std::string command = "bash '" +
                                    (SourceDir() / "tools/make_pe_fixtures.sh").string() +
                                    "' --version " + version + " '" + path + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    made[version] = path;
    return path;
}

void PlaceFile(const std::string& source, const fs::path& target) {
    fs::create_directories(target.parent_path());
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
}

void MakeProgramFolder(const fs::path& folder, EProductLine line, int layoutFlag,
                       const std::string& version, int skip) {
    const fs::path where = layoutFlag == 0 ? folder / "V3_I6x86" : folder;
    fs::create_directories(where);
    const std::vector<TProgramFileForCheckup> files = GeneralMod->GetFilesToCheck(line, layoutFlag);
    for (size_t i = 0; i < files.size(); ++i)
        if (static_cast<int>(i) != skip)
            PlaceFile(VersionedFile(version), where / files[i].fileName.ToUtf8());
}

std::string BlockText(const MMFile& block, int offset, int length) {
    return block.ReadText(offset, length);
}

void WithFileSizeLimit(unsigned long limit, const std::function<bool()>& work) {
    std::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit small = {limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &small);
    // Without exit handlers: the parent's scratch folders and blocks must survive the child.
    ::_exit(work() ? 1 : 0);
}

bool NoPartialFiles(const fs::path& folder) {
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().extension() == ".part")
            return false;
    return true;
}

CommandOutput CaptureCommand(const std::string& command) {
    CommandOutput run;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        run.text.append(buffer, got);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace enginetest
