// TsgMemo: the multi-line plain-text editor of the toolkit, built on the scroll box.
//
// The whole text is one wide string. From it the memo derives a table of display lines: entry k
// is the 1-based index in the text of the first character of display line k. The text is cut at
// every line break (CR LF, a lone CR or a lone LF) and, with WordWrap, again before the first
// word that no longer fits the viewport. The caret and both selection ends are (display line,
// characters before it) pairs; painting, hit testing and scrolling share one geometry.
//
// Every edit goes through InsertAfter and DeleteFrom, which lay out only the edited paragraph
// again and shift the rest of the table, so typing costs the same in a short memo and in a long
// one. Painting draws only the lines in view.
//
// Undo keeps one record per run of adjacent typing or deleting; undoing moves records to a redo
// list, which the next edit of its own empties.
#pragma once

#include "scene/controls/Sg_scrollbox.h"
#include "scene/core/Sg_classes_widestrings.h"
#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_font.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

class TPopupMenu;
class TsgMemo;
class TsgWideStringList;

struct TCaretPosition {
    int Line = 0;
    int Pos = 0;
    bool operator==(const TCaretPosition&) const = default;
};

inline TCaretPosition ComposeCaretPos(int Line, int Pos) {
    return {Line, Pos};
}

using TLinesBegs = std::vector<int>;
using PLinesBegs = TLinesBegs*;
using TSelArea = std::vector<TsgRect>;

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

enum TInsertOption { ioSelected, ioMoveCaret, ioCanUndo, ioUnDoPairedWithPriv };
enum TDeleteOption { doMoveCaret, doCanUndo };

// A small set over one of the option enumerations.
template <typename E>
class TOptionSet {
public:
    TOptionSet() = default;
    TOptionSet(std::initializer_list<E> Items) {
        for (E e : Items)
            FBits |= 1u << e;
    }
    bool Contains(E e) const { return (FBits >> e) & 1u; }

private:
    unsigned FBits = 0;
};
using TInsertOptions = TOptionSet<TInsertOption>;
using TDeleteOptions = TOptionSet<TDeleteOption>;

enum TActionType : uint8_t { atDelete = 0, atInsert = 1 };

// One undo record. For atDelete StartPosition is the 1-based index of the first deleted
// character; for atInsert the 0-based text offset of the insertion.
struct TEdtAction {
    TActionType ActionType = atInsert;
    bool PairedWithPriv = false;
    int StartPosition = 0;
    UnicodeString DeletedFragment;
    int Length = 0;
};
using PEdtAction = TEdtAction*;

class TEdtActionStack {
public:
    explicit TEdtActionStack(TsgMemo* Owner) : FOwner(Owner) {}

    void FragmentInserted(int StartPos, int Length, bool PairedWithPriv);
    void FragmentDeleted(int StartPos, const UnicodeString& Fragment);
    // Undoes the top record and those paired with it; false when there was nothing to undo.
    bool RollBackAction();
    // Applies again what the last RollBackAction undid; false when there is nothing to redo.
    bool RedoAction();
    int Count() const { return static_cast<int>(FRecords.size()); }
    int RedoCount() const { return static_cast<int>(FRedo.size()); }
    const TEdtAction& Top() const { return FRecords.back(); }
    // A new edit makes what was undone unreachable.
    void ForgetRedo() { FRedo.clear(); }

private:
    // What an undone group needs to be done again: the edits in their original order.
    struct TRedoEdit {
        TActionType ActionType;
        int Offset; // 0-based
        UnicodeString Fragment;
        bool Paired;
    };
    TsgMemo* FOwner;
    std::vector<TEdtAction> FRecords;
    std::vector<std::vector<TRedoEdit>> FRedo;
    bool FReplaying = false;
};

// The display lines of a memo as a string list; editing it edits the memo's text.
class TsgMemoLines : public TsgWideStrings {
public:
    explicit TsgMemoLines(TsgMemo* Memo) : FMemo(Memo) {}
    int GetCount() override;
    UnicodeString Get(int Index) override;
    void Insert(int Index, const UnicodeString& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void SetUpdateState(bool Updating) override;

private:
    TsgMemo* FMemo;
};

class TsgMemo : public TsgScrollBox {
    DBI_PERSISTENT(TsgMemo, TsgScrollBox)

    friend class TEdtActionStack;

    explicit TsgMemo(TComponent* AOwner);
    ~TsgMemo() override;

