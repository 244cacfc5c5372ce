#include "scene/controls/Sg_treeview.h"

#include "scene/core/Sg_classes_timer.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_resourceobjects.h"

#include "platform/rtl/StringUtils.h"

#include <functional>

DBI_PUBLISH(TsgTreeViewItem) {
    using I = TsgTreeViewItem;
    p.Boolean("IsChecked", &I::IsChecked, &I::SetIsChecked, std::nullopt);
    p.Boolean("IsExpanded", &I::IsExpanded, &I::SetIsExpanded, std::nullopt);
    p.Boolean("IsSelected", &I::IsSelected, &I::SetIsSelected, std::nullopt);
    p.Boolean("HasChildren", &I::HasChildren, &I::SetHasChildren, std::nullopt);
    p.Boolean("AutoTranslate", &I::AutoTranslate, &I::SetAutoTranslate, true);
    p.Object("Font", &I::Font, &I::SetFont);
    p.String("Resource", &I::Resource, &I::SetResource);
    p.String("Text", &I::Text, &I::SetText);
    p.Enumeration("TextAlign", &I::TextAlign, &I::SetTextAlign, SgTextAlignNames(),
                  sgTextAlignNear);
}

DBI_PUBLISH(TsgTreeView) {
    using T = TsgTreeView;
    p.String("Resource", &T::Resource, &T::SetResource);
    p.Boolean("CanFocused", &T::CanFocused, &T::SetCanFocused, true);
    p.Boolean("DisableFocusEffect", &T::DisableFocusEffect, &T::SetDisableFocusEffect, false);
    p.Float("ItemHeight", &T::ItemHeight, &T::SetItemHeight);
    p.Float("ItemMarginStep", &T::ItemMarginStep, &T::SetItemMarginStep);
    p.Boolean("HideSelectionUnfocused", &T::HideSelectionUnfocused, &T::SetHideSelectionUnfocused,
              true);
    p.Boolean("MultiSelect", &T::MultiSelect, &T::SetMultiSelect, false);
    p.Boolean("ShowCheckboxes", &T::ShowCheckboxes, &T::SetShowCheckboxes, false);
    p.Boolean("Sorted", &T::Sorted, &T::SetSorted, false);
    p.Boolean("AutoExpand", &T::AutoExpand, &T::SetAutoExpand, std::nullopt);
    p.Event("OnChange", &T::GetOnChange, &T::SetOnChange);
    p.Event("OnChangeCheck", &T::GetOnChangeCheck, &T::SetOnChangeCheck);
    p.Event("OnItemExpanding", &T::GetOnItemExpanding, &T::SetOnItemExpanding);
    p.Event("OnItemExpand", &T::GetOnItemExpand, &T::SetOnItemExpand);
    p.Event("OnCompare", &T::GetOnCompare, &T::SetOnCompare);
    p.Boolean("SelectOnKey", &T::SelectOnKey, &T::SetSelectOnKey, true);
}

namespace {

TsgTreeViewItem* AsItem(TsgObject* O) {
    return dynamic_cast<TsgTreeViewItem*>(O);
}

// The i-th child of O that is an item.
TsgTreeViewItem* NthItem(const TsgObject* O, int Index) {
    if (!O || Index < 0)
        return nullptr;
    for (int i = 0; i < O->ChildrenCount(); ++i)
        if (TsgTreeViewItem* item = AsItem(O->GetChild(i)))
            if (Index-- == 0)
                return item;
    return nullptr;
}

int ItemCount(const TsgObject* O) {
    int n = 0;
    if (O)
        for (int i = 0; i < O->ChildrenCount(); ++i)
            if (AsItem(O->GetChild(i)))
                ++n;
    return n;
}

template <class F>
void ForEachItem(const TsgObject* O, F&& Proc) {
    if (!O)
        return;
    for (int i = 0; i < O->ChildrenCount(); ++i)
        if (TsgTreeViewItem* item = AsItem(O->GetChild(i)))
            Proc(item);
}

// Sorting hands the list a plain comparison; the tree whose OnCompare applies is kept here for
// the length of one sort.
TsgTreeView* SortingTree = nullptr;

int CompareChildren(TObject* A, TObject* B) {
    auto* a = dynamic_cast<TsgTreeViewItem*>(A);
    auto* b = dynamic_cast<TsgTreeViewItem*>(B);
    if (a && b) {
        if (SortingTree && SortingTree->OnCompare)
            return SortingTree->OnCompare(a, b);
        return CompareText(a->Text(), b->Text());
    }
    if (a)
        return 1;
    if (b)
        return -1;
    return 0;
}

void HideDescendants(TsgTreeViewItem* Item) {
    ForEachItem(Item, [](TsgTreeViewItem* child) {
        child->SetVisible(false);
        child->SetOpacity(0);
        HideDescendants(child);
    });
}

} // namespace

