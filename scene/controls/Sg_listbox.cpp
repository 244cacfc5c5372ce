#include "scene/controls/Sg_listbox.h"

#include "scene/controls/Sg_combobox.h"
#include "scene/core/Sg_classes_timer.h"
#include "scene/core/Sg_scene_align.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_paint.h"
#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_resourceobjects.h"

#include "platform/rtl/StringUtils.h"

#include <algorithm>
#include <cmath>

DBI_PUBLISH(TsgListBoxItem) {
    using I = TsgListBoxItem;
    p.Boolean("IsChecked", &I::IsChecked, &I::SetIsChecked, false);
    p.Boolean("IsSelected", &I::IsSelected, &I::SetIsSelected, false);
    p.Boolean("AutoTranslate", &I::AutoTranslate, &I::SetAutoTranslate, true);
    p.Enumeration("TextAlign", &I::TextAlign, &I::SetTextAlign, SgTextAlignNames(),
                  sgTextAlignNear);
    p.Object("Font", &I::Font, &I::SetFont);
    p.String("Resource", &I::Resource, &I::SetResource);
    p.String("Text", &I::Text, &I::SetText);
}

namespace {

const std::vector<AnsiString>& ListStyleNames() {
    static const std::vector<AnsiString> names = {"sgListVertical", "sgListHorizontal"};
    return names;
}

const std::vector<AnsiString>& ListTypeNames() {
    static const std::vector<AnsiString> names = {"sgListStandard", "sgListProperty"};
    return names;
}

} // namespace

DBI_PUBLISH(TsgListBox) {
    using L = TsgListBox;
    p.Integer("ItemIndex", &L::ItemIndex, &L::SetItemIndex);
    p.Boolean("MultiSelect", &L::MultiSelect, &L::SetMultiSelect, false);
    p.Integer("Columns", &L::Columns, &L::SetColumns, 1);
    p.Float("ItemWidth", &L::ItemWidth, &L::SetItemWidth);
    p.Float("ItemHeight", &L::ItemHeight, &L::SetItemHeight);
    p.Enumeration("ListStyle", &L::ListStyle, &L::SetListStyle, ListStyleNames(), sgListVertical);
    p.Enumeration("ListType", &L::ListType, &L::SetListType, ListTypeNames(), sgListStandard);
    p.Boolean("Sorted", &L::Sorted, &L::SetSorted, false);
    p.Boolean("ShowCheckboxes", &L::ShowCheckboxes, &L::SetShowCheckboxes, false);
    p.Boolean("AlternatingRowBackground", &L::AlternatingRowBackground,
              &L::SetAlternatingRowBackground, false);
    p.Boolean("HideSelectionUnfocused", &L::HideSelectionUnfocused, &L::SetHideSelectionUnfocused,
              true);
    p.Boolean("SelectOnKey", &L::SelectOnKey, &L::SetSelectOnKey, true);
    p.Boolean("MouseSelectingEnabled", &L::MouseSelectingEnabled, &L::SetMouseSelectingEnabled,
              true);
    p.Boolean("CanFocused", &L::CanFocused, &L::SetCanFocused, true);
    p.Boolean("DisableFocusEffect", &L::DisableFocusEffect, &L::SetDisableFocusEffect, false);
    p.Integer("TabOrder", &L::TabOrder, &L::SetTabOrder, -1);
    p.String("Resource", &L::Resource, &L::SetResource);
    p.Event("OnChange", &L::GetOnChange, &L::SetOnChange);
    p.Event("OnChangeCheck", &L::GetOnChangeCheck, &L::SetOnChangeCheck);
    p.Event("OnCompare", &L::GetOnCompare, &L::SetOnCompare);
}

DBI_PUBLISH(TsgHorzListBox) {}
DBI_PUBLISH(TsgHudListBox) {}
DBI_PUBLISH(TsgHudHorzListBox) {}

namespace {

TsgListBoxItem* AsItem(TsgObject* O) {
    return dynamic_cast<TsgListBoxItem*>(O);
}

// Sorting hands the children a plain comparison; the list whose OnCompare applies is kept here
// for the length of one sort.
TsgListBox* SortingList = nullptr;

int CompareItems(TObject* A, TObject* B) {
    auto* a = dynamic_cast<TsgListBoxItem*>(A);
    auto* b = dynamic_cast<TsgListBoxItem*>(B);
    if (!a || !b)
        return 0;
    if (SortingList && SortingList->OnCompare)
        return SortingList->OnCompare(a, b);
    return CompareText(a->Text(), b->Text());
}

} // namespace

