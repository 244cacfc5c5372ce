// Push buttons: TsgCustomButton tracks the pointer's press and shows it through the "IsPressed"
// trigger of its style, can stay pressed as a toggle or a latch, repeats clicks while held, sets
// its form's modal result and answers Enter and Space. TsgButton adds the dialog's default and
// cancel buttons; the other classes change sizes, defaults, style or the click.
#pragma once

#include "scene/controls/Sg_controls_text.h"

#include "scene/core/Sg_classes_timer.h"
#include "scene/core/Sg_scene_path.h"
#include "scene/core/Sg_scene_types.h"

#include <cstdint>
#include <functional>

class TsgShape;

class TsgCustomButton : public TsgTextControl {
    DBI_PERSISTENT(TsgCustomButton, TsgTextControl)

    explicit TsgCustomButton(TComponent* AOwner);

    bool IsPressed() const { return FIsPressed; }
    // Takes effect only on a toggle (StaysPressed).
    virtual void SetIsPressed(bool Value);
    int32_t ModalResult() const { return FModalResult; }
    void SetModalResult(int32_t Value) { FModalResult = Value; }
    bool StaysPressed() const { return FStaysPressed; }
    void SetStaysPressed(bool Value) { FStaysPressed = Value; }
    bool StaysPressedDown() const { return FStaysPressedDown; }
    void SetStaysPressedDown(bool Value) { FStaysPressedDown = Value; }
    bool RepeatClick() const { return FRepeat; }
    void SetRepeatClick(bool Value) { FRepeat = Value; }
    // The repeat timer, nullptr before the first repeating press.
    TsgTimer* RepeatTimer() const { return FRepeatTimer; }

    void Click() override;
    void DblClick() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
    // Ends a press from code (a spin box losing the focus).
    void StopRepeating();
    // A value carrying an event becomes OnClick; any other is ignored.
    void SetData(const TsgVariant& Value) override;

protected:
    void ApplyStyle() override;
    // Runs the "IsPressed" animations and effects of the style clone.
    void PressedTrigger();

private:
    void DelayTimer(TObject* Sender);
    void RepeatTimerTick(TObject* Sender);

    bool FPressing = false;
    bool FIsPressed = false;
    int32_t FModalResult = 0;
    bool FStaysPressed = false;
    bool FStaysPressedDown = false;
    TsgTimer* FRepeatTimer = nullptr;
    bool FRepeat = false;
};

class TsgButton : public TsgCustomButton {
    DBI_PERSISTENT(TsgButton, TsgCustomButton)
    using TsgCustomButton::TsgCustomButton;

    bool Default() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }

    // Enter reaches a default button and Escape a cancel button wherever the focus is.
    void DialogKey(uint16_t& Key, TShiftState Shift) override;

private:
    bool FDefault = false;
    bool FCancel = false;
};

class TsgRoundButton : public TsgButton {
    DBI_PERSISTENT(TsgRoundButton, TsgButton)
    using TsgButton::TsgButton;
};

class TsgCircleButton : public TsgButton {
    DBI_PERSISTENT(TsgCircleButton, TsgButton)

    explicit TsgCircleButton(TComponent* AOwner);
};

// A flat button that repeats while held and takes no focus (the arrows of scroll bars).
class TsgSpeedButton : public TsgCustomButton {
    DBI_PERSISTENT(TsgSpeedButton, TsgCustomButton)

    explicit TsgSpeedButton(TComponent* AOwner);
};

class TsgExpanderButton : public TsgCustomButton {
    DBI_PERSISTENT(TsgExpanderButton, TsgCustomButton)

    explicit TsgExpanderButton(TComponent* AOwner);
};

// A button that opens its menu under itself; without a menu it only clicks.
class TsgPopupButton : public TsgButton {
    DBI_PERSISTENT(TsgPopupButton, TsgButton)
    using TsgButton::TsgButton;

    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    void Click() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TPopupMenu* FPopupMenu = nullptr;
};

