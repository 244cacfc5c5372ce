#include "WinTestSupport.h"

#include "platform/win/Processes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Starts `program` with this argument list (the first is what the process sees as its name).
int Spawn(const std::string& program, std::vector<std::string> argv) {
    std::vector<char*> pointers;
    for (std::string& a : argv)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    pid_t pid = 0;
    EXPECT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, pointers.data(), environ), 0);
    return pid;
}

const win::ProcessEntry* FindPid(const std::vector<win::ProcessEntry>& list, int pid) {
    for (const auto& entry : list)
        if (entry.pid == pid)
            return &entry;
    return nullptr;
}

class ProcessesTest : public ::testing::Test {
protected:
    wintest::ScratchFolder folder;
    std::string engine = folder / "viru.exe";
    void SetUp() override { fs::copy_file("/bin/sleep", engine); }
};

TEST_F(ProcessesTest, StartedCopyIsFoundByItsNamesAndCloses) {
    int direct = Spawn(engine, {engine, "30"});
    // As a compatibility layer runs it: another executable, the program's path as argument.
    int layered = Spawn("/bin/sleep", {"C:\\Programs\\Engine\\VIRU.EXE", "30"});
    // A process that has only just started may not show its arguments yet.
    std::vector<win::ProcessEntry> list;
    const win::ProcessEntry *first = nullptr, *second = nullptr;
    for (int i = 0; i < 200; ++i) {
        list = win::ListProcesses();
        first = FindPid(list, direct);
        second = FindPid(list, layered);
        if (first && second && !first->commandName.empty() && !second->commandName.empty())
            break;
        ::usleep(10000);
    }
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->executableName, "viru.exe");
    EXPECT_EQ(first->commandName, "viru.exe");
    EXPECT_EQ(second->executableName, "sleep");
    EXPECT_EQ(second->commandName, "VIRU.EXE");
    EXPECT_NE(FindPid(list, ::getpid()), nullptr);

    for (int pid : {direct, layered}) {
        EXPECT_TRUE(win::RequestClose(pid));
        EXPECT_EQ(win::WaitForExit(pid, 5000), win::WaitResult::Exited);
    }
    std::vector<win::ProcessEntry> after = win::ListProcesses();
    EXPECT_EQ(FindPid(after, direct), nullptr);
}

TEST_F(ProcessesTest, AProcessThatIgnoresTheCloseRequestIsTerminated) {
    int stubborn = Spawn("/bin/sh", {"sh", "-c", "trap '' TERM; exec " + engine + " 30"});
    // Give the shell time to set the trap and become the engine.
    for (int i = 0; i < 200; ++i) {
        std::vector<win::ProcessEntry> list = win::ListProcesses();
        const win::ProcessEntry* entry = FindPid(list, stubborn);
        if (entry && entry->executableName == "viru.exe")
            break;
        ::usleep(10000);
    }
    EXPECT_TRUE(win::RequestClose(stubborn));
    EXPECT_EQ(win::WaitForExit(stubborn, 300), win::WaitResult::TimedOut);
    EXPECT_TRUE(win::TerminateProcess(stubborn));
    EXPECT_EQ(win::WaitForExit(stubborn, 5000), win::WaitResult::Exited);
    EXPECT_FALSE(win::TerminateProcess(stubborn)); // reaped: gone
}

TEST_F(ProcessesTest, ChildProcessesReportTheirExitCode) {
    win::ChildProcess child;
    std::string error;
    ASSERT_TRUE(child.Start("/bin/sh", {"-c", "sleep 0.3; exit 7"}, error)) << error;
    EXPECT_EQ(child.Wait(100), win::WaitResult::TimedOut);
    win::WaitResult result;
    while ((result = child.Wait(100)) == win::WaitResult::TimedOut) {
    }
    EXPECT_EQ(result, win::WaitResult::Exited);
    EXPECT_EQ(child.ExitCode(), 7);

    win::ChildProcess missing;
    EXPECT_FALSE(missing.Start(folder / "no-such-program", {}, error));
    EXPECT_NE(error.find("no-such-program"), std::string::npos);
    EXPECT_EQ(missing.Wait(10), win::WaitResult::Failed);
}

TEST(CommandLine, SplitsAsTheWindowsParserDoes) {
    struct Case {
        const char* line;
        std::vector<std::string> arguments;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"  a  b\tc ", {"a", "b", "c"}},
        {"-extract \"C:\\Program Files\\x.exe\", \"s.rc\", RCData,DB01,0",
         {"-extract", "C:\\Program Files\\x.exe,", "s.rc,", "RCData,DB01,0"}},
        {"\"\"", {""}},
        {"a\\\\\\\"b", {"a\\\"b"}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"C:\\dir\\ x", {"C:\\dir\\", "x"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(win::SplitCommandLine(c.line), c.arguments);
    }
}

} // namespace
