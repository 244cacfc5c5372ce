// The development tool installs the sample catalogue (resources/catalogue, packed by its own
// script) into fixture program folders of both layouts, as the wizard will; the result is
// compared with the 7z command's unpacking of the same archives and with the reference DWX
// converter, and the progress blocks are read back by an independent reader in another process.
#include "InstallTestSupport.h"

#include <cmath>
#include <cstdio>

using namespace installtest;

namespace {

// The sample catalogue packed once: its manifest, and a manifest of the translations.
struct PackedCatalogue {
    ScratchFolder folder;
    std::string manifests;
    PackedCatalogue() {
        const std::string script = (SourceDir() / "resources/catalogue/pack_catalogue.sh").string();
        EXPECT_EQ(Shell("bash " + Quote(script) + " " + Quote(folder / "pack") + " >/dev/null"), 0);
        folder.Write("texts.manifest", "TXTTRANSL RCDATA " +
                                           (SourceDir() / "resources/TxtTransl.txt").string() +
                                           "\n");
        manifests = "--manifest " + Quote(folder / "pack/catalogue.manifest") + " --manifest " +
                    Quote(folder / "texts.manifest") + " ";
    }
    std::string Archive(int n) const {
        char name[32];
        std::snprintf(name, sizeof name, "pack/DB%02dFULL.7z", n);
        return ReadBytes(folder / name);
    }
};

const PackedCatalogue& Catalogue() {
    static const PackedCatalogue packed;
    return packed;
}

struct LayoutCase {
    const char* name;
    const char* libraryVersion; // of the program's "kafle.dll"
    bool legacy;
    bool rewritesDwx;
};

using ToolInstallTest = EngineToolFixture<::testing::TestWithParam<LayoutCase>>;

} // namespace

TEST_P(ToolInstallTest, InstallsTheSampleCatalogueIntoTheExpectedTree) {
    const LayoutCase& c = GetParam();
    EngineMachine machine;
    const fs::path program = machine.Path("program");
    const fs::path reference = machine.Path("reference");
    PlaceFile(VersionedFile(c.libraryVersion), program / "kafle.dll");
    PlaceFile(VersionedFile(c.libraryVersion), reference / "kafle.dll");

    // A drawing file already in the shared tiles folder, and a read-only file of the user's.
    const ScratchFolder dwx;
    const std::string encoder = Quote((SourceDir() / "tools/dwx_reference.py").string());
    ASSERT_EQ(Shell("/usr/bin/python3 " + encoder + " seeds " + Quote(dwx.Str())), 0);
    ASSERT_EQ(Shell("/usr/bin/python3 " + encoder + " convert " + Quote(dwx / "v204.dwx") + " " +
                    Quote(dwx / "c203.dwx") + " 203"),
              0);
    const std::string walls = c.legacy ? "WALLS/DB03FULL" : "WALLS";
    WriteTree(program, {{"Plytki/old.dwx", ReadBytes(dwx / "v204.dwx")},
                        {"Plytki/ProbnePlytki/kafle.txt", "the user's own tiles text"}});
    ::chmod((program / "Plytki/ProbnePlytki/kafle.txt").c_str(), 0444);
    WriteTree(reference,
              {{"Plytki/old.dwx", ReadBytes(dwx / (c.rewritesDwx ? "c203.dwx" : "v204.dwx"))}});
    Unpack7z(Catalogue().Archive(1), reference / "Plytki");
    Unpack7z(Catalogue().Archive(2), reference / "dodatki/ProbneDodatki");
    Unpack7z(Catalogue().Archive(3), reference / walls);
    WriteTree(reference, {{"Plytki/ProbnePlytki/kafle.txt", "the user's own tiles text"}});

    const CommandOutput run = CaptureCommand(
        Quote(EngineToolPath().string()) + " --blocks " + kToolUpdateBlock + " " +
        kToolInstallBlock + " " + Catalogue().manifests + "install " + Quote(program.string()));
    ASSERT_EQ(run.exitCode, 0) << run.text;
    EXPECT_NE(run.text.find(std::string("layout: ") + (c.legacy ? "legacy" : "normal")),
              std::string::npos)
        << run.text;
    EXPECT_NE(run.text.find("status: Installation of Probne Dodatki database"), std::string::npos);
    EXPECT_NE(run.text.find("main bar 100%"), std::string::npos) << run.text;
    EXPECT_EQ(DiffTrees(reference, program), "");
    EXPECT_TRUE(NoPartialFiles(program));

    // The blocks as another process reads them: the installation step's scale and sums.
    int64_t required = 0;
    for (const char* db : {"DB01", "DB02", "DB03"})
        required += TreeSize(ReadTree(SourceDir() / "resources/catalogue" / db));
    const int64_t scale = required * 5 / 3;
    const int64_t done = scale * 2 / 5 + required;
    const CommandOutput blocks = CaptureCommand(
        "/usr/bin/python3 " + Quote((SourceDir() / "tools/read_progress_blocks.py").string()) +
        " --update " + kToolUpdateBlock + " --install " + kToolInstallBlock);
    const int percent = static_cast<int>(
        std::floor(100.0 * static_cast<double>(done) / static_cast<double>(scale)));
    EXPECT_EQ(blocks.text, "percent=" + std::to_string(std::min(percent, 100)) +
                               " total=" + std::to_string(scale) + " done=" + std::to_string(done) +
                               " status=Installation of DB03FULL database\n");
}

INSTANTIATE_TEST_SUITE_P(Layouts, ToolInstallTest,
                         ::testing::Values(LayoutCase{"Normal", "2.1.0.30", false, false},
                                           LayoutCase{"NormalOld", "2.0.5.0", false, true},
                                           LayoutCase{"Legacy", "2.0.4.0", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ToolDrives, PrintsTheScanOfTheDriveMap) {
    if (!fs::exists(EngineToolPath()))
        GTEST_SKIP() << "engine_tool is not built";
    EngineMachine machine;
    const ScopedEnv drives("DBI_DRIVES", "C=" + machine.Path("") + ";D=optical:/");
    const CommandOutput run =
        CaptureCommand(Quote(EngineToolPath().string()) + " --blocks " + kToolUpdateBlock + " " +
                       kToolInstallBlock + " drives");
    EXPECT_EQ(run.exitCode, 0) << run.text;
    EXPECT_NE(run.text.find("log: Examining drive D: Type = 5;\n"), std::string::npos) << run.text;
    EXPECT_NE(run.text.find("log: Examining drive Z: Type = 1;\n"), std::string::npos);
    win::SharedMemoryBlock::Unlink(kToolUpdateBlock);
    win::SharedMemoryBlock::Unlink(kToolInstallBlock);
}
