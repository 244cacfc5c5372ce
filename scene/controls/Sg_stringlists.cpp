#include "scene/controls/Sg_stringlists.h"

#include "scene/core/Sg_scene_iscene.h"

DBI_PUBLISH(TsgStringListBox) {
    using S = TsgStringListBox;
    p.Object("Items", &S::Items, &S::SetItems);
    p.Enumeration("TextAlign", &S::TextAlign, &S::SetTextAlign, SgTextAlignNames(),
                  sgTextAlignCenter);
    p.Boolean("AutoTranslate", &S::AutoTranslate, &S::SetAutoTranslate, true);
}

DBI_PUBLISH(TsgStringComboBox) {
    using S = TsgStringComboBox;
    p.Object("Items", &S::Items, &S::SetItems);
    p.Float("ItemHeight", &S::ItemHeight, &S::SetItemHeight);
    p.Enumeration("TextAlign", &S::TextAlign, &S::SetTextAlign, SgTextAlignNames(),
                  sgTextAlignCenter);
    p.Boolean("AutoTranslate", &S::AutoTranslate, &S::SetAutoTranslate, true);
}

DBI_PUBLISH(TsgHudStringListBox) {}
DBI_PUBLISH(TsgHudStringComboBox) {}

namespace {

// One item for the string S. Items have no owner: a list of many strings must not make every
// new item a notification partner of all the others.
// It is parented first and styled last, so that in a list it takes its style at its first
// paint.
void AddItem(TsgObject* Parent, const UnicodeString& S, bool AutoTranslate, TsgTextAlign Align,
             float Height, const UnicodeString& Style) {
    auto* item = new TsgListBoxItem(nullptr);
    item->SetAutoTranslate(AutoTranslate);
    Parent->AddObject(item);
    item->SetHeight(Height);
    item->SetStored(false);
    item->SetLocked(true);
    item->SetText(S);
    item->SetTextAlign(Align);
    item->SetResource(Style);
}

} // namespace

// ---- TsgStringListBox ----

TsgStringListBox::TsgStringListBox(TComponent* AOwner)
    : TsgListBox(AOwner), FItems(new TsgWideStringList) {
    SetAutoTranslate(true);
    SetItemHeight(19);
    SetResource(u"listboxstyle");
    FItems->OnChange = TNotifyEvent::Bind<&TsgStringListBox::ItemsChanged>(this);
}

TsgStringListBox::~TsgStringListBox() {
    FItems->OnChange = TNotifyEvent();
    BeforeDestruction();
    delete FItems;
}

void TsgStringListBox::SetItems(TsgWideStrings* Value) {
    FItems->Assign(Value);
}

void TsgStringListBox::ItemsChanged(TObject*) {
    RebuildList();
}

void TsgStringListBox::SetTextAlign(TsgTextAlign Value) {
    if (Value == FTextAlign)
        return;
    FTextAlign = Value;
    if (!Loading())
        RebuildList();
}

void TsgStringListBox::EndUpdate() {
    TsgListBox::EndUpdate();
    if (UpdateCount() == 0)
        RebuildList();
}

void TsgStringListBox::Loaded() {
    TsgListBox::Loaded();
    RebuildList();
}

void TsgStringListBox::RebuildList() {
    if (UpdateCount() > 0 || HasState(csDestroying) || !FItems)
        return;
    IsgScene* scene = Scene();
    if (scene)
        scene->BeginUpdate();
    const TsgPoint scroll = ScrollPosition();
    const int index = ItemIndex();
    // The items are made inside one update; the layout comes once, at the end.
    TsgScrollBox::BeginUpdate();
    Clear();
    const int count = FItems->GetCount();
    for (int i = 0; i < count; ++i)
        AddItem(this, FItems->Get(i), AutoTranslate(), FTextAlign, ItemHeight(), ItemStyle());
    TsgScrollBox::EndUpdate();
    SetItemIndexQuietly(index < count ? index : count - 1);
    if (VScrollBar())
        VScrollBar()->SetValue(scroll.Y);
    if (HScrollBar())
        HScrollBar()->SetValue(scroll.X);
    Realign();
    if (scene)
        scene->EndUpdateWOInvalidate();
    Repaint();
}

