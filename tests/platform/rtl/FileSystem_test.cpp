#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class FileSystem : public ::testing::Test {
protected:
    UnicodeString Path(const std::string& name) {
        return UnicodeString((folder_.Path() / name).string());
    }
    testsupport::ScratchFolder folder_;
};

TEST_F(FileSystem, AnswersWithoutRaising) {
    UnicodeString file = Path("a.txt");
    std::ofstream(file.ToUtf8()) << "12345";
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(Path("")));     // the folder is not a file
    EXPECT_TRUE(DirectoryExists(Path(""))); // the folder with its trailing delimiter
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_EQ(FileSizeOf(file), 5);
    EXPECT_EQ(FileSizeOf(Path("missing")), -1);

    EXPECT_TRUE(ForceDirectories(Path("x/y/z/")));
    EXPECT_TRUE(DirectoryExists(Path("x/y/z")));
    EXPECT_FALSE(DeleteFile(Path("x/y/z"))); // folders are not deleted as files
    EXPECT_FALSE(RemoveDir(Path("x/y")));    // not empty
    EXPECT_TRUE(RemoveDir(Path("x/y/z")));

    std::ofstream(Path("b.txt").ToUtf8()) << "b";
    EXPECT_FALSE(RenameFile(file, Path("b.txt"))); // never replaces
    EXPECT_TRUE(RenameFile(file, Path("c.txt")));
    EXPECT_TRUE(DeleteFile(Path("c.txt")));
    EXPECT_FALSE(DeleteFile(Path("c.txt")));
}

TEST_F(FileSystem, LastWriteTimeAsDosDateAndTDateTime) {
    UnicodeString file = Path("dated.txt");
    std::ofstream(file.ToUtf8()) << "x";
    int32_t stamp = DateTimeToFileDate(EncodeDate(2011, 11, 5) + EncodeTime(10, 20, 30, 0));
    EXPECT_EQ(FileSetDate(file, stamp), 0);
    EXPECT_EQ(FileAge(file), stamp);
    TDateTime when;
    ASSERT_TRUE(FileAge(file, when));
    unsigned short y, m, d;
    DecodeDate(when, y, m, d);
    EXPECT_EQ(y, 2011);
    EXPECT_EQ(m, 11);
    EXPECT_EQ(d, 5);
    EXPECT_EQ(FileAge(Path("missing")), -1);
    EXPECT_FALSE(FileAge(Path("missing"), when));
}

} // namespace
