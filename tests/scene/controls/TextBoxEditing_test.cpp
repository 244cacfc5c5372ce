// Editing a text box by keys: events, selection, word moves, deleting, the filter, the maximum
// length, read-only and password boxes, the clipboard and horizontal scrolling.
#include "TextBoxTestSupport.h"

#include "scene/core/Sg_canvas_gdip.h"

#include <vector>

namespace {

constexpr TShiftState kNone{};
const TShiftState kShift{ssShift};
const TShiftState kCtrl{ssCtrl};
const TShiftState kCtrlShift{ssCtrl | ssShift};

TEST_F(TextBoxTest, TypingTracksEveryChangeAndCommitsOnEnterOnly) {
    Type(u"abc");
    EXPECT_EQ(box->Text(), UnicodeString(u"abc"));
    EXPECT_EQ(tracking, 3);
    EXPECT_EQ(typing, 3);
    EXPECT_EQ(changes, 0);
    Press(VK_RETURN);
    EXPECT_EQ(changes, 1);
    box->KillFocus();
    EXPECT_EQ(changes, 1);
    // Enter commits even an unchanged text.
    Press(VK_RETURN);
    EXPECT_EQ(changes, 2);
}

TEST_F(TextBoxTest, LeavingAfterAChangeCommitsOnceAndChangeOnKillFocusAlways) {
    Type(u"x");
    box->KillFocus();
    EXPECT_EQ(changes, 1);
    box->EnterFocus();
    box->KillFocus();
    EXPECT_EQ(changes, 1);
    box->SetChangeOnKillFocus(true);
    box->EnterFocus();
    box->KillFocus();
    EXPECT_EQ(changes, 2);
}

TEST_F(TextBoxTest, FocusSelectsAllAndTypingReplacesIt) {
    box->SetText(u"hello");
    box->KillFocus();
    box->EnterFocus();
    EXPECT_EQ(box->SelStart(), 0);
    EXPECT_EQ(box->SelLength(), 5);
    EXPECT_EQ(box->CaretPosition(), 5);
    Type(u"x");
    EXPECT_EQ(State(), "x caret 1 sel 1+0");
}

struct KeyStep {
    uint16_t Key;
    TShiftState Shift;
};

struct KeyCase {
    const char* Name;
    const char16_t* Text;
    int Caret;
    std::vector<KeyStep> Keys;
    const char* Expected;
};

class TextBoxKeys : public TextBoxTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(TextBoxKeys, MoveSelectAndDeleteAsUsersExpect) {
    const KeyCase& c = GetParam();
    box->SetText(c.Text);
    box->SetSelStart(c.Caret);
    box->SetSelLength(0);
    box->SetCaretPosition(c.Caret);
    for (const KeyStep& k : c.Keys)
        Press(k.Key, k.Shift);
    EXPECT_EQ(State(), c.Expected) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextBoxKeys,
    testing::Values(
        KeyCase{"ShiftLeftThrice",
                u"abcde",
                5,
                {{VK_LEFT, kShift}, {VK_LEFT, kShift}, {VK_LEFT, kShift}},
                "abcde caret 2 sel 2+3"},
        KeyCase{"ShiftRightShrinks",
                u"abcde",
                5,
                {{VK_LEFT, kShift}, {VK_LEFT, kShift}, {VK_LEFT, kShift}, {VK_RIGHT, kShift}},
                "abcde caret 3 sel 3+2"},
        KeyCase{"ShiftRightPastTheAnchor",
                u"abcde",
                2,
                {{VK_LEFT, kShift}, {VK_RIGHT, kShift}, {VK_RIGHT, kShift}},
                "abcde caret 3 sel 2+1"},
        KeyCase{"ArrowClearsSelection",
                u"abcde",
                5,
                {{VK_LEFT, kShift}, {VK_LEFT, kNone}},
                "abcde caret 3 sel 3+0"},
        KeyCase{"ShiftHome", u"abcde", 3, {{VK_HOME, kShift}}, "abcde caret 0 sel 0+3"},
        KeyCase{"ShiftEnd", u"abcde", 1, {{VK_END, kShift}}, "abcde caret 5 sel 1+4"},
        KeyCase{
            "HomeEnd", u"abcde", 2, {{VK_HOME, kNone}, {VK_END, kNone}}, "abcde caret 5 sel 5+0"},
        KeyCase{"LeftAtStartStays", u"ab", 0, {{VK_LEFT, kNone}}, "ab caret 0 sel 0+0"},
        KeyCase{"RightAtEndStays", u"ab", 2, {{VK_RIGHT, kNone}}, "ab caret 2 sel 2+0"},
        KeyCase{
            "UpDownDoNothing", u"ab", 1, {{VK_UP, kShift}, {VK_DOWN, kNone}}, "ab caret 1 sel 1+0"},
        KeyCase{"CtrlRightFromStart", u"ab  cd", 0, {{VK_RIGHT, kCtrl}}, "ab  cd caret 4 sel 4+0"},
        KeyCase{"CtrlRightToEnd", u"ab  cd", 4, {{VK_RIGHT, kCtrl}}, "ab  cd caret 6 sel 6+0"},
        KeyCase{"CtrlLeftFromEnd", u"ab  cd", 6, {{VK_LEFT, kCtrl}}, "ab  cd caret 4 sel 4+0"},
        KeyCase{"CtrlLeftToStart", u"ab  cd", 4, {{VK_LEFT, kCtrl}}, "ab  cd caret 0 sel 0+0"},
        KeyCase{"CtrlShiftRightSelectsWord",
                u"ab  cd",
                0,
                {{VK_RIGHT, kCtrlShift}},
                "ab  cd caret 4 sel 0+4"},
        KeyCase{"Backspace", u"abc", 2, {{VK_BACK, kNone}}, "ac caret 1 sel 1+0"},
        KeyCase{"BackspaceAtEnd", u"abc", 3, {{VK_BACK, kNone}}, "ab caret 2 sel 2+0"},
        KeyCase{"BackspaceAtStart", u"abc", 0, {{VK_BACK, kNone}}, "abc caret 0 sel 0+0"},
        KeyCase{"Delete", u"abc", 1, {{VK_DELETE, kNone}}, "ac caret 1 sel 1+0"},
        KeyCase{"DeleteAtEnd", u"abc", 3, {{VK_DELETE, kNone}}, "abc caret 3 sel 3+0"},
        KeyCase{"DeleteSelection",
                u"abcde",
                4,
                {{VK_LEFT, kShift}, {VK_LEFT, kShift}, {VK_DELETE, kNone}},
                "abe caret 2 sel 2+0"},
        KeyCase{"BackspaceSelection",
                u"abcde",
                1,
                {{VK_RIGHT, kShift}, {VK_RIGHT, kShift}, {VK_BACK, kNone}},
                "ade caret 1 sel 1+0"}),
    [](const testing::TestParamInfo<KeyCase>& info) { return info.param.Name; });

TEST_F(TextBoxTest, BackspaceAndDeleteAtTheEdgesStillReportTyping) {
    box->SetText(u"ab");
    box->SetSelLength(0);
    box->SetCaretPosition(0);
    typing = 0;
    Press(VK_BACK);
    box->SetCaretPosition(2);
    Press(VK_DELETE);
    EXPECT_EQ(box->Text(), UnicodeString(u"ab"));
    EXPECT_EQ(typing, 2);
}

TEST_F(TextBoxTest, MaxLengthRefusesTheFourthCharacterButReportsTyping) {
    box->SetMaxLength(3);
    Type(u"abc");
    typing = 0;
    Type(u"d");
    EXPECT_EQ(State(), "abc caret 3 sel 3+0");
    EXPECT_EQ(typing, 1);
    // A longer text set from outside stays.
    box->SetText(u"abcdef");
    EXPECT_EQ(box->Text(), UnicodeString(u"abcdef"));
}

TEST_F(TextBoxTest, FilterTurnsRefusedCharactersIntoNothing) {
    box->SetFilterChar(u"0123456789.,-+");
    Type(u"1a2.");
    EXPECT_EQ(box->Text(), UnicodeString(u"12."));
}

TEST_F(TextBoxTest, ControlCharactersNeverBecomeText) {
    Type(u"a\x08\x1b\x7f\tb");
    EXPECT_EQ(box->Text(), UnicodeString(u"ab"));
}

TEST_F(TextBoxTest, ReadOnlyBoxChangesNothingButCopies) {
    box->SetText(u"fixed");
    box->SetReadOnly(true);
    box->SelectAll();
    Clipboard()->SetAsText(u"other");
    Type(u"x");
    Press(VK_BACK);
    Press(VK_DELETE);
    Ctrl(u'v');
    Press(VK_INSERT, kShift);
    Ctrl(u'x');
    EXPECT_EQ(box->Text(), UnicodeString(u"fixed"));
    Ctrl(u'c');
    EXPECT_EQ(Clipboard()->AsText(), UnicodeString(u"fixed"));
    EXPECT_FALSE(box->CommandEnabled(TsgTextBox::ecCut));
    EXPECT_FALSE(box->CommandEnabled(TsgTextBox::ecPaste));
    EXPECT_TRUE(box->CommandEnabled(TsgTextBox::ecCopy));
}

TEST_F(TextBoxTest, ClipboardCopyCutAndPaste) {
    box->SetText(u"one two");
    box->SetSelStart(4);
    box->SetSelLength(3);
    Ctrl(u'c');
    EXPECT_EQ(Clipboard()->AsText(), UnicodeString(u"two"));
    Ctrl(u'x');
    EXPECT_EQ(State(), "one  caret 4 sel 4+0");
    Press(VK_HOME);
    Ctrl(u'v');
    EXPECT_EQ(State(), "twoone  caret 3 sel 3+0");
    // Ctrl+Insert copies, Shift+Delete cuts, Shift+Insert pastes.
    box->SelectAll();
    Press(VK_INSERT, kCtrl);
    Press(VK_DELETE, kShift);
    EXPECT_EQ(box->Text(), UnicodeString());
    Press(VK_INSERT, kShift);
    EXPECT_EQ(box->Text(), UnicodeString(u"twoone "));
    // Ctrl+Z has no undo and types nothing.
    Ctrl(u'z');
    EXPECT_EQ(box->Text(), UnicodeString(u"twoone "));
}

struct PasteCase {
    const char* Name;
    const char16_t* Clip;
    const char16_t* Filter;
    const char16_t* Expected;
};

class TextBoxPaste : public TextBoxTest, public testing::WithParamInterface<PasteCase> {};

TEST_P(TextBoxPaste, KeepsTheFirstLineWithoutControlsOrRefusedCharacters) {
    const PasteCase& c = GetParam();
    box->SetFilterChar(c.Filter);
    Clipboard()->SetAsText(c.Clip);
    Ctrl(u'v');
    EXPECT_EQ(box->Text(), UnicodeString(c.Expected)) << c.Name;
    EXPECT_EQ(box->CaretPosition(), box->Text().Length());
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextBoxPaste,
    testing::Values(PasteCase{"CrLf", u"first\r\nsecond", u"", u"first"},
                    PasteCase{"Lf", u"first\nsecond", u"", u"first"},
                    PasteCase{"Tabs",
                              u"a\tb\x01"
                              u"c",
                              u"", u"abc"},
                    PasteCase{"Filter", u"12a,5\n9", u"0123456789.,-+", u"12,5"},
                    PasteCase{"NonAscii", u"Zażółć \U0001F600", u"", u"Zażółć \U0001F600"}),
    [](const testing::TestParamInfo<PasteCase>& info) { return info.param.Name; });

TEST_F(TextBoxTest, PasswordBoxCopiesItsRealText) {
    box->SetPassword(true);
    Type(u"secret");
    box->SelectAll();
    box->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), UnicodeString(u"secret"));
}