// ---- TsgTreeViewItem ----

TsgTreeViewItem::TsgTreeViewItem(TComponent* AOwner) : TsgTextControl(AOwner) {
    SetAutoTranslate(true);
    SetTextAlign(sgTextAlignNear);
    SetHeight(19);
    SetHitTest(false);
    SetCanFocused(false);
}

TsgTreeViewItem::~TsgTreeViewItem() {
    BeforeDestruction();
}

AnsiString TsgTreeViewItem::ItemClass() {
    return ClassInfo().ClassName();
}

int TsgTreeViewItem::GetCount() const {
    return ItemCount(this);
}

TsgTreeViewItem* TsgTreeViewItem::ItemByIndex(int Index) const {
    return NthItem(this, Index);
}

TsgTreeView* TsgTreeViewItem::TreeView() const {
    for (TsgObject* o = Parent(); o; o = o->Parent())
        if (auto* tree = dynamic_cast<TsgTreeView*>(o))
            return tree;
    return nullptr;
}

int TsgTreeViewItem::Level() const {
    int level = 0;
    for (TsgObject* o = Parent(); o; o = o->Parent()) {
        if (dynamic_cast<TsgTreeView*>(o) || o->IsContent())
            break;
        ++level;
    }
    return level;
}

TsgTreeViewItem* TsgTreeViewItem::ItemByPoint(float X, float Y) {
    const TsgPoint abs = LocalToAbsolute({X, Y});
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgTreeViewItem* child = AsItem(GetChild(i));
        if (!child || !child->Visible())
            continue;
        if (child->PointInObject(abs.X, abs.Y))
            return child;
        if (child->IsExpanded() && child->GetCount() > 0) {
            const TsgPoint p = child->AbsoluteToLocal(abs);
            if (TsgTreeViewItem* found = child->ItemByPoint(p.X, p.Y))
                return found;
        }
    }
    return nullptr;
}

bool TsgTreeViewItem::PointInObject(float X, float Y) {
    const TsgPoint p = AbsoluteToLocal({X, Y});
    constexpr float Epsilon = 0.001f;
    return p.X >= -Epsilon && p.X < Width() && p.Y >= -Epsilon && p.Y < Height();
}

TsgVisualObject* TsgTreeViewItem::FindTarget(const TsgPoint& APoint, const TsgDragObject& Data) {
    IsgScene* scene = Scene();
    if (!scene || !scene->GetDesignTime())
        return TsgTextControl::FindTarget(APoint, Data);
    // At design time an item takes a drop on itself whatever its HitTest says.
    if (!Visible() || !PointInObject(APoint.X, APoint.Y))
        return nullptr;
    bool accept = false;
    DragOver(Data, APoint, accept);
    return accept ? this : nullptr;
}

void TsgTreeViewItem::Realign() {
    TsgTreeView* tree = TreeView();
    if (!tree || tree->UpdateCount() <= 0)
        TsgTextControl::Realign();
}

void TsgTreeViewItem::DesignClick() {
    SetIsExpanded(!FIsExpanded);
}

void TsgTreeViewItem::StartExpanderTrigger() {
    if (FButton && FButton->Visible())
        FButton->StartTriggerAnimation(this, "IsExpanded");
}

