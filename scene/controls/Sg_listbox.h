// TsgListBox: a scroll box whose scrolled children are TsgListBoxItem objects, laid out in rows
// (or, with sgListHorizontal, in columns) of Columns items each.
//
// The box keeps the current ItemIndex, marks items selected (one, or many with MultiSelect),
// paints the selection and alternating rows behind them, sorts them by text or OnCompare, and
// moves the selection with the mouse, the arrow keys and typed letters (type-ahead, reset one
// second after the last key). Items are real children: anything else may lie between them.
//
// Lists may be long. Where the layout is the plain one (every scrolled child an item, laid out
// by the box) rows are found by binary search, so painting and hit testing touch only the
// visible rows and a click or a key costs no walk over the whole list.
#pragma once

#include "scene/controls/Sg_scrollbox.h"
#include "scene/core/Sg_scene_brush.h"

#include "platform/classes/Closure.h"

#include <vector>

class TsgTimer;
class TsgListBox;
class TsgComboBox;

class TsgListBoxItem : public TsgTextControl {
    DBI_PERSISTENT(TsgListBoxItem, TsgTextControl)

    explicit TsgListBoxItem(TComponent* AOwner);
    ~TsgListBoxItem() override;

    // The item's place among its list's items (not its child index, which TsgObject::Index
    // answers); written by the list box, and SetIndex only stores it.
    int Index() const { return FIndex; }
    void SetIndex(int Value) { FIndex = Value; }

    bool IsChecked() const { return FIsChecked; }
    void SetIsChecked(bool Value);
    bool IsSelected() const { return FIsSelected; }
    void SetIsSelected(bool Value);
    TsgCheckBox* Check() const { return FCheck; }

    // The list the item belongs to: the nearest list box above it, or the drop-down list of the
    // nearest combo box when that comes first.
    TsgListBox* ListBox() const;
    TsgComboBox* ComboBox() const;
    TComponent* GetParentComponent() override;
    // Takes the item out of its list and keeps the list's ItemIndex inside the items left.
    void Remove();

    void UpdateCheck();
    // An item in a list that has no style yet takes it at its first paint, so that filling a
    // long list styles only the rows shown.
    void SetResource(const UnicodeString& Value);
    void ApplyResource() override;
    void UpdateResource() override;
    void PublicApplyStyle() { ApplyStyle(); }
    // Called after a press has made the item current.
    virtual void DoClick(TObject* Sender);
    void DoCheckClick(TObject* Sender);
    void DoCheckChange(TObject* Sender);

    void DesignSelect();
    void DesignInsert();
    void EnterFocusChildren(TsgVisualObject* AObject) override;
    void Realign() override;

protected:
    void ApplyStyle() override;
    void FreeStyle() override;

private:
    int FIndex = 0;
    bool FIsChecked = false;
    TsgCheckBox* FCheck = nullptr;
    bool FIsSelected = false;
    bool FStyleDeferred = false;
};

enum TsgListStyle { sgListVertical, sgListHorizontal };
enum TsgListType { sgListStandard, sgListProperty };

using TOnCompareListBoxItemEvent = TClosure<int(TsgListBoxItem* Item1, TsgListBoxItem* Item2)>;

class TsgListBox : public TsgScrollBox {
    DBI_PERSISTENT(TsgListBox, TsgScrollBox)

    explicit TsgListBox(TComponent* AOwner);
    ~TsgListBox() override;

    AnsiString ItemClass() override;
    void AddObject(TsgObject* AObject) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void FreeNotify(TsgObject* AObject) override;
    void EndUpdate() override;
    void Realign() override;
    // While held, the box ignores requests to lay its items out (an item borrowed for painting
    // elsewhere changes size and back).
    void SetLayoutHeld(bool Value) { FLayoutHeld = Value; }
    // The children changed outside a layout: no row is found by position until the next one.
    void ForgetLayout() { FPlainLayout = false; }

    // Counts the items and numbers them on the way.
    int GetCount();
    int Count() { return GetCount(); }
    TsgListBoxItem* ItemByIndex(int Idx) const;
    TsgListBoxItem* GetItem(int Index) const { return ItemByIndex(Index); }
    TsgListBoxItem* Selected() const { return ItemByIndex(FItemIndex); }
    // Point in the box's coordinates.
    TsgListBoxItem* ItemByPoint(float X, float Y);

