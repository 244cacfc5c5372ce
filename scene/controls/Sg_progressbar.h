// TsgProgressBar: shows a value between Min and Max by sizing an indicator part of its style.
//
// The installation engine drives the wizard's two bars with single-precision values: it sets the
// range before every copy or unpacking and moves the value as bytes arrive, and reads the value
// back after setting it, relying on the bar to have clamped it into the range. Min and Max are
// stored as given, without clamping the present value or re-laying the bar; only a new Value
// is clamped (below Min to Min, then above Max to Max, so a range whose Max lies below Min ends
// at Max) and re-lays the indicator. Setting the value the bar already holds changes nothing.
//
// The style holds a track part per orientation ("htrack" with "hindicator", "vtrack" with
// "vindicator"); a style with one track for both ("track", as the installer's own bar has) is
// used for either orientation.
#pragma once

#include "scene/controls/Sg_controls_orientation.h"
#include "scene/core/Sg_scene_control.h"

class TsgProgressBar : public TsgControl {
    DBI_PERSISTENT(TsgProgressBar, TsgControl)

    explicit TsgProgressBar(TComponent* AOwner);

    float Min() const { return FMin; }
    void SetMin(float Value) { FMin = Value; }
    float Max() const { return FMax; }
    void SetMax(float Value) { FMax = Value; }
    float Value() const { return FValue; }
    void SetValue(float Value);
    TsgOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TsgOrientation Value) { FOrientation = Value; }

    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;
    // Sizes the indicator of the orientation to the value, then lays out the children.
    void Realign() override;
    void ReadState(TReader& Reader) override;

protected:
    void ApplyStyle() override;

private:
    // Sizes one indicator inside its track; hides it at 2 units or less.
    void SizeIndicator(TsgVisualObject* ATrack, const char* AName, bool Horizontal);
    void HidePart(const char* AName);

    float FMin = 0;
    float FValue = 0;
    float FMax = 100;
    TsgOrientation FOrientation = sgHorizontal;
};
