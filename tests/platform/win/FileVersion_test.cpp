#include "WinTestSupport.h"

#include "platform/win/FileVersion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>

namespace {

using wintest::Output;

namespace fs = std::filesystem;

std::string Hex(const std::string& bytes) {
    std::string hex;
    char digits[3];
    for (unsigned char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", c);
        hex += digits;
    }
    return hex;
}

// This reader's answer in the oracle's words.
std::string Describe(const std::string& path) {
    std::string name = fs::path(path).filename().string();
    std::optional<win::VersionInfo> info = win::ReadVersionInfo(path);
    if (!info)
        return name + " - - -";
    char fixed[32] = "-";
    if (info->fixed)
        std::snprintf(fixed, sizeof fixed, "%08x.%08x", info->fixed->fileVersionMS,
                      info->fixed->fileVersionLS);
    std::string table;
    for (const win::VersionTranslation& t : info->translations) {
        char pair[16];
        std::snprintf(pair, sizeof pair, "%04x:%04x", t.language, t.codePage);
        table += (table.empty() ? "" : ",") + std::string(pair);
    }
    std::optional<std::u16string> version = win::ReadFileVersionString(path);
    std::string text = !version ? "-" : version->empty() ? "empty" : Hex(Utf16ToUtf8(*version));
    return name + " " + fixed + " " + (table.empty() ? "-" : table) + " " + text;
}

class FileVersionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new wintest::ScratchFolder;
        std::string script = std::string(DBI_SOURCE_DIR) + "/tools/make_pe_fixtures.sh";
        ASSERT_EQ(std::system(("bash " + script + " " + folder_->Path().string()).c_str()), 0);
        ASSERT_EQ(std::system(
                      ("bash " + script + " --version 5.9.0.1 --bits 64 " + (*folder_ / "made.exe"))
                          .c_str()),
                  0);
    }
    static void TearDownTestSuite() { delete folder_; }
    static std::vector<std::string> Fixtures() {
        std::vector<std::string> files;
        for (auto& entry : fs::directory_iterator(folder_->Path()))
            files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        return files;
    }
    static wintest::ScratchFolder* folder_;
};

wintest::ScratchFolder* FileVersionTest::folder_ = nullptr;

TEST_F(FileVersionTest, AgreesWithTheIndependentReader) {
    std::vector<std::string> files = Fixtures();
    ASSERT_GE(files.size(), 13u);
    std::string command = "/usr/bin/python3 " + std::string(DBI_SOURCE_DIR) +
                          "/tests/platform/win/pe_version_oracle.py";
    for (const std::string& file : files)
        command += " " + file;
    std::istringstream oracle(Output(command));
    for (const std::string& file : files) {
        std::string expected;
        std::getline(oracle, expected);
        EXPECT_EQ(Describe(file), expected);
    }
}

TEST_F(FileVersionTest, ReadsWhatTheCallersAskFor) {
    const std::map<std::string, std::optional<std::u16string>> expected = {
        {"kafle.32.dll", u"6.0.2.17"},
        {"kafle.64.dll", u"6.0.2.17"},
        {"two_tables.32.dll", u"  2.0.4.5 "},
        {"commas.64.dll", u"2, 0, 4, 5"},
        {"untranslated.32.dll", std::nullopt},
        {"no_version.64.dll", std::nullopt},
        {"made.exe", u"5.9.0.1"},
    };
    for (const auto& [name, version] : expected) {
        SCOPED_TRACE(name);
        EXPECT_EQ(win::ReadFileVersionString(*folder_ / name), version);
    }
    auto info = win::ReadVersionInfo(*folder_ / "KAFLE.32.DLL"); // found whatever the case
    ASSERT_TRUE(info && info->fixed);
    EXPECT_EQ(info->fixed->fileVersionMS, 0x00060000u);
    EXPECT_EQ(info->fixed->fileType, 2u);
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\041504E2\\companyname"), u"Zentravo");
    EXPECT_GT(win::ReadFileVersionString(*folder_ / "long_text.64.dll")->size(), 254u);
}

