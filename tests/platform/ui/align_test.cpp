// Child windows placed by their alignment, as window layouts rely on for the scene.
#include "platform/ui/Forms.h"

#include "UiTestSupport.h"

namespace {

class Align : public UiTest {};

TEST_F(Align, EdgesTakeTheirStripsInOrderAndClientTakesTheRest) {
    TForm form;
    form.SetClientSize(200, 100);
    TCustomControl top, bottom, left, right, client, free;
    top.SetBounds(0, 0, 10, 20);
    bottom.SetBounds(0, 0, 10, 15);
    left.SetBounds(0, 0, 30, 10);
    right.SetBounds(0, 0, 25, 10);
    free.SetBounds(7, 8, 9, 10);
    // Aligned before they join: the parent lays them out as they arrive.
    client.SetAlign(alClient);
    right.SetAlign(alRight);
    for (TWinControl* c : {&client, &right, &left, &bottom, &top, &free})
        c->SetParent(&form);
    left.SetAlign(alLeft);
    bottom.SetAlign(alBottom);
    top.SetAlign(alTop);

    EXPECT_EQ(top.BoundsRect(), (TRect{0, 0, 200, 20}));
    EXPECT_EQ(bottom.BoundsRect(), (TRect{0, 85, 200, 100}));
    EXPECT_EQ(left.BoundsRect(), (TRect{0, 20, 30, 85}));
    EXPECT_EQ(right.BoundsRect(), (TRect{175, 20, 200, 85}));
    EXPECT_EQ(client.BoundsRect(), (TRect{30, 20, 175, 85}));
    EXPECT_EQ(free.BoundsRect(), (TRect{7, 8, 16, 18}));

    form.SetClientSize(300, 50); // a resize lays them out again
    EXPECT_EQ(bottom.BoundsRect(), (TRect{0, 35, 300, 50}));
    EXPECT_EQ(client.BoundsRect(), (TRect{30, 20, 275, 35}));

    top.SetAlign(alNone); // keeps its place, the others close up
    EXPECT_EQ(top.BoundsRect(), (TRect{0, 0, 300, 20}));
    EXPECT_EQ(left.BoundsRect(), (TRect{0, 0, 30, 35}));

    client.SetParent(nullptr);
    form.SetClientSize(10, 10); // too small: extents stop at zero
    EXPECT_EQ(left.BoundsRect(), (TRect{0, 0, 30, 0}));
    EXPECT_EQ(bottom.BoundsRect(), (TRect{0, -5, 10, 10}));
}

} // namespace
