#include "platform/ui/Menus.h"

#include "platform/ui/Activation.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/MenuWindow.h"
#include "platform/ui/WindowRegistry.h"

#include <algorithm>
#include <unordered_map>

DBI_PUBLISH(TMenuItem) {
    p.String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
    p.Boolean("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck, false);
    p.Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false);
    p.Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true);
    p.Integer("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0);
    p.Boolean("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false);
    p.Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true);
    p.Event("OnClick", &TMenuItem::GetOnClick, &TMenuItem::SetOnClick);
}

DBI_PUBLISH(TPopupMenu) {
    p.Event("OnPopup", &TPopupMenu::GetOnPopup, &TPopupMenu::SetOnPopup);
}

// Menu items.

namespace {
// Live items by serial number: a click posted for an item finds it again only while it lives.
std::unordered_map<uint64_t, TMenuItem*>& LiveItems() {
    static auto* items = new std::unordered_map<uint64_t, TMenuItem*>();
    return *items;
}
uint64_t nextSerial = 1;
} // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FSerial(nextSerial++) {
    LiveItems()[FSerial] = this;
}

TMenuItem* TMenuItem::FromSerial(uint64_t Serial) {
    auto it = LiveItems().find(Serial);
    return it == LiveItems().end() ? nullptr : it->second;
}

TMenuItem::~TMenuItem() {
    LiveItems().erase(FSerial);
    // An item that goes while its menu shows would leave a window pointing at it.
    if (TPopupMenu* menu = GetParentMenu(); menu && menu->IsOpen())
        menu->CloseMenu();
    Clear();
    if (FParent)
        FParent->Remove(this);
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError("Menu index out of bounds");
    return FItems[static_cast<size_t>(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item)
        throw EMenuError("Cannot insert a missing menu item");
    if (Item->FParent)
        throw EMenuError("Menu inserted twice");
    if (Index < 0 || Index > Count())
        throw EListError("Menu index out of bounds");
    for (const TMenuItem* p = this; p; p = p->FParent)
        if (p == Item)
            throw EMenuError("A menu item cannot hold itself");
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    if (Item->FChecked && Item->FRadioItem)
        Item->UncheckGroup();
}

void TMenuItem::Delete(int Index) {
    TMenuItem* item = Items(Index);
    if (TPopupMenu* menu = GetParentMenu(); menu && menu->IsOpen())
        menu->CloseMenu();
    FItems.erase(FItems.begin() + Index);
    item->FParent = nullptr;
}

void TMenuItem::Remove(TMenuItem* Item) {
    int index = IndexOf(Item);
    if (index < 0)
        throw EMenuError("Menu item not found");
    Delete(index);
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        delete FItems.back();
}

TPopupMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent)
        item = item->FParent;
    return item->FMenu;
}

void TMenuItem::SetChecked(bool Value) {
    if (Value == FChecked)
        return;
    FChecked = Value;
    if (Value && FRadioItem)
        UncheckGroup();
}

void TMenuItem::SetRadioItem(bool Value) {
    if (Value == FRadioItem)
        return;
    FRadioItem = Value;
    if (Value && FChecked)
        UncheckGroup();
}

void TMenuItem::UncheckGroup() {
    if (!FParent)
        return;
    for (TMenuItem* sibling : FParent->FItems)
        if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
            sibling->FChecked = false;
}

