#include "scene/controls/Sg_combobox.h"

#include "scene/core/Sg_scene_align.h"
#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_paint.h"

namespace {

const std::vector<AnsiString>& PlacementNames() {
    static const std::vector<AnsiString> names = {
        "sgPlacementBottom", "sgPlacementTop",      "sgPlacementLeft", "sgPlacementRight",
        "sgPlacementCenter", "sgPlacementAbsolute", "sgPlacementMouse"};
    return names;
}

} // namespace

// The drop-down list is made by its combo box only: it has class information of its own but
// stays out of the class registry, so no stream can create one by name.
const TClassInfo& TsgComboListBox::StaticClassInfo() {
    return dbi_classes_detail::MakeClassInfo<TsgComboListBox>(
        "TsgComboListBox", &inherited::StaticClassInfo(), [](TPublisher<TsgComboListBox>&) {});
}

DBI_PUBLISH(TsgComboBox) {
    using C = TsgComboBox;
    p.Integer("ItemIndex", &C::ItemIndex, &C::SetItemIndex);
    p.Integer("DropDownCount", &C::DropDownCount, &C::SetDropDownCount, 8);
    p.Enumeration("Placement", &C::Placement, &C::SetPlacement, PlacementNames(), std::nullopt);
    p.Boolean("CanFocused", &C::CanFocused, &C::SetCanFocused, true);
    p.Boolean("DisableFocusEffect", &C::DisableFocusEffect, &C::SetDisableFocusEffect, false);
    p.Integer("TabOrder", &C::TabOrder, &C::SetTabOrder, -1);
    p.String("Resource", &C::Resource, &C::SetResource);
    p.Event("OnChange", &C::GetOnChange, &C::SetOnChange);
}

DBI_PUBLISH(TsgHudComboBox) {}

// ---- TsgComboListBox ----

TsgComboListBox::TsgComboListBox(TComponent* AOwner) : TsgListBox(AOwner) {
    SetCanFocused(true);
    SetHideSelectionUnfocused(false);
}

void TsgComboListBox::ApplyResource() {
    if (StyleNeeded())
        TsgListBox::ApplyResource();
}

void TsgComboListBox::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgListBox::MouseUp(Button, Shift, X, Y);
    auto* popup = dynamic_cast<TsgPopup*>(Parent());
    if (!popup || !popup->IsOpen() || !FComboBox)
        return;
    if (X >= 0 && X < Width() && Y >= 0 && Y < Height()) {
        TsgListBoxItem* item = ItemByPoint(X, Y);
        if (item && !item->Enabled())
            return;
        if (item)
            FComboBox->SetItemIndex(item->Index());
    }
    popup->ClosePopup();
}

void TsgComboListBox::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
    TsgScrollBox::MouseWheel(Shift, WheelDelta, Handled);
}

void TsgComboListBox::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    const uint16_t key = Key;
    TsgListBox::KeyDown(Key, KeyChar, Shift);
    if (key == VK_ESCAPE)
        if (auto* popup = dynamic_cast<TsgPopup*>(Parent()); popup && popup->IsOpen())
            popup->ClosePopup();
}

// ---- TsgComboBox ----

TsgComboBox::TsgComboBox(TComponent* AOwner) : TsgControl(AOwner) {
    SetCanFocused(true);
    SetWidth(100);
    SetHeight(23);
    FPopup = new TsgPopup(this);
    FPopup->SetPlacementTarget(this);
    FPopup->SetStaysOpen(false);
    FPopup->SetStored(false);
    FPopup->SetLocked(true);
    FPopup->SetDesignHide(true);
    AddObject(FPopup);
    FListBox = new TsgComboListBox(this);
    FListBox->SetComboBox(this);
    FListBox->SetStored(false);
    FListBox->SetAlign(vaClient);
    FListBox->SetShowCheckboxes(false);
    FPopup->AddObject(FListBox);
}

TsgComboBox::~TsgComboBox() {
    BeforeDestruction();
}

void TsgComboBox::AddObject(TsgObject* AObject) {
    if (FListBox &&
        (dynamic_cast<TsgListBoxItem*>(AObject) || dynamic_cast<TsgSelectionItem*>(AObject))) {
        IsgScene* scene = Scene();
        if (auto* v = AObject->Visual())
            v->SetLocked(scene && scene->GetDesignTime());
        FListBox->AddObject(AObject);
        return;
    }
    TsgControl::AddObject(AObject);
}

void TsgComboBox::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
    TsgControl::GetChildren(Proc, Root);
    if (!FListBox || !FListBox->Content())
        return;
    TsgScrollContent* content = FListBox->Content();
    for (int i = 0; i < content->ChildrenCount(); ++i)
        if (content->GetChild(i)->Stored())
            Proc(content->GetChild(i));
}

int TsgComboBox::GetCount() const {
    return FListBox ? FListBox->GetCount() : 0;
}

int TsgComboBox::ItemIndex() const {
    return FListBox ? FListBox->ItemIndex() : -1;
}