// ---- TsgListBoxItem ----

TsgListBoxItem::TsgListBoxItem(TComponent* AOwner) : TsgTextControl(AOwner) {
    SetTextAlign(sgTextAlignNear);
    SetAutoTranslate(true);
    SetHeight(19);
    SetWidth(19);
    SetHitTest(false);
}

TsgListBoxItem::~TsgListBoxItem() {
    TsgListBox* list = ListBox();
    if (list && !list->HasState(csDestroying))
        Remove();
    BeforeDestruction();
}

TsgListBox* TsgListBoxItem::ListBox() const {
    for (TsgObject* o = Parent(); o; o = o->Parent()) {
        if (auto* combo = dynamic_cast<TsgComboBox*>(o))
            return combo->ListBox();
        if (auto* list = dynamic_cast<TsgListBox*>(o))
            return list;
    }
    return nullptr;
}

TsgComboBox* TsgListBoxItem::ComboBox() const {
    for (TsgObject* o = Parent(); o; o = o->Parent())
        if (auto* combo = dynamic_cast<TsgComboBox*>(o))
            return combo;
    return nullptr;
}

TComponent* TsgListBoxItem::GetParentComponent() {
    if (TsgComboBox* combo = ComboBox())
        return combo;
    if (TsgListBox* list = ListBox())
        return list;
    return TsgTextControl::GetParentComponent();
}

void TsgListBoxItem::Remove() {
    TsgListBox* list = ListBox();
    if (list)
        list->ForgetLayout();
    if (Parent())
        Parent()->RemoveObject(this);
    if (!list)
        return;
    list->Realign();
    list->ClampItemIndex();
}

void TsgListBoxItem::SetIsChecked(bool Value) {
    FIsChecked = Value;
    if (FCheck)
        FCheck->SetIsChecked(Value);
}

void TsgListBoxItem::SetIsSelected(bool Value) {
    if (Value == FIsSelected)
        return;
    FIsSelected = Value;
    Repaint();
}

void TsgListBoxItem::UpdateCheck() {
    if (FCheck)
        if (TsgListBox* list = ListBox())
            FCheck->SetVisible(list->ShowCheckboxes());
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgListBoxItem* nested = AsItem(GetChild(i)))
            nested->UpdateCheck();
}

void TsgListBoxItem::SetResource(const UnicodeString& Value) {
    FStyleDeferred = !StyleClone() && ListBox();
    TsgTextControl::SetResource(Value);
    FStyleDeferred = false;
}

void TsgListBoxItem::ApplyResource() {
    if (!FStyleDeferred)
        TsgTextControl::ApplyResource();
}

void TsgListBoxItem::UpdateResource() {
    // An item never painted takes its style on its first paint; restyling a long list styles
    // only the rows shown so far.
    if (!StyleClone() && StyleNeeded())
        return;
    TsgTextControl::UpdateResource();
}

void TsgListBoxItem::DoClick(TObject*) {}

void TsgListBoxItem::DoCheckClick(TObject*) {
    TsgListBox* list = ListBox();
    if (list && list->MultiSelect() && !FIsSelected)
        list->SelectRange(this, this);
}

void TsgListBoxItem::DoCheckChange(TObject*) {
    if (!FCheck)
        return;
    FIsChecked = FCheck->IsChecked();
    TsgListBox* list = ListBox();
    if (!list)
        return;
    list->SetFocus();
    if (list->OnChangeCheck) {
        list->SetItemIndex(FIndex);
        list->OnChangeCheck(this);
    }
}

void TsgListBoxItem::DesignSelect() {
    if (TsgComboBox* combo = ComboBox())
        combo->DesignClick();
    if (TsgListBox* list = ListBox())
        list->SetItemIndex(FIndex);
}

void TsgListBoxItem::DesignInsert() {
    if (TsgComboBox* combo = ComboBox())
        combo->DesignClick();
}

void TsgListBoxItem::EnterFocusChildren(TsgVisualObject* AObject) {
    TsgTextControl::EnterFocusChildren(AObject);
    if (TsgListBox* list = ListBox())
        list->SetItemIndex(FIndex);
}

