// The compatibility pass after an installation: the target library's version decides the
// layout, the drawing-file version and the tiles format; the "Brettholm" sheets are replaced
// whatever the target. Drawing files are made, and their expected rewrites computed, by the
// reference encoder tools/dwx_reference.py.
#include "InstallTestSupport.h"

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace installtest;

namespace {

// Version-201..204 drawing files from the reference encoder, and its conversion of the 204 one
// to 203.
struct DwxFixtures {
    ScratchFolder folder;
    std::string v203, v204, v204as203;
    DwxFixtures() {
        const std::string tool = Quote((SourceDir() / "tools/dwx_reference.py").string());
        EXPECT_EQ(Shell("/usr/bin/python3 " + tool + " seeds " + Quote(folder.Str())), 0);
        EXPECT_EQ(Shell("/usr/bin/python3 " + tool + " convert " + Quote(folder / "v204.dwx") +
                        " " + Quote(folder / "c203.dwx") + " 203"),
                  0);
        v203 = ReadBytes(folder / "v203.dwx");
        v204 = ReadBytes(folder / "v204.dwx");
        v204as203 = ReadBytes(folder / "c203.dwx");
    }
};

const DwxFixtures& Dwx() {
    static const DwxFixtures fixtures;
    return fixtures;
}

// The target library: none, in the program folder, or in its "V3_I6x86" folder. An empty
// version makes a file without version information.
enum LibraryPlace { kNoLibrary, kProgramFolder, kV3Folder };

void PlaceLibrary(const fs::path& program, LibraryPlace place, const std::string& version) {
    if (place == kProgramFolder)
        PlaceFile(VersionedFile(version), program / "kafle.dll");
    else if (place == kV3Folder)
        PlaceFile(VersionedFile(version), program / "V3_I6x86/kafle.dll");
}

struct VersionCase {
    const char* version;
    LibraryPlace place;
    bool isNew;
    bool isLegacy;
};

class TargetVersionTest : public ::testing::TestWithParam<VersionCase> {};

} // namespace

TEST_P(TargetVersionTest, DecidesTheLayout) {
    const VersionCase& c = GetParam();
    EngineRig rig;
    TDoDbInstallThings& engine = rig.Start();
    const fs::path program = rig.Path("program");
    fs::create_directories(program);
    PlaceLibrary(program, c.place, c.version);
    const UnicodeString target(program.string() + "/");
    EXPECT_EQ(engine.IsTargetVersionNew(target), c.isNew);
    EXPECT_EQ(engine.IsTargetVersionLegacy(target), c.isLegacy);
}

INSTANTIATE_TEST_SUITE_P(Versions, TargetVersionTest,
                         ::testing::Values(VersionCase{"2.1.0.25", kProgramFolder, false, false},
                                           VersionCase{"2.1.0.26", kProgramFolder, true, false},
                                           VersionCase{"2.2.0.0", kProgramFolder, true, false},
                                           VersionCase{"3.0.0.0", kProgramFolder, true, false},
                                           VersionCase{"2.0.4.5", kProgramFolder, false, true},
                                           VersionCase{"2.0.4.6", kProgramFolder, false, false},
                                           VersionCase{"2.0.1.99", kProgramFolder, false, true},
                                           VersionCase{"2.0.0.1", kProgramFolder, false, false},
                                           VersionCase{"", kProgramFolder, false, false},
                                           VersionCase{"2.0.4.0", kV3Folder, true, true},
                                           VersionCase{"", kNoLibrary, false, false}));

namespace {

struct PassCase {
    const char* name;
    const char* version;
    LibraryPlace place;
    bool rewritesDwx;
    const char* removed; // the tiles format deleted: ".fdb", ".mdb" or ""
};

class CompatibilityPassTest : public ::testing::TestWithParam<PassCase> {};

} // namespace

