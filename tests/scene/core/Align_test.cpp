// Layout of visual children: the 24 alignment values with the parent's margins and the child's
// padding, the stacking order of equally placed children, and the corner cases of sizes and
// margins that layouts meet.
#include "SceneTestClasses.h"

#include "scene/core/Sg_scene_align.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

// A node that lays out its children, as every visual class will.
class TsgAlignTestNode : public TsgVisualObject {
    DBI_PERSISTENT(TsgAlignTestNode, TsgVisualObject)

    explicit TsgAlignTestNode(TComponent* AOwner) : TsgVisualObject(AOwner) {}
    void Realign() override {
        ++RealignCount;
        sgRealign(this);
    }
    int RealignCount = 0;
};

DBI_PUBLISH(TsgAlignTestNode) {}

namespace {

struct Box {
    float X, Y, W, H;
};

class Align : public testing::Test {
protected:
    // A parent of that size whose last layout had that size too.
    TsgAlignTestNode* Parent(float W, float H, TsgRect margins = {}) {
        auto* p = new TsgAlignTestNode(nullptr);
        parents.emplace_back(p);
        scene.AddObject(p);
        p->SetBounds(0, 0, W, H);
        p->SetSizeWithoutChange(W, H);
        p->Margins()->SetRect(margins);
        return p;
    }
    TsgAlignTestNode* Child(TsgVisualObject* parent, TsgAlign A, Box b, TsgRect padding = {}) {
        auto* c = new TsgAlignTestNode(nullptr);
        c->SetBounds(b.X, b.Y, b.W, b.H);
        c->Padding()->SetRect(padding);
        c->SetAlign(A);
        parent->AddObject(c);
        return c;
    }
    static void ExpectBox(TsgVisualObject* o, Box b, const char* what) {
        EXPECT_NEAR(o->Position()->X(), b.X, 0.01) << what;
        EXPECT_NEAR(o->Position()->Y(), b.Y, 0.01) << what;
        EXPECT_NEAR(o->Width(), b.W, 0.01) << what;
        EXPECT_NEAR(o->Height(), b.H, 0.01) << what;
    }

