// What the welcome and confirmation pages say, from a small translation table of our own.
#include "installer/ui/Wizard_texts.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

const std::map<int, std::u16string> kTable = {
    {207, u"One"},           {208, u"Many"},           {209, u"Tiles %s"},
    {210, u"Interior %s"},   {211, u"Cabinets %s"},    {212, u"Appliances %s"},
    {213, u"Walls"},         {214, u"Materials"},      {215, u"Welcome all"},
    {216, u"Welcome tiles"}, {220, u"Welcome walls"},  {225, u"And other databases (%s)"},
    {237, u"It exists"},     {238, u"They exist"},     {239, u"Being installed: %s\\nExisting: %s"},
    {240, u"Overwrite it"},  {241, u"Overwrite them"}, {251, u"Walls %s"},
    {252, u"Materials %s"},
};

UnicodeString Text(int number) {
    const auto found = kTable.find(number);
    return found == kTable.end() ? UnicodeString() : UnicodeString(found->second);
}

TDatabaseEmbedded Db(EDatabaseType type, const char* brand, const char* target = "x",
                     TDatabaseDate date = {2011, 11, 5}) {
    TDatabaseEmbedded entry;
    entry.type = type;
    entry.databaseName = brand;
    entry.targetName = target;
    entry.mdate = date;
    return entry;
}

TDatabaseEmbeddedVecAfterTypeMap Catalogue(const std::vector<TDatabaseEmbedded>& entries) {
    TDatabaseEmbeddedVecAfterTypeMap catalogue;
    for (const TDatabaseEmbedded& entry : entries)
        catalogue[entry.type].push_back(entry);
    return catalogue;
}

std::vector<std::string> Shown(const TWelcomeContent& content) {
    std::vector<std::string> lines;
    for (const TPageLine& line : content.lines)
        lines.push_back(line.visible ? "+" + line.text.ToUtf8() : "-");
    return lines;
}

TEST(WizardTexts, FormattingKeepsPlaceholdersThatHaveNoArgument) {
    EXPECT_EQ(FormatTranslated(u"%s (%s)", {u"Lumora"}), UnicodeString(u"Lumora (%s)"));
    EXPECT_EQ(FormatTranslated(u"%s (%s)", {u"A", u"B", u"C"}), UnicodeString(u"A (B)"));
    EXPECT_EQ(FormatTranslated(u"100%% %s%", {u"done"}), UnicodeString(u"100% done%"));
    EXPECT_EQ(FormatTranslated(u"%d %s", {u"x"}), UnicodeString(u"%d x"));
}

TEST(WizardTexts, DatesAreDayMonthYear) {
    EXPECT_EQ(FormatDayMonthYear({2011, 11, 5}), UnicodeString(u"05.11.2011"));
    EXPECT_EQ(FormatDayMonthYear({987, 1, 31}), UnicodeString(u"31.01.0987"));
    EXPECT_EQ(WindowTitleTextNumber(1), 207);
    EXPECT_EQ(WindowTitleTextNumber(2), 208);
}

TEST(WizardTexts, WelcomePageListsTheCarriedDatabases) {
    struct Case {
        const char* name;
        std::vector<TDatabaseEmbedded> entries;
        const char* head;
        std::vector<std::string> lines;
    };
    std::vector<TDatabaseEmbedded> six, seven;
    for (int i = 0; i < 7; ++i) {
        const std::string brand = "B" + std::to_string(i);
        (i < 6 ? six : seven).push_back(Db(dtTiles, brand.c_str()));
        if (i < 6)
            seven.push_back(Db(dtTiles, brand.c_str()));
    }
    const Case cases[] = {
        {"one tiles database",
         {Db(dtTiles, "Kafel")},
         "Welcome tiles",
         {"+Kafel", "-", "-", "-", "-", "-"}},
        {"one tiles database without target name",
         {Db(dtTiles, "Kafel", "")},
         "Welcome tiles",
         {"-", "-", "-", "-", "-", "-"}},
        {"one walls database shows its target name",
         {Db(dtWalls, "", "Sciany")},
         "Welcome walls",
         {"+Sciany", "-", "-", "-", "-", "-"}},
        {"tiles and database materials",
         {Db(dtTiles, "K"), Db(dtDbMaterials, "M")},
         "Welcome all",
         {"+Tiles K", "+", "-", "-", "-", "-"}},
        {"walls and materials with and without names",
         {Db(dtWalls, "", ""), Db(dtMaterials, "", "Mat"), Db(dtCabinets, "Szafy")},
         "Welcome all",
         {"+Cabinets Szafy", "+Walls", "+Materials Mat", "-", "-", "-"}},
        {"six fill every line",
         six,
         "Welcome all",
         {"+Tiles B0", "+Tiles B1", "+Tiles B2", "+Tiles B3", "+Tiles B4", "+Tiles B5"}},
        {"seven list five and the rest",
         seven,
         "Welcome all",
         {"+Tiles B0", "+Tiles B1", "+Tiles B2", "+Tiles B3", "+Tiles B4",
          "+And other databases (2)"}},
    };
    for (const Case& c : cases) {
        const TWelcomeContent content = BuildWelcomeContent(Catalogue(c.entries), Text);
        EXPECT_EQ(content.head.ToUtf8(), c.head) << c.name;
        EXPECT_EQ(Shown(content), c.lines) << c.name;
    }
}

