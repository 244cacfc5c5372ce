// Extraction into destinations someone else may have prepared: links planted where the library
// writes its temporary files or its targets, names that look like the library's own, and
// destination paths with "." and ".." in them.
#include "ArchiveFixtures.h"

#include "installer/archive/ArxCompression.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/win/WindowsPath.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace fs = std::filesystem;
using arxtest::ScratchDir;

namespace {

// An archive of the entries `names` of folder `source`, made with the 7z command.
fs::path MakeArchive(const fs::path& source, const std::vector<std::string>& names,
                     const fs::path& archive) {
    std::string command = "cd '" + source.string() + "' && 7z a -bd '" + archive.string() + "'";
    for (const std::string& name : names)
        command += " '" + name + "'";
    int status = 0;
    arxtest::RunCommand(command + " >/dev/null 2>&1", &status);
    EXPECT_EQ(status, 0) << command;
    return archive;
}

// The small tree most cases extract: a file, an empty file, and a file in a folder.
fs::path MakeSmallArchive(const ScratchDir& scratch) {
    fs::path source = scratch / "zrodlo";
    fs::create_directories(source / "sub");
    arxtest::WriteFile(source / "a.txt", "tresc a\n");
    arxtest::WriteFile(source / "e.txt", "");
    arxtest::WriteFile(source / "sub/b.txt", "tresc b\n");
    return MakeArchive(source, {"a.txt", "e.txt", "sub"}, scratch / "maly.7z");
}

struct OpenArchive {
    TFileStream file;
    TArx7zDecompressArchive archive;
    explicit OpenArchive(const fs::path& path)
        : file(arxtest::U(path), fmOpenRead | fmShareDenyWrite), archive(&file, 0, false) {
        archive.ListFiles();
    }
};

std::vector<std::string> NamesBelow(const fs::path& root) {
    std::vector<std::string> names;
    for (auto& entry : fs::recursive_directory_iterator(root))
        names.push_back(fs::relative(entry.path(), root).string());
    std::sort(names.begin(), names.end());
    return names;
}

// Links at every name the library ever used for its temporary files (a fixed one, and the
// process id with a counter) lead to a file outside; none of them is followed, and each stays.
TEST(ArxHostileDestination, PlantedLinksAtTemporaryNamesAreNeitherFollowedNorRemoved) {
    ScratchDir scratch;
    fs::path archive = MakeSmallArchive(scratch);
    fs::path victim = scratch / "ofiara.txt";
    arxtest::WriteFile(victim, "nie ruszac");
    fs::path destination = scratch / "cel";
    std::vector<fs::path> planted;
    for (const fs::path& folder : {destination, destination / "sub"}) {
        fs::create_directories(folder);
        planted.push_back(folder / ".arx-empty.part");
        for (int n = 1; n <= 20; ++n)
            planted.push_back(
                folder / (".arx-" + std::to_string(getpid()) + "-" + std::to_string(n) + ".part"));
    }
    for (const fs::path& link : planted)
        fs::create_symlink(victim, link);

    OpenArchive open(archive);
    open.archive.ExtractAll(arxtest::U(destination), true);

    EXPECT_EQ(arxtest::ReadFile(victim), "nie ruszac");
    for (const fs::path& link : planted)
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link))) << link;
    EXPECT_EQ(arxtest::ReadFile(destination / "a.txt"), "tresc a\n");
    EXPECT_EQ(arxtest::ReadFile(destination / "sub/b.txt"), "tresc b\n");
    EXPECT_EQ(fs::file_size(destination / "e.txt"), 0u);
}

// A link standing at an item's own name is replaced by the item; what it pointed to keeps its
// content and its date.
TEST(ArxHostileDestination, ALinkAtTheTargetNameIsReplacedNotFollowed) {
    ScratchDir scratch;
    fs::path archive = MakeSmallArchive(scratch);
    fs::path victim = scratch / "ofiara.txt";
    arxtest::WriteFile(victim, "nie ruszac");
    auto victimTime = fs::last_write_time(victim) - std::chrono::hours(24 * 30);
    fs::last_write_time(victim, victimTime);
    fs::path destination = scratch / "cel";
    fs::create_directories(destination);
    fs::create_symlink(victim, destination / "a.txt");
    fs::create_symlink(victim, destination / "e.txt");

    OpenArchive open(archive);
    open.archive.ExtractAll(arxtest::U(destination), true);

    EXPECT_EQ(arxtest::ReadFile(victim), "nie ruszac");
    EXPECT_EQ(fs::last_write_time(victim), victimTime);
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(destination / "a.txt")));
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(destination / "e.txt")));
    EXPECT_EQ(arxtest::ReadFile(destination / "a.txt"), "tresc a\n");
}

