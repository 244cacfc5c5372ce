// TsgScaledLayout: scales its children from a design size to its current size.
//
// The design size (OriginalWidth x OriginalHeight) is the size the children were laid out for;
// at run time only the current size changes, and the children are drawn through a scale matrix.
// In the designer the design size follows the box, so there the scale is always 1.
#pragma once

#include "scene/controls/Sg_layout.h"

// A container that holds back its children's layout while it is being updated (a scroll box
// between BeginUpdate and EndUpdate): a scaled layout inside it does not realign meanwhile.
class IsgRealignHold {
public:
    virtual bool RealignHeld() = 0;

protected:
    ~IsgRealignHold() = default;
};

class TsgScaledLayout : public TsgVisualObject {
    DBI_PERSISTENT(TsgScaledLayout, TsgVisualObject)

    explicit TsgScaledLayout(TComponent* AOwner);

    float OriginalWidth() const { return FOriginalWidth; }
    void SetOriginalWidth(float Value);
    float OriginalHeight() const { return FOriginalHeight; }
    void SetOriginalHeight(float Value);

    void SetWidth(float Value) override;
    void SetHeight(float Value) override;
    TsgMatrix GetChildrenMatrix() override;
    void Realign() override;
    void Paint() override;

private:
    bool Designing();

    float FOriginalWidth;
    float FOriginalHeight;
};