TEST_F(TextBoxTest, PasswordCharactersAreCellsOfHalfTheFontSize) {
    box->Font()->SetSize(12);
    box->SetPassword(true);
    box->SetText(u"secret");
    box->SetCaretPosition(0);
    const float left = box->ContentRect().Left;
    EXPECT_FLOAT_EQ(box->GetCharX(6), left + 36);
    EXPECT_FLOAT_EQ(box->GetCharX(2), left + 12);
    EXPECT_EQ(box->GetCoordinatePosition(left + 13), 2);
    EXPECT_EQ(box->GetCoordinatePosition(left + 1000), 6);
}

// Six dots of Font.Size / 2 - 1 with one unit between them, counted along the middle row.
TEST_F(TextBoxTest, PasswordPaintsOneDotPerCharacter) {
    box->Font()->SetSize(16);
    box->SetPassword(true);
    box->SetText(u"secret");
    auto canvas = std::make_unique<TsgCanvasGdiPlus>(100, 21);
    canvas->SetMatrix(IdentityMatrix);
    canvas->Clear(0);
    box->PaintContent(canvas.get(), {0, 0, 100, 21});
    std::vector<uint32_t> bits(100 * 21);
    canvas->SaveToBits(bits.data());
    int runs = 0;
    bool inside = false;
    int lastEnd = -1;
    for (int x = 0; x < 100; ++x) {
        const bool ink = (bits[size_t(10 * 100 + x)] >> 24) > 128;
        if (ink && !inside) {
            ++runs;
            if (runs == 2) {
                EXPECT_NEAR(x, 8, 1);
            }
        }
        if (!ink && inside)
            lastEnd = x;
        inside = ink;
    }
    EXPECT_EQ(runs, 6);
    EXPECT_NEAR(lastEnd, 47, 2);
}