    // Text and the published properties.
    const UnicodeString& Text() const { return FText; }
    virtual void SetText(const UnicodeString& Value);
    TsgMemoLines* Lines() const { return FLines; }
    TsgFont* Font() const { return FFont; }
    void SetFont(TsgFont* Value) { FFont->Assign(Value); }
    TsgTextAlign TextAlign() const { return FTextAlign; }
    void SetTextAlign(TsgTextAlign Value) { FTextAlign = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value) { FMaxLength = Value; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    TsgBrush* FontFill() const { return FFontFill; }
    TsgBrush* SelectionFill() const { return FSelectionFill; }
    TsgWideStringList* UnwrapLines() { return GetUnwrapLines(); }
    TsgWideStringList* GetUnwrapLines();
    TEdtActionStack* UndoStack() const { return FUndo; }
    // Repaints only; the text keeps its own alignment.
    void SetTextAlignment(int Value);
    int TextAlignment() const { return FTextAlignment; }

    // Lines and positions.
    const TLinesBegs& LinesBegs() const { return FLinesBegs; }
    int GetLineCount() const;
    void GetLineBounds(int I, int& Begin, int& Length) const;
    UnicodeString GetLineInternal(int I) const;
    UnicodeString GetLine(int I) const;
    int PosToTextPos(TCaretPosition P) const;
    TCaretPosition TextPosToPos(int Offset) const;
    TCaretPosition GetLineRealEnd(TCaretPosition P) const;
    TCaretPosition GetPositionShift(TCaretPosition P, int Delta) const;
    TCaretPosition GetNextWordBeging(TCaretPosition P) const;
    TCaretPosition GetPrivWordBeging(TCaretPosition P) const;
    float GetLineHeight() const;
    float GetPageSize();
    TsgRect ContentRect();
    float TextWidth(const UnicodeString& S);
    float GetLineWidth(int I);
    float LineWidth(int LineNum) { return GetLineWidth(LineNum); }
    int GetWidestLine();
    int WidestLine() const { return FWidestLine; }
    float VScrollBarValue() const;
    float HScrollBarValue() const;
    TsgPoint GetPositionPoint(TCaretPosition P);
    TCaretPosition GetPointPosition(TsgPoint Pt);
    // The character boundary on Line nearest to X (memo coordinates).
    int PosAtX(int Line, float X);

    // Caret and scrolling.
    TCaretPosition CaretPosition() const { return FCaret; }
    void SetCaretPosition(TCaretPosition P);
    void UpdateCaretPosition(bool Track);
    void MoveCaretLeft() { MoveCareteBy(-1); }
    void MoveCaretRight() { MoveCareteBy(1); }
    void MoveCaretUp() { MoveCaretVertical(-1); }
    void MoveCaretDown() { MoveCaretVertical(1); }
    void MoveCaretPageUp();
    void MoveCaretPageDown();
    void GoToTextBegin();
    void GoToTextEnd();
    void GoToLineBegin();
    void GotoLineEnd();
    void SetUpdateState(bool Updating);

    // Editing primitives: every change of the text after SetText goes through them.
    void InsertAfter(TCaretPosition Position, const UnicodeString& Fragment,
                     TInsertOptions Options);
    void DeleteFrom(TCaretPosition Position, int Count, TDeleteOptions Options);
    void UnDo();
    void ReDo();

    // Selection.
    TCaretPosition GetSelBeg() const;
    TCaretPosition GetSelEnd() const;
    bool Selected() const { return FSelected; }
    void SelectAtPos(TCaretPosition P);
    int SelStart() const;
    int SelLength() const;
    UnicodeString SelText() const;
    void SelectAll();
    void SelectWord();
    void SelectAtMousePoint();
    void ClearSelection();
    virtual TSelArea GetSelArea();
    bool GetShowSelection() const { return IsFocused() || !FHideSelection; }

    // Context menu: "Undo", "Cut", "Copy", "Paste", "Delete", "Select All".
    TPopupMenu* PopupMenu() const { return FPopupMenu.get(); }
    virtual void CreatePopupMenu();
    virtual void UpdatePopupMenuItems();
    void ContextMenu(const TsgPoint& ScreenPosition) override;
    void DoUndo(TObject*) { UnDo(); }
    void DoCut(TObject*) { CutToClipboard(); }
    void DoCopy(TObject*) { CopyToClipboard(); }
    void DoPaste(TObject*) { PasteFromClipboard(); }
    void DoDelete(TObject*) { ClearSelection(); }
    void DoSelectAll(TObject*) { SelectAll(); }

    // Clipboard.
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    // Lines editing, as TsgMemoLines runs it: no undo records, no selection.
    void InsertLine(int I, const UnicodeString& S);
    void DeleteLine(int I);
    void ClearLines() { SetText(UnicodeString()); }

    virtual bool ValidText(const UnicodeString&) { return true; }
    virtual void DrawPasswordChar(const TsgRect& Rect, bool Selected);
    virtual void Change();
    bool CanAutoSize(float& NewWidth, float& NewHeight);

    // Input.
    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) override;
    void EnterFocus() override;
    void KillFocus() override;
    TsgPoint CompositionOffset() override;

