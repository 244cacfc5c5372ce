// TsgLayout and TsgSplitLayout: invisible boxes of the scene graph.
//
// A layout only holds children, which place themselves by their own Align; it never takes the
// mouse itself (hit testing starts off), so a click falls through to what lies under it. At
// run time it paints nothing; in the designer it shows a dashed frame so it can be found.
#pragma once

#include "scene/core/Sg_scene_visual.h"

class TsgLayout : public TsgVisualObject {
    DBI_PERSISTENT(TsgLayout, TsgVisualObject)

    explicit TsgLayout(TComponent* AOwner);

    void Paint() override;

    // Stored and loaded with the object; the toolkit itself never raises it.
    TNotifyEvent OnDock;
    const TNotifyEvent& GetOnDock() const { return OnDock; }
    void SetOnDock(const TNotifyEvent& V) { OnDock = V; }
};

// The layouts' design-time frame: a dashed grey rectangle half a unit inside the object's bounds,
// drawn only in a designing scene, for an object that is not locked and is not being painted
// into an outside target (`paintingToTarget`).
void sgPaintLayoutFrame(TsgVisualObject* O, bool paintingToTarget);

// An empty box that splits a window's area; it has no behaviour of its own.
class TsgSplitLayout : public TsgVisualObject {
    DBI_PERSISTENT(TsgSplitLayout, TsgVisualObject)

    explicit TsgSplitLayout(TComponent* AOwner);
};
