// Extraction through the library against the 7z command's extraction of the same archive, and
// the failures that must leave the disk as it was.
#include "ArchiveFixtures.h"

#include "installer/archive/ArxCompression.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace fs = std::filesystem;
using arxtest::ScratchDir;

namespace {

// One archive opened from its file, as the installer opens it.
struct OpenArchive {
    TFileStream file;
    TArx7zDecompressArchive archive;
    explicit OpenArchive(const std::string& fixture, const char* password = "")
        : file(arxtest::U(arxtest::Fixture(fixture)), fmOpenRead | fmShareDenyWrite),
          archive(&file, 0, false) {
        archive.Password = UnicodeString(password);
    }
};

void ExtractWithCommand(const std::string& fixture, const std::string& password,
                        const fs::path& destination) {
    int status = 0;
    arxtest::RunCommand("7z x -y -p'" + password + "' -o'" + destination.string() + "' '" +
                            arxtest::Fixture(fixture).string() + "' >/dev/null 2>&1",
                        &status);
    ASSERT_EQ(status, 0) << fixture;
}

// Leftovers of an interrupted item: the library's temporary files.
int StagingFilesBelow(const fs::path& root) {
    int count = 0;
    for (auto& entry : fs::recursive_directory_iterator(root))
        if (entry.path().filename().string().starts_with(".arx-"))
            ++count;
    return count;
}

struct GoodCase {
    const char* archive;
    const char* password;
};

class ArxExtractMatches : public ::testing::TestWithParam<GoodCase> {};

TEST_P(ArxExtractMatches, TheCommandsTree) {
    ScratchDir ours, theirs;
    OpenArchive open(GetParam().archive, GetParam().password);
    open.archive.ListFiles();
    open.archive.ExtractAll(arxtest::U(ours.path()), true);
    ExtractWithCommand(GetParam().archive, GetParam().password, theirs.path());
    auto expected = arxtest::Snapshot(theirs.path());
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(arxtest::Snapshot(ours.path()), expected);
    for (int i = 0; i < open.archive.ItemCount(); ++i)
        EXPECT_EQ(open.archive.Items(i)->OperationSuccess(), osOK) << i;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ArxExtractMatches,
                         ::testing::Values(GoodCase{"plain.7z", ""}, GoodCase{"solid.7z", ""},
                                           GoodCase{"enc_data.7z", "tajne"},
                                           GoodCase{"enc_headers.7z", "tajne"},
                                           GoodCase{"polish_pw.7z", "zażółć_gęślą_jaźń"}),
                         [](const auto& info) {
                             return arxtest::CaseName(info.param.archive, info.index);
                         });

struct FailingCase {
    const char* archive;
    const char* password;
    const char* message;
};

class ArxExtractFails : public ::testing::TestWithParam<FailingCase> {};

// The target of the failing item already exists: it keeps its content, and nothing of the
// failed item is left anywhere.
TEST_P(ArxExtractFails, RaisesAndKeepsTheOldFile) {
    ScratchDir scratch;
    fs::path destination = scratch / "cel";
    fs::create_directories(destination / "Plytki/Kuchnia");
    arxtest::WriteFile(destination / "Plytki/Kuchnia/kafle.txt", "stare");

    OpenArchive open(GetParam().archive, GetParam().password);
    open.archive.ListFiles();
    try {
        open.archive.ExtractAll(arxtest::U(destination), true);
        FAIL() << "extraction succeeded";
    } catch (const EArxCompressionError& e) {
        EXPECT_EQ(e.Message().ToUtf8(), GetParam().message);
    }
    EXPECT_EQ(arxtest::ReadFile(destination / "Plytki/Kuchnia/kafle.txt"), "stare");
    EXPECT_EQ(StagingFilesBelow(scratch.path()), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
    EXPECT_TRUE(open.archive.DestinationDir().IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ArxExtractFails,
                         ::testing::Values(FailingCase{"crc.7z", "", "CRC error"},
                                           FailingCase{"damaged.7z", "", "Data error"},
                                           FailingCase{"enc_data.7z", "zle", "Data error"},
                                           FailingCase{"enc_data.7z", "", "Data error"}),
                         [](const auto& info) {
                             return arxtest::CaseName(info.param.archive, info.index);
                         });

struct UnsafeCase {
    const char* archive;
    const char* item; // as stored; the fixture folder's path is put in front of a leading "/"
};

class ArxUnsafeNames : public ::testing::TestWithParam<UnsafeCase> {};

TEST_P(ArxUnsafeNames, AreNeverWrittenAndFailTheRun) {
    ScratchDir scratch;
    fs::path destination = scratch / "cel";
    fs::create_directories(destination);
    std::string item = GetParam().item;
    if (item.starts_with("/"))
        item = arxtest::FixtureDir().string() + item;

    OpenArchive open(GetParam().archive);
    open.archive.ListFiles();
    try {
        open.archive.ExtractAll(arxtest::U(destination), true);
        FAIL() << "extraction succeeded";
    } catch (const EArxCompressionError& e) {
        EXPECT_NE(e.Message().ToUtf8().find("\"" + item + "\""), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(arxtest::FixtureDir() / "abs/outside.txt"));
    EXPECT_FALSE(fs::exists(scratch / "w"));
    EXPECT_FALSE(fs::exists(scratch / "g.txt"));
    EXPECT_EQ(StagingFilesBelow(scratch.path()), 0);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ArxUnsafeNames,
                         ::testing::Values(UnsafeCase{"absolute.7z", "/abs/outside.txt"},
                                           UnsafeCase{"dotdot.7z", "../w/g.txt"}),
                         [](const auto& info) {
                             return arxtest::CaseName(info.param.archive, info.index);
                         });

TEST(ArxUnsafe, SafeItemsBesideAnUnsafeOneAreStillWritten) {
    ScratchDir destination;
    OpenArchive open("absolute.7z");
    open.archive.ListFiles();
    EXPECT_THROW(open.archive.ExtractAll(arxtest::U(destination.path()), true),
                 EArxCompressionError);
    EXPECT_EQ(arxtest::ReadFile(destination / "inside.txt"), "w srodku\n");
}

TEST(ArxUnsafe, ALinkInTheDestinationDoesNotCarryItemsOut) {
    ScratchDir scratch;
    fs::create_directories(scratch / "cel");
    fs::create_directories(scratch / "poza");
    fs::create_directory_symlink(scratch / "poza", scratch / "cel/link");
    OpenArchive open("linkdir.7z");
    open.archive.ListFiles();
    EXPECT_THROW(open.archive.ExtractAll(arxtest::U(scratch / "cel"), true), EArxCompressionError);
    EXPECT_TRUE(fs::is_empty(scratch / "poza"));
}

TEST(ArxExtractEvents, ARefusedItemKeepsItsFileAndDates) {
    ScratchDir ours, theirs;
    fs::path kept = ours / "Plytki/Kuchnia/kafle.txt";
    fs::create_directories(kept.parent_path());
    arxtest::WriteFile(kept, "stare");
    auto oldTime = fs::last_write_time(kept) - std::chrono::hours(24 * 400);
    fs::last_write_time(kept, oldTime);
    fs::permissions(kept, fs::perms::owner_read);

    OpenArchive open("solid.7z");
    open.archive.ListFiles();
    int refused = 0;
    open.archive.OnExtract = [&](TArxCompressionArchive* sender, int index, UnicodeString&,
                                 TStream*&, bool&) {
        if (sender->Items(index)->PackedName() == UnicodeString(u"Plytki/Kuchnia/kafle.txt")) {
            ++refused;
            return false;
        }
        return true;
    };
    open.archive.ExtractAll(arxtest::U(ours.path()), true);
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(arxtest::ReadFile(kept), "stare");
    EXPECT_EQ(fs::last_write_time(kept), oldTime);

    // Everything else of the solid block came out whole.
    ExtractWithCommand("solid.7z", "", theirs.path());
    auto expected = arxtest::Snapshot(theirs.path());
    auto actual = arxtest::Snapshot(ours.path());
    expected.erase("Plytki/Kuchnia/kafle.txt");
    actual.erase("Plytki/Kuchnia/kafle.txt");
    EXPECT_EQ(actual, expected);
}

TEST(ArxExtractEvents, TargetsAndStateDuringTheRun) {
    ScratchDir destination;
    OpenArchive open("plain.7z");
    open.archive.ListFiles();
    std::string destinationText = destination.path().string();
    int calls = 0;
    open.archive.OnExtract = [&](TArxCompressionArchive* sender, int index, UnicodeString& fileName,
                                 TStream*& stream, bool& owns) {
        auto* archive = static_cast<TArxDecompressArchive*>(sender);
        ++calls;
        EXPECT_EQ(archive->DestinationDir().ToUtf8(), destinationText + "/");
        EXPECT_EQ(fileName.ToUtf8(),
                  destinationText + "/" + archive->Items(index)->PackedName().ToUtf8());
        EXPECT_EQ(stream, nullptr);
        EXPECT_FALSE(owns);
        EXPECT_THROW(archive->Items(index)->SetComment(u"x"), EArxCompressionError);
        EXPECT_THROW(archive->ListFiles(), EArxCompressionError);
        return true;
    };
    open.archive.ExtractAll(arxtest::U(destination.path()), true);
    EXPECT_EQ(calls, open.archive.ItemCount());
    EXPECT_TRUE(open.archive.DestinationDir().IsEmpty());
    EXPECT_EQ(open.archive.CurrentItemIndex(), -1);
}

TEST(ArxExtractEvents, ACallerStreamReceivesTheData) {
    ScratchDir destination;
    OpenArchive open("plain.7z");
    open.archive.ListFiles();
    TMemoryStream memory;
    open.archive.OnExtract = [&](TArxCompressionArchive* sender, int index, UnicodeString& fileName,
                                 TStream*& stream, bool& owns) {
        if (sender->Items(index)->PackedName() == UnicodeString(u"Plytki/Kuchnia/kafle.txt")) {
            fileName = UnicodeString();
            stream = &memory;
            owns = false;
        }
        return true;
    };
    open.archive.ExtractAll(arxtest::U(destination.path()), true);
    std::string expected =
        arxtest::ReadFile(arxtest::FixtureDir() / "tree/Plytki/Kuchnia/kafle.txt");
    ASSERT_EQ(memory.Size(), static_cast<int64_t>(expected.size()));
    EXPECT_EQ(std::string(static_cast<const char*>(memory.Memory()), expected.size()), expected);
    EXPECT_FALSE(fs::exists(destination / "Plytki/Kuchnia/kafle.txt"));
}

TEST(ArxExtractEvents, ARelativeDestinationStaysARelativeFolder) {
    ScratchDir destination;
    fs::path relative = fs::relative(destination.path(), fs::current_path());
    ASSERT_FALSE(relative.is_absolute());
    OpenArchive open("plain.7z");
    open.archive.ListFiles();
    open.archive.ExtractAll(arxtest::U(relative), true);
    EXPECT_EQ(arxtest::ReadFile(destination / "Plytki/zażółć_gęślą_jaźń.txt"), "ściana\n");
}

TEST(ArxExtractEvents, AnItemWithoutDataEmptiesItsTarget) {
    ScratchDir destination;
    fs::create_directories(destination / "Dane");
    arxtest::WriteFile(destination / "Dane/pusty.dat", "stare");
    OpenArchive open("plain.7z");
    open.archive.ListFiles();
    open.archive.ExtractAll(arxtest::U(destination.path()), true);
    EXPECT_EQ(fs::file_size(destination / "Dane/pusty.dat"), 0u);
    EXPECT_EQ(StagingFilesBelow(destination.path()), 0);
}

TEST(ArxExtractEvents, WithoutAListingNothingIsExtracted) {
    ScratchDir destination;
    OpenArchive open("plain.7z");
    open.archive.ExtractAll(arxtest::U(destination.path()), true);
    EXPECT_TRUE(fs::is_empty(destination.path()));
}

TEST(ArxExtractEvents, AnEmptyArchive) {
    ScratchDir destination;
    OpenArchive open("empty.7z");
    open.archive.ListFiles();
    EXPECT_EQ(open.archive.ItemCount(), 0);
    open.archive.ExtractAll(arxtest::U(destination.path()), true);
    EXPECT_TRUE(fs::is_empty(destination.path()));
}

TEST(ArxExtractEvents, SelectedItemsOnly) {
    ScratchDir destination;
    OpenArchive open("solid.7z");
    open.archive.ListFiles();
    for (int i = 0; i < open.archive.ItemCount(); ++i)
        open.archive.Items(i)->SetSelected(open.archive.Items(i)->PackedName().Pos(u"zażółć") > 0);
    open.archive.ExtractSelected(arxtest::U(destination.path()), true);
    auto tree = arxtest::Snapshot(destination.path());
    EXPECT_EQ(tree.count("Plytki/zażółć_gęślą_jaźń.txt"), 1u);
    EXPECT_EQ(tree.count("Plytki/Kuchnia/kafle.txt"), 0u);
}

// A stream that remembers which threads wrote to it.
class ThreadRecordingStream : public TMemoryStream {
public:
    explicit ThreadRecordingStream(std::set<std::thread::id>& threads) : threads_(threads) {}
    int32_t Write(const void*, int32_t count) override {
        threads_.insert(std::this_thread::get_id());
        return count;
    }

private:
    std::set<std::thread::id>& threads_;
};

TEST(ArxExtractThreads, EveryCallbackRunsOnTheCallersThread) {
    ScratchDir destination;
    OpenArchive open("large.7z", "tajne");
    open.archive.ListFiles();
    std::set<std::thread::id> threads;
    int64_t last = -1, total = 0;
    bool monotonic = true;
    open.archive.OnProgress = [&](TArxCompressionArchive*, int64_t value, int64_t max) {
        threads.insert(std::this_thread::get_id());
        monotonic = monotonic && value >= last;
        last = value;
        total = max;
    };
    open.archive.OnExtract = [&](TArxCompressionArchive*, int, UnicodeString& fileName,
                                 TStream*& stream, bool& owns) {
        threads.insert(std::this_thread::get_id());
        fileName = UnicodeString();
        stream = new ThreadRecordingStream(threads);
        owns = true;
        return true;
    };
    open.archive.ExtractAll(arxtest::U(destination.path()), true);
    EXPECT_EQ(threads, std::set<std::thread::id>{std::this_thread::get_id()});
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(last, total);
    EXPECT_GT(total, 10'000'000);
}

TEST(ArxExtractThreads, CancellingStopsTheRunAndLeavesNothing) {
    ScratchDir destination;
    OpenArchive open("large.7z", "tajne");
    open.archive.ListFiles();
    open.archive.OnProgress = [](TArxCompressionArchive* sender, int64_t value, int64_t) {
        if (value > 0)
            sender->CancelCurrentOperation = true;
    };
    EXPECT_THROW(open.archive.ExtractAll(arxtest::U(destination.path()), true), ESafecallException);
    EXPECT_TRUE(fs::is_empty(destination.path()));
    EXPECT_FALSE(open.archive.Decompressing());

    // The archive is usable again once the flag is down.
    open.archive.CancelCurrentOperation = false;
    open.archive.OnProgress = nullptr;
    open.archive.ExtractAll(arxtest::U(destination.path()), true);
    EXPECT_EQ(fs::file_size(destination / "dane.txt"),
              fs::file_size(arxtest::FixtureDir() / "big/dane.txt"));
}

} // namespace
