// The rich-text box: RTF read into formatted runs, the plain text against unrtf on the carried
// licences, bytes saved unchanged, scrolling in a real offscreen window, printing to PDF.
#include "platform/ui/Forms.h"
#include "platform/ui/Present.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/RtfDocument.h"
#include "platform/ui/SdlVideo.h"

#include "../../support/TestSupport.h"
#include "UiTestSupport.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

// Words separated by single spaces; every character outside ASCII as '?', as unrtf writes it.
std::string Normalised(const std::u16string& text) {
    std::string out;
    bool blank = true;
    for (char16_t c : text) {
        if (c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == 0xA0) {
            blank = true;
            continue;
        }
        if (blank && !out.empty())
            out += ' ';
        blank = false;
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

std::string UnrtfText(const std::string& file) {
    std::istringstream lines(Shell("unrtf --text '" + file + "' 2>/dev/null"));
    std::string line, body;
    bool started = false;
    while (std::getline(lines, line)) {
        if (!started) {
            started = line.rfind("-----------------", 0) == 0;
            continue;
        }
        body += line + "\n";
    }
    std::u16string wide(body.begin(), body.end());
    return Normalised(wide);
}

struct RunCase {
    const char* name;
    const char* rtf;
    const char* text;
    bool bold, italic, underline;
    float points;
    uint32_t color;
};

TEST(RtfDocument, FormatOfTheLastRunFollowsControlWordsAndGroups) {
    const RunCase cases[] = {
        {"plain", R"({\rtf1 Hello})", "Hello", false, false, false, 12, 0xFF000000},
        {"bold", R"({\rtf1 \b Hi})", "Hi", true, false, false, 12, 0xFF000000},
        {"bold off", R"({\rtf1 \b x\b0 y})", "y", false, false, false, 12, 0xFF000000},
        {"italic underline", R"({\rtf1 \i\ul z})", "z", false, true, true, 12, 0xFF000000},
        {"ulnone", R"({\rtf1 \ul a\ulnone b})", "b", false, false, false, 12, 0xFF000000},
        {"size", R"({\rtf1 \fs40 big})", "big", false, false, false, 20, 0xFF000000},
        {"colour table",
         R"({\rtf1{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;}\cf2 blue})", "blue",
         false, false, false, 12, 0xFF0000FF},
        {"colour out of table", R"({\rtf1{\colortbl ;\red255\green0\blue0;}\cf7 x})", "x", false,
         false, false, 12, 0xFF000000},
        {"group restores", R"({\rtf1 {\b\fs30 in}out})", "out", false, false, false, 12,
         0xFF000000},
        {"plain resets", R"({\rtf1 \b\i\fs10 a\plain b})", "b", false, false, false, 12,
         0xFF000000},
    };
    for (const RunCase& c : cases) {
        const auto runs = RtfToRuns(c.rtf);
        ASSERT_FALSE(runs.empty()) << c.name;
        const gfx::RichTextRun& last = runs.back();
        EXPECT_EQ(UnicodeString(last.text).ToUtf8(), c.text) << c.name;
        EXPECT_EQ(last.bold, c.bold) << c.name;
        EXPECT_EQ(last.italic, c.italic) << c.name;
        EXPECT_EQ(last.underline, c.underline) << c.name;
        EXPECT_EQ(last.points, c.points) << c.name;
        EXPECT_EQ(last.color, c.color) << c.name;
    }
}

TEST(RtfDocument, TextOfControlSymbolsCodePagesAndUnicode) {
    EXPECT_EQ(RtfToPlainText(R"({\rtf1 a\par b\line c\tab d\~e\{\}\\})").ToUtf8(),
              "a\nb\nc\td\u00A0e{}\\");
    EXPECT_EQ(RtfToPlainText(R"({\rtf1\ansi\ansicpg1250 \'b3\'f3d\'9f})").ToUtf8(), "łódź");
    EXPECT_EQ(RtfToPlainText(R"({\rtf1\ansicpg1251 \'c0\'e0})").ToUtf8(), "Аа");
    EXPECT_EQ(RtfToPlainText(R"({\rtf1\uc1 p\u322?yta\uc2\u380 xyz})").ToUtf8(), "płytażz");
    EXPECT_EQ(RtfToPlainText(R"({\rtf1{\fonttbl{\f0 Arial;}}{\*\generator x;}{\info{\title t}}ok})")
                  .ToUtf8(),
              "ok");
}

TEST(RtfDocument, DeepNestingAndTruncationNeitherRecurseNorFail) {
    std::string deep = "{\\rtf1 ";
    for (int i = 0; i < 100000; ++i)
        deep += '{';
    deep += "x";
    EXPECT_EQ(RtfToPlainText(deep).ToUtf8(), "x");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\'4").ToUtf8(), "a4");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\").ToUtf8(), "a");
}

TEST(RtfDocument, CarriedLicencesReadAsUnrtfReadsThem) {
    const std::string folder = (testsupport::SourceDir() / "resources/licenses/").string();
    for (const char* name : {"LICEN.rtf", "LICHU.rtf", "LICPL.rtf", "LICRU.rtf"}) {
        const std::string file = folder + name;
        const std::string expected = UnrtfText(file);
        ASSERT_FALSE(expected.empty()) << name << ": unrtf gave nothing";
        EXPECT_EQ(Normalised(RtfToPlainText(testsupport::ReadFile(file)).str()), expected) << name;
    }
}

class RichEditBox : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(EnsureVideo());
        form.SetBounds(0, 0, 300, 200);
        box.SetParent(&form);
        box.SetBounds(10, 10, 200, 120);
    }
    // A long document: 80 paragraphs, every tenth one bold.
    static std::string LongRtf() {
        std::string rtf = "{\\rtf1\\ansi ";
        for (int i = 0; i < 80; ++i)
            rtf += (i % 10 == 0 ? "\\b Line " : "\\b0 Line ") + std::to_string(i) + "\\par\n";
        return rtf + "}";
    }
    TForm form;
    TRichEdit box;
};

