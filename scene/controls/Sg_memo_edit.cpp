// Editing the memo: the two primitives every change passes through, undo and redo, the
// selection, the clipboard and the line operations behind Lines.
#include "scene/controls/Sg_memo.h"

#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_iscene.h"

#include "platform/rtl/Conversions.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Menus.h"

#include <algorithm>

namespace {

bool IsBreakChar(char16_t C) {
    return C == u'\r' || C == u'\n';
}

} // namespace

// ---- Primitives ----

void TsgMemo::ReplaceText(int Offset, int Count, const UnicodeString& Fragment) {
    std::u16string& s = FText.str();
    const int n = static_cast<int>(s.size());
    const int a = std::clamp(Offset, 0, n);
    const int b = std::clamp(a + Count, a, n);
    // The paragraphs the edit touches: from the one holding the character before it (a break
    // typed after a lone CR joins it) to the one holding the character after it.
    int startLine = 0;
    int endLine = 0;
    int startBegin = 1;
    if (const int lines = GetLineCount(); lines > 0) {
        startLine = a > 0 ? TextPosToPos(a - 1).Line : 0;
        while (startLine > 0 && !IsBreakChar(s[size_t(LineStart(startLine) - 2)]))
            --startLine;
        endLine = GetLineRealEnd({b < n ? TextPosToPos(b).Line : lines - 1, 0}).Line;
        startBegin = LineStart(startLine);
    }
    const float oldWidest = Canvas() ? OldWidestWidth() : 0;
    const int delta = Fragment.Length() - (b - a);
    auto follow = [&](int o) { return o >= b ? o + delta : std::min(o, a); };
    const int caret = follow(PosToTextPos(FCaret));
    const int selStart = FSelected ? follow(PosToTextPos(FSelStart)) : 0;
    const int selEnd = FSelected ? follow(PosToTextPos(FSelEnd)) : 0;

    s.replace(size_t(a), size_t(b - a), Fragment.str());
    UpdateRngLinesBegs(startLine, endLine, startBegin, a + Fragment.Length(), delta, oldWidest);
    StoreEditedText();

    FCaret = TextPosToPos(caret);
    if (FSelected) {
        FSelStart = TextPosToPos(selStart);
        FSelEnd = TextPosToPos(selEnd);
    }
}

void TsgMemo::InsertAfter(TCaretPosition Position, const UnicodeString& Fragment,
                          TInsertOptions Options) {
    UnicodeString f = Fragment;
    if (FMaxLength > 0)
        f = f.SubString(1, std::max(FMaxLength - FText.Length(), 0));
    if (f.IsEmpty())
        return;
    const int a = PosToTextPos(Position);
    if (Options.Contains(ioCanUndo))
        FUndo->FragmentInserted(a, f.Length(), Options.Contains(ioUnDoPairedWithPriv));
    ReplaceText(a, 0, f);
    if (Options.Contains(ioSelected)) {
        FSelStart = TextPosToPos(a);
        FSelEnd = TextPosToPos(a + f.Length());
        FSelected = true;
        SetCaretPosition(FSelEnd);
    } else if (!Loading()) {
        SetCaretPosition(FCaret);
    }
    if (!FLinesUpdateHeld)
        Realign();
}

void TsgMemo::DeleteFrom(TCaretPosition Position, int Count, TDeleteOptions Options) {
    const std::u16string& s = FText.str();
    const int length = static_cast<int>(s.size());
    int b = PosToTextPos(Position) + 1;
    int n = std::min(Count, length - b + 1);
    if (n <= 0)
        return;
    // A CR LF pair goes as a whole.
    if (s[size_t(b + n - 2)] == u'\r' && b + n - 1 < length && s[size_t(b + n - 1)] == u'\n')
        ++n;
    if (s[size_t(b - 1)] == u'\n' && b > 1 && s[size_t(b - 2)] == u'\r') {
        --b;
        ++n;
    }
    if (Options.Contains(doCanUndo))
        FUndo->FragmentDeleted(b, FText.SubString(b, n));
    ReplaceText(b - 1, n, UnicodeString());
    if (Options.Contains(doMoveCaret) || (FSelected && SelLength() > 0)) {
        FSelected = false;
        SetCaretPosition(TextPosToPos(b - 1));
    } else {
        UpdateCaretPosition(false);
    }
    if (!FLinesUpdateHeld)
        Realign();
}

