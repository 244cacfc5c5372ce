// TsgAngleButton, a rotary knob whose Value is an angle in degrees, and TsgAniIndicator, a busy
// indicator that paints itself.
//
// The knob turns towards the pointer while the left button drags it: the angle of the line from
// its centre to the pointer, 0 to the right, 90 above, -90 below and -180 to the left. Its style
// shows the value by turning the "tick" part and writing the rounded angle into "text" (with
// ShowValue) and "tracktext" (while a drag without Tracking has not reported yet).
//
// The indicator draws twelve spokes or eight dots in grey; while it runs a darker highlight goes
// round them. A looping rotation of an invisible child is its clock.
#pragma once

#include "scene/core/Sg_ani_kinds.h"
#include "scene/core/Sg_scene_control.h"

class TsgText;

class TsgAngleButton : public TsgControl {
    DBI_PERSISTENT(TsgAngleButton, TsgControl)

    explicit TsgAngleButton(TComponent* AOwner);

    float Value() const { return FValue; }
    void SetValue(float Value);
    // A step the value snaps to; 0 lets it go free.
    float Frequency() const { return FFrequency; }
    void SetFrequency(float Value) { FFrequency = Value; }
    // Report every step of a drag, not only its end.
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value) { FTracking = Value; }
    bool ShowValue() const { return FShowValue; }
    void SetShowValue(bool Value);
    TNotifyEvent OnChange;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }

    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;

    // The value along a binding is Value; a value carrying an event becomes OnChange.
    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;

protected:
    void ApplyStyle() override;

private:
    void RotateTick();
    void UpdateTexts();

    bool FPressing = false;
    TsgPoint FOldPos{0, 0};
    float FSaveValue = 0;
    float FValue = 0;
    float FFrequency = 0;
    bool FTracking = true;
    bool FShowValue = false;
};

class TsgHudAngleButton : public TsgAngleButton {
    DBI_PERSISTENT(TsgHudAngleButton, TsgAngleButton)
    using TsgAngleButton::TsgAngleButton;
};

enum TsgAniIndicatorStyle { sgAniIndicatorLine = 0, sgAniIndicatorCircle = 1 };

class TsgAniIndicator : public TsgControl {
    DBI_PERSISTENT(TsgAniIndicator, TsgControl)

    explicit TsgAniIndicator(TComponent* AOwner);
    ~TsgAniIndicator() override;

    // Whether the indicator runs; the control's own enabled state is another thing.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    TsgAniIndicatorStyle Style() const { return FStyle; }
    void SetStyle(TsgAniIndicatorStyle Value);
    // The child whose rotation the highlight follows, and the animation that turns it.
    TsgVisualObject* Layout() const { return FLayout; }
    TsgFloatAnimation* Animation() const { return FAni; }

    // How dark element Index of Count is drawn, 0 to 1, at the clock's present angle.
    float Highlight(int Index, int Count) const;

    void BeforePaint() override;
    void Paint() override;

private:
    TsgVisualObject* FLayout;
    TsgFloatAnimation* FAni;
    bool FEnabled = false;
    TsgAniIndicatorStyle FStyle = sgAniIndicatorLine;
};
