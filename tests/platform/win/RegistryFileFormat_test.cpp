#include "platform/rtl/UnicodeString.h"
#include "platform/win/RegistryFileFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using win::RegistryHive;

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Utf16LeWithBom(const std::string& utf8) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : Utf8ToUtf16(utf8)) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string TextOf(const win::RegistryValue* value) {
    return value ? Utf16ToUtf8(win::DecodeRegistryString(value->data)) : "<missing>";
}

const std::string kSample = "Windows Registry Editor Version 5.00\n"
                            "\n"
                            "; a comment\n"
                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zentravo\\MAINPATHS]\n"
                            "\"RootPath\"=\"C:\\\\Zentravo\\\\\"\n"
                            "\"Quoted\"=\"say \\\"hi\\\"\"\n"
                            "@=\"default\"\n"
                            "\"Count\"=dword:0000002a\n"
                            "\"Stamp\"=hex:00,00,00,00,80,4d,e4,40\n"
                            "\"Template\"=hex(2):25,00,54,00,\\\n"
                            "  4d,00,50,00,25,00,00,00\n"
                            "\"Zażółć\"=\"gęślą\"\n"
                            "\n"
                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zentravo\\INSTALLATIONS]\n"
                            "\"LM\"=\"LM2015\"\n";

void ExpectSample(const RegistryHive& hive) {
    const win::RegistryKey* key = hive.FindKey("software\\zentravo\\mainpaths");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->path, "SOFTWARE\\Zentravo\\MAINPATHS");
    EXPECT_EQ(TextOf(key->FindValue("rootpath")), "C:\\Zentravo\\");
    EXPECT_EQ(TextOf(key->FindValue("Quoted")), "say \"hi\"");
    EXPECT_EQ(TextOf(key->FindValue("")), "default");
    ASSERT_NE(key->FindValue("Count"), nullptr);
    EXPECT_EQ(key->FindValue("Count")->type, win::kRegDWord);
    EXPECT_EQ(key->FindValue("Count")->data, (std::vector<uint8_t>{0x2a, 0, 0, 0}));
    EXPECT_EQ(key->FindValue("Stamp")->type, win::kRegBinary);
    EXPECT_EQ(key->FindValue("Stamp")->data.size(), 8u);
    EXPECT_EQ(key->FindValue("Template")->type, win::kRegExpandString);
    EXPECT_EQ(TextOf(key->FindValue("Template")), "%TMP%");
    EXPECT_EQ(TextOf(key->FindValue("ZAŻÓŁĆ")), "gęślą");
    // Parents of a key exist although the file does not name them.
    EXPECT_NE(hive.FindKey("\\SOFTWARE\\"), nullptr);
    EXPECT_NE(hive.FindKey("SOFTWARE\\Zentravo\\INSTALLATIONS"), nullptr);
}

TEST(RegistryFileFormat, ReadsEveryEncodingAndLineEnding) {
    std::string crlf;
    for (char c : kSample)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::vector<std::pair<const char*, std::string>> files = {
        {"UTF-8", kSample},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + kSample},
        {"UTF-8, CR LF", crlf},
        {"UTF-16LE with BOM, CR LF", Utf16LeWithBom(crlf)},
    };
    // An old 8-bit export in the windows-1250 code page.
    {
        RegistryHive hive;
        std::string text =
            "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"Za\xbf\xf3\xb3\xe6\"=\"g\xea\x9c\"\r\n";
        ASSERT_TRUE(win::ParseRegistryFile(Bytes(text), "HKEY_LOCAL_MACHINE", hive).ok);
        EXPECT_EQ(TextOf(hive.FindKey("A")->FindValue("ZAŻÓŁĆ")), "gęś");
    }
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        RegistryHive hive;
        win::RegistryParseResult result =
            win::ParseRegistryFile(Bytes(bytes), "HKEY_LOCAL_MACHINE", hive);
        ASSERT_TRUE(result.ok) << result.line << ": " << result.message;
        ExpectSample(hive);
    }
}

TEST(RegistryFileFormat, KeepsValueOrderAndLetsTheLastDuplicateWin) {
    RegistryHive hive;
    std::string text = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n"
                       "\"b\"=\"1\"\n\"a\"=\"2\"\n\"B\"=\"3\"\n\"c\"=\"4\"\n";
    ASSERT_TRUE(win::ParseRegistryFile(Bytes(text), "HKEY_CURRENT_USER", hive).ok);
    const win::RegistryKey* key = hive.FindKey("k");
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->Values().size(), 3u);
    EXPECT_EQ(key->Values()[0].name, "b");
    EXPECT_EQ(TextOf(&key->Values()[0]), "3");
    EXPECT_EQ(key->Values()[1].name, "a");
    EXPECT_EQ(key->Values()[2].name, "c");
}