void TMenuItem::Click() {
    if (FAutoCheck)
        SetChecked(!FChecked);
    if (OnClick)
        OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() {
    if (FParent && FParent->FMenu)
        return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
    if (FParent)
        FParent->Remove(this);
    if (auto* item = dynamic_cast<TMenuItem*>(Value))
        item->Add(this);
    else if (auto* menu = dynamic_cast<TPopupMenu*>(Value))
        menu->Items()->Add(this);
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    for (TMenuItem* item : FItems)
        if (item->Owner() == root)
            proc(item);
}

// The popup menu.

namespace {

TRect ScreenRect() {
    return TRect{0, 0, Screen->Width(), Screen->Height()};
}

} // namespace

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {
    // The root item belongs to the menu alone: it is never streamed or named.
    FItems = new TMenuItem(nullptr);
    FItems->FMenu = this;
}

TPopupMenu::~TPopupMenu() {
    *FAlive = false;
    CloseMenu();
    delete FItems;
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
    if (Value == FPopupComponent)
        return;
    if (FPopupComponent)
        FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    FItems->GetChildren(proc, root);
}

bool TPopupMenu::OwnsWindow(const TForm* Form) const {
    return Form && std::find(FLevels.begin(), FLevels.end(), Form) != FLevels.end();
}

void TPopupMenu::Popup(int X, int Y) {
    CloseMenu();
    std::shared_ptr<bool> alive = FAlive;
    if (OnPopup)
        OnPopup(this);
    if (!*alive || IsOpen())
        return;
    auto* level = new TMenuWindow(this, FItems, 0);
    if (level->Rows().empty()) {
        delete level;
        return;
    }
    const TPoint size = level->MeasureSize();
    const TPoint at = MenuPlacement(TPoint{X, Y}, size, ScreenRect());
    level->SetBounds(at.X, at.Y, size.X, size.Y);
    FLevels.push_back(level);
    TForm* active = LogicalActiveForm();
    FOwnerForm = active && !dynamic_cast<TMenuWindow*>(active) ? active : nullptr;
    level->SetVisible(true);
    if (FOwnerForm)
        FOwnerForm->SetKeyForm(level);
    // Taken over quietly: telling the owner would close the popup the menu was opened from.
    SetLogicalActiveForm(level);
}

void TPopupMenu::OpenSubmenu(TMenuWindow* From, TMenuItem* Item, bool SelectFirst) {
    const int level = From->Level();
    CloseLevelsAfter(level);
    auto* sub = new TMenuWindow(this, Item, level + 1);
    if (sub->Rows().empty()) {
        delete sub;
        return;
    }
    const TPoint size = sub->MeasureSize();
    const TRect row = From->RowRect(From->Rows().empty() ? 0 : std::max(From->HotIndex(), 0));
    const TPoint origin = From->ClientToScreen(TPoint{0, 0});
    const TRect screenRow{origin.X + row.Left, origin.Y + row.Top, origin.X + row.Right,
                          origin.Y + row.Bottom};
    const TPoint at = SubmenuPlacement(screenRow, size, ScreenRect());
    sub->SetBounds(at.X, at.Y, size.X, size.Y);
    FLevels.push_back(sub);
    sub->SetVisible(true);
    From->SetKeyForm(sub);
    if (SelectFirst)
        sub->SetHotIndex(0);
}

void TPopupMenu::CloseLevelsAfter(int Level) {
    while (static_cast<int>(FLevels.size()) > Level + 1) {
        TMenuWindow* window = FLevels.back();
        FLevels.pop_back();
        if (LogicalActiveForm() == window)
            SetLogicalActiveForm(FLevels.empty() ? FOwnerForm : FLevels.back());
        window->SetKeyForm(nullptr);
        window->SetVisible(false);
        // The window may be running the handler that closes it: it goes from the loop.
        window->Detach();
        window->Release();
    }
    TForm* keyOwner = FLevels.empty() ? FOwnerForm : FLevels.back();
    if (keyOwner && TWindowRegistry::Contains(keyOwner))
        keyOwner->SetKeyForm(nullptr);
    if (FLevels.empty())
        FOwnerForm = nullptr;
}

void TPopupMenu::CloseMenu() {
    if (FOwnerForm && !TWindowRegistry::Contains(FOwnerForm))
        FOwnerForm = nullptr;
    CloseLevelsAfter(-1);
}

void TPopupMenu::Choose(TMenuItem* Item) {
    // The click runs once every level has gone, from the loop, and only when the item is
    // still there then.
    // Posted before the windows' release, which would drop it.
    if (!FLevels.empty())
        FLevels.front()->PostClick(Item);
    CloseMenu();
}

void TPopupMenu::LevelDeactivated(TForm* Activated) {
    if (!OwnsWindow(Activated))
        CloseMenu();
}

// Placement.

TPoint MenuPlacement(TPoint At, TPoint Size, const TRect& Screen) {
    TPoint p = At;
    if (p.X + Size.X > Screen.Right)
        p.X -= Size.X;
    if (p.Y + Size.Y > Screen.Bottom)
        p.Y -= Size.Y;
    p.X = std::max(p.X, Screen.Left);
    p.Y = std::max(p.Y, Screen.Top);
    return p;
}

TPoint SubmenuPlacement(const TRect& Row, TPoint Size, const TRect& Screen) {
    TPoint p{Row.Right, Row.Top};
    if (p.X + Size.X > Screen.Right)
        p.X = Row.Left - Size.X;
    if (p.Y + Size.Y > Screen.Bottom)
        p.Y = Screen.Bottom - Size.Y;
    p.X = std::max(p.X, Screen.Left);
    p.Y = std::max(p.Y, Screen.Top);
    return p;
}

UnicodeString StripHotkey(const UnicodeString& Caption) {
    std::u16string out;
    const std::u16string& s = Caption.str();
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'&') {
            if (i + 1 < s.size() && s[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += s[i];
    }
    return UnicodeString(out);
}
