// The program-folder check, the detection of installed programs and the order of the target
// candidates.
#include "EngineTestSupport.h"

#include "platform/rtl/Paths.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace enginetest;

namespace {

const std::string kTilesIni = DatabaseIni("BAZA=Kafle\r\n", "TYPE=TILES\r\nTARGETNAME=K.mdb\r\n");
const std::string kTilesFdbIni =
    DatabaseIni("BAZA=Kafle\r\n", "TYPE=TILES\r\nTARGETNAME=K.fdb\r\nFORMATFDB=1\r\n");
const std::string kInteriorIni = DatabaseIni("BAZA=Meble\r\n", "TYPE=INTERIOR\r\nTARGETNAME=M\r\n");
const std::string kCabinetsIni =
    DatabaseIni("BAZA=Szafki\r\n", "TYPE=CABINETS\r\nTARGETNAME=S\r\n");

// Versions that pass every required file in both layouts, and that are too old for all.
const char* const kNew = "7.1.0.0";
const char* const kOld = "5.0.0.0";

} // namespace

class ProgramCheckTest : public ::testing::Test {
protected:
    EngineMachine machine;
    ScopedBundle bundle;
    std::unique_ptr<ScopedModule> module;
    std::unique_ptr<TDoDbInstallThings> engine;

    void SetUp() override {
        bundle.AddPair(1, kInteriorIni).Install();
        module = std::make_unique<ScopedModule>();
        engine = std::make_unique<TDoDbInstallThings>();
    }
    void TearDown() override {
        engine.reset();
        module.reset();
    }
    std::string Check(const std::string& folder, EProductLine line = plLumora) {
        bool present = true, sufficient = true;
        const bool checked =
            engine->CheckProgramFolder(UnicodeString(folder), line, present, sufficient);
        if (!checked)
            return "unchecked";
        return std::string(present ? "present" : "missing") + (sufficient ? " new" : " old");
    }
};

TEST_F(ProgramCheckTest, BothLayoutsAndTheirFallbacks) {
    const fs::path root = machine.Path("p");
    MakeProgramFolder(root / "flat", plLumora, 1, kNew);
    MakeProgramFolder(root / "flatold", plLumora, 1, kOld);
    MakeProgramFolder(root / "v3", plLumora, 0, kNew);
    // The engine sub-folder lacks a file: the folder itself decides, with its own list.
    MakeProgramFolder(root / "v3gap", plLumora, 0, kNew, 1);
    MakeProgramFolder(root / "v3gap", plLumora, 1, kOld);
    // The engine sub-folder is found whatever its case, as the platform finds names.
    MakeProgramFolder(root / "lower", plLumora, 1, kOld);
    MakeProgramFolder(root / "made", plLumora, 0, kNew);
    fs::rename(root / "made" / "V3_I6x86", root / "lower" / "v3_i6x86");
    MakeProgramFolder(root / "missing", plLumora, 1, kNew, 0);
    MakeProgramFolder(root / "noversion", plLumora, 1, "");
    fs::create_directories(root / "empty");

    EXPECT_EQ(Check((root / "flat").string()), "present new");
    EXPECT_EQ(Check((root / "flat").string() + "/"), "present new");
    EXPECT_EQ(Check((root / "flatold").string()), "present old");
    EXPECT_EQ(Check((root / "v3").string()), "present new");
    EXPECT_EQ(Check((root / "v3" / "V3_I6x86").string()), "present new");
    EXPECT_EQ(Check((root / "v3gap").string()), "present old");
    EXPECT_EQ(Check((root / "lower").string()), "present new");
    EXPECT_EQ(Check((root / "lower" / "v3_i6x86").string()), "present new");
    EXPECT_EQ(Check((root / "lower" / "V3_I6X86").string()), "present new");
    EXPECT_EQ(Check((root / "missing").string()), "missing old");
    EXPECT_EQ(Check((root / "noversion").string()), "present old");
    EXPECT_EQ(Check((root / "empty").string()), "unchecked");
    EXPECT_EQ(Check((root / "nowhere").string()), "unchecked");
}

TEST_F(ProgramCheckTest, VersionAgainstTheMinimum) {
    // Minimum 6.0 for Manager.dll of the flat layout: 6.0 passes, 5.9 does not.
    const fs::path folder = machine.Path("m");
    MakeProgramFolder(folder, plLumora, 1, kNew);
    PlaceFile(VersionedFile("6.0.0.0"), folder / "Manager.dll");
    EXPECT_EQ(Check(folder.string()), "present new");
    PlaceFile(VersionedFile("5.9.0.0"), folder / "Manager.dll");
    EXPECT_EQ(Check(folder.string()), "present old");
}

TEST_F(ProgramCheckTest, VersionTextOfTheMainExecutable) {
    const fs::path folder = machine.Path("ver");
    MakeProgramFolder(folder, plFennix, 1, "6.5.1.2");
    MakeProgramFolder(folder, plFennix, 0, "");
    UnicodeString text = u"unchanged";
    EXPECT_TRUE(engine->GetProgramVersionText(UnicodeString(folder.string()), plFennix, text));
    EXPECT_EQ(text.ToUtf8(), "6.5");
    EXPECT_TRUE(engine->GetProgramVersionText(UnicodeString((folder / "V3_I6x86").string()),
                                              plFennix, text));
    EXPECT_EQ(text.ToUtf8(), "-1.-1");
    text = u"unchanged";
    EXPECT_FALSE(
        engine->GetProgramVersionText(UnicodeString(machine.Path("none")), plFennix, text));
    EXPECT_EQ(text.ToUtf8(), "unchanged");
}

