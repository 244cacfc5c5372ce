#include "ConfigTestSupport.h"

#include "installer/config/Platform_probe.h"
#include "platform/win/Registry.h"

#include <fstream>

using namespace configtest;

TEST(PlatformProbe, VersionCodesOfBothFamilies) {
    const struct {
        int platform, major, minor;
        const char16_t* servicePack;
        int code;
    } cases[] = {
        {kPlatformWinNt, 3, 51, u"", 4},
        {kPlatformWinNt, 4, 0, u"", 4},
        {kPlatformWinNt, 0, 0, u"", 4},
        {kPlatformWinNt, 5, 0, u"", 6},
        {kPlatformWinNt, 5, 1, u"", 7},
        {kPlatformWinNt, 5, 2, u"", 0},
        {kPlatformWinNt, 6, 0, u"", 8},
        {kPlatformWinNt, 6, 1, u"", 9},
        {kPlatformWinNt, 6, 2, u"", 10},
        {kPlatformWinNt, 6, 3, u"", 11},
        {kPlatformWinNt, 6, 4, u"", 0},
        {kPlatformWinNt, 10, 0, u"", 12},
        {kPlatformWinNt, 11, 0, u"", 0},
        {kPlatformWin9x, 4, 0, u"", 1},
        {kPlatformWin9x, 4, 10, u"", 2},
        {kPlatformWin9x, 4, 10, u" A", 3},
        {kPlatformWin9x, 4, 10, u"A", 2},
        {kPlatformWin9x, 4, 90, u"", 5},
        {kPlatformWin9x, 0, 0, u"", 0},
        {0, 10, 0, u"", 0},
        {3, 4, 0, u"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindowsVersionCode(c.platform, c.major, c.minor, c.servicePack), c.code)
            << c.platform << " " << c.major << "." << c.minor;
}

TEST(PlatformProbe, LanguageIdsMapToCodesAndOnlyOfferedCodesStay) {
    const struct {
        int langId;
        const char* code;
        bool supported;
    } cases[] = {
        {1045, "lang0", true},   {1033, "lang1", true},   {18441, "lang1", true},
        {1029, "lang2", true},   {5127, "lang3", true},   {30746, "lang4", false},
        {1049, "lang5", true},   {26, "lang6", false},    {1038, "lang7", true},
        {1040, "lang8", false},  {21514, "lang9", true},  {31770, "lang10", false},
        {6156, "lang11", false}, {1026, "lang12", false}, {1048, "lang13", false},
        {1051, "lang14", true},  {2070, "lang15", false}, {2077, "lang16", false},
        {1063, "lang17", false}, {1058, "lang18", false}, {1035, "lang19", false},
        {0, "", false},          {1, "", false},          {65535, "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageCodeOfLangId(c.langId).ToUtf8(), c.code) << c.langId;
        EXPECT_EQ(IsSupportedLanguageCode(UnicodeString(c.code)), c.supported) << c.langId;
    }
}

namespace {

struct SystemCase {
    const char* name;
    const char* registryCase;
    const char* windowsVersion;
    const char* langId;
    const char* platform;
    int code;
    bool is64Bit;
    bool admin;
    const char* languageCode;
    bool detected;
};

class SystemProbeTest : public ::testing::TestWithParam<SystemCase> {};

TEST_P(SystemProbeTest, PlatformFactsComeFromTheSystemAndTheProcessorKey) {
    const SystemCase& c = GetParam();
    FakeMachine machine(c.registryCase, c.langId, c.windowsVersion);
    ScopedResources resources;
    auto module = StartModule();
    EXPECT_EQ(module->platformText.ToUtf8(), c.platform);
    EXPECT_EQ(module->windowsVersionCode, c.code);
    EXPECT_EQ(module->is64Bit, c.is64Bit);
    EXPECT_EQ(module->isAdmin, c.admin);
    EXPECT_EQ(module->windowsLanguageCode.ToUtf8(), c.languageCode);
    EXPECT_EQ(module->DetectSystem(), c.detected);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, SystemProbeTest,
    ::testing::Values(SystemCase{"nt10_polish", "processor_named", "10.0.19045", "1045", "WINNT",
                                 12, true, false, "lang0", true},
                      SystemCase{"nt61_italian", "processor_named", "NT 6.1.7601", "1040", "WINNT",
                                 9, true, false, "lang1", true},
                      SystemCase{"nt52_portuguese", "processor_named", "5.2", "2070", "WINNT", 0,
                                 true, false, "lang1", true},
                      SystemCase{"x86_identifier", "processor_blank_name", "6.4", "1051", "WINNT",
                                 0, false, false, "lang14", true},
                      SystemCase{"win98_second", "processor_named", "9X 4.10.2222 A", "1031",
                                 "WIN9X", 3, true, true, "lang3", true},
                      SystemCase{"winme", "processor_named", "9X 4.90", "1049", "WIN9X", 5, true,
                                 true, "lang5", true},
                      SystemCase{"win32s", "processor_named", "WIN32S 3.1", "1033", "", 0, true,
                                 true, "lang1", false}),
    [](const ::testing::TestParamInfo<SystemCase>& info) { return std::string(info.param.name); });

} // namespace

TEST(PlatformProbe, ProcessorNameFallsBackToTheIdentifierAndTheClockToZero) {
    const struct {
        const char* registryCase;
        const char* name;
        int mhz;
    } cases[] = {
        {"processor_named", "Test Processor 3000", 3000},
        {"processor_blank_name", "x86 Family 6 Model 8 Stepping 3", 0},
    };
    for (const auto& c : cases) {
        FakeMachine machine(c.registryCase);
        ScopedResources resources;
        auto module = StartModule();
        EXPECT_EQ(module->processorName.ToUtf8(), c.name);
        EXPECT_EQ(module->processorMhz, c.mhz);
    }
}

TEST(PlatformProbe, EveryStartSwitchesTheScreenSaverOffAndKeepsTheUsersOtherValues) {
    FakeMachine machine("startup_full");
    ScopedResources resources;
    auto module = StartModule();
    EXPECT_TRUE(module->ReadProcessorInfo());
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"Control Panel\\Desktop"));
    EXPECT_EQ(reg.ReadString(u"ScreenSaveActive").ToUtf8(), "0");
    EXPECT_EQ(reg.ReadString(u"Wallpaper").ToUtf8(), "kept.png");
}

TEST(PlatformProbe, WithoutAdministratorRightsTheProcessorKeyStaysShut) {
    FakeMachine machine("processor_named");
    ScopedResources resources;
    ScopedEnv noAdmin("DBI_NO_ADMIN", "1");
    auto module = StartModule();
    EXPECT_EQ(module->processorName.ToUtf8(), "Nieznany");
    EXPECT_EQ(module->processorMhz, 0);
    // The read-only 64-bit test still sees the processor.
    EXPECT_TRUE(module->is64Bit);
}

TEST(PlatformProbe, AScreenSaverSwitchThatCannotBeWrittenFailsTheStepOnly) {
    FakeMachine machine("processor_named");
    ScopedResources resources;
    // A user hive below a plain file reads as empty but can never be saved, even for root.
    const std::string blocker = machine.Scratch().Str() + "/not-a-folder";
    std::ofstream(blocker) << "x";
    ScopedEnv userHive("DBI_REGISTRY_USER", blocker + "/user.reg");
    auto module = StartModule();
    EXPECT_FALSE(module->ReadProcessorInfo());
    EXPECT_EQ(module->processorName.ToUtf8(), "Test Processor 3000");
    EXPECT_FALSE(module->configurationOk);
}
