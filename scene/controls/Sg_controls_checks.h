// Two-state controls and their companions: the check box (and the check box whose mark is a
// path), the radio button that unchecks the others of its group among its siblings, the group
// box, the close button that closes the form hosting its scene, and the size grip the scene
// resizes its window by.
#pragma once

#include "scene/controls/Sg_controls_text.h"

#include "scene/core/Sg_scene_input.h"
#include "scene/core/Sg_scene_path.h"

// The press handling shared by check boxes and radio buttons: the pressed state follows the
// pointer while the left button is held, and a release inside toggles the checked state.
class TsgCheckControl : public TsgTextControl {
    DBI_PERSISTENT(TsgCheckControl, TsgTextControl)

    explicit TsgCheckControl(TComponent* AOwner);

    bool IsChecked() const { return FIsChecked; }
    virtual void SetIsChecked(bool Value) = 0;
    bool IsPressed() const { return FIsPressed; }
    TNotifyEvent OnChange;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }

    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    // The value along a binding is IsChecked; a value carrying an event becomes OnChange.
    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;

protected:
    void ApplyStyle() override;
    // Stores the state, runs the "IsChecked" trigger and OnChange.
    void StoreChecked(bool Value);
    void StoreCheckedQuietly(bool Value) { FIsChecked = Value; }

private:
    bool FPressing = false;
    bool FIsPressed = false;
    bool FIsChecked = false;
};

class TsgCheckBox : public TsgCheckControl {
    DBI_PERSISTENT(TsgCheckBox, TsgCheckControl)
    using TsgCheckControl::TsgCheckControl;

    void SetIsChecked(bool Value) override;
    // Captions for the two states; used only when both are set.
    const UnicodeString& TxtOn() const { return FTxtOn; }
    void SetTxtOn(const UnicodeString& Value);
    const UnicodeString& TxtOff() const { return FTxtOff; }
    void SetTxtOff(const UnicodeString& Value);

    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;

private:
    void ShowStateText();

    UnicodeString FTxtOn;
    UnicodeString FTxtOff;
};

class TsgPathCheckBox : public TsgCheckBox {
    DBI_PERSISTENT(TsgPathCheckBox, TsgCheckBox)

    explicit TsgPathCheckBox(TComponent* AOwner);
    ~TsgPathCheckBox() override;

    TsgPathData* Path() const { return FPath; }
    void SetPath(TsgPathData* Value) { FPath->Assign(Value); }

protected:
    void ApplyStyle() override;

private:
    void PathChanged(TObject*);

    TsgPathData* FPath;
};

class TsgRadioButton : public TsgCheckControl {
    DBI_PERSISTENT(TsgRadioButton, TsgCheckControl)
    using TsgCheckControl::TsgCheckControl;

    // Checking unchecks the others of the group; unchecking needs another member checked.
    void SetIsChecked(bool Value) override;
    const UnicodeString& GroupName() const { return FGroupName; }
    void SetGroupName(const UnicodeString& Value) { FGroupName = Value; }

private:
    UnicodeString FGroupName;
};

class TsgGroupBox : public TsgTextControl {
    DBI_PERSISTENT(TsgGroupBox, TsgTextControl)

    explicit TsgGroupBox(TComponent* AOwner);
};

// A press on it and a release anywhere close the hosting form (with CloseForm) and raise its
// own OnClick.
class TsgCloseButton : public TsgControl {
    DBI_PERSISTENT(TsgCloseButton, TsgControl)

    explicit TsgCloseButton(TComponent* AOwner);

    bool CloseForm() const { return FCloseForm; }
    void SetCloseForm(bool Value) { FCloseForm = Value; }
    TNotifyEvent OnCloseClick;
    const TNotifyEvent& GetOnCloseClick() const { return OnCloseClick; }
    void SetOnCloseClick(const TNotifyEvent& V) { OnCloseClick = V; }

    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;

private:
    bool FPressing = false;
    bool FCloseForm = true;
};

// The scene recognises the grip by its interface and sizes its window when it is dragged.
class TsgSizeGrip : public TsgControl, public IsgSizeGrip {
    DBI_PERSISTENT(TsgSizeGrip, TsgControl)
    using TsgControl::TsgControl;
};

class TsgHudCheckBox : public TsgCheckBox {
    DBI_PERSISTENT(TsgHudCheckBox, TsgCheckBox)
    using TsgCheckBox::TsgCheckBox;
};

class TsgHudRadioButton : public TsgRadioButton {
    DBI_PERSISTENT(TsgHudRadioButton, TsgRadioButton)
    using TsgRadioButton::TsgRadioButton;
};

class TsgHudGroupBox : public TsgGroupBox {
    DBI_PERSISTENT(TsgHudGroupBox, TsgGroupBox)
    using TsgGroupBox::TsgGroupBox;
};

class TsgHudCloseButton : public TsgCloseButton {
    DBI_PERSISTENT(TsgHudCloseButton, TsgCloseButton)
    using TsgCloseButton::TsgCloseButton;
};

class TsgHudSizeGrip : public TsgSizeGrip {
    DBI_PERSISTENT(TsgHudSizeGrip, TsgSizeGrip)
    using TsgSizeGrip::TsgSizeGrip;
};
