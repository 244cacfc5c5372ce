#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"

#include <gtest/gtest.h>

TEST(CommandLine, ReadsTheProcessesOwnArguments) {
    // Run before any test replaces the command line: the test program itself is the process.
    UnicodeString exe = ExecutableFileName();
    EXPECT_TRUE(FileExists(exe)) << exe.ToUtf8();
    EXPECT_EQ(ExtractFileName(exe).Pos(u"test_platform_rtl"), 1);
    EXPECT_EQ(ExecutableFolder(), ExtractFilePath(exe));
    EXPECT_GE(ParamCount(), 0);
}

TEST(CommandLine, SetterReplacesTheArguments) {
    SetCommandLine({u"/opt/x/Setup", u"/update", u"/path:/home/u/db"});
    EXPECT_EQ(ParamCount(), 2);
    EXPECT_EQ(ParamStr(0), UnicodeString(u"/opt/x/Setup"));
    EXPECT_EQ(ParamStr(2), UnicodeString(u"/path:/home/u/db"));
    EXPECT_EQ(ParamStr(3), UnicodeString());
    EXPECT_EQ(ParamStr(-1), UnicodeString());
    EXPECT_EQ(ExecutableFolder(), UnicodeString(u"/opt/x/"));
    SetCommandLine({});
    EXPECT_EQ(ParamCount(), 0);
}