TEST(RegistryFileFormat, EmptyFileIsAnEmptyHive) {
    for (std::string text : {"", "\n\n", "\xEF\xBB\xBF", "\xFF\xFE"}) {
        RegistryHive hive;
        EXPECT_TRUE(win::ParseRegistryFile(Bytes(text), "HKEY_CURRENT_USER", hive).ok);
        EXPECT_TRUE(hive.Keys().empty());
    }
}

TEST(RegistryFileFormat, MalformedFilesNameTheFaultyLine) {
    const std::string header = "Windows Registry Editor Version 5.00\n";
    struct Case {
        std::string text;
        int line;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"REGEDIT5\n[HKEY_CURRENT_USER\\A]\n", 1, "not a registry file"},
        {header + "\"a\"=\"1\"\n", 2, "before the first key"},
        {header + "[HKEY_CURRENT_USER\\A\n", 2, "closing ']'"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n", 2, "outside HKEY_CURRENT_USER"},
        {header + "[-HKEY_CURRENT_USER\\A]\n", 2, "deletion"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"a\"=\"open\n", 3, "closing quote"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"a\"=\"x\" junk\n", 3, "after a string"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"a\" \"x\"\n", 3, "expected '='"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"a\"=dword:123456789\n", 3, "dword"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"a\"=dword:xyz\n", 3, "dword"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"a\"=hex:0g\n", 3, "byte list"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"a\"=hex:001\n", 3, "byte list"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"a\"=hex(zz):00\n", 3, "type number"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"a\"=hex(2\n", 3, "type number"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"a\"=-\n", 3, "deletion"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"a\"=42\n", 3, "unknown value data"},
        {header + "[HKEY_CURRENT_USER\\A]\nname=\"x\"\n", 3, "expected a [key]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        RegistryHive hive;
        win::RegistryParseResult result =
            win::ParseRegistryFile(Bytes(c.text), "HKEY_CURRENT_USER", hive);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.line, c.line);
        EXPECT_NE(result.message.find(c.message), std::string::npos) << result.message;
    }
}

TEST(RegistryFileFormat, SavedTextReadsBackToTheSameHive) {
    RegistryHive hive;
    win::RegistryKey& key = hive.CreateKey("Software\\Maker\\Päth");
    key.SetValue({"plain", win::kRegString, win::EncodeRegistryString(u"C:\\a \"b\"")});
    key.SetValue({"", win::kRegString, win::EncodeRegistryString(u"default")});
    key.SetValue({"two lines", win::kRegString, win::EncodeRegistryString(u"a\r\nb")});
    key.SetValue({"no final zero", win::kRegString, {0x41, 0x00}});
    key.SetValue({"number", win::kRegDWord, {1, 2, 3, 4}});
    key.SetValue({"short dword", win::kRegDWord, {1, 2}});
    key.SetValue({"expand", win::kRegExpandString, win::EncodeRegistryString(u"%PATH%")});
    key.SetValue({"empty binary", win::kRegBinary, {}});
    std::vector<uint8_t> big(300);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i);
    key.SetValue({"big", win::kRegBinary, big});
    key.SetValue({"qword", win::kRegQWord, {1, 0, 0, 0, 0, 0, 0, 0}});
    hive.CreateKey("Software\\Generated").generated = true;

    std::string text = win::FormatRegistryFile(hive, "HKEY_CURRENT_USER");
    RegistryHive again;
    win::RegistryParseResult result =
        win::ParseRegistryFile(Bytes(text), "HKEY_CURRENT_USER", again);
    ASSERT_TRUE(result.ok) << result.line << ": " << result.message << "\n" << text;
    const win::RegistryKey* read = again.FindKey("SOFTWARE\\MAKER\\PÄTH");
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->Values().size(), key.Values().size());
    for (size_t i = 0; i < key.Values().size(); ++i) {
        SCOPED_TRACE(key.Values()[i].name);
        EXPECT_EQ(read->Values()[i].name, key.Values()[i].name);
        EXPECT_EQ(read->Values()[i].type, key.Values()[i].type);
        EXPECT_EQ(read->Values()[i].data, key.Values()[i].data);
    }
    EXPECT_EQ(again.FindKey("Software\\Generated"), nullptr);
}

} // namespace