// ---- Undo ----

void TEdtActionStack::FragmentInserted(int StartPos, int Length, bool PairedWithPriv) {
    if (Length == 0)
        return;
    if (!FReplaying)
        FRedo.clear();
    // Only typing that goes on at either end of the last insertion joins it.
    if (!FRecords.empty() && FRecords.back().ActionType == atInsert &&
        (StartPos == FRecords.back().StartPosition + FRecords.back().Length ||
         StartPos == FRecords.back().StartPosition)) {
        FRecords.back().Length += Length;
        return;
    }
    TEdtAction action;
    action.ActionType = atInsert;
    action.StartPosition = StartPos;
    action.Length = Length;
    action.PairedWithPriv = PairedWithPriv;
    FRecords.push_back(action);
}

void TEdtActionStack::FragmentDeleted(int StartPos, const UnicodeString& Fragment) {
    if (Fragment.IsEmpty())
        return;
    if (!FReplaying)
        FRedo.clear();
    // Delete again at the same place appends; Backspace just before the last deletion prepends.
    if (!FRecords.empty() && FRecords.back().ActionType == atDelete) {
        TEdtAction& top = FRecords.back();
        if (StartPos == top.StartPosition) {
            top.DeletedFragment += Fragment;
            return;
        }
        if (StartPos + Fragment.Length() == top.StartPosition) {
            top.DeletedFragment = Fragment + top.DeletedFragment;
            top.StartPosition = StartPos;
            return;
        }
    }
    TEdtAction action;
    action.ActionType = atDelete;
    action.StartPosition = StartPos;
    action.DeletedFragment = Fragment;
    FRecords.push_back(action);
}

// Undo and redo edit the text directly: they restore exact texts, so the length limit and the
// joining of CR LF pairs that guard typing must not touch them.
bool TEdtActionStack::RollBackAction() {
    if (FRecords.empty())
        return false;
    TsgMemo* m = FOwner;
    std::vector<TRedoEdit> group;
    while (true) {
        const TEdtAction action = FRecords.back();
        FRecords.pop_back();
        if (action.ActionType == atDelete) {
            const int at = action.StartPosition - 1;
            const int end = at + action.DeletedFragment.Length();
            m->ReplaceText(at, 0, action.DeletedFragment);
            if (action.DeletedFragment != UnicodeString(u"\r\n")) {
                m->FSelStart = m->TextPosToPos(at);
                m->FSelEnd = m->TextPosToPos(end);
                m->FSelected = true;
            } else {
                m->FSelected = false;
            }
            m->FCaret = m->TextPosToPos(end);
            group.push_back({atDelete, at, action.DeletedFragment, action.PairedWithPriv});
        } else {
            const UnicodeString inserted =
                m->FText.SubString(action.StartPosition + 1, action.Length);
            m->ReplaceText(action.StartPosition, action.Length, UnicodeString());
            m->FSelected = false;
            m->FCaret = m->TextPosToPos(action.StartPosition);
            group.push_back({atInsert, action.StartPosition, inserted, action.PairedWithPriv});
        }
        if (FRecords.empty() || !action.PairedWithPriv)
            break;
    }
    FRedo.push_back(std::move(group));
    m->SetCaretPosition(m->FCaret);
    if (!m->FLinesUpdateHeld)
        m->Realign();
    return true;
}

