#include "scene/controls/Sg_controls_track.h"

DBI_PUBLISH(TsgThumb) {}

TsgThumb::TsgThumb(TComponent* AOwner) : TsgControl(AOwner) {
    SetCanFocused(false);
    SetAutoCapture(true);
}

void TsgThumb::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseDown(Button, Shift, X, Y);
    if (!Enabled())
        return;
    if (Button == mbLeft) {
        FPressed = true;
        FDownOffset = {X, Y};
        if (FTrack) {
            FValueAtPress = FTrack->Value();
            FTrack->SetFocus();
        }
    } else if (Button == mbRight && FTrack) {
        const TsgPoint p = FTrack->AbsoluteToLocal(LocalToAbsolute({X, Y}));
        FTrack->MouseDown(Button, Shift, p.X, p.Y);
    }
}

void TsgThumb::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgControl::MouseMove(Shift, X, Y, Dx, Dy);
    if (!FPressed || !Enabled() || !FTrack || !Parent() || !Parent()->IsVisual())
        return;
    const TsgPoint p = FTrack->AbsoluteToLocal(LocalToAbsolute({X, Y}));
    const bool horizontal = FTrack->Orientation() == sgHorizontal;
    float along = horizontal ? p.X : p.Y;
    if (FTrack->ViewportSize() != 0)
        along -= horizontal ? FDownOffset.X : FDownOffset.Y;
    float value = 0;
    if (FTrack->ValueAt(along, value))
        FTrack->SetValue(value);
}

void TsgThumb::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseUp(Button, Shift, X, Y);
    if (FPressed && FTrack) {
        FPressed = false;
        // With Tracking off the drag told nothing on the way: its end is told once, and only
        // when the value moved.
        if (!FTrack->Tracking() && FTrack->Value() != FValueAtPress)
            FTrack->ReportDragEnd();
    }
    FPressed = false;
}
