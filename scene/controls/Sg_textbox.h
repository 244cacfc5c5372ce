// TsgTextBox: the single-line text editor of the toolkit.
//
// It keeps the text, the caret (the number of characters before it), a selection and the first
// visible character (1-based; the characters before it are scrolled out to the left), and draws
// the text and the selection itself into the "content" part of its style. Two changes are told
// apart: OnChangeTracking comes with every change of Text, OnChange only when the change is
// committed (Enter, or leaving the box after a change).
//
// The selection is FSelStart with a signed FSelLength. While a selection is extended FSelStart
// holds the caret and FSelStart + FSelLength is the anchor, so it grows to either side of it.
//
// The round and HUD boxes differ only in the style their class name selects.
#pragma once

#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_control.h"
#include "scene/core/Sg_scene_font.h"

class TPopupMenu;

class TsgTextBox : public TsgControl {
    DBI_PERSISTENT(TsgTextBox, TsgControl)

    explicit TsgTextBox(TComponent* AOwner);
    ~TsgTextBox() override;

    const UnicodeString& Text() const { return FText; }
    virtual void SetText(const UnicodeString& Value);
    TsgFont* Font() const { return FFont; }
    void SetFont(TsgFont* Value) { FFont->Assign(Value); }
    TsgTextAlign TextAlign() const { return FTextAlign; }
    void SetTextAlign(TsgTextAlign Value);
    bool Password() const { return FPassword; }
    void SetPassword(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    int MaxLength() const { return FMaxLength; }
    // The present text is kept even when it is longer.
    void SetMaxLength(int Value) { FMaxLength = Value; }
    bool ShowCaret() const { return FShowCaret; }
    void SetShowCaret(bool Value) { FShowCaret = Value; }
    bool ChangeOnKillFocus() const { return FChangeOnKillFocus; }
    void SetChangeOnKillFocus(bool Value) { FChangeOnKillFocus = Value; }
    // Accepted characters; empty accepts all.
    const UnicodeString& FilterChar() const { return FFilterChar; }
    void SetFilterChar(const UnicodeString& Value) { FFilterChar = Value; }
    TsgBrush* FontFill() const { return FFontFill; }
    TsgBrush* SelectionFill() const { return FSelectionFill; }

    // Caret and selection.
    int CaretPosition() const { return FCaretPosition; }
    void SetCaretPosition(int Value);
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    UnicodeString SelText() const;
    int FirstVisibleChar() const { return FFirstVisibleChar; }

    // Editing.
    void SelectAll();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void ClearSelection();
    // Replaces the selection by AText unless the result would pass MaxLength.
    void InsertText(const UnicodeString& AText);
    // Commits a pending change: bound controls and OnChange hear of it.
    virtual void Change();

    // Geometry, in the control's coordinates.
    TsgRect ContentRect();
    virtual float GetCharX(int P);
    virtual int GetCoordinatePosition(float X);
    TsgRect GetSelRect();
    float TextWidth(const UnicodeString& S);
    float GetPasswordCharWidth() const { return FFont->Size() / 2; }
    TsgPoint CompositionOffset() override;

    // The commands of the context menu, in its order, and whether each may run now.
    enum TEditCommand { ecCut, ecCopy, ecPaste, ecDelete, ecSelectAll };
    bool CommandEnabled(TEditCommand Command);
    void RunCommand(TEditCommand Command);
    // The box's own context menu: "Cut", "Copy", "Paste", "Delete", "Select All".
    TPopupMenu* PopupMenu() const { return FContextMenu; }
    // Enables the items for the present state, then opens the menu at the point unless the
    // root background's OnMenuPopup takes it.
    void ContextMenu(const TsgPoint& ScreenPosition) override;

    // Input.
    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void DblClick() override;
    void EnterFocus() override;
    void KillFocus() override;

    TsgVariant GetData() override { return FText; }
    void SetData(const TsgVariant& Value) override { SetText(Value); }

    TNotifyEvent OnChange, OnChangeTracking, OnTyping;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }
    const TNotifyEvent& GetOnChangeTracking() const { return OnChangeTracking; }
    void SetOnChangeTracking(const TNotifyEvent& V) { OnChangeTracking = V; }
    const TNotifyEvent& GetOnTyping() const { return OnTyping; }
    void SetOnTyping(const TNotifyEvent& V) { OnTyping = V; }

protected:
    void ApplyStyle() override;
    void FreeStyle() override;
    virtual void FontChanged();
    virtual void DoContentPaint(TObject* Sender, TsgCanvas* Canvas, const TsgRect& ARect);
    // The number box raises this while it paints over the text.
    bool FDisableCaret = false;
    // Puts a text in without SetText: no OnChangeTracking and no pending change.
    void WriteText(const UnicodeString& Value);
    // Marks the text as changed since the focus came, so that Change commits it.
    void SetNeedChange(bool Value) { FNeedChange = Value; }

private:
    void FontNotice(TObject*) { FontChanged(); }
    void CreateContextMenu();
    void MenuCommand(TObject* Sender);
    void UpdateFirstVisibleChar();
    void PlaceCaret();
    void Typed();
    // Moves the caret and, with Extend, grows the selection from the old caret to it.
    void MoveCaret(int P, bool Extend);
    int NextWordStart(int P) const;
    int PreviousWordStart(int P) const;
    // The selection limited to the text, as 0-based start and length.
    void SelBounds(int& Start, int& Length) const;
    // Width of the text from the first visible character up to character P.
    float VisibleWidth(int P);
    float AlignOffset(float Total);
    // Keeps what pasting may insert: the first line, without control characters and without
    // what the filter refuses.
    UnicodeString PasteableText(const UnicodeString& S) const;
    bool Accepts(char16_t C) const;

    UnicodeString FText;
    TPopupMenu* FContextMenu = nullptr;
    TsgBrush* FFontFill;
    TsgFont* FFont;
    TsgTextAlign FTextAlign = sgTextAlignNear;
    bool FReadOnly = false;
    int FSelStart = 0;
    int FSelLength = 0;
    int FCaretPosition = 0;
    int FMaxLength = 0;
    int FFirstVisibleChar = 1;
    bool FLMouseSelecting = false;
    bool FNeedChange = false;
    bool FPassword = false;
    TsgBrush* FSelectionFill;
    bool FChangeOnKillFocus = false;
    UnicodeString FFilterChar;
    bool FShowCaret = true;
    TsgVisualObject* FContent = nullptr;
};

class TsgRoundTextBox : public TsgTextBox {
    DBI_PERSISTENT(TsgRoundTextBox, TsgTextBox)
    using TsgTextBox::TsgTextBox;
};

class TsgHudTextBox : public TsgTextBox {
    DBI_PERSISTENT(TsgHudTextBox, TsgTextBox)
    using TsgTextBox::TsgTextBox;
};

class TsgHudRoundTextBox : public TsgTextBox {
    DBI_PERSISTENT(TsgHudRoundTextBox, TsgTextBox)
    using TsgTextBox::TsgTextBox;
};

// Registers the text boxes by category ("Text Edits", "HUD"); runs once.
void RegisterSgTextboxUnit();