TDatabaseAndTargetDatePairVec Present(int count, EDatabaseType type = dtTiles) {
    TDatabaseAndTargetDatePairVec present;
    for (int i = 0; i < count; ++i)
        present.push_back({Db(type, ("B" + std::to_string(i)).c_str(), "x", {2020, 1, i + 1}),
                           TDatabaseDate{2019, 2, i + 1}});
    return present;
}

TEST(WizardTexts, NothingPresentNeedsNoQuestion) {
    const TOverwriteContent content = BuildOverwriteContent({}, Text);
    EXPECT_TRUE(content.nothingPresent);
    for (const auto& [name, dates] : content.lines)
        EXPECT_FALSE(name.visible || dates.visible);
}

TEST(WizardTexts, OnePresentDatabaseUsesTheSingularTexts) {
    const TOverwriteContent content = BuildOverwriteContent(Present(1), Text);
    EXPECT_FALSE(content.nothingPresent);
    EXPECT_EQ(content.header, UnicodeString(u"It exists"));
    EXPECT_EQ(content.foot, UnicodeString(u"Overwrite it"));
    EXPECT_EQ(BuildOverwriteQuestion(content),
              UnicodeString(u"It exists Tiles B0\n\nBeing installed: 01.01.2020\n"
                            u"Existing: 01.02.2019\n"));
    EXPECT_FALSE(content.lines[1].first.visible);
}

TEST(WizardTexts, FivePresentListThreeThenTheRestWithTheFourthDates) {
    const TOverwriteContent content = BuildOverwriteContent(Present(5), Text);
    EXPECT_EQ(content.header, UnicodeString(u"They exist"));
    EXPECT_EQ(content.foot, UnicodeString(u"Overwrite them"));
    EXPECT_EQ(content.lines[3].first.text, UnicodeString(u"And other databases (2)"));
    EXPECT_TRUE(content.lines[3].first.visible);
    EXPECT_FALSE(content.lines[3].second.visible);
    const std::string question = BuildOverwriteQuestion(content).ToUtf8();
    EXPECT_EQ(question.find("They exist Tiles B0\n\n"), 0u);
    EXPECT_NE(question.find("Tiles B2\n\n"), std::string::npos);
    EXPECT_NE(question.find("And other databases (2)\n\nBeing installed: 04.01.2020\n"
                            "Existing: 04.02.2019\n"),
              std::string::npos);
    EXPECT_EQ(question.find("B4"), std::string::npos);
}

TEST(WizardTexts, WallsPresentHaveNoNameButTheirDates) {
    const TOverwriteContent content = BuildOverwriteContent(Present(1, dtWalls), Text);
    EXPECT_TRUE(content.lines[0].first.visible);
    EXPECT_TRUE(content.lines[0].first.text.IsEmpty());
    EXPECT_EQ(content.lines[0].second.text,
              UnicodeString(u"Being installed: 01.01.2020\nExisting: 01.02.2019"));
}

} // namespace

namespace {

TEST(WizardTexts, FailureReportSaysWhatFailedWithTheNewestLogLines) {
    const std::vector<UnicodeString> log = {u"a", u"b", u"c", u"d"};
    const std::string extract = BuildFailureReport(true, log, 2).ToUtf8();
    EXPECT_NE(extract.find("could not be prepared"), std::string::npos);
    EXPECT_EQ(extract.substr(extract.size() - 6), ".\n\nc\nd") << extract;
    const std::string install = BuildFailureReport(false, {}).ToUtf8();
    EXPECT_NE(install.find("not every database"), std::string::npos);
    EXPECT_EQ(install.find('\n'), std::string::npos);
}

} // namespace