TEST_F(TextBoxTest, LongTextScrollsToKeepTheCaretVisibleAndHomeScrollsBack) {
    UnicodeString text;
    for (int i = 0; i < 1200; ++i)
        text += char16_t(u'a' + i % 26);
    box->SetText(text);
    box->SetCaretPosition(text.Length());
    EXPECT_GT(box->FirstVisibleChar(), 1000);
    const TsgRect content = box->ContentRect();
    EXPECT_LE(box->GetCharX(box->CaretPosition()), content.Right + 1);
    EXPECT_GE(box->GetCharX(box->CaretPosition()), content.Left);
    Press(VK_HOME);
    EXPECT_EQ(box->FirstVisibleChar(), 1);
}

TEST_F(TextBoxTest, EmptyCentredBoxPutsItsCaretWhereACentredAWouldStart) {
    box->SetTextAlign(sgTextAlignCenter);
    const TsgRect content = box->ContentRect();
    const float a = box->TextWidth(u"a");
    ASSERT_GT(a, 0);
    EXPECT_FLOAT_EQ(box->GetCharX(0), content.Left + (content.Right - content.Left - a) / 2);
    ASSERT_NE(box->Caret(), nullptr);
    EXPECT_TRUE(box->Caret()->Visible());
}

TEST_F(TextBoxTest, ClickPositionsPickTheNearerCharacterEdge) {
    box->SetText(u"mmmm");
    const float left = box->GetCharX(1);
    const float right = box->GetCharX(2);
    EXPECT_EQ(box->GetCoordinatePosition(left + (right - left) * 0.25f), 1);
    EXPECT_EQ(box->GetCoordinatePosition(left + (right - left) * 0.75f), 2);
    EXPECT_EQ(box->GetCoordinatePosition(-5), 0);
    EXPECT_EQ(box->GetCoordinatePosition(1000), 4);
}

