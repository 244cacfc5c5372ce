#include "WinTestSupport.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/FileSystem.h"
#include "platform/win/FileMask.h"
#include "platform/win/FileSystem.h"
#include "platform/win/WindowsPath.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(FileMask, MatchesAsTheCallersPlatformDoes) {
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"readme", "*.*", true},
        {"a.b.c", "*.*", true},
        {".hidden", "*.*", true},
        {"Setup.INI", "*.ini", true},
        {"setup.ini", "*.INI", true},
        {"setup.init", "*.ini", false},
        {"ŻÓŁW.JPG", "żółw.jpg", true},
        {"a.dwx", "?.dwx", true},
        {"ab.dwx", "?.dwx", false},
        {"readme", "*.", true},
        {"read.me", "*.", false},
        {"DB01INI", "db??ini", true},
        {"x", "*", true},
        {"", "*", true},
        {"abc", "a*c*", true},
        {"archive.7z", "*.7z", true},
        {"archive.7z.tmp", "*.7z", false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*a*a*c", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.mask);
        EXPECT_EQ(win::MatchesMask(c.name, c.mask), c.matches);
    }
}

class FileSystemTest : public ::testing::Test {
protected:
    wintest::ScratchFolder folder;
    std::string Path(const std::string& name) { return folder / name; }
};

TEST_F(FileSystemTest, SearchesFindEntriesByMaskWhateverTheirCase) {
    folder.Write("db/Setup.INI", "12345");
    folder.Write("db/readme", "");
    folder.Write("db/.hidden.ini", "");
    folder.Write("db/Sub/x.ini", "");
    auto names = [](const std::vector<win::FoundEntry>& entries) {
        std::string joined;
        for (const auto& e : entries)
            joined += e.name + (e.directory ? "/" : "") + (e.hidden ? "(h)" : "") + " ";
        return joined;
    };
    EXPECT_EQ(names(win::FindEntries(Path("db/*.*"))), ".hidden.ini(h) readme Setup.INI Sub/ ");
    EXPECT_EQ(names(win::FindEntries(Path("DB/*.ini"))), ".hidden.ini(h) Setup.INI ");
    EXPECT_EQ(names(win::FindEntries(Path("db/setup.ini"))), "Setup.INI ");
    EXPECT_EQ(names(win::FindEntries(Path("db/sub"))), "Sub/ ");
    EXPECT_EQ(names(win::FindEntries(Path("db/sub/"))), ""); // a trailing delimiter names nothing
    EXPECT_EQ(names(win::FindEntries(Path("nowhere/*.*"))), "");
    std::vector<win::FoundEntry> setup = win::FindEntries(Path("db/SETUP.ini"));
    ASSERT_EQ(setup.size(), 1u);
    EXPECT_EQ(setup[0].size, 5);
    EXPECT_EQ(setup[0].path, Path("db/Setup.INI"));
}

TEST_F(FileSystemTest, ReadOnlyFilesResistDeletionButNotTheShell) {
    std::string file = folder.Write("ro.txt", "x");
    ASSERT_TRUE(win::SetReadOnly(file, true));
    EXPECT_TRUE(win::IsReadOnly(file));
    EXPECT_FALSE(win::DeleteFile(file));
    EXPECT_TRUE(::FileExists(file));
    EXPECT_FALSE(win::DeleteFile(folder.Path().string())); // a folder is no file
    ASSERT_TRUE(win::SetReadOnly(file, false));
    EXPECT_TRUE(win::DeleteFile(Path("RO.TXT")));
    EXPECT_FALSE(::FileExists(file));

    folder.Write("tree/a/b/c.txt", "");
    folder.Write("tree/top.txt", "");
    ASSERT_TRUE(win::SetReadOnly(Path("tree/a/b/c.txt"), true));
    ASSERT_EQ(::chmod(Path("tree/a/b").c_str(), 0500), 0);
    EXPECT_TRUE(win::ShellDelete(Path("tree/*.*")));
    EXPECT_TRUE(::DirectoryExists(Path("tree")));
    EXPECT_TRUE(win::FindEntries(Path("tree/*.*")).empty());
    EXPECT_TRUE(win::ShellDelete(Path("TREE")));
    EXPECT_FALSE(::DirectoryExists(Path("tree")));
    EXPECT_FALSE(win::ShellDelete(Path("tree")));
}

TEST_F(FileSystemTest, ShellRenameNeverReplacesButTheReplacingRenameDoes) {
    folder.Write("a.txt", "a");
    folder.Write("b.txt", "b");
    folder.Write("dir/inner.txt", "");
    EXPECT_FALSE(win::RenameWithoutReplacing(Path("a.txt"), Path("b.txt")));
    EXPECT_FALSE(win::RenameWithoutReplacing(Path("a.txt"), Path("B.TXT")));
    EXPECT_EQ(wintest::ReadFile(Path("b.txt")), "b");
    EXPECT_TRUE(win::RenameWithoutReplacing(Path("A.txt"), Path("c.txt")));
    EXPECT_EQ(wintest::ReadFile(Path("c.txt")), "a");
    // A change of case only is a rename of the entry onto itself.
    EXPECT_TRUE(win::RenameWithoutReplacing(Path("c.txt"), Path("C.TXT")));
    EXPECT_EQ(wintest::ReadFile(Path("C.TXT")), "a");
    EXPECT_TRUE(win::RenameWithoutReplacing(Path("DIR"), Path("folder")));
    EXPECT_TRUE(::FileExists(Path("folder/inner.txt")));
    EXPECT_FALSE(win::RenameWithoutReplacing(Path("none"), Path("other")));

    EXPECT_TRUE(win::RenameReplacing(Path("C.TXT"), Path("b.txt")));
    EXPECT_EQ(wintest::ReadFile(Path("b.txt")), "a");
    EXPECT_FALSE(::FileExists(Path("C.TXT")));
}

// The run-time library's own file routines find entries through this layer's resolver.
TEST_F(FileSystemTest, RunTimeLibraryRoutinesResolveThroughTheDriveMap) {
    win::InstallPathResolvers();
    folder.Write("Programs/Zentravo/Setup.ini", "12345");
    wintest::ScopedEnv drives{"DBI_DRIVES", "C=/;D=" + folder.Path().string()};
    EXPECT_TRUE(::FileExists("D:\\PROGRAMS\\zentravo\\SETUP.INI"));
    EXPECT_TRUE(::DirectoryExists("d:\\programs\\ZENTRAVO"));
    EXPECT_EQ(FileSizeOf(UnicodeString::FromUtf8(Path("programs/zentravo/setup.ini"))), 5);
    int32_t dos = DateTimeToFileDate(EncodeDate(2014, 3, 15) + EncodeTime(13, 45, 30, 0));
    EXPECT_EQ(FileSetDate("D:\\Programs\\Zentravo\\SETUP.ini", dos), 0);
    EXPECT_EQ(FileAge(UnicodeString::FromUtf8(Path("Programs/Zentravo/Setup.ini"))), dos);
    EXPECT_TRUE(ForceDirectories("D:\\programs\\New\\Deeper"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "Programs/New/Deeper"));
}

} // namespace
