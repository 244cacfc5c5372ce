// The list box and combo box fed from a list of strings: every change of the strings rebuilds
// the items, which are never stored.
#pragma once

#include "scene/controls/Sg_combobox.h"
#include "scene/core/Sg_classes_widestringlist.h"

class TsgStringListBox : public TsgListBox {
    DBI_PERSISTENT(TsgStringListBox, TsgListBox)

    explicit TsgStringListBox(TComponent* AOwner);
    ~TsgStringListBox() override;

    TsgWideStrings* Items() const { return FItems; }
    void SetItems(TsgWideStrings* Value);
    TsgTextAlign TextAlign() const { return FTextAlign; }
    void SetTextAlign(TsgTextAlign Value);
    const UnicodeString& ItemStyle() const { return FItemStyle; }
    void SetItemStyle(const UnicodeString& Value) { FItemStyle = Value; }

    void EndUpdate() override;
    void Loaded() override;
    void RebuildList();
    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;

private:
    void ItemsChanged(TObject* Sender);

    TsgWideStringList* FItems;
    TsgTextAlign FTextAlign = sgTextAlignCenter;
    UnicodeString FItemStyle = u"listboxitemstyle";
};

class TsgStringComboBox : public TsgComboBox {
    DBI_PERSISTENT(TsgStringComboBox, TsgComboBox)

    explicit TsgStringComboBox(TComponent* AOwner);
    ~TsgStringComboBox() override;

    TsgWideStrings* Items() const { return FItems; }
    void SetItems(TsgWideStrings* Value);
    float ItemHeight() const { return FItemHeight; }
    void SetItemHeight(float Value);
    TsgTextAlign TextAlign() const { return FTextAlign; }
    void SetTextAlign(TsgTextAlign Value);
    const UnicodeString& ItemStyle() const { return FItemStyle; }
    void SetItemStyle(const UnicodeString& Value) { FItemStyle = Value; }

    void Loaded() override;
    void RebuildList();
    void SetItemIndex(int Value) override;
    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;

private:
    void ItemsChanged(TObject* Sender);

    // The index asked for before the strings grew too short for it (-1 when none): strings
    // cleared and refilled one by one keep the current string as far as the new ones reach.
    int FWantedIndex = -1;
    float FItemHeight = 19;
    TsgWideStringList* FItems;
    TsgTextAlign FTextAlign = sgTextAlignCenter;
    UnicodeString FItemStyle = u"listboxitemstyle";
};

class TsgHudStringListBox : public TsgStringListBox {
    DBI_PERSISTENT(TsgHudStringListBox, TsgStringListBox)

    explicit TsgHudStringListBox(TComponent* AOwner);
};

class TsgHudStringComboBox : public TsgStringComboBox {
    DBI_PERSISTENT(TsgHudStringComboBox, TsgStringComboBox)

    explicit TsgHudStringComboBox(TComponent* AOwner);
};
