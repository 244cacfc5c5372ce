#include "ConfigTestSupport.h"

#include "installer/config/Setup_ini.h"

using namespace configtest;

namespace {

class SetupIniTest : public ModuleTest {
protected:
    // Reads the fixture folder's Setup.ini as the start-up does; answers what both readers say.
    std::pair<bool, bool> Read(const std::string& fixture) {
        folder = (FixtureDir() / "setup_ini" / fixture).string() + "/";
        module->InitSourceLayout(UnicodeString(folder));
        module->platformText = u"WINNT";
        const bool lines = module->ReadSetupIni();
        const bool keys = module->ReadSetupIniProductKeys();
        return {lines, keys};
    }
    std::string Describe(const TGeneralMod::jezyki& l) {
        return l.name.str() + "|" + l.file.str() + "|" + l.folder.str() + "|" + l.code.str() + "|" +
               (l.chosen ? "chosen" : "-");
    }
    std::vector<std::string> Languages() {
        std::vector<std::string> out;
        for (const auto& l : module->languages)
            out.push_back(Describe(l));
        return out;
    }
    std::string folder;
};

using Strings = std::vector<std::string>;

} // namespace

TEST_F(SetupIniTest, WithoutAFileBothReadersAnswerFalseAndKeepTheDefaults) {
    EXPECT_EQ(Read("no_such_folder"), std::make_pair(false, false));
    EXPECT_TRUE(module->languages.empty());
    EXPECT_EQ(module->setupFolderName.ToUtf8(), "Setup_icad");
    EXPECT_EQ(module->engineVersionText.ToUtf8(), "6.6");
    EXPECT_TRUE(module->exePathValue.IsEmpty());
    EXPECT_EQ(module->sourceProductLine, plNone);
    EXPECT_FALSE(module->testFlag);
    EXPECT_EQ(module->GetSetupIniPath().ToUtf8(), folder + "Setup.ini");
}

TEST_F(SetupIniTest, AnEmptyFileStandsForOnePolishLanguage) {
    EXPECT_EQ(Read("empty"), std::make_pair(true, true));
    EXPECT_EQ(Languages(), Strings{"POLSKI|0|" + folder + "wersje_jezykowe/lang0|lang0|chosen"});
    EXPECT_EQ(module->setupFolderName.ToUtf8(), "Setup_icad");
    EXPECT_EQ(module->GetLanguageCode().ToUtf8(), "lang1"); // an ordinary run ignores the list
}

TEST_F(SetupIniTest, LanguageLinesGiveNameFileFolderAndCode) {
    Read("languages");
    EXPECT_EQ(Languages(),
              (Strings{
                  "POLSKI|||lang0|-",
                  "ENGLISH|" + folder + "x.txt|" + folder + "wersje_jezykowe/lang1|lang1|-",
                  "CESKY|||cz.txt|-",
                  "DEUTSCH|||DEUTSCH|-",
              }));
    ASSERT_EQ(module->allowedEngines.size(), 2u);
    EXPECT_EQ(module->allowedEngines[0].name.str(), "Engine one");
    EXPECT_EQ(module->allowedEngines[0].secondField.str(), "6.6");
    EXPECT_EQ(module->allowedEngines[0].prototypeFolder.str(), folder + "prototypy/proto1");
    EXPECT_EQ(module->allowedEngines[1].prototypeFolder.str(), "");
}

TEST_F(SetupIniTest, ForceLineKeepsOnlyTheForcedLanguage) {
    Read("forcelang");
    EXPECT_EQ(Languages(), Strings{"ENGLISH|||lang1|chosen"});
    Read("forcelang_unknown");
    EXPECT_EQ(Languages(), (Strings{"POLSKI|||lang0|-", "ENGLISH|||lang1|-"}));
}

TEST_F(SetupIniTest, ALineWithBracketsEndsTheSection) {
    Read("header_inside");
    EXPECT_EQ(Languages(), Strings{"POLSKI|||lang0|-"});
}

