// The drive scan over a drive map of the test's own, and the free-space query with its drive
// numbering and its grouped byte counts.
#include "InstallTestSupport.h"

using namespace installtest;

namespace {

constexpr const char* kCheckup = "temp_file_for_write_permissions_checkup__safe_to_delete.txt";

std::string Line(char letter, int type, const std::string& rest = "") {
    return std::string("Examining drive ") + letter + ": Type = " + std::to_string(type) + ";" +
           rest;
}

} // namespace

TEST(DriveScan, ListsLargeWritableFixedDrivesAndLogsEveryLetter) {
    EngineRig rig;
    const std::string writable = rig.Path("drive-c");
    fs::create_directories(writable);
    // Letters whose folders are missing or are files are no drives at all.
    const std::string aFile = rig.machine.Scratch().Write("not-a-folder", "x");
    const ScopedEnv drives("DBI_DRIVES", "C=" + writable + ";D=optical:" + writable +
                                             ";E=removable:" + writable + ";F=network:" + writable +
                                             ";G=" + rig.Path("missing") + ";H=" + aFile);
    TDoDbInstallThings& engine = rig.Start();
    const int before = GeneralMod->startupLog->Count();
    const TLogicalDriveFoundVec found = engine.FileOps().FindLogicalDrives();

    const int64_t size = static_cast<int64_t>(fs::space(writable).capacity);
    const bool large = size > 10000000000LL;
    const std::string sized = " Size = " + std::to_string(size) + ";";
    const std::string tried = std::string(" Trying the checkup file: C:\\") + kCheckup + ";";
    std::vector<std::string> expected = {
        Line('C', 3, sized + (large ? tried + " Yaaay, added up" : "")),
        Line('D', 5),
        Line('E', 2),
        Line('F', 4),
        Line('G', 1),
        Line('H', 1),
    };
    for (char letter = 'I'; letter <= 'Z'; ++letter)
        expected.push_back(Line(letter, 1));
    const std::vector<std::string> log = rig.StartupLog();
    EXPECT_EQ(std::vector<std::string>(log.begin() + before, log.end()), expected);

    ASSERT_EQ(found.size(), large ? 1u : 0u);
    if (large) {
        EXPECT_EQ(found[0].letter.ToUtf8(), "C");
        EXPECT_EQ(found[0].totalBytes, size);
        EXPECT_GT(found[0].freeBytes, 0);
    }
    EXPECT_FALSE(fs::exists(writable + "/" + kCheckup));
}

TEST(DriveScan, FreeSpaceByLetterNumbersTheDrivesFromA) {
    EngineRig rig;
    const std::string folder = rig.Path("q");
    fs::create_directories(folder);
    const ScopedEnv drives("DBI_DRIVES", "C=" + rig.Path("") + ";Q=" + folder);
    TDoDbInstallThings& engine = rig.Start();
    MyFileOp& ops = engine.FileOps();
    const int64_t available = static_cast<int64_t>(fs::space(folder).available);
    for (const char* letter : {"q", "Q", "qx"}) {
        AnsiString text = "unchanged";
        const int64_t free = ops.GetDiskFreeSpace(AnsiString(letter), text);
        // Another process may write meanwhile; the size is close, not equal.
        EXPECT_NEAR(static_cast<double>(free), static_cast<double>(available), 1e9) << letter;
        EXPECT_EQ(text, MyFileOp::FormatByteCount(free));
    }
    EXPECT_EQ(ops.GetDiskFree(AnsiString("W")), -1);
    EXPECT_EQ(ops.GetDiskFree(UnicodeString(u"W")), -1);
    AnsiString text = "unchanged";
    EXPECT_EQ(ops.GetDiskFreeSpace(AnsiString(), text), -1);
    EXPECT_EQ(text, "unchanged");
}

TEST(DriveScan, ByteCountsAreGroupedByThousands) {
    const std::vector<std::pair<int64_t, const char*>> cases = {
        {0, "0"},
        {-1, "-1"},
        {999, "999"},
        {1000, "1 000"},
        {1234567, "1 234 567"},
        {123456, "123 456"},
        {10000000001LL, "10 000 000 001"},
        {INT64_MAX, "9 223 372 036 854 775 807"}};
    for (const auto& [count, text] : cases)
        EXPECT_EQ(MyFileOp::FormatByteCount(count), AnsiString(text)) << count;
}
