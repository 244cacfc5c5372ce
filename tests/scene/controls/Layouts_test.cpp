// The invisible containers: grid flow with margins and padding, scaling from a design size,
// registration and stream defaults, and the design-time frame that only the designer sees.
#include "scene/controls/Sg_layouts.h"

#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Cell {
    float X, Y;
};

struct GridCase {
    const char* name;
    float width, height;
    TsgRect margins;
    TsgOrientation orientation;
    int children;
    std::vector<Cell> expected;
};

class GridLayout : public testing::TestWithParam<GridCase> {};

TEST_P(GridLayout, FlowsChildrenIntoCells) {
    const GridCase& c = GetParam();
    TsgGridLayout grid(nullptr);
    grid.SetBounds(0, 0, c.width, c.height);
    grid.Margins()->SetRect(c.margins);
    grid.SetOrientation(c.orientation);
    std::vector<TsgVisualObject*> kids;
    for (int i = 0; i < c.children; ++i) {
        auto* child = new TsgVisualObject(nullptr);
        grid.AddObject(child);
        kids.push_back(child);
    }
    grid.Realign();
    ASSERT_EQ(kids.size(), c.expected.size());
    for (size_t i = 0; i < kids.size(); ++i) {
        EXPECT_FLOAT_EQ(kids[i]->Position()->X(), c.expected[i].X) << c.name << " child " << i;
        EXPECT_FLOAT_EQ(kids[i]->Position()->Y(), c.expected[i].Y) << c.name << " child " << i;
        EXPECT_FLOAT_EQ(kids[i]->Width(), 64) << c.name;
        EXPECT_FLOAT_EQ(kids[i]->Height(), 64) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridLayout,
    testing::Values(
        // 128 + 64 = 192 fits in 200; the next cell would end at 256 and wraps.
        GridCase{
            "three to a row", 200, 300, {}, sgHorizontal, 4, {{0, 0}, {64, 0}, {128, 0}, {0, 64}}},
        // The left margin counts in the cursor and in the limit: 138 - 10 < 74 + 64.
        GridCase{"left margin leaves one",
                 138,
                 300,
                 {10, 0, 0, 0},
                 sgHorizontal,
                 3,
                 {{10, 0}, {10, 64}, {10, 128}}},
        GridCase{"no margin fits two", 138, 300, {}, sgHorizontal, 3, {{0, 0}, {64, 0}, {0, 64}}},
        GridCase{"top margin", 130, 300, {0, 5, 0, 0}, sgHorizontal, 3, {{0, 5}, {64, 5}, {0, 69}}},
        GridCase{
            "vertical columns", 300, 200, {}, sgVertical, 4, {{0, 0}, {0, 64}, {0, 128}, {64, 0}}},
        GridCase{"narrower than a cell", 50, 50, {}, sgHorizontal, 2, {{0, 0}, {0, 64}}}),
    [](const testing::TestParamInfo<GridCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        return name;
    });

TEST(GridLayoutCells, PaddingShrinksTheCellAndNonVisualChildrenTakeNone) {
    TsgGridLayout grid(nullptr);
    grid.SetBounds(0, 0, 200, 200);
    auto* padded = new TsgVisualObject(nullptr);
    padded->Padding()->SetRect({2, 3, 4, 5});
    grid.AddObject(padded);
    grid.AddObject(new TsgObject(nullptr));
    auto* hidden = new TsgVisualObject(nullptr);
    hidden->SetVisible(false);
    grid.AddObject(hidden);
    grid.SetItemWidth(50); // a new value lays the cells out again
    EXPECT_FLOAT_EQ(padded->Position()->X(), 2);
    EXPECT_FLOAT_EQ(padded->Position()->Y(), 3);
    EXPECT_FLOAT_EQ(padded->Width(), 44);
    EXPECT_FLOAT_EQ(padded->Height(), 56);
    // The hidden child takes the next cell: the non-visual one took none.
    EXPECT_FLOAT_EQ(hidden->Position()->X(), 50);
    EXPECT_FLOAT_EQ(hidden->Position()->Y(), 0);
}

// A parent that can hold its children's layout, as a scroll box does during an update.
class TsgHoldingBox : public TsgVisualObject, public IsgRealignHold {
    DBI_PERSISTENT(TsgHoldingBox, TsgVisualObject)

    explicit TsgHoldingBox(TComponent* AOwner) : TsgVisualObject(AOwner) {}
    bool RealignHeld() override { return Held; }
    bool Held = false;
};

} // namespace

DBI_PUBLISH(TsgHoldingBox) {}

