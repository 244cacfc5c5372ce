// The shell-operations object: version texts and numbers, running processes, programs waited
// for, and the throttled message pump.
#include "EngineTestSupport.h"

#include "installer/engine/Shellops_class.h"
#include "platform/ui/UiClock.h"

#include <cctype>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace enginetest;

TEST(ShellOpsVersions, PartsSplitAtDotsOnly) {
    struct Case {
        const char* text;
        int parts[4];
    };
    const Case cases[] = {
        {"2.0.4.5", {2, 0, 4, 5}},        {"6.5", {6, 5, -1, -1}},
        {"7", {7, -1, -1, -1}},           {"2.0.4", {2, 0, 4, -1}},
        {"2, 0, 4, 5", {-1, -1, -1, -1}}, {"", {-1, -1, -1, -1}},
        {" 3.1 ", {3, 1, -1, -1}},        {"1..2", {1, -1, 2, -1}},
        {"x.2.y.4", {-1, 2, -1, 4}},      {"99999999999.1", {-1, 1, -1, -1}},
    };
    for (const Case& c : cases) {
        int parts[4];
        ParseVersionParts(UnicodeString(c.text), parts, 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(parts[i], c.parts[i]) << c.text << " part " << i;
    }
}

TEST(ShellOpsVersions, FromTheVersionResourceOfAFile) {
    EngineMachine machine;
    ShellOps shell;
    int major = 0, minor = 0, release = 0, build = 0;
    EXPECT_EQ(
        shell.GetFileVersion4(UnicodeString(VersionedFile("2.0.4.5")), major, minor, release, build)
            .ToUtf8(),
        "2.0.4.5");
    EXPECT_EQ((std::vector<int>{major, minor, release, build}), (std::vector<int>{2, 0, 4, 5}));
    shell.GetFileVersion2(UnicodeString(VersionedFile("")), major, minor);
    EXPECT_EQ((std::vector<int>{major, minor}), (std::vector<int>{-1, -1}));
    EXPECT_TRUE(shell.GetFileVersionString(UnicodeString(machine.Path("none.dll"))).IsEmpty());

    // A text written with commas, and one longer than the resource keeps.
    const std::string commas = machine.Path("commas.dll");
    ASSERT_EQ(std::system(("bash '" + (SourceDir() / "tools/make_pe_fixtures.sh").string() +
                           "' --version 2.0.4.5 --text '2, 0, 4, 5' '" + commas + "'")
                              .c_str()),
              0);
    EXPECT_EQ(shell.GetFileVersion2(UnicodeString(commas), major, minor).ToUtf8(), "2, 0, 4, 5");
    EXPECT_EQ(major, -1);
    const std::string longFile = machine.Path("long.dll");
    ASSERT_EQ(std::system(("bash '" + (SourceDir() / "tools/make_pe_fixtures.sh").string() +
                           "' --version 1.2.3.4 --text '1.2." + std::string(300, '7') + "' '" +
                           longFile + "'")
                              .c_str()),
              0);
    EXPECT_EQ(shell.GetFileVersionString(UnicodeString(longFile)).Length(), 254);
}

TEST(ShellOpsProcesses, RunningEngineFoundWhateverTheCaseAndClosed) {
    EngineMachine machine;
    // A name of this test process's own, so that closing it never closes another test's engine.
    const std::string name = "viru" + std::to_string(::getpid()) + ".exe";
    std::string shouted = " " + name + " ";
    for (char& c : shouted)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    const std::string program = machine.Path(name);
    fs::copy_file("/bin/sleep", program);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl(program.c_str(), name.c_str(), "30", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ShellOps shell;
    bool found = false;
    for (int i = 0; i < 100 && !found; ++i) {
        found = shell.CheckProcess(AnsiString(shouted.c_str()), false);
        if (!found)
            ::usleep(20000);
    }
    EXPECT_TRUE(found);
    EXPECT_FALSE(shell.CheckProcess("other.exe", false));
    EXPECT_TRUE(shell.CheckProcess(AnsiString(name.c_str()), true));
    int status = 0;
    ::waitpid(child, &status, WNOHANG);
    EXPECT_FALSE(shell.CheckProcess(AnsiString(name.c_str()), false));
}

TEST(ShellOpsPrograms, RunAndWaitGivesTheExitCode) {
    EngineMachine machine;
    const std::string script = machine.Scratch().Write("tool.sh", "#!/bin/sh\nexit $1\n");
    fs::permissions(script, fs::perms::owner_all);
    ShellOps shell;
    EXPECT_EQ(shell.RunAndWait(UnicodeString(script), u"7"), 7);
    EXPECT_EQ(shell.RunAndWait(UnicodeString(machine.Path("missing.exe")), u""), -1);
}

TEST(ShellOpsPump, PumpsAtMostOnceInTwoSeconds) {
    TManualClock clock(100000);
    SetUiClock(&clock);
    ShellOps shell;
    shell.lastPumpTick = GetTickCount();
    clock.Advance(2000);
    shell.ProcessMessagesThrottled();
    EXPECT_EQ(shell.lastPumpTick, 100000u);
    clock.Advance(1);
    shell.ProcessMessagesThrottled();
    EXPECT_EQ(shell.lastPumpTick, 102001u);
    SetUiClock(nullptr);
}

TEST(ShellOpsFolders, TemporaryFolderWithDelimiterOthersWithout) {
    EngineMachine machine;
    ShellOps shell;
    shell.Init();
    EXPECT_EQ(shell.tempFolder.ToUtf8(), machine.TempFolder() + "/");
    EXPECT_EQ(shell.systemFolder.str(), machine.SystemFolder());
    EXPECT_EQ(shell.system32BitFolder.str(), machine.SystemFolder());
}
