// The engine development tool, run as a separate program on a machine made of fixtures:
// registry stores naming program folders, resources with a catalogue, version-stamped files.
#include "EngineTestSupport.h"

#include <cstdio>

using namespace enginetest;

namespace {

CommandOutput RunTool(const std::string& arguments) {
    return CaptureCommand("'" + EngineToolPath().string() + "' --blocks " + kToolUpdateBlock + " " +
                          kToolInstallBlock + " " + arguments);
}

// Registry stores of the maker's programs: one folder per product line.
const std::string kMachineRegistry = R"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\ZENTRAVO\INSTALLATIONS]
"LM"="RecLM"
"FX"="RecFX"
"LMPRO"="RecLMPRO"
"LMPROD"="RecLMPROD"

[HKEY_LOCAL_MACHINE\SOFTWARE\ZENTRAVO\INSTALLATIONS\RecLM]
"PATH"="@ROOT@/progs/LM"

[HKEY_LOCAL_MACHINE\SOFTWARE\ZENTRAVO\INSTALLATIONS\RecFX]
"PATH"="@ROOT@/progs/FX"

[HKEY_LOCAL_MACHINE\SOFTWARE\ZENTRAVO\INSTALLATIONS\RecLMPRO]
"PATH"="@ROOT@/progs/PRO"

[HKEY_LOCAL_MACHINE\SOFTWARE\ZENTRAVO\INSTALLATIONS\RecLMPROD]
"PATH"="@ROOT@/progs/PROD"
)";

using EngineToolTest = EngineToolFixture<>;

} // namespace

TEST_F(EngineToolTest, CatalogueAndProgramsOfAFixtureMachine) {
    EngineMachine machine(kMachineRegistry);
    ScopedBundle bundle;
    bundle
        .AddPair(1, DatabaseIni("BAZA=Meble\r\nDATA=2022-03-15\r\nMDATE=2022-04-01\r\n",
                                "TYPE=INTERIOR\r\nTARGETNAME=Meble\r\nTARGETSIZE=3000000000\r\n"))
        .AddPair(2, DatabaseIni("BAZA=Kafle\r\nDATA=2021-09-10\r\n",
                                "TYPE=TILES\r\nTARGETNAME=Kafle.mdb\r\nFORMATFDB=1\r\n"))
        .AddPair(3, DatabaseIni("BAZA=\r\n", "TYPE=CHAIRS\r\n"));
    bundle.Install();
    {
        ScopedModule module; // for the file lists of each line
        MakeProgramFolder(machine.Path("progs/LM"), plLumora, 1, "7.1.0.0");
        MakeProgramFolder(machine.Path("progs/FX"), plFennix, 0, "7.1.0.0");
        MakeProgramFolder(machine.Path("progs/PRO"), plLumoraPro, 1, "5.0.0.0");
        MakeProgramFolder(machine.Path("progs/PROD"), plLumoraProDemo, 1, "6.2.0.0");
    }
    ScopedEnv resources("DBI_RESOURCE_FILE", bundle.Path());

    CommandOutput run = RunTool("catalogue");
    EXPECT_EQ(run.exitCode, 0) << run.text;
    EXPECT_EQ(run.text,
              "databases: 2\n"
              "TILES DB02INI/DB02FULL name=\"Kafle\" date=\"2021-09-10\" mdate=2021-09-10 "
              "udate=2021-09-10 target=\"Kafle.mdb\" size=0 fdb=1\n"
              "INTERIOR DB01INI/DB01FULL name=\"Meble\" date=\"2022-03-15\" mdate=2022-04-01 "
              "udate=2022-03-15 target=\"Meble\" size=3000000000 fdb=0\n");

    // Tiles come first, so the groups are those of tiles; the professional edition with too
    // low versions is left out, the demo one passes. The kitchen program keeps its files in its
    // engine sub-folder only, so its folder shows no version.
    run = RunTool("programs");
    EXPECT_EQ(run.exitCode, 0) << run.text;
    const std::string root = machine.Scratch().Str();
    EXPECT_NE(run.text.find("candidates:\n  LMPROD " + root + "/progs/PROD/ 6.2\n  LM " + root +
                            "/progs/LM/ 7.1\n  FX " + root + "/progs/FX/ ?\n"),
              std::string::npos)
        << run.text;

    run = RunTool("check " + root + "/progs/PRO LMPRO");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.text, "checked=1 files=1 versions=0\n");
    run = RunTool("check " + root + "/progs/FX/V3_I6x86 FX");
    EXPECT_EQ(run.text, "checked=1 files=1 versions=1\n");

    // A copy of the interior database already in the kitchen program.
    machine.Scratch().Write("progs/FX/dodatki/Meble/meble.ini",
                            "[info]\r\nBAZA=Meble\r\nDATA=2020-05-06\r\n");
    run = RunTool("present " + root + "/progs/FX");
    EXPECT_EQ(run.text, "INTERIOR DB01INI \"Meble\" installed 2020-05-06\n");

    run = RunTool("running");
    EXPECT_EQ(run.text, "running=0\n");
}