namespace {

TEST(ScaledLayout, DesignSizeNeverBelowOneAndScalesTheChildren) {
    TsgScaledLayout scaled(nullptr);
    scaled.SetBounds(0, 0, 200, 100);
    EXPECT_FLOAT_EQ(scaled.OriginalWidth(), 50); // the size at construction
    for (float v : {0.0f, 0.5f, -3.0f}) {
        scaled.SetOriginalWidth(v);
        EXPECT_FLOAT_EQ(scaled.OriginalWidth(), 1) << v;
        scaled.SetOriginalHeight(v);
        EXPECT_FLOAT_EQ(scaled.OriginalHeight(), 1) << v;
        scaled.SetOriginalWidth(7); // so the next value is a change
        scaled.SetOriginalHeight(7);
    }
    scaled.SetOriginalWidth(100);
    scaled.SetOriginalHeight(50);
    auto* child = new TsgVisualObject(nullptr);
    child->SetBounds(10, 10, 20, 20);
    scaled.AddObject(child);
    const TsgMatrix m = scaled.GetChildrenMatrix();
    EXPECT_FLOAT_EQ(m.m11, 2);
    EXPECT_FLOAT_EQ(m.m22, 2);
    const TsgRect r = child->GetAbsoluteRect();
    EXPECT_FLOAT_EQ(r.Left, 20);
    EXPECT_FLOAT_EQ(r.Bottom, 60);
    scaled.SetWidth(300); // at run time only the current size changes
    EXPECT_FLOAT_EQ(scaled.OriginalWidth(), 100);
    EXPECT_FLOAT_EQ(child->GetAbsoluteRect().Left, 30);
}

TEST(ScaledLayout, DoesNotRealignWhileItsParentHoldsTheLayout) {
    TsgHoldingBox box(nullptr);
    auto* scaled = new TsgScaledLayout(nullptr);
    scaled->SetBounds(0, 0, 100, 100);
    box.AddObject(scaled);
    auto* child = new TsgVisualObject(nullptr);
    child->SetBounds(0, 0, 10, 10);
    child->SetAlign(vaClient);
    scaled->AddObject(child);
    box.Held = true;
    child->SetBounds(0, 0, 10, 10);
    scaled->Realign();
    EXPECT_FLOAT_EQ(child->Width(), 10);
    box.Held = false;
    scaled->Realign();
    EXPECT_FLOAT_EQ(child->Width(), 100);
}

TEST(LayoutClasses, RegisteredUnderLayoutAndNeverHitByDefault) {
    RegisterSgLayoutsUnit();
    RegisterSgLayoutsUnit();
    for (const char* name :
         {"TsgLayout", "TsgScaledLayout", "TsgGridLayout", "TsgSplitLayout", "TsgNonSGLayout"})
        EXPECT_NO_THROW(FindClass(name)) << name;
    TsgLayout layout(nullptr);
    TsgSplitLayout split(nullptr);
    TsgNonSGLayout host(nullptr);
    EXPECT_FALSE(layout.HitTest());
    EXPECT_FALSE(split.HitTest());
    EXPECT_FALSE(host.HitTest());
    // False is the declared default, so streams leave it out; True must be written.
    for (TsgVisualObject* o : std::initializer_list<TsgVisualObject*>{&layout, &split}) {
        const TPropInfo* hit = o->ClassInfo().FindProperty("HitTest");
        ASSERT_NE(hit, nullptr);
        ASSERT_TRUE(hit->OrdDefault.has_value());
        EXPECT_EQ(*hit->OrdDefault, 0);
    }
    TsgGridLayout grid(nullptr);
    EXPECT_FLOAT_EQ(grid.ItemWidth(), 64);
    EXPECT_FLOAT_EQ(grid.ItemHeight(), 64);
    EXPECT_EQ(grid.Orientation(), sgHorizontal);
    EXPECT_TRUE(grid.HitTest());
}

// An offscreen scene that says it is being designed.
class TsgDesignOffscreen : public TsgOffscreenScene {
    DBI_PERSISTENT(TsgDesignOffscreen, TsgOffscreenScene)

    TsgDesignOffscreen(TComponent* AOwner, int W, int H) : TsgOffscreenScene(AOwner, W, H) {}
    bool GetDesignTime() override { return Design; }
    bool Design = false;
};

} // namespace

DBI_PUBLISH(TsgDesignOffscreen) {}

namespace {

TEST(LayoutFrame, DrawnOnlyInTheDesigner) {
    for (bool design : {false, true}) {
        for (int kind = 0; kind < 2; ++kind) {
            TsgDesignOffscreen scene(nullptr, 40, 40);
            scene.Design = design;
            TsgVisualObject* layout = kind == 0
                                          ? static_cast<TsgVisualObject*>(new TsgLayout(nullptr))
                                          : new TsgScaledLayout(nullptr);
            layout->SetBounds(10, 10, 20, 20);
            scene.AddObject(layout);
            scene.PaintScene(0xFFFFFFFF);
            const uint32_t* bits = scene.Canvas()->BufferBits();
            int marked = 0;
            for (int i = 0; i < 40 * 40; ++i)
                marked += bits[i] != 0xFFFFFFFF;
            if (design)
                EXPECT_GT(marked, 20) << "kind " << kind;
            else
                EXPECT_EQ(marked, 0) << "kind " << kind;
            // The frame lies on the layout's own edge, not inside or outside.
            if (design) {
                EXPECT_EQ(bits[20 * 40 + 5], 0xFFFFFFFFu);
                EXPECT_EQ(bits[20 * 40 + 20], 0xFFFFFFFFu);
            }
            scene.RemoveObject(layout);
            delete layout;
        }
    }
}

} // namespace
