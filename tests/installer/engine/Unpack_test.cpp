// Unpacking one archive into a folder over what is there, with progress, compared with what the
// 7z command unpacks from the same archive.
#include "InstallTestSupport.h"

#include <sys/stat.h>

using namespace installtest;

namespace {

const Tree kNewFiles = {{"a.txt", std::string(70000, 'a')},
                        {"sub/b.txt", "bee"},
                        {"sub/deeper/c.dat", std::string(300000, 'c')},
                        {"empty.txt", ""}};
const Tree kOldFiles = {{"a.txt", "old a"}, {"sub/b.txt", "old b"}, {"keep.txt", "mine"}};

class UnpackTest : public ::testing::Test {
protected:
    EngineRig rig;
    fs::path target;
    MyFileOp* ops = nullptr;

    void SetUp() override {
        rig.Start();
        ops = &rig.Engine().FileOps();
        target = rig.Path("target");
        WriteTree(target, kOldFiles);
    }
    UnicodeString Archive(const std::string& bytes) {
        return UnicodeString(rig.machine.Scratch().Write("archive.7z", bytes));
    }
};

} // namespace

TEST_F(UnpackTest, ReplacesTheTargetsFilesWithTheArchivesAndKeepsTheOthers) {
    const std::string archive = Pack7z(kNewFiles);
    Unpack7z(archive, rig.Path("reference"));
    WriteTree(rig.Path("reference"), {{"keep.txt", "mine"}});
    RecordingBar mainBar, subBar;
    mainBar.SetMax(1e9f);
    mainBar.SetValue(1000);
    ASSERT_TRUE(
        ops->Extract7z(Archive(archive), UnicodeString(target.string()), &mainBar, &subBar));
    EXPECT_EQ(DiffTrees(rig.Path("reference"), target), "");
    EXPECT_TRUE(NoPartialFiles(target));
    // The sub bar runs over 0..1 and the main bar by the unpacked bytes from where it stood.
    EXPECT_EQ(subBar.Max(), 1.0f);
    ASSERT_FALSE(subBar.values.empty());
    EXPECT_LE(subBar.values.back(), 1.0f);
    for (float value : mainBar.values) {
        EXPECT_GE(value, 1000.0f);
        EXPECT_LE(value, 1000.0f + static_cast<float>(TreeSize(kNewFiles)));
    }
    // The unpacking state is cleared afterwards.
    EXPECT_EQ(ops->subBar, nullptr);
    EXPECT_EQ(ops->mainBar, nullptr);
    EXPECT_EQ(ops->totalBytes, 0);
    EXPECT_EQ(ops->itemCount, 0);
}

TEST_F(UnpackTest, ReadOnlyTargetFileKeepsItsContentAndTheRestIsUnpacked) {
    const std::string archive = Pack7z(kNewFiles);
    ::chmod((target / "a.txt").c_str(), 0444);
    ASSERT_TRUE(ops->Extract7z(Archive(archive), UnicodeString(target.string()), nullptr, nullptr));
    const Tree tree = ReadTree(target);
    EXPECT_EQ(tree.at("a.txt"), "old a");
    EXPECT_EQ(tree.at("sub/b.txt"), "bee");
    EXPECT_EQ(tree.at("sub/deeper/c.dat"), kNewFiles.at("sub/deeper/c.dat"));
}

TEST_F(UnpackTest, ReadOnlyTargetIsFoundWhateverTheCaseOfItsName) {
    const std::string archive = Pack7z(kNewFiles);
    fs::rename(target / "a.txt", target / "A.TXT");
    ::chmod((target / "A.TXT").c_str(), 0444);
    ASSERT_TRUE(ops->Extract7z(Archive(archive), UnicodeString(target.string()), nullptr, nullptr));
    const Tree tree = ReadTree(target);
    EXPECT_EQ(tree.at("A.TXT"), "old a");
    EXPECT_EQ(tree.count("a.txt"), 0u);
    EXPECT_EQ(tree.at("sub/b.txt"), "bee");
}

// Every way an unpacking can fail answers false and leaves each file as it was or whole.
struct FailureCase {
    const char* name;
    std::function<std::string()> archive; // bytes of the archive file, when there is one
    bool fileExists;
    bool logsMissing;
};

