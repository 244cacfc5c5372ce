// Scroll boxes: the scrolled area against the viewport (bars enabled, shown, parked), the
// second bar pass when one bar narrows the viewport, wheel steps, dragging with a fling, code
// scrolling, update nesting and the clipping of scrolled-away children.
#include "ScrollStyles.h"

#include "scene/core/Sg_ani_kinds.h"

#include "platform/ui/UiClock.h"

#include <gtest/gtest.h>

void RegisterSgObjectsUnit();

namespace {

class ScrollBox : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgObjectsUnit();
        RegisterSgScrollBoxUnit();
        RegisterScrollTestUnits();
        SetUiClock(&clock);
        style = MakeScrollStyle(u"testscrollboxstyle");
    }
    void TearDown() override {
        delete box;
        style.reset();
        SetUiClock(nullptr);
    }
    // A box of that size, styled, in the scene, holding one child of the given size.
    TsgVisualObject* Box(float W, float H, float ChildW, float ChildH) {
        box = new TsgScrollBox(nullptr);
        box->SetResource(u"testscrollboxstyle");
        box->SetAnimated(false);
        scene.AddObject(box);
        box->SetBounds(0, 0, W, H);
        box->ApplyResource();
        auto* child = new TsgRectangle(nullptr);
        child->SetBounds(0, 0, ChildW, ChildH);
        box->AddObject(child);
        box->Realign();
        return child;
    }
    TsgScrollBar* V() { return box->VScrollBar(); }
    TsgScrollBar* H() { return box->HScrollBar(); }
    void Wheel(int Delta) {
        bool handled = false;
        box->MouseWheel(0, Delta, handled);
        EXPECT_TRUE(handled);
    }

    TManualClock clock;
    TsgOffscreenScene scene{nullptr, 400, 600};
    std::unique_ptr<TsgObject> style;
    TsgScrollBox* box = nullptr;
};

struct ExtentCase {
    float childW, childH;
    bool vEnabled, hEnabled;
    float viewW, viewH; // the viewport after the bars took their places
    float contentW, contentH;
};

TEST_F(ScrollBox, ContentExtentsDecideWhichBarsShowAndTheViewport) {
    const ExtentCase cases[] = {
        {50, 50, false, false, 100, 100, 100, 100},   // smaller than the viewport
        {100, 100, false, false, 100, 100, 100, 100}, // exactly the viewport
        {50, 300, true, false, 86, 100, 86, 300},     // tall: vertical bar only
        {300, 50, false, true, 100, 86, 300, 86},     // wide: horizontal bar only
        // The vertical bar narrows the viewport to 86, so 90 no longer fits: the second pass
        // brings the horizontal bar as well.
        {90, 300, true, true, 86, 86, 90, 300},
    };
    for (const ExtentCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.childW << " x " << c.childH);
        Box(100, 100, c.childW, c.childH);
        ASSERT_TRUE(V() && H() && box->ContentLayout());
        EXPECT_EQ(V()->Enabled(), c.vEnabled);
        EXPECT_EQ(V()->Visible(), c.vEnabled); // AutoHide
        EXPECT_EQ(H()->Enabled(), c.hEnabled);
        EXPECT_EQ(H()->Visible(), c.hEnabled);
        EXPECT_FLOAT_EQ(box->ContentLayout()->Width(), c.viewW);
        EXPECT_FLOAT_EQ(box->ContentLayout()->Height(), c.viewH);
        EXPECT_FLOAT_EQ(box->Content()->Width(), c.contentW);
        EXPECT_FLOAT_EQ(box->Content()->Height(), c.contentH);
        EXPECT_FLOAT_EQ(box->Content()->Position()->Y(), 0);
        if (c.vEnabled) {
            EXPECT_FLOAT_EQ(V()->Max(), c.contentH);
            EXPECT_FLOAT_EQ(V()->ViewportSize(), c.viewH);
            EXPECT_FLOAT_EQ(V()->SmallChange(), c.viewH / 5);
        }
        if (c.vEnabled && c.hEnabled) { // stops short of the vertical bar
            EXPECT_FLOAT_EQ(H()->Padding()->Right(), 14);
        }
        delete box;
        box = nullptr;
    }
}

