// The installer's own resources written into files, with the progress bars and blocks moving.
#include "EngineTestSupport.h"

#include "installer/engine/MMFile.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace enginetest;

namespace {

constexpr int kBlock = 32768;

class ResourceFileTest : public ::testing::Test {
protected:
    EngineMachine machine;
    ScopedBundle bundle;
    std::unique_ptr<MyFileOp> ops;

    void Start() {
        bundle.Install();
        ops = std::make_unique<MyFileOp>();
    }
    UnicodeString U(const std::string& relative) const {
        return UnicodeString(machine.Path(relative));
    }
};

} // namespace

TEST_F(ResourceFileTest, SizesOfPresentEmptyAndMissingResources) {
    bundle.Add("SOME", Bytes("12345")).Add("EMPTY", {});
    Start();
    EXPECT_EQ(ops->GetResourceSize(nullptr, u"SOME"), 5);
    EXPECT_EQ(ops->GetResourceSize(nullptr, u"some"), 5);
    EXPECT_EQ(ops->GetResourceSize(nullptr, u"EMPTY"), 0);
    EXPECT_EQ(ops->GetResourceSize(nullptr, u"NONE"), -2);
    EXPECT_TRUE(ops->ResourceExists(nullptr, u"SOME"));
    EXPECT_FALSE(ops->ResourceExists(nullptr, u"EMPTY"));
    EXPECT_FALSE(ops->SaveResourceToFile(nullptr, u"NONE", U("none.bin"), nullptr, nullptr));
    EXPECT_FALSE(ops->SaveResourceToFile(nullptr, u"EMPTY", U("empty.bin"), nullptr, nullptr));
    EXPECT_FALSE(fs::exists(machine.Path("none.bin")));
    EXPECT_FALSE(fs::exists(machine.Path("empty.bin")));
}

TEST_F(ResourceFileTest, EveryBlockButTheSixtiethMovesTheBars) {
    std::string data(kBlock * 61, 'r');
    data[12345] = 'q';
    bundle.Add("BIG", Bytes(data));
    Start();
    ops->WriteInstallTotals(kBlock * 100, 0, UnicodeString());
    RecordingBar mainBar, subBar;
    mainBar.SetMax(1e9f);
    mainBar.SetValue(1000);
    mainBar.values.clear();
    ASSERT_TRUE(
        ops->SaveResourceToFile(nullptr, u"BIG", U("new/folder/big.bin"), &mainBar, &subBar));
    EXPECT_EQ(ReadBytes(machine.Path("new/folder/big.bin")), data);

    std::vector<float> expected;
    for (int block = 1; block <= 61; ++block)
        if (block != 60)
            expected.push_back(static_cast<float>(block * kBlock));
    EXPECT_EQ(subBar.values, expected);
    EXPECT_EQ(subBar.Max(), static_cast<float>(data.size()));
    ASSERT_FALSE(mainBar.values.empty());
    EXPECT_EQ(mainBar.values.back(), 1000.0f + static_cast<float>(data.size()));
    // The end commits the file's bytes to the done count.
    EXPECT_EQ(DbInstallBlock().ReadText(256, 256), std::to_string(data.size()));
    EXPECT_EQ(UpdateProgressBlock().ReadByte(0), 61);
}

TEST_F(ResourceFileTest, WithOneBarNeitherMovesButTheBlocksDo) {
    bundle.Add("SMALL", Bytes(std::string(70000, 's')));
    Start();
    ops->WriteInstallTotals(140000, 0, UnicodeString());
    RecordingBar mainBar;
    ASSERT_TRUE(ops->SaveResourceToFile(nullptr, u"SMALL", U("s.bin"), &mainBar, nullptr));
    EXPECT_TRUE(mainBar.values.empty());
    EXPECT_EQ(UpdateProgressBlock().ReadByte(0), 50);
    EXPECT_EQ(DbInstallBlock().ReadText(256, 256), "70000");
}

TEST_F(ResourceFileTest, ReplacesAReadOnlyFileAndLeavesNothingHalfWritten) {
    bundle.Add("LIB", Bytes(std::string(100000, 'l')));
    Start();
    const std::string old = machine.Scratch().Write("lib/old.dll", "old library");
    ::chmod(old.c_str(), 0444);
    ASSERT_TRUE(ops->SaveResourceToFile(nullptr, u"LIB", U("lib/old.dll"), nullptr, nullptr));
    EXPECT_EQ(fs::file_size(old), 100000u);

    machine.Scratch().Write("lib/kept.dll", "kept");
    auto save = [&] {
        return ops->SaveResourceToFile(nullptr, u"LIB", U("lib/kept.dll"), nullptr, nullptr);
    };
    EXPECT_EXIT(WithFileSizeLimit(40000, save), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadBytes(machine.Path("lib/kept.dll")), "kept");
    EXPECT_TRUE(NoPartialFiles(machine.Path("lib")));
}

TEST_F(ResourceFileTest, OutsideToolExtractsAResourceOfAnotherProgram) {
    Start();
    // A stand-in for the resource tool: it writes the script naming the file it extracted.
    const std::string tool = machine.Scratch().Write(
        "rt/restool", "#!/bin/sh\n"
                      "here=$(dirname \"$0\")\n"
                      "case \"$4\" in *RCData,LIB7Z,0*) ;; *) exit 1 ;; esac\n"
                      "printf 'out.bin' > \"$here/out.bin\"\n"
                      "printf 'LIB7Z RCDATA \"out.bin\"\\r\\n' > \"$here/resource_temp.rc\"\n");
    fs::permissions(tool, fs::perms::owner_all);
    const std::string program = machine.Scratch().Write("other.exe", "MZ");
    EXPECT_TRUE(ops->ExtractResourceWithTool(UnicodeString(tool), UnicodeString(program),
                                             U("placed.bin"), u"LIB7Z"));
    EXPECT_EQ(ReadBytes(machine.Path("placed.bin")), "out.bin");
    EXPECT_FALSE(fs::exists(machine.Path("rt/resource_temp.rc")));
    EXPECT_FALSE(ops->ExtractResourceWithTool(UnicodeString(tool), UnicodeString(program),
                                              U("other.bin"), u"LIBB1"));
    EXPECT_FALSE(ops->ExtractResourceWithTool(UnicodeString(machine.Path("none")),
                                              UnicodeString(program), U("x.bin"), u"LIB7Z"));
}
