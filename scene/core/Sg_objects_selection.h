// Design-time selection objects: TsgSelection, a dashed rectangle with four round grips that is
// moved by dragging its inside and resized by dragging a grip (keeping its aspect ratio when
// asked, and staying inside its parent by default); TsgSelectionPoint, one round grip dragged
// about inside its parent; and TsgDesignFrame, an invisible placeholder with the same events.
//
// All work happens in the mouse handlers; the objects capture the mouse while a button is held.
#pragma once

#include "scene/core/Sg_scene_visual.h"

class TsgSelection : public TsgVisualObject {
    DBI_PERSISTENT(TsgSelection, TsgVisualObject)

    explicit TsgSelection(TComponent* AOwner);

    float GripSize() const { return FGripSize; }
    void SetGripSize(float Value);
    bool ParentBounds() const { return FParentBounds; }
    void SetParentBounds(bool Value) { FParentBounds = Value; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = Value <= 0 ? 1 : Value; }
    bool Proportional() const { return FProportional; }
    void SetProportional(bool Value) { FProportional = Value; }
    // Fired when a move or resize ends, and on every step of one.
    TNotifyEvent OnChange, OnTrack;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }
    const TNotifyEvent& GetOnTrack() const { return OnTrack; }
    void SetOnTrack(const TNotifyEvent& V) { OnTrack = V; }

    // The grip square of a corner, in local coordinates (its centre the corner, half side
    // GripSize).
    TsgRect GripRect(float CornerX, float CornerY) const;
    bool Moving() const { return FMove; }
    bool LeftTopHot() const { return FLeftTopHot; }
    bool RightTopHot() const { return FRightTopHot; }
    bool RightBottomHot() const { return FRightBottomHot; }
    bool LeftBottomHot() const { return FLeftBottomHot; }

    TsgRect GetAbsoluteRect() override;
    TsgRect GetUpdateRect() override;
    bool PointInObject(float X, float Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseLeave() override;
    void Paint() override;

private:
    TsgPoint PointInParent(float X, float Y);
    void Move(float X, float Y);
    void Resize(float X, float Y);
    // A width below MinSize becomes MinSize, then one too small for the height to reach MinSize
    // at the press's ratio grows.
    void ProportionalWidthLimits();

    bool FParentBounds = true;
    bool FHideSelection = false;
    int FMinSize = 15;
    bool FProportional = false;
    float FGripSize = 3;
    float FRatio = 1;
    bool FMove = false, FLeftTop = false, FLeftBottom = false, FRightTop = false,
         FRightBottom = false;
    bool FLeftTopHot = false, FLeftBottomHot = false, FRightTopHot = false, FRightBottomHot = false;
    TsgPoint FDownPos{};
    TsgPoint FMovePos{};
};

class TsgSelectionPoint : public TsgVisualObject {
    DBI_PERSISTENT(TsgSelectionPoint, TsgVisualObject)

    explicit TsgSelectionPoint(TComponent* AOwner);

    float GripSize() const { return FGripSize; }
    void SetGripSize(float Value);
    bool ParentBounds() const { return FParentBounds; }
    void SetParentBounds(bool Value) { FParentBounds = Value; }
    bool Pressed() const { return FPressed; }
    TNotifyEvent OnChange, OnTrack;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }
    const TNotifyEvent& GetOnTrack() const { return OnTrack; }
    void SetOnTrack(const TNotifyEvent& V) { OnTrack = V; }

    // The size always stays 2 x GripSize whatever is asked.
    void SetWidth(float Value) override;
    void SetHeight(float Value) override;
    bool PointInObject(float X, float Y) override;
    TsgRect GetUpdateRect() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Paint() override;

private:
    bool FParentBounds = true;
    float FGripSize = 3;
    bool FPressed = false;
};

class TsgDesignFrame : public TsgVisualObject {
    DBI_PERSISTENT(TsgDesignFrame, TsgVisualObject)

    explicit TsgDesignFrame(TComponent* AOwner) : TsgVisualObject(AOwner) {}

    TNotifyEvent OnChange, OnTrack;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }
    const TNotifyEvent& GetOnTrack() const { return OnTrack; }
    void SetOnTrack(const TNotifyEvent& V) { OnTrack = V; }
};
