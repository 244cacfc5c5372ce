// Keys, the pointer and the focus of the text box.
#include "scene/controls/Sg_textbox.h"

#include "scene/core/Sg_scene_iscene.h"

#include "platform/ui/Messages.h"

// Only the space separates words.
int TsgTextBox::NextWordStart(int P) const {
    const int n = FText.Length();
    bool passedWord = false;
    bool passedSpace = false;
    int i = P;
    while (i < n) {
        // Fewer than two characters after the caret: the end is the next start.
        if (n - i < 2) {
            if (FText[i + 1] != u' ')
                ++i;
            return i;
        }
        const char16_t c = FText[i + 1];
        if (c == u' ') {
            passedSpace = true;
        } else {
            if (passedSpace && passedWord)
                return i;
            passedWord = true;
        }
        ++i;
    }
    return n;
}

int TsgTextBox::PreviousWordStart(int P) const {
    int i = std::min(P, FText.Length());
    while (i > 0 && FText[i] == u' ')
        --i;
    while (i > 0 && FText[i] != u' ')
        --i;
    return i;
}

void TsgTextBox::MoveCaret(int P, bool Extend) {
    const int old = FCaretPosition;
    SetCaretPosition(P);
    if (Extend) {
        FSelLength += old - FCaretPosition;
        FSelStart = FCaretPosition;
    } else {
        FSelLength = 0;
        FSelStart = FCaretPosition;
    }
    Repaint();
}

void TsgTextBox::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    TsgControl::KeyDown(Key, KeyChar, Shift);
    const bool shiftOnly = Shift == TShiftState(ssShift);
    const bool ctrlOnly = Shift == TShiftState(ssCtrl);
    const bool extend = Shift.Contains(ssShift);
    switch (Key) {
    case VK_BACK:
    case VK_DELETE:
        if (FReadOnly)
            break;
        if (SelLength() > 0) {
            if (shiftOnly)
                CutToClipboard();
            else
                ClearSelection();
        } else if (!FText.IsEmpty()) {
            UnicodeString text = FText;
            if (Key == VK_DELETE) {
                text.Delete(FCaretPosition + 1, 1);
            } else if (FCaretPosition > 0) {
                text.Delete(FCaretPosition, 1);
                SetCaretPosition(FCaretPosition - 1);
            }
            SetText(text);
        }
        Typed();
        break;
    case VK_RETURN:
        FNeedChange = true;
        Change();
        break;
    case VK_ESCAPE:
        if (CanFocused() && IsFocused())
            if (IsgScene* scene = Scene())
                scene->SetFocused(nullptr);
        break;
    case VK_END:
        MoveCaret(FText.Length(), extend);
        break;
    case VK_HOME:
        MoveCaret(0, extend);
        break;
    case VK_LEFT:
        MoveCaret(Shift.Contains(ssCtrl) ? PreviousWordStart(FCaretPosition) : FCaretPosition - 1,
                  extend);
        break;
    case VK_RIGHT:
        MoveCaret(Shift.Contains(ssCtrl) ? NextWordStart(FCaretPosition) : FCaretPosition + 1,
                  extend);
        break;
    case VK_INSERT:
        if (ctrlOnly) {
            CopyToClipboard();
        } else if (shiftOnly) {
            PasteFromClipboard();
            if (FReadOnly)
                Typed();
        }
        break;
    default:
        break;
    }

    if (ctrlOnly) {
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
            if (FReadOnly)
                Typed();
            KeyChar = 0;
            break;
        case u'X':
        case u'x':
            CutToClipboard();
            Typed();
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
    // The filter judges what would be typed; the Ctrl shortcuts above are commands, so a filtered
    // box still copies and pastes by keys.
    if (KeyChar != 0 && !Accepts(KeyChar))
        KeyChar = 0;
    // Control characters (Backspace, Escape, Delete as a character) never become text.
    if (KeyChar >= 32 && KeyChar != 127 && !FReadOnly)
        InsertText(UnicodeString(KeyChar, 1));
    SetCaretPosition(FCaretPosition);
}

// Pointer.

void TsgTextBox::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FLMouseSelecting = true;
    if (!Shift.Contains(ssDouble)) {
        FSelLength = 0;
        SetCaretPosition(GetCoordinatePosition(X));
        FSelStart = FCaretPosition;
    }
}

void TsgTextBox::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgControl::MouseMove(Shift, X, Y, Dx, Dy);
    if (!FLMouseSelecting)
        return;
    int p = GetCoordinatePosition(X);
    // Past the right edge the caret steps on, so dragging there scrolls.
    if (X > ContentRect().Right)
        ++p;
    MoveCaret(p, true);
}

void TsgTextBox::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseUp(Button, Shift, X, Y);
    FLMouseSelecting = false;
}

void TsgTextBox::DblClick() {
    TsgControl::DblClick();
    SelectAll();
}

// Focus.

void TsgTextBox::EnterFocus() {
    TsgControl::EnterFocus();
    FNeedChange = false;
    if (FShowCaret)
        TsgVisualObject::ShowCaret();
    SelectAll();
}

void TsgTextBox::KillFocus() {
    if (FShowCaret)
        HideCaret();
    TsgControl::KillFocus();
    if (FChangeOnKillFocus)
        FNeedChange = true;
    Change();
}
