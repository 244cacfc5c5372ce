#include "ConfigTestSupport.h"

#include "installer/config/Database_types.h"

using configtest::ModuleTest;

TEST(DatabaseTypes, WordsMatchExactlyAndCaseSensitively) {
    const struct {
        const char16_t* word;
        EDatabaseType type;
    } cases[] = {
        {u"TILES", dtTiles},
        {u"INTERIOR", dtInterior},
        {u"CABINETS", dtCabinets},
        {u"HHD", dtHhd},
        {u"WALLS", dtWalls},
        {u"MATERIALS", dtMaterials},
        {u"DB_MATERIALS", dtDbMaterials},
        {u"tiles", dtUnknown},
        {u"TILES ", dtUnknown},
        {u"", dtUnknown},
        {u"DB_MATERIAL", dtUnknown},
        {u" DB_MATERIALS", dtUnknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DatabaseTypeFromWord(c.word), c.type) << UnicodeString(c.word).ToUtf8();
}

TEST(DatabaseTypes, DatesScanLikeTheCFormattedInput) {
    const struct {
        const char16_t* text;
        TDateParts date;
    } cases[] = {
        {u"2021-09-10", {2021, 9, 10}}, {u"2021-9", {2021, 9, 0}},
        {u"2021-123-4", {2021, 12, 0}}, {u"", {0, 0, 0}},
        {u"no digits", {0, 0, 0}},      {u" 2020- 1- 7", {2020, 1, 7}},
        {u"2020-01-07x", {2020, 1, 7}}, {u"2020/01/07", {2020, 0, 0}},
        {u"-5--3-+4", {-5, -3, 4}},     {u"99999999999-1-1", {2147483647, 1, 1}},
        {u"2020-", {2020, 0, 0}},       {u"2020-1-", {2020, 1, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDatabaseDate(c.text), c.date) << UnicodeString(c.text).ToUtf8();
}

TEST(DatabaseTypes, GroupsPreferTheProEditionsAndExcludeWhatCannotTakeTheType) {
    using V = EProductGroupVec;
    EXPECT_EQ(GetProductGroupsForDatabaseType(dtUnknown), V{});
    EXPECT_EQ(GetProductGroupsForDatabaseType(static_cast<EDatabaseType>(7)), V{});
    EXPECT_EQ(GetProductGroupsForDatabaseType(dtTiles), (V{pgLumoraPro, pgLumora, pgFennix}));
    EXPECT_EQ(GetProductGroupsForDatabaseType(dtInterior), (V{pgLumoraPro, pgFennix, pgLumora}));
    EXPECT_EQ(GetProductGroupsForDatabaseType(dtCabinets), (V{pgLumoraPro, pgFennix}));
    EXPECT_EQ(GetProductGroupsForDatabaseType(dtHhd), (V{pgLumoraPro, pgFennix}));
    for (EDatabaseType t : {dtWalls, dtMaterials, dtDbMaterials})
        EXPECT_EQ(GetProductGroupsForDatabaseType(t), (V{pgLumoraPro, pgLumora, pgFennix})) << t;
}

TEST(DatabaseTypes, OnlyCatalogueTypesMustCarryABrand) {
    for (int t = -2; t <= 7; ++t)
        EXPECT_EQ(IsBrandDatabaseType(static_cast<EDatabaseType>(t)), t >= 0 && t <= 3) << t;
}

TEST_F(ModuleTest, TargetFoldersEndWithADelimiterAndIgnoreTheMaterialsSwitch) {
    const struct {
        const char16_t* folder;
        EDatabaseType type;
        const char* expected;
    } cases[] = {
        {u"/p/", dtCabinets, "/p/"},
        {u"/p", dtCabinets, "/p/"},
        {u"/p", dtTiles, "/p/Plytki/"},
        {u"/p/", dtInterior, "/p/dodatki/"},
        {u"/p", dtHhd, "/p/AGD/"},
        {u"/p", dtWalls, "/p/WALLS/"},
        {u"/p", dtMaterials, "/p/DB_MATERIALS/"},
        {u"/p", dtDbMaterials, "/p/DB_MATERIALS/"},
        {u"/p", dtUnknown, ""},
        {u"/p", static_cast<EDatabaseType>(7), ""},
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& c : cases)
            EXPECT_EQ(module->GetDatabaseFolder(c.folder, c.type).ToUtf8(), c.expected) << c.type;
        module->UseDbMaterialsFolder(u"Elsewhere");
    }
    EXPECT_TRUE(module->materialsSwitched);
    EXPECT_EQ(module->materials2FolderWord.ToUtf8(), "Elsewhere");
}

TEST_F(ModuleTest, TypeNamesAreTranslatedTexts) {
    const char* names[] = {"Another database",
                           "The Tiles database",
                           "The Interior design database",
                           "The Kitchen cabinets database",
                           "The Household appliances database",
                           "The Wall elements database",
                           "The Materials and textures database",
                           "The Materials and textures database",
                           "Another database"};
    for (int t = -1; t <= 7; ++t)
        EXPECT_EQ(module->GetDatabaseTypeName(static_cast<EDatabaseType>(t)).ToUtf8(), names[t + 1])
            << t;
    EXPECT_EQ(module->GetExtractionFolderName().ToUtf8(), "cad_db_extraction_temp");
}
