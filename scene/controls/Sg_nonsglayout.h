// TsgNonSGLayout: keeps one window control of the platform layer over its rectangle.
//
// The hosted control (the licence's rich-text view) is a sibling of the scene window, stacked in
// front of it, and is placed in the coordinates of the scene window's parent: the layout's
// absolute rectangle plus the scene window's Left/Top. It shows when the layout and all its
// visual ancestors are visible, which the layout learns when the scene asks it to repaint
// (CheckParentVisible) or is painted; while shown, a 100 ms poll notices an ancestor being hidden
// and hides it. The layout never owns the control: the control's window does, and when it is freed
// the layout forgets it.
#pragma once

#include "scene/controls/Sg_layout.h"

class TsgTimer;
class TWinComponent;

class TsgNonSGLayout : public TsgLayout {
    DBI_PERSISTENT(TsgNonSGLayout, TsgLayout)

    explicit TsgNonSGLayout(TComponent* AOwner);
    ~TsgNonSGLayout() override;

    TWinComponent* NonSGControl() const { return FControl; }
    void SetControl(TWinComponent* Value);

    bool CheckParentVisible() override;
    void Realign() override;
    // Being painted means the page is shown: the control follows at once, also when the page was
    // shown without this layout asking for a repaint of its own.
    void Paint() override;
    // The visibility poll; runs only while the hosted control is shown.
    TsgTimer* VisibleTimer() const { return FVisibleTimer; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void DoVisibleTimer(TObject* Sender);

    TWinComponent* FControl = nullptr;
    TsgTimer* FVisibleTimer = nullptr;
};
