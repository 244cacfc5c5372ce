// TsgGridLayout: flows its visual children into equal cells, row by row (or column by column).
//
// Every visual child, hidden ones included, gets the next cell of ItemWidth x ItemHeight less
// its own padding; a row ends when the next cell would cross the right margin. The left margin
// counts twice on that test (once in the cursor, once in the limit), so a row holds a little
// less than the width between the margins: streams were laid out with that, and it stays.
#pragma once

#include "scene/controls/Sg_progressbar.h" // TsgOrientation
#include "scene/core/Sg_scene_visual.h"

class TsgGridLayout : public TsgVisualObject {
    DBI_PERSISTENT(TsgGridLayout, TsgVisualObject)

    explicit TsgGridLayout(TComponent* AOwner);

    float ItemWidth() const { return FItemWidth; }
    void SetItemWidth(float Value);
    float ItemHeight() const { return FItemHeight; }
    void SetItemHeight(float Value);
    TsgOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TsgOrientation Value);

    void Realign() override;

private:
    float FItemWidth = 64;
    float FItemHeight = 64;
    TsgOrientation FOrientation = sgHorizontal;
};
