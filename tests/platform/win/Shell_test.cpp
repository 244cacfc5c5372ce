#include "WinTestSupport.h"

#include "platform/win/Shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

namespace fs = std::filesystem;

// A stand-in for the opener and the printer: records its arguments, one per line.
std::string Recorder(const wintest::ScratchFolder& folder, const std::string& log, int exitCode) {
    std::string script =
        folder.Write("recorder-" + log + ".sh",
                     "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " +
                         (folder / log) + ".part\nmv " + (folder / log) + ".part " +
                         (folder / log) + "\nexit " + std::to_string(exitCode) + "\n");
    fs::permissions(script, fs::perms::owner_all);
    return script;
}

std::string WaitForFile(const std::string& path) {
    for (int i = 0; i < 500 && !fs::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return wintest::ReadFile(path);
}

TEST(Shell, OpensAddressesAsOneArgumentNeverThroughAShell) {
    wintest::ScratchFolder folder;
    wintest::ScopedEnv opener{"DBI_OPEN_COMMAND", Recorder(folder, "opened", 0)};
    std::string error;
    const std::string address = "https://example.com/a?b=1&c=$(touch pwned); echo `id`";
    ASSERT_TRUE(win::OpenDocument(address, error)) << error;
    EXPECT_EQ(WaitForFile(folder / "opened"), address + "\n");
    EXPECT_FALSE(fs::exists(folder.Path() / "pwned"));
    EXPECT_FALSE(win::OpenDocument("", error));

    wintest::ScopedEnv missing{"DBI_OPEN_COMMAND", folder / "no-opener"};
    EXPECT_FALSE(win::OpenDocument("https://example.com", error));
    EXPECT_NE(error.find("no-opener"), std::string::npos);
}

TEST(Shell, PrintsFilesAndReportsFailures) {
    wintest::ScratchFolder folder;
    std::string document = folder.Write("Licence.rtf", "{\\rtf1}");
    {
        wintest::ScopedEnv printer{"DBI_PRINT_COMMAND", Recorder(folder, "printed", 0)};
        std::string error;
        ASSERT_TRUE(win::PrintFile(folder / "LICENCE.RTF", error)) << error;
        EXPECT_EQ(wintest::ReadFile(folder / "printed"), "--\n" + document + "\n");
        EXPECT_FALSE(win::PrintFile(folder / "missing.rtf", error));
    }
    wintest::ScopedEnv failing{"DBI_PRINT_COMMAND", Recorder(folder, "failed", 3)};
    std::string error;
    EXPECT_FALSE(win::PrintFile(document, error));
    EXPECT_NE(error.find("could not print"), std::string::npos);
}

} // namespace
