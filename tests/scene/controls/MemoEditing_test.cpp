// Editing the memo: undo and redo against random edits, the merging of undo records, the keys,
// the clipboard, read-only, the length limit and the change events.
#include "MemoTestSupport.h"

#include <random>

namespace {

struct Chosen {
    TCaretPosition at;
    int count;
    std::u16string text;
};

} // namespace

TEST_F(MemoTest, UndoingEveryEditRestoresTheTextAndRedoAppliesThemAgain) {
    std::mt19937 rng(99);
    for (bool wrap : {false, true}) {
        memo->SetWordWrap(wrap);
        memo->SetText(u"first line\r\nsecond, line - here\r\nthird");
        Focus();
        std::vector<std::string> texts{Text()};
        const std::u16string pieces[] = {u"x", u"yz", u" ", u"\r\n", u"a\nb", u"\r", u"-,"};
        for (int step = 0; step < 300; ++step) {
            const int n = memo->Text().Length();
            const TCaretPosition at = memo->TextPosToPos(int(rng() % unsigned(n + 1)));
            switch (rng() % 6) {
            case 0:
            case 1:
                memo->InsertAfter(at, UnicodeString(pieces[rng() % 7]), {ioMoveCaret, ioCanUndo});
                break;
            case 2:
                memo->DeleteFrom(at, int(rng() % 4) + 1, {doMoveCaret, doCanUndo});
                break;
            case 3: // typing on at the caret
                Type(u"q");
                break;
            case 4:
                Press(rng() % 2 ? VK_BACK : VK_DELETE);
                break;
            default: // a selection replaced by typing
                memo->SetCaretPosition(at);
                Press(VK_RIGHT, TShiftState(ssShift));
                Press(VK_RIGHT, TShiftState(ssShift));
                Type(u"R");
                break;
            }
            if (texts.back() != Text())
                texts.push_back(Text());
        }
        const std::string edited = Text();
        // Every undo step lands on a text the edits went through, earlier each time.
        size_t at = texts.size() - 1;
        while (memo->UndoStack()->Count() > 0) {
            memo->UnDo();
            while (at > 0 && texts[at] != Text())
                --at;
            ASSERT_EQ(texts[at], Text()) << "wrap " << wrap;
        }
        EXPECT_EQ(Text(), texts.front()) << "wrap " << wrap;
        while (memo->UndoStack()->RedoCount() > 0)
            memo->ReDo();
        EXPECT_EQ(Text(), edited) << "wrap " << wrap;
        while (memo->UndoStack()->Count() > 0)
            memo->UnDo();
    }
}

TEST_F(MemoTest, TypingInARowIsOneUndoStepAndAJumpStartsAnother) {
    memo->SetText(u"0123456789");
    Focus();
    memo->SetCaretPosition({0, 2});
    Type(u"abc");
    EXPECT_EQ(memo->UndoStack()->Count(), 1);
    memo->SetCaretPosition({0, 9});
    Type(u"d");
    EXPECT_EQ(memo->UndoStack()->Count(), 2);
    memo->UnDo();
    EXPECT_EQ(Text(), "01abc23456789");
    memo->UnDo();
    EXPECT_EQ(Text(), "0123456789");
}

// Deletions join only when they touch: one a character away from the last stays apart, so the
// text comes back exactly.
TEST_F(MemoTest, DeletionsJoinOnlyWhenAdjacent) {
    memo->SetText(u"XYZW");
    Focus();
    memo->SetCaretPosition({0, 3});
    Press(VK_BACK); // Z
    memo->SetCaretPosition({0, 1});
    Press(VK_BACK); // X
    EXPECT_EQ(Text(), "YW");
    EXPECT_EQ(memo->UndoStack()->Count(), 2);
    memo->UnDo();
    memo->UnDo();
    EXPECT_EQ(Text(), "XYZW");
}

TEST_F(MemoTest, BackspacesInARowAreOneRecordInTextOrder) {
    memo->SetText(u"abcdef");
    Focus();
    memo->SetCaretPosition({0, 5});
    Press(VK_BACK);
    Press(VK_BACK);
    Press(VK_BACK);
    EXPECT_EQ(Text(), "abf");
    ASSERT_EQ(memo->UndoStack()->Count(), 1);
    EXPECT_EQ(memo->UndoStack()->Top().DeletedFragment.ToUtf8(), "cde");
    memo->UnDo();
    EXPECT_EQ(Text(), "abcdef");
    EXPECT_EQ(memo->SelText().ToUtf8(), "cde");
}

TEST_F(MemoTest, TypingOverASelectionUndoesInOneStep) {
    memo->SetText(u"hello world");
    Focus();
    memo->SetCaretPosition({0, 0});
    for (int i = 0; i < 5; ++i)
        Press(VK_RIGHT, TShiftState(ssShift));
    EXPECT_EQ(memo->SelText().ToUtf8(), "hello");
    tracking = 0;
    Type(u"J");
    EXPECT_EQ(Text(), "J world");
    EXPECT_EQ(tracking, 2);
    memo->UnDo();
    EXPECT_EQ(Text(), "hello world");
}