void TsgListBoxItem::Realign() {
    TsgListBox* list = ListBox();
    if (!list || list->UpdateCount() <= 0)
        TsgTextControl::Realign();
}

void TsgListBoxItem::ApplyStyle() {
    TsgTextControl::ApplyStyle();
    if (auto* check = dynamic_cast<TsgCheckBox*>(FindResource(u"check"))) {
        FCheck = check;
        check->SetOnClick(TNotifyEvent::Bind<&TsgListBoxItem::DoCheckClick>(this));
        // Set before the handler, so that styling is not taken for the user checking it.
        check->SetIsChecked(FIsChecked);
        check->SetOnChange(TNotifyEvent::Bind<&TsgListBoxItem::DoCheckChange>(this));
        TsgListBox* list = ListBox();
        check->SetVisible(list && list->ShowCheckboxes());
    }
}

void TsgListBoxItem::FreeStyle() {
    TsgTextControl::FreeStyle();
    FCheck = nullptr;
}

// ---- TsgListBox ----

TsgListBox::TsgListBox(TComponent* AOwner)
    : TsgScrollBox(AOwner), FSelection(new TsgBrush(sgBrushSolid, 0x802A8ADF)),
      FOddRowFill(new TsgBrush(sgBrushSolid, 0x20000000)) {
    SetCanFocused(true);
    SetAutoCapture(true);
    SetWidth(100);
    SetHeight(100);
}

TsgListBox::~TsgListBox() {
    BeforeDestruction();
    delete FSelection;
    delete FOddRowFill;
}

AnsiString TsgListBox::ItemClass() {
    return FListType == sgListProperty ? "TsgPropertyItem" : "TsgListBoxItem";
}

void TsgListBox::SetAnchor(TsgListBoxItem* Item) {
    FFirstSelect = Item;
    if (Item)
        Item->AddFreeNotify(this);
}

void TsgListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TsgScrollBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFirstSelect)
        FFirstSelect = nullptr;
}

void TsgListBox::FreeNotify(TsgObject* AObject) {
    TsgScrollBox::FreeNotify(AObject);
    if (AObject == FFirstSelect)
        FFirstSelect = nullptr;
}

void TsgListBox::AddObject(TsgObject* AObject) {
    if (Content() && (AsItem(AObject) || dynamic_cast<TsgSelectionItem*>(AObject))) {
        // The content lays the box out again for a new child, outside updates.
        FPlainLayout = false;
        Content()->AddObject(AObject);
        return;
    }
    TsgScrollBox::AddObject(AObject);
}

void TsgListBox::Realign() {
    if (!FLayoutHeld)
        TsgScrollBox::Realign();
}

void TsgListBox::EndUpdate() {
    TsgScrollBox::EndUpdate();
    if (UpdateCount() == 0)
        ClampItemIndex();
}

int TsgListBox::GetCount() {
    // A plain layout numbered every child, and each one is an item.
    if (FPlainLayout && UpdateCount() == 0 && Content())
        return Content()->ChildrenCount();
    int n = 0;
    if (TsgScrollContent* content = Content())
        for (int i = 0; i < content->ChildrenCount(); ++i)
            if (TsgListBoxItem* item = AsItem(content->GetChild(i)))
                item->SetIndex(n++);
    return n;
}

TsgListBoxItem* TsgListBox::ItemByIndex(int Idx) const {
    TsgScrollContent* content = Content();
    if (!content || Idx < 0)
        return nullptr;
    // Items usually are the content's only children, so the child at Idx is the first guess.
    const int count = content->ChildrenCount();
    if (Idx < count)
        if (TsgListBoxItem* guess = AsItem(content->GetChild(Idx)); guess && guess->Index() == Idx)
            return guess;
    for (int i = 0; i < count; ++i)
        if (TsgListBoxItem* item = AsItem(content->GetChild(i)); item && item->Index() == Idx)
            return item;
    return nullptr;
}

int TsgListBox::RowAt(float V) const {
    TsgScrollContent* content = Content();
    const int count = content ? content->ChildrenCount() : 0;
    if (!FPlainLayout || count == 0)
        return -1;
    const bool vertical = FListStyle == sgListVertical;
    auto start = [&](int i) {
        TsgVisualObject* v = content->GetChild(i)->Visual();
        return vertical ? v->Position()->Y() - v->Padding()->Top()
                        : v->Position()->X() - v->Padding()->Left();
    };
    // The last child whose row starts at or before V.
    int lo = 0, hi = count - 1, found = -1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (start(mid) <= V) {
            found = mid;
            lo = mid + 1;
        } else
            hi = mid - 1;
    }
    return found;
}