void TsgTreeViewItem::SetIsExpanded(bool Value) {
    if (Value == FIsExpanded)
        return;
    FIsExpanded = Value;
    TsgTreeView* tree = TreeView();
    if (tree && FIsExpanded && tree->OnItemExpanding)
        tree->OnItemExpanding(this);
    if (FButton && !Loading()) {
        FButton->SetVisible(ShowsButton());
        StartExpanderTrigger();
    }
    if (!tree)
        return;
    if (!FIsExpanded)
        tree->SetSelected(this);
    tree->Realign();
    if (tree->OnItemExpand)
        tree->OnItemExpand(this);
}

void TsgTreeViewItem::SetIsChecked(bool Value) {
    if (Value == FIsChecked)
        return;
    FIsChecked = Value;
    // The check box answers through DoCheckChange.
    if (FCheck)
        FCheck->SetIsChecked(Value);
}

void TsgTreeViewItem::SetIsSelected(bool Value) {
    if (Value == FIsSelected)
        return;
    FIsSelected = Value;
    Repaint();
}

void TsgTreeViewItem::UpdateCheck() {
    TsgTreeView* tree = TreeView();
    if (tree && FCheck)
        FCheck->SetVisible(tree->ShowCheckboxes());
    ForEachItem(this, [](TsgTreeViewItem* child) { child->UpdateCheck(); });
}

void TsgTreeViewItem::DoButtonClick(TObject*) {
    SetIsExpanded(!FIsExpanded);
}

void TsgTreeViewItem::DoCheckClick(TObject*) {
    TsgTreeView* tree = TreeView();
    if (tree && tree->MultiSelect() && !FIsSelected)
        tree->SelectRange(this, this);
}

void TsgTreeViewItem::DoCheckChange(TObject*) {
    if (!FCheck)
        return;
    FIsChecked = FCheck->IsChecked();
    TsgTreeView* tree = TreeView();
    if (!tree)
        return;
    tree->SetFocus();
    tree->SetSelected(this);
    if (tree->OnChangeCheck)
        tree->OnChangeCheck(this);
}

void TsgTreeViewItem::ApplyStyle() {
    TsgTextControl::ApplyStyle();
    if (auto* button = dynamic_cast<TsgCustomButton*>(FindResource(u"button"))) {
        FButton = button;
        button->SetOnClick(TNotifyEvent::Bind<&TsgTreeViewItem::DoButtonClick>(this));
        button->SetVisible(ShowsButton());
        button->ApplyResource();
        StartExpanderTrigger();
    }
    if (auto* check = dynamic_cast<TsgCheckBox*>(FindResource(u"check"))) {
        FCheck = check;
        check->SetOnClick(TNotifyEvent::Bind<&TsgTreeViewItem::DoCheckClick>(this));
        // Shown from the first paint as the item holds it; set before the handler so that
        // styling an item is not taken for the user checking it.
        check->SetIsChecked(FIsChecked);
        check->SetOnChange(TNotifyEvent::Bind<&TsgTreeViewItem::DoCheckChange>(this));
        if (TsgTreeView* tree = TreeView())
            check->SetVisible(tree->ShowCheckboxes());
    }
}

void TsgTreeViewItem::FreeStyle() {
    TsgTextControl::FreeStyle();
    FButton = nullptr;
    FCheck = nullptr;
}

// ---- TsgTreeView ----

TsgTreeView::TsgTreeView(TComponent* AOwner)
    : TsgScrollBox(AOwner), FSelectionFill(new TsgBrush(sgBrushSolid, 0x802A8ADF)) {
    SetCanFocused(true);
    SetAutoCapture(true);
    SetWidth(100);
    SetHeight(100);
}

TsgTreeView::~TsgTreeView() {
    BeforeDestruction();
    delete FSelectionFill;
}

void TsgTreeView::SetFirstSelect(TsgTreeViewItem* Item) {
    FFirstSelect = Item;
    if (Item)
        Item->AddFreeNotify(this);
}

void TsgTreeView::SetSelectedQuietly(TsgTreeViewItem* Item) {
    FSelected = Item;
    if (Item)
        Item->AddFreeNotify(this);
}

void TsgTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TsgScrollBox::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSelected)
        FSelected = nullptr;
    if (AComponent == FFirstSelect)
        FFirstSelect = nullptr;
}

void TsgTreeView::FreeNotify(TsgObject* AObject) {
    TsgScrollBox::FreeNotify(AObject);
    if (AObject == FSelected)
        FSelected = nullptr;
    if (AObject == FFirstSelect)
        FFirstSelect = nullptr;
}

int TsgTreeView::GetCount() const {
    return ItemCount(Content());
}

TsgTreeViewItem* TsgTreeView::ItemByIndex(int Index) const {
    return NthItem(Content(), Index);
}

TsgTreeViewItem* TsgTreeView::ItemByGlobalIndex(int Index) const {
    std::function<TsgTreeViewItem*(const TsgObject*)> search =
        [&](const TsgObject* O) -> TsgTreeViewItem* {
        for (int i = 0; i < O->ChildrenCount(); ++i) {
            TsgTreeViewItem* item = AsItem(O->GetChild(i));
            if (!item)
                continue;
            if (item->GlobalIndex() == Index)
                return item;
            if (item->IsExpanded())
                if (TsgTreeViewItem* found = search(item))
                    return found;
        }
        return nullptr;
    };
    return Content() ? search(Content()) : nullptr;
}

TsgTreeViewItem* TsgTreeView::ItemByPoint(float X, float Y) {
    if (!Content())
        return nullptr;
    const TsgPoint abs = LocalToAbsolute({X, Y});
    const TsgRect own = UpdateRect();
    for (int i = 0; i < Content()->ChildrenCount(); ++i) {
        TsgTreeViewItem* item = AsItem(Content()->GetChild(i));
        if (!item || !item->Visible() || !sgIntersectRect(item->UpdateRect(), own))
            continue;
        if (item->PointInObject(abs.X, abs.Y))
            return item;
        if (item->IsExpanded() && item->GetCount() > 0) {
            const TsgPoint p = item->AbsoluteToLocal(abs);
            if (TsgTreeViewItem* found = item->ItemByPoint(p.X, p.Y))
                return found;
        }
    }
    return nullptr;
}

TsgRect TsgTreeView::GetItemRect(TsgTreeViewItem* Item) {
    if (!Item || !Content())
        return TsgRect{};
    TsgPoint origin{0, 0};
    for (TsgObject* o = Item; o && o != Content(); o = o->Parent())
        if (TsgVisualObject* v = o->Visual()) {
            origin.X += v->Position()->X();
            origin.Y += v->Position()->Y();
        }
    return {origin.X, origin.Y, origin.X + Item->Width(), origin.Y + Item->Height()};
}

void TsgTreeView::UpdateGlobalIndexes() {
    int counter = 0;
    std::function<void(const TsgObject*)> number = [&](const TsgObject* O) {
        ForEachItem(O, [&](TsgTreeViewItem* item) {
            item->SetGlobalIndex(counter++);
            if (item->IsExpanded())
                number(item);
        });
    };
    number(Content());
    FGlobalCount = counter;
}

void TsgTreeView::SortItems() {
    if (!FSorted || !Content())
        return;
    SortingTree = this;
    struct Done {
        ~Done() { SortingTree = nullptr; }
    } done;
    // Three levels: the top, the second and the third; deeper lists keep their order.
    Content()->Sort(CompareChildren);
    ForEachItem(Content(), [](TsgTreeViewItem* top) {
        top->Sort(CompareChildren);
        ForEachItem(top, [](TsgTreeViewItem* second) { second->Sort(CompareChildren); });
    });
}

