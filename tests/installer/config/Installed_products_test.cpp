#include "ConfigTestSupport.h"

#include "platform/rtl/Exceptions.h"

using namespace configtest;

namespace {

struct RegistryCase {
    const char* name;
    std::map<EProductLine, std::string> installed; // folders below the scratch root
    std::map<EProductLine, std::string> elder;
    const char* rootPath; // "" or a path below the scratch root, or a Windows path ("D:\\...")
};

class InstalledProductsTest : public ::testing::TestWithParam<RegistryCase> {};

TEST_P(InstalledProductsTest, RecordsGiveOneExistingFolderPerLine) {
    const RegistryCase& c = GetParam();
    FakeMachine machine(c.name);
    ScopedResources resources;
    auto module = StartModule();

    std::map<EProductLine, std::string> installed, elder;
    for (const auto& [line, folder] : module->installedProducts)
        installed[line] = folder.ToUtf8();
    for (const auto& [line, folder] : module->elderInstalledProducts)
        elder[line] = folder.ToUtf8();
    auto below = [&](std::map<EProductLine, std::string> relative) {
        for (auto& [line, folder] : relative)
            folder = machine.Folder(folder).ToUtf8();
        return relative;
    };
    EXPECT_EQ(installed, below(c.installed));
    EXPECT_EQ(elder, below(c.elder));
    for (EProductLine line : {plLumora, plFennix, plTrimora})
        EXPECT_EQ(module->GetInstalledPath(line).ToUtf8(),
                  installed.count(line) ? installed[line] : "");
    EXPECT_EQ(module->elderPathLumora.ToUtf8(), elder.count(plLumora) ? elder[plLumora] : "");
    EXPECT_EQ(module->elderPathLumoraMarvello.ToUtf8(),
              elder.count(plLumoraMarvello) ? elder[plLumoraMarvello] : "");
    EXPECT_EQ(module->elderPathFennix.ToUtf8(), elder.count(plFennix) ? elder[plFennix] : "");

    std::string root = c.rootPath;
    if (!root.empty() && root[0] != 'D')
        root = machine.Folder(root).ToUtf8();
    EXPECT_EQ(module->rootPath.ToUtf8(), root);
}

const std::map<EProductLine, std::string> kEveryLine = {
    {plLumora, "progs/LM/"},   {plLumoraMarvello, "progs/LMM/"}, {plLumoraDemo, "progs/LMD/"},
    {plFennix, "progs/FX/"},   {plLumoraPro, "progs/LMPRO/"},    {plLumoraProDemo, "progs/LMPROD/"},
    {plTessaro, "progs/TSR/"}, {plTrimora, "progs/TRM/"},
};

INSTANTIATE_TEST_SUITE_P(
    Fixtures, InstalledProductsTest,
    ::testing::Values(
        RegistryCase{"empty", {}, {}, ""}, RegistryCase{"each_line_machine", kEveryLine, {}, ""},
        RegistryCase{"each_line_user", kEveryLine, {}, ""},
        RegistryCase{"machine_wins", {{plLumora, "x/"}, {plFennix, "fx/"}}, {}, ""},
        RegistryCase{"shared_folder", {{plLumora, "shared/"}}, {}, ""},
        RegistryCase{"current_generation", {{plLumora, "z/"}, {plLumoraPro, "pro/"}}, {}, ""},
        RegistryCase{"legacy_dated",
                     {},
                     {{plLumora, "b/"}, {plLumoraMarvello, "prev/"}, {plFennix, "f1/"}},
                     ""},
        RegistryCase{
            "legacy_missing_folder", {}, {{plLumoraMarvello, "prev/"}, {plFennix, "fx6/"}}, ""},
        // A default value carries the latest date but names no folder.
        RegistryCase{"legacy_empty_name", {}, {{plLumora, "a/"}}, ""},
        RegistryCase{"missing_folders", {}, {}, ""},
        RegistryCase{"root_paths", {}, {}, "D:\\Zentravo\\"},
        RegistryCase{"root_paths_native", {}, {}, "d/zentravo/"}),
    [](const ::testing::TestParamInfo<RegistryCase>& info) {
        return std::string(info.param.name);
    });

TEST(InstalledProducts, AValueOfTheWrongTypeEndsTheStartup) {
    for (const char* fixture : {"wrong_type_path", "wrong_type_legacy"}) {
        FakeMachine machine(fixture);
        ScopedResources resources;
        EXPECT_THROW(StartModule(), ERegistryException) << fixture;
    }
}

TEST(InstalledProducts, OnlyAMakerFolderDirectlyBelowADriveIsTheRootFolder) {
    FakeMachine machine;
    ScopedResources resources;
    auto module = StartModule();
    const std::string d = machine.Scratch().Str() + "/d";
    const struct {
        std::string path;
        bool root;
    } cases[] = {
        {"D:\\Zentravo", true},
        {"d:\\zentravo\\", true},
        {"D:\\Programs\\Zentravo", false},
        {"C:\\Zentravo", true},
        {"/Zentravo", true},
        {d + "/Zentravo", true},
        {d + "/ZENTRAVO/", true},
        {d + "/x/Zentravo", false},
        {"\\\\server\\Zentravo", false},
        {"Zentravo", false},
        {"", false},
        {"D:\\Zentravo2", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(module->IsMakerRootFolder(UnicodeString(c.path)), c.root) << c.path;
}

TEST(InstalledProducts, ManualsFolderNamesTheSourceProduct) {
    FakeMachine machine;
    ScopedResources resources;
    auto module = StartModule();
    EXPECT_EQ(module->manualsWord.ToUtf8(), "manuals");
    EXPECT_EQ(module->manualsFolder.ToUtf8(), "Zentravo Manuals/CadNothing");
    module->sourceProductLine = plFennix;
    module->SetManualsFolder();
    EXPECT_EQ(module->manualsFolder.ToUtf8(), "Zentravo Manuals/CadFennix");
}

} // namespace
