// Caption-less containers: the panel, the tool bar and status bar docked to the edges of their
// parent, and the selection item. They hold other objects and show only their styles.
#pragma once

#include "scene/core/Sg_scene_control.h"

class TsgPanel : public TsgControl {
    DBI_PERSISTENT(TsgPanel, TsgControl)

    explicit TsgPanel(TComponent* AOwner);
};

class TsgHudPanel : public TsgPanel {
    DBI_PERSISTENT(TsgHudPanel, TsgPanel)
    using TsgPanel::TsgPanel;
};

class TsgToolBar : public TsgControl {
    DBI_PERSISTENT(TsgToolBar, TsgControl)

    explicit TsgToolBar(TComponent* AOwner);
};

// The status bar's style carries a "sizegrip" part; in a running scene it is made live so the
// window can be resized through it.
class TsgStatusBar : public TsgControl {
    DBI_PERSISTENT(TsgStatusBar, TsgControl)

    explicit TsgStatusBar(TComponent* AOwner);

    bool ShowSizeGrip() const { return FShowSizeGrip; }
    void SetShowSizeGrip(bool Value);

protected:
    void ApplyStyle() override;

private:
    bool FShowSizeGrip = true;
};

class TsgHudStatusBar : public TsgStatusBar {
    DBI_PERSISTENT(TsgHudStatusBar, TsgStatusBar)
    using TsgStatusBar::TsgStatusBar;
};

// Paints like any control, except that at design time its children stay hidden.
class TsgSelectionItem : public TsgControl {
    DBI_PERSISTENT(TsgSelectionItem, TsgControl)

    explicit TsgSelectionItem(TComponent* AOwner);

    void PaintChildren() override;
};