void TsgTreeView::PlaceItem(TsgTreeViewItem* Item, float& X, float& Y, const TsgRect& R) {
    // The running point is in the content's coordinates; the item lies in its parent's.
    TsgPoint p{X, Y};
    for (TsgObject* o = Item->Parent(); o && o != Content(); o = o->Parent())
        if (TsgVisualObject* v = o->Visual()) {
            p.X -= v->Position()->X();
            p.Y -= v->Position()->Y();
        }
    TsgBounds* pad = Item->Padding();
    const float height = FItemHeight != 0 ? FItemHeight : Item->Height();
    Item->SetBounds(p.X + pad->Left(), p.Y + pad->Top(),
                    sgRectWidth(R) - pad->Left() - pad->Right() - Item->Level() * FItemMarginStep,
                    height);
    if (TsgCustomButton* button = Item->Button())
        button->SetVisible(Item->HasChildren() || Item->GetCount() > 0);
    Y += Item->Height() + pad->Top() + pad->Bottom();
    if (Item->GetCount() == 0)
        return;
    if (!Item->IsExpanded()) {
        HideDescendants(Item);
        return;
    }
    X += FItemMarginStep;
    ForEachItem(Item, [&](TsgTreeViewItem* child) {
        child->SetVisible(true);
        child->SetOpacity(1);
        PlaceItem(child, X, Y, R);
    });
    X -= FItemMarginStep;
}

TsgRect TsgTreeView::GetContentBounds() {
    TsgRect result{0, 0, Width(), Height()};
    UpdateGlobalIndexes();
    if (UpdateCount() > 0 || !ContentLayout())
        return result;
    TsgRect r{0, 0, ContentLayout()->Width(), ContentLayout()->Height()};
    if (Content()) {
        SortItems();
        float x = 0, y = 0;
        ForEachItem(Content(), [&](TsgTreeViewItem* item) { PlaceItem(item, x, y, r); });
        r.Bottom = r.Top + y;
    }
    // Never empty: a box without area would stop the bar pass before the content is placed.
    if (r.Bottom == r.Top)
        r.Bottom = r.Top + 1;
    return r;
}

void TsgTreeView::AddObject(TsgObject* AObject) {
    if (Content() && (AsItem(AObject) || dynamic_cast<TsgSelectionItem*>(AObject))) {
        Content()->AddObject(AObject);
        UpdateGlobalIndexes();
        if (UpdateCount() <= 0)
            Realign();
        return;
    }
    TsgScrollBox::AddObject(AObject);
}

void TsgTreeView::SetSelected(TsgTreeViewItem* Item) {
    if (Item == FSelected)
        return;
    if (!FMultiSelect && FSelected)
        FSelected->SetIsSelected(false);
    SetSelectedQuietly(Item);
    SetFirstSelect(Item);
    if (Item && Content()) {
        if (FAutoExpand && !Item->IsExpanded())
            Item->SetIsExpanded(true);
        for (TsgObject* o = Item->Parent(); o && o != this; o = o->Parent())
            if (TsgTreeViewItem* ancestor = AsItem(o); ancestor && !ancestor->IsExpanded())
                ancestor->SetIsExpanded(true);
        TsgVisualObject* layout = ContentLayout();
        if (layout && VScrollBar()) {
            const float y = layout->AbsoluteToLocal(Item->LocalToAbsolute({0, 0})).Y;
            TsgBounds* pad = Item->Padding();
            const float bottom = y + pad->Top() + pad->Bottom() + Item->Height();
            if (y < 0)
                VScrollBar()->SetValue(VScrollBar()->Value() + y);
            if (bottom > layout->Height())
                VScrollBar()->SetValue(VScrollBar()->Value() + bottom - layout->Height());
        }
        Item->SetIsSelected(true);
    }
    if (OnChange)
        OnChange(this);
}

void TsgTreeView::SelectRange(TsgTreeViewItem* A, TsgTreeViewItem* B) {
    if (!A || !B)
        return;
    const int lo = std::min(A->GlobalIndex(), B->GlobalIndex());
    const int hi = std::max(A->GlobalIndex(), B->GlobalIndex());
    for (int g = 0; g < FGlobalCount; ++g)
        if (TsgTreeViewItem* item = ItemByGlobalIndex(g))
            item->SetIsSelected(g >= lo && g <= hi);
}

void TsgTreeView::ClearSelection() {
    for (int g = 0; g < FGlobalCount; ++g)
        if (TsgTreeViewItem* item = ItemByGlobalIndex(g))
            item->SetIsSelected(false);
}

