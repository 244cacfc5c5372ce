// The two database INI formats and the rule of a complete catalogue entry.
#include "EngineTestSupport.h"

#include "installer/engine/Myfileop_class.h"
#include "platform/rtl/FileSystem.h"

#include <sys/stat.h>
#include <utime.h>

using namespace enginetest;

namespace {

struct CompleteCase {
    const char* name;
    EDatabaseType type;
    const char* databaseName;
    const char* targetName;
    bool iniPath;
    bool complete;
};

const CompleteCase kCompleteCases[] = {
    {"walls without a name", dtWalls, "", "", true, true},
    {"tiles without a name", dtTiles, "", "Kafle.mdb", true, false},
    {"tiles with a name", dtTiles, "Kafle", "Kafle.mdb", true, true},
    {"household appliances without a name", dtHhd, "", "AGD1", true, false},
    {"materials without a name", dtMaterials, "", "Brettholm", true, true},
    {"unknown type", dtUnknown, "Kafle", "Kafle", true, false},
    {"no INI copy", dtInterior, "Meble", "Meble", false, false},
    {"target name climbing out", dtInterior, "Meble", "..", true, false},
    {"target name with a folder", dtCabinets, "Szafki", "a/b", true, false},
    {"target name with a backslash", dtCabinets, "Szafki", "..\\..\\x", true, false},
    {"target name with a drive", dtCabinets, "Szafki", "C:x", true, false},
    {"target name with dots inside", dtTiles, "Kafle", "Kafle..v2.mdb", true, true},
};

} // namespace

TEST(CompleteEntry, FollowsTheRuleForEveryKindOfEntry) {
    for (const CompleteCase& c : kCompleteCases) {
        TDatabaseEmbedded entry;
        entry.iniResourceName = u"DB01INI";
        entry.archiveResourceName = u"DB01FULL";
        entry.iniPath = c.iniPath ? u"/tmp/DbIni01.ini" : u"";
        entry.type = c.type;
        entry.databaseName = UnicodeString(c.databaseName);
        entry.targetName = UnicodeString(c.targetName);
        EXPECT_EQ(IsCompleteEntry(entry), c.complete) << c.name;
    }
}

class DatabaseIniTest : public ::testing::Test {
protected:
    EngineMachine machine;
    MyFileOp ops;

    // Reads an embedded INI written as the installer carries it (UTF-16LE with a mark).
    TDatabaseEmbedded ReadEmbedded(const std::string& text) {
        const std::string path = machine.Scratch().Write("DbIni01.ini", std::string());
        const std::vector<uint8_t> bytes = Utf16Ini(text);
        machine.Scratch().Write("DbIni01.ini", std::string(bytes.begin(), bytes.end()));
        TDatabaseEmbedded entry;
        entry.iniResourceName = u"DB01INI";
        entry.archiveResourceName = u"DB01FULL";
        entry.iniPath = UnicodeString(path);
        EXPECT_TRUE(ops.ReadEmbeddedDatabaseIni(entry));
        return entry;
    }
};

TEST_F(DatabaseIniTest, EmbeddedIniGivesEveryField) {
    const TDatabaseEmbedded e = ReadEmbedded(DatabaseIni(
        "BAZA=Płytki Łódź\r\nDATA=2021-09-10\r\nUDATE=2020-1-2\r\n",
        "TYPE=TILES\r\nTARGETNAME=Kafle.fdb\r\nTARGETSIZE=5000000000\r\nFORMATFDB=1\r\n"));
    EXPECT_EQ(e.databaseName.ToUtf8(), "Płytki Łódź");
    EXPECT_EQ(e.dateText.ToUtf8(), "2021-09-10");
    EXPECT_EQ(e.mdate, (TDatabaseDate{2021, 9, 10}));
    EXPECT_EQ(e.udate, (TDatabaseDate{2020, 1, 2}));
    EXPECT_EQ(e.type, dtTiles);
    EXPECT_EQ(e.targetName.ToUtf8(), "Kafle.fdb");
    EXPECT_EQ(e.targetSize, 5000000000LL);
    EXPECT_TRUE(e.formatFdb);
}

TEST_F(DatabaseIniTest, EmbeddedIniEdgeValues) {
    // MDATE present but empty gives no date; a type word outside the list is unknown; a word
    // as FORMATFDB is not a number; a size that is not a number is 0.
    TDatabaseEmbedded e =
        ReadEmbedded(DatabaseIni("BAZA=X\r\nDATA=2021-09-10\r\nMDATE=\r\n",
                                 "TYPE=tiles\r\nTARGETSIZE=12kB\r\nFORMATFDB=true\r\n"));
    EXPECT_EQ(e.mdate, (TDatabaseDate{0, 0, 0}));
    EXPECT_EQ(e.udate, (TDatabaseDate{2021, 9, 10}));
    EXPECT_EQ(e.type, dtUnknown);
    EXPECT_EQ(e.targetSize, 0);
    EXPECT_FALSE(e.formatFdb);

    e = ReadEmbedded(DatabaseIni("BAZA=X\r\n", "TYPE=DB_MATERIALS\r\nTARGETSIZE=0x10\r\n"));
    EXPECT_EQ(e.type, dtDbMaterials);
    EXPECT_EQ(e.targetSize, 0);
}