    int ItemIndex() const { return FItemIndex; }
    virtual void SetItemIndex(int Value);
    virtual void Clear();
    void RemoveItem(TsgListBoxItem* Item);
    void SelectRange(TsgListBoxItem* Item1, TsgListBoxItem* Item2);
    void ClearSelection();
    void SelectAll();
    void SortItems();

    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;
    TsgRect GetHintRect(float X, float Y) override;

    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value) { FMultiSelect = Value; }
    int Columns() const { return FColumns; }
    void SetColumns(int Value);
    float ItemWidth() const { return FItemWidth; }
    void SetItemWidth(float Value);
    float ItemHeight() const { return FItemHeight; }
    virtual void SetItemHeight(float Value);
    TsgListStyle ListStyle() const { return FListStyle; }
    void SetListStyle(TsgListStyle Value);
    TsgListType ListType() const { return FListType; }
    void SetListType(TsgListType Value) { FListType = Value; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    bool ShowCheckboxes() const { return FShowCheckboxes; }
    void SetShowCheckboxes(bool Value);
    bool AlternatingRowBackground() const { return FAlternatingRowBackground; }
    void SetAlternatingRowBackground(bool Value);
    bool HideSelectionUnfocused() const { return FHideSelectionUnfocused; }
    void SetHideSelectionUnfocused(bool Value) { FHideSelectionUnfocused = Value; }
    bool SelectOnKey() const { return FSelectOnKey; }
    void SetSelectOnKey(bool Value) { FSelectOnKey = Value; }
    bool MouseSelectingEnabled() const { return FMouseSelectingEnabled; }
    void SetMouseSelectingEnabled(bool Value) { FMouseSelectingEnabled = Value; }
    TsgBrush* SelectionFill() const { return FSelection; }
    TsgBrush* OddRowFill() const { return FOddRowFill; }
    TsgTimer* KeyDownTimer() const { return FKeyDownTimer; }
    TsgListBoxItem* Anchor() const { return FFirstSelect; }

    TNotifyEvent OnChange, OnChangeCheck;
    TOnCompareListBoxItemEvent OnCompare;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }
    const TNotifyEvent& GetOnChangeCheck() const { return OnChangeCheck; }
    void SetOnChangeCheck(const TNotifyEvent& V) { OnChangeCheck = V; }
    const TOnCompareListBoxItemEvent& GetOnCompare() const { return OnCompare; }
    void SetOnCompare(const TOnCompareListBoxItemEvent& V) { OnCompare = V; }

    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
    void EnterFocus() override;
    void KillFocus() override;
    TsgRect GetContentBounds() override;
    void ContentPaint(TsgCanvas* Canvas, const TsgRect& ARect) override;
    void PaintContentChildren(TsgScrollContent* AContent) override;
    bool ShownContentRange(int& First, int& Last) override { return VisibleRange(First, Last); }
    // Items style themselves on their first paint: a long list is never styled as a whole.
    bool StylesContentWithBox() const override { return false; }
    void DoKeyDownTimer(TObject* Sender);
    // Keeps ItemIndex inside the items (after an update or the removal of an item).
    void ClampItemIndex();
    // Sets ItemIndex without OnChange (restoring a list after a rebuild).
    void SetItemIndexQuietly(int Value);

protected:
    void ApplyStyle() override;

private:
    void LayoutVertical(TsgRect& R, std::vector<TsgVisualObject*>& Children);
    void LayoutHorizontal(TsgRect& R, std::vector<TsgVisualObject*>& Children);
    void ScrollIntoView(TsgListBoxItem* Item);
    void SetAnchor(TsgListBoxItem* Item);
    void VerifyAnchor();
    void SelectTarget(TsgListBoxItem* Target, TShiftState Shift);
    void TypeAhead(char16_t KeyChar);
    // The range of content children whose rows meet the box's viewport, in a plain layout.
    bool VisibleRange(int& First, int& Last);
    // In a plain layout: the child whose row holds the content coordinate Y (X), else -1.
    int RowAt(float V) const;

    int FItemIndex = 0;
    bool FMouseSelecting = false;
    bool FMouseSelectingEnabled = true;
    bool FHideSelectionUnfocused = true;
    bool FShowCheckboxes = false;
    bool FSorted = false;
    bool FMultiSelect = false;
    bool FAlternatingRowBackground = false;
    int FColumns = 1;
    float FItemWidth = 0;
    float FItemHeight = 0;
    TsgListStyle FListStyle = sgListVertical;
    TsgListType FListType = sgListStandard;
    bool FSelectOnKey = true;
    TsgTimer* FKeyDownTimer = nullptr;
    TsgListBoxItem* FFirstSelect = nullptr;
    TsgBrush* FSelection;
    TsgBrush* FOddRowFill;
    // Set by a layout in which every scrolled child is an item placed by the box, in order.
    bool FPlainLayout = false;
    bool FLayoutHeld = false;
    TsgPoint FPressPoint{};
};

class TsgHorzListBox : public TsgListBox {
    DBI_PERSISTENT(TsgHorzListBox, TsgListBox)

    explicit TsgHorzListBox(TComponent* AOwner);
};

class TsgHudListBox : public TsgListBox {
    DBI_PERSISTENT(TsgHudListBox, TsgListBox)
    using TsgListBox::TsgListBox;
};

class TsgHudHorzListBox : public TsgHorzListBox {
    DBI_PERSISTENT(TsgHudHorzListBox, TsgHorzListBox)

    explicit TsgHudHorzListBox(TComponent* AOwner);
};

// Registers the list boxes, combo boxes and string lists under "Lists", the item under "Items"
// and their HUD forms under "HUD".
void RegisterSgListBoxUnit();
