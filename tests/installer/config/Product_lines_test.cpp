#include "ConfigTestSupport.h"

using configtest::ModuleTest;

TEST_F(ModuleTest, AbbreviationsAreTrimmedAndUpperCasedBeforeLookup) {
    const struct {
        const char16_t* text;
        EProductLine line;
    } cases[] = {
        {u"lmpro", plLumoraPro},
        {u"LmPro", plLumoraPro},
        {u" LMPRO ", plLumoraPro},
        {u"\tlm\r", plLumora},
        {u"LMPROD", plLumoraProDemo},
        {u"trm", plTrimora},
        {u"", plNone},
        {u"XYZ", plNone},
        {u"L M", plNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(module->ProductLineFromAbbreviation(c.text), c.line)
            << UnicodeString(c.text).ToUtf8();
}

TEST_F(ModuleTest, EveryLineHasItsAbbreviationAndNoneHasNone) {
    const char16_t* abbreviations[] = {u"",      u"LM",     u"LMM", u"LMD", u"FX",
                                       u"LMPRO", u"LMPROD", u"TSR", u"TRM", u""};
    for (int line = 0; line <= 9; ++line)
        EXPECT_EQ(module->GetProductAbbreviation(static_cast<EProductLine>(line)),
                  UnicodeString(abbreviations[line]))
            << line;
}

TEST_F(ModuleTest, ProductNamesComeFromTheTranslationTable) {
    const char* names[] = {"CAD Lumora",          "CAD Lumora", "CAD Lumora Marvello",
                           "CAD Lumora Demo",     "CAD Fennix", "CAD Lumora PRO",
                           "CAD Lumora PRO Demo", "Tessaro",    "CAD Trimora",
                           "CAD Lumora"};
    for (int line = 0; line <= 9; ++line)
        EXPECT_EQ(module->GetProductName(static_cast<EProductLine>(line)).ToUtf8(), names[line])
            << line;
    EXPECT_EQ(module->GetProductName(static_cast<EProductLine>(-3)).ToUtf8(), "CAD Lumora");
}

TEST_F(ModuleTest, StartupProductNameFollowsTheProductSwitchOnlyWhenUninstalling) {
    module->updateProduct = plFennix;
    module->sourceProductLine = plLumoraPro;
    EXPECT_EQ(module->GetStartupProductName().ToUtf8(), "CAD Lumora PRO");
    module->programMode = pmUninstall;
    EXPECT_EQ(module->GetStartupProductName().ToUtf8(), "CAD Fennix");
    module->updateProduct = plNone;
    EXPECT_EQ(module->GetStartupProductName().ToUtf8(), "CAD Lumora");
}

TEST_F(ModuleTest, ExecutableNameSetFollowsLayoutFlagAndExePath) {
    const struct {
        const char16_t* exePath;
        EProductLine line;
        int layoutFlag;
        const char* expected;
    } cases[] = {
        {u"", plFennix, 1, "CadFennix.exe"},
        {u"", plFennix, 0, "CADFennix.exe"},
        {u"V3_I6x86", plFennix, 1, "CADFennix.exe"},
        {u"V3_I6x86", plFennix, 0, "CADFennix.exe"},
        {u"v3_i6x86", plFennix, 1, "CadFennix.exe"},
        {u"", plLumoraDemo, 1, "CadLumora.exe"},
        {u"", plLumoraMarvello, 0, "CADLumora_Marvello.exe"},
        {u"", plLumoraProDemo, 1, "CadLumoraPro.exe"},
        {u"", plTessaro, 0, "CadNothing.exe"},
        {u"V3_I6x86", static_cast<EProductLine>(42), 0, "CadNothing.exe"},
    };
    for (const auto& c : cases) {
        module->exePathValue = c.exePath;
        EXPECT_EQ(module->GetProductExecutable(c.line, c.layoutFlag).ToUtf8(), c.expected)
            << c.line << " " << c.layoutFlag;
    }
}

TEST_F(ModuleTest, FilesToCheckRaiseEveryMinimumByOneForTheEngineLayout) {
    auto describe = [](const std::vector<TProgramFileForCheckup>& files) {
        std::string text;
        for (const auto& f : files)
            text += f.fileName.ToUtf8() + " " + std::to_string(f.minMajor) + "." +
                    std::to_string(f.minMinor) + "; ";
        return text;
    };
    EXPECT_EQ(describe(module->GetFilesToCheck(plFennix, 0)),
              "CADFennix.exe 7.0; Manager.dll 7.0; kafle.dll 3.0; ");
    EXPECT_EQ(describe(module->GetFilesToCheck(plLumora, 1)),
              "CadLumora.exe 2.0; Manager.dll 6.0; kafle.dll 2.0; ");
    EXPECT_EQ(describe(module->GetFilesToCheck(plTessaro, 1)),
              "CadNothing.exe 2.0; Manager.dll 6.0; kafle.dll 2.0; ");
    EXPECT_EQ(describe(module->GetFilesToCheck(plFennix, 1)),
              "CadFennix.exe 6.0; Manager.dll 6.0; kafle.dll 2.0; ");
}

TEST_F(ModuleTest, RegistryKeysOfEveryLineAndGeneration) {
    const char* table[10][3] = {
        {"\\CADNOTHING", "\\CADNOTHING", "\\CADNOTHING\\INSTALLATIONS"},
        {"\\CADLUMORA3", "\\CADLUMORA2", "\\CADLUMORA\\INSTALLATIONS"},
        {"\\CADLUMORA3", "\\CADLUMORA2", "\\CADLUMORA_MARVELLO\\INSTALLATIONS"},
        {"\\CADLUMORA3", "\\CADLUMORA2", "\\CADLUMORA\\INSTALLATIONS"},
        {"\\CADFENNIX7", "\\CADFENNIX6", "\\CADFENNIX\\INSTALLATIONS"},
        {"\\CADLUMORAPRO3", "\\CADLUMORAPRO", "\\PLEASEDONTFINDME"},
        {"\\CADLUMORAPRO3", "\\CADLUMORAPRO", "\\PLEASEDONTFINDME"},
        {"\\TESSARO", "\\CADNOTHING", "\\CADNOTHING\\INSTALLATIONS"},
        {"\\CADTrimora2", "\\CADNOTHING", "\\CADNOTHING\\INSTALLATIONS"},
        {"\\CADNOTHING", "\\CADNOTHING", "\\CADNOTHING\\INSTALLATIONS"},
    };
    for (int line = 0; line <= 9; ++line) {
        for (int generation = -1; generation <= 3; ++generation) {
            const bool known = generation >= 0 && generation <= 2;
            const std::string expected = std::string("SOFTWARE\\ZENTRAVO") +
                                         (known ? table[line][generation] : "\\CADNOTHING");
            EXPECT_EQ(
                module->GetProductRegistryKey(static_cast<EProductLine>(line), generation).ToUtf8(),
                expected)
                << line << " " << generation;
        }
    }
    EXPECT_EQ(module->GetInstallationsKey().ToUtf8(), "SOFTWARE\\ZENTRAVO\\INSTALLATIONS");
    EXPECT_EQ(module->GetMainPathsKey().ToUtf8(), "SOFTWARE\\ZENTRAVO\\MAINPATHS");
}

TEST_F(ModuleTest, FolderWordFollowsTheSetupIniProductLine) {
    const char* words[] = {"CadNothing",       "CadLumora",  "CadLumoraMarvello",
                           "CadLumoraDemo",    "CadFennix",  "CadLumoraPro",
                           "CadLumoraProDemo", "CadNothing", "CadNothing"};
    for (int line = 0; line <= 8; ++line) {
        module->sourceProductLine = static_cast<EProductLine>(line);
        EXPECT_EQ(module->GetProductFolderWord().ToUtf8(), words[line]) << line;
    }
}

TEST(ProductLines, VersionIsShownForEveryLineButTheProEditionsWithFlagOne) {
    for (int line = 0; line <= 8; ++line) {
        const auto l = static_cast<EProductLine>(line);
        EXPECT_TRUE(IsVersionShownInName(l, 0)) << line;
        EXPECT_EQ(IsVersionShownInName(l, 1), l != plLumoraPro && l != plLumoraProDemo) << line;
    }
}
