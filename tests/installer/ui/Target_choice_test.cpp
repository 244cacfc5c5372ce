// The target page's rules: listed folders, version flags, manual validation and the chosen
// target, including a path edited after it was validated.
#include "installer/ui/Target_choice.h"

#include "platform/rtl/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

TEST(TargetChoice, V3FolderIsListedAsItsParent) {
    EXPECT_EQ(ListedProgramFolder(u"/opt/lumora/V3_I6x86/"), UnicodeString(u"/opt/lumora/"));
    EXPECT_EQ(ListedProgramFolder(u"/opt/lumora/V3_I6x86"), UnicodeString(u"/opt/lumora/"));
    EXPECT_EQ(ListedProgramFolder(u"/opt/lumora/v3_i6x86/"),
              UnicodeString(u"/opt/lumora/v3_i6x86/"));
    EXPECT_EQ(ListedProgramFolder(u"/opt/lumora/"), UnicodeString(u"/opt/lumora/"));
}

TEST(TargetChoice, VersionFlagReadsTheFirstCharacterOnlyWhenThereIsOne) {
    const std::pair<const char16_t*, int> cases[] = {
        {u"7.2", 0}, {u"3.0", 0}, {u"8.1", 1}, {u"", 1}, {u"x", 1}};
    for (const auto& [text, flag] : cases)
        EXPECT_EQ(VersionNameFlag(text), flag) << UnicodeString(text).ToUtf8();
}

class ManualFolder : public testing::Test {
protected:
    void SetUp() override {
        folder =
            std::filesystem::temp_directory_path() / ("w23_manual_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        SetDriveResolver([](const UnicodeString& path) {
            return path.Pos(u"/") == 1 ? UnicodeString(u"C:") : UnicodeString();
        });
        drives[u"C"] = TLogicalDriveFound{u"C", 1, 2};
    }
    void TearDown() override {
        SetDriveResolver(nullptr);
        std::filesystem::remove_all(folder);
    }
    UnicodeString Folder() const { return UnicodeString(folder.string()); }

    // Records the lines asked and finds the program for `match` only.
    TProgramFolderCheck Finder(EProductLine match, bool sufficient) {
        return [this, match, sufficient](const UnicodeString&, EProductLine line, bool& found,
                                         bool& enough) {
            asked.push_back(line);
            found = line == match;
            enough = sufficient;
            return true;
        };
    }

    std::filesystem::path folder;
    TDriveMap drives;
    std::vector<EProductLine> asked;
};

TEST_F(ManualFolder, LinesAreTriedInTheirOrderUntilOneIsFound) {
    const TCadAppInstalled found =
        ValidateManualFolder(Folder(), drives, false, Finder(plLumoraDemo, false));
    EXPECT_EQ(found.productLine, plLumoraDemo);
    EXPECT_EQ(found.folder, Folder());
    EXPECT_EQ(asked, (std::vector<EProductLine>{plLumoraPro, plFennix, plLumora, plLumoraMarvello,
                                                plLumoraProDemo, plLumoraDemo}));
}

TEST_F(ManualFolder, OlderFormatNeedsSufficientVersions) {
    EXPECT_EQ(ValidateManualFolder(Folder(), drives, true, Finder(plLumora, false)).productLine,
              plNone);
    EXPECT_EQ(asked.size(), 7u);
    EXPECT_EQ(ValidateManualFolder(Folder(), drives, true, Finder(plLumora, true)).productLine,
              plLumora);
}

TEST_F(ManualFolder, NoValidationOffTheDriveMapForEmptyOrMissingFolders) {
    const UnicodeString cases[] = {u"", u"relative/path", Folder() + u"/missing"};
    for (const UnicodeString& path : cases) {
        EXPECT_EQ(ValidateManualFolder(path, drives, false, Finder(plLumora, true)).productLine,
                  plNone)
            << path.ToUtf8();
    }
    EXPECT_TRUE(asked.empty());
    TDriveMap none;
    EXPECT_EQ(ValidateManualFolder(Folder(), none, false, Finder(plLumora, true)).productLine,
              plNone);
    EXPECT_FALSE(IsInstallableFolder(u""));
    EXPECT_FALSE(IsInstallableFolder(Folder() + u"/missing"));
    EXPECT_TRUE(IsInstallableFolder(Folder()));
}

TEST(TargetChoice, ChosenTargetFollowsThePage) {
    TTargetPageState page;
    page.detectedVisible = true;
    page.detectedChecked = true;
    page.checkedProgram = {plFennix, u"/opt/fennix/"};
    page.manualVisible = true;
    page.pathText = u"/opt/fennix";
    EXPECT_EQ(GetChosenTarget(page).productLine, plFennix);

    page.detectedChecked = false;
    EXPECT_EQ(GetChosenTarget(page).productLine, plNone) << "no radio button checked";

    page.manualChecked = true;
    page.manualChoice = {plLumora, u"/opt/fennix"};
    TCadAppInstalled chosen = GetChosenTarget(page);
    EXPECT_EQ(chosen.productLine, plLumora);
    EXPECT_EQ(chosen.folder, UnicodeString(u"/opt/fennix/"));

    page.warningVisible = true;
    chosen = GetChosenTarget(page);
    EXPECT_EQ(chosen.productLine, plNone);
    EXPECT_EQ(chosen.folder, UnicodeString(u"/opt/fennix/"));

    // Edited after validation: the validated program no longer counts.
    page.warningVisible = false;
    page.pathText = u"/opt/other";
    chosen = GetChosenTarget(page);
    EXPECT_EQ(chosen.productLine, plNone);
    EXPECT_EQ(chosen.folder, UnicodeString(u"/opt/other/"));

    page.pathText = u"  ";
    EXPECT_TRUE(GetChosenTarget(page).folder.IsEmpty());
}

} // namespace

namespace {

TEST(TargetChoice, DetectedProgramsAreListedWithNameVersionAndFolder) {
    const TCadAppInstalledVec candidates = {
        {plLumora, u"/opt/lumora/V3_I6x86/"},
        {plLumoraPro, u"/opt/pro/"},
        {plFennix, u"/opt/fennix/"},
    };
    const std::map<std::u16string, std::u16string> versions = {
        {u"/opt/lumora/V3_I6x86/", u"3.1"}, {u"/opt/pro/", u"8.2"}, {u"/opt/fennix/", u""}};
    const TProgramList list = BuildProgramList(
        candidates,
        [&](const TCadAppInstalled& c) { return UnicodeString(versions.at(c.folder.str())); },
        [](EProductLine line) { return UnicodeString("P" + std::to_string(line)); },
        [](int number) { return number == 229 ? UnicodeString(u"%s (%s)") : UnicodeString(); });
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_EQ(list.firstFolder, UnicodeString(u"/opt/lumora/"));
    // Version 3 shows for every line; a PRO edition of another version shows none; an empty
    // version text is no version.
    EXPECT_EQ(list.entries[0].text, UnicodeString(u"P1 3.1 (/opt/lumora/)"));
    EXPECT_EQ(list.entries[0].program.folder, UnicodeString(u"/opt/lumora/"));
    EXPECT_EQ(list.entries[1].text, UnicodeString(u"P5 (/opt/pro/)"));
    EXPECT_EQ(list.entries[2].text, UnicodeString(u"P4 (/opt/fennix/)"));
    EXPECT_EQ(list.entries[2].program.productLine, plFennix);
}

} // namespace