void TsgComboBox::SetItemIndex(int Value) {
    if (!FListBox)
        return;
    FListBox->SetItemIndex(Value);
    if (!BindingObjects().empty())
        ToBindingObjects();
    if (OnChange)
        OnChange(this);
    if (TsgObject* clone = StyleClone())
        clone->ApplyTriggerEffect(this, "");
    Repaint();
}

void TsgComboBox::Clear() {
    if (FListBox)
        FListBox->Clear();
}

TsgVariant TsgComboBox::GetData() {
    return FListBox ? FListBox->GetData() : TsgVariant();
}

void TsgComboBox::SetData(const TsgVariant& Value) {
    if (FListBox)
        FListBox->SetData(Value);
}

void TsgComboBox::Realign() {
    TsgControl::Realign();
    if (FRealigning || !FPopup || !FListBox)
        return;
    FRealigning = true;
    FPopup->SetWidth(Width());
    FListBox->SetWidth(Width());
    FRealigning = false;
}

void TsgComboBox::ApplyStyle() {
    TsgControl::ApplyStyle();
    auto* content = dynamic_cast<TsgContent*>(FindResource(u"Content"));
    if (!content)
        return;
    content->SetOnPaint(TOnPaintEvent::Bind<&TsgComboBox::DoContentPaint>(this));
    if (FListBox)
        if (TsgListBoxItem* item = FListBox->Selected())
            item->SetWidth(content->Width());
}

void TsgComboBox::DropDown() {
    if (!FPopup || !FListBox)
        return;
    if (FPopup->IsOpen()) {
        FPopup->ClosePopup();
        return;
    }
    FPopup->SetPlacement(FPlacement);
    FPopup->SetWidth(Width());
    const float itemHeight = FListBox->ItemHeight();
    FPopup->SetHeight(itemHeight > 0 ? FDropDownCount * itemHeight + 2
                                     : FDropDownCount * (Height() - 2) + 2);
    FListBox->UpdateResource();
    FPopup->Popup();
    FListBox->SetFocus();
}

void TsgComboBox::DesignClick() {
    if (!FPopup || !FListBox)
        return;
    FPopup->SetDesignHide(!FPopup->DesignHide());
    FPopup->SetWidth(Width());
    const float itemHeight = FListBox->ItemHeight();
    FPopup->SetHeight(itemHeight > 0 ? FDropDownCount * itemHeight
                                     : FDropDownCount * (Height() - 4));
    FPopup->Position()->SetPoint({Position()->X(), Position()->Y() + Height()});
}

void TsgComboBox::DoContentPaint(TObject* Sender, TsgCanvas* Canvas, const TsgRect& ARect) {
    TsgListBoxItem* item = FListBox ? FListBox->Selected() : nullptr;
    if (!item)
        return;
    item->ApplyResource();
    // Painted at the size of the closed box; the list is not laid out for that moment.
    FListBox->SetLayoutHeld(true);
    const float width = item->Width();
    const float height = item->Height();
    item->SetBounds(item->Position()->X(), item->Position()->Y(), sgRectWidth(ARect),
                    sgRectHeight(ARect));
    const float saved = item->Opacity();
    item->SetOpacity(saved * Opacity());
    sgPaintTo(item, Canvas, ARect, dynamic_cast<TsgVisualObject*>(Sender));
    item->SetOpacity(saved);
    item->SetBounds(item->Position()->X(), item->Position()->Y(), width, height);
    FListBox->SetLayoutHeld(false);
}

void TsgComboBox::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft)
        DropDown();
}

void TsgComboBox::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    TsgControl::KeyDown(Key, KeyChar, Shift);
    const int count = GetCount();
    if (count == 0)
        return;
    const int index = ItemIndex();
    switch (Key) {
    case VK_END:
        SetItemIndex(count - 1);
        break;
    case VK_HOME:
        SetItemIndex(0);
        break;
    case VK_LEFT:
        if (index > 0)
            SetItemIndex(index - 1);
        break;
    case VK_UP:
        if (index > 0)
            SetItemIndex(index - 1);
        if (ItemIndex() < 0)
            SetItemIndex(0);
        break;
    case VK_RIGHT:
        if (index < count - 1)
            SetItemIndex(index + 1);
        break;
    case VK_DOWN:
        if (index < count - 1)
            SetItemIndex(index + 1);
        if (ItemIndex() > count - 1)
            SetItemIndex(count - 1);
        break;
    default:
        return;
    }
    Key = 0;
}

void TsgComboBox::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
    TsgControl::MouseWheel(Shift, WheelDelta, Handled);
    const int count = GetCount();
    if (count > 0) {
        const int index = ItemIndex();
        if (WheelDelta < 0) {
            if (index < count - 1)
                SetItemIndex(index + 1);
        } else if (index > 0)
            SetItemIndex(index - 1);
    }
    Handled = true;
}

TsgHudComboBox::TsgHudComboBox(TComponent* AOwner) : TsgComboBox(AOwner) {
    ListBox()->SetResource(u"hudcombolistboxstyle");
}
