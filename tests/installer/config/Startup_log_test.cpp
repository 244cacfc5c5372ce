#include "ConfigTestSupport.h"

using namespace configtest;

namespace {

std::vector<std::string> Expected(std::initializer_list<std::string> lines) {
    return lines;
}

std::string ProgramFolder() {
    return ExecutableFolder().ToUtf8();
}

} // namespace

TEST(StartupLog, AnOrdinaryStartWithoutSetupIniOrPrograms) {
    FakeMachine machine("processor_named");
    ScopedResources resources;
    auto module = StartModule();
    EXPECT_EQ(Lines(*module->startupLog),
              Expected({"CPU: Test Processor 3000, MHz: 3000", "System: WINNT (12, 64 bit)",
                        "Admin rights: Can't determine", "Product name: CAD Lumora",
                        "Installation files path: " + ProgramFolder(),
                        "Elder installation path found for CAD Lumora: [NONE]",
                        "Elder installation path found for CAD Lumora Marvello: [NONE]",
                        "Elder installation path found for CAD Fennix: [NONE]",
                        "Program mode: Unknown"}));
    // Steps 4 and 5 find no Setup.ini, so the configuration is not complete; nothing stops.
    EXPECT_FALSE(module->configurationOk);
    EXPECT_EQ(module->installationFilesPath, module->installerFolder);
    EXPECT_EQ(module->installLog->Count(), 0);
}

TEST(StartupLog, ArgumentsInstallationsAndUpdateTarget) {
    FakeMachine machine("startup_full");
    ScopedResources resources;
    auto module = StartModule({u"/path:/opt/cad", u" /product:fx "});
    EXPECT_EQ(
        Lines(*module->startupLog),
        Expected(
            {"Parameter 1: /path:/opt/cad", "Parameter 2: /product:fx",
             "CPU: Test Processor 3000, MHz: 3000", "System: WINNT (12, 64 bit)",
             "Admin rights: Can't determine", "Product name: CAD Lumora",
             "Installation files path: " + ProgramFolder(),
             "Elder installation path found for CAD Lumora: " + machine.Folder("old/").ToUtf8(),
             "Elder installation path found for CAD Lumora Marvello: " +
                 machine.Folder("old/").ToUtf8(),
             "Elder installation path found for CAD Fennix: [NONE]",
             "Current installation path found for \"CAD Lumora\": " +
                 machine.Folder("lm/").ToUtf8(),
             "Current installation path found for \"CAD Lumora PRO\": " +
                 machine.Folder("pro/").ToUtf8(),
             "Program mode: Unknown", "Update path: /opt/cad/", "Update product: CAD Fennix"}));
}

TEST(StartupLog, ANineXSystemInPolishWithAnUpdateSwitch) {
    FakeMachine machine("processor_blank_name", "1045", "9X 4.90");
    ScopedResources resources;
    auto module = StartModule({u"/silent", u"/product:nothing"});
    EXPECT_EQ(Lines(*module->startupLog),
              Expected({"Parameter 1: /silent", "Parameter 2: /product:nothing",
                        "CPU: x86 Family 6 Model 8 Stepping 3, MHz: 0", "System: WIN9X (5, 32 bit)",
                        "Admin rights: Present", "Product name: CAD Lumora",
                        "Installation files path: " + ProgramFolder(),
                        "Elder installation path found for CAD Lumora: [NONE]",
                        "Elder installation path found for CAD Lumora Marvello: [NONE]",
                        "Elder installation path found for CAD Fennix: [NONE]",
                        "Program mode: Unknown"}));
}
