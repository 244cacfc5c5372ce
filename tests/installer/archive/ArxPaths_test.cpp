// Path arithmetic and string routines of the archive library, in their "/" form.
#include "ArchiveFixtures.h"

#include "installer/archive/ArxFileUtils.h"
#include "installer/archive/ArxStrings.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char* input;
    const char* expected;
};

TEST(ArxPaths, NormalizeDotSegments) {
    const PathCase cases[] = {
        {"C:/a/./b/../c", "C:/a/c"},
        {"../a/../../b", "../../b"},
        {"C:/../a", "C:/a"},
        {"", "."},
        {"/dest/./Plytki/../x.dwx", "/dest/x.dwx"},
        {"/../etc", "/etc"},
        {"a/b/", "a/b/"},
        {"//server/share/./x", "//server/share/x"},
        {"./", "."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormalizeDotSegments(c.input).ToUtf8(), c.expected) << c.input;
}

TEST(ArxPaths, RelativePathBetween) {
    const struct {
        const char* origin;
        const char* target;
        const char* expected;
    } cases[] = {
        {"C:/dest/", "Plytki/x.dwx", "C:/dest/Plytki/x.dwx"},
        {"C:/a/b", "C:/a/c/d", "../c/d"},
        {"C:/a", "D:/b", "D:/b"},
        {"C:/a", "/b", "C:/b"},
        {"C:/a", "c:/A", "."},
        {"/dest/", "Plytki/x.dwx", "/dest/Plytki/x.dwx"},
        {"/dest", "Plytki", "/dest/Plytki"},
        {"/dest/", "a/./b/../c.txt", "/dest/a/c.txt"},
        {"", "a/b", "a/b"},
        {"/x", "", "."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RelativePathBetween(c.origin, c.target).ToUtf8(), c.expected)
            << c.origin << " -> " << c.target;
}

TEST(ArxPaths, TrailingDelimiterAndRoots) {
    EXPECT_EQ(EnsureTrailingBackslash(u"").ToUtf8(), "/");
    EXPECT_EQ(EnsureTrailingBackslash(u"/a").ToUtf8(), "/a/");
    EXPECT_EQ(EnsureTrailingBackslash(u"/a/").ToUtf8(), "/a/");
    EXPECT_EQ(StripTrailingBackslash(u"/a/").ToUtf8(), "/a");
    EXPECT_TRUE(IsRootedPath(u"/a"));
    EXPECT_TRUE(IsRootedPath(u"C:/a"));
    EXPECT_FALSE(IsRootedPath(u"C:"));
    EXPECT_FALSE(IsRootedPath(u"a/b"));
    EXPECT_EQ(ExtractPathDrive(u"//srv/share/x").ToUtf8(), "//srv/share");
}

TEST(ArxPaths, CreateFolderChain) {
    arxtest::ScratchDir dir;
    EXPECT_TRUE(CreateFolderChain(u"/"));
    EXPECT_TRUE(CreateFolderChain(u"C:/"));
    EXPECT_TRUE(CreateFolderChain(arxtest::U(dir / "a/b/c/")));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a/b/c"));
    EXPECT_TRUE(CreateFolderChain(arxtest::U(dir / "a/b")));

    arxtest::WriteFile(dir / "plik", "x");
    EXPECT_FALSE(CreateFolderChain(arxtest::U(dir / "plik/pod")));
    EXPECT_THROW(CreateFolderChain(u""), EArxFileUtilsError);
}

TEST(ArxStrings, SplitJoinRepeat) {
    auto pieces = SplitAt(u"a//b/", u"/", true);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_TRUE(pieces[1].IsEmpty());
    EXPECT_TRUE(pieces[3].IsEmpty());
    EXPECT_EQ(SplitAt(u"a//b/", u"/", false).size(), 2u);
    auto insensitive = SplitAt(u"aXbxc", u"x", false, false);
    ASSERT_EQ(insensitive.size(), 3u);
    EXPECT_EQ(insensitive[1].ToUtf8(), "b");
    EXPECT_EQ(JoinWith({u"a", u"", u"b"}, u"/", false).ToUtf8(), "a/b");
    EXPECT_EQ(JoinWith({u"a", u"", u"b"}, u"/", true).ToUtf8(), "a//b");
    EXPECT_EQ(RepeatString(u"../", 2).ToUtf8(), "../../");
}

TEST(ArxStrings, CompareIgnoresCaseThroughTheCaseMap) {
    EXPECT_TRUE(ArxSameText(u"ŻÓŁW", u"żółw"));
    EXPECT_FALSE(ArxSameText(u"ŻÓŁW", u"żółw", true));
    EXPECT_LT(ArxCompareText(u"ab", u"abc", false), 0);
}

TEST(ArxStrings, WildcardMatch) {
    const struct {
        const char* pattern;
        const char* text;
        bool match;
    } cases[] = {
        {"*", "", true},          {"*.txt", "a.txt", true}, {"*.txt", "a.TXT", false},
        {"a?c", "abc", true},     {"a?c", "ac", false},     {"a*b*c", "aXXbYc", true},
        {"a*b*c", "aXXb", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.match) << c.pattern << " " << c.text;
    EXPECT_THROW(WildcardMatch(u"", u"x"), EArxStringError);
    EXPECT_THROW(WildcardMatch(u"x", u"x", 5), EArxStringError);
}

} // namespace
