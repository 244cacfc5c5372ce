#include "platform/rtl/Paths.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char16_t* path;
    const char16_t* filePath;
    const char16_t* fileDir;
    const char16_t* fileName;
    const char16_t* fileExt;
};

TEST(Paths, TakesPathsApart) {
    const PathCase cases[] = {
        {u"/a/b/c.txt", u"/a/b/", u"/a/b", u"c.txt", u".txt"},
        {u"/a/b/", u"/a/b/", u"/a/b", u"", u""},
        {u"/file", u"/", u"/", u"file", u""},
        {u"name.tar.gz", u"", u"", u"name.tar.gz", u".gz"},
        {u"/dir.d/file", u"/dir.d/", u"/dir.d", u"file", u""},
        {u"/a/.hidden", u"/a/", u"/a", u".hidden", u".hidden"},
        {u"C:\\Program Files\\x.exe", u"C:\\Program Files\\", u"C:\\Program Files", u"x.exe",
         u".exe"},
        {u"C:\\x.exe", u"C:\\", u"C:\\", u"x.exe", u".exe"},
        {u"D:x.ini", u"D:", u"D:", u"x.ini", u".ini"},
        {u"", u"", u"", u"", u""},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(UnicodeString(c.path).ToUtf8());
        EXPECT_EQ(ExtractFilePath(c.path), UnicodeString(c.filePath));
        EXPECT_EQ(ExtractFileDir(c.path), UnicodeString(c.fileDir));
        EXPECT_EQ(ExtractFileName(c.path), UnicodeString(c.fileName));
        EXPECT_EQ(ExtractFileExt(c.path), UnicodeString(c.fileExt));
    }
}

TEST(Paths, ChangesExtensionsAndDelimiters) {
    EXPECT_EQ(ChangeFileExt(u"/a/b.dwx", u".bak"), UnicodeString(u"/a/b.bak"));
    EXPECT_EQ(ChangeFileExt(u"/a.d/b", u".7z"), UnicodeString(u"/a.d/b.7z"));
    EXPECT_EQ(ChangeFileExt(u"/a/b.x", u""), UnicodeString(u"/a/b"));
    EXPECT_EQ(IncludeTrailingPathDelimiter(u"/opt/x"), UnicodeString(u"/opt/x/"));
    EXPECT_EQ(IncludeTrailingPathDelimiter(u"/opt/x/"), UnicodeString(u"/opt/x/"));
    EXPECT_EQ(IncludeTrailingPathDelimiter(u""), UnicodeString(u"/"));
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/opt/x/"), UnicodeString(u"/opt/x"));
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/opt/x"), UnicodeString(u"/opt/x"));
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/"), UnicodeString(u"/"));
    EXPECT_TRUE(IsPathDelimiter(u"/a/", 3));
    EXPECT_FALSE(IsPathDelimiter(u"/a/", 4));
    EXPECT_EQ(ExpandFileName(u"/a/b/../c/./d"), UnicodeString(u"/a/c/d"));
}

TEST(Paths, DriveComesFromTheResolverOrTheLetter) {
    SetDriveResolver(nullptr);
    EXPECT_EQ(ExtractFileDrive(u"/home/user"), UnicodeString(u"C:"));
    EXPECT_EQ(ExtractFileDrive(u"relative/x"), UnicodeString(u""));
    EXPECT_EQ(ExtractFileDrive(u"d:\\data\\x"), UnicodeString(u"D:"));

    SetDriveResolver([](const UnicodeString& path) {
        return path.Pos(u"/media/usb") == 1 ? UnicodeString(u"E:") : UnicodeString(u"C:");
    });
    EXPECT_EQ(ExtractFileDrive(u"/media/usb/db"), UnicodeString(u"E:"));
    EXPECT_EQ(ExtractFileDrive(u"/home"), UnicodeString(u"C:"));
    EXPECT_EQ(ExtractFileDrive(u"F:/x"), UnicodeString(u"F:"));
    SetDriveResolver(nullptr);
}

TEST(Paths, NativePathGoesThroughTheResolver) {
    EXPECT_EQ(NativePath(u"/tmp/żółw"), "/tmp/żółw");
    SetNativePathResolver([](const UnicodeString& path) { return "/root" + path.ToUtf8(); });
    EXPECT_EQ(NativePath(u"/x"), "/root/x");
    SetNativePathResolver(nullptr);
    EXPECT_EQ(NativePath(u"/x"), "/x");
}

} // namespace
