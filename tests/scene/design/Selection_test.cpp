// The selection rectangle and the selection point: which press moves and which resizes, free
// and proportional resizing with the minimum size, staying inside the parent, the property
// limits and the events.
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_objects_selection.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_registry.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TNoFlush {
    void Flush(TObject*) {}
} noFlush;

struct Counter {
    int Count = 0;
    void Hit(TObject*) { ++Count; }
};

class Selection : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        scene = std::make_unique<TsgScene>(nullptr);
        scene->CreateEmbedded(400, 300, TNotifyEvent::Bind<&TNoFlush::Flush>(&noFlush));
        root = new TsgVisualObject(scene.get());
        scene->AddObject(root);
        root->SetBounds(0, 0, 400, 300);
        sel = new TsgSelection(scene.get());
        root->AddObject(sel);
        sel->SetBounds(100, 100, 100, 80);
        sel->OnChange = TNotifyEvent::Bind<&Counter::Hit>(&changes);
        sel->OnTrack = TNotifyEvent::Bind<&Counter::Hit>(&tracks);
    }
    // Press at a local point, move the pointer by (dx, dy) and release.
    void Drag(float x, float y, float dx, float dy) {
        sel->MouseDown(mbLeft, {}, x, y);
        sel->MouseMove(TShiftState(ssLeft), x + dx, y + dy, 0, 0);
        sel->MouseUp(mbLeft, {}, x + dx, y + dy);
    }

    std::unique_ptr<TsgScene> scene;
    TsgVisualObject* root = nullptr;
    TsgSelection* sel = nullptr;
    Counter changes, tracks;
};

TEST_F(Selection, RegisteredUnderDesign) {
    for (const char* name : {"TsgSelection", "TsgSelectionPoint", "TsgDesignFrame"}) {
        const void* info = GetClass(AnsiString(name));
        ASSERT_NE(info, nullptr) << name;
        UnicodeString category;
        for (int i = 0; i < ObjectList->Count(); ++i)
            if (ObjectList->GetObject(i) == info)
                category = ObjectList->Get(i);
        EXPECT_EQ(category, UnicodeString(u"Design")) << name;
    }
}

TEST_F(Selection, PressDecidesBetweenMoveAndCornerResize) {
    const struct {
        float x, y;
        bool move;
    } cases[] = {{50, 40, true}, {98, 78, false}, {-2, -2, false}, {103, 83, false}, {4, 40, true}};
    for (const auto& c : cases) {
        sel->MouseDown(mbLeft, {}, c.x, c.y);
        EXPECT_EQ(sel->Moving(), c.move) << c.x << "," << c.y;
        sel->MouseUp(mbLeft, {}, c.x, c.y);
    }
    // Releasing after a press that changed nothing still reports the end of a drag.
    EXPECT_EQ(changes.Count, 5);
}

TEST_F(Selection, MoveStaysInsideTheParent) {
    Drag(50, 40, 10, 0);
    EXPECT_FLOAT_EQ(sel->Position()->X(), 110);
    EXPECT_EQ(tracks.Count, 1);
    Drag(50, 40, 500, 500);
    EXPECT_FLOAT_EQ(sel->Position()->X(), 300);
    EXPECT_FLOAT_EQ(sel->Position()->Y(), 220);
    Drag(50, 40, -900, -900);
    EXPECT_FLOAT_EQ(sel->Position()->X(), 0);
    EXPECT_FLOAT_EQ(sel->Position()->Y(), 0);
    sel->SetParentBounds(false);
    Drag(50, 40, -10, 0);
    EXPECT_FLOAT_EQ(sel->Position()->X(), -10);
}