TEST_F(TextBoxTest, StyleGivesSelectionAndTextColoursAndTheContentRect) {
    EXPECT_EQ(box->SelectionFill()->SolidColor(), 0xFF00FF00u);
    EXPECT_EQ(box->FontFill()->SolidColor(), 0xFF102030u);
    const TsgRect content = box->ContentRect();
    EXPECT_FLOAT_EQ(content.Left, 3);
    EXPECT_FLOAT_EQ(content.Top, 2);
    EXPECT_FLOAT_EQ(content.Right, 97);
}

TEST_F(TextBoxTest, CommandsEnableByTheSelectionAndTheClipboard) {
    box->SetText(u"abc");
    box->SelectAll();
    EXPECT_FALSE(box->CommandEnabled(TsgTextBox::ecSelectAll));
    EXPECT_TRUE(box->CommandEnabled(TsgTextBox::ecCut));
    box->SetSelLength(0);
    EXPECT_TRUE(box->CommandEnabled(TsgTextBox::ecSelectAll));
    EXPECT_FALSE(box->CommandEnabled(TsgTextBox::ecDelete));
    EXPECT_FALSE(box->CommandEnabled(TsgTextBox::ecPaste));
    Clipboard()->SetAsText(u"z");
    EXPECT_TRUE(box->CommandEnabled(TsgTextBox::ecPaste));
    box->RunCommand(TsgTextBox::ecSelectAll);
    box->RunCommand(TsgTextBox::ecDelete);
    EXPECT_EQ(box->Text(), UnicodeString());
}