bool TsgListBox::VisibleRange(int& First, int& Last) {
    TsgScrollContent* content = Content();
    if (!FPlainLayout || !content || content->ChildrenCount() == 0)
        return false;
    const TsgRect clip = content->GetClipRect();
    const bool vertical = FListStyle == sgListVertical;
    const int count = content->ChildrenCount();
    const int top = RowAt(vertical ? clip.Top : clip.Left);
    const int bottom = RowAt(vertical ? clip.Bottom : clip.Right);
    // Whole rows (or columns) on both sides.
    First = std::max(0, (top < 0 ? 0 : top) - FColumns);
    Last = std::min(count - 1, (bottom < 0 ? 0 : bottom) + FColumns);
    return true;
}

TsgListBoxItem* TsgListBox::ItemByPoint(float X, float Y) {
    TsgScrollContent* content = Content();
    if (!content)
        return nullptr;
    const TsgPoint abs = LocalToAbsolute({X, Y});
    auto hit = [&](TsgObject* O) -> TsgListBoxItem* {
        TsgListBoxItem* item = AsItem(O);
        return item && item->PointInObject(abs.X, abs.Y) ? item : nullptr;
    };
    if (FPlainLayout) {
        const TsgPoint p = content->AbsoluteToLocal(abs);
        const int row = RowAt(FListStyle == sgListVertical ? p.Y : p.X);
        if (row < 0)
            return nullptr;
        // The row's items lie within Columns children of the one found.
        const int first = std::max(0, row - FColumns);
        const int last = std::min(content->ChildrenCount() - 1, row + FColumns);
        for (int i = first; i <= last; ++i)
            if (TsgListBoxItem* item = hit(content->GetChild(i)))
                return item;
        return nullptr;
    }
    for (int i = 0; i < content->ChildrenCount(); ++i)
        if (TsgListBoxItem* item = hit(content->GetChild(i)))
            return item;
    return nullptr;
}

void TsgListBox::ScrollIntoView(TsgListBoxItem* Item) {
    TsgScrollContent* content = Content();
    TsgVisualObject* layout = ContentLayout();
    if (!Item || !content || !layout)
        return;
    if (TsgScrollBar* v = VScrollBar()) {
        TsgBounds* pad = Item->Padding();
        const float bottom = content->Position()->Y() + Item->Position()->Y() + pad->Top() +
                             pad->Bottom() + Item->Height();
        const float viewBottom = layout->Position()->Y() + layout->Height();
        if (bottom > viewBottom)
            v->SetValue(v->Value() + bottom - viewBottom);
        const float top = content->Position()->Y() + Item->Position()->Y();
        if (top < layout->Position()->Y())
            v->SetValue(v->Value() - (layout->Position()->Y() - top));
    }
    if (TsgScrollBar* h = HScrollBar()) {
        TsgBounds* pad = Item->Padding();
        const float right = content->Position()->X() + Item->Position()->X() + pad->Left() +
                            pad->Right() + Item->Width();
        const float viewRight = layout->Position()->X() + layout->Width();
        if (right > viewRight)
            h->SetValue(h->Value() + right - viewRight);
        const float left = content->Position()->X() + Item->Position()->X();
        if (left < layout->Position()->X())
            h->SetValue(h->Value() - (layout->Position()->X() - left));
    }
}

void TsgListBox::SetItemIndex(int Value) {
    if (Value == FItemIndex)
        return;
    if (!FMultiSelect)
        if (TsgListBoxItem* old = ItemByIndex(FItemIndex))
            old->SetIsSelected(false);
    FItemIndex = Value;
    TsgListBoxItem* item = ItemByIndex(Value);
    ScrollIntoView(item);
    if (Value >= 0 && item) {
        item->SetIsSelected(true);
        SetAnchor(item);
    }
    if (UpdateCount() > 0)
        return;
    if (!BindingObjects().empty())
        ToBindingObjects();
    if (OnChange)
        OnChange(item);
}