TsgVariant TsgStringListBox::GetData() {
    const int index = ItemIndex();
    return index >= 0 && index < FItems->GetCount() ? TsgVariant(FItems->Get(index)) : TsgVariant();
}

void TsgStringListBox::SetData(const TsgVariant& Value) {
    const int index = ItemIndex();
    if (index >= 0 && index < FItems->GetCount())
        FItems->Put(index, Value);
}

// ---- TsgStringComboBox ----

TsgStringComboBox::TsgStringComboBox(TComponent* AOwner)
    : TsgComboBox(AOwner), FItems(new TsgWideStringList) {
    SetAutoTranslate(true);
    SetResource(u"comboboxstyle");
    FItems->OnChange = TNotifyEvent::Bind<&TsgStringComboBox::ItemsChanged>(this);
}

TsgStringComboBox::~TsgStringComboBox() {
    FItems->OnChange = TNotifyEvent();
    BeforeDestruction();
    delete FItems;
}

void TsgStringComboBox::SetItems(TsgWideStrings* Value) {
    FItems->Assign(Value);
}

void TsgStringComboBox::ItemsChanged(TObject*) {
    RebuildList();
}

void TsgStringComboBox::SetItemHeight(float Value) {
    if (Value == FItemHeight)
        return;
    FItemHeight = Value;
    RebuildList();
}

void TsgStringComboBox::SetTextAlign(TsgTextAlign Value) {
    if (Value == FTextAlign)
        return;
    FTextAlign = Value;
    if (!Loading())
        RebuildList();
}

void TsgStringComboBox::Loaded() {
    TsgComboBox::Loaded();
    RebuildList();
}

void TsgStringComboBox::RebuildList() {
    TsgListBox* list = ListBox();
    if (HasState(csDestroying) || !FItems || !list)
        return;
    IsgScene* scene = Scene();
    if (scene)
        scene->BeginUpdate();
    const int index = FWantedIndex >= 0 ? FWantedIndex : list->ItemIndex();
    list->BeginUpdate();
    list->Clear();
    const int count = FItems->GetCount();
    for (int i = 0; i < count; ++i)
        AddItem(this, FItems->Get(i), AutoTranslate(), FTextAlign, FItemHeight, ItemStyle());
    list->EndUpdate();
    list->GetCount();
    list->SetItemIndexQuietly(-1);
    list->SetItemIndexQuietly(index < count ? index : count - 1);
    FWantedIndex = index >= count ? index : -1;
    Realign();
    if (scene)
        scene->EndUpdateWOInvalidate();
    Repaint();
}

void TsgStringComboBox::SetItemIndex(int Value) {
    FWantedIndex = -1;
    TsgComboBox::SetItemIndex(Value);
}

TsgVariant TsgStringComboBox::GetData() {
    const int index = ItemIndex();
    return index >= 0 && index < FItems->GetCount() ? TsgVariant(FItems->Get(index)) : TsgVariant();
}

void TsgStringComboBox::SetData(const TsgVariant& Value) {
    const int index = ItemIndex();
    if (index >= 0 && index < FItems->GetCount())
        FItems->Put(index, Value);
}

// ---- HUD forms ----

TsgHudStringListBox::TsgHudStringListBox(TComponent* AOwner) : TsgStringListBox(AOwner) {
    SetResource(u"hudlistboxstyle");
    SetItemStyle(u"hudlistboxitemstyle");
}

TsgHudStringComboBox::TsgHudStringComboBox(TComponent* AOwner) : TsgStringComboBox(AOwner) {
    SetResource(u"hudcomboboxstyle");
    ListBox()->SetResource(u"hudcombolistboxstyle");
    SetItemStyle(u"hudlistboxitemstyle");
}