TEST_F(ScrollBox, WheelScrollsThreeSmallChangesPerNotchAndClampsToTheRange) {
    Box(100, 100, 50, 400); // viewport 100 high: SmallChange 20
    struct Step {
        int delta;
        float value;
    } const steps[] = {
        {-240, 120},  // two notches down: 120 units
        {120, 60},    // one notch up
        {-60, 90},    // half a notch
        {-1200, 300}, // clamped at Max - ViewportSize
        {2400, 0},
    };
    for (const Step& s : steps) {
        Wheel(s.delta);
        EXPECT_FLOAT_EQ(V()->Value(), s.value) << s.delta;
        EXPECT_FLOAT_EQ(box->Content()->Position()->Y(), -s.value);
        EXPECT_FLOAT_EQ(box->ScrollPosition().Y, s.value);
    }
}

TEST_F(ScrollBox, WheelGoesToTheHorizontalBarWhenNoVerticalOneShows) {
    Box(100, 100, 400, 50);
    Wheel(-120);
    EXPECT_FLOAT_EQ(H()->Value(), 60); // SmallChange 100 / 5
    EXPECT_FLOAT_EQ(box->Content()->Position()->X(), -60);
}

TEST_F(ScrollBox, WheelIsLeftToOthersWhenDisabledOrNothingScrolls) {
    Box(100, 100, 50, 50);
    bool handled = false;
    box->MouseWheel(0, -120, handled);
    EXPECT_FALSE(handled);
    delete box;
    Box(100, 100, 50, 400);
    box->SetDisableMouseWheel(true);
    box->MouseWheel(0, -120, handled);
    EXPECT_FALSE(handled);
    EXPECT_FLOAT_EQ(V()->Value(), 0);
}

TEST_F(ScrollBox, AnimatedWheelRunsAQuadraticEaseOutTowardsTheTarget) {
    Box(100, 100, 50, 400);
    box->SetAnimated(true);
    Wheel(-240);
    TsgFloatAnimation* ani = box->VScrollAni();
    ASSERT_NE(ani, nullptr);
    EXPECT_EQ(ani->Parent(), V());
    EXPECT_FLOAT_EQ(ani->StopValue(), 120);
    EXPECT_FLOAT_EQ(ani->Duration(), 0.7f);
    EXPECT_EQ(ani->AnimationType(), sgAnimationOut);
    EXPECT_EQ(ani->Interpolation(), sgInterpolationQuadratic);
    EXPECT_TRUE(ani->StartFromCurrent());
    box->SetAniDuration(0.3f);
    EXPECT_FLOAT_EQ(ani->Duration(), 0.3f);
}

TEST_F(ScrollBox, ADragScrollsAndAQuickReleaseFlings) {
    Box(100, 100, 50, 1000);
    box->SetMouseTracking(true);
    V()->SetValue(200);
    box->MouseDown(mbLeft, 0, 50, 50);
    box->MouseMove(0, 50, 40, 0, -10); // content up: value grows
    EXPECT_FLOAT_EQ(V()->Value(), 210);
    box->MouseMove(0, 50, 50, 0, 10); // 10 down
    EXPECT_FLOAT_EQ(V()->Value(), 200);
    clock.Advance(30);
    box->SetAnimated(true);
    box->MouseUp(mbLeft, 0, 50, 50);
    ASSERT_NE(box->VScrollAni(), nullptr);
    EXPECT_FLOAT_EQ(box->VScrollAni()->StopValue(), 130); // 70 further

    // After a pause of 50 ms the content stays where it was left.
    box->MouseDown(mbLeft, 0, 50, 50);
    box->MouseMove(0, 50, 60, 0, 10);
    EXPECT_FLOAT_EQ(V()->Value(), 190);
    box->VScrollAni()->SetStopValue(-1);
    clock.Advance(50);
    box->MouseUp(mbLeft, 0, 50, 60);
    EXPECT_FLOAT_EQ(box->VScrollAni()->StopValue(), -1);
}

