// TsgTabControl: a set of pages with a strip of headers (TsgTabItem) above them.
//
// Each header names its page through Layout; the page is a sibling of the header under the tab
// control, not its child. The control numbers the visible headers in child order, lays them out
// in one row, shows the page of the header whose Index equals ItemIndex and hides the others.
// The selected header is painted last, over its neighbours and the page. There is no keyboard
// handling: pages change by a click on a header or by setting ItemIndex.
//
// A header streamed with its page nested under it (as hand-written layouts do) hands the page to
// the tab control when loading ends and keeps it as its Layout.
#pragma once

#include "scene/controls/Sg_controls_text.h"

class TsgTabItem : public TsgTextControl {
    DBI_PERSISTENT(TsgTabItem, TsgTextControl)

    explicit TsgTabItem(TComponent* AOwner);
    ~TsgTabItem() override;

    // Position among the visible headers of the tab control; -1 while the header is hidden, so
    // that a stale number never stands for another header's page.
    int Index() const { return FIndex; }
    void SetIndex(int Value) { FIndex = Value; }
    TsgVisualObject* Layout() const { return FLayout; }
    void SetLayout(TsgVisualObject* Value);
    bool IsSelected() const { return FIsSelected; }
    // Sets IsSelected and runs the style's "IsSelected" animations and effects.
    void Select(bool Selected);

    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void Realign() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Design tools: selecting a header shows its page; inserting one gives it a fresh page.
    void DesignSelect();
    void DesignInsert();

protected:
    void ApplyStyle() override;

private:
    friend class TsgTabControl;
    // The nested page of a streamed header, moved under the tab control: when the header is
    // loaded inside its control, or when a header read on its own (with its page) joins one.
    void AdoptNestedPage();

    int FIndex = 0;
    TsgVisualObject* FLayout = nullptr;
    bool FIsSelected = false;
};

class TsgTabControl : public TsgControl {
    DBI_PERSISTENT(TsgTabControl, TsgControl)

    explicit TsgTabControl(TComponent* AOwner);
    ~TsgTabControl() override;

    AnsiString ItemClass() override { return "TsgTabItem"; }
    void AddObject(TsgObject* AObject) override;

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    float ItemHeight() const { return FItemHeight; }
    void SetItemHeight(float Value);
    bool FullSize() const { return FFullSize; }
    void SetFullSize(bool Value);
    // The style's "background" part, nullptr when the style has none.
    TsgVisualObject* Background() const { return FBackground; }
    // The first header, in child order, whose Index is AIndex; nullptr for a negative index.
    TsgTabItem* TabItem(int AIndex) const;

    TNotifyEvent OnChange;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }

    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void PaintChildren() override;
    void Realign() override;

protected:
    void ApplyStyle() override;
    void FreeStyle() override;

private:
    int FItemIndex = -1;
    float FItemHeight = 0;
    bool FFullSize = false;
    TsgVisualObject* FBackground = nullptr;
};

class TsgHudTabItem : public TsgTabItem {
    DBI_PERSISTENT(TsgHudTabItem, TsgTabItem)
    using TsgTabItem::TsgTabItem;
};

class TsgHudTabControl : public TsgTabControl {
    DBI_PERSISTENT(TsgHudTabControl, TsgTabControl)
    using TsgTabControl::TsgTabControl;

    AnsiString ItemClass() override { return "TsgHudTabItem"; }
};

// Registers the tab controls under "Controls" and "HUD" and their headers under "Items".
void RegisterSgTabControlUnit();