namespace {

struct Installation {
    EProductLine line;
    const char* folder;
    const char* version;
};

struct DetectionCase {
    const char* name;
    std::vector<std::string> catalogue;
    std::vector<Installation> installed;
    std::vector<UnicodeString> arguments;
    std::vector<std::string> candidates; // folder names in order
};

const DetectionCase kDetectionCases[] = {
    {"interior offers professional, kitchen, main",
     {kInteriorIni},
     {{plLumora, "lm", kNew}, {plFennix, "fx", kNew}, {plLumoraPro, "pro", kNew}},
     {},
     {"pro", "fx", "lm"}},
    {"cabinets never offer the main product",
     {kCabinetsIni},
     {{plLumora, "lm", kNew}, {plFennix, "fx", kNew}, {plLumoraPro, "pro", kNew}},
     {},
     {"pro", "fx"}},
    {"too old main product offered when nothing better",
     {kInteriorIni},
     {{plLumora, "lmold", kOld}, {plLumoraMarvello, "lmmold", kOld}},
     {},
     {"lmold", "lmmold"}},
    {"too old main product dropped beside a passing one",
     {kInteriorIni},
     {{plLumora, "lm", kNew}, {plLumoraDemo, "lmdold", kOld}},
     {},
     {"lm"}},
    {"too old dropped beside a professional one",
     {kInteriorIni},
     {{plLumora, "lmold", kOld}, {plFennix, "fxold", kOld}, {plLumoraPro, "pro", kNew}},
     {},
     {"pro"}},
    {"too old dropped for fdb tiles",
     {kTilesFdbIni},
     {{plLumora, "lmold", kOld}, {plFennix, "fxold", kOld}},
     {},
     {}},
    {"too old professional never offered",
     {kInteriorIni},
     {{plLumoraPro, "proold", kOld}, {plLumoraProDemo, "prod", kNew}},
     {},
     {"prod"}},
    {"command-line target first, not repeated",
     {kInteriorIni},
     {{plLumora, "lm", kNew}, {plFennix, "fx", kNew}},
     {u"/path:@ROOT@/LM", u"/product:LMD"},
     {"LM", "fx"}},
    {"command-line target offered although too old",
     {kInteriorIni},
     {{plFennix, "fx", kNew}},
     {u"/path:@ROOT@/cmdold", u"/product:LM"},
     {"cmdold", "fx"}},
    {"command-line target ignored in update mode",
     {kInteriorIni},
     {{plFennix, "fx", kNew}},
     {u"/path:@ROOT@/cmdold", u"/product:LM", u"/update"},
     {"fx"}},
    {"empty catalogue offers nothing detected", {}, {{plLumora, "lm", kNew}}, {}, {}},
};

} // namespace

TEST(ProgramDetection, CandidatesInTheOrderTheWizardOffersThem) {
    for (const DetectionCase& c : kDetectionCases) {
        EngineMachine machine;
        ScopedBundle bundle;
        int n = 0;
        for (const std::string& ini : c.catalogue)
            bundle.AddPair(++n, ini);
        bundle.Install();
        std::vector<UnicodeString> arguments;
        for (const UnicodeString& argument : c.arguments)
            arguments.push_back(UnicodeString(
                configtest::ReplaceAll(argument.ToUtf8(), "@ROOT@", machine.Scratch().Str())));
        ScopedModule module(arguments);
        for (const Installation& i : c.installed) {
            MakeProgramFolder(machine.Path(i.folder), i.line, 1, i.version);
            module->installedProducts[i.line] = UnicodeString(machine.Path(i.folder));
        }
        MakeProgramFolder(machine.Path("cmdold"), plLumora, 1, kOld);
        MakeProgramFolder(machine.Path("lm"), plLumora, 1, kNew);
        TDoDbInstallThings engine;
        std::vector<std::string> folders;
        for (const TCadAppInstalled& app : engine.GetTargetPrograms()) {
            EXPECT_EQ(app.folder.ToUtf8().back(), '/') << c.name;
            folders.push_back(ExtractFileName(ExcludeTrailingPathDelimiter(app.folder)).ToUtf8());
        }
        EXPECT_EQ(folders, c.candidates) << c.name;
    }
}

TEST(ProgramDetection, CommandLineTargetKeepsItsProductLine) {
    EngineMachine machine;
    ScopedBundle bundle;
    bundle.AddPair(1, kInteriorIni).Install();
    ScopedModule module({UnicodeString("/path:" + machine.Path("LM")), u"/product:LMD"});
    MakeProgramFolder(machine.Path("lm"), plLumora, 1, kNew);
    module->installedProducts[plLumora] = UnicodeString(machine.Path("lm"));
    TDoDbInstallThings engine;
    ASSERT_EQ(engine.GetTargetPrograms().size(), 1u);
    EXPECT_EQ(engine.GetTargetPrograms()[0].productLine, plLumoraDemo);
    EXPECT_EQ(engine.currentTarget.productLine, plLumoraDemo);
}

TEST(ProgramDetection, RunningEngineIsNoticed) {
    EngineMachine machine;
    ScopedBundle bundle;
    bundle.AddPair(1, kInteriorIni).Install();
    ScopedModule module;
    // A name of this test process's own: other tests and the installer itself may run the
    // engine's real name meanwhile.
    const std::string name = "viru" + std::to_string(::getpid()) + ".exe";
    module->cadEngineExecutable = UnicodeString::FromUtf8(name);
    TDoDbInstallThings engine;
    EXPECT_FALSE(engine.IsCadProgramRunning());
    const std::string program = machine.Path(name);
    fs::copy_file("/bin/sleep", program);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl(program.c_str(), name.c_str(), "30", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    bool found = false;
    for (int i = 0; i < 100 && !found; ++i) {
        found = engine.IsCadProgramRunning();
        if (!found)
            ::usleep(20000);
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(found);
    EXPECT_FALSE(engine.IsCadProgramRunning());
}