void TsgListBox::SetItemIndexQuietly(int Value) {
    FItemIndex = Value;
    if (TsgListBoxItem* item = ItemByIndex(Value)) {
        if (!FMultiSelect)
            item->SetIsSelected(true);
        SetAnchor(item);
    }
}

void TsgListBox::ClampItemIndex() {
    if (UpdateCount() > 0 || HasState(csDestroying))
        return;
    const int count = GetCount();
    if (FItemIndex >= count)
        SetItemIndex(count - 1);
}

void TsgListBox::Clear() {
    BeginUpdate();
    if (TsgScrollContent* content = Content())
        for (int i = content->ChildrenCount() - 1; i >= 0; --i)
            if (TsgListBoxItem* item = AsItem(content->GetChild(i)))
                item->Free();
    FPlainLayout = false;
    if (VScrollBar())
        VScrollBar()->SetValue(0);
    if (HScrollBar())
        HScrollBar()->SetValue(0);
    EndUpdate();
    // Without items there is no current one, also when the box is still held in an update.
    if (GetCount() == 0)
        SetItemIndex(-1);
}

void TsgListBox::RemoveItem(TsgListBoxItem* Item) {
    if (!Item)
        return;
    BeginUpdate();
    Item->Free();
    EndUpdate();
}

void TsgListBox::SelectRange(TsgListBoxItem* Item1, TsgListBoxItem* Item2) {
    if (!Item1 || !Item2 || !Content())
        return;
    const int lo = std::min(Item1->Index(), Item2->Index());
    const int hi = std::max(Item1->Index(), Item2->Index());
    TsgScrollContent* content = Content();
    for (int i = 0; i < content->ChildrenCount(); ++i)
        if (TsgListBoxItem* item = AsItem(content->GetChild(i)))
            item->SetIsSelected(item->Index() >= lo && item->Index() <= hi);
}

void TsgListBox::ClearSelection() {
    if (TsgScrollContent* content = Content())
        for (int i = 0; i < content->ChildrenCount(); ++i)
            if (TsgListBoxItem* item = AsItem(content->GetChild(i)))
                item->SetIsSelected(false);
}

void TsgListBox::SelectAll() {
    if (TsgScrollContent* content = Content())
        for (int i = 0; i < content->ChildrenCount(); ++i)
            if (TsgListBoxItem* item = AsItem(content->GetChild(i)))
                item->SetIsSelected(true);
}

void TsgListBox::SortItems() {
    if (!FSorted || !Content())
        return;
    SortingList = this;
    struct Done {
        ~Done() { SortingList = nullptr; }
    } done;
    Content()->Sort(CompareItems);
}

TsgVariant TsgListBox::GetData() {
    TsgListBoxItem* item = Selected();
    return item ? TsgVariant(item->Text()) : TsgVariant();
}

void TsgListBox::SetData(const TsgVariant& Value) {
    if (TsgListBoxItem* item = Selected())
        item->SetText(Value);
}

TsgRect TsgListBox::GetHintRect(float X, float Y) {
    if (TsgListBoxItem* item = ItemByPoint(X, Y))
        return item->GetAbsoluteRect();
    TsgRect r = GetAbsoluteRect();
    const int count = GetCount();
    if (TsgListBoxItem* last = ItemByIndex(count - 1)) {
        const TsgRect l = last->GetAbsoluteRect();
        if (FListStyle == sgListVertical)
            r.Top = l.Bottom;
        else
            r.Left = l.Right;
    }
    return r;
}

void TsgListBox::SetColumns(int Value) {
    Value = std::max(Value, 1);
    if (Value == FColumns)
        return;
    FColumns = Value;
    Realign();
}

void TsgListBox::SetItemWidth(float Value) {
    if (Value == FItemWidth)
        return;
    FItemWidth = Value;
    Realign();
}

void TsgListBox::SetItemHeight(float Value) {
    if (Value == FItemHeight)
        return;
    FItemHeight = Value;
    Realign();
}

void TsgListBox::SetListStyle(TsgListStyle Value) {
    if (Value == FListStyle)
        return;
    FListStyle = Value;
    Realign();
}

void TsgListBox::SetSorted(bool Value) {
    if (Value == FSorted)
        return;
    FSorted = Value;
    Realign();
}

void TsgListBox::SetAlternatingRowBackground(bool Value) {
    if (Value == FAlternatingRowBackground)
        return;
    FAlternatingRowBackground = Value;
    Repaint();
}