TEST_F(Selection, FreeResizeKeepsTheMinimumSize) {
    // Right-bottom grip at (100, 80) local, (200, 180) in the parent.
    Drag(100, 80, -20, 10);
    EXPECT_FLOAT_EQ(sel->Width(), 80);
    EXPECT_FLOAT_EQ(sel->Height(), 90);
    Drag(80, 90, -75, 0);
    EXPECT_FLOAT_EQ(sel->Width(), 15);
    // Left-top grip: the position follows the pointer.
    Drag(0, 0, -10, -20);
    EXPECT_FLOAT_EQ(sel->Position()->X(), 90);
    EXPECT_FLOAT_EQ(sel->Position()->Y(), 80);
    EXPECT_FLOAT_EQ(sel->Width(), 25);
    EXPECT_FLOAT_EQ(sel->Height(), 110);
}

TEST_F(Selection, ProportionalResizeKeepsTheRatioOfThePress) {
    sel->SetBounds(100, 100, 100, 50);
    sel->SetProportional(true);
    Drag(100, 50, -40, 0);
    EXPECT_FLOAT_EQ(sel->Width(), 60);
    EXPECT_FLOAT_EQ(sel->Height(), 30);
    // The height may not drop below MinSize: the width stops at 30.
    Drag(60, 30, -55, 0);
    EXPECT_FLOAT_EQ(sel->Width(), 30);
    EXPECT_FLOAT_EQ(sel->Height(), 15);
}

TEST_F(Selection, PropertyLimits) {
    const struct { float in, out; } grips[] = {{50, 20}, {0, 1}, {7, 7}};
    for (const auto& g : grips) {
        sel->SetGripSize(g.in);
        EXPECT_FLOAT_EQ(sel->GripSize(), g.out);
    }
    sel->SetMinSize(-4);
    EXPECT_EQ(sel->MinSize(), 1);
}

TEST_F(Selection, GripsAreHitOutsideTheRectangle) {
    const TsgPoint origin = sel->LocalToAbsolute({0, 0});
    EXPECT_TRUE(sel->PointInObject(origin.X - 2, origin.Y - 2));
    EXPECT_FALSE(sel->PointInObject(origin.X - 4, origin.Y - 2));
    EXPECT_TRUE(sel->PointInObject(origin.X + 102, origin.Y + 82));
}

TEST_F(Selection, HoverLightsTheGrip) {
    sel->MouseMove({}, 99, 1, 0, 0);
    EXPECT_TRUE(sel->RightTopHot());
    EXPECT_FALSE(sel->LeftTopHot());
    sel->MouseLeave();
    EXPECT_FALSE(sel->RightTopHot());
}

TEST_F(Selection, PointKeepsItsSizeAndIsHitAroundItsPosition) {
    auto* point = new TsgSelectionPoint(scene.get());
    root->AddObject(point);
    point->SetWidth(100);
    point->SetHeight(100);
    EXPECT_FLOAT_EQ(point->Width(), 6);
    EXPECT_FLOAT_EQ(point->Height(), 6);
    EXPECT_TRUE(point->DisableDesignResize());
    point->Position()->SetPoint({50, 50});
    EXPECT_TRUE(point->PointInObject(52.9f, 47.1f));
    EXPECT_FALSE(point->PointInObject(53, 50));
    // Dragged about inside the parent only.
    Counter pointChanges, pointTracks;
    point->OnChange = TNotifyEvent::Bind<&Counter::Hit>(&pointChanges);
    point->OnTrack = TNotifyEvent::Bind<&Counter::Hit>(&pointTracks);
    point->MouseDown(mbLeft, {}, 0, 0);
    point->MouseMove(TShiftState(ssLeft), 20, 10, 0, 0);
    EXPECT_FLOAT_EQ(point->Position()->X(), 70);
    EXPECT_FLOAT_EQ(point->Position()->Y(), 60);
    point->MouseMove(TShiftState(ssLeft), 1000, -1000, 0, 0);
    EXPECT_FLOAT_EQ(point->Position()->X(), 400);
    EXPECT_FLOAT_EQ(point->Position()->Y(), 0);
    point->MouseUp(mbLeft, {}, 0, 0);
    EXPECT_EQ(pointTracks.Count, 2);
    EXPECT_EQ(pointChanges.Count, 1);
    point->MouseUp(mbLeft, {}, 0, 0);
    EXPECT_EQ(pointChanges.Count, 1);
}

} // namespace