TEST_F(DatabaseIniTest, EmbeddedIniWithoutItsFileOrNamesIsNotRead) {
    TDatabaseEmbedded entry;
    entry.iniResourceName = u"DB01INI";
    entry.archiveResourceName = u"DB01FULL";
    entry.iniPath = UnicodeString(machine.Path("missing.ini"));
    entry.databaseName = u"kept";
    EXPECT_FALSE(ops.ReadEmbeddedDatabaseIni(entry));
    EXPECT_EQ(entry.databaseName.ToUtf8(), "kept");
    entry.iniPath = UnicodeString(machine.Scratch().Write("x.ini", "[info]\r\nBAZA=Y\r\n"));
    entry.archiveResourceName = u"";
    EXPECT_FALSE(ops.ReadEmbeddedDatabaseIni(entry));
}

namespace {

struct InstalledCase {
    const char* name;
    std::string text; // windows-1250 bytes
    TDatabaseDate mdate;
    TDatabaseDate udate;
    bool hidden, skipCopy, userDatabase, cdFlag;
    int64_t packed, unpacked;
};

// The file's own date for the cases without any date.
constexpr TDatabaseDate kFileDate{2019, 4, 5};
constexpr TDatabaseDate kSep2021{2021, 9, 10};
constexpr TDatabaseDate kJan2021{2021, 1, 1};
// An [info] section dated 1 January 2021, for the cases about the other keys.
const std::string kJan2021Info = "[info]\r\nBAZA=A\r\nDATA=2021-1-1\r\n";

const InstalledCase kInstalledCases[] = {
    {"dates from DATA", "[info]\r\nBAZA=Kafle \xa3\xf3\x64\x9f\r\nDATA=2021-09-10\r\n", kSep2021,
     kSep2021, false, false, false, false, -7, -7},
    {"MDATE wins, odd parts kept",
     "[info]\r\nBAZA=A\r\nDATA=2021-09-10\r\nMDATE=2022-13-40\r\n",
     {2022, 13, 40},
     kSep2021,
     false,
     false,
     false,
     false,
     -7,
     -7},
    {"no date at all: the file's", "[info]\r\nBAZA=A\r\n", kFileDate, kFileDate, false, false,
     false, false, -7, -7},
    {"malformed DATA: the file's", "[info]\r\nBAZA=A\r\nDATA=wczoraj\r\n", kFileDate, kFileDate,
     false, false, false, false, -7, -7},
    {"HIDDEN gives SKIPCOPY", kJan2021Info + "HIDDEN=1\r\n", kJan2021, kJan2021, true, true, false,
     false, -7, -7},
    {"SKIPCOPY overrides", kJan2021Info + "HIDDEN=1\r\nSKIPCOPY=0\r\n", kJan2021, kJan2021, true,
     false, false, false, -7, -7},
    {"USER when USERDB is absent", kJan2021Info + "USER=1\r\n", kJan2021, kJan2021, false, false,
     true, false, -7, -7},
    {"USERDB wins over USER", kJan2021Info + "USERDB=0\r\nUSER=1\r\n", kJan2021, kJan2021, false,
     false, false, false, -7, -7},
    {"CD 1 keeps the sizes", kJan2021Info + "[DOWNLOAD]\r\nCD=1\r\nSPACKED=10\r\nSUPACKED=20\r\n",
     kJan2021, kJan2021, false, false, false, false, -7, -7},
    {"CD 2 reads the sizes, 32-bit only",
     kJan2021Info + "[DOWNLOAD]\r\nCD=2\r\nSPACKED=5000000000\r\nSUPACKED=-20\r\n", kJan2021,
     kJan2021, false, false, false, true, 0, -20},
};

} // namespace

TEST_F(DatabaseIniTest, InstalledIniInWindows1250) {
    for (const InstalledCase& c : kInstalledCases) {
        const std::string path = machine.Scratch().Write("installed.ini", c.text);
        struct tm when = {};
        when.tm_year = 2019 - 1900;
        when.tm_mon = 3;
        when.tm_mday = 5;
        when.tm_hour = 12;
        when.tm_isdst = -1;
        const time_t stamp = mktime(&when);
        const struct utimbuf times = {stamp, stamp};
        ASSERT_EQ(::utime(path.c_str(), &times), 0);

        TDatabaseBase r;
        r.packedSize = r.unpackedSize = -7;
        ASSERT_TRUE(ops.ReadInstalledDatabaseIni(UnicodeString(path), r)) << c.name;
        EXPECT_EQ(r.mdate, c.mdate) << c.name;
        EXPECT_EQ(r.udate, c.udate) << c.name;
        EXPECT_EQ(r.hidden, c.hidden) << c.name;
        EXPECT_EQ(r.skipCopy, c.skipCopy) << c.name;
        EXPECT_EQ(r.userDatabase, c.userDatabase) << c.name;
        EXPECT_EQ(r.cdFlag, c.cdFlag) << c.name;
        EXPECT_EQ(r.packedSize, c.packed) << c.name;
        EXPECT_EQ(r.unpackedSize, c.unpacked) << c.name;
    }
    TDatabaseBase r;
    machine.Scratch().Write("installed.ini", kInstalledCases[0].text);
    ASSERT_TRUE(ops.ReadInstalledDatabaseIni(UnicodeString(machine.Path("installed.ini")), r));
    EXPECT_EQ(r.databaseName.ToUtf8(), "Kafle Łódź");
    EXPECT_FALSE(ops.ReadInstalledDatabaseIni(UnicodeString(machine.Path("none.ini")), r));
}

TEST_F(DatabaseIniTest, FileDateOfMissingFileIsZero) {
    EXPECT_EQ(ops.GetFileDate(UnicodeString(machine.Path("none"))), (TDatabaseDate{0, 0, 0}));
}
