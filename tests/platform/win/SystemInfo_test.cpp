#include "WinTestSupport.h"

#include "platform/win/DebugOutput.h"
#include "platform/win/ProcessorInfo.h"
#include "platform/win/SystemInfo.h"

#include <gtest/gtest.h>

namespace {

using wintest::ScopedEnv;

TEST(SystemInfo, VersionIsModernUnlessOverridden) {
    {
        ScopedEnv unset{"DBI_WINDOWS_VERSION", std::nullopt};
        win::SystemVersion version = win::GetSystemVersion();
        EXPECT_EQ(version.platformId, win::kPlatformIdWinNt);
        EXPECT_EQ(version.major, 10);
        EXPECT_EQ(version.minor, 0);
        EXPECT_GT(version.build, 1000u);
    }
    struct Case {
        const char* text;
        int platformId, major, minor;
        unsigned build;
        const char* servicePack;
    };
    const std::vector<Case> cases = {
        {"6.1.7601", win::kPlatformIdWinNt, 6, 1, 7601, ""},
        {"nt 5.1", win::kPlatformIdWinNt, 5, 1, 0, ""},
        {"9X 4.10.2222 A", win::kPlatformIdWin9x, 4, 10, 2222, " A"},
        {"WIN32S 3.1", win::kPlatformIdWin32s, 3, 1, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScopedEnv set{"DBI_WINDOWS_VERSION", c.text};
        win::SystemVersion v = win::GetSystemVersion();
        EXPECT_EQ(v.platformId, c.platformId);
        EXPECT_EQ(v.major, c.major);
        EXPECT_EQ(v.minor, c.minor);
        EXPECT_EQ(v.build, c.build);
        EXPECT_EQ(v.servicePack, c.servicePack);
    }
    for (const char* bad : {"ten", "NT", "6", "6.1.2.3", "XP 5.1", "300.1"}) {
        SCOPED_TRACE(bad);
        win::SystemVersion version;
        EXPECT_FALSE(win::ParseSystemVersion(bad, version));
    }
}

TEST(SystemInfo, LanguageFromOverrideOrLocale) {
    ScopedEnv all{"LC_ALL", std::nullopt}, messages{"LC_MESSAGES", std::nullopt};
    {
        ScopedEnv id{"DBI_LANGUAGE_ID", "1045"};
        EXPECT_EQ(win::GetUserDefaultLangID(), 1045);
    }
    {
        ScopedEnv id{"DBI_LANGUAGE_ID", "0x040e"};
        EXPECT_EQ(win::GetUserDefaultLangID(), 1038);
    }
    ScopedEnv noId{"DBI_LANGUAGE_ID", std::nullopt};
    const std::vector<std::pair<const char*, int>> locales = {
        {"pl_PL.UTF-8", 1045}, {"en_US.UTF-8", 1033}, {"en_GB", 2057}, {"de_AT.UTF-8", 3079},
        {"de_DE@euro", 1031},  {"pt_PT", 2070},       {"pt_BR", 1046}, {"it_IT", 1040},
        {"sk_SK", 1051},       {"cs_CZ.UTF-8", 1029}, {"C", 1033},     {"POSIX", 1033},
        {"xx_YY", 1033},
    };
    for (const auto& [locale, id] : locales) {
        SCOPED_TRACE(locale);
        ScopedEnv lang{"LANG", locale};
        EXPECT_EQ(win::GetUserDefaultLangID(), id);
    }
    ScopedEnv lang{"LANG", "de_DE.UTF-8"};
    ScopedEnv first{"LC_ALL", "hu_HU.UTF-8"};
    EXPECT_EQ(win::GetUserDefaultLangID(), 1038);
}

TEST(SystemInfo, ProcessorFromCpuInfo) {
    const std::string intel =
        "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\n"
        "model\t\t: 158\nmodel name\t: Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz\n"
        "stepping\t: 10\ncpu MHz\t\t: 3191.998\n\n"
        "processor\t: 1\nmodel name\t: Other\n";
    win::ProcessorInfo cpu = win::ParseProcessorInfo(intel, "x86_64");
    EXPECT_EQ(cpu.name, "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
    EXPECT_EQ(cpu.identifier, "Intel64 Family 6 Model 158 Stepping 10");
    EXPECT_EQ(cpu.megahertz, 3192u);
    EXPECT_TRUE(cpu.is64Bit);
    win::ProcessorInfo old = win::ParseProcessorInfo(intel, "i686");
    EXPECT_EQ(old.identifier.substr(0, 3), "x86");
    EXPECT_FALSE(old.is64Bit);
    win::ProcessorInfo amd = win::ParseProcessorInfo(
        "vendor_id : AuthenticAMD\ncpu family : 25\nmodel : 33\n", "x86_64");
    EXPECT_EQ(amd.identifier, "AMD64 Family 25 Model 33 Stepping 0");
    EXPECT_EQ(amd.name, amd.identifier); // no marketing name given
    win::ProcessorInfo arm = win::ParseProcessorInfo("", "aarch64");
    EXPECT_EQ(arm.identifier, "aarch64");
    EXPECT_EQ(arm.megahertz, 0u);
    EXPECT_FALSE(win::ReadProcessorInfo().identifier.empty());
}

TEST(DebugOutput, TracesOnlyWhenAsked) {
    {
        ScopedEnv off{"DBI_TRACE", std::nullopt};
        ::testing::internal::CaptureStderr();
        OutputDebugStringA("silent");
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    }
    {
        ScopedEnv zero{"DBI_TRACE", "0"};
        ::testing::internal::CaptureStderr();
        OutputDebugStringA("silent");
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    }
    ScopedEnv on{"DBI_TRACE", "1"};
    ::testing::internal::CaptureStderr();
    OutputDebugStringA("winLangCode");
    OutputDebugStringW(u"lang0");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[trace] winLangCode\n[trace] lang0\n");
}

} // namespace
