// The memo's display lines: the table against an independent model on random texts, the partial
// layout of edits against a full one, and the geometry of lines, caret and painting.
#include "MemoTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

DBI_PUBLISH(TsgPaintableMemo) {}

namespace {

std::u16string RandomText(std::mt19937& rng, int length) {
    // Word characters, the three separators and every kind of line break.
    static const std::u16string alphabet = u"aaaabbbcccdd    ,-";
    std::u16string text;
    std::uniform_int_distribution<int> pick(0, int(alphabet.size()) + 2);
    while (int(text.size()) < length) {
        const int k = pick(rng);
        if (k < int(alphabet.size()))
            text += alphabet[size_t(k)];
        else if (k == int(alphabet.size()))
            text += u"\r\n";
        else if (k == int(alphabet.size()) + 1)
            text += u'\n';
        else
            text += u'\r';
    }
    return text;
}

std::string Starts(const TLinesBegs& b) {
    std::string s;
    for (int v : b)
        s += (s.empty() ? "" : " ") + std::to_string(v);
    return s;
}

std::string Escaped(const UnicodeString& t) {
    std::string s;
    for (char16_t c : t.str())
        s += c == u'\r'   ? std::string("\\r")
             : c == u'\n' ? std::string("\\n")
                          : std::string(1, char(c));
    return s;
}

} // namespace

TEST_F(MemoTest, LineTableMatchesTheModelOnRandomTextsAndWidths) {
    std::mt19937 rng(20261211);
    struct Case {
        std::u16string text;
        float width;
        bool wrap;
    };
    std::vector<Case> cases;
    for (int i = 0; i < 300; ++i) {
        std::uniform_int_distribution<int> length(0, 120);
        std::uniform_int_distribution<int> width(15, 260);
        cases.push_back({RandomText(rng, length(rng)), float(width(rng)), i % 4 != 0});
    }
    const std::string dir = testing::TempDir();
    const std::string in = dir + "memo_model_in.txt";
    const std::string out = dir + "memo_model_out.txt";
    {
        std::ofstream f(in);
        for (const Case& c : cases) {
            f << "W " << c.width << " 10 " << (c.wrap ? 1 : 0) << "\nT";
            for (char16_t ch : c.text)
                f << ' ' << int(ch);
            f << '\n';
        }
    }
    const std::string command = "/usr/bin/python3 " DBI_SOURCE_DIR
                                "/tests/scene/controls/memo_lines_model.py " +
                                in + " " + out;
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream f(out);
    for (const Case& c : cases) {
        std::string expected;
        std::getline(f, expected);
        memo->SetWidth(c.width);
        memo->SetWordWrap(c.wrap);
        memo->SetText(UnicodeString(c.text));
        ASSERT_EQ(Starts(memo->LinesBegs()), expected) << "width " << c.width << " wrap " << c.wrap
                                                       << " text '" << Escaped(memo->Text()) << "'";
        memo->SetText(UnicodeString());
    }
}

TEST_F(MemoTest, EditsLayOutLikeAFullLayout) {
    std::mt19937 rng(7);
    for (bool wrap : {true, false}) {
        memo->SetWordWrap(wrap);
        memo->SetText(UnicodeString(RandomText(rng, 200)));
        for (int step = 0; step < 400; ++step) {
            const int n = memo->Text().Length();
            std::uniform_int_distribution<int> at(0, n);
            const TCaretPosition p = memo->TextPosToPos(at(rng));
            if (rng() % 2 || n == 0)
                memo->InsertAfter(p, UnicodeString(RandomText(rng, int(rng() % 12) + 1)), {});
            else
                memo->DeleteFrom(p, int(rng() % 10) + 1, {});
            TsgMemo fresh(nullptr);
            scene.AddObject(&fresh);
            fresh.SetBounds(0, 0, 200, 100);
            fresh.Font()->SetSize(8);
            fresh.SetWordWrap(wrap);
            fresh.SetText(memo->Text());
            scene.RemoveObject(&fresh);
            ASSERT_EQ(Starts(memo->LinesBegs()), Starts(fresh.LinesBegs()))
                << "step " << step << " text '" << Escaped(memo->Text()) << "'";
        }
    }
}

TEST_F(MemoTest, LineBreaksAndTheLinesView) {
    struct Row {
        const char16_t* text;
        const char* starts;
        int count;
    } rows[] = {
        {u"", "", 0},          {u"ab\r\ncd", "1 5", 2}, {u"ab\ncd", "1 4", 2},
        {u"ab\rcd", "1 4", 2}, {u"ab\r\n", "1 5", 2},   {u"\n\n", "1 2 3", 3},
    };
    for (const Row& r : rows) {
        memo->SetText(UnicodeString(r.text));
        EXPECT_EQ(Starts(memo->LinesBegs()), r.starts) << Escaped(memo->Text());
        EXPECT_EQ(memo->GetLineCount(), r.count);
        EXPECT_EQ(memo->Lines()->GetCount(), r.count);
    }
    memo->SetText(u"ab\r\ncd");
    EXPECT_EQ(memo->GetLine(0).ToUtf8(), "ab");
    EXPECT_EQ(memo->GetLineInternal(0).ToUtf8(), "ab\r\n");
    EXPECT_EQ(memo->GetLine(1).ToUtf8(), "cd");
}

// Without a canvas nothing can be measured, but line breaks still cut the text.
TEST_F(MemoTest, WithoutACanvasTheTextIsStillCutAtLineBreaks) {
    scene.WithCanvas = false;
    memo->SetWordWrap(true);
    memo->SetText(u"one two three four five six seven eight\r\nnine");
    EXPECT_EQ(Starts(memo->LinesBegs()), "1 42");
}

