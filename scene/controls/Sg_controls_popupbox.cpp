#include "scene/controls/Sg_controls_popupbox.h"

#include "scene/core/Sg_classes_widestringlist.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/ui/Menus.h"

#include <cmath>

DBI_PUBLISH(TsgPopupBox) {
    using S = TsgPopupBox;
    p.Object("Items", &S::Items, &S::SetItems);
    p.Integer("ItemIndex", &S::ItemIndex, &S::SetItemIndex, std::nullopt);
    // The caption follows ItemIndex, so it is not written.
    p.String("Text", &S::Text, &S::SetText).Stored([](TPersistent&) { return false; });
    p.Boolean("CanFocused", &S::CanFocused, &S::SetCanFocused, true);
    p.Boolean("DisableFocusEffect", &S::DisableFocusEffect, &S::SetDisableFocusEffect, false);
    p.Integer("TabOrder", &S::TabOrder, &S::SetTabOrder, -1);
    p.Object("BindingSource", &S::BindingSource, &S::SetBindingSource);
    p.Event("OnChange", &S::GetOnChange, &S::SetOnChange);
}

DBI_PUBLISH(TsgHudPopupBox) {
    (void)p;
}

TsgPopupBox::TsgPopupBox(TComponent* AOwner)
    : TsgCustomButton(AOwner), FItems(new TsgWideStringList()), FPopup(new TPopupMenu(nullptr)) {
    SetHeight(21);
    FItems->OnChange = TNotifyEvent::Bind<&TsgPopupBox::DoItemsChanged>(this);
}

TsgPopupBox::~TsgPopupBox() {
    BeforeDestruction();
    FItems->OnChange = {};
    delete FItems;
    delete FPopup;
}

void TsgPopupBox::SetItems(TsgWideStringList* Value) {
    FItems->Assign(Value);
}

void TsgPopupBox::DoItemsChanged(TObject*) {
    Repaint();
}

void TsgPopupBox::SetItemIndex(int32_t Value) {
    if (Value == FItemIndex)
        return;
    FItemIndex = Value;
    // An index past the list reads an empty entry, as the list answers outside its range.
    if (Value >= 0 && FItems->GetCount() > 0)
        SetText(Value < FItems->GetCount() ? FItems->Get(Value) : UnicodeString());
    else {
        TsgCustomButton::SetText(UnicodeString());
        FItemIndex = -1;
    }
    if (OnChange)
        OnChange(this);
}

void TsgPopupBox::SetText(const UnicodeString& Value) {
    if (FItems->GetCount() == 0) {
        FItemIndex = -1;
        TsgCustomButton::SetText(UnicodeString());
        return;
    }
    FItemIndex = FItems->IndexOf(Value);
    TsgCustomButton::SetText(FItemIndex >= 0 ? Value : UnicodeString());
}

void TsgPopupBox::Click() {
    TsgCustomButton::Click();
    DoPopup();
}

void TsgPopupBox::DoPopup() {
    FPopup->Items()->Clear();
    for (int i = 0; i < FItems->GetCount(); ++i) {
        auto* item = new TMenuItem(nullptr);
        item->SetCaption(FItems->Get(i));
        item->SetChecked(i == FItemIndex);
        item->SetEnabled(true);
        item->OnClick = TNotifyEvent::Bind<&TsgPopupBox::ItemClick>(this);
        FPopup->Items()->Add(item);
    }
    IsgScene* scene = Scene();
    if (!scene)
        return;
    // Entries are about 20 units high: the list is centred on the box.
    const TsgPoint local{0, std::trunc(Height() / 2 - 10 * float(FItems->GetCount()))};
    const TsgPoint screen = scene->LocalToScreen(LocalToAbsolute(local));
    FPopup->Popup(int(std::nearbyint(screen.X)), int(std::nearbyint(screen.Y)));
}

void TsgPopupBox::ItemClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (item && item->Parent())
        SetItemIndex(item->Parent()->IndexOf(item));
}

void TsgPopupBox::SetData(const TsgVariant& Value) {
    if (VarIsEvent(Value)) {
        OnChange = TNotifyEvent::FromMethod(VariantToEvent(Value));
        return;
    }
    SetItemIndex(FItems->IndexOf(Value));
}
