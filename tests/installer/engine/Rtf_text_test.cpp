// The licence document: bytes kept, plain text read from RTF.
#include "EngineTestSupport.h"

#include "installer/engine/Rtf_text.h"

using namespace enginetest;

namespace {

struct RtfCase {
    const char* name;
    const char* rtf;
    const char* plain;
};

const RtfCase kCases[] = {
    {"paragraphs and tabs", "{\\rtf1 one\\par two\\tab three\\line four}", "one\ntwo\tthree\nfour"},
    {"tables and info skipped",
     "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\info{\\title T}}body}",
     "body"},
    {"starred destination skipped", "{\\rtf1{\\*\\generator Writer 1.0;}text}", "text"},
    {"escaped braces and backslash", "{\\rtf1 a\\{b\\}c\\\\d}", "a{b}c\\d"},
    {"code page 1250 bytes", "{\\rtf1\\ansi\\ansicpg1250 \\'a3\\'f3d\\'9f}", "Łódź"},
    {"code page 1251 bytes", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", "При"},
    {"unicode with fallback", "{\\rtf1\\uc1 \\u321?\\u243?d\\u378?}", "Łódź"},
    {"unicode with two fallbacks", "{\\rtf1\\uc2 \\u1055\\'3f\\'3fx}", "Пx"},
    {"negative unicode", "{\\rtf1\\uc0 \\u-3913}", "\xef\x82\xb7"},
    {"group restores the fallback count", "{\\rtf1\\uc1{\\uc0 \\u321}\\u243?}", "Łó"},
    {"unterminated groups and words", "{\\rtf1 abc{\\b bold\\", "abcbold"},
    {"parameter without digits", "{\\rtf1 \\u- x}", "x"},
};

} // namespace

TEST(RtfText, PlainTextOfTheBody) {
    for (const RtfCase& c : kCases)
        EXPECT_EQ(RtfToPlainText(c.rtf).ToUtf8(), c.plain) << c.name;
}

TEST(RtfText, OnlyRtfIsLoadedAndTheBytesAreKept) {
    TRtfText text;
    EXPECT_FALSE(text.LoadFromBytes("plain text, not RTF"));
    EXPECT_TRUE(text.IsEmpty());
    const std::string rtf = "{\\rtf1 x\\par}";
    EXPECT_TRUE(text.LoadFromBytes(rtf));
    EXPECT_EQ(text.Bytes(), rtf);
    EXPECT_FALSE(text.LoadFromFile(u"/nonexistent/lic.rtf"));
    EXPECT_TRUE(text.IsEmpty());
}

TEST(RtfText, TheCarriedLicencesReadInTheirLanguages) {
    struct Case {
        const char* file;
        const char* title;
    };
    for (const Case& c : {Case{"LICPL.rtf", "Umowa licencyjna na bazy katalogowe"},
                          Case{"LICEN.rtf", "Licence agreement for the catalogue databases"},
                          Case{"LICRU.rtf", "Лицензионное соглашение на каталожные базы"},
                          Case{"LICHU.rtf", "Licencszerződés a katalógus-adatbázisokhoz"}}) {
        TRtfText text;
        ASSERT_TRUE(text.LoadFromFile(
            UnicodeString((SourceDir() / "resources/licenses" / c.file).string())))
            << c.file;
        const std::string plain = text.PlainText().ToUtf8();
        EXPECT_EQ(plain.substr(0, plain.find('\n')), c.title) << c.file;
        EXPECT_EQ(plain.find('?'), std::string::npos) << c.file;
        EXPECT_GT(std::count(plain.begin(), plain.end(), '\n'), 5) << c.file;
    }
}