TEST_F(MemoTest, DeletingHalfALineBreakTakesBoth) {
    memo->SetText(u"ab\r\ncd");
    Focus();
    memo->SetCaretPosition({0, 2});
    Press(VK_DELETE);
    EXPECT_EQ(Text(), "abcd");
    memo->UnDo();
    EXPECT_EQ(Text(), "ab\r\ncd");
    EXPECT_FALSE(memo->Selected());
}

TEST_F(MemoTest, KeyTable) {
    struct Row {
        uint16_t key;
        unsigned shift;
        TCaretPosition from, to;
    } rows[] = {
        {VK_END, 0, {1, 1}, {1, 9}},        {VK_HOME, 0, {1, 5}, {1, 0}},
        {VK_END, ssCtrl, {0, 1}, {3, 4}},   {VK_HOME, ssCtrl, {2, 3}, {0, 0}},
        {VK_RIGHT, ssCtrl, {1, 0}, {1, 4}}, {VK_RIGHT, ssCtrl, {1, 4}, {1, 9}},
        {VK_RIGHT, ssCtrl, {1, 9}, {2, 0}}, {VK_LEFT, ssCtrl, {1, 7}, {1, 4}},
        {VK_LEFT, ssCtrl, {1, 4}, {1, 0}},  {VK_LEFT, ssCtrl, {1, 0}, {0, 3}},
        {VK_NEXT, 0, {0, 2}, {3, 2}},       {VK_PRIOR, 0, {3, 2}, {0, 2}},
        {VK_DOWN, 0, {3, 2}, {3, 2}},       {VK_UP, 0, {0, 2}, {0, 2}},
    };
    // Ten lines fit the memo; the page keys move by ten, clamped to the text.
    memo->SetText(u"one\r\nabc defgh\r\nxyz\r\nlast");
    Focus();
    for (const Row& r : rows) {
        memo->SetCaretPosition(r.from);
        Press(r.key, TShiftState(r.shift));
        EXPECT_EQ(Caret(), r.to) << "key " << r.key << " shift " << r.shift << " from "
                                 << r.from.Line << "," << r.from.Pos;
    }
}

TEST_F(MemoTest, ShiftSelectsAndAPlainMoveDropsTheSelection) {
    memo->SetText(u"abcdef\r\nghij");
    Focus();
    memo->SetCaretPosition({0, 0});
    for (int i = 0; i < 3; ++i)
        Press(VK_RIGHT, TShiftState(ssShift));
    EXPECT_EQ(memo->SelText().ToUtf8(), "abc");
    Press(VK_LEFT);
    EXPECT_FALSE(memo->Selected());
    memo->SetCaretPosition({0, 4});
    Press(VK_DOWN, TShiftState(ssShift));
    EXPECT_EQ(memo->SelText().ToUtf8(), "ef\r\nghij");
    Press(VK_HOME, TShiftState(ssShift | ssCtrl));
    EXPECT_EQ(memo->SelText().ToUtf8(), "abcd");
}

TEST_F(MemoTest, ClipboardKeys) {
    memo->SetText(u"one two");
    Focus(true);
    EXPECT_EQ(memo->SelText().ToUtf8(), "one two"); // focus selects all
    Ctrl(u'c');
    EXPECT_EQ(Clipboard()->AsText().ToUtf8(), "one two");
    Press(VK_HOME);
    Press(VK_RIGHT, TShiftState(ssCtrl));
    Press(VK_LEFT);
    Press(VK_RIGHT, TShiftState(ssShift));
    Press(VK_RIGHT, TShiftState(ssShift));
    Press(VK_RIGHT, TShiftState(ssShift));
    Press(VK_RIGHT, TShiftState(ssShift));
    Ctrl(u'x');
    EXPECT_EQ(Text(), "one");
    EXPECT_EQ(Clipboard()->AsText().ToUtf8(), " two");
    Press(VK_HOME);
    Ctrl(u'v');
    EXPECT_EQ(Text(), " twoone");
    Ctrl(u'a');
    Press(VK_INSERT, TShiftState(ssCtrl));
    EXPECT_EQ(Clipboard()->AsText().ToUtf8(), " twoone");
    Clipboard()->SetAsText(u"A\r\nB");
    Press(VK_INSERT, TShiftState(ssShift));
    EXPECT_EQ(Text(), "A\r\nB");
    EXPECT_EQ(memo->GetLineCount(), 2);
    // Paste over a selection is one undo step.
    memo->UnDo();
    EXPECT_EQ(Text(), " twoone");
}

TEST_F(MemoTest, ReadOnlyChangesNothingButCopies) {
    memo->SetText(u"fixed text");
    memo->SetReadOnly(true);
    Focus(true);
    Clipboard()->SetAsText(u"zz");
    Type(u"abc");
    Press(VK_RETURN);
    Press(VK_BACK);
    Press(VK_DELETE);
    Ctrl(u'v');
    Ctrl(u'x');
    EXPECT_EQ(Text(), "fixed text");
    EXPECT_EQ(Clipboard()->AsText().ToUtf8(), "fixed text");
    Ctrl(u'a');
    EXPECT_EQ(memo->SelText().ToUtf8(), "fixed text");
    EXPECT_EQ(memo->UndoStack()->Count(), 0);
}

