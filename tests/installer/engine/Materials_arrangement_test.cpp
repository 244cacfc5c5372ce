// The legacy layout's materials folder: pictures gathered at the top, emptied sub-folders gone,
// everything else where it was.
#include "InstallTestSupport.h"

#include <sys/stat.h>

using namespace installtest;

namespace {

class MaterialsTest : public ::testing::Test {
protected:
    EngineRig rig;
    fs::path folder;

    void SetUp() override {
        rig.Start();
        folder = rig.Path("program/DB_MATERIALS/Kamien");
    }
    void Arrange() {
        rig.Engine().FileOps().ArrangeMaterialsFolder(UnicodeString(folder.string() + "/"));
    }
};

} // namespace

TEST_F(MaterialsTest, GathersNestedPicturesAndRemovesOnlyFoldersLeftEmpty) {
    WriteTree(folder, {{"Kamien.ini", "[info]\r\nBAZA=Inna nazwa\r\n"},
                       {"top.jpg", "top"},
                       {"a/1.jpg", "one"},
                       {"b/c/d/2.jpg", "two"},
                       {"e/3.jpg", "three"},
                       {"e/sheet.pdf", "pdf"},
                       {"f/Upper.JPG", "upper"},
                       {"f/long.jpeg", "jpeg"},
                       {"g/xjpg", "x"}});
    fs::create_directories(folder / "empty/nested");
    Arrange();
    EXPECT_EQ(ReadTree(folder), (Tree{{"Kamien.ini", "[info]\r\nBAZA=Inna nazwa\r\n"},
                                      {"top.jpg", "top"},
                                      {"1.jpg", "one"},
                                      {"2.jpg", "two"},
                                      {"3.jpg", "three"},
                                      {"xjpg", "x"},
                                      {"e/sheet.pdf", "pdf"},
                                      {"f/Upper.JPG", "upper"},
                                      {"f/long.jpeg", "jpeg"}}));
    for (const char* gone : {"a", "b", "g", "empty"})
        EXPECT_FALSE(fs::exists(folder / gone)) << gone;
    // The folder keeps its name whatever its INI calls the database.
    EXPECT_FALSE(fs::exists(rig.Path("program/DB_MATERIALS/Inna nazwa")));
    EXPECT_FALSE(fs::exists(folder / "Inna nazwa"));
}

TEST_F(MaterialsTest, SameNameFromTwoFoldersLeavesTheLastCopied) {
    WriteTree(folder, {{"a/p.jpg", "from a"}, {"b/p.jpg", "from b"}});
    Arrange();
    const Tree after = ReadTree(folder);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_TRUE(after.at("p.jpg") == "from a" || after.at("p.jpg") == "from b");
}

TEST_F(MaterialsTest, PictureIsNotDeletedWhenItsCopyFails) {
    // A folder where the copy should go makes the copy fail.
    WriteTree(folder, {{"a/p.jpg", "picture"}});
    fs::create_directories(folder / "p.jpg");
    WriteTree(folder / "p.jpg", {{"inside.txt", "keeps the folder"}});
    Arrange();
    EXPECT_EQ(ReadBytes(folder / "a/p.jpg"), "picture");
}

TEST_F(MaterialsTest, FolderWithoutFilesStaysAndLinksAreNotFollowed) {
    fs::create_directories(folder / "empty");
    WriteTree(rig.Path("elsewhere"), {{"far.jpg", "far"}});
    fs::create_directories(rig.Path("elsewhere/empty/nested"));
    fs::create_directory_symlink(rig.Path("elsewhere"), folder / "link");
    WriteTree(folder, {{"sub/s.jpg", "s"}});
    fs::create_directory_symlink(rig.Path("elsewhere"), folder / "sub/inner-link");
    Arrange();
    EXPECT_TRUE(fs::is_directory(rig.Path("elsewhere/empty/nested")));
    EXPECT_EQ(ReadBytes(folder / "s.jpg"), "s");
    EXPECT_TRUE(fs::is_symlink(folder / "sub/inner-link"));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_FALSE(fs::exists(folder / "empty"));
    EXPECT_FALSE(fs::exists(folder / "far.jpg"));
    EXPECT_EQ(ReadBytes(rig.Path("elsewhere/far.jpg")), "far");
}

TEST_F(MaterialsTest, HiddenEmptyFoldersGoAndPipesStayUnopened) {
    WriteTree(folder, {{".hidden/deep/p.jpg", "hidden picture"}, {".keep/notes.txt", "notes"}});
    fs::create_directories(folder / ".empty/nested");
    ASSERT_EQ(::mkfifo((folder / "pipe.jpg").c_str(), 0600), 0);
    fs::create_directories(folder / "sub");
    ASSERT_EQ(::mkfifo((folder / "sub/pipe.jpg").c_str(), 0600), 0);
    // Were the pipe in "sub" opened, the arrangement would wait for a writer for ever.
    Arrange();
    EXPECT_EQ(ReadTree(folder), (Tree{{"p.jpg", "hidden picture"}, {".keep/notes.txt", "notes"}}));
    EXPECT_FALSE(fs::exists(folder / ".hidden"));
    EXPECT_FALSE(fs::exists(folder / ".empty"));
    EXPECT_TRUE(fs::is_fifo(folder / "sub/pipe.jpg"));
    EXPECT_TRUE(fs::is_fifo(folder / "pipe.jpg"));
}

TEST(MaterialsLegacyInstall, MaterialsDatabaseArrivesWithItsPicturesSideBySide) {
    EngineRig rig;
    const Tree files = {{"Kamien.ini", "[info]\r\nBAZA=Kamien\r\n"},
                        {"tex/granite.jpg", "granite"},
                        {"tex/marble/m.jpg", "marble"},
                        {"docs/info.pdf", "info"}};
    rig.bundle.AddPair(1,
                       DatabaseIni("BAZA=Kamien\r\n", "TYPE=MATERIALS\r\nTARGETNAME=Kamien\r\n"
                                                      "TARGETSIZE=" +
                                                          std::to_string(TreeSize(files)) + "\r\n"),
                       Pack7z(files));
    TDoDbInstallThings& engine = rig.Start();
    const std::string program = rig.Path("program");
    ASSERT_TRUE(engine.ExtractArchives(nullptr, nullptr, nullptr));
    ASSERT_TRUE(engine.InstallDatabases(UnicodeString(program), nullptr, nullptr, nullptr, true));
    EXPECT_EQ(ReadTree(program + "/DB_MATERIALS/Kamien"),
              (Tree{{"Kamien.ini", "[info]\r\nBAZA=Kamien\r\n"},
                    {"granite.jpg", "granite"},
                    {"m.jpg", "marble"},
                    {"docs/info.pdf", "info"}}));
    EXPECT_FALSE(fs::exists(program + "/DB_MATERIALS/Kamien/tex"));
}