void TsgTreeView::SelectAll() {
    for (int g = 0; g < FGlobalCount; ++g)
        if (TsgTreeViewItem* item = ItemByGlobalIndex(g))
            item->SetIsSelected(true);
}

void TsgTreeView::Clear() {
    BeginUpdate();
    FSelected = nullptr;
    if (TsgScrollContent* content = Content())
        for (int i = content->ChildrenCount() - 1; i >= 0; --i)
            if (TsgTreeViewItem* item = AsItem(content->GetChild(i)))
                item->Free();
    if (VScrollBar())
        VScrollBar()->SetValue(0);
    if (HScrollBar())
        HScrollBar()->SetValue(0);
    UpdateGlobalIndexes();
    EndUpdate();
}

void TsgTreeView::RemoveItem(TsgTreeViewItem* Item, bool Delete) {
    if (!Item)
        return;
    BeginUpdate();
    if (Item == FSelected)
        FSelected = nullptr;
    if (Delete)
        Item->Free();
    else
        Item->SetParent(nullptr);
    UpdateGlobalIndexes();
    EndUpdate();
}

void TsgTreeView::ExpandAll() {
    BeginUpdate();
    ForEachItem(Content(), [](TsgTreeViewItem* item) { item->SetIsExpanded(true); });
    EndUpdate();
}

void TsgTreeView::CollapseAll() {
    BeginUpdate();
    ForEachItem(Content(), [](TsgTreeViewItem* item) { item->SetIsExpanded(false); });
    EndUpdate();
}

void TsgTreeView::SetItemHeight(float Value) {
    if (Value == FItemHeight)
        return;
    FItemHeight = Value;
    Realign();
}

void TsgTreeView::SetItemMarginStep(float Value) {
    if (Value == FItemMarginStep)
        return;
    FItemMarginStep = Value;
    Realign();
}

void TsgTreeView::SetSorted(bool Value) {
    if (Value == FSorted)
        return;
    FSorted = Value;
    Realign();
}

void TsgTreeView::SetShowCheckboxes(bool Value) {
    if (Value == FShowCheckboxes)
        return;
    FShowCheckboxes = Value;
    ForEachItem(Content(), [](TsgTreeViewItem* item) { item->UpdateCheck(); });
}

TsgObject* TsgTreeView::GetSelection() {
    TsgObject* part = FindResource(u"selection");
    return dynamic_cast<TsgSelectionItem*>(part) ? part : nullptr;
}

void TsgTreeView::VerifyFirstSelect() {
    bool listed = false;
    if (FFirstSelect)
        for (int g = 0; g < FGlobalCount && !listed; ++g)
            listed = ItemByGlobalIndex(g) == FFirstSelect;
    if (!listed)
        SetFirstSelect(FSelected);
}

void TsgTreeView::ApplyStyle() {
    TsgScrollBox::ApplyStyle();
    TsgObject* part = FindResource(u"selection");
    if (auto* brush = dynamic_cast<TsgBrushObject*>(part))
        FSelectionFill->Assign(brush->Brush());
    else if (TsgVisualObject* v = part ? part->Visual() : nullptr)
        v->SetVisible(false);
}

void TsgTreeView::ContentPaint(TsgCanvas* Canvas, const TsgRect&) {
    if (!Content() || !ContentLayout())
        return;
    if (FHideSelectionUnfocused && !IsFocused())
        return;
    Canvas->Fill()->Assign(FSelectionFill);
    const float opacity = AbsoluteOpacity();
    if (!FMultiSelect) {
        if (FSelected)
            Canvas->FillRect(GetItemRect(FSelected), 0, 0, AllCorners, opacity);
        return;
    }
    for (int g = 0; g < FGlobalCount; ++g)
        if (TsgTreeViewItem* item = ItemByGlobalIndex(g); item && item->IsSelected())
            Canvas->FillRect(GetItemRect(item), 0, 0, AllCorners, opacity);
}

void TsgTreeView::EnterFocus() {
    TsgScrollBox::EnterFocus();
    if (FHideSelectionUnfocused && FSelected)
        Repaint();
}

void TsgTreeView::KillFocus() {
    TsgScrollBox::KillFocus();
    if (FHideSelectionUnfocused && FSelected)
        Repaint();
}

