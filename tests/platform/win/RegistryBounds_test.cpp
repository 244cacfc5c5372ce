// The registry store against hive files that would cost without bound: deep keys, files that
// are not regular files, and files too large to be a hive.
#include "WinTestSupport.h"

#include "platform/rtl/Exceptions.h"
#include "platform/win/Registry.h"
#include "platform/win/RegistryFileFormat.h"
#include "platform/win/RegistryStore.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using wintest::ScopedEnv;

std::string KeyOfDepth(size_t depth) {
    std::string path;
    for (size_t i = 0; i < depth; ++i)
        path += "\\k";
    return path;
}

std::string HiveWithKey(const std::string& path) {
    return "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER" + path + "]\n\"v\"=\"x\"\n";
}

win::RegistryParseResult Parse(const std::string& text, win::RegistryHive& hive) {
    return win::ParseRegistryFile({reinterpret_cast<const uint8_t*>(text.data()), text.size()},
                                  "HKEY_CURRENT_USER", hive);
}

TEST(RegistryBounds, KeysDeeperThanThePlatformsLimitAreMalformed) {
    win::RegistryHive hive;
    EXPECT_TRUE(Parse(HiveWithKey(KeyOfDepth(512)), hive).ok);
    ASSERT_NE(hive.FindKey(KeyOfDepth(512)), nullptr);

    for (size_t depth : {513, 10000, 40000}) {
        win::RegistryHive deep;
        win::RegistryParseResult result = Parse(HiveWithKey(KeyOfDepth(depth)), deep);
        EXPECT_FALSE(result.ok) << depth;
        EXPECT_EQ(result.line, 3) << depth;
        EXPECT_EQ(result.message, "key deeper than 512 levels") << depth;
        EXPECT_LE(deep.Keys().size(), 1u) << depth;
    }
}

class RegistryStoreBounds : public ::testing::Test {
protected:
    wintest::ScratchFolder folder;
    std::string userFile = folder / "user.reg";
    ScopedEnv user{"DBI_REGISTRY_USER", userFile};

    // The message ReadRegistryHive raised, or "" when it read the hive.
    std::string ReadFailure() {
        try {
            win::ReadRegistryHive(win::RegistryHiveId::CurrentUser,
                                  [](const win::RegistryHive&) {});
        } catch (const ERegistryException& e) {
            return e.Message().ToUtf8();
        }
        return "";
    }
};

TEST_F(RegistryStoreBounds, ADeepKeyInTheHiveFileIsRefusedAndNeitherCreatedThroughTheApi) {
    folder.Write("user.reg", HiveWithKey(KeyOfDepth(10000)));
    EXPECT_NE(ReadFailure().find("key deeper than 512 levels"), std::string::npos);

    folder.Write("user.reg", "Windows Registry Editor Version 5.00\n");
    TRegistry reg;
    reg.RootKey = HKEY_CURRENT_USER;
    EXPECT_FALSE(reg.OpenKey(UnicodeString(KeyOfDepth(513)), true));
    EXPECT_TRUE(reg.OpenKey(UnicodeString(KeyOfDepth(512)), true));
    EXPECT_EQ(ReadFailure(), "");
}

// A named pipe would block the reader for ever, a device feed it without end.
TEST_F(RegistryStoreBounds, WhatIsNotARegularFileIsRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(userFile.c_str(), 0600), 0);
    // Should the reader wait on the pipe, a writer comes after a while and ends the wait, so
    // the test fails instead of hanging.
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        int fd = ::open(userFile.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    });
    EXPECT_NE(ReadFailure().find("not a regular file"), std::string::npos);
    writer.join();

    ScopedEnv device{"DBI_REGISTRY_USER", "/dev/zero"};
    EXPECT_NE(ReadFailure().find("not a regular file"), std::string::npos);
}

TEST_F(RegistryStoreBounds, AFileTooLargeToBeAHiveIsRefused) {
    int fd = ::open(userFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, (64 << 20) + 1), 0); // sparse: costs no disk
    ::close(fd);
    EXPECT_NE(ReadFailure().find("larger than 64 MiB"), std::string::npos);
}

// The change is made on the hive in place; a change that fails half way leaves nothing of it.
TEST_F(RegistryStoreBounds, AFailedChangeLeavesTheHiveAsSaved) {
    folder.Write("user.reg", HiveWithKey("\\Kept"));
    EXPECT_THROW(win::ChangeRegistryHive(win::RegistryHiveId::CurrentUser,
                                         [](win::RegistryHive& hive) {
                                             hive.CreateKey("Half\\Done");
                                             throw std::runtime_error("stop");
                                         }),
                 std::runtime_error);
    win::ReadRegistryHive(win::RegistryHiveId::CurrentUser, [](const win::RegistryHive& hive) {
        EXPECT_NE(hive.FindKey("Kept"), nullptr);
        EXPECT_EQ(hive.FindKey("Half"), nullptr);
    });
    win::ChangeRegistryHive(win::RegistryHiveId::CurrentUser,
                            [](win::RegistryHive& hive) { hive.CreateKey("Whole"); });
    win::ReadRegistryHive(win::RegistryHiveId::CurrentUser, [](const win::RegistryHive& hive) {
        EXPECT_NE(hive.FindKey("Whole"), nullptr);
        EXPECT_NE(hive.FindKey("Kept"), nullptr);
    });
}

} // namespace