// With the data going to the caller's stream only the times are set on the target: on a link
// standing there, never on what it points to, and a dangling link makes nothing outside.
TEST(ArxHostileDestination, TimesForACallerStreamNeverGoThroughALink) {
    ScratchDir scratch;
    fs::path archive = MakeSmallArchive(scratch);
    fs::path victim = scratch / "ofiara.txt";
    arxtest::WriteFile(victim, "nie ruszac");
    auto victimTime = fs::last_write_time(victim) - std::chrono::hours(24 * 30);
    fs::last_write_time(victim, victimTime);
    fs::path destination = scratch / "cel";
    fs::create_directories(destination / "sub");
    fs::create_symlink(victim, destination / "a.txt");
    fs::create_symlink(scratch / "nowy.txt", destination / "sub/b.txt");

    OpenArchive open(archive);
    open.archive.OnExtract = [&](TArxCompressionArchive*, int, UnicodeString&, TStream*& stream,
                                 bool& owns) {
        stream = new TMemoryStream();
        owns = true;
        return true;
    };
    open.archive.ExtractAll(arxtest::U(destination), true);

    EXPECT_EQ(arxtest::ReadFile(victim), "nie ruszac");
    EXPECT_EQ(fs::last_write_time(victim), victimTime);
    EXPECT_FALSE(fs::exists(fs::symlink_status(scratch / "nowy.txt")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(destination / "sub/b.txt")));
}

// The archive's own folder is named like a temporary file of the library: it is extracted like
// any other, and nothing of it is removed.
TEST(ArxHostileDestination, AFolderNamedLikeATemporaryFileIsKept) {
    ScratchDir scratch;
    fs::path source = scratch / "zrodlo";
    fs::create_directories(source / ".arx-empty.part");
    std::string pidName = ".arx-" + std::to_string(getpid()) + "-1.part";
    fs::create_directories(source / pidName);
    arxtest::WriteFile(source / "e.txt", "");
    arxtest::WriteFile(source / "f.txt", "dane\n");
    fs::path archive =
        MakeArchive(source, {".arx-empty.part", pidName, "e.txt", "f.txt"}, scratch / "x.7z");
    fs::path destination = scratch / "cel";

    OpenArchive open(archive);
    open.archive.ExtractAll(arxtest::U(destination), true);

    EXPECT_EQ(NamesBelow(destination),
              (std::vector<std::string>{pidName, ".arx-empty.part", "e.txt", "f.txt"}));
    EXPECT_TRUE(fs::is_directory(destination / ".arx-empty.part"));
    EXPECT_TRUE(fs::is_directory(destination / pidName));
}

// "." and ".." in the destination path are resolved before items are confined to it.
class ArxDottedDestination : public ::testing::TestWithParam<std::pair<const char*, const char*>> {
};

TEST_P(ArxDottedDestination, ExtractsIntoTheFolderItNames) {
    ScratchDir scratch;
    fs::path archive = MakeSmallArchive(scratch);
    fs::create_directories(scratch / "cel/x");
    OpenArchive open(archive);
    open.archive.ExtractAll(arxtest::U(scratch / GetParam().first), true);
    EXPECT_EQ(arxtest::ReadFile(scratch / GetParam().second / "sub/b.txt"), "tresc b\n");
    EXPECT_EQ(arxtest::ReadFile(scratch / GetParam().second / "a.txt"), "tresc a\n");
}

INSTANTIATE_TEST_SUITE_P(Paths, ArxDottedDestination,
                         ::testing::Values(std::pair{"cel/x/../d", "cel/d"},
                                           std::pair{"cel/./b", "cel/b"},
                                           std::pair{"cel/x/./../x/../e/", "cel/e"},
                                           std::pair{"cel/x/..", "cel"}));

TEST(ArxDottedDestination, AWindowsStylePathWithDotSegments) {
    ScratchDir scratch;
    fs::path archive = MakeSmallArchive(scratch);
    fs::create_directories(scratch / "dysk/dest/x");
    testsupport::ScopedEnv drives{"DBI_DRIVES", "C=/;D=" + (scratch / "dysk").string()};
    win::InstallPathResolvers();
    OpenArchive open(archive);
    open.archive.ExtractAll(u"D:\\dest\\x\\..\\e", true);
    EXPECT_EQ(arxtest::ReadFile(scratch / "dysk/dest/e/sub/b.txt"), "tresc b\n");
    open.archive.ListFiles();
    open.archive.ExtractAll(u"d:/dest/./x/../f/", true);
    EXPECT_EQ(arxtest::ReadFile(scratch / "dysk/dest/f/sub/b.txt"), "tresc b\n");
}

// The destination still confines the items after its dots are resolved.
TEST(ArxDottedDestination, ItemsStillCannotLeaveIt) {
    ScratchDir scratch;
    fs::create_directories(scratch / "cel/x");
    TFileStream file(arxtest::U(arxtest::Fixture("dotdot.7z")), fmOpenRead | fmShareDenyWrite);
    TArx7zDecompressArchive archive(&file, 0, false);
    archive.ListFiles();
    EXPECT_THROW(archive.ExtractAll(arxtest::U(scratch / "cel/x/../d"), true),
                 EArxCompressionError);
    EXPECT_FALSE(fs::exists(scratch / "cel/w"));
    EXPECT_FALSE(fs::exists(scratch / "w"));
}

} // namespace
