// The file-operations object's own file and folder operations.
#include "EngineTestSupport.h"

#include "installer/engine/Myfileop_class.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/StringList.h"

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

using namespace enginetest;

namespace {

class FileOpsTest : public ::testing::Test {
protected:
    EngineMachine machine;
    MyFileOp ops;

    std::string Write(const std::string& relative, const std::string& text = "x") {
        return machine.Scratch().Write(relative, text);
    }
    bool Exists(const std::string& relative) const { return fs::exists(machine.Path(relative)); }
    AnsiString A(const std::string& relative) const { return AnsiString(machine.Path(relative)); }
    UnicodeString U(const std::string& relative) const {
        return UnicodeString(machine.Path(relative));
    }
};

} // namespace

TEST_F(FileOpsTest, DeleteFolderContentsOrTheFolderItself) {
    Write("d/a.txt");
    Write("d/sub/b.txt");
    EXPECT_TRUE(ops.DeletePath(A("d/"), true));
    EXPECT_TRUE(Exists("d"));
    EXPECT_FALSE(Exists("d/a.txt"));
    EXPECT_FALSE(Exists("d/sub"));
    ASSERT_EQ(ops.journal.size(), 1u);
    EXPECT_EQ(ops.journal[0].from, A("d/*.*"));
    EXPECT_EQ(ops.journal[0].kind, MyFileOp::kJournalDelete);

    Write("d/c.txt");
    EXPECT_TRUE(ops.DeletePath(A("d"), false));
    EXPECT_FALSE(Exists("d"));
    EXPECT_EQ(ops.journal.size(), 2u);

    EXPECT_FALSE(ops.DeletePath(A("gone"), true));
    EXPECT_EQ(ops.journal.size(), 2u);
    EXPECT_NE(ops.LogList()[ops.LogList().Count() - 1].ToUtf8().find(
                  ": Kasowanie " + machine.Path("gone") + " nie powiodło się"),
              std::string::npos);
}

TEST_F(FileOpsTest, RelativeOrEmptyPathsDeleteNothing) {
    Write("here/keep.txt");
    const fs::path before = fs::current_path();
    fs::current_path(machine.Scratch().Path());
    for (const char* path : {"here", "here/", "", "./here", "../x"})
        EXPECT_FALSE(ops.DeletePath(path, true)) << path;
    fs::current_path(before);
    EXPECT_TRUE(Exists("here/keep.txt"));
    EXPECT_TRUE(ops.journal.empty());
}

TEST_F(FileOpsTest, RenameDropsTrailingDelimitersAndNeverReplaces) {
    Write("from/a.txt");
    Write("taken/b.txt");
    EXPECT_TRUE(ops.RenamePath(A("from/"), A("to/")));
    EXPECT_TRUE(Exists("to/a.txt"));
    ASSERT_EQ(ops.journal.size(), 1u);
    EXPECT_EQ(ops.journal[0].from, A("from"));
    EXPECT_EQ(ops.journal[0].to, A("to"));
    EXPECT_FALSE(ops.RenamePath(A("to"), A("taken")));
    EXPECT_TRUE(Exists("taken/b.txt"));
    EXPECT_TRUE(Exists("to/a.txt"));
}

TEST_F(FileOpsTest, ExistenceAndSize) {
    Write("f/file.bin", std::string(1234, 'z'));
    EXPECT_TRUE(ops.PathExists(A("f")));
    EXPECT_FALSE(ops.PathExists(A("f/")));
    EXPECT_TRUE(ops.PathExists(A("f/*.bin")));
    EXPECT_FALSE(ops.PathExists(A("f/*.txt")));
    EXPECT_EQ(ops.FileSizeOf(A("f/file.bin")), 1234);
    EXPECT_EQ(ops.FileSizeOf(A("f")), 0);
    EXPECT_EQ(ops.FileSizeOf(A("f/none")), -1);
}

TEST_F(FileOpsTest, CopyKeepsTheDateAndReplacesOnlyWhenAsked) {
    const std::string source = Write("src.txt", "new content");
    const time_t stamp = 1600000001; // odd second: kept at two-second resolution
    const struct utimbuf times = {stamp, stamp};
    ::utime(source.c_str(), &times);
    const std::string target = Write("dst/read-only.txt", "old");
    ::chmod(target.c_str(), 0444);

    EXPECT_TRUE(ops.CopyFileBlocks(U("src.txt"), U("dst/read-only.txt"), false));
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_TRUE(ops.CopyFileBlocks(U("src.txt"), U("dst/read-only.txt"), true));
    EXPECT_EQ(ReadBytes(target), "new content");
    struct stat st {};
    ::stat(target.c_str(), &st);
    EXPECT_LE(std::abs(static_cast<long>(st.st_mtime - stamp)), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(machine.Path("dst")), fs::directory_iterator()),
              1);

    EXPECT_FALSE(ops.CopyFileBlocks(U("src.txt"), U("nofolder/x.txt"), true));
    EXPECT_FALSE(Exists("nofolder"));
    EXPECT_FALSE(ops.CopyFileBlocks(U("missing.txt"), U("dst/y.txt"), true));
    ops.cancelRequested = true;
    EXPECT_FALSE(ops.CopyFileBlocks(U("src.txt"), U("dst/z.txt"), true));
}

