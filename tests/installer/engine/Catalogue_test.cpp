// The catalogue of carried databases read from the installer's resources.
#include "EngineTestSupport.h"

#include "platform/rtl/StringList.h"

#include <sys/stat.h>

using namespace enginetest;

namespace {

const std::string kTiles = DatabaseIni("BAZA=Kafle\r\nDATA=2021-09-10\r\n",
                                       "TYPE=TILES\r\nTARGETNAME=Kafle.mdb\r\nTARGETSIZE=600\r\n");
const std::string kTilesFdb =
    DatabaseIni("BAZA=Kafle FDB\r\nDATA=2021-09-10\r\n",
                "TYPE=TILES\r\nTARGETNAME=KafleF.fdb\r\nTARGETSIZE=600\r\nFORMATFDB=1\r\n");
const std::string kInteriorA =
    DatabaseIni("BAZA=Meble A\r\nDATA=2022-01-01\r\n", "TYPE=INTERIOR\r\nTARGETNAME=MebleA\r\n");
const std::string kInteriorB =
    DatabaseIni("BAZA=Meble B\r\nDATA=2022-01-02\r\n", "TYPE=INTERIOR\r\nTARGETNAME=MebleB\r\n");
const std::string kWalls = DatabaseIni("DATA=2023-01-20\r\n", "TYPE=WALLS\r\n");
const std::string kUnknownType = DatabaseIni("BAZA=Cos\r\n", "TYPE=CHAIRS\r\n");
const std::string kNamelessTiles = DatabaseIni("DATA=2021-09-10\r\n", "TYPE=TILES\r\n");
const std::string kClimbingOut =
    DatabaseIni("BAZA=Zle\r\n", "TYPE=CABINETS\r\nTARGETNAME=../../x\r\n");

std::vector<std::string> Summary(const TDatabaseEmbeddedVecAfterTypeMap& catalogue) {
    std::vector<std::string> lines;
    for (const auto& [type, entries] : catalogue)
        for (const TDatabaseEmbedded& e : entries)
            lines.push_back(std::to_string(type) + " " + e.iniResourceName.ToUtf8() + " " +
                            e.databaseName.ToUtf8());
    return lines;
}

} // namespace

class CatalogueTest : public ::testing::Test {
protected:
    EngineMachine machine;
    ScopedBundle bundle;

    std::unique_ptr<TDoDbInstallThings> Start() {
        bundle.Install();
        module_ = std::make_unique<ScopedModule>();
        return std::make_unique<TDoDbInstallThings>();
    }
    ~CatalogueTest() override { module_.reset(); }

private:
    std::unique_ptr<ScopedModule> module_;
};

TEST_F(CatalogueTest, GroupsCompleteEntriesByTypeInResourceOrder) {
    bundle.AddPair(1, kInteriorA).AddPair(2, kTiles).AddPair(3, kInteriorB).AddPair(4, kWalls);
    auto engine = Start();
    EXPECT_EQ(Summary(engine->GetCatalogue()),
              (std::vector<std::string>{"0 DB02INI Kafle", "1 DB01INI Meble A", "1 DB03INI Meble B",
                                        "4 DB04INI "}));
    EXPECT_EQ(engine->GetDatabaseCount(), 4);
    EXPECT_EQ(engine->GetDatabaseTypes(), (EDatabaseTypeVec{dtTiles, dtInterior, dtWalls}));
    EXPECT_FALSE(engine->HasFdbFormatDatabase());
    const TDatabaseEmbedded& tiles = engine->catalogue[dtTiles][0];
    EXPECT_EQ(tiles.iniPath.ToUtf8(), machine.ExtractionFolder() + "/DbIni02.ini");
    EXPECT_EQ(tiles.targetSize, 600);
    EXPECT_TRUE(fs::exists(machine.ExtractionFolder() + "/DbIni04.ini"));
}