void TsgListBox::SetShowCheckboxes(bool Value) {
    if (Value == FShowCheckboxes)
        return;
    FShowCheckboxes = Value;
    if (TsgScrollContent* content = Content())
        for (int i = 0; i < content->ChildrenCount(); ++i)
            if (TsgListBoxItem* item = AsItem(content->GetChild(i)))
                item->UpdateCheck();
}

void TsgListBox::LayoutVertical(TsgRect& R, std::vector<TsgVisualObject*>& Children) {
    const float width = sgRectWidth(R);
    if (FItemWidth != 0) {
        FColumns = std::max(1, static_cast<int>(width / FItemWidth));
        for (TsgVisualObject* c : Children)
            c->SetBounds(c->Position()->X(), c->Position()->Y(), FItemWidth,
                         FItemHeight != 0 ? FItemHeight : c->Height());
    } else if (FItemHeight != 0)
        for (TsgVisualObject* c : Children)
            if (AsItem(c))
                c->SetBounds(c->Position()->X(), c->Position()->Y(), c->Width(), FItemHeight);
    const float cell = FItemWidth != 0 ? FItemWidth : width / FColumns;
    const int count = static_cast<int>(Children.size());
    float top = 0;
    int index = 0;
    for (int row = 0; row * FColumns < count; ++row) {
        const int first = row * FColumns;
        const int last = std::min(count, first + FColumns);
        float rowHeight = 0;
        for (int i = first; i < last; ++i) {
            TsgBounds* pad = Children[i]->Padding();
            rowHeight = std::max(rowHeight, Children[i]->Height() + pad->Top() + pad->Bottom());
        }
        for (int i = first; i < last; ++i) {
            TsgVisualObject* c = Children[i];
            TsgBounds* pad = c->Padding();
            c->SetBounds((i - first) * cell + pad->Left(), top + pad->Top(), cell,
                         rowHeight - pad->Top() - pad->Bottom());
            if (TsgListBoxItem* item = AsItem(c))
                item->SetIndex(index++);
        }
        top += rowHeight;
    }
    if (TsgScrollContent* content = Content())
        content->SetHeight(top);
    if (top > 0)
        R.Bottom = R.Top + top;
    if (FItemWidth != 0)
        R.Right = R.Left + FColumns * FItemWidth;
}

void TsgListBox::LayoutHorizontal(TsgRect& R, std::vector<TsgVisualObject*>& Children) {
    const float height = sgRectHeight(R);
    if (FItemHeight != 0) {
        FColumns = std::max(
            1, static_cast<int>((height - Padding()->Top() - Padding()->Bottom()) / FItemHeight));
        for (TsgVisualObject* c : Children)
            c->SetBounds(c->Position()->X(), c->Position()->Y(),
                         FItemWidth != 0 ? FItemWidth : c->Width(), FItemHeight);
    } else if (FItemWidth != 0)
        for (TsgVisualObject* c : Children)
            c->SetBounds(c->Position()->X(), c->Position()->Y(), FItemWidth, c->Height());
    const int count = static_cast<int>(Children.size());
    int items = 0;
    for (TsgVisualObject* c : Children)
        if (AsItem(c))
            ++items;
    if (FItemIndex > items - 1)
        FItemIndex = items - 1;
    const float cell = FItemHeight != 0 ? FItemHeight : height / FColumns;
    const float shift = VScrollBar() ? VScrollBar()->Value() : 0;
    float left = 0;
    int index = 0;
    for (int col = 0; col * FColumns < count; ++col) {
        const int first = col * FColumns;
        const int last = std::min(count, first + FColumns);
        float colWidth = 0;
        for (int i = first; i < last; ++i) {
            TsgBounds* pad = Children[i]->Padding();
            colWidth = std::max(colWidth, Children[i]->Width() + pad->Left() + pad->Right());
        }
        for (int i = first; i < last; ++i) {
            TsgVisualObject* c = Children[i];
            TsgBounds* pad = c->Padding();
            c->SetBounds(left + pad->Left() - shift, (i - first) * cell + pad->Top(),
                         colWidth - pad->Left() - pad->Right(), cell);
            if (TsgListBoxItem* item = AsItem(c))
                item->SetIndex(index++);
        }
        left += colWidth;
    }
    if (left > 0)
        R.Right = R.Left + left;
    if (FItemHeight != 0)
        R.Bottom = R.Top + FColumns * FItemHeight;
}

