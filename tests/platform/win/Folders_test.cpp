#include "WinTestSupport.h"

#include "platform/win/Folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using wintest::ScopedEnv;

TEST(Folders, TemporaryFolderFromTheEnvironmentOrPrivate) {
    {
        ScopedEnv mine{"DBI_TEMP_DIR", "/srv/tmp"};
        EXPECT_EQ(win::TempFolder(), "/srv/tmp/");
    }
    ScopedEnv noMine{"DBI_TEMP_DIR", std::nullopt};
    {
        ScopedEnv tmpdir{"TMPDIR", "/var/tmp/x/"};
        EXPECT_EQ(win::TempFolder(), "/var/tmp/x/");
    }
    {
        ScopedEnv relative{"TMPDIR", "relative"}; // not a usable folder: ignored
        std::string folder = win::TempFolder();
        EXPECT_EQ(folder, "/tmp/dbinstaller-" + std::to_string(::getuid()) + "/");
        struct stat st {};
        ASSERT_EQ(::lstat(folder.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
}

TEST(Folders, PrivateTemporaryFolderIsRefusedWhenNotReallyPrivate) {
    wintest::ScratchFolder parent, elsewhere;
    std::string path = parent / ("dbinstaller-" + std::to_string(::getuid()));
    std::filesystem::create_directory_symlink(elsewhere.Path(), path);
    EXPECT_EQ(win::PrivateTempFolderIn(parent.Path().string()), "");
    std::filesystem::remove(path);

    ASSERT_EQ(::mkdir(path.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0777), 0);
    EXPECT_EQ(win::PrivateTempFolderIn(parent.Path().string()), path + "/");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u); // made private again

    if (::getuid() == 0) { // only root can give the folder to someone else
        ASSERT_EQ(::chown(path.c_str(), 4242, 4242), 0);
        EXPECT_EQ(win::PrivateTempFolderIn(parent.Path().string()), "");
    }
    std::filesystem::remove(path);
    parent.Write("dbinstaller-" + std::to_string(::getuid()), "a file, not a folder");
    EXPECT_EQ(win::PrivateTempFolderIn(parent.Path().string()), "");
}

TEST(Folders, SystemAndDataFoldersFollowXdgAndOverrides) {
    ScopedEnv data{"XDG_DATA_HOME", "/home/u/data"}, config{"XDG_CONFIG_HOME", "/home/u/conf"};
    ScopedEnv noSystem{"DBI_SYSTEM_DIR", std::nullopt}, noWindows{"DBI_WINDOWS_DIR", std::nullopt},
        noProgramFiles{"DBI_PROGRAM_FILES_DIR", std::nullopt};
    EXPECT_EQ(win::LocalAppDataFolder(), "/home/u/data/");
    EXPECT_EQ(win::ConfigFolder(), "/home/u/conf/dbinstaller/");
    EXPECT_EQ(win::WindowsFolder(), "/home/u/data/dbinstaller/windows/");
    EXPECT_EQ(win::SystemFolder(), "/home/u/data/dbinstaller/windows/system32/");
    EXPECT_EQ(win::ProgramFilesFolder(), "/home/u/data/dbinstaller/program-files/");
    EXPECT_EQ(win::CommonFilesFolder(), "/home/u/data/dbinstaller/program-files/Common Files/");
    EXPECT_EQ(win::FontsFolder(), "/home/u/data/fonts/");

    ScopedEnv system{"DBI_SYSTEM_DIR", "/opt/libs"}, windows{"DBI_WINDOWS_DIR", "/opt/win/"};
    EXPECT_EQ(win::SystemFolder(), "/opt/libs/");
    EXPECT_EQ(win::WindowsFolder(), "/opt/win/");
    ScopedEnv noData{"XDG_DATA_HOME", std::nullopt}, home{"HOME", "/home/v"};
    EXPECT_EQ(win::LocalAppDataFolder(), "/home/v/.local/share/");
}

} // namespace
