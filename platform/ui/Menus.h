// TMenuItem and TPopupMenu: the class library's context menus.
//
// A menu item is a component holding its sub-items (a submenu when it has any); a caption of "-"
// makes a separator line. A popup menu owns its root item, whose sub-items are the entries the
// menu shows. Items a menu shows are drawn by the layer in popup windows (MenuWindow.h), one per
// open level.
//
// Popup(X, Y) returns at once: the menu stays open while the message loop runs and the chosen
// item's click runs from the loop after every level has closed. A click outside the menu, the
// owner losing the activation, Escape on the first level or freeing the menu closes it without
// running anything.
//
// Streams: a popup menu streams its items as children, each item its own sub-items; items have a
// parent, so the form does not stream them a second time.
#pragma once

#include "platform/classes/Component.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/UnicodeString.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <memory>
#include <vector>

class TMenuWindow;
class TForm;

DBI_DECLARE_EXCEPTION(EMenuError, Exception);

class TMenuItem : public TComponent {
    DBI_PERSISTENT(TMenuItem, TComponent)

    explicit TMenuItem(TComponent* AOwner);
    // Leaves its parent and frees its sub-items.
    ~TMenuItem() override;

    const UnicodeString& Caption() const { return FCaption; }
    void SetCaption(const UnicodeString& Value) { FCaption = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the radio items of its group among its siblings.
    void SetChecked(bool Value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    // A click toggles the check before OnClick runs.
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    // A separator line: the caption "-".
    bool IsLine() const { return FCaption == u"-"; }

    TMenuItem* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError for an index out of range.
    TMenuItem* Items(int Index) const;
    int IndexOf(const TMenuItem* Item) const;
    // Raises EMenuError for nullptr or an item that already has a parent.
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out without freeing it.
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    // Frees every sub-item.
    void Clear();
    // The menu the item belongs to (through its parents); nullptr when none.
    class TPopupMenu* GetParentMenu() const;

    // The item was chosen: AutoCheck toggles the check, then OnClick(self).
    virtual void Click();
    TNotifyEvent OnClick;
    const TNotifyEvent& GetOnClick() const { return OnClick; }
    void SetOnClick(const TNotifyEvent& Value) { OnClick = Value; }

    bool HasParent() override { return true; }
    TComponent* GetParentComponent() override;
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

private:
    friend class TPopupMenu;
    friend class TMenuWindow;
    void UncheckGroup();
    uint64_t Serial() const { return FSerial; }
    static TMenuItem* FromSerial(uint64_t Serial);

    uint64_t FSerial;
    UnicodeString FCaption;
    bool FEnabled = true;
    bool FChecked = false;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FAutoCheck = false;
    bool FVisible = true;
    TMenuItem* FParent = nullptr;
    class TPopupMenu* FMenu = nullptr;
    std::vector<TMenuItem*> FItems;
};

class TPopupMenu : public TComponent {
    DBI_PERSISTENT(TPopupMenu, TComponent)

    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // The root item: its sub-items are the menu's entries.
    TMenuItem* Items() const { return FItems; }
    // The component the menu was opened for; cleared when that component goes.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value);

    // OnPopup(self), then the menu opens with its top-left corner at the screen point (moved
    // to stay on the screen). A menu already open closes first; a menu without a visible entry
    // does not open.
    virtual void Popup(int X, int Y);
    // Closes every open level; nothing runs.
    void CloseMenu();
    bool IsOpen() const { return !FLevels.empty(); }
    TNotifyEvent OnPopup;
    const TNotifyEvent& GetOnPopup() const { return OnPopup; }
    void SetOnPopup(const TNotifyEvent& Value) { OnPopup = Value; }

    // The open windows, the first level first (for the event layer and tests).
    const std::vector<TMenuWindow*>& Levels() const { return FLevels; }

    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TMenuWindow;
    // Opens the sub-items of `Item` as the level after `From`, beside its row.
    void OpenSubmenu(TMenuWindow* From, TMenuItem* Item, bool SelectFirst);
    // Closes the levels after `Level` (every level for -1).
    void CloseLevelsAfter(int Level);
    // Closes the whole menu and runs the item's click from the loop.
    void Choose(TMenuItem* Item);
    // A level lost the activation to `Activated`.
    void LevelDeactivated(TForm* Activated);
    bool OwnsWindow(const TForm* Form) const;

    TMenuItem* FItems;
    TComponent* FPopupComponent = nullptr;
    std::vector<TMenuWindow*> FLevels;
    // The form that looked active when the menu opened; it hands its keys to the menu.
    TForm* FOwnerForm = nullptr;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// Where a menu of `Size` goes when asked for `At` on `Screen`: at the point, moved left of it
// (then up above it) when it would leave the right (bottom) edge, and never above or left of
// the screen's top-left corner.
TPoint MenuPlacement(TPoint At, TPoint Size, const TRect& Screen);
// Where a submenu of `Size` goes beside the row `Row` (screen coordinates) of its parent level:
// right of the row, or left of it when it would leave the screen; its top follows the row and
// is kept on the screen.
TPoint SubmenuPlacement(const TRect& Row, TPoint Size, const TRect& Screen);
// Removes the hot-key marker: "&File" gives "File", "&&" gives "&".
UnicodeString StripHotkey(const UnicodeString& Caption);
