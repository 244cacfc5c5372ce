// Keys, the pointer and the focus of the memo.
#include "scene/controls/Sg_memo.h"

#include "scene/core/Sg_scene_geometry.h"

#include "platform/ui/Input.h"

#include <algorithm>

namespace {

const UnicodeString LineBreak(u"\r\n");

} // namespace

void TsgMemo::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    TsgScrollBox::KeyDown(Key, KeyChar, Shift);
    const TCaretPosition before = FCaret;
    const bool ctrl = Shift.Contains(ssCtrl);
    // Replaces the selection by Text as one undo step.
    auto typeIn = [this](const UnicodeString& Text) {
        const bool replaced = SelLength() > 0;
        if (replaced)
            DeleteFrom(GetSelBeg(), SelLength(), {doMoveCaret, doCanUndo});
        FSelected = false;
        if (replaced)
            InsertAfter(FCaret, Text, {ioMoveCaret, ioCanUndo, ioUnDoPairedWithPriv});
        else
            InsertAfter(FCaret, Text, {ioMoveCaret, ioCanUndo});
    };
    switch (Key) {
    case VK_RETURN:
        if (!FReadOnly) {
            typeIn(LineBreak);
            Key = 0;
        }
        break;
    case VK_BACK:
    case VK_DELETE:
        if (FReadOnly)
            break;
        if (SelLength() > 0) {
            if (Shift == TShiftState(ssShift))
                CutToClipboard();
            else
                ClearSelection();
        } else if (Key == VK_BACK) {
            if (PosToTextPos(FCaret) > 0)
                DeleteFrom(GetPositionShift(FCaret, -1), 1, {doMoveCaret, doCanUndo});
        } else {
            DeleteFrom(FCaret, 1, {doMoveCaret, doCanUndo});
        }
        break;
    case VK_PRIOR:
        MoveCaretPageUp();
        break;
    case VK_NEXT:
        MoveCaretPageDown();
        break;
    case VK_END:
        if (ctrl)
            GoToTextEnd();
        else
            GotoLineEnd();
        break;
    case VK_HOME:
        if (ctrl)
            GoToTextBegin();
        else
            GoToLineBegin();
        break;
    case VK_LEFT:
        if (ctrl)
            SetCaretPosition(GetPrivWordBeging(FCaret));
        else
            MoveCaretLeft();
        break;
    case VK_RIGHT:
        if (ctrl)
            SetCaretPosition(GetNextWordBeging(FCaret));
        else
            MoveCaretRight();
        break;
    case VK_UP:
        MoveCaretUp();
        break;
    case VK_DOWN:
        MoveCaretDown();
        break;
    case VK_INSERT:
        if (ctrl)
            CopyToClipboard();
        else if (Shift.Contains(ssShift))
            PasteFromClipboard();
        break;
    default:
        break;
    }

    if (Shift == TShiftState(ssCtrl)) {
        switch (KeyChar) {
        case u'A':
        case u'a':
            SelectAll();
            KeyChar = 0;
            break;
        case u'C':
        case u'c':
            CopyToClipboard();
            KeyChar = 0;
            break;
        case u'V':
        case u'v':
            PasteFromClipboard();
            KeyChar = 0;
            break;
        case u'X':
        case u'x':
            CutToClipboard();
            KeyChar = 0;
            break;
        case u'Z':
        case u'z':
            KeyChar = 0;
            break;
        default:
            break;
        }
    }
    if ((KeyChar >= 32 && KeyChar != 127) || KeyChar == 13) {
        if (!FReadOnly)
            typeIn(KeyChar == 13 ? LineBreak : UnicodeString(KeyChar, 1));
        KeyChar = 0;
    }

    if (Key >= VK_PRIOR && Key <= VK_DOWN) {
        if (Shift.Contains(ssShift)) {
            if (!FSelected)
                SelectAtPos(before);
            SelectAtPos(FCaret);
        } else {
            FSelected = false;
        }
        Repaint();
    }
    UpdateCaretPosition(true);
}

// ---- Pointer ----

void TsgMemo::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgScrollBox::MouseDown(Button, Shift, X, Y);
    FLastMousePoint = {X, Y};
    if (Button != mbLeft || !sgPtInRect({X, Y}, ContentRect()))
        return;
    if (Shift.Contains(ssDouble)) {
        FMouseSelecting = false;
        SelectWord();
        return;
    }
    FMouseSelecting = true;
    SetCaretPosition(GetPointPosition({X, Y}));
    FSelected = false;
    SelectAtPos(FCaret);
    Repaint();
}

void TsgMemo::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgScrollBox::MouseMove(Shift, X, Y, Dx, Dy);
    FLastMousePoint = {X, Y};
    if (FMouseSelecting)
        SelectAtMousePoint();
}

void TsgMemo::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgScrollBox::MouseUp(Button, Shift, X, Y);
    FMouseSelecting = false;
    if (SelLength() == 0)
        FSelected = false;
}

// ---- Focus ----

void TsgMemo::EnterFocus() {
    TsgScrollBox::EnterFocus();
    FNeedChange = false;
    ShowCaret();
    FCaret = {0, 0};
    UpdateCaretPosition(false);
    if (FAutoSelect)
        SelectAll();
}

void TsgMemo::KillFocus() {
    TsgScrollBox::KillFocus();
    HideCaret();
    Change();
}
