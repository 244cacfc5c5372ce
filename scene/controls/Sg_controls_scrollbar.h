// TsgScrollBar and TsgSmallScrollBar: a range control assembled from its style.
//
// The style holds a track for each orientation ("htrack", "vtrack") and, in the full bar, arrow
// buttons around them ("leftbutton"/"rightbutton", "topbutton"/"bottombutton"). The bar keeps the
// range itself, copies it into the track of its orientation at every layout, shows only the parts
// of that orientation and listens to the track and to the buttons. Every change of Value is told
// through OnChange; a scroll bar has no tracking switch. The small bar's style has tracks only.
#pragma once

#include "scene/controls/Sg_controls_track.h"

class TsgScrollBar : public TsgControl {
    DBI_PERSISTENT(TsgScrollBar, TsgControl)

    explicit TsgScrollBar(TComponent* AOwner);

    float Min() const { return FMin; }
    void SetMin(float Value);
    float Max() const { return FMax; }
    void SetMax(float Value);
    float Value() const { return FValue; }
    void SetValue(float Value);
    float ViewportSize() const { return FViewportSize; }
    void SetViewportSize(float Value);
    TsgOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TsgOrientation Value);
    float SmallChange() const { return FSmallChange; }
    void SetSmallChange(float Value) { FSmallChange = Value; }

    TNotifyEvent OnChange;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }

    // The parts of the current orientation, wired to this bar; nullptr when the style has none.
    TsgCustomTrack* Track();
    TsgVisualObject* MinButton();
    TsgVisualObject* MaxButton();

    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;
    void Realign() override;
    void ReadState(TReader& Reader) override;

private:
    // Wires the named part of one orientation; the part when it is that of the current one.
    TsgCustomTrack* WireTrack(const char* AName, TsgOrientation AOrientation);
    TsgVisualObject* WireButton(const char* AName, TsgOrientation AOrientation, bool Plus);
    void TrackChanged(TObject* Sender);
    void MinusClick(TObject* Sender);
    void PlusClick(TObject* Sender);

    float FValue = 0;
    float FMin = 0;
    float FMax = 100;
    float FViewportSize = 0;
    TsgOrientation FOrientation = sgHorizontal;
    float FSmallChange = 1;
};

class TsgSmallScrollBar : public TsgScrollBar {
    DBI_PERSISTENT(TsgSmallScrollBar, TsgScrollBar)

    explicit TsgSmallScrollBar(TComponent* AOwner);
};

// A class that exists only so that its name selects another style.
class TsgHudScrollBar : public TsgScrollBar {
    DBI_PERSISTENT(TsgHudScrollBar, TsgScrollBar)
    using TsgScrollBar::TsgScrollBar;
};