    TTestScene scene{nullptr};
    std::vector<std::unique_ptr<TsgAlignTestNode>> parents;
};

// Parent 200 x 100 with margins (10, 5, 20, 15), so the shared area is (10, 5)-(180, 85), 170 x 80;
// the child sits at (30, 40), 30 x 10, with padding (1, 2, 3, 4): 34 x 16 padded, the area's
// shape, so the fitting values fill it exactly.
struct AlignCase {
    TsgAlign align;
    const char* name;
    Box expected;
};

const AlignCase kAlignCases[] = {
    {vaNone, "vaNone", {30, 40, 30, 10}},
    {vaTopLeft, "vaTopLeft", {30, 40, 30, 10}},
    {vaTopRight, "vaTopRight", {30, 40, 30, 10}},
    {vaBottomLeft, "vaBottomLeft", {30, 40, 30, 10}},
    {vaBottomRight, "vaBottomRight", {30, 40, 30, 10}},
    {vaTop, "vaTop", {11, 7, 166, 10}},
    {vaLeft, "vaLeft", {11, 7, 30, 74}},
    {vaRight, "vaRight", {147, 7, 30, 74}},
    {vaBottom, "vaBottom", {11, 71, 166, 10}},
    {vaMostTop, "vaMostTop", {11, 7, 166, 10}},
    {vaMostBottom, "vaMostBottom", {11, 71, 166, 10}},
    {vaMostLeft, "vaMostLeft", {11, 7, 30, 74}},
    {vaMostRight, "vaMostRight", {147, 7, 30, 74}},
    {vaClient, "vaClient", {11, 7, 166, 74}},
    {vaContents, "vaContents", {1, 2, 196, 94}},
    {vaCenter, "vaCenter", {79, 39, 30, 10}},
    {vaVertCenter, "vaVertCenter", {11, 39, 166, 10}},
    {vaHorzCenter, "vaHorzCenter", {79, 7, 30, 74}},
    {vaHorizontal, "vaHorizontal", {11, 40, 166, 10}},
    {vaVertical, "vaVertical", {30, 7, 30, 74}},
    {vaScale, "vaScale", {30, 40, 30, 10}},
    {vaFit, "vaFit", {11, 7, 166, 74}},
    {vaFitLeft, "vaFitLeft", {11, 7, 166, 74}},
    {vaFitRight, "vaFitRight", {11, 7, 166, 74}},
};

TEST_F(Align, EveryValueWithMarginsAndPaddingAndAgainOnTheNextLayout) {
    for (const AlignCase& c : kAlignCases) {
        TsgAlignTestNode* p = Parent(200, 100, {10, 5, 20, 15});
        TsgAlignTestNode* child = Child(p, c.align, {30, 40, 30, 10}, {1, 2, 3, 4});
        ExpectBox(child, c.expected, c.name);
        // A second layout of the same parent changes nothing: no value drifts.
        p->Realign();
        ExpectBox(child, c.expected, c.name);
    }
}

TEST_F(Align, StackedChildrenShareTheAreaInTheirVisualOrder) {
    TsgAlignTestNode* p = Parent(100, 100);
    TsgAlignTestNode* second = Child(p, vaNone, {0, 10, 50, 30});
    TsgAlignTestNode* first = Child(p, vaNone, {0, 0, 50, 20});
    TsgAlignTestNode* client = Child(p, vaNone, {0, 0, 10, 10});
    sgDisableAlign(p);
    second->SetAlign(vaTop);
    first->SetAlign(vaTop);
    client->SetAlign(vaClient);
    sgEnableAlign(p);
    p->Realign();
    ExpectBox(first, {0, 0, 100, 20}, "top child at Y 0");
    ExpectBox(second, {0, 20, 100, 30}, "top child at Y 10");
    ExpectBox(client, {0, 50, 100, 50}, "client");
    TsgAlignTestNode* most = Child(p, vaMostTop, {0, 90, 100, 5});
    ExpectBox(most, {0, 0, 100, 5}, "most top, added last");
    ExpectBox(first, {0, 5, 100, 20}, "top child below it");
}

// Children placed alike keep child order on the edges compared with "<" and are reversed on
// those compared with ">=".
struct OrderCase {
    TsgAlign align;
    const char* name;
    Box expectedFirst, expectedSecond;
};
const OrderCase kOrderCases[] = {
    {vaTop, "vaTop", {0, 0, 100, 10}, {0, 10, 100, 10}},
    {vaMostTop, "vaMostTop", {0, 0, 100, 10}, {0, 10, 100, 10}},
    {vaLeft, "vaLeft", {0, 0, 10, 100}, {10, 0, 10, 100}},
    {vaBottom, "vaBottom", {0, 80, 100, 10}, {0, 90, 100, 10}},
    {vaRight, "vaRight", {80, 0, 10, 100}, {90, 0, 10, 100}},
    {vaMostRight, "vaMostRight", {80, 0, 10, 100}, {90, 0, 10, 100}},
};

TEST_F(Align, EquallyPlacedChildren) {
    for (const OrderCase& c : kOrderCases) {
        TsgAlignTestNode* p = Parent(100, 100);
        TsgAlignTestNode* first = Child(p, vaNone, {40, 40, 10, 10});
        TsgAlignTestNode* second = Child(p, vaNone, {40, 40, 10, 10});
        first->SetAlign(c.align);
        // The second is laid out from the same place as the first had.
        second->Position()->SetPoint({40, 40});
        second->SetSizeWithoutChange(10, 10);
        first->Position()->SetPoint({40, 40});
        first->SetSizeWithoutChange(10, 10);
        second->SetAlign(c.align);
        ExpectBox(first, c.expectedFirst, c.name);
        ExpectBox(second, c.expectedSecond, c.name);
    }
}

TEST_F(Align, ClientPaddingInsideMargins) {
    TsgAlignTestNode* p = Parent(100, 100, {10, 0, 0, 0});
    TsgAlignTestNode* c = Child(p, vaClient, {0, 0, 10, 10}, {5, 5, 5, 5});
    ExpectBox(c, {15, 5, 80, 90}, "client with padding");
}

TEST_F(Align, CentringTruncatesTheOffset) {
    TsgAlignTestNode* p = Parent(100, 100);
    ExpectBox(Child(p, vaCenter, {0, 0, 11, 11}), {44, 44, 11, 11}, "centre");
}

TEST_F(Align, ContentsIgnoresMarginsAndSiblings) {
    TsgAlignTestNode* p = Parent(100, 80, {10, 10, 10, 10});
    Child(p, vaMostTop, {0, 0, 10, 30});
    TsgAlignTestNode* c = Child(p, vaContents, {5, 5, 10, 10});
    ExpectBox(c, {0, 0, 100, 80}, "contents");
}

TEST_F(Align, CornerAnchorsAndScaleFollowAResize) {
    TsgAlignTestNode* p = Parent(100, 100);
    TsgAlignTestNode* topRight = Child(p, vaTopRight, {80, 5, 10, 10});
    TsgAlignTestNode* bottomRight = Child(p, vaBottomRight, {80, 80, 10, 10});
    TsgAlignTestNode* scaled = Child(p, vaScale, {10, 10, 20, 20});
    p->SetWidth(150);
    ExpectBox(topRight, {130, 5, 10, 10}, "top right");
    ExpectBox(bottomRight, {130, 80, 10, 10}, "bottom right");
    ExpectBox(scaled, {15, 10, 30, 20}, "scale");
    p->SetHeight(50);
    ExpectBox(bottomRight, {130, 30, 10, 10}, "bottom right after the height");
    ExpectBox(scaled, {15, 5, 30, 10}, "scale after the height");
}

TEST_F(Align, FitScalesDownOrKeepsTheSideItFits) {
    TsgAlignTestNode* square = Parent(100, 100);
    ExpectBox(Child(square, vaFit, {0, 0, 200, 100}), {0, 25, 100, 50}, "fit");
    TsgAlignTestNode* wide = Parent(200, 100);
    ExpectBox(Child(wide, vaFitLeft, {70, 0, 50, 100}), {0, 0, 50, 100}, "fit left");
    ExpectBox(Child(wide, vaFitRight, {70, 0, 50, 100}), {150, 0, 50, 100}, "fit right");
    // Smaller than the area: enlarged to its height, then centred or moved to a side.
    TsgAlignTestNode* large = Parent(200, 100);
    ExpectBox(Child(large, vaFit, {0, 0, 20, 10}), {0, 0, 200, 100}, "fit enlarges");
    TsgAlignTestNode* tall = Parent(200, 100);
    ExpectBox(Child(tall, vaFitRight, {0, 0, 10, 20}), {150, 0, 50, 100}, "fit right enlarges");
}

TEST_F(Align, AChildOfNoSizeIsNotFitIntoNumbersThatAreNone) {
    TsgAlignTestNode* p = Parent(100, 100);
    TsgAlignTestNode* c = Child(p, vaFit, {10, 10, 0, 0});
    EXPECT_TRUE(std::isfinite(c->Position()->X()) && std::isfinite(c->Position()->Y()));
    EXPECT_TRUE(std::isfinite(c->Width()) && std::isfinite(c->Height()));
}

TEST_F(Align, TinyParentsSuspendedParentsAndUnalignedChildrenAreLeftAlone) {
    TsgAlignTestNode* narrow = Parent(1.5f, 100);
    TsgAlignTestNode* c = Child(narrow, vaClient, {3, 4, 5, 6});
    ExpectBox(c, {3, 4, 5, 6}, "parent 1.5 wide");

    TsgAlignTestNode* suspended = Parent(100, 100);
    sgDisableAlign(suspended);
    TsgAlignTestNode* d = Child(suspended, vaClient, {3, 4, 5, 6});
    ExpectBox(d, {3, 4, 5, 6}, "suspended");
    sgEnableAlign(suspended);
    suspended->Realign();
    ExpectBox(d, {0, 0, 100, 100}, "resumed");

    TsgAlignTestNode* plain = Parent(100, 100);
    TsgAlignTestNode* e = Child(plain, vaNone, {3, 4, 5, 6});
    plain->SetWidth(120);
    const int pending = scene.GetUpdateRectsCount();
    plain->Realign();
    ExpectBox(e, {3, 4, 5, 6}, "unaligned");
    EXPECT_EQ(scene.GetUpdateRectsCount(), pending) << "nothing to lay out, nothing repainted";
    EXPECT_EQ(sgLastAlignSize(plain).X, 100) << "the last size stays";
}

TEST_F(Align, ALaidOutChildLaysOutItsOwnChildren) {
    TsgAlignTestNode* p = Parent(100, 100);
    TsgAlignTestNode* panel = Child(p, vaLeft, {0, 0, 30, 10});
    TsgAlignTestNode* inner = Child(panel, vaBottom, {0, 0, 5, 10});
    ExpectBox(panel, {0, 0, 30, 100}, "panel");
    ExpectBox(inner, {0, 90, 30, 10}, "inner");
}

TEST_F(Align, LoadingOnlyRemembersTheSize) {
    TsgAlignTestNode* p = Parent(100, 100);
    TsgAlignTestNode* c = Child(p, vaNone, {1, 2, 3, 4});
    p->SetStateFlags(csLoading);
    c->SetAlign(vaClient);
    p->SetWidth(80);
    p->Realign();
    EXPECT_EQ(sgLastAlignSize(p).X, 80);
    ExpectBox(c, {1, 2, 3, 4}, "while loading");
    p->ClearStateFlags(csLoading);
}

} // namespace