TEST_F(ScrollBox, ScrollToAndCentreMoveTheVisibleBars) {
    Box(100, 100, 50, 300);
    box->Centre();
    EXPECT_FLOAT_EQ(V()->Value(), 100); // (300 - 100) / 2
    box->ScrollTo(0, 30);               // positive: shows what lies above
    EXPECT_FLOAT_EQ(V()->Value(), 70);
    EXPECT_FLOAT_EQ(H()->Value(), 0);
}

TEST_F(ScrollBox, HiddenBarsAreParkedOutsideTheBoxAndTheViewportKeepsItsSize) {
    // Taller than wide by far: a bar parked at Y = Width + 100 would lie inside.
    Box(100, 400, 300, 1000);
    box->SetShowScrollBars(false);
    EXPECT_FLOAT_EQ(V()->Opacity(), 0);
    EXPECT_FLOAT_EQ(H()->Opacity(), 0);
    EXPECT_EQ(V()->Align(), vaNone);
    EXPECT_FLOAT_EQ(V()->Position()->X(), 200);
    EXPECT_FLOAT_EQ(H()->Position()->Y(), 500);
    EXPECT_FLOAT_EQ(box->ContentLayout()->Width(), 100);
    EXPECT_FLOAT_EQ(box->ContentLayout()->Height(), 400);
    for (float y : {10.f, 150.f, 250.f, 390.f})
        EXPECT_NE(box->ObjectByPoint(95, y), V()) << y;
    // Still scrollable through the bars' values.
    Wheel(-120);
    EXPECT_FLOAT_EQ(V()->Value(), 240);
    box->SetShowScrollBars(true);
    EXPECT_FLOAT_EQ(V()->Opacity(), 1);
    EXPECT_EQ(V()->Align(), vaRight);
    EXPECT_FLOAT_EQ(box->ContentLayout()->Width(), 86);
}

TEST_F(ScrollBox, NestedUpdatesRealignOnceAtTheOutermostEnd) {
    TsgVisualObject* child = Box(100, 100, 50, 50);
    box->BeginUpdate();
    box->BeginUpdate();
    child->SetHeight(500);
    box->Realign();
    EXPECT_FALSE(V()->Enabled());
    box->EndUpdate();
    EXPECT_FALSE(V()->Enabled());
    box->EndUpdate();
    EXPECT_TRUE(V()->Enabled());
    EXPECT_FLOAT_EQ(V()->Max(), 500);
}

TEST_F(ScrollBox, ScrolledAwayChildrenAreNeitherClickedNorOutsideTheClip) {
    TsgVisualObject* child = Box(100, 100, 50, 400);
    child->SetHitTest(true);
    EXPECT_EQ(box->ObjectByPoint(20, 20), child);
    V()->SetValue(150);
    EXPECT_EQ(box->Content()->GetClipRect(), (TsgRect{0, 150, 86, 250}));
    EXPECT_EQ(box->ObjectByPoint(20, 20), child); // rows 150.. of the child
    child->SetHeight(120);                        // now ends above the window
    box->Realign();
    EXPECT_FLOAT_EQ(V()->Max(), 120);
}

TEST_F(ScrollBox, StreamedChildrenGoIntoTheContentAndTheScrollPositionSurvivesARestyle) {
    Box(100, 100, 50, 400);
    EXPECT_EQ(box->Content()->ChildrenCount(), 1);
    V()->SetValue(100);
    box->SetUseSmallScrollBars(true); // no small bars in this style: the normal ones serve
    ASSERT_NE(V(), nullptr);
    box->SetResource(u"testscrollboxstyle");
    box->UpdateResource();
    ASSERT_NE(V(), nullptr);
    EXPECT_FLOAT_EQ(V()->Value(), 100);
    EXPECT_FLOAT_EQ(box->Content()->Position()->Y(), -100);
}

} // namespace
