// TsgTreeView: a scroll box whose content holds TsgTreeViewItem objects, each of which may hold
// further items as its own children.
//
// The tree lays its items out itself, one row per item reachable through expanded parents,
// indented by ItemMarginStep per level. Items expand and collapse through the expander button of
// their style, may show a check box, and are selected singly or, with MultiSelect, in ranges.
// Keys move the selection; typed letters search the items by text (type-ahead, reset one second
// after the last key). Sorted sorts the first three levels by text or OnCompare.
#pragma once

#include "scene/controls/Sg_scrollbox.h"
#include "scene/core/Sg_scene_brush.h"

#include "platform/classes/Closure.h"

class TsgTimer;
class TsgTreeView;

class TsgTreeViewItem : public TsgTextControl {
    DBI_PERSISTENT(TsgTreeViewItem, TsgTextControl)

    explicit TsgTreeViewItem(TComponent* AOwner);
    ~TsgTreeViewItem() override;

    AnsiString ItemClass() override;

    int GetCount() const;
    int Count() const { return GetCount(); }
    TsgTreeViewItem* ItemByIndex(int Index) const;
    TsgTreeViewItem* GetItem(int Index) const { return ItemByIndex(Index); }
    // Point in the item's coordinates; searches the child items only.
    TsgTreeViewItem* ItemByPoint(float X, float Y);
    TsgTreeView* TreeView() const;
    int Level() const;
    int GlobalIndex() const { return FGlobalIndex; }
    void SetGlobalIndex(int Value) { FGlobalIndex = Value; }

    bool IsExpanded() const { return FIsExpanded; }
    void SetIsExpanded(bool Value);
    bool IsChecked() const { return FIsChecked; }
    void SetIsChecked(bool Value);
    bool IsSelected() const { return FIsSelected; }
    void SetIsSelected(bool Value);
    bool HasChildren() const { return FHasChildren; }
    void SetHasChildren(bool Value) { FHasChildren = Value; }

    TsgCustomButton* Button() const { return FButton; }
    TsgCheckBox* Check() const { return FCheck; }

    // The check box follows the tree's ShowCheckboxes, here and in every child item.
    void UpdateCheck();

    bool PointInObject(float X, float Y) override;
    TsgVisualObject* FindTarget(const TsgPoint& APoint, const TsgDragObject& Data) override;
    void Realign() override;
    void DesignClick();

    void DoButtonClick(TObject* Sender);
    void DoCheckClick(TObject* Sender);
    void DoCheckChange(TObject* Sender);

protected:
    void ApplyStyle() override;
    void FreeStyle() override;

private:
    // Whether the expander belongs on screen.
    bool ShowsButton() const { return FHasChildren || GetCount() > 0; }
    void StartExpanderTrigger();

    bool FIsExpanded = false;
    TsgCustomButton* FButton = nullptr;
    TsgCheckBox* FCheck = nullptr;
    int FGlobalIndex = 0;
    bool FIsChecked = false;
    bool FIsSelected = false;
    bool FHasChildren = false;
};

using TOnCompareTreeViewItemEvent = TClosure<int(TsgTreeViewItem* Item1, TsgTreeViewItem* Item2)>;

class TsgTreeView : public TsgScrollBox {
    DBI_PERSISTENT(TsgTreeView, TsgScrollBox)

    explicit TsgTreeView(TComponent* AOwner);
    ~TsgTreeView() override;

    AnsiString ItemClass() override { return "TsgTreeViewItem"; }
    void AddObject(TsgObject* AObject) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void FreeNotify(TsgObject* AObject) override;

    int GetCount() const;
    int Count() const { return GetCount(); }
    TsgTreeViewItem* ItemByIndex(int Index) const;
    TsgTreeViewItem* GetItem(int Index) const { return ItemByIndex(Index); }
    TsgTreeViewItem* ItemByGlobalIndex(int Index) const;
    // Point in the tree view's coordinates.
    TsgTreeViewItem* ItemByPoint(float X, float Y);
    TsgRect GetItemRect(TsgTreeViewItem* Item);