TEST_P(CompatibilityPassTest, RewritesDrawingsAndKeepsOneTilesFormatByVersion) {
    const PassCase& c = GetParam();
    EngineRig rig;
    TDoDbInstallThings& engine = rig.Start();
    const fs::path program = rig.Path("program");
    PlaceLibrary(program, c.place, c.version);
    const Tree tiles = {{"Kafle.fdb", "fdb"},
                        {"Kafle.mdb", "mdb"},
                        {"a.dwx", Dwx().v204},
                        {"deep/er/b.dwx", Dwx().v204},
                        {"c.dwx", Dwx().v203},
                        {"UPPER.DWX", Dwx().v204},
                        {"broken.dwx", Dwx().v204.substr(0, Dwx().v204.size() - 7)},
                        {"plain.dwx", "not a drawing"}};
    WriteTree(program / "Plytki", tiles);
    // A drawing outside the database, reachable only through a link, is never touched.
    WriteTree(rig.Path("outside"), {{"o.dwx", Dwx().v204}});
    fs::create_directory_symlink(rig.Path("outside"), program / "Plytki/linked");
    fs::create_symlink(rig.Path("outside/o.dwx"), program / "Plytki/l.dwx");

    TDatabaseEmbedded entry;
    entry.type = dtTiles;
    entry.targetName = u"Kafle.fdb";
    entry.installedFolder = UnicodeString(program.string() + "/Plytki/");
    entry.archivePath = UnicodeString(rig.machine.ExtractionFolder() + "/Kafle.7z");
    engine.catalogue = {{dtTiles, {entry}}};
    engine.RunCompatibilityPass(UnicodeString(program.string() + "/"));

    const Tree after = ReadTree(program / "Plytki");
    const std::string& rewritten = c.rewritesDwx ? Dwx().v204as203 : Dwx().v204;
    EXPECT_EQ(after.at("a.dwx"), rewritten);
    EXPECT_EQ(after.at("deep/er/b.dwx"), rewritten);
    EXPECT_EQ(after.at("c.dwx"), Dwx().v203);
    EXPECT_EQ(after.at("UPPER.DWX"), Dwx().v204);
    EXPECT_EQ(after.at("broken.dwx"), tiles.at("broken.dwx"));
    EXPECT_EQ(after.at("plain.dwx"), "not a drawing");
    EXPECT_EQ(ReadBytes(rig.Path("outside/o.dwx")), Dwx().v204);
    EXPECT_TRUE(fs::is_symlink(program / "Plytki/l.dwx"));
    EXPECT_EQ(after.count("Kafle.fdb"), std::string(c.removed) == ".fdb" ? 0u : 1u);
    EXPECT_EQ(after.count("Kafle.mdb"), std::string(c.removed) == ".mdb" ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, CompatibilityPassTest,
    ::testing::Values(PassCase{"Old2059", "2.0.5.9", kProgramFolder, true, ".mdb"},
                      PassCase{"New2060", "2.0.6.0", kProgramFolder, false, ".mdb"},
                      PassCase{"Older1900", "1.9.0.0", kProgramFolder, true, ".fdb"},
                      PassCase{"V3At2040", "2.0.4.0", kV3Folder, true, ".mdb"},
                      PassCase{"NoVersionText", "", kProgramFolder, false, ".mdb"},
                      PassCase{"NoLibrary", "", kNoLibrary, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

// Watches a named pipe while a pass runs: a reader that opened it would block for ever, so the
// watcher lets it go (opening the write end and closing it gives the reader an end of file)
// and remembers that it had to.
class PipeWatcher {
public:
    explicit PipeWatcher(const fs::path& pipe) : pipe_(pipe), thread_([this] { Watch(); }) {}
    ~PipeWatcher() { Stop(); }
    // Whether anything opened the pipe for reading.
    bool Stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        return opened_;
    }

private:
    void Watch() {
        while (!stop_) {
            const int fd = ::open(pipe_.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                opened_ = true;
                ::close(fd);
            }
            ::usleep(2000);
        }
    }
    fs::path pipe_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> opened_{false};
    std::thread thread_;
};

} // namespace

TEST(CompatibilityPassFiles, OnlyRegularFilesAreOpenedAndStaleRewritesAreRemoved) {
    EngineRig rig;
    TDoDbInstallThings& engine = rig.Start();
    const fs::path program = rig.Path("program");
    PlaceLibrary(program, kProgramFolder, "2.0.5.9");
    const fs::path walls = program / "WALLS";
    // Temporary files of a rewrite killed before its rename, beside their drawing; names that
    // only look alike, or whose drawing is gone, are someone else's and stay.
    WriteTree(walls, {{"a.dwx", Dwx().v204},
                      {".a.dwx.tmp123456", "half a rewrite"},
                      {"sub/.b.dwx.tmp7", "half"},
                      {"sub/b.dwx", Dwx().v204},
                      {".gone.dwx.tmp42", "no drawing"},
                      {".a.dwx.tmpx1", "not ours"},
                      {"a.dwx.tmp1", "not ours"}});
    ASSERT_EQ(::mkfifo((walls / "pipe.dwx").c_str(), 0600), 0);
    TDatabaseEmbedded entry;
    entry.type = dtWalls;
    entry.installedFolder = UnicodeString(walls.string() + "/");
    engine.catalogue = {{dtWalls, {entry}}};

    PipeWatcher watcher(walls / "pipe.dwx");
    engine.RunCompatibilityPass(UnicodeString(program.string() + "/"));
    EXPECT_FALSE(watcher.Stop()) << "the pass opened a named pipe";
    EXPECT_EQ(ReadTree(walls), (Tree{{"a.dwx", Dwx().v204as203},
                                     {"sub/b.dwx", Dwx().v204as203},
                                     {".gone.dwx.tmp42", "no drawing"},
                                     {".a.dwx.tmpx1", "not ours"},
                                     {"a.dwx.tmp1", "not ours"}}));
    EXPECT_TRUE(fs::is_fifo(walls / "pipe.dwx"));
}

TEST(CompatibilityPassTiles, OneFormatAloneIsNeverDeleted) {
    EngineRig rig;
    TDoDbInstallThings& engine = rig.Start();
    const fs::path program = rig.Path("program");
    PlaceLibrary(program, kProgramFolder, "1.9.0.0");
    WriteTree(program / "Plytki", {{"Kafle.mdb", "mdb"}});
    TDatabaseEmbedded entry;
    entry.type = dtTiles;
    entry.installedFolder = UnicodeString(program.string() + "/Plytki/");
    entry.archivePath = u"/tmp/x/Kafle.7z";
    engine.RemoveMdbCopy(entry);
    engine.RemoveFdbCopy(entry);
    EXPECT_TRUE(fs::exists(program / "Plytki/Kafle.mdb"));
}

namespace {

class BrettholmTest : public ::testing::Test {
protected:
    EngineRig rig;
    fs::path base; // the folder holding the 2014 and 2015 folders
    TDatabaseEmbedded entry;

    void SetUp() override {
        rig.Start();
        const fs::path materials = rig.Path("program/DB_MATERIALS");
        entry.type = dtMaterials;
        entry.targetName = u"Brettholm";
        entry.installedFolder = UnicodeString(materials.string() + "/Brettholm/");
        base = materials / "Brettholm/Brettholm";
    }
};

const Tree kOlder = {{"x.pdf", "old x"},
                     {"sub/a.pdf", "old a"},
                     {"sub/only2014.pdf", "old only"},
                     {"keep.txt", "text"}};
const Tree kNewer = {{"sub/a.pdf", "new a"}, {"fresh/n.pdf", "new n"}, {"upper.PDF", "upper"}};

} // namespace

TEST_F(BrettholmTest, NewerSheetsReplaceTheOlderOnesWhateverTheTarget) {
    WriteTree(base / "Brettholm_2014", kOlder);
    WriteTree(base / "Brettholm_2015", kNewer);
    rig.Engine().catalogue = {{dtMaterials, {entry}}};
    rig.Engine().RunCompatibilityPass(UnicodeString(rig.Path("program/")));
    EXPECT_EQ(ReadTree(base / "Brettholm_2014"),
              (Tree{{"sub/a.pdf", "new a"}, {"fresh/n.pdf", "new n"}, {"keep.txt", "text"}}));
    EXPECT_EQ(ReadTree(base / "Brettholm_2015"), kNewer);
}

TEST_F(BrettholmTest, OlderSheetsStayWhenANewerOneCouldNotBeCopied) {
    WriteTree(base / "Brettholm_2014", kOlder);
    WriteTree(base / "Brettholm_2014", {{"fresh", "a file where the folder should be"}});
    WriteTree(base / "Brettholm_2015", kNewer);
    EXPECT_FALSE(rig.Engine().ReplaceOlderFolderPdfs(entry));
    const Tree after = ReadTree(base / "Brettholm_2014");
    EXPECT_EQ(after.at("sub/a.pdf"), "new a");
    EXPECT_EQ(after.at("x.pdf"), "old x");
    EXPECT_EQ(after.at("sub/only2014.pdf"), "old only");
    EXPECT_EQ(after.at("fresh"), "a file where the folder should be");
}

TEST_F(BrettholmTest, NothingHappensWithoutBothFoldersOrForOtherNames) {
    WriteTree(base / "Brettholm_2015", kNewer);
    EXPECT_TRUE(rig.Engine().ReplaceOlderFolderPdfs(entry));
    EXPECT_FALSE(fs::exists(base / "Brettholm_2014"));

    WriteTree(base / "Brettholm_2014", kOlder);
    TDatabaseEmbedded other = entry;
    other.targetName = u"brettholm";
    EXPECT_TRUE(rig.Engine().ReplaceOlderFolderPdfs(other));
    EXPECT_EQ(ReadTree(base / "Brettholm_2014"), kOlder);
}

TEST_F(BrettholmTest, DatabaseMaterialsFolderHoldsTheBrandOnce) {
    TDatabaseEmbedded dbMaterials = entry;
    dbMaterials.type = dtDbMaterials;
    dbMaterials.installedFolder = UnicodeString(rig.Path("program/DB_MATERIALS/"));
    const fs::path once = rig.Path("program/DB_MATERIALS/Brettholm");
    WriteTree(once / "Brettholm_2014", kOlder);
    WriteTree(once / "Brettholm_2015", kNewer);
    EXPECT_TRUE(rig.Engine().ReplaceOlderFolderPdfs(dbMaterials));
    EXPECT_EQ(ReadTree(once / "Brettholm_2014").at("sub/a.pdf"), "new a");
    EXPECT_EQ(ReadTree(once / "Brettholm_2014").count("x.pdf"), 0u);
}
