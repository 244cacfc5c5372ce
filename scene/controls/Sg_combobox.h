// TsgComboBox: a closed box that shows its current item and drops down a TsgComboListBox in a
// popup. Its items are TsgListBoxItem objects living in that list; streams see them as the combo
// box's own children.
#pragma once

#include "scene/controls/Sg_listbox.h"
#include "scene/core/Sg_scene_popup.h"

class TsgComboBox;

// The drop-down list of one combo box.
class TsgComboListBox : public TsgListBox {
    DBI_PERSISTENT(TsgComboListBox, TsgListBox)

    explicit TsgComboListBox(TComponent* AOwner);

    TsgComboBox* ComboBox() const { return FComboBox; }
    void SetComboBox(TsgComboBox* Value) { FComboBox = Value; }

    // The list restyles only when asked to (at every opening).
    void ApplyResource() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) override;
    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
    bool PassesChildrenToParent() const override { return true; }

private:
    TsgComboBox* FComboBox = nullptr;
};

class TsgComboBox : public TsgControl {
    DBI_PERSISTENT(TsgComboBox, TsgControl)

    explicit TsgComboBox(TComponent* AOwner);
    ~TsgComboBox() override;

    AnsiString ItemClass() override { return "TsgListBoxItem"; }
    void AddObject(TsgObject* AObject) override;
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

    TsgComboListBox* ListBox() const { return FListBox; }
    void SetListBox(TsgComboListBox* Value) { FListBox = Value; }
    TsgPopup* Popup() const { return FPopup; }
    int GetCount() const;
    int Count() const { return GetCount(); }
    int ItemIndex() const;
    virtual void SetItemIndex(int Value);
    virtual void Clear();
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value; }
    TsgPlacement Placement() const { return FPlacement; }
    void SetPlacement(TsgPlacement Value) { FPlacement = Value; }

    TNotifyEvent OnChange;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }

    // Opens the drop-down, or closes it when it is open.
    void DropDown();
    void DesignClick();
    void DoContentPaint(TObject* Sender, TsgCanvas* Canvas, const TsgRect& ARect);

    void Realign() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) override;
    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;

protected:
    void ApplyStyle() override;

private:
    int FDropDownCount = 8;
    TsgPopup* FPopup = nullptr;
    TsgComboListBox* FListBox = nullptr;
    TsgPlacement FPlacement = sgPlacementBottom;
    bool FRealigning = false;
};

class TsgHudComboBox : public TsgComboBox {
    DBI_PERSISTENT(TsgHudComboBox, TsgComboBox)

    explicit TsgHudComboBox(TComponent* AOwner);
};
