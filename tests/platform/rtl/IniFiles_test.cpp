#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/TextEncoding.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace std::string_literals;

// The carried database INI, as the resource holds it (UTF-16LE with a mark), plus the oddities
// a hand-edited file has.
const char16_t* const kDatabaseIni = u"; comment line\r\n"
                                     u"[info]\r\n"
                                     u"BAZA = Płytki Ceramiczne \r\n"
                                     u"DATA=2021-09-10\r\n"
                                     u"QUOTED=\"  spaced  \"\r\n"
                                     u"SINGLE='x'\r\n"
                                     u"HALF=\"open\r\n"
                                     u"EMPTY=\r\n"
                                     u"garbage line without equals\r\n"
                                     u"=no key\r\n"
                                     u"data=second occurrence\r\n"
                                     u"[ INSTALL ]\r\n"
                                     u"TYPE=TILES\r\n"
                                     u"TARGETSIZE=123456789012\r\n"
                                     u"FORMATFDB=1\r\n"
                                     u"HEXFLAG=0x10\r\n"
                                     u"DOLLAR=$1F\r\n"
                                     u"NOTNUM=yes\r\n"
                                     u"FLOAT=2.5\r\n"
                                     u"[broken\r\n"
                                     u"[empty]\r\n"
                                     u"[Info]\r\n"
                                     u"LATE=from a repeated section\r\n";

class IniFiles : public ::testing::Test {
protected:
    UnicodeString Write(const char* name, const std::string& bytes) {
        std::ofstream(folder_.Path() / name, std::ios::binary) << bytes;
        return Path(name);
    }
    UnicodeString Path(const char* name) { return UnicodeString((folder_.Path() / name).string()); }
    std::string Read(const UnicodeString& name) { return testsupport::ReadFile(name.ToUtf8()); }

    using Factory = std::function<std::unique_ptr<TCustomIniFile>(const UnicodeString&)>;
    const std::vector<std::pair<const char*, Factory>> kinds_ = {
        {"TIniFile", [](const UnicodeString& f) { return std::make_unique<TIniFile>(f); }},
        {"TMemIniFile", [](const UnicodeString& f) { return std::make_unique<TMemIniFile>(f); }},
    };
    testsupport::ScratchFolder folder_;
};

TEST_F(IniFiles, ReadsLikeTheProfileFunctions) {
    const std::pair<const char*, TTextEncoding> encodings[] = {
        {"utf16le.ini", TTextEncoding::Utf16LE},
        {"utf8.ini", TTextEncoding::Utf8},
        {"cp1250.ini", TTextEncoding::Windows1250},
    };
    struct Case {
        const char16_t* section;
        const char16_t* key;
        const char16_t* expected; // nullptr: absent, the default comes back
    };
    const Case cases[] = {
        {u"info", u"BAZA", u"Płytki Ceramiczne"},
        {u"INFO", u"baza", u"Płytki Ceramiczne"},
        {u"info", u"DATA", u"2021-09-10"}, // first occurrence wins
        {u"info", u"QUOTED", u"  spaced  "},
        {u"info", u"SINGLE", u"x"},
        {u"info", u"HALF", u"\"open"},
        {u"info", u"EMPTY", u""},
        {u"info", u"LATE", u"from a repeated section"},
        {u"info", u"garbage line without equals", nullptr},
        {u"install", u"TYPE", u"TILES"},
        {u"install", u"missing", nullptr},
        {u"nosuch", u"TYPE", nullptr},
        {u"broken", u"x", nullptr},
    };
    for (const auto& [fileName, encoding] : encodings) {
        UnicodeString file = Write(fileName, EncodeText(kDatabaseIni, encoding));
        for (const auto& [kind, make] : kinds_) {
            SCOPED_TRACE(std::string(fileName) + " " + kind);
            std::unique_ptr<TCustomIniFile> ini = make(file);
            for (const Case& c : cases) {
                SCOPED_TRACE(UnicodeString(c.key).ToUtf8());
                EXPECT_EQ(ini->ReadString(c.section, c.key, u"<default>").ToUtf8(),
                          UnicodeString(c.expected ? c.expected : u"<default>").ToUtf8());
                EXPECT_EQ(ini->ValueExists(c.section, c.key), c.expected != nullptr);
            }
            EXPECT_EQ(ini->ReadInt64(u"INSTALL", u"TARGETSIZE", 0), 123456789012);
            EXPECT_EQ(ini->ReadInteger(u"INSTALL", u"TARGETSIZE", -1), -1); // beyond 32 bits
            EXPECT_TRUE(ini->ReadBool(u"INSTALL", u"FORMATFDB", false));
            EXPECT_EQ(ini->ReadInteger(u"INSTALL", u"HEXFLAG", 0), 16);
            EXPECT_EQ(ini->ReadInteger(u"INSTALL", u"DOLLAR", 0), 31);
            EXPECT_TRUE(ini->ReadBool(u"INSTALL", u"NOTNUM", true));
            EXPECT_FALSE(ini->ReadBool(u"INSTALL", u"NOTNUM", false));
            EXPECT_FALSE(ini->ReadBool(u"info", u"EMPTY", false));
            EXPECT_DOUBLE_EQ(ini->ReadFloat(u"INSTALL", u"FLOAT", 0), 2.5);

            TStringList list;
            ini->ReadSections(list);
            EXPECT_EQ(list.CommaText(), UnicodeString(u"info,INSTALL,empty"));
            ini->ReadSection(u"Info", list);
            EXPECT_EQ(list.CommaText(), UnicodeString(u"BAZA,DATA,QUOTED,SINGLE,HALF,EMPTY,LATE"));
            ini->ReadSectionValues(u"install", list);
            EXPECT_EQ(list[0], UnicodeString(u"TYPE=TILES"));
            EXPECT_EQ(list.Values(u"float"), UnicodeString(u"2.5"));
            EXPECT_TRUE(ini->SectionExists(u"install"));
            EXPECT_FALSE(ini->SectionExists(u"nosuch"));
        }
    }
}