    TsgTreeViewItem* Selected() const { return FSelected; }
    virtual void SetSelected(TsgTreeViewItem* Item);
    TsgTreeViewItem* FirstSelect() const { return FFirstSelect; }
    void SelectRange(TsgTreeViewItem* A, TsgTreeViewItem* B);
    void ClearSelection();
    void SelectAll();
    void Clear();
    void RemoveItem(TsgTreeViewItem* Item, bool Delete);
    void ExpandAll();
    void CollapseAll();
    void UpdateGlobalIndexes();
    void SortItems();
    void VerifyFirstSelect();
    void DoKeyDownTimer(TObject* Sender);
    TsgObject* GetSelection();

    int GlobalCount() const { return FGlobalCount; }
    float ItemHeight() const { return FItemHeight; }
    void SetItemHeight(float Value);
    float ItemMarginStep() const { return FItemMarginStep; }
    void SetItemMarginStep(float Value);
    bool HideSelectionUnfocused() const { return FHideSelectionUnfocused; }
    void SetHideSelectionUnfocused(bool Value) { FHideSelectionUnfocused = Value; }
    bool ShowCheckboxes() const { return FShowCheckboxes; }
    void SetShowCheckboxes(bool Value);
    bool AutoExpand() const { return FAutoExpand; }
    void SetAutoExpand(bool Value) { FAutoExpand = Value; }
    bool SelectOnKey() const { return FSelectOnKey; }
    void SetSelectOnKey(bool Value) { FSelectOnKey = Value; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value) { FMultiSelect = Value; }
    TsgBrush* SelectionFill() const { return FSelectionFill; }
    // The type-ahead text typed so far, in lower case.
    const UnicodeString& KeySearch() const { return FKeySearch; }
    TsgTimer* KeyDownTimer() const { return FKeyDownTimer; }

    TNotifyEvent OnChange, OnChangeCheck, OnItemExpanding, OnItemExpand;
    TOnCompareTreeViewItemEvent OnCompare;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }
    const TNotifyEvent& GetOnChangeCheck() const { return OnChangeCheck; }
    void SetOnChangeCheck(const TNotifyEvent& V) { OnChangeCheck = V; }
    const TNotifyEvent& GetOnItemExpanding() const { return OnItemExpanding; }
    void SetOnItemExpanding(const TNotifyEvent& V) { OnItemExpanding = V; }
    const TNotifyEvent& GetOnItemExpand() const { return OnItemExpand; }
    void SetOnItemExpand(const TNotifyEvent& V) { OnItemExpand = V; }
    const TOnCompareTreeViewItemEvent& GetOnCompare() const { return OnCompare; }
    void SetOnCompare(const TOnCompareTreeViewItemEvent& V) { OnCompare = V; }

    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
    void EnterFocus() override;
    void KillFocus() override;
    TsgRect GetContentBounds() override;
    void ContentPaint(TsgCanvas* Canvas, const TsgRect& ARect) override;

protected:
    void ApplyStyle() override;

private:
    void PlaceItem(TsgTreeViewItem* Item, float& X, float& Y, const TsgRect& R);
    void SelectTarget(TsgTreeViewItem* Target, TShiftState Shift);
    void TypeAhead(char16_t KeyChar);
    void SetSelectedQuietly(TsgTreeViewItem* Item);
    void SetFirstSelect(TsgTreeViewItem* Item);

    TsgTreeViewItem* FSelected = nullptr;
    float FItemHeight = 0;
    bool FHideSelectionUnfocused = true;
    int FGlobalCount = 0;
    bool FShowCheckboxes = false;
    bool FAutoExpand = false;
    TsgTimer* FKeyDownTimer = nullptr;
    bool FSelectOnKey = true;
    float FItemMarginStep = 19;
    bool FSorted = false;
    TsgBrush* FSelectionFill;
    bool FMultiSelect = false;
    TsgTreeViewItem* FFirstSelect = nullptr;
    UnicodeString FKeySearch;
};

// Registers the tree view under "Trees" and its item under "Items".
void RegisterSgTreeViewUnit();