class UnpackFailureTest : public UnpackTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(UnpackFailureTest, AnswersFalseAndLeavesNoHalfFile) {
    const FailureCase& c = GetParam();
    const UnicodeString path =
        c.fileExists ? Archive(c.archive()) : UnicodeString(rig.Path("missing.7z"));
    RecordingBar mainBar, subBar;
    EXPECT_FALSE(ops->Extract7z(path, UnicodeString(target.string()), &mainBar, &subBar));
    for (const auto& [name, content] : ReadTree(target)) {
        const bool old = kOldFiles.count(name) && kOldFiles.at(name) == content;
        const bool whole = kNewFiles.count(name) && kNewFiles.at(name) == content;
        EXPECT_TRUE(old || whole) << name;
    }
    EXPECT_EQ(ReadTree(target).at("keep.txt"), "mine");
    EXPECT_TRUE(NoPartialFiles(target));
    const std::vector<std::string> log = rig.StartupLog();
    const bool logged = !log.empty() && log.back() == "Archiwum nie istnieje: " + path.ToUtf8();
    EXPECT_EQ(logged, c.logsMissing);
    if (!c.fileExists) {
        EXPECT_TRUE(mainBar.values.empty() && subBar.values.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnpackFailureTest,
    ::testing::Values(
        FailureCase{"MissingFile", nullptr, false, true},
        FailureCase{"NotAnArchive", [] { return std::string(5000, 'x'); }, true, false},
        FailureCase{"DamagedData", [] { return Damaged(Pack7z(kNewFiles, false)); }, true, false},
        FailureCase{"DamagedEncryptedData", [] { return Damaged(Pack7z(kNewFiles)); }, true, false},
        FailureCase{"WrongPasswordWithEncryptedNames",
                    [] {
                        const ScratchFolder folder;
                        WriteTree(folder.Path(), kNewFiles);
                        const std::string archive = folder / "w.7z";
                        Shell("cd " + Quote(folder.Str()) + " && 7z a -bd -pother -mhe=on " +
                              Quote(archive) + " a.txt sub >/dev/null 2>&1");
                        return ReadBytes(archive);
                    },
                    true, false},
        FailureCase{"WrongPassword",
                    [] {
                        const ScratchFolder folder;
                        WriteTree(folder.Path(), kNewFiles);
                        const std::string archive = folder / "w.7z";
                        Shell("cd " + Quote(folder.Str()) + " && 7z a -bd -pother " +
                              Quote(archive) + " a.txt sub >/dev/null 2>&1");
                        return ReadBytes(archive);
                    },
                    true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnpackTest, FractionWeighsItemsAndBytesOntoBarsAndBlock) {
    RecordingBar mainBar, subBar;
    subBar.SetMax(1);
    mainBar.SetMax(1e9f);
    ops->WriteInstallTotals(2000000, 400000, UnicodeString());
    ops->subBar = &subBar;
    ops->mainBar = &mainBar;
    ops->itemCount = 10;
    ops->currentItem = 5;
    ops->totalBytes = 1000000;
    ops->bytesDone = 500000;
    ops->mainStart = 7;
    ops->UpdateExtractProgress();
    EXPECT_FLOAT_EQ(subBar.Value(), 0.5f);
    EXPECT_FLOAT_EQ(mainBar.Value(), 500007.0f);
    EXPECT_EQ(BlockPercent(), 45); // (400000 + 500000) / 2000000
    EXPECT_EQ(BlockDone(), 400000);

    // Without a sub bar neither bar moves; the block still does.
    ops->subBar = nullptr;
    ops->bytesDone = 1000000;
    ops->UpdateExtractProgress();
    EXPECT_FLOAT_EQ(mainBar.Value(), 500007.0f);
    EXPECT_EQ(BlockPercent(), 53);
    ops->mainBar = nullptr;
}

TEST_F(UnpackTest, ItemEventsPublishOnEverySeventhAndByteEventsOnEveryThird) {
    RecordingBar subBar;
    subBar.SetMax(1);
    ops->subBar = &subBar;
    ops->itemCount = 10;
    ops->totalBytes = 1000;
    for (int index = 0; index < 10; ++index) {
        UnicodeString name(rig.Path("none/" + std::to_string(index)));
        TStream* stream = nullptr;
        bool owns = false;
        EXPECT_TRUE(ops->OnExtractItem(nullptr, index, name, stream, owns));
    }
    ASSERT_EQ(subBar.values.size(), 1u);
    EXPECT_FLOAT_EQ(subBar.values[0], 0.65f * 0.6f);
    for (int report = 1; report <= 7; ++report)
        ops->OnExtractProgress(nullptr, report * 100, 1000);
    // Reports 3 and 6 publish.
    ASSERT_EQ(subBar.values.size(), 3u);
    EXPECT_FLOAT_EQ(subBar.values[2], 0.65f * 0.9f + 0.35f * 0.6f);
    ops->subBar = nullptr;
}

TEST_F(UnpackTest, ArchiveOfEmptyFilesCountsItsBytesAsDone) {
    const std::string archive = Pack7z(Tree{{"e1", ""}, {"e2", ""}});
    RecordingBar mainBar, subBar;
    ASSERT_TRUE(
        ops->Extract7z(Archive(archive), UnicodeString(target.string()), &mainBar, &subBar));
    EXPECT_EQ(ReadTree(target).at("e1"), "");
    ops->subBar = &subBar;
    ops->itemCount = 2;
    ops->currentItem = 0;
    ops->totalBytes = 0;
    ops->UpdateExtractProgress();
    EXPECT_FLOAT_EQ(subBar.Value(), 0.35f);
    ops->subBar = nullptr;
}