    TsgRect GetContentBounds() override;
    void VScrollChange(TObject* Sender) override;
    void HScrollChange(TObject* Sender) override;

    TsgVariant GetData() override { return FText; }
    void SetData(const TsgVariant& Value) override { SetText(Value); }

    TNotifyEvent OnChange, OnChangeTracking;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }
    const TNotifyEvent& GetOnChangeTracking() const { return OnChangeTracking; }
    void SetOnChangeTracking(const TNotifyEvent& V) { OnChangeTracking = V; }

protected:
    void ApplyStyle() override;
    void FreeStyle() override;
    virtual void FontChanged();
    virtual void DoContentPaint(TObject* Sender, TsgCanvas* Canvas, const TsgRect& ARect);

private:
    void FontNotice(TObject*) { FontChanged(); }
    // Stores an edited text: case, tracking event and change flag as SetText, no layout.
    void StoreEditedText();
    // Replaces Count characters at 0-based Offset by Fragment, lays out the touched paragraphs
    // again and keeps the caret and the selection at their places in the text.
    void ReplaceText(int Offset, int Count, const UnicodeString& Fragment);
    void MoveCareteBy(int Delta);
    void MoveCaretVertical(int Delta);
    void UpdateVScrlBarByCaretPos();
    void UpdateHScrlBarByCaretPos();
    void StorePositions();
    void RestorePositions();
    void Relayout();

    // Layout.
    void UpdateLines();
    // Lays the text out from Begin (1-based, a paragraph start) and appends the starts of the
    // display lines after the first one to Out. It stops at the text end or after the first line
    // break that reaches 0-based offset ParagraphEnd (Stopped; never for ParagraphEnd < 0).
    // Answers how many lines after the first one the widest paragraph begins.
    int LayOutRange(int Begin, int ParagraphEnd, TLinesBegs& Out, bool& Measured, bool& Stopped);
    void WrapParagraph(const std::u16string& P, int B, float Avail, TLinesBegs& Out);
    void UpdateRngLinesBegs(int StartLine, int EndLine, int StartBegin, int EndPos, int Delta,
                            float OldWidest);
    int LineStart(int K) const { return FLinesBegs[static_cast<size_t>(K)]; }
    float RawTextWidth(const std::u16string& S);
    float AlignShift(float LineW, float ContentW) const;
    float OldWidestWidth();

    bool FNeedChange = false;
    UnicodeString FText;
    TsgBrush* FFontFill;
    TsgFont* FFont;
    TsgTextAlign FTextAlign = sgTextAlignNear;
    bool FLinesFollowText = true;
    bool FMouseSelecting = false;
    TsgPoint FLastMousePoint{};
    TCaretPosition FCaret{};
    int FFirstVisibleChar = 1;
    TsgWideStringList* FUnwrapLines = nullptr;
    bool FAutoSelect = true;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
    int FMaxLength = 0;
    bool FReadOnly = false;
    int FTextAlignment = 0;
    TEdtActionStack* FUndo;
    TsgMemoLines* FLines;
    bool FWordWrap = false;
    TLinesBegs FLinesBegs;
    TCaretPosition FSelStart{};
    TCaretPosition FSelEnd{};
    bool FSelected = false;
    int FSavedSelStart = -1;
    int FSavedSelEnd = -1;
    int FSavedCaret = -1;
    TsgBrush* FSelectionFill;
    bool FLinesUpdateHeld = false;
    int FWidestLine = 0;
    // The viewport width the lines were last wrapped to; a realign re-wraps only when it moved.
    float FWrapWidth = -1;
    TsgVisualObject* FContentPart = nullptr;
    std::unique_ptr<TPopupMenu> FPopupMenu;
};

class TsgHudMemo : public TsgMemo {
    DBI_PERSISTENT(TsgHudMemo, TsgMemo)
    using TsgMemo::TsgMemo;
};

// Registers the memos by category ("Text Edits", "HUD"); runs once.
void RegisterSgMemoUnit();
