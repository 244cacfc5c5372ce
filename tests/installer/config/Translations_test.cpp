#include "ConfigTestSupport.h"

#include "installer/config/Translations.h"
#include "platform/rtl/FormatSettings.h"
#include "scene/core/Sg_bitmap.h"

#include <regex>
#include <set>

using namespace configtest;

namespace {

TStringList TableOf(int size, const UnicodeString& fill = UnicodeString()) {
    TStringList table;
    for (int i = 0; i < size; ++i)
        table.Add(fill);
    return table;
}

TStringList LinesOf(const std::string& fixture) {
    TStringList lines;
    lines.LoadFromFile(UnicodeString((FixtureDir() / "translations" / fixture).string()));
    return lines;
}

} // namespace

TEST(TranslationSection, EdgeCasesOfTheSectionLines) {
    TStringList table = TableOf(kTranslationTableSize, u"old");
    ASSERT_TRUE(ApplyTranslationSection(LinesOf("edge_cases.txt"), u"lang1", table));
    const struct {
        int number;
        const char* text;
    } expected[] = {
        {0, "%s Wizard"},    {1, "One"},
        {5, "old"},          {7, "[Reserved]"},
        {8, "a=b = c"},      {9, "key with a leading blank"},
        {999, "last entry"}, {10, "hexadecimal ten"},
        {2, "old"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(table[e.number].ToUtf8(), e.text) << e.number;
    EXPECT_EQ(table.Count(), kTranslationTableSize);
}

TEST(TranslationSection, TheNextHeaderEndsTheSectionAndOtherSectionsStayUnread) {
    TStringList table = TableOf(10);
    ASSERT_TRUE(ApplyTranslationSection(LinesOf("edge_cases.txt"), u"LANG0", table));
    EXPECT_EQ(table[0].ToUtf8(), "Zero in Polish");
    EXPECT_EQ(table[1].ToUtf8(), "Jeden");
    EXPECT_EQ(table[2].ToUtf8(), "");
}

TEST(TranslationSection, MissingSectionsAndHeadersOnTheLastTwoLinesAreNotFound) {
    const struct {
        const char* fixture;
        const char16_t* code;
        bool found;
    } cases[] = {
        {"edge_cases.txt", u"LANG9", false},
        {"edge_cases.txt", u"LANG", false},
        {"header_too_late.txt", u"LANG1", false},
        {"header_in_time.txt", u"lang1", true},
        {"utf16.txt", u"LANG3", true},
    };
    for (const auto& c : cases) {
        TStringList table = TableOf(3, u"kept");
        EXPECT_EQ(ApplyTranslationSection(LinesOf(c.fixture), c.code, table), c.found) << c.fixture;
        if (!c.found) {
            EXPECT_EQ(table[0].ToUtf8(), "kept");
        }
    }
    TStringList table = TableOf(3);
    ApplyTranslationSection(LinesOf("utf16.txt"), u"lang3", table);
    EXPECT_EQ(table[0].ToUtf8(), "Größe");
}

// The committed resource: every section complete, the same placeholders everywhere, and every
// text the wizard quotes in English word for word.
class TranslationResource : public ::testing::Test {
protected:
    TStringList lines = [] {
        TStringList l;
        l.LoadFromFile(UnicodeString((SourceDir() / "resources/TxtTransl.txt").string()));
        return l;
    }();
    TStringList Section(const char16_t* code) {
        TStringList table = TableOf(kTranslationTableSize);
        EXPECT_TRUE(ApplyTranslationSection(lines, code, table)) << UnicodeString(code).ToUtf8();
        return table;
    }
};

TEST_F(TranslationResource, IsUtf8WithAMarkAndCrLfLines) {
    const std::string bytes = ReadBytes(SourceDir() / "resources/TxtTransl.txt");
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    size_t lfs = 0, crlfs = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n') {
            ++lfs;
            crlfs += i > 0 && bytes[i - 1] == '\r';
        }
    EXPECT_EQ(lfs, crlfs);
    EXPECT_EQ(lfs, 11u * 304u);
}

TEST_F(TranslationResource, EverySectionHoldsEveryTextWithTheEnglishPlaceholders) {
    const char16_t* codes[] = {u"LANG0", u"LANG1", u"LANG2",  u"LANG3",  u"LANG5", u"LANG7",
                               u"LANG8", u"LANG9", u"LANG11", u"LANG12", u"LANG14"};
    const std::regex placeholder("%s|\\\\n");
    auto placeholders = [&](const std::string& text) {
        std::string found;
        for (std::sregex_iterator it(text.begin(), text.end(), placeholder), end; it != end; ++it)
            found += it->str() + " ";
        return found;
    };
    TStringList english = Section(u"LANG1");
    for (const char16_t* code : codes) {
        TStringList texts = Section(code);
        for (int n = 0; n <= 302; ++n) {
            if (n == 54) {
                EXPECT_EQ(texts[n].IsEmpty(), UnicodeString(code) != u"LANG0") << n;
                continue;
            }
            EXPECT_FALSE(texts[n].Trim().IsEmpty()) << UnicodeString(code).ToUtf8() << " " << n;
            EXPECT_EQ(placeholders(texts[n].ToUtf8()), placeholders(english[n].ToUtf8()))
                << UnicodeString(code).ToUtf8() << " " << n;
        }
        EXPECT_TRUE(texts[303].IsEmpty());
    }
}

TEST_F(TranslationResource, EnglishTextsQuotedByTheWizardAreWordForWord) {
    const struct {
        int number;
        const char* text;
    } quoted[] = {
        {0, "%s Installation Wizard"},
        {1, "CAD Lumora"},
        {2, "CAD Lumora Marvello"},
        {3, "CAD Lumora Demo"},
        {4, "CAD Fennix"},
        {5, "CAD Lumora PRO"},
        {6, "CAD Lumora PRO Demo"},
        {19, "Question"},
        {20, "Notice"},
        {22, "Cancel"},
        {23, "Next"},
        {24, "Back"},
        {25, "Finish"},
        {59, "Select the target directory"},
        {74, "Browse"},
        {77, "Installation successfully completed"},
        {86, "License Agreement"},
        {125, "The amount of free space on disk "},
        {126, "%s: %s MB"},
        {144, "The Tiles database"},
        {145, "The Interior design database"},
        {146, "The Kitchen cabinets database"},
        {147, "The Household appliances database"},
        {148, "The Wall elements database"},
        {149, "The Materials and textures database"},
        {150, "Another database"},
        {152, "Installation of %s database"},
        {153, "Yes"},
        {154, "No"},
        {155, "OK"},
        {207, "The installation of the database"},
        {208, "The installation of the databases"},
        {209, "The %s tiles database "},
        {213, "The wall elements database"},
        {214, "The materials database"},
        {215, "Welcome to the database installation wizard:"},
        {216, "Welcome to the tile database installation wizard."},
        {224, "The installer does not contain any databases (it may be damaged)."},
        {225, "And other databases (%s)"},
        {226, "Install"},
        {228, "Catalogs of detected programs:"},
        {229, "%s (%s)"},
        {230, "Directory selected manually:"},
        {233, "Please select a directory of a program, in which the database is to be installed:"},
        {236, "Confirmation for overwriting"},
        {237, "This database already exists in the target directory"},
        {238, "These databases already exist in the target directory"},
        {239, "Being installed: %s\\nExisting: %s"},
        {240, "If you continue, it will be overwritten."},
        {241, "If you continue, they will be overwritten."},
        {242, "Are you sure you want to exit The Database Installer?"},
        {244, "Copying the archive of: %s database"},
        {246, "Installation progress"},
        {251, "The wall elements database %s"},
        {252, "The materials database %s"},
        {273, "CAD Trimora"},
        {284, "Tessaro"},
        {285, "Thank you for choosing our software"},
    };
    TStringList english = Section(u"LANG1");
    for (const auto& q : quoted)
        EXPECT_EQ(english[q.number].ToUtf8(), q.text) << q.number;
}

// Which section the module loads, by user language and program mode.
TEST(LanguageChoice, OrdinaryRunsFollowTheUserLanguageWithinTheSupportedSet) {
    ScopedResources resources;
    const struct {
        const char* langId;
        std::vector<UnicodeString> arguments;
        const char* code;
        const char* text0;
    } cases[] = {
        {"1045", {}, "lang0", "Kreator instalacji %s"},
        {"1033", {}, "lang1", "%s Installation Wizard"},
        {"1040", {}, "lang1", "%s Installation Wizard"}, // Italian exists but is not offered
        {"2070", {}, "lang1", "%s Installation Wizard"},
        {"1", {}, "lang1", "%s Installation Wizard"},
        {"1031", {}, "lang3", "Installationsassistent für %s"},
        {"1051", {}, "lang14", "Sprievodca inštaláciou %s"},
        {"1049", {u"/update"}, "lang0", "Kreator instalacji %s"}, // updates run in Polish
    };
    for (const auto& c : cases) {
        FakeMachine machine("empty", c.langId);
        auto module = StartModule(c.arguments);
        EXPECT_EQ(module->GetLanguageCode().ToUtf8(), c.code) << c.langId;
        EXPECT_EQ(GetTranslatedText(module.get(), 0).ToUtf8(), c.text0) << c.langId;
        EXPECT_TRUE(GetTranslatedText(module.get(), 54).IsEmpty() ==
                    (std::string(c.code) != "lang0"));
    }
}

TEST_F(ModuleTest, TextsOutsideTheTableAreEmpty) {
    EXPECT_EQ(module->translationTable->Count(), kTranslationTableSize);
    EXPECT_EQ(GetTranslatedText(module.get(), 302).ToUtf8(), "You can now close the installer.");
    EXPECT_TRUE(GetTranslatedText(module.get(), 303).IsEmpty());
    EXPECT_TRUE(GetTranslatedText(module.get(), 999).IsEmpty());
    EXPECT_TRUE(GetTranslatedText(module.get(), 1000).IsEmpty());
    EXPECT_TRUE(GetTranslatedText(module.get(), -1).IsEmpty());
    EXPECT_TRUE(GetTranslatedText(nullptr, 1).IsEmpty());
}

TEST_F(ModuleTest, AMissingSectionOrResourceLeavesEmptyTexts) {
    module->LoadTranslations(u"lang19");
    EXPECT_TRUE(GetTranslatedText(module.get(), 0).IsEmpty());
    EXPECT_EQ(module->translationTable->Count(), kTranslationTableSize);

    module->LoadTranslations(u"LANG9");
    EXPECT_EQ(GetTranslatedText(module.get(), 23).ToUtf8(), "Siguiente");
    {
        ScopedResources withoutTable{fs::path()};
        module->LoadTranslations(u"lang1");
        EXPECT_TRUE(GetTranslatedText(module.get(), 23).IsEmpty());
    }
}

TEST(LanguageChoice, SetupIniLanguagesAreTriedInOrderAndTheFirstWithTextsIsChosen) {
    FakeMachine machine;
    ScopedResources resources(FixtureDir() / "translations/edge_cases.txt");
    auto module = StartModule({u"/update"});
    module->languages = {{"NONE", "", "", "lang7", false},
                         {"ENGLISH", "", "", "lang1", false},
                         {"POLSKI", "", "", "lang0", true}};
    module->ClearTranslations();
    EXPECT_TRUE(module->InitLanguage());
    EXPECT_FALSE(module->languages[0].chosen);
    EXPECT_TRUE(module->languages[1].chosen);
    EXPECT_FALSE(module->languages[2].chosen);
    EXPECT_EQ(module->GetLanguageCode().ToUtf8(), "lang1");
    EXPECT_EQ(GetTranslatedText(module.get(), 1).ToUtf8(), "One");

    module->languages = {{"NONE", "", "", "lang7", true}};
    EXPECT_FALSE(module->InitLanguage());
    EXPECT_EQ(module->GetLanguageCode().ToUtf8(), "lang0");
}

TEST(Megabytes, OneDecimalAtMostWithTheUsersSeparators) {
    TFormatSettings saved = FormatSettings();
    const struct {
        int64_t bytes;
        char16_t decimal, thousands;
        const char* expected;
    } cases[] = {
        {3 << 19, u'.', u',', "1.5"},
        {int64_t(1) << 30, u'.', u',', "1,024"},
        {0, u'.', u',', "0"},
        {(int64_t(5) << 30) + (int64_t(1) << 19), u',', u' ', "5 120,5"},
        {int64_t(1) << 20, u'.', u',', "1"},
        {104858, u'.', u',', "0.1"},
    };
    for (const auto& c : cases) {
        FormatSettings().DecimalSeparator = c.decimal;
        FormatSettings().ThousandSeparator = c.thousands;
        EXPECT_EQ(FormatMegabytes(c.bytes).ToUtf8(), c.expected) << c.bytes;
    }
    FormatSettings() = saved;
}

TEST_F(ModuleTest, TitlePictureDecodesIntoAPremultipliedBitmap) {
    auto picture = module->LoadBitmapFromResource("Database_Installer");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 160);
    EXPECT_EQ(picture->Height(), 19);
    bool opaque = false;
    for (int y = 0; y < picture->Height(); ++y)
        for (int x = 0; x < picture->Width(); ++x) {
            const uint32_t p = picture->GetPixels(x, y);
            const uint32_t a = p >> 24;
            EXPECT_LE((p >> 16) & 0xFF, a);
            EXPECT_LE((p >> 8) & 0xFF, a);
            EXPECT_LE(p & 0xFF, a);
            opaque |= a == 0xFF;
        }
    EXPECT_TRUE(opaque);
    EXPECT_EQ(picture->GetPixels(0, 0) >> 24, 0u); // the background stays transparent

    EXPECT_EQ(module->LoadBitmapFromResource("NoSuchPicture"), nullptr);
    EXPECT_EQ(module->LoadBitmapFromResource("EmptyPicture"), nullptr);
    auto broken = module->LoadBitmapFromResource("NotAPicture");
    ASSERT_NE(broken, nullptr);
    EXPECT_TRUE(broken->IsEmpty());
    EXPECT_EQ(broken->Width(), 0);
}