void TsgTreeView::SelectTarget(TsgTreeViewItem* Target, TShiftState Shift) {
    const bool range = FMultiSelect && Shift.Contains(ssShift);
    if (FMultiSelect) {
        if (range) {
            VerifyFirstSelect();
            SelectRange(FFirstSelect, Target);
        } else
            SelectRange(Target, Target);
    }
    TsgTreeViewItem* anchor = FFirstSelect;
    SetSelected(Target);
    if (range)
        SetFirstSelect(anchor);
}

void TsgTreeView::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgScrollBox::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    TsgTreeViewItem* item = ItemByPoint(X, Y);
    if (!item)
        return;
    if (FMultiSelect && Shift.Contains(ssCtrl)) {
        item->SetIsSelected(!item->IsSelected());
        SetSelected(item);
        return;
    }
    SelectTarget(item, Shift);
}

void TsgTreeView::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    TsgScrollBox::KeyDown(Key, KeyChar, Shift);
    if (GetCount() == 0 || !FSelected)
        return;
    TsgTreeViewItem* target = nullptr;
    switch (Key) {
    case VK_END:
        target = ItemByGlobalIndex(FGlobalCount - 1);
        break;
    case VK_HOME:
        target = ItemByGlobalIndex(0);
        break;
    case VK_LEFT:
    case VK_SUBTRACT:
        FSelected->SetIsExpanded(false);
        break;
    case VK_RIGHT:
    case VK_ADD:
        FSelected->SetIsExpanded(true);
        break;
    case VK_UP:
        if (FSelected->GlobalIndex() > 0)
            target = ItemByGlobalIndex(FSelected->GlobalIndex() - 1);
        break;
    case VK_DOWN:
        if (FSelected->GlobalIndex() < FGlobalCount - 1)
            target = ItemByGlobalIndex(FSelected->GlobalIndex() + 1);
        break;
    default:
        if (FSelectOnKey && KeyChar != 0)
            TypeAhead(KeyChar);
        return;
    }
    if (target)
        SelectTarget(target, Shift);
    Key = 0;
}

void TsgTreeView::TypeAhead(char16_t KeyChar) {
    const UnicodeString c = UnicodeString(KeyChar, 1).LowerCase();
    int start;
    if (CompareText(FKeySearch, c) == 0) {
        FKeySearch = c;
        start = FSelected->GlobalIndex() + 1;
    } else {
        FKeySearch += c;
        start = FSelected->GlobalIndex();
    }
    auto matches = [this](int g) {
        TsgTreeViewItem* item = ItemByGlobalIndex(g);
        return item && item->Text().LowerCase().SubString(1, FKeySearch.Length()) == FKeySearch
                   ? item
                   : nullptr;
    };
    TsgTreeViewItem* found = nullptr;
    if (start < FGlobalCount - 1)
        for (int g = start; g < FGlobalCount && !found; ++g)
            found = matches(g);
    for (int g = 0; g < FGlobalCount && !found; ++g)
        found = matches(g);
    if (found) {
        if (FMultiSelect)
            ClearSelection();
        SetSelected(found);
    } else if (FKeySearch.Length() == 1)
        FKeySearch = UnicodeString();
    if (!FKeyDownTimer) {
        FKeyDownTimer = new TsgTimer(this);
        FKeyDownTimer->SetInterval(1000);
        FKeyDownTimer->SetOnTimer(TNotifyEvent::Bind<&TsgTreeView::DoKeyDownTimer>(this));
    }
    FKeyDownTimer->SetEnabled(false);
    FKeyDownTimer->SetEnabled(true);
}

void TsgTreeView::DoKeyDownTimer(TObject*) {
    FKeySearch = UnicodeString();
    if (FKeyDownTimer)
        FKeyDownTimer->SetEnabled(false);
}

void RegisterSgTreeViewUnit() {
    static const bool done = [] {
        RegisterSGObjects(u"Trees", {&TsgTreeView::StaticClassInfo()});
        RegisterSGObjects(u"Items", {&TsgTreeViewItem::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
