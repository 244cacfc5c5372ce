// The two steps of an installation, archive copies and unpacking, checked against the 7z
// command's unpacking of the same archives into the folders each database belongs in.
#include "InstallTestSupport.h"

#include "scene/controls/Sg_progressbar.h"
#include "scene/core/Sg_objects_text.h"

#include <algorithm>

using namespace installtest;

namespace {

std::string Ini(const std::string& baza, const std::string& type, const std::string& target,
                int64_t size) {
    return DatabaseIni("BAZA=" + baza + "\r\nDATA=2024-05-06\r\n",
                       "TYPE=" + type + "\r\nTARGETNAME=" + target +
                           "\r\nTARGETSIZE=" + std::to_string(size) + "\r\nFORMATFDB=0\r\n");
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// One carried database: its INI fields, its files, and where it must land (relative to the
// program folder) in each layout.
struct Carried {
    std::string baza, type, targetName;
    Tree files;
    std::string normalFolder, legacyFolder;
};

const std::vector<Carried> kCatalogue = {
    {"Kafle", "TILES", "Kafle.mdb",
     Tree{{"Kafle.mdb", std::string(5000, 'm')},
          {"Kafle.ini", "[info]\r\nBAZA=Kafle\r\n"},
          {"Kafle/k1.txt", "tile"}},
     "Plytki", "Plytki"},
    {"Meble", "INTERIOR", "Meble", Tree{{"Meble.ini", "x"}, {"Kuchnia/stol.txt", "table"}},
     "dodatki/Meble", "dodatki/Meble"},
    {"Szafki", "CABINETS", "Szafki", Tree{{"s.txt", std::string(70000, 's')}}, "Szafki", "Szafki"},
    {"Cegly", "WALLS", "", Tree{{"cegla.txt", "brick"}, {"sub/c2.txt", "brick 2"}}, "WALLS",
     "WALLS/Cegly"},
    {"", "DB_MATERIALS", "", Tree{{"m.txt", "material"}}, "DB_MATERIALS", "DB_MATERIALS/DB05FULL"},
};

class InstallTest : public ::testing::Test {
protected:
    EngineRig rig;
    std::vector<std::string> archives;

    void Carry(const std::vector<Carried>& list) {
        int n = 0;
        for (const Carried& db : list) {
            archives.push_back(Pack7z(db.files));
            rig.bundle.AddPair(++n, Ini(db.baza, db.type, db.targetName, TreeSize(db.files)),
                               archives.back());
        }
    }
    std::string Program() const { return rig.Path("program"); }
};

} // namespace

class InstallLayoutTest : public InstallTest, public ::testing::WithParamInterface<bool> {};

TEST_P(InstallLayoutTest, InstalledTreeEqualsTheReferenceUnpackingAndTheBlocksEndAtTheSums) {
    const bool legacy = GetParam();
    Carry(kCatalogue);
    // What the user had stays beside the new files.
    WriteTree(Program(), {{"dodatki/Meble/mine.txt", "user file"}, {"Plytki/Kafle.mdb", "old"}});
    const fs::path reference = rig.Path("reference");
    WriteTree(reference, {{"dodatki/Meble/mine.txt", "user file"}});
    for (size_t i = 0; i < kCatalogue.size(); ++i)
        Unpack7z(archives[i],
                 reference / (legacy ? kCatalogue[i].legacyFolder : kCatalogue[i].normalFolder));

    TDoDbInstallThings& engine = rig.Start();
    ASSERT_EQ(engine.GetDatabaseCount(), 5);
    TsgProgressBar mainBar(nullptr), subBar(nullptr);
    TsgText status(nullptr);
    int64_t archiveBytes = 0;
    for (const std::string& a : archives)
        archiveBytes += static_cast<int64_t>(a.size());
    EXPECT_EQ(engine.GetTotalArchiveSize(), archiveBytes);

    ASSERT_TRUE(engine.ExtractArchives(&mainBar, &subBar, &status));
    EXPECT_EQ(BlockTotal(), archiveBytes * 5 / 2);
    EXPECT_EQ(BlockDone(), archiveBytes);
    EXPECT_EQ(BlockPercent(), 40);
    EXPECT_EQ(mainBar.Value(), static_cast<float>(archiveBytes));
    EXPECT_EQ(status.Text().ToUtf8(), "Copying the archive of: DB05FULL database");

    ASSERT_TRUE(
        engine.InstallDatabases(UnicodeString(Program()), &mainBar, &subBar, &status, legacy));
    EXPECT_EQ(DiffTrees(reference, Program()), "");
    EXPECT_TRUE(NoPartialFiles(Program()));
    EXPECT_FALSE(fs::exists(rig.machine.ExtractionFolder()));

    const int64_t required = engine.GetRequiredDiskSpace();
    const int64_t scale = required * 5 / 3;
    EXPECT_EQ(BlockTotal(), scale);
    EXPECT_EQ(BlockDone(), scale * 2 / 5 + required);
    EXPECT_EQ(mainBar.Value(), static_cast<float>(scale * 2 / 5 + required));
    EXPECT_EQ(subBar.Value(), subBar.Max());
    // A database without BAZA or TARGETNAME is shown by its resource's name, once followed by
    // the texts' own word "database".
    EXPECT_EQ(BlockStatus(), "Installation of DB05FULL database");
    EXPECT_TRUE(Contains(rig.InstallLog(), "Installing the database: DB05FULL"));
    EXPECT_TRUE(Contains(rig.InstallLog(), "The DB05FULL database installed"));

    const std::vector<std::string> log = rig.InstallLog();
    for (const char* name : {"Kafle", "Meble", "Szafki", "Cegly"}) {
        EXPECT_TRUE(Contains(log, std::string("The ") + name + " database archive extracted"));
        EXPECT_TRUE(Contains(log, std::string("The ") + name + " database installed"));
    }
    // The folders recorded for the compatibility pass, as the layout table writes them.
    const auto catalogue = engine.GetCatalogue();
    EXPECT_EQ(catalogue.at(dtTiles)[0].installedFolder.ToUtf8(), Program() + "/Plytki/");
    EXPECT_EQ(catalogue.at(dtWalls)[0].installedFolder.ToUtf8(),
              Program() + (legacy ? "/WALLS/Cegly" : "/WALLS/"));
    EXPECT_EQ(catalogue.at(dtTiles)[0].archivePath.ToUtf8(),
              rig.machine.ExtractionFolder() + "/Kafle.7z");
    EXPECT_EQ(catalogue.at(dtDbMaterials)[0].archivePath.ToUtf8(),
              rig.machine.ExtractionFolder() + "/DB5.7z");
}

INSTANTIATE_TEST_SUITE_P(Layouts, InstallLayoutTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Legacy" : "Normal"; });

TEST_F(InstallTest, DamagedArchiveFailsItsDatabaseKeepsItsOldFilesAndTheOthersInstall) {
    Carry({kCatalogue[0]});
    rig.bundle.AddPair(2, Ini("Meble", "INTERIOR", "Meble", TreeSize(kCatalogue[1].files)),
                       Damaged(Pack7z(kCatalogue[1].files, false)));
    rig.bundle.AddPair(3, Ini("Szafki", "CABINETS", "Szafki", TreeSize(kCatalogue[2].files)),
                       Pack7z(kCatalogue[2].files));
    const Tree old = {{"dodatki/Meble/Meble.ini", "old ini"},
                      {"dodatki/Meble/Kuchnia/stol.txt", "old table"}};
    WriteTree(Program(), old);
    TDoDbInstallThings& engine = rig.Start();
    ASSERT_TRUE(engine.ExtractArchives(nullptr, nullptr, nullptr));
    EXPECT_FALSE(
        engine.InstallDatabases(UnicodeString(Program()), nullptr, nullptr, nullptr, false));

    const Tree installed = ReadTree(Program());
    for (const auto& [name, content] : old)
        EXPECT_EQ(installed.at(name), content) << name;
    EXPECT_EQ(installed.at("Plytki/Kafle.mdb"), kCatalogue[0].files.at("Kafle.mdb"));
    EXPECT_EQ(installed.at("Szafki/s.txt"), kCatalogue[2].files.at("s.txt"));
    EXPECT_TRUE(NoPartialFiles(Program()));

    const std::vector<std::string> log = rig.InstallLog();
    EXPECT_TRUE(Contains(log, "The Kafle database installed"));
    EXPECT_FALSE(Contains(log, "The Meble database installed"));
    EXPECT_TRUE(Contains(log, "The Meble database could not be installed"));
    EXPECT_TRUE(Contains(log, "The Szafki database installed"));
    const int64_t required = engine.GetRequiredDiskSpace();
    const int64_t scale = required * 5 / 3;
    EXPECT_EQ(BlockDone(), scale * 2 / 5 + required - TreeSize(kCatalogue[1].files));
}

TEST_F(InstallTest, ArchiveFileNamesFollowTheWalkAndNeverCollide) {
    const Tree files = {{"f.txt", "f"}};
    const std::string archive = Pack7z(files);
    rig.bundle.AddPair(1, Ini("A", "INTERIOR", "Same.name.x", 1), archive)
        .AddPair(2, Ini("B", "INTERIOR", "Same.name.x", 1), archive)
        .AddPair(3, Ini("", "WALLS", "", 1), archive)
        .AddPair(4, Ini("T", "TILES", "", 1), archive);
    TDoDbInstallThings& engine = rig.Start();
    ASSERT_TRUE(engine.ExtractArchives(nullptr, nullptr, nullptr));
    const auto catalogue = engine.GetCatalogue();
    const std::string folder = rig.machine.ExtractionFolder() + "/";
    // Walk order: tiles (DB1), interior A and B (2, 3), walls (DB4).
    EXPECT_EQ(catalogue.at(dtTiles)[0].archivePath.ToUtf8(), folder + "DB1.7z");
    EXPECT_EQ(catalogue.at(dtInterior)[0].archivePath.ToUtf8(), folder + "Same.name.7z");
    EXPECT_EQ(catalogue.at(dtInterior)[1].archivePath.ToUtf8(), folder + "3/Same.name.7z");
    EXPECT_EQ(catalogue.at(dtWalls)[0].archivePath.ToUtf8(), folder + "DB4.7z");
    for (const auto& [type, entries] : catalogue)
        for (const TDatabaseEmbedded& entry : entries) {
            EXPECT_EQ(ReadBytes(entry.archivePath.ToUtf8()), archive);
            EXPECT_EQ(entry.archiveSize, static_cast<int64_t>(archive.size()));
        }
}

TEST_F(InstallTest, EmptyCatalogueAndTinyScale) {
    {
        TDoDbInstallThings& engine = rig.Start();
        TsgProgressBar mainBar(nullptr), subBar(nullptr);
        fs::create_directories(rig.machine.ExtractionFolder() + "/stale");
        ASSERT_TRUE(engine.ExtractArchives(&mainBar, &subBar, nullptr));
        EXPECT_EQ(mainBar.Max(), 0.0f);
        EXPECT_EQ(BlockTotal(), 0);
        EXPECT_EQ(BlockDone(), 0);
        EXPECT_TRUE(fs::is_directory(rig.machine.ExtractionFolder()));
        EXPECT_FALSE(fs::exists(rig.machine.ExtractionFolder() + "/stale"));
        EXPECT_TRUE(
            engine.InstallDatabases(UnicodeString(Program()), &mainBar, &subBar, nullptr, false));
        EXPECT_EQ(BlockPercent(), 0);
    }
    // Two archive bytes make a scale of 5.
    EngineRig tiny;
    tiny.bundle.AddPair(1, Ini("A", "INTERIOR", "A", 1), "ab");
    TDoDbInstallThings& engine = tiny.Start();
    TsgProgressBar mainBar(nullptr), subBar(nullptr);
    ASSERT_TRUE(engine.ExtractArchives(&mainBar, &subBar, nullptr));
    EXPECT_EQ(mainBar.Max(), 5.0f);
    EXPECT_EQ(BlockTotal(), 5);
    EXPECT_EQ(BlockPercent(), 40);
}

TEST_F(InstallTest, IncompleteEntriesStopTheirStep) {
    const std::string archive = Pack7z(Tree{{"f.txt", "f"}});
    rig.bundle.AddPair(1, Ini("A", "INTERIOR", "A", 1), archive)
        .AddPair(2, Ini("B", "INTERIOR", "B", 1), archive)
        .AddPair(3, Ini("C", "INTERIOR", "C", 1), archive);
    TDoDbInstallThings& engine = rig.Start();
    engine.catalogue.at(dtInterior)[1].iniPath = UnicodeString();
    EXPECT_FALSE(engine.ExtractArchives(nullptr, nullptr, nullptr));
    const std::vector<std::string> log = rig.InstallLog();
    EXPECT_EQ(log.back(), "The database (B) is not read correctly");
    EXPECT_TRUE(fs::exists(rig.machine.ExtractionFolder() + "/A.7z"));
    EXPECT_FALSE(fs::exists(rig.machine.ExtractionFolder() + "/C.7z"));

    // The third was never copied: the installation stops at it, after the first.
    engine.catalogue.at(dtInterior)[1].iniPath = u"x";
    engine.catalogue.at(dtInterior)[1].archivePath = engine.catalogue.at(dtInterior)[0].archivePath;
    EXPECT_FALSE(
        engine.InstallDatabases(UnicodeString(Program()), nullptr, nullptr, nullptr, false));
    EXPECT_EQ(rig.InstallLog().back(), "The database (C) is not extracted correctly");
    EXPECT_TRUE(fs::exists(Program() + "/dodatki/A/f.txt"));
    EXPECT_TRUE(fs::exists(Program() + "/dodatki/B/f.txt"));
    EXPECT_FALSE(fs::exists(Program() + "/dodatki/C"));
}

TEST_F(InstallTest, LegacyFolderNamedAfterTheResourceIsReplacedWhole) {
    const Tree files = {{"new.txt", "new"}};
    rig.bundle.AddPair(1, Ini("", "DB_MATERIALS", "", TreeSize(files)), Pack7z(files));
    WriteTree(Program(),
              {{"DB_MATERIALS/DB01FULL/stale.txt", "stale"}, {"DB_MATERIALS/other.txt", "other"}});
    TDoDbInstallThings& engine = rig.Start();
    ASSERT_TRUE(engine.ExtractArchives(nullptr, nullptr, nullptr));
    ASSERT_TRUE(engine.InstallDatabases(UnicodeString(Program()), nullptr, nullptr, nullptr, true));
    EXPECT_EQ(ReadTree(Program()), (Tree{{"DB_MATERIALS/DB01FULL/new.txt", "new"},
                                         {"DB_MATERIALS/other.txt", "other"}}));
}

// Where each type goes, in both layouts.
struct FolderCase {
    EDatabaseType type;
    const char* databaseName;
    const char* targetName;
    bool legacy;
    const char* expected; // below "/P/"; "-" for no folder
};

class TargetFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(TargetFolderTest, FollowsTheLayoutTable) {
    const FolderCase& c = GetParam();
    EngineRig rig;
    TDoDbInstallThings& engine = rig.Start();
    TDatabaseEmbedded entry;
    entry.type = c.type;
    entry.archiveResourceName = u"DB07FULL";
    entry.databaseName = UnicodeString(c.databaseName);
    entry.targetName = UnicodeString(c.targetName);
    const std::string folder = engine.GetDatabaseTargetFolder(u"/P", entry, c.legacy).ToUtf8();
    EXPECT_EQ(folder, std::string(c.expected) == "-" ? "" : "/P/" + std::string(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, TargetFolderTest,
    ::testing::Values(FolderCase{dtTiles, "K", "K.mdb", false, "Plytki/"},
                      FolderCase{dtTiles, "K", "K.mdb", true, "Plytki/"},
                      FolderCase{dtInterior, "M", "Meble", true, "dodatki/Meble/"},
                      FolderCase{dtCabinets, "S", "Szafki", false, "Szafki/"},
                      FolderCase{dtHhd, "H", "Agd1", false, "AGD/Agd1/"},
                      FolderCase{dtWalls, "Cegly", "", false, "WALLS/"},
                      FolderCase{dtWalls, "Cegly", "", true, "WALLS/Cegly"},
                      FolderCase{dtWalls, "", "", true, "WALLS/DB07FULL"},
                      FolderCase{dtMaterials, "", "Kamien", true, "DB_MATERIALS/Kamien/"},
                      FolderCase{dtDbMaterials, "", "", false, "DB_MATERIALS/"},
                      FolderCase{dtDbMaterials, "Drewno", "", true, "DB_MATERIALS/Drewno"},
                      // A name that would lead elsewhere gives no folder at all.
                      FolderCase{dtWalls, "../../etc", "", true, "-"},
                      // An empty TARGETNAME adds nothing to the type's folder.
                      FolderCase{dtInterior, "M", "", false, "dodatki/"},
                      FolderCase{dtHhd, "H", "", true, "AGD/"},
                      FolderCase{dtMaterials, "", "", false, "DB_MATERIALS/"},
                      FolderCase{dtCabinets, "S", "", false, ""},
                      FolderCase{dtUnknown, "M", "M", false, "-"}));

TEST_F(InstallTest, EmptyTargetNamesInstallIntoTheTypeFoldersAndTheWalkGoesOn) {
    rig.bundle.AddPair(1, Ini("Meble", "INTERIOR", "", 1), Pack7z(Tree{{"meble.txt", "m"}}))
        .AddPair(2, Ini("Szafki", "CABINETS", "", 1), Pack7z(Tree{{"szafki.txt", "s"}}))
        .AddPair(3, Ini("Agd", "HHD", "", 1), Pack7z(Tree{{"agd.txt", "a"}}))
        .AddPair(4, Ini("Kamien", "MATERIALS", "", 1), Pack7z(Tree{{"kamien.txt", "k"}}));
    TDoDbInstallThings& engine = rig.Start();
    ASSERT_EQ(engine.GetDatabaseCount(), 4);
    ASSERT_TRUE(engine.ExtractArchives(nullptr, nullptr, nullptr));
    ASSERT_TRUE(
        engine.InstallDatabases(UnicodeString(Program()), nullptr, nullptr, nullptr, false));
    EXPECT_EQ(ReadTree(Program()), (Tree{{"dodatki/meble.txt", "m"},
                                         {"szafki.txt", "s"},
                                         {"AGD/agd.txt", "a"},
                                         {"DB_MATERIALS/kamien.txt", "k"}}));
    EXPECT_EQ(engine.GetCatalogue().at(dtCabinets)[0].installedFolder.ToUtf8(), Program() + "/");
}

TEST_F(InstallTest, RefusedFoldersAreLoggedWithWhatAndWhy) {
    const std::string archive = Pack7z(Tree{{"f.txt", "f"}});
    rig.bundle.AddPair(1, Ini("Meble", "INTERIOR", "Meble", 1), archive)
        .AddPair(2, Ini("Inne", "INTERIOR", "Inne", 1), archive);
    // A file stands where the first database's folder belongs.
    WriteTree(Program(), {{"dodatki/Meble", "a file"}});
    TDoDbInstallThings& engine = rig.Start();
    ASSERT_TRUE(engine.ExtractArchives(nullptr, nullptr, nullptr));
    EXPECT_FALSE(
        engine.InstallDatabases(UnicodeString(Program()), nullptr, nullptr, nullptr, false));
    const std::string folder = Program() + "/dodatki/Meble";
    EXPECT_EQ(rig.InstallLog().back(), "Couldn't create the dir: " + folder + ": the file " +
                                           folder + " stands in its place");
    EXPECT_EQ(ReadTree(Program()), (Tree{{"dodatki/Meble", "a file"}}));

    // A legacy wall folder named after a BAZA that is no plain name.
    EngineRig walls;
    walls.bundle.AddPair(1, Ini("a/b", "WALLS", "", 1), archive);
    TDoDbInstallThings& wallEngine = walls.Start();
    ASSERT_TRUE(wallEngine.ExtractArchives(nullptr, nullptr, nullptr));
    EXPECT_FALSE(wallEngine.InstallDatabases(UnicodeString(walls.Path("program")), nullptr, nullptr,
                                             nullptr, true));
    EXPECT_EQ(walls.InstallLog().back(), "Couldn't create the dir for the a/b database: the name "
                                         "\"a/b\" is not one plain folder name");
}

TEST_F(InstallTest, FailedArchiveCopyIsReportedAndTheOthersAreStillCopied) {
    const std::string small = Pack7z(Tree{{"f.txt", "f"}});
    // The second archive is larger than the files the process may write.
    const std::string large = small + std::string(60000, 'x');
    rig.bundle.AddPair(1, Ini("A", "INTERIOR", "A", 1), small)
        .AddPair(2, Ini("B", "INTERIOR", "B", 1), large)
        .AddPair(3, Ini("C", "INTERIOR", "C", 1), small);
    TDoDbInstallThings& engine = rig.Start();
    ASSERT_EQ(engine.GetDatabaseCount(), 3);
    const std::string folder = rig.machine.ExtractionFolder();
    EXPECT_EXIT(WithFileSizeLimit(40000,
                                  [&] {
                                      const bool all =
                                          engine.ExtractArchives(nullptr, nullptr, nullptr);
                                      const std::vector<std::string> log = rig.InstallLog();
                                      return !all &&
                                             Contains(log, "The A database archive extracted") &&
                                             Contains(log, "The B database archive could not "
                                                           "be copied") &&
                                             Contains(log, "The C database archive extracted") &&
                                             ReadBytes(folder + "/A.7z") == small &&
                                             ReadBytes(folder + "/C.7z") == small &&
                                             !fs::exists(folder + "/B.7z");
                                  }),
                ::testing::ExitedWithCode(1), "");
}