TEST_F(CatalogueTest, IncompleteEntriesAreLeftOutAlone) {
    bundle.AddPair(1, kTilesFdb)
        .AddPair(2, kUnknownType)
        .AddPair(3, kNamelessTiles)
        .AddPair(4, kClimbingOut)
        .AddPair(5, kInteriorA);
    auto engine = Start();
    EXPECT_EQ(Summary(engine->GetCatalogue()),
              (std::vector<std::string>{"0 DB01INI Kafle FDB", "1 DB05INI Meble A"}));
    EXPECT_TRUE(engine->HasFdbFormatDatabase());
    // The INI copies of the left-out entries are still written.
    EXPECT_TRUE(fs::exists(machine.ExtractionFolder() + "/DbIni02.ini"));
    EXPECT_TRUE(fs::exists(machine.ExtractionFolder() + "/DbIni04.ini"));
}

TEST_F(CatalogueTest, EnumerationStopsAtTheFirstGapOrEmptyResource) {
    struct Case {
        const char* name;
        std::function<void(ScopedBundle&)> fill;
        int count;
    };
    const Case cases[] = {
        {"gap after 02",
         [](ScopedBundle& b) {
             b.AddPair(1, kTiles).AddPair(2, kInteriorA).AddPair(4, kInteriorB);
         },
         2},
        {"empty archive of 02",
         [](ScopedBundle& b) {
             b.AddPair(1, kTiles).AddPair(2, kInteriorA, "").AddPair(3, kInteriorB);
         },
         1},
        {"INI 02 without archive",
         [](ScopedBundle& b) {
             b.AddPair(1, kTiles).Add("DB02INI", Utf16Ini(kInteriorA)).AddPair(3, kInteriorB);
         },
         1},
        {"no first pair", [](ScopedBundle& b) { b.AddPair(2, kTiles); }, 0},
    };
    for (const Case& c : cases) {
        ScopedBundle local;
        c.fill(local);
        local.Install();
        ScopedModule module;
        MyFileOp ops;
        EXPECT_EQ(static_cast<int>(ops.EnumerateEmbeddedDatabases().size()), c.count) << c.name;
    }
}

TEST_F(CatalogueTest, LeftoverExtractionFolderIsReplacedEvenWhenReadOnly) {
    const fs::path leftover = machine.ExtractionFolder();
    fs::create_directories(leftover / "old");
    machine.Scratch().Write("temp/cad_db_extraction_temp/old/stale.7z", "stale");
    ::chmod(leftover.c_str(), 0555);
    bundle.AddPair(1, kTiles);
    auto engine = Start();
    EXPECT_EQ(engine->GetDatabaseCount(), 1);
    EXPECT_FALSE(fs::exists(leftover / "old"));
    EXPECT_TRUE(fs::exists(leftover / "DbIni01.ini"));
}

TEST_F(CatalogueTest, WithoutATemporaryFolderNothingIsDeletedAndTheCatalogueIsEmpty) {
    // A relative extraction folder would be below wherever the installer was started.
    const fs::path here = fs::current_path();
    fs::current_path(machine.Scratch().Path());
    machine.Scratch().Write("cad_db_extraction_temp/keep.txt", "keep");
    bundle.AddPair(1, kTiles);
    bundle.Install();
    ScopedModule module;
    auto shell = std::make_unique<ShellOps>();
    shell->Init();
    shell->tempFolder = UnicodeString();
    MyFileOp ops(std::move(shell));
    EXPECT_TRUE(ops.GetExtractionFolder().IsEmpty());
    EXPECT_TRUE(ops.GetCatalogue().empty());
    EXPECT_FALSE(ops.DeletePath("cad_db_extraction_temp", true));
    fs::current_path(here);
    EXPECT_TRUE(fs::exists(machine.Path("cad_db_extraction_temp/keep.txt")));
}

TEST_F(CatalogueTest, UnreadableIniCopyEmptiesTheWholeCatalogue) {
    // An INI resource whose copy cannot be written: the extraction folder is a file.
    bundle.AddPair(1, kTiles).AddPair(2, kInteriorA);
    bundle.Install();
    ScopedModule module;
    MyFileOp ops;
    TDatabaseEmbeddedVec list = ops.EnumerateEmbeddedDatabases();
    ASSERT_EQ(list.size(), 2u);
    fs::remove_all(machine.TempFolder());
    machine.Scratch().Write("temp", "a file where the folder should be");
    EXPECT_FALSE(ops.ExtractDatabaseInis(list));
    EXPECT_TRUE(ops.GetCatalogue().empty());
}
