#include "WinTestSupport.h"

#include "platform/win/ResourceBundle.h"
#include "platform/win/Resources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::string Text(std::span<const uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A file of `prefix` followed by a bundle of these resources.
std::string Packed(const std::string& prefix, const std::vector<win::ResourceSource>& resources) {
    std::ostringstream out;
    out << prefix;
    std::string error;
    EXPECT_TRUE(win::WriteResourceBundle(out, resources, prefix.size(), error)) << error;
    return out.str();
}

class ResourcesTest : public ::testing::Test {
protected:
    wintest::ScratchFolder folder;
    void TearDown() override { win::SetResourceFile(""); }
};

TEST_F(ResourcesTest, BundleRoundTripKeepsDataAligned) {
    std::string file =
        Packed("ELF-ish program", {{"DB01INI", "RCDATA", Bytes("[info]\n"), ""},
                                   {"Empty", "RCDATA", {}, ""},
                                   {"LICPL", "RTF", Bytes(std::string(1000, '\0')), ""}});
    std::string error;
    auto entries = win::ParseResourceBundle(
        {reinterpret_cast<const uint8_t*>(file.data()), file.size()}, error);
    ASSERT_TRUE(entries) << error;
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].name, "DB01INI");
    EXPECT_EQ(file.substr((*entries)[0].offset, (*entries)[0].size), "[info]\n");
    EXPECT_EQ((*entries)[1].size, 0u);
    EXPECT_EQ((*entries)[2].type, "RTF");
    for (const auto& entry : *entries)
        EXPECT_EQ(entry.offset % 16, 0u);
    EXPECT_EQ(file.substr(0, 15), "ELF-ish program");
}