bool TEdtActionStack::RedoAction() {
    if (FRedo.empty())
        return false;
    TsgMemo* m = FOwner;
    const std::vector<TRedoEdit> group = std::move(FRedo.back());
    FRedo.pop_back();
    FReplaying = true;
    for (auto it = group.rbegin(); it != group.rend(); ++it) {
        const int length = it->Fragment.Length();
        if (it->ActionType == atInsert) {
            FragmentInserted(it->Offset, length, it->Paired);
            m->ReplaceText(it->Offset, 0, it->Fragment);
            m->FCaret = m->TextPosToPos(it->Offset + length);
        } else {
            FragmentDeleted(it->Offset + 1, it->Fragment);
            m->ReplaceText(it->Offset, length, UnicodeString());
            m->FCaret = m->TextPosToPos(it->Offset);
        }
        m->FSelected = false;
    }
    FReplaying = false;
    m->SetCaretPosition(m->FCaret);
    if (!m->FLinesUpdateHeld)
        m->Realign();
    return true;
}

void TsgMemo::UnDo() {
    FUndo->RollBackAction();
}

void TsgMemo::ReDo() {
    FUndo->RedoAction();
}

// ---- Selection ----

namespace {

bool Before(TCaretPosition A, TCaretPosition B) {
    return A.Line < B.Line || (A.Line == B.Line && A.Pos < B.Pos);
}

} // namespace

TCaretPosition TsgMemo::GetSelBeg() const {
    return Before(FSelEnd, FSelStart) ? FSelEnd : FSelStart;
}

TCaretPosition TsgMemo::GetSelEnd() const {
    return Before(FSelEnd, FSelStart) ? FSelStart : FSelEnd;
}

void TsgMemo::SelectAtPos(TCaretPosition P) {
    if (FSelected) {
        FSelEnd = P;
        return;
    }
    FSelStart = P;
    FSelEnd = P;
    FSelected = true;
}

int TsgMemo::SelStart() const {
    return PosToTextPos(FSelected ? GetSelBeg() : FCaret);
}

int TsgMemo::SelLength() const {
    return FSelected ? PosToTextPos(GetSelEnd()) - PosToTextPos(GetSelBeg()) : 0;
}

UnicodeString TsgMemo::SelText() const {
    return FSelected ? FText.SubString(SelStart() + 1, SelLength()) : UnicodeString();
}

void TsgMemo::SelectAll() {
    GoToTextEnd();
    FSelStart = FCaret;
    FSelEnd = {0, 0};
    FSelected = true;
    UpdateCaretPosition(true);
    Repaint();
}

void TsgMemo::SelectWord() {
    FSelStart = GetPrivWordBeging(FCaret);
    FSelEnd = GetNextWordBeging(FCaret);
    FSelected = true;
    Repaint();
}

void TsgMemo::SelectAtMousePoint() {
    const TsgRect content = ContentRect();
    TsgPoint p = FLastMousePoint;
    p.X = std::clamp(p.X, content.Left, content.Right);
    p.Y = std::clamp(p.Y, content.Top, content.Bottom);
    SetCaretPosition(GetPointPosition(p));
    SelectAtPos(FCaret);
    Repaint();
}

void TsgMemo::ClearSelection() {
    if (FReadOnly)
        return;
    DeleteFrom(GetSelBeg(), SelLength(), {doMoveCaret, doCanUndo});
}

// ---- Clipboard ----

void TsgMemo::CopyToClipboard() {
    const UnicodeString text = SelText();
    if (!text.IsEmpty())
        Clipboard()->SetAsText(text);
}

void TsgMemo::CutToClipboard() {
    CopyToClipboard();
    ClearSelection();
}

