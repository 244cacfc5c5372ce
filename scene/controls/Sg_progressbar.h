// TsgProgressBar: shows a value between Min and Max.
//
// The installation engine drives the wizard's two bars with single-precision values: it sets the
// range before every copy or unpacking and moves the value as bytes arrive, and reads the value
// back after setting it, relying on the bar to have clamped it into the range. Min and Max are
// stored as given, without clamping the present value or re-laying the bar; only a new Value
// is clamped (below Min to Min, then above Max to Max, so a range whose Max lies below Min ends
// at Max) and re-lays the indicator. Setting the value the bar already holds changes nothing.
//
// This is the bar's first form: it keeps the range and the value. Its style parts (track and
// indicator) come with the controls of the toolkit, which take over Realign.
#pragma once

#include "platform/classes/Component.h"

enum TsgOrientation { sgHorizontal = 0, sgVertical = 1 };

class TsgProgressBar : public TComponent {
    DBI_PERSISTENT(TsgProgressBar, TComponent)

    explicit TsgProgressBar(TComponent* AOwner);

    float Min() const { return FMin; }
    void SetMin(float Value) { FMin = Value; }
    float Max() const { return FMax; }
    void SetMax(float Value) { FMax = Value; }
    float Value() const { return FValue; }
    void SetValue(float Value);
    TsgOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TsgOrientation Value) { FOrientation = Value; }

protected:
    // Sizes the indicator to the value; no style parts to size yet.
    virtual void Realign() {}

private:
    float FMin = 0;
    float FValue = 0;
    float FMax = 100;
    TsgOrientation FOrientation = sgHorizontal;
};