// Runs with the dialog a colour button is about to show: the system's colour dialog or the design
// tools' brush dialog.
using TsgBrushDialogEvent = TClosure<void(TObject* Sender, TObject* Dialog)>;

// The colour choice a colour button offers when it does not use the system's dialog: the design
// tools' brush dialog on a solid brush of Color, placed at the screen point (Left, Top), with
// Showing run on the dialog before it shows. True, with the chosen colour text in Color, on OK.
// Empty while the design tools are not part of the program; the button then uses the system's
// dialog.
using TsgColorButtonDialog = std::function<bool(UnicodeString& Color, int Left, int Top,
                                                const std::function<void(TObject*)>& Showing)>;
TsgColorButtonDialog& sgColorButtonDialog();

// A button showing a colour in its "fill" part; a click lets the user choose another.
class TsgColorButton : public TsgCustomButton {
    DBI_PERSISTENT(TsgColorButton, TsgCustomButton)

    explicit TsgColorButton(TComponent* AOwner);

    const UnicodeString& Color() const { return FColor; }
    void SetColor(const UnicodeString& Value);
    bool UseStandardDialog() const { return FUseStandardDialog; }
    void SetUseStandardDialog(bool Value) { FUseStandardDialog = Value; }
    TNotifyEvent OnChange;
    TsgBrushDialogEvent OnDialogShowing;
    TNotifyEvent OnDialogClosing;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }
    const TsgBrushDialogEvent& GetOnDialogShowing() const { return OnDialogShowing; }
    void SetOnDialogShowing(const TsgBrushDialogEvent& V) { OnDialogShowing = V; }
    const TNotifyEvent& GetOnDialogClosing() const { return OnDialogClosing; }
    void SetOnDialogClosing(const TNotifyEvent& V) { OnDialogClosing = V; }

    void Click() override;

protected:
    void ApplyStyle() override;
    void FreeStyle() override { FFill = nullptr; }

private:
    TsgShape* FFill = nullptr;
    UnicodeString FColor = u"#FF000000";
    bool FUseStandardDialog = false;
};

// A button whose background rectangle takes the corners given here.
class TsgCornerButton : public TsgCustomButton {
    DBI_PERSISTENT(TsgCornerButton, TsgCustomButton)

    explicit TsgCornerButton(TComponent* AOwner);

    float xRadius() const { return FxRadius; }
    void SetxRadius(float Value);
    float yRadius() const { return FyRadius; }
    void SetyRadius(float Value);
    TsgCorners Corners() const { return FCorners; }
    void SetCorners(TsgCorners Value);
    TsgCornerType CornerType() const { return FCornerType; }
    void SetCornerType(TsgCornerType Value);

protected:
    void ApplyStyle() override;

private:
    float FyRadius = 3;
    float FxRadius = 3;
    TsgCorners FCorners = AllCorners;
    TsgCornerType FCornerType = sgCornerRound;
};

// Classes that exist only so that their names select other styles.
class TsgHudButton : public TsgButton {
    DBI_PERSISTENT(TsgHudButton, TsgButton)
    using TsgButton::TsgButton;
};

class TsgHudRoundButton : public TsgButton {
    DBI_PERSISTENT(TsgHudRoundButton, TsgButton)
    using TsgButton::TsgButton;
};

class TsgHudCircleButton : public TsgCircleButton {
    DBI_PERSISTENT(TsgHudCircleButton, TsgCircleButton)
    using TsgCircleButton::TsgCircleButton;
};

class TsgHudCornerButton : public TsgCornerButton {
    DBI_PERSISTENT(TsgHudCornerButton, TsgCornerButton)
    using TsgCornerButton::TsgCornerButton;
};

class TsgHudSpeedButton : public TsgSpeedButton {
    DBI_PERSISTENT(TsgHudSpeedButton, TsgSpeedButton)
    using TsgSpeedButton::TsgSpeedButton;
};