TsgRect TsgListBox::GetContentBounds() {
    TsgRect result{0, 0, Width(), Height()};
    if (UpdateCount() > 0 || !ContentLayout()) {
        FPlainLayout = false;
        return result;
    }
    TsgRect r{0, 0, ContentLayout()->Width(), ContentLayout()->Height()};
    TsgScrollContent* content = Content();
    if (!content)
        return r;
    SortItems();
    if (!FMultiSelect)
        if (TsgListBoxItem* current = Selected())
            current->SetIsSelected(true);
    std::vector<TsgVisualObject*> children;
    children.reserve(content->ChildrenCount());
    bool plain = true;
    for (int i = 0; i < content->ChildrenCount(); ++i) {
        TsgVisualObject* c = content->GetChild(i)->Visual();
        if (AsItem(c))
            children.push_back(c);
        else
            plain = false;
    }
    // Each item's new size would otherwise have the content look for aligned children again.
    const bool held = sgAlignDisabled(content);
    sgDisableAlign(content);
    if (FListStyle == sgListVertical)
        LayoutVertical(r, children);
    else
        LayoutHorizontal(r, children);
    if (!held)
        sgEnableAlign(content);
    FPlainLayout = plain;
    if (r.Bottom == r.Top)
        r.Bottom = r.Top + 1;
    return r;
}

void TsgListBox::PaintContentChildren(TsgScrollContent* AContent) {
    int first = 0, last = -1;
    if (VisibleRange(first, last))
        sgPaintChildren(AContent, first, last);
    else
        TsgScrollBox::PaintContentChildren(AContent);
}

void TsgListBox::ContentPaint(TsgCanvas* Canvas, const TsgRect&) {
    TsgScrollContent* content = Content();
    if (!content || !ContentLayout())
        return;
    int first = 0, last = content->ChildrenCount() - 1;
    VisibleRange(first, last);
    const float opacity = AbsoluteOpacity();
    auto fill = [&](TsgBrush* Brush, auto&& Wanted) {
        Canvas->Fill()->Assign(Brush);
        for (int i = first; i <= last; ++i)
            if (TsgListBoxItem* item = AsItem(content->GetChild(i)); item && Wanted(item))
                Canvas->FillRect(item->GetParentedRect(), 0, 0, AllCorners, opacity);
    };
    if (FAlternatingRowBackground)
        fill(FOddRowFill, [](TsgListBoxItem* item) { return item->Index() % 2 == 1; });
    if (FHideSelectionUnfocused && !IsFocused())
        return;
    if (FMultiSelect)
        fill(FSelection, [](TsgListBoxItem* item) { return item->IsSelected(); });
    else if (TsgListBoxItem* current = Selected()) {
        Canvas->Fill()->Assign(FSelection);
        Canvas->FillRect(current->GetParentedRect(), 0, 0, AllCorners, opacity);
    }
}

void TsgListBox::ApplyStyle() {
    TsgScrollBox::ApplyStyle();
    auto take = [this](const char16_t* Name, TsgBrush* Into) {
        TsgObject* part = FindResource(Name);
        if (auto* brush = dynamic_cast<TsgBrushObject*>(part))
            Into->Assign(brush->Brush());
        else if (TsgVisualObject* v = part ? part->Visual() : nullptr)
            v->SetVisible(false);
    };
    take(u"selection", FSelection);
    take(u"AlternatingRowBackground", FOddRowFill);
}

void TsgListBox::EnterFocus() {
    TsgScrollBox::EnterFocus();
    if (FHideSelectionUnfocused && Selected())
        Repaint();
}

void TsgListBox::KillFocus() {
    TsgScrollBox::KillFocus();
    if (FHideSelectionUnfocused && Selected())
        Repaint();
}

// ---- The horizontal and HUD forms ----

TsgHorzListBox::TsgHorzListBox(TComponent* AOwner) : TsgListBox(AOwner) {
    SetResource(u"listboxstyle");
    SetListStyle(sgListHorizontal);
}

TsgHudHorzListBox::TsgHudHorzListBox(TComponent* AOwner) : TsgHorzListBox(AOwner) {
    SetResource(u"hudlistboxstyle");
}