TEST_F(MemoTest, WrapRules) {
    memo->SetWidth(100);
    memo->SetWordWrap(true);
    scene.Canvas.CharWidth = 10;
    // Words of four (40 units) and single blanks: two words a line, the blank after the second.
    memo->SetText(u"aaaa bbbb cccc dddd e");
    EXPECT_EQ(Starts(memo->LinesBegs()), "1 11 21");
    // A word wider than the viewport stands alone, also at the paragraph's start.
    memo->SetText(u"aaaaaaaaaaaaaaa bb");
    EXPECT_EQ(Starts(memo->LinesBegs()), "1 17");
    memo->SetText(u"bb aaaaaaaaaaaaaaa cc");
    EXPECT_EQ(Starts(memo->LinesBegs()), "1 4 20");
}

// Every offset outside a CR LF pair has one position and comes back from it; every caret
// position a line offers (a wrapped line's end is the next line's start) comes back too.
TEST_F(MemoTest, PositionsAndOffsetsRoundTrip) {
    memo->SetWordWrap(true);
    memo->SetText(u"aaaa bbbb cccc dddd eeee ffff gggg\r\nx\ny\r\r\nz");
    const std::u16string& s = memo->Text().str();
    for (int offset = 0; offset <= int(s.size()); ++offset) {
        if (offset > 0 && offset < int(s.size()) && s[size_t(offset)] == u'\n' &&
            s[size_t(offset - 1)] == u'\r')
            continue;
        EXPECT_EQ(memo->PosToTextPos(memo->TextPosToPos(offset)), offset);
    }
    for (int line = 0; line < memo->GetLineCount(); ++line) {
        const bool wrapped = memo->GetLine(line).Length() == memo->GetLineInternal(line).Length() &&
                             line + 1 < memo->GetLineCount();
        for (int pos = 0; pos <= memo->GetLine(line).Length() - (wrapped ? 1 : 0); ++pos) {
            const TCaretPosition p{line, pos};
            EXPECT_EQ(memo->TextPosToPos(memo->PosToTextPos(p)), p) << line << "," << pos;
        }
    }
}

TEST_F(MemoTest, CaretStepsOverLineBreaks) {
    memo->SetText(u"ab\r\ncd\ne");
    Focus();
    memo->SetCaretPosition({0, 2});
    Press(VK_RIGHT);
    EXPECT_EQ(Caret(), (TCaretPosition{1, 0}));
    Press(VK_LEFT);
    EXPECT_EQ(Caret(), (TCaretPosition{0, 2}));
    memo->SetCaretPosition({1, 2});
    Press(VK_RIGHT);
    EXPECT_EQ(Caret(), (TCaretPosition{2, 0}));
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    EXPECT_EQ(Caret(), (TCaretPosition{2, 1}));
}

TEST_F(MemoTest, UpAndDownKeepTheColumn) {
    memo->SetText(u"abcdefgh\r\nab\r\nabcdefgh");
    Focus();
    memo->SetCaretPosition({0, 6});
    Press(VK_DOWN);
    EXPECT_EQ(Caret(), (TCaretPosition{1, 2}));
    Press(VK_DOWN);
    EXPECT_EQ(Caret(), (TCaretPosition{2, 2}));
    memo->SetCaretPosition({2, 5});
    Press(VK_UP);
    EXPECT_EQ(Caret(), (TCaretPosition{1, 2}));
    // The column is the caret's present one: from the short line's end, not the old column.
    Press(VK_UP);
    EXPECT_EQ(Caret(), (TCaretPosition{0, 2}));
}

TEST_F(MemoTest, PointsAndPositions) {
    memo->SetText(u"abcd\r\nefgh");
    EXPECT_EQ(memo->GetPositionPoint({1, 2}).X, 20);
    EXPECT_EQ(memo->GetPositionPoint({1, 2}).Y, 10);
    // A character counts as passed a quarter of the font size beyond its start.
    EXPECT_EQ(memo->GetPointPosition({21, 13}), (TCaretPosition{1, 2}));
    EXPECT_EQ(memo->GetPointPosition({23, 13}), (TCaretPosition{1, 3}));
    EXPECT_EQ(memo->GetPointPosition({27, 3}), (TCaretPosition{0, 3}));
    EXPECT_EQ(memo->GetPointPosition({190, 95}), (TCaretPosition{1, 4}));
    memo->Font()->SetSize(12);
    EXPECT_EQ(memo->GetLineHeight(), 15);
}

TEST_F(MemoTest, PaintingDrawsOnlyTheLinesInView) {
    std::u16string text;
    for (int i = 0; i < 1000; ++i)
        text += u"line\r\n";
    memo->SetText(UnicodeString(text));
    RecordingCanvas canvas;
    memo->PaintContent(&canvas, {0, 0, 200, 100});
    int lines = 0;
    for (const std::string& call : canvas.Log)
        lines += call.rfind("FillText", 0) == 0;
    EXPECT_GE(lines, 10);
    EXPECT_LE(lines, 11);
}

// The selection is filled before the text, so an opaque selection fill leaves the text readable.
TEST_F(MemoTest, SelectionIsPaintedUnderTheText) {
    memo->SetText(u"abc\r\ndef");
    Focus(true);
    RecordingCanvas canvas;
    memo->PaintContent(&canvas, {0, 0, 200, 100});
    std::vector<std::string> kinds;
    for (const std::string& call : canvas.Log)
        if (call.rfind("FillRect", 0) == 0 || call.rfind("FillText", 0) == 0)
            kinds.push_back(call.substr(0, 8));
    EXPECT_EQ(kinds, (std::vector<std::string>{"FillRect", "FillRect", "FillText", "FillText"}));
}
