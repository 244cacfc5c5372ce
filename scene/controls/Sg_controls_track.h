// TsgCustomTrack, TsgTrack, TsgTrackBar and TsgThumb: a slider and its draggable part.
//
// The track keeps Min, Max and Value and places the "thumb" part of its style from them; the
// thumb is looked up anew on every use, so a freshly applied style is picked up without more
// work. A track with a ViewportSize is the moving part of a scroll bar: the thumb's length then
// shows the visible share of the range and a press beside the thumb pages by that share.
//
// Value changes are told through a notifier: at once, or (track bar with a TimerInterval) once,
// the interval after the last of a burst. With Tracking off a drag reports only its end.
#pragma once

#include "scene/controls/Sg_controls_orientation.h"
#include "scene/core/Sg_scene_control.h"

#include <cstdint>

class TTimer;
class TsgCustomTrack;

class TsgThumb : public TsgControl {
    DBI_PERSISTENT(TsgThumb, TsgControl)

    explicit TsgThumb(TComponent* AOwner);

    // The track that last looked this thumb up; nullptr before.
    TsgCustomTrack* Track() const { return FTrack; }
    bool IsDragging() const { return FPressed; }

    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;

private:
    friend class TsgCustomTrack;

    TsgCustomTrack* FTrack = nullptr;
    TsgPoint FDownOffset{0, 0};
    bool FPressed = false;
    // The track's value when the drag began: the release reports only a changed value.
    float FValueAtPress = 0;
};

class TsgCustomTrack : public TsgControl {
    DBI_PERSISTENT(TsgCustomTrack, TsgControl)

    explicit TsgCustomTrack(TComponent* AOwner);
    ~TsgCustomTrack() override;

    float Min() const { return FMin; }
    virtual void SetMin(float Value);
    float Max() const { return FMax; }
    virtual void SetMax(float Value);
    float Value() const { return FValue; }
    void SetValue(float Value);
    float ViewportSize() const { return FViewportSize; }
    void SetViewportSize(float Value);
    float Frequency() const { return FFrequency; }
    void SetFrequency(float Value);
    TsgOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TsgOrientation Value);
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value) { FTracking = Value; }
    bool MouseDownBlocked() const { return FMouseDownBlocked; }
    void SetMouseDownBlocked(bool Value) { FMouseDownBlocked = Value; }
    uint32_t TimerInterval() const { return FTimerInterval; }
    void SetTimerInterval(uint32_t Value);
    // The delay timer, once a positive TimerInterval created it.
    TTimer* DelayTimer() const { return FTimer; }

    // A thumb exists and is being dragged.
    bool IsTracking();
    // The "thumb" part when it is a TsgThumb (which then knows this track); nullptr otherwise.
    TsgThumb* Thumb();
    // Where the thumb goes, in this track's local coordinates.
    TsgRect GetThumbRect();

    TNotifyEvent OnChange, OnTracking;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }

    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;

    void Realign() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;

    // Writes the range fields as they are, with no limits, notification or layout (a scroll bar
    // copies its own range into its track this way).
    void StoreRange(TsgOrientation AOrientation, float AMin, float AMax, float AValue);

protected:
    // Tells the end of a drag made with Tracking off: bindings and notifier, once.
    void ReportDragEnd();

private:
    friend class TsgThumb;

    // The notifier: at once, or through the delay timer.
    void NotifyChange();
    void DoTrack(TObject* Sender);
    void DoTimerTrack(TObject* Sender);
    void TimerTrack();
    // The pointer's coordinate along the orientation as a value; false on a track of no length.
    bool ValueAt(float Along, float& AValue);
    float Length();

    TTimer* FTimer = nullptr;
    uint32_t FTimerInterval = 0;
    bool FMouseDownBlocked = false;
    bool FDelayed = false;
    float FValue = 0;
    float FMin = 0;
    float FMax = 100;
    float FViewportSize = 0;
    TsgOrientation FOrientation = sgHorizontal;
    bool FTracking = true;
    float FFrequency = 0;
};

class TsgTrack : public TsgCustomTrack {
    DBI_PERSISTENT(TsgTrack, TsgCustomTrack)

    explicit TsgTrack(TComponent* AOwner);
};

class TsgTrackBar : public TsgCustomTrack {
    DBI_PERSISTENT(TsgTrackBar, TsgCustomTrack)

    explicit TsgTrackBar(TComponent* AOwner);
};

// Classes that exist only so that their names select other styles.
class TsgHudTrack : public TsgTrack {
    DBI_PERSISTENT(TsgHudTrack, TsgTrack)
    using TsgTrack::TsgTrack;
};

class TsgHudTrackBar : public TsgTrackBar {
    DBI_PERSISTENT(TsgHudTrackBar, TsgTrackBar)
    using TsgTrackBar::TsgTrackBar;
};