TEST_F(FileOpsTest, UnreadableSourceRaisesToTheCaller) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    const std::string source = Write("secret.txt");
    ::chmod(source.c_str(), 0);
    EXPECT_THROW(ops.CopyFileBlocks(U("secret.txt"), U("out.txt"), true), Exception);
}

TEST_F(FileOpsTest, CopyThatRunsOutOfSpaceReportsFalseAndKeepsTheOldTarget) {
    Write("big.bin", std::string(100000, 'b'));
    Write("target.bin", "previous");
    auto copy = [&] { return ops.CopyFileBlocks(U("big.bin"), U("target.bin"), true); };
    EXPECT_EXIT(WithFileSizeLimit(20000, copy), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadBytes(machine.Path("target.bin")), "previous");
    EXPECT_TRUE(NoPartialFiles(machine.Scratch().Path()));
}

TEST_F(FileOpsTest, ListingsAndEmptiness) {
    Write("l/b.ini");
    Write("l/a.INI");
    Write("l/.hidden.ini");
    Write("l/c.txt");
    Write("l/sub/d.ini");
    fs::create_directories(machine.Path("l/.hiddenfolder"));
    fs::create_directories(machine.Path("empty"));
    std::vector<std::string> names;
    for (const UnicodeString& path : ops.ListFiles(U("l"), u"*.ini"))
        names.push_back(path.ToUtf8().substr(machine.Path("l/").size()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden.ini", "a.INI", "b.ini"}));
    EXPECT_FALSE(ops.GetFirstFile(U("l/"), u"*.ini").IsEmpty());
    EXPECT_TRUE(ops.GetFirstFile(U("l"), u"*.pdf").IsEmpty());
    const std::vector<UnicodeString> folders = ops.ListSubfolders(U("l"));
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].ToUtf8(), machine.Path("l/sub"));

    EXPECT_TRUE(ops.IsFolderEmpty(U("empty")));
    EXPECT_TRUE(ops.IsFolderEmpty(U("nowhere")));
    Write("hid/.only");
    EXPECT_FALSE(ops.IsFolderEmpty(U("hid")));
}

TEST_F(FileOpsTest, PrepareExtractTargetDeletesOnlyWhatItMay) {
    Write("p/plain.txt");
    const std::string locked = Write("p/locked.txt", "keep");
    ::chmod(locked.c_str(), 0444);
    EXPECT_TRUE(ops.PrepareExtractTarget(U("p/none.txt")));
    EXPECT_TRUE(ops.PrepareExtractTarget(U("p/plain.txt")));
    EXPECT_FALSE(Exists("p/plain.txt"));
    EXPECT_FALSE(ops.PrepareExtractTarget(U("p/locked.txt")));
    EXPECT_EQ(ReadBytes(locked), "keep");
}

TEST_F(FileOpsTest, RemoveFolderTreeKeepsThePathsToFiles) {
    Write("t/a/b/c/deep.txt");
    fs::create_directories(machine.Path("t/a/empty1/empty2"));
    fs::create_directories(machine.Path("t/x/y"));
    EXPECT_TRUE(ops.RemoveFolderTree(A("t")));
    EXPECT_TRUE(Exists("t/a/b/c/deep.txt"));
    EXPECT_FALSE(Exists("t/a/empty1"));
    EXPECT_FALSE(Exists("t/x"));
    fs::create_directories(machine.Path("u/v"));
    EXPECT_FALSE(ops.RemoveFolderTree(A("u")));
    EXPECT_FALSE(Exists("u"));
}

TEST(FileOpsSystem, UnsupportedSystemIsLoggedFromConstruction) {
    struct Case {
        const char* version;
        bool logged;
    };
    for (const Case& c : {Case{"10.0.19045", false}, Case{"9X 4.10.2222 A", false},
                          Case{"NT 3.51.1000", true}, Case{"WIN32S 3.10.1500", true}}) {
        ScopedEnv version("DBI_WINDOWS_VERSION", std::string(c.version));
        MyFileOp ops;
        ASSERT_EQ(ops.LogList().Count(), c.logged ? 1 : 0) << c.version;
        if (c.logged) {
            EXPECT_NE(ops.LogList()[0].ToUtf8().find(std::string(": ") + kUnsupportedSystemText),
                      std::string::npos);
        }
    }
}