TEST_F(MemoTest, MaxLengthCutsWhatIsInserted) {
    memo->SetText(u"abcd");
    memo->SetMaxLength(5);
    Focus();
    Press(VK_END, TShiftState(ssCtrl));
    Clipboard()->SetAsText(u"xyz");
    Ctrl(u'v');
    EXPECT_EQ(Text(), "abcdx");
    Type(u"q");
    EXPECT_EQ(Text(), "abcdx");
    memo->UnDo();
    EXPECT_EQ(Text(), "abcd");
}

TEST_F(MemoTest, EnterBreaksTheLineAndChangeComesOnFocusLoss) {
    memo->SetText(u"ab");
    Focus();
    memo->SetCaretPosition({0, 1});
    changes = 0;
    Press(VK_RETURN);
    EXPECT_EQ(Text(), "a\r\nb");
    EXPECT_EQ(Caret(), (TCaretPosition{1, 0}));
    EXPECT_EQ(changes, 0);
    memo->KillFocus();
    EXPECT_EQ(changes, 1);
}

TEST_F(MemoTest, LinesEditTheText) {
    memo->SetText(u"a\r\nb\r\nc");
    memo->Lines()->Delete(1);
    EXPECT_EQ(Text(), "a\r\nc");
    memo->SetText(u"a\r\nb\r\nc");
    memo->Lines()->Delete(2);
    EXPECT_EQ(Text(), "a\r\nb");
    memo->SetText(u"a");
    memo->Lines()->Delete(0);
    EXPECT_EQ(Text(), "");
    memo->Lines()->Add(u"x");
    memo->Lines()->Add(u"y");
    memo->Lines()->Insert(0, u"w");
    EXPECT_EQ(Text(), "w\r\nx\r\ny");
}

TEST_F(MemoTest, CharCaseAppliesToTheNextChange) {
    memo->SetCharCase(ecUpperCase);
    memo->SetText(u"abc");
    EXPECT_EQ(Text(), "ABC");
    memo->SetCharCase(ecLowerCase);
    EXPECT_EQ(Text(), "ABC");
    Focus();
    Type(u"D");
    EXPECT_EQ(Text(), "dabc");
}

TEST_F(MemoTest, DoubleClickSelectsAWordWithItsBlanks) {
    memo->SetText(u"one two  three");
    Focus();
    memo->MouseDown(mbLeft, TShiftState(), 52, 5);
    memo->MouseUp(mbLeft, TShiftState(), 52, 5);
    memo->MouseDown(mbLeft, TShiftState(ssDouble), 52, 5);
    EXPECT_EQ(memo->SelText().ToUtf8(), "two  ");
}

TEST_F(MemoTest, DraggingSelects) {
    memo->SetText(u"abcdef\r\nghijkl");
    Focus();
    memo->MouseDown(mbLeft, TShiftState(ssLeft), 21, 5);
    memo->MouseMove(TShiftState(ssLeft), 21, 15, 0, 10);
    memo->MouseUp(mbLeft, TShiftState(), 21, 15);
    EXPECT_EQ(memo->SelText().ToUtf8(), "cdef\r\ngh");
}

TEST_F(MemoTest, ContextMenuEntriesFollowTheState) {
    TMenuItem* items = memo->PopupMenu()->Items();
    ASSERT_EQ(items->Count(), 6);
    const char* captions[] = {"Undo", "Cut", "Copy", "Paste", "Delete", "Select All"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(items->Items(i)->Caption().ToUtf8(), captions[i]);
    auto enabled = [&] {
        memo->UpdatePopupMenuItems();
        std::string s;
        for (int i = 0; i < 6; ++i)
            s += items->Items(i)->Enabled() ? '1' : '0';
        return s;
    };
    memo->SetText(u"some text");
    Focus();
    Clipboard()->Clear();
    EXPECT_EQ(enabled(), "000001");
    Press(VK_RIGHT, TShiftState(ssShift));
    Type(u"S");
    Clipboard()->SetAsText(u"x");
    EXPECT_EQ(enabled(), "100101");
    Ctrl(u'a');
    EXPECT_EQ(enabled(), "111110");
    memo->SetReadOnly(true);
    EXPECT_EQ(enabled(), "001000");
    memo->SetReadOnly(false);
    // The entries run their commands.
    items->Items(2)->Click();
    EXPECT_EQ(Clipboard()->AsText().ToUtf8(), "Some text");
    items->Items(4)->Click();
    EXPECT_EQ(Text(), "");
    items->Items(0)->Click();
    EXPECT_EQ(Text(), "Some text");
    memo->SetCaretPosition({0, 4});
    memo->SelectAtPos({0, 4});
    items->Items(5)->Click();
    EXPECT_EQ(memo->SelText().ToUtf8(), "Some text");
    items->Items(1)->Click();
    items->Items(3)->Click();
    EXPECT_EQ(Text(), "Some text");
}