TEST_F(SetupIniTest, EverySectionFillsItsValues) {
    EXPECT_EQ(Read("all_sections"), std::make_pair(true, true));
    EXPECT_EQ(Languages(), (Strings{"ENGLISH|||lang1|-", "POLSKI|||lang0|-"}));
    EXPECT_EQ(module->versionRender.ToUtf8(), "5.1");
    EXPECT_EQ(module->versionKitchen.ToUtf8(), "8.2%beta");
    EXPECT_EQ(module->versionPricing.ToUtf8(), "3.0");
    EXPECT_EQ(module->versionHhd.ToUtf8(), "3.0"); // a key naming two words sets both
    EXPECT_EQ(module->sourceName.ToUtf8(), "Second name");
    EXPECT_EQ(module->pricingFilePath.ToUtf8(), folder + "pnt.dat");
    EXPECT_EQ(module->pricingRestText.ToUtf8(), "final rest");
    EXPECT_TRUE(module->testFlag);
    EXPECT_EQ(module->setupFolderName.ToUtf8(), "Setup_custom");
    EXPECT_EQ(module->engineVersionText.ToUtf8(), "7.1");
    EXPECT_EQ(module->exePathValue.ToUtf8(), "V3_I6x86");
    EXPECT_EQ(module->exePathTestValue.ToUtf8(), "Test folder");
    EXPECT_EQ(module->GetSetupExePath(1).ToUtf8(), "Test folder");
    EXPECT_EQ(module->sourceProductLine, plLumoraPro);
    EXPECT_EQ(module->GetProductExecutable(plFennix, 1).ToUtf8(), "CADFennix.exe");
    EXPECT_EQ(module->GetStartupProductName().ToUtf8(), "CAD Lumora PRO");

    // The pricing lines of the other platform family are not for this system.
    module->platformText = u"WIN9X";
    module->ReadSetupIni();
    EXPECT_TRUE(module->pricingFilePath.IsEmpty());
}

TEST_F(SetupIniTest, AnUnknownProductLineAndALowerCaseExePathChangeNothing) {
    Read("line_unknown");
    EXPECT_EQ(module->sourceProductLine, plNone);
    EXPECT_EQ(module->exePathValue.ToUtf8(), "v3_i6x86");
    EXPECT_EQ(module->GetProductExecutable(plFennix, 1).ToUtf8(), "CadFennix.exe");
}

TEST_F(SetupIniTest, FilesInUtf16AndTheEightBitCodePageAreDecoded) {
    Read("utf16");
    EXPECT_EQ(Languages(), Strings{"ČEŠTINA|||lang2|-"});
    EXPECT_EQ(module->sourceName.ToUtf8(), "Źródło instalacji");
    Read("cp1250");
    EXPECT_EQ(Languages(), Strings{"POLSKI ŁĄCZNIE|||lang0|-"});
    EXPECT_EQ(module->sourceName.ToUtf8(), "Źródło instalacji");
}

TEST_F(SetupIniTest, AFileThatCannotBeReadEndsTheStartup) {
    ScratchFolder scratch;
    scratch.Write("Setup.ini/inside", "a folder where the file should be");
    module->InitSourceLayout(UnicodeString(scratch.Str()));
    // A folder named Setup.ini is no file: the readers see no Setup.ini at all.
    EXPECT_FALSE(module->ReadSetupIni());
    if (::geteuid() != 0) {
        const std::string file = scratch.Write("locked/Setup.ini", "[NAME]\nx\n");
        fs::permissions(file, fs::perms::none);
        module->InitSourceLayout(UnicodeString(scratch.Str() + "/locked"));
        EXPECT_THROW(module->ReadSetupIni(), Exception);
    }
}

TEST(SetupIniParts, PercentFields) {
    const struct {
        const char* line;
        const char *first, *second, *third;
    } cases[] = {
        {"a%b%c", "a", "b", "c"},     {"a%b", "a", "b", "b"}, {"a%b%", "a", "b", ""},
        {"a%b%c%d", "a", "b", "c%d"}, {"%%", "", "", ""},     {"plain", "plain", "", ""},
        {"%x", "", "x", "x"},
    };
    for (const auto& c : cases) {
        const TPercentFields f = SplitPercentFields(c.line);
        EXPECT_EQ(f.first.str(), c.first) << c.line;
        EXPECT_EQ(f.second.str(), c.second) << c.line;
        EXPECT_EQ(f.third.str(), c.third) << c.line;
    }
}