TEST_F(ResourcesTest, MalformedBundlesGiveAnErrorNotACrash) {
    std::string good = Packed("prog", {{"A", "RCDATA", Bytes("abc"), ""}});
    auto patched = [&](size_t fromEnd, uint64_t value) {
        std::string bytes = good;
        for (int i = 0; i < 8; ++i)
            bytes[bytes.size() - fromEnd + i] = static_cast<char>(value >> (8 * i));
        return bytes;
    };
    std::string directoryAt = good.substr(0, good.size() - 32);
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"no bundle", "just a program"},
        {"empty", ""},
        {"truncated front", good.substr(10)},
        {"bundle larger than file", patched(24, 1u << 30)},
        {"directory past the end", patched(16, 1u << 20)},
        {"directory too long", patched(8, 1u << 20)},
        {"directory too short", patched(8, 2)},
        {"count too large",
         [&] {
             std::string bytes = good;
             size_t dir = 4 + 12 + 3; // program, padding, data
             bytes[dir + 3] = '\x7f';
             return bytes;
         }()},
        {"data outside",
         [&] {
             std::string bytes = good;
             size_t entry = 4 + 12 + 3 + 4;
             bytes[entry + 4 + 7] = '\x10';
             return bytes;
         }()},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        std::string error;
        EXPECT_FALSE(win::ParseResourceBundle(
            {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(ResourcesTest, LookupIsCaseInsensitiveAndZeroCopy) {
    std::string path =
        folder.Write("bundle.bin", Packed("", {{"DB01INI", "RCDATA", Bytes("one"), ""},
                                               {"DB01INI", "TEXT", Bytes("text"), ""}}));
    win::SetResourceFile(path);
    auto first = win::FindResource("db01ini", "rcdata");
    ASSERT_TRUE(first);
    EXPECT_EQ(Text(*first), "one");
    EXPECT_EQ(Text(*win::FindResource("Db01Ini", "text")), "text");
    EXPECT_EQ(win::FindResource("DB01INI")->data(), first->data()); // the same mapped bytes
    EXPECT_FALSE(win::FindResource("DB02INI"));
    EXPECT_EQ(win::ListResources().size(), 2u);
    EXPECT_EQ(win::ResourceError(), "");

    // Repacking the file (a new file renamed over it) gives the new content; bytes handed out
    // before stay readable.
    std::string replaced =
        folder.Write("new.bin", Packed("", {{"DB01INI", "RCDATA", Bytes("two"), ""}}));
    fs::rename(replaced, path);
    EXPECT_EQ(Text(*win::FindResource("DB01INI")), "two");
    EXPECT_EQ(Text(*first), "one");

    win::SetResourceFile(folder.Write("plain.bin", "no resources here"));
    EXPECT_FALSE(win::FindResource("DB01INI"));
    EXPECT_NE(win::ResourceError().find("no resource bundle"), std::string::npos);
}

TEST_F(ResourcesTest, FileNamedByTheEnvironment) {
    std::string path = folder.Write("env.bin", Packed("", {{"LIB7Z", "RCDATA", Bytes("7z"), ""}}));
    wintest::ScopedEnv env{"DBI_RESOURCE_FILE", path};
    EXPECT_EQ(Text(*win::FindResource("lib7z")), "7z");
}

std::string Respack() {
    return std::string(DBI_BINARY_DIR) + "/tools/respack";
}

int RunCommand(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ResourcesTest, PackerAttachesReplacesAndStrips) {
    if (!fs::exists(Respack()))
        GTEST_SKIP() << "build the respack tool first";
    std::string program = folder / "prog";
    fs::copy_file("/bin/true", program);
    const std::string original = wintest::ReadFile(program);
    folder.Write("data/DB01.ini", "[info]");
    folder.Write("data/with blank.7z", std::string(70000, 'z'));
    std::string manifest = folder.Write("data/manifest.txt", "# carried databases\n"
                                                             "DB01INI RCDATA DB01.ini\r\n"
                                                             "\n"
                                                             "DB01FULL RCDATA with blank.7z\n");
    ASSERT_EQ(RunCommand(Respack() + " " + program + " " + manifest), 0);
    EXPECT_EQ(RunCommand(program + " >/dev/null"), 0); // still runs
    win::SetResourceFile(program);
    EXPECT_EQ(Text(*win::FindResource("DB01INI")), "[info]");
    EXPECT_EQ(win::FindResource("DB01FULL")->size(), 70000u);

    std::string second = folder.Write("data/second.txt", "DB01INI RCDATA DB01.ini\n");
    ASSERT_EQ(RunCommand(Respack() + " " + program + " " + second), 0);
    EXPECT_EQ(win::ListResources().size(), 1u);
    EXPECT_EQ(RunCommand(Respack() + " --list " + program + " > " + (folder / "list.txt")), 0);
    EXPECT_EQ(wintest::ReadFile(folder / "list.txt"), "DB01INI RCDATA 6\n");

    ASSERT_EQ(RunCommand(Respack() + " --strip " + program), 0);
    EXPECT_EQ(wintest::ReadFile(program), original);
    EXPECT_TRUE((fs::status(program).permissions() & fs::perms::owner_exec) != fs::perms::none);

    for (const char* manifestText : {"DB01INI RCDATA missing.bin\n", "DB01INI RCDATA\n",
                                     "DB01INI RCDATA DB01.ini\ndb01ini rcdata DB01.ini\n"}) {
        SCOPED_TRACE(manifestText);
        std::string broken = folder.Write("data/broken.txt", manifestText);
        EXPECT_NE(RunCommand(Respack() + " " + program + " " + broken + " 2>/dev/null"), 0);
        EXPECT_EQ(wintest::ReadFile(program), original);
    }
}

// The running program finds resources packed onto itself: a copy of this test program is
// packed and runs the check below in a child process.
TEST_F(ResourcesTest, RunningProgramFindsItsOwnResources) {
    if (std::getenv("DBI_TEST_OWN_RESOURCES") != nullptr) {
        auto own = win::FindResource("OwnCheck");
        ASSERT_TRUE(own) << win::ResourceError();
        EXPECT_EQ(Text(*own), "packed onto me");
        return;
    }
    if (!fs::exists(Respack()))
        GTEST_SKIP() << "build the respack tool first";
    std::string copy = folder / "test-copy";
    fs::copy_file("/proc/self/exe", copy);
    folder.Write("own.txt", "packed onto me");
    std::string manifest = folder.Write("own.manifest", "OwnCheck RCDATA own.txt\n");
    ASSERT_EQ(RunCommand(Respack() + " " + copy + " " + manifest), 0);
    EXPECT_EQ(
        RunCommand("env -u DBI_RESOURCE_FILE DBI_TEST_OWN_RESOURCES=1 " + copy +
                   " --gtest_filter=ResourcesTest.RunningProgramFindsItsOwnResources >/dev/null"),
        0);
}

} // namespace