TEST_F(EngineToolTest, CommandLineTargetComesFirst) {
    EngineMachine machine(kMachineRegistry);
    ScopedBundle bundle;
    bundle.AddPair(1, DatabaseIni("BAZA=Meble\r\n", "TYPE=INTERIOR\r\nTARGETNAME=M\r\n"));
    bundle.Install();
    {
        ScopedModule module;
        MakeProgramFolder(machine.Path("progs/LM"), plLumora, 1, "7.1.0.0");
        MakeProgramFolder(machine.Path("progs/FX"), plFennix, 1, "7.1.0.0");
    }
    ScopedEnv resources("DBI_RESOURCE_FILE", bundle.Path());
    const std::string root = machine.Scratch().Str();
    const CommandOutput run = RunTool("programs -- /path:" + root + "/progs/LM /product:LMD");
    EXPECT_NE(run.text.find("candidates:\n  LMD " + root + "/progs/LM/ 7.1\n  FX " + root +
                            "/progs/FX/ 7.1\n"),
              std::string::npos)
        << run.text;
}

TEST_F(EngineToolTest, EmptyCatalogueStopsWithTextTwoHundredTwentyFourAndCodeThree) {
    EngineMachine machine;
    ScopedBundle bundle;
    bundle.Add("LIB7Z", Bytes("decoder")).Add("LIBB1", Bytes("runtime"));
    bundle.Install();
    ScopedEnv resources("DBI_RESOURCE_FILE", bundle.Path());
    const CommandOutput run = RunTool("start");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.text.find("The installer does not contain any databases (it may be damaged)."),
              std::string::npos)
        << run.text;
    EXPECT_FALSE(fs::exists(machine.SystemFolder() + "/7z.dll"));
}

TEST_F(EngineToolTest, SampleCatalogueStartsAndPublishesProgress) {
    EngineMachine machine;
    const fs::path packed = machine.Path("packed");
    ASSERT_EQ(
        std::system(("bash '" + (SourceDir() / "resources/catalogue/pack_catalogue.sh").string() +
                     "' '" + packed.string() + "' >/dev/null")
                        .c_str()),
        0);
    const std::string texts = machine.Scratch().Write(
        "texts.manifest",
        "TXTTRANSL RCDATA " + (SourceDir() / "resources/TxtTransl.txt").string() + "\n");
    const std::string manifests =
        "--manifest '" + (packed / "catalogue.manifest").string() + "' --manifest '" + texts + "' ";
    ScopedEnv resources("DBI_RESOURCE_FILE", std::nullopt);

    CommandOutput run = RunTool(manifests + "catalogue");
    EXPECT_EQ(run.exitCode, 0) << run.text;
    EXPECT_NE(run.text.find("databases: 3\n"), std::string::npos) << run.text;
    EXPECT_NE(run.text.find("TILES DB01INI/DB01FULL name=\"Probne Plytki\""), std::string::npos);

    run = RunTool(manifests + "start");
    EXPECT_EQ(run.exitCode, 0) << run.text;
    EXPECT_NE(run.text.find("Licence agreement for the catalogue databases"), std::string::npos);
    EXPECT_EQ(fs::file_size(machine.SystemFolder() + "/7z.dll"),
              fs::file_size("/usr/lib/p7zip/7z.so"));

    // Another process follows the blocks the tool wrote.
    run = RunTool(manifests + "progress 1000 400 565 Instalacja --commit");
    EXPECT_EQ(run.exitCode, 0) << run.text;
    FILE* pipe =
        ::popen(("/usr/bin/python3 '" + (SourceDir() / "tools/read_progress_blocks.py").string() +
                 "' --update " + kToolUpdateBlock + " --install " + kToolInstallBlock)
                    .c_str(),
                "r");
    ASSERT_NE(pipe, nullptr);
    char line[2048] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    ::pclose(pipe);
    ASSERT_TRUE(read);
    EXPECT_EQ(std::string(line), "percent=96 total=1000 done=965 status=Instalacja\n");
}
