// The compressing side's item bookkeeping: adding files, streams and folders under the
// duplicate rule.
#include "ArchiveFixtures.h"

#include "installer/archive/ArxCompressArchive.h"
#include "installer/archive/ArxCompressionErrors.h"
#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

namespace {

// No concrete compressing format exists; this one only makes items.
struct ItemOnlyArchive : TArxCompressArchive {
    ItemOnlyArchive() : TArxCompressArchive(static_cast<TStream*>(nullptr), 0, false) {}
    std::unique_ptr<TArxCompressionItem> CreateArchiveItem() override {
        return std::make_unique<TArxCompressItem>(this);
    }
};

TStream* StreamOf(int size) {
    auto* stream = new TMemoryStream();
    std::string bytes(static_cast<size_t>(size), 'x');
    stream->Write(bytes.data(), size);
    stream->Seek(0, soBeginning);
    return stream;
}

TEST(ArxCompress, DuplicateRule) {
    const struct {
        TArxCompressionDuplicateCheck check;
        TArxCompressionDuplicateAction action;
        int secondIndex; // -1: skipped
        int count;
        int64_t keptSize;
    } cases[] = {
        {dcNone, daSkip, 1, 2, 1},      {dcAll, daSkip, -1, 1, 1},
        {dcAll, daOverwrite, 0, 1, 2},  {dcExisting, daOverwrite, 0, 1, 2},
        {dcExisting, daSkip, -1, 1, 1},
    };
    for (const auto& c : cases) {
        // The names already present when checking starts are what "existing" means.
        ItemOnlyArchive archive;
        EXPECT_EQ(archive.AddFile(u"a/b.txt", StreamOf(1), true), 0);
        archive.DuplicateCheck = c.check;
        archive.DuplicateAction = c.action;
        EXPECT_EQ(archive.AddFile(u"A/B.TXT", StreamOf(2), true), c.secondIndex) << c.check;
        EXPECT_EQ(archive.ItemCount(), c.count) << c.check;
        EXPECT_EQ(archive.Items(0)->FileSize(), c.keptSize) << c.check;
    }
}

TEST(ArxCompress, DuplicateRaisesWithTheName) {
    ItemOnlyArchive archive;
    archive.DuplicateCheck = dcAll;
    archive.DuplicateAction = daError;
    archive.AddFile(u"a/b.txt", StreamOf(1), true);
    try {
        archive.AddFile(u"A/B.TXT", StreamOf(2), true);
        FAIL() << "duplicate accepted";
    } catch (const EArxCompressionError& e) {
        EXPECT_EQ(e.Message().ToUtf8(), "The file A/B.TXT already exists in the archive");
    }
    EXPECT_EQ(archive.ItemCount(), 1);
    archive.AddFile(u"c.txt", StreamOf(1), true);
    EXPECT_THROW(archive.Items(1)->SetPackedName(u"a/B.txt"), EArxCompressionError);
    archive.Items(1)->SetPackedName(u"d.txt");
    EXPECT_EQ(archive.AddFile(u"c.txt", StreamOf(1), true), 2) << "the old name was released";
}

TEST(ArxCompress, StreamItemFacts) {
    ItemOnlyArchive archive;
    TStream* stream = StreamOf(10);
    stream->Seek(4, soBeginning);
    int index = archive.AddFile(u"x.bin", stream, true);
    TArxCompressionItem* item = archive.Items(index);
    EXPECT_EQ(item->FileSize(), 6);
    EXPECT_EQ(item->HostOS().ToUtf8(), "Windows");
    EXPECT_TRUE(item->ValidProperties().Contains(ipLastWriteTime));
    EXPECT_NE(item->LastWriteTime().dwHighDateTime, 0u);
}

TEST(ArxCompress, DirectoryWalk) {
    arxtest::ScratchDir dir;
    std::filesystem::create_directories(dir / "root/sub/.ukryty");
    arxtest::WriteFile(dir / "root/a.txt", "a");
    arxtest::WriteFile(dir / "root/sub/b.txt", "b");
    ItemOnlyArchive archive;
    EXPECT_EQ(archive.AddDirectory(u"baza", arxtest::U(dir / "root"), true, true), 0);
    std::vector<std::string> names;
    for (int i = 0; i < archive.ItemCount(); ++i)
        names.push_back(archive.Items(i)->PackedName().ToUtf8() +
                        (archive.Items(i)->Directory() ? "/" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{"baza/", "baza/a.txt", "baza/sub/", "baza/sub/b.txt",
                                               "baza/sub/.ukryty/"}));
}

} // namespace

namespace {

// Clearing the items drops the name list that pointed to them: the same name is new again.
TEST(ArxCompress, ClearingTheItemsForgetsTheirNames) {
    for (auto action : {daSkip, daError, daOverwrite}) {
        ItemOnlyArchive archive;
        archive.DuplicateCheck = dcAll;
        archive.DuplicateAction = action;
        EXPECT_EQ(archive.AddFile(u"a/b.txt", StreamOf(1), true), 0);
        archive.ClearItems();
        EXPECT_EQ(archive.AddFile(u"A/B.txt", StreamOf(2), true), 0) << action;
        ASSERT_EQ(archive.ItemCount(), 1);
        EXPECT_EQ(archive.Items(0)->FileSize(), 2);
        // And the list is built afresh from the new items.
        if (action == daError)
            EXPECT_THROW(archive.AddFile(u"a/b.TXT", StreamOf(3), true), EArxCompressionError);
        else
            EXPECT_EQ(archive.AddFile(u"a/b.TXT", StreamOf(3), true),
                      action == daOverwrite ? 0 : -1)
                << action;
    }
}

} // namespace