void TsgMemo::PasteFromClipboard() {
    if (FReadOnly)
        return;
    const UnicodeString text = Clipboard()->AsText();
    if (SelLength() == 0) {
        InsertAfter(FCaret, text, {ioMoveCaret, ioCanUndo});
    } else {
        DeleteFrom(GetSelBeg(), SelLength(), {doMoveCaret, doCanUndo});
        InsertAfter(FCaret, text, {ioMoveCaret, ioCanUndo, ioUnDoPairedWithPriv});
    }
    Change();
}

// ---- Lines ----

void TsgMemo::InsertLine(int I, const UnicodeString& S) {
    const int count = GetLineCount();
    if (I < count)
        InsertAfter({std::max(I, 0), 0}, S + u"\r\n", {});
    else if (count == 0)
        InsertAfter({0, 0}, S, {});
    else
        InsertAfter({count - 1, GetLine(count - 1).Length()}, UnicodeString(u"\r\n") + S, {});
}

void TsgMemo::DeleteLine(int I) {
    const int count = GetLineCount();
    if (I < 0 || I >= count)
        return;
    if (count == 1) {
        SetText(UnicodeString());
    } else if (I == count - 1) {
        const TCaretPosition from{I - 1, GetLine(I - 1).Length()};
        DeleteFrom(from, FText.Length() - PosToTextPos(from), {});
    } else {
        DeleteFrom({I, 0}, GetLineInternal(I).Length(), {});
    }
}

// ---- Context menu ----

void TsgMemo::CreatePopupMenu() {
    FPopupMenu = std::make_unique<TPopupMenu>(nullptr);
    const struct {
        const char16_t* caption;
        TNotifyEvent click;
    } entries[] = {
        {u"Undo", TNotifyEvent::Bind<&TsgMemo::DoUndo>(this)},
        {u"Cut", TNotifyEvent::Bind<&TsgMemo::DoCut>(this)},
        {u"Copy", TNotifyEvent::Bind<&TsgMemo::DoCopy>(this)},
        {u"Paste", TNotifyEvent::Bind<&TsgMemo::DoPaste>(this)},
        {u"Delete", TNotifyEvent::Bind<&TsgMemo::DoDelete>(this)},
        {u"Select All", TNotifyEvent::Bind<&TsgMemo::DoSelectAll>(this)},
    };
    for (const auto& entry : entries) {
        auto* item = new TMenuItem(FPopupMenu.get());
        item->SetCaption(entry.caption);
        item->OnClick = entry.click;
        FPopupMenu->Items()->Add(item);
    }
}

void TsgMemo::UpdatePopupMenuItems() {
    TMenuItem* items = FPopupMenu ? FPopupMenu->Items() : nullptr;
    if (!items || items->Count() != 6)
        return;
    const bool selected = !SelText().IsEmpty();
    items->Items(0)->SetEnabled(FUndo->Count() > 0 && !FReadOnly);
    items->Items(1)->SetEnabled(selected && !FReadOnly);
    items->Items(2)->SetEnabled(selected);
    items->Items(3)->SetEnabled(!Clipboard()->AsText().IsEmpty() && !FReadOnly);
    items->Items(4)->SetEnabled(selected && !FReadOnly);
    items->Items(5)->SetEnabled(SelText() != FText);
}

void TsgMemo::ContextMenu(const TsgPoint& ScreenPosition) {
    TsgScrollBox::ContextMenu(ScreenPosition);
    IsgScene* scene = Scene();
    if ((scene && scene->GetDesignTime()) || !FPopupMenu)
        return;
    UpdatePopupMenuItems();
    FPopupMenu->SetPopupComponent(this);
    bool handled = true;
    auto* root = scene ? dynamic_cast<TsgBackground*>(scene->GetRoot()) : nullptr;
    if (root && root->OnMenuPopup)
        root->OnMenuPopup(this, FPopupMenu.get(), ScreenPosition, handled);
    else
        handled = false;
    if (!handled)
        FPopupMenu->Popup(static_cast<int>(Round(ScreenPosition.X)),
                          static_cast<int>(Round(ScreenPosition.Y)));
}
