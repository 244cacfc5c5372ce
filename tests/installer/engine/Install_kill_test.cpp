// An installation ended from outside in the middle, as a confirmed Cancel ends the process:
// whatever moment it happens, every file in the target is the one the user had or the whole
// new one (the unpacking's own temporary files aside).
#include "InstallTestSupport.h"

#include "scene/controls/Sg_progressbar.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace installtest;

namespace {

// Incompressible files, so the unpacking takes long enough to be caught in the middle.
const Tree& NewFiles() {
    static const Tree files = [] {
        Tree tree;
        std::mt19937_64 random(8);
        for (int i = 0; i < 24; ++i) {
            std::string content(512 * 1024, '\0');
            for (size_t at = 0; at < content.size(); at += 8) {
                const uint64_t word = random();
                std::memcpy(&content[at], &word, 8);
            }
            tree["part" + std::to_string(i / 8) + "/f" + std::to_string(i) + ".bin"] = content;
        }
        return tree;
    }();
    return files;
}

const std::string& Archive() {
    static const std::string archive = Pack7z(NewFiles(), true, "-mx=1");
    return archive;
}

// The user's copies: every file of the database in an older form, and one of the user's own.
Tree OldFiles() {
    Tree tree;
    for (const auto& [name, content] : NewFiles())
        tree[name] = "old " + name;
    tree["mine.txt"] = "user's file";
    return tree;
}

// A bar that takes its time to draw while an archive is unpacked (its range is then 0..1), as
// a busy window would: every published step stays visible long enough to be caught.
class SlowBar : public TsgProgressBar {
public:
    SlowBar() : TsgProgressBar(nullptr) {}

protected:
    void Realign() override {
        if (Max() == 1.0f)
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
};

class InstallKillTest : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(InstallKillTest, EveryFileIsTheOldOneOrTheWholeNewOne) {
    const int killAtPercent = GetParam();
    EngineRig rig;
    rig.bundle.AddPair(
        1,
        DatabaseIni("BAZA=Duza\r\n", "TYPE=INTERIOR\r\nTARGETNAME=Duza\r\nTARGETSIZE=" +
                                         std::to_string(TreeSize(NewFiles())) + "\r\n"),
        Archive());
    TDoDbInstallThings& engine = rig.Start();
    const fs::path program = rig.Path("program");
    const fs::path folder = program / "dodatki/Duza";
    WriteTree(folder, OldFiles());
    engine.FileOps().WriteInstallTotals(0, 0, UnicodeString());

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SlowBar mainBar, subBar;
        engine.ExtractArchives(&mainBar, &subBar, nullptr);
        const bool installed = engine.InstallDatabases(UnicodeString(program.string()), &mainBar,
                                                       &subBar, nullptr, false);
        ::_exit(installed ? 0 : 1);
    }
    // The percent of the progress block says how far the child got.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    int status = 0;
    bool exited = false;
    while (std::chrono::steady_clock::now() < deadline) {
        if (BlockPercent() >= killAtPercent && BlockTotal() > 0)
            break;
        if (::waitpid(child, &status, WNOHANG) == child) {
            exited = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    if (!exited) {
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, &status, 0), child);
    }
    EXPECT_TRUE(WIFSIGNALED(status)) << "the installation ended before it could be interrupted";

    const Tree old = OldFiles();
    int newer = 0;
    for (const auto& [name, content] : ReadTree(folder)) {
        const bool isOld = old.count(name) && old.at(name) == content;
        const bool isNew = NewFiles().count(name) && NewFiles().at(name) == content;
        EXPECT_TRUE(isOld || isNew) << name << " is neither the old file nor the whole new one";
        newer += isNew ? 1 : 0;
    }
    EXPECT_EQ(ReadTree(folder).size(), old.size());
    std::printf("killed at %d %%: %d of %zu files new\n", BlockPercent(), newer, NewFiles().size());
}

INSTANTIATE_TEST_SUITE_P(Moments, InstallKillTest, ::testing::Values(20, 50, 80));
