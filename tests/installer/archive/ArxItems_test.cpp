// Item property bookkeeping and the archive object's own state, without opening anything.
#include "ArchiveFixtures.h"

#include "installer/archive/ArxCompression.h"
#include "installer/archive/ArxDateTime.h"
#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

namespace {

TEST(ArxItems, PackedExtension) {
    TArx7zDecompressArchive archive(u"/tmp/none.7z");
    auto item = archive.CreateArchiveItem();
    const struct {
        const char* name;
        const char* extension;
    } cases[] = {{"dir/file.tar.gz", ".gz"}, {"dir.x/file", ""}, {"a;b.c;d", ""}, {"x.7z", ".7z"}};
    for (const auto& c : cases) {
        item->SetPackedName(c.name);
        EXPECT_EQ(item->PackedExtension().ToUtf8(), c.extension) << c.name;
    }
    item->SetPackedName(u"");
    item->SetPackedExtension(u"7z");
    EXPECT_EQ(item->PackedExtension().ToUtf8(), ".7z");
    item->SetPackedExtension(u".7z");
    EXPECT_EQ(item->PackedExtension().ToUtf8(), ".7z");
}

TEST(ArxItems, PropertySetsFollowTheSetters) {
    TArx7zDecompressArchive archive(u"/tmp/none.7z");
    auto item = archive.CreateArchiveItem();
    EXPECT_TRUE(item->ValidProperties().IsEmpty());
    item->SetComment(u"opis");
    EXPECT_TRUE(item->ValidProperties().Contains(ipComment));
    EXPECT_TRUE(item->ModifiedProperties().Contains(ipComment));
    item->SetFileName(u"/nonexistent/file");
    EXPECT_TRUE(item->ValidProperties().Contains(ipFileName));
    item->SetFileName(u"");
    EXPECT_FALSE(item->ValidProperties().Contains(ipFileName));
    EXPECT_FALSE(item->ModifiedProperties().Contains(ipFileName));
    item->SetDirectory(true);
    EXPECT_EQ(item->Kind(), ikDirectory);
    EXPECT_EQ(item->Attributes() & kArxFolderAttribute, kArxFolderAttribute);
}

TEST(ArxItems, FileNameOfAnExistingFileTakesItsFacts) {
    arxtest::ScratchDir dir;
    arxtest::WriteFile(dir / "f.bin", "12345");
    TArx7zDecompressArchive archive(u"/tmp/none.7z");
    auto item = archive.CreateArchiveItem();
    item->SetFileName(arxtest::U(dir / "f.bin"));
    EXPECT_EQ(item->FileSize(), 5);
    EXPECT_TRUE(item->ValidProperties().Contains(ipLastWriteTime));
    EXPECT_EQ(item->HostOS().ToUtf8(), "Windows");
}

TEST(ArxItems, NestedArchiveName) {
    const struct {
        const char* volume;
        const char* expected;
    } cases[] = {{"/a/backup.tar.gz", "backup.tar"}, {"/a/backup.tar.gz.001", "backup.tar"}};
    for (const auto& c : cases) {
        TArx7zDecompressArchive archive(UnicodeString(c.volume));
        auto item = archive.CreateArchiveItem();
        EXPECT_EQ(item->NestedArchiveName().ToUtf8(), c.expected) << c.volume;
    }
    // Over a stream there is no volume name to derive one from.
    TMemoryStream stream;
    TArx7zDecompressArchive archive(&stream, 0, false);
    auto item = archive.CreateArchiveItem();
    EXPECT_THROW(item->NestedArchiveName(), EArxCompressionError);
}

TEST(ArxArchive, DefaultsAndCallerStream) {
    TMemoryStream stream;
    stream.Write("abc", 3);
    {
        TArx7zDecompressArchive archive(&stream, 0, false);
        EXPECT_EQ(archive.GetNumberOfThreads(), 1u);
        EXPECT_EQ(archive.VolumeCount(), 1);
        EXPECT_EQ(archive.ItemCount(), 0);
        EXPECT_EQ(archive.ArchiveName().ToUtf8(), "7z archive");
        EXPECT_EQ(archive.ArchiveExtensions().ToUtf8(), "*.7z");
        void* settings = nullptr;
        EXPECT_EQ(archive.QueryInterface(sevenzip::IID_IArxArchiveNumberOfThreads, &settings),
                  sevenzip::S_OK);
        EXPECT_NE(settings, nullptr);
    }
    // The archive did not own the stream: it is still whole.
    EXPECT_EQ(stream.Size(), 3);
    EXPECT_EQ(stream.Seek(0, soBeginning), 0);
}

TEST(ArxArchive, CheckOperationSuccessRaisesForTheFirstFailure) {
    TArx7zDecompressArchive archive(u"/tmp/none.7z");
    EXPECT_NO_THROW(archive.CheckOperationSuccess());
    const struct {
        TArxCompressionOperationSuccess first, second;
        const char* message;
    } cases[] = {
        {osCRCError, osDataError, "CRC error"},
        {osNoOperation, osDataError, "Data error"},
        {osUnsupportedMethod, osOK, "Unsupported method"},
        {osOK, osUnknownError, "Unknown error"},
    };
    // Items come from a listing in real use; a subclass adds them here without the decoder.
    struct Probe : TArx7zDecompressArchive {
        using TArx7zDecompressArchive::TArx7zDecompressArchive;
        void Add(TArxCompressionOperationSuccess s) {
            auto item = CreateArchiveItem();
            item->SetOperationSuccess(s);
            AppendItem(std::move(item));
        }
    };
    for (const auto& c : cases) {
        Probe probe(u"/tmp/none.7z");
        probe.Add(c.first);
        probe.Add(c.second);
        try {
            probe.CheckOperationSuccess();
            FAIL() << c.message;
        } catch (const EArxCompressionError& e) {
            EXPECT_EQ(e.Message().ToUtf8(), c.message);
        }
    }
}

TEST(ArxDateTime, NowAsFileTime) {
    sevenzip::FILETIME time = DateTimeToFileTime(Now());
    uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    auto unixSeconds = static_cast<int64_t>(ticks / 10000000) - 11644473600LL;
    auto now = std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
                   .count();
    EXPECT_LE(std::abs(unixSeconds - now), 2);
    EXPECT_THROW(DateTimeToFileTime(-1e9), EArxDateTimeError);
}

} // namespace
