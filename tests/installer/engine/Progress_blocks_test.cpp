// The two shared-memory progress blocks, written by the engine and read back by an independent
// reader in another process (tools/read_progress_blocks.py).
#include "EngineTestSupport.h"

#include "installer/engine/MMFile.h"

#include <cstdint>
#include <cstdio>

using namespace enginetest;

namespace {

struct Published {
    int percent = -1;
    std::string text;
    std::string total;
    std::string done;
};

Published ReadHere() {
    return {UpdateProgressBlock().ReadByte(0), UpdateProgressBlock().ReadText(1, 1024),
            DbInstallBlock().ReadText(0, 256), DbInstallBlock().ReadText(256, 256)};
}

// Runs the reader in a process of its own and answers its one line of output.
std::string ReadInAnotherProcess() {
    const std::string command = "/usr/bin/python3 '" +
                                (SourceDir() / "tools/read_progress_blocks.py").string() +
                                "' --update '" + UpdateProgressBlock().Name() + "' --install '" +
                                DbInstallBlock().Name() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return "cannot start the reader";
    std::string output;
    char buffer[4096];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, got);
    const int status = ::pclose(pipe);
    if (status != 0)
        return "reader failed";
    if (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

struct ProgressCase {
    const char* name;
    int64_t total, done, delta;
    bool commit;
    int percent;
    const char* doneAfter;
};

const ProgressCase kCases[] = {
    {"nothing to do: divisor 1", 0, 0, 0, false, 0, "0"},
    {"transient delta", 1000, 400, 565, false, 96, "400"},
    {"committed delta", 1000, 400, 565, true, 96, "965"},
    {"past the total clamps to 100", 1000, 900, 1660, false, 100, "900"},
    {"negative share clamps to 0", 1000, 0, -300, false, 0, "0"},
    {"counts above 32 bits", 5000000000LL, 2500000000LL, 0, true, 50, "2500000000"},
    {"a done count at the limit saturates", 1000, INT64_MAX - 5, 100, true, 100,
     "9223372036854775807"},
    {"and so does one at the other end", 1000, INT64_MIN + 5, -100, true, 0,
     "-9223372036854775808"},
};

} // namespace

TEST(ProgressBlocks, PercentAndDoneCount) {
    EngineMachine machine;
    MyFileOp ops;
    for (const ProgressCase& c : kCases) {
        ops.WriteInstallTotals(c.total, c.done, u"start");
        ops.WriteUpdateProgress(c.delta, UnicodeString(), c.commit);
        const Published p = ReadHere();
        EXPECT_EQ(p.percent, c.percent) << c.name;
        EXPECT_EQ(p.total, std::to_string(c.total)) << c.name;
        EXPECT_EQ(p.done, c.doneAfter) << c.name;
        EXPECT_EQ(p.text, "start") << c.name;
    }
}

TEST(ProgressBlocks, StatusTextReplacedWholeKeptOrCleared) {
    EngineMachine machine;
    MyFileOp ops;
    ops.WriteInstallTotals(100, 0, u"Kopiowanie archiwum bazy: Płytki");
    ops.WriteUpdateProgress(0, u"Krótki", false);
    EXPECT_EQ(ReadHere().text, "Krótki");
    // Nothing of the longer text may survive behind the shorter one.
    const uint8_t* field = UpdateProgressBlock().data + 1;
    for (int i = static_cast<int>(std::string("Krótki").size()); i < 1024; ++i)
        ASSERT_EQ(field[i], 0) << i;
    ops.WriteUpdateProgress(10, UnicodeString(), false);
    EXPECT_EQ(ReadHere().text, "Krótki");
    ops.WriteInstallTotals(100, 0, UnicodeString());
    EXPECT_EQ(ReadHere().text, "");

    // A status longer than the field keeps 1023 bytes and never half a character.
    std::string polish;
    for (int i = 0; i < 600; ++i)
        polish += "ł";
    ops.WriteUpdateProgress(0, UnicodeString(polish), false);
    const std::string kept = ReadHere().text;
    EXPECT_EQ(kept.size(), 1022u);
    EXPECT_EQ(UnicodeString(kept).ToUtf8(), kept);
}

TEST(ProgressBlocks, DoneFieldThatIsNotANumberCountsAsZero) {
    EngineMachine machine;
    MyFileOp ops;
    ops.WriteInstallTotals(200, 0, UnicodeString());
    DbInstallBlock().WriteText(256, 256, "12abc");
    ops.WriteUpdateProgress(50, UnicodeString(), true);
    EXPECT_EQ(ReadHere().done, "50");
    EXPECT_EQ(ReadHere().percent, 25);
}

TEST(ProgressBlocks, AnotherProcessFollowsTheSteps) {
    EngineMachine machine;
    MyFileOp ops;
    ops.WriteInstallTotals(2500, 0, u"Kopiowanie archiwum bazy: Płytki");
    EXPECT_EQ(ReadInAnotherProcess(),
              "percent=0 total=2500 done=0 status=Kopiowanie archiwum bazy: Płytki");
    ops.WriteUpdateProgress(500, UnicodeString(), false);
    EXPECT_EQ(ReadInAnotherProcess(),
              "percent=20 total=2500 done=0 status=Kopiowanie archiwum bazy: Płytki");
    ops.WriteUpdateProgress(1000, UnicodeString(), true);
    ops.WriteInstallTotals(1000, 400, UnicodeString());
    ops.WriteUpdateProgress(0, u"Instalacja bazy Płytki", false);
    ops.WriteUpdateProgress(600, UnicodeString(), true);
    EXPECT_EQ(ReadInAnotherProcess(),
              "percent=100 total=1000 done=1000 status=Instalacja bazy Płytki");
}

TEST(ProgressBlocks, ABlockLeftByAnEarlierUserIsKept) {
    const std::string name = "dbi-engine-test-" + std::to_string(::getpid()) + "-kept";
    {
        MMFile first(name, 1024);
        ASSERT_TRUE(first.IsUsable()) << first.Error();
        first.WriteText(0, 256, "77");
    }
    MMFile second(name, 1024);
    EXPECT_EQ(second.ReadText(0, 256), "77");
    // A block of a smaller size than asked for is not used.
    MMFile larger(name, 4096);
    EXPECT_FALSE(larger.IsUsable());
    larger.WriteText(0, 256, "ignored");
    EXPECT_EQ(larger.ReadText(0, 256), "");
    win::SharedMemoryBlock::Unlink(name);
}
