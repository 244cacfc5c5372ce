// Carried databases already installed in a target folder, and the dates of their copies.
#include "EngineTestSupport.h"

using namespace enginetest;

namespace {

const std::string kCatalogue[] = {
    DatabaseIni("BAZA=Kafle\r\n", "TYPE=TILES\r\nTARGETNAME=Kafle.mdb\r\n"),
    DatabaseIni("BAZA=KafleBez\r\n", "TYPE=TILES\r\nTARGETNAME=KafleBez\r\n"),
    DatabaseIni("BAZA=Meble\r\n", "TYPE=INTERIOR\r\nTARGETNAME=Meble\r\n"),
    DatabaseIni("BAZA=Meble znowu\r\n", "TYPE=INTERIOR\r\nTARGETNAME=Meble\r\n"),
    DatabaseIni("BAZA=Puste\r\n", "TYPE=INTERIOR\r\nTARGETNAME=Puste\r\n"),
    DatabaseIni("BAZA=Szafki\r\n", "TYPE=CABINETS\r\nTARGETNAME=Szafki\r\n"),
    DatabaseIni("BAZA=AGD\r\n", "TYPE=HHD\r\nTARGETNAME=Pralki\r\n"),
    DatabaseIni("BAZA=Sciany\r\n", "TYPE=WALLS\r\nTARGETNAME=Sciany\r\n"),
    DatabaseIni("BAZA=Brettholm\r\n", "TYPE=MATERIALS\r\nTARGETNAME=Brettholm\r\n"),
};

} // namespace

TEST(InstalledDatabases, FoundByTheirIniFilesInTheTypesFolders) {
    EngineMachine machine;
    ScopedBundle bundle;
    int n = 0;
    for (const std::string& ini : kCatalogue)
        bundle.AddPair(++n, ini);
    bundle.Install();
    ScopedModule module;
    TDoDbInstallThings engine;
    ASSERT_EQ(engine.GetDatabaseCount(), 9);

    const fs::path target = machine.Path("prog");
    const std::string tiles =
        module->GetDatabaseFolder(UnicodeString(target.string()), dtTiles).ToUtf8();
    const std::string interior =
        module->GetDatabaseFolder(UnicodeString(target.string()), dtInterior).ToUtf8();
    const std::string hhd =
        module->GetDatabaseFolder(UnicodeString(target.string()), dtHhd).ToUtf8();
    const std::string walls =
        module->GetDatabaseFolder(UnicodeString(target.string()), dtWalls).ToUtf8();
    auto write = [](const std::string& path, const std::string& text) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    };
    // Tiles: the INI beside the table, by the target name with ".ini"; one without extension.
    write(tiles + "Kafle.ini", "[info]\r\nBAZA=Kafle\r\nDATA=2020-02-02\r\n");
    write(tiles + "KafleBez.ini", "[info]\r\nBAZA=KafleBez\r\nMDATE=2018-8-8\r\n");
    // Interior: the first INI without BAZA, the second with it but without DATA.
    write(interior + "Meble/a.ini", "[info]\r\nDATA=2017-07-07\r\n");
    write(interior + "Meble/b.ini", "[info]\r\nBAZA=Meble\r\n");
    fs::create_directories(interior + "Puste");
    // Cabinets: directly below the program folder.
    write(target.string() + "/Szafki/szafki.ini", "[info]\r\nBAZA=Szafki\r\nDATA=2016-6-6\r\n");
    write(hhd + "Pralki/x.txt", "no INI here");
    write(walls + "Sciany/s.ini", "[info]\r\nBAZA=Sciany\r\nDATA=2015-5-5\r\n");

    std::vector<std::string> found;
    for (const auto& [entry, date] : engine.FindInstalledDatabases(UnicodeString(target.string())))
        found.push_back(entry.databaseName.ToUtf8() + " " + std::to_string(date.year) + "-" +
                        std::to_string(date.month) + "-" + std::to_string(date.day));
    EXPECT_EQ(found,
              (std::vector<std::string>{"Kafle 2020-2-2", "KafleBez 2018-8-8", "Meble 2017-7-7",
                                        "Meble znowu 2017-7-7", "Szafki 2016-6-6"}));
    EXPECT_TRUE(engine.FindInstalledDatabases(UnicodeString(machine.Path("nothing"))).empty());
}