TEST_F(TextBoxTest, SelectionSetFromOutsideBeyondTheTextIsCutToIt) {
    box->SetText(u"abc");
    box->SetSelStart(1);
    box->SetSelLength(50);
    EXPECT_EQ(box->SelText(), UnicodeString(u"bc"));
    Type(u"x");
    EXPECT_EQ(State(), "ax caret 2 sel 2+0");
}

TEST_F(TextBoxTest, EscapeLeavesTheBox) {
    Press(VK_ESCAPE);
    EXPECT_EQ(scene->GetFocused(), nullptr);
}

TEST(TextBoxRegistration, ClassesComeByNameAndCategory) {
    RegisterSgTextboxUnit();
    for (const char* name :
         {"TsgTextBox", "TsgRoundTextBox", "TsgHudTextBox", "TsgHudRoundTextBox"})
        EXPECT_NE(GetClass(name), nullptr) << name;
    EXPECT_EQ(GetClass("TsgHudRoundTextBox")->Parent(), &TsgTextBox::StaticClassInfo());
    auto categoryOf = [](const TClassInfo& info) {
        for (int i = 0; i < ObjectList->Count(); ++i)
            if (ObjectList->Objects(i) == static_cast<const void*>(&info))
                return ObjectList->Strings(i);
        return UnicodeString();
    };
    EXPECT_EQ(categoryOf(TsgTextBox::StaticClassInfo()), UnicodeString(u"Text Edits"));
    EXPECT_EQ(categoryOf(TsgRoundTextBox::StaticClassInfo()), UnicodeString(u"Text Edits"));
    EXPECT_EQ(categoryOf(TsgHudTextBox::StaticClassInfo()), UnicodeString(u"HUD"));
    EXPECT_EQ(categoryOf(TsgHudRoundTextBox::StaticClassInfo()), UnicodeString(u"HUD"));
    TsgTextBox box(nullptr);
    EXPECT_EQ(TsgControl::StyleNameOf(TsgHudRoundTextBox::StaticClassInfo()),
              UnicodeString(u"HudRoundTextBoxstyle"));
    EXPECT_EQ(box.Cursor(), -4);
    EXPECT_TRUE(box.CanFocused());
    EXPECT_EQ(box.Width(), 100);
    EXPECT_EQ(box.Height(), 21);
}

} // namespace
