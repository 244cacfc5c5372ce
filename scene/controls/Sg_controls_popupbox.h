// A button showing the chosen entry of a list; a click offers the list as a popup menu, the
// current entry checked.
#pragma once

#include "scene/controls/Sg_controls_buttons.h"

#include <cstdint>

class TMenuItem;
class TPopupMenu;
class TsgWideStringList;

class TsgPopupBox : public TsgCustomButton {
    DBI_PERSISTENT(TsgPopupBox, TsgCustomButton)

    explicit TsgPopupBox(TComponent* AOwner);
    ~TsgPopupBox() override;

    TsgWideStringList* Items() const { return FItems; }
    void SetItems(TsgWideStringList* Value);
    int32_t ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int32_t Value);
    // The caption selects the first equal entry, or none; it raises no event.
    void SetText(const UnicodeString& Value) override;
    // The menu of the last popup (its entries stay until the next one).
    TPopupMenu* PopupMenu() const { return FPopup; }

    TNotifyEvent OnChange;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }

    void Click() override;
    // The value along a binding is the caption; a value naming an entry selects it.
    TsgVariant GetData() override { return Text(); }
    void SetData(const TsgVariant& Value) override;

protected:
    virtual void DoItemsChanged(TObject* Sender);
    virtual void DoPopup();

private:
    void ItemClick(TObject* Sender);

    TsgWideStringList* FItems;
    int32_t FItemIndex = -1;
    TPopupMenu* FPopup;
};

class TsgHudPopupBox : public TsgPopupBox {
    DBI_PERSISTENT(TsgHudPopupBox, TsgPopupBox)
    using TsgPopupBox::TsgPopupBox;
};
