// TsgSplitter: resizes the neighbouring control on its aligned side when dragged.
//
// A splitter aligned left, say, finds at the press the visible, unlocked sibling that touches it
// on the left and is aligned on the same axis; moving the pointer then sets that neighbour's
// width, kept between MinSize and the room the other side-aligned siblings leave (MaxSize,
// recomputed at every press). A splitter aligned right or bottom keeps the neighbour's far edge
// where it is. Any other alignment, or no such neighbour, makes the drag do nothing.
#pragma once

#include "scene/core/Sg_scene_control.h"

class TReader;

class TsgSplitter : public TsgControl {
    DBI_PERSISTENT(TsgSplitter, TsgControl)

    explicit TsgSplitter(TComponent* AOwner);

    float MinSize() const { return FMinSize; }
    void SetMinSize(float Value) { FMinSize = Value; }
    float MaxSize() const { return FMaxSize; }
    void SetMaxSize(float Value) { FMaxSize = Value; }
    float SplitSize() const { return FNewSize; }
    void SetSplitSize(float Value) { FNewSize = Value; }
    bool ShowGrip() const { return FShowGrip; }
    void SetShowGrip(bool Value);
    // A drag is in progress.
    bool Pressed() const { return FPressed; }
    void SetPressed(bool Value) { FPressed = Value; }
    // The neighbour being resized; nullptr outside a drag.
    TsgVisualObject* SplitControl() const { return FControl; }

    TNotifyEvent OnSplitChange;
    const TNotifyEvent& GetOnSplitChange() const { return OnSplitChange; }
    void SetOnSplitChange(const TNotifyEvent& V) { OnSplitChange = V; }

    // The sibling the splitter resizes, as a press would find it; nullptr when none.
    TsgVisualObject* FindObject();

    void SetAlign(TsgAlign Value) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void Paint() override;
    void ReadState(TReader& Reader) override;
    void FreeNotify(TsgObject* AObject) override;

protected:
    void ApplyStyle() override;

private:
    bool Horizontal() const;
    void ComputeMaxSize();
    void CalcSplitSize(float X, float Y);
    void UpdateSize();
    void ForgetControl();

    bool FPressed = false;
    TsgVisualObject* FControl = nullptr;
    TsgPoint FDownPos{0, 0};
    float FMinSize = 20;
    float FMaxSize = 0;
    float FNewSize = 0;
    float FOldSize = 0;
    float FSplit = 0;
    bool FShowGrip = true;
};