TEST_F(FileVersionTest, DamagedFilesGiveNoVersionWithoutReadingOutside) {
    for (const char* name : {"kafle.32.dll", "two_tables.64.dll"}) {
        std::string bytes = wintest::ReadFile(*folder_ / name);
        auto parse = [](const std::string& b) {
            return win::ParsePeVersionInfo({reinterpret_cast<const uint8_t*>(b.data()), b.size()});
        };
        ASSERT_TRUE(parse(bytes));
        // Every cut of the file; a cut heap copy lets the sanitizer catch any overread.
        for (size_t length = 0; length < bytes.size(); length += 7)
            parse(bytes.substr(0, length));
        // Every single byte set to each of a few values.
        for (size_t at = 0; at < bytes.size(); ++at) {
            for (char value : {'\x00', '\xff'}) {
                std::string damaged = bytes;
                damaged[at] = value;
                parse(damaged);
            }
        }
    }
    wintest::ScratchFolder scratch;
    EXPECT_FALSE(win::ReadVersionInfo(scratch / "missing.dll"));
    EXPECT_FALSE(win::ReadVersionInfo(scratch.Path().string()));
    EXPECT_FALSE(win::ReadVersionInfo(scratch.Write("empty.dll", "")));
    EXPECT_FALSE(win::ReadVersionInfo(scratch.Write("text.dll", "MZ not really a program")));
    ASSERT_EQ(::mkfifo((scratch / "pipe.dll").c_str(), 0600), 0);
    EXPECT_FALSE(win::ReadVersionInfo(scratch / "pipe.dll"));
}

// The platform compares the block keys without case: a file whose linker wrote them in
// another case still has its version.
TEST_F(FileVersionTest, BlockKeysCompareWithoutCase) {
    std::string bytes = wintest::ReadFile(*folder_ / "kafle.32.dll");
    auto utf16 = [](const std::string& text) {
        std::string units;
        for (char c : text)
            units += std::string{c, '\0'};
        return units;
    };
    for (auto [from, to] :
         {std::pair{"StringFileInfo", "STRINGFILEINFO"}, std::pair{"VarFileInfo", "varfileinfo"},
          std::pair{"Translation", "tRANSLATION"}}) {
        size_t at = bytes.find(utf16(from));
        ASSERT_NE(at, std::string::npos) << from;
        bytes.replace(at, utf16(to).size(), utf16(to));
    }
    auto info =
        win::ParsePeVersionInfo({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    ASSERT_TRUE(info);
    ASSERT_EQ(info->translations.size(), 1u);
    EXPECT_EQ(info->translations[0].language, 0x415);
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\041504e2\\FileVersion"), u"6.0.2.17");
}

// The version is the resource of id 1, as the platform's query asks for it: not a named one
// listed before it, and none when only other ids exist.
TEST_F(FileVersionTest, TheVersionIsTheResourceOfIdOne) {
    auto build = [](const std::string& name, const std::string& rc) {
        std::string source = *folder_ / (name + ".rc.txt");
        std::string object = *folder_ / (name + ".o.tmp");
        std::string library = *folder_ / (name + ".built");
        {
            std::ofstream out(source);
            out << rc;
        }
        std::string command =
            "i686-w64-mingw32-windres --preprocessor=cpp -i '" + source + "' -O coff -o '" +
            object + "' && i686-w64-mingw32-ld --dll -e 0 -o '" + library + "' '" + object + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::remove(source.c_str());
        std::remove(object.c_str());
        return library;
    };
    auto block = [](const char* id, const char* version) {
        return std::string(id) +
               " VERSIONINFO\nFILEVERSION 1,0,0,0\nBEGIN\n BLOCK \"StringFileInfo\"\n BEGIN\n"
               "  BLOCK \"040904b0\"\n  BEGIN\n   VALUE \"FileVersion\", \"" +
               version +
               "\"\n  END\n END\n BLOCK \"VarFileInfo\"\n BEGIN\n  VALUE \"Translation\", "
               "0x409, 1200\n END\nEND\n";
    };
    std::string named = build("named_first", block("ZWERSJA", "7.7.7.7") + block("1", "1.2.3.4"));
    std::string other = build("other_id", block("2", "2.2.2.2"));
    EXPECT_EQ(win::ReadFileVersionString(named), u"1.2.3.4");
    EXPECT_EQ(win::ReadFileVersionString(other), std::nullopt);
    std::remove(named.c_str());
    std::remove(other.c_str());
}

} // namespace