TEST_F(RichEditBox, SavesTheBytesItLoadedUnchanged) {
    testsupport::ScratchFolder folder("rich-edit-");
    const std::string rtf = LongRtf() + "\r\n% trailing bytes kept as they were\r\n";
    ASSERT_TRUE(box.LoadFromBytes(rtf));
    const std::string out = folder / "lic.rtf";
    box.SaveToFile(UnicodeString::FromUtf8(out));
    EXPECT_EQ(testsupport::ReadFile(out), rtf);
    EXPECT_FALSE(box.LoadFromBytes("not rtf"));
    EXPECT_TRUE(box.Bytes().empty());
    EXPECT_TRUE(box.Text().IsEmpty());
}

TEST_F(RichEditBox, ScrollsByWheelKeysAndThumbWithinItsRange) {
    ASSERT_TRUE(box.LoadFromBytes(LongRtf()));
    form.Show();
    Application->ProcessMessages();
    ASSERT_GT(box.MaxScroll(), 0);
    box.Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<uint32_t>(-120) << 16), 0);
    const int oneNotch = box.ScrollPos();
    EXPECT_GT(oneNotch, 0);
    box.Perform(WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(box.ScrollPos(), box.MaxScroll());
    box.Perform(WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(box.ScrollPos(), 0);
    box.SetScrollPos(-50);
    EXPECT_EQ(box.ScrollPos(), 0);
    box.SetScrollPos(1 << 30);
    EXPECT_EQ(box.ScrollPos(), box.MaxScroll());
}

TEST_F(RichEditBox, PaintsTextOnWhiteWithAScrollBar) {
    ASSERT_TRUE(box.LoadFromBytes(LongRtf()));
    form.Show();
    Application->ProcessMessages();
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadWindowPixels(&form, pixels, w, h));
    int dark = 0, white = 0;
    for (int y = 10; y < 130; ++y)
        for (int x = 10; x < 194; ++x) {
            const uint32_t p = pixels[size_t(y) * w + x] & 0xFFFFFF;
            dark += p < 0x404040;
            white += p == 0xFFFFFF;
        }
    EXPECT_GT(dark, 50);
    EXPECT_GT(white, 184 * 120 / 2);
    // The thumb sits at the top of the track.
    EXPECT_EQ(pixels[size_t(15) * w + 10 + 200 - 8] & 0xFFFFFF, 0xC2C2C2u);
}

TEST_F(RichEditBox, PrintsAPdfThroughThePrintCommand) {
    testsupport::ScratchFolder folder("rich-print-");
    const std::string copy = folder / "printed.pdf";
    const std::string script = folder / "print.sh";
    std::ofstream(script) << "#!/bin/sh\nshift\ncp \"$1\" '" << copy << "'\n";
    Shell("chmod +x '" + script + "'");
    testsupport::ScopedEnv printer("DBI_PRINT_COMMAND", script);
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 400; ++i)
        rtf += "Paragraph " + std::to_string(i) + "\\par ";
    ASSERT_TRUE(box.LoadFromBytes(rtf + "}"));
    box.Print(UnicodeString("License Agreement"));
    const std::string pdf = testsupport::ReadFile(copy);
    ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("/Count "), std::string::npos);
    EXPECT_EQ(pdf.find("/Count 1\n"), std::string::npos) << "400 paragraphs fit on one page?";
    const std::string text = Shell("pdftotext '" + copy + "' - 2>/dev/null");
    if (!text.empty()) {
        EXPECT_NE(text.find("Paragraph 399"), std::string::npos);
    }
}

TEST_F(RichEditBox, AFailingPrintCommandRaises) {
    testsupport::ScopedEnv printer("DBI_PRINT_COMMAND", "false");
    ASSERT_TRUE(box.LoadFromBytes("{\\rtf1 x}"));
    EXPECT_THROW(box.Print(UnicodeString("t")), Exception);
}

} // namespace
