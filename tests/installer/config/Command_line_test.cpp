#include "ConfigTestSupport.h"

using namespace configtest;

namespace {

struct CommandLineCase {
    const char* name;
    std::vector<UnicodeString> arguments;
    EProgramMode mode;
    const char* updateFolder;
    EProductLine updateProduct;
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {
protected:
    FakeMachine machine;
    ScopedResources resources;
};

TEST_P(CommandLineTest, SwitchesSetModeFolderAndProduct) {
    const CommandLineCase& c = GetParam();
    auto module = StartModule(c.arguments);
    EXPECT_EQ(module->programMode, c.mode);
    EXPECT_EQ(module->updateFolder.ToUtf8(), c.updateFolder);
    EXPECT_EQ(module->updateProduct, c.updateProduct);

    // Every argument is logged, trimmed, ahead of the system lines.
    std::vector<std::string> expected;
    for (size_t i = 0; i < c.arguments.size(); ++i)
        expected.push_back("Parameter " + std::to_string(i + 1) + ": " +
                           c.arguments[i].Trim().ToUtf8());
    std::vector<std::string> log = Lines(*module->startupLog);
    log.resize(std::min(log.size(), expected.size()));
    EXPECT_EQ(log, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineTest,
    ::testing::Values(
        CommandLineCase{"none", {}, pmDatabaseInstaller, "", plNone},
        CommandLineCase{"silent_upper", {u"/SILENT"}, pmDatabaseUpdate, "", plNone},
        CommandLineCase{"update_mixed", {u"/Update"}, pmDatabaseUpdate, "", plNone},
        CommandLineCase{"both", {u"/update", u"/silent"}, pmDatabaseUpdate, "", plNone},
        CommandLineCase{"prefix_counts", {u"/updatenow"}, pmDatabaseUpdate, "", plNone},
        CommandLineCase{
            "path_case_kept", {u"/PATH:D:\\Prog"}, pmDatabaseInstaller, "D:\\Prog/", plNone},
        CommandLineCase{
            "path_native", {u"/path:/opt/cad/"}, pmDatabaseInstaller, "/opt/cad/", plNone},
        CommandLineCase{"path_empty", {u"/path:", u"/path:   "}, pmDatabaseInstaller, "", plNone},
        CommandLineCase{"later_path_wins",
                        {u"/path:/a", u"/path:/b", u"/path: "},
                        pmDatabaseInstaller,
                        "/b/",
                        plNone},
        CommandLineCase{
            "product", {u"/product:lmpro", u"/product:XYZ"}, pmDatabaseInstaller, "", plLumoraPro},
        CommandLineCase{"product_blanks", {u"/PRODUCT:  lm "}, pmDatabaseInstaller, "", plLumora},
        CommandLineCase{"blanks_around",
                        {u"  /silent  ", u"-s", u"/langcode:lang3"},
                        pmDatabaseUpdate,
                        "",
                        plNone}),
    [](const ::testing::TestParamInfo<CommandLineCase>& info) {
        return std::string(info.param.name);
    });

} // namespace