TEST_F(IniFiles, EmptySectionsCountOnlyInMemoryFiles) {
    UnicodeString file = Write("empty.ini", "[empty]\n[full]\na=1\n");
    EXPECT_FALSE(TIniFile(file).SectionExists(u"empty"));
    EXPECT_TRUE(TMemIniFile(file).SectionExists(u"empty"));
    EXPECT_TRUE(TIniFile(file).SectionExists(u"FULL"));
}

TEST_F(IniFiles, MissingFilesReadAsEmpty) {
    for (const auto& [kind, make] : kinds_) {
        SCOPED_TRACE(kind);
        std::unique_ptr<TCustomIniFile> ini = make(Path("missing.ini"));
        EXPECT_EQ(ini->ReadString(u"a", u"b", u"d"), UnicodeString(u"d"));
        EXPECT_EQ(ini->ReadInteger(u"a", u"b", 7), 7);
        EXPECT_FALSE(ini->SectionExists(u"a"));
    }
}

TEST_F(IniFiles, IniFileWritesAtOnceKeepingLinesAndEncoding) {
    UnicodeString file =
        Write("write.ini",
              EncodeText(u"; keep me\r\n[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", TTextEncoding::Utf16LE));
    TIniFile ini(file);
    ini.WriteString(u"A", u"X", u"changed");
    ini.WriteString(u"a", u"new", u"zażółć");
    ini.WriteInteger(u"c", u"n", 42);
    ini.DeleteKey(u"b", u"y");
    TTextEncoding encoding;
    UnicodeString text = DecodeText(Read(file), &encoding);
    EXPECT_EQ(encoding, TTextEncoding::Utf16LE);
    EXPECT_EQ(text.ToUtf8(),
              "; keep me\r\n[a]\r\nX=changed\r\nnew=zażółć\r\n\r\n[b]\r\n[c]\r\nn=42\r\n");
    EXPECT_EQ(TIniFile(file).ReadString(u"a", u"new", u""), UnicodeString(u"zażółć"));
    ini.EraseSection(u"B");
    EXPECT_FALSE(TMemIniFile(file).SectionExists(u"b"));
}

TEST_F(IniFiles, MemIniFileWritesOnlyOnUpdate) {
    UnicodeString file = Path("mem.ini");
    TMemIniFile ini(file);
    ini.WriteString(u"s", u"k", u"v");
    ini.WriteBool(u"s", u"flag", true);
    EXPECT_EQ(ini.ReadString(u"S", u"K", u""), UnicodeString(u"v"));
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "mem.ini"));
    ini.UpdateFile();
    EXPECT_EQ(Read(file), "[s]\nk=v\nflag=1\n");
    TStringList lines;
    ini.GetStrings(lines);
    EXPECT_EQ(lines.Count(), 3);
    lines.SetText(u"[t]\nz=9");
    ini.SetStrings(lines);
    EXPECT_EQ(ini.ReadInteger(u"t", u"z", 0), 9);
    ini.Reload();
    EXPECT_EQ(ini.ReadString(u"s", u"k", u""), UnicodeString(u"v"));
    TMemIniFile unwritable(Path("no/such/dir.ini"));
    unwritable.WriteString(u"a", u"b", u"c");
    EXPECT_THROW(unwritable.UpdateFile(), EIniFileException);
}

} // namespace
