// A scene in design state editing its own tree: grid and line snapping, the order in which the
// selection's handles are hit, moving, resizing, ALT-drag into another object, Delete, Ctrl
// multi-selection, and no reference left behind when a selected object is freed.
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/design/Sg_scene_design.h"

#include "platform/rtl/StringUtils.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Records what the scene tells its designer.
class TRecordingDesigner : public TsgDesigner {
public:
    std::vector<TsgObject*> Selected;
    std::vector<TsgObject*> Multi;
    int ModifiedCount = 0;
    int Names = 0;
    void SelectObject(TComponent*, TsgObject* AObject,
                      const std::vector<TsgObject*>& MultiSelection) override {
        Selected.push_back(AObject);
        Multi = MultiSelection;
    }
    void Modified(TComponent*) override { ++ModifiedCount; }
    AnsiString UniqueName(TComponent*, const AnsiString& ClassName) override {
        const AnsiString base =
            Pos(AnsiString("Tsg"), ClassName) == 1 ? ClassName.SubString(4, 100) : ClassName;
        return base + AnsiString(std::to_string(++Names).c_str());
    }
    bool IsSelected(TComponent*, const TObject*) override { return false; }
};

struct TNoFlush {
    void Flush(TObject*) {}
} noFlush;

class SceneDesign : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        RegisterSgDesignUnit();
        sgDesigner = &designer;
        owner.SetDesigning(true);
        scene = std::make_unique<TsgScene>(&owner);
        scene->CreateEmbedded(400, 300, TNotifyEvent::Bind<&TNoFlush::Flush>(&noFlush));
        root = new TsgVisualObject(scene.get());
        scene->AddObject(root);
        scene->RealignRoot();
        root->SetBounds(0, 0, 400, 300);
        design = TsgSceneDesign::Of(scene.get());
        ASSERT_NE(design, nullptr);
    }
    void TearDown() override {
        scene.reset();
        sgDesigner = nullptr;
    }
    TsgVisualObject* Add(TsgVisualObject* parent, float x, float y, float w, float h) {
        auto* o = new TsgVisualObject(scene.get());
        parent->AddObject(o);
        o->SetBounds(x, y, w, h);
        return o;
    }
    void Drag(float x0, float y0, float x1, float y1, TShiftState extra = {}) {
        design->DesignMouseDown(mbLeft, extra, {x0, y0});
        design->DesignMouseMove(TShiftState(ssLeft | extra.Bits), {x1, y1});
        design->DesignMouseUp(mbLeft, extra, {x1, y1});
    }

    TRecordingDesigner designer;
    TComponent owner{nullptr};
    std::unique_ptr<TsgScene> scene;
    TsgVisualObject* root = nullptr;
    TsgSceneDesign* design = nullptr;
};

TEST_F(SceneDesign, GridSnappingTruncatesTowardZero) {
    design->SetSnapToGrid(true);
    design->SetSnapGridSize(8);
    const struct { float in, out; } cases[] = {{15.9f, 8}, {-3, 0}, {16, 16}, {-9, -8}, {7.99f, 0}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(design->SnapToGridValue(c.in), c.out) << c.in;
    design->SetSnapGridSize(0);
    EXPECT_FLOAT_EQ(design->SnapGridSize(), 0.01f);
    design->SetSnapToGrid(false);
    EXPECT_FLOAT_EQ(design->SnapToGridValue(15.9f), 15.9f);
}

TEST_F(SceneDesign, LineSnappingThresholds) {
    // The sibling's left edge at 100; the selection, of another size so that no centre lines
    // up, starts at 100 + gap.
    const struct {
        float gap;
        bool snaps;
    } cases[] = {{1.5f, true}, {-1.9f, true}, {2, false}, {-2, false}};
    for (const auto& c : cases) {
        TsgVisualObject* sibling = Add(root, 100, 20, 40, 30);
        TsgVisualObject* sel = Add(root, 100 + c.gap, 150, 70, 50);
        design->SetSelected(sel);
        design->SnapToGridLines(true);
        EXPECT_FLOAT_EQ(sel->Position()->X(), c.snaps ? 100 : 100 + c.gap) << c.gap;
        EXPECT_EQ(design->GridLines().size(), c.snaps ? 1u : 0u) << c.gap;
        sibling->Free();
        sel->Free();
        EXPECT_TRUE(design->GridLines().empty());
    }
}

TEST_F(SceneDesign, ResizeSnapsToAGuideWithinFour) {
    // The guide shares the selection's top edge; its right edge is at 200.
    TsgVisualObject* guide = Add(root, 150, 50, 50, 20);
    TsgVisualObject* sel = Add(root, 20, 50, 60, 100);
    design->SetSelected(sel);
    for (float gap : {3.9f, 4.0f}) {
        const TsgPoint local{200 - gap - 20, 10};
        const TsgPoint p = design->SnapPointToGridLines(local);
        EXPECT_FLOAT_EQ(p.X, gap < 4 ? 180 : 200 - gap - 20) << gap;
    }
    (void)guide;
}

TEST_F(SceneDesign, HandlesAreHitInTableOrder) {
    // A 6 x 6 object: every handle square overlaps its neighbours, so the order decides.
    TsgVisualObject* small = Add(root, 100, 100, 6, 6);
    design->SetSelected(small);
    const struct {
        TsgPoint p;
        TsgSceneDesign::THandle h;
    } cases[] = {
        {{103, 90}, TsgSceneDesign::hRotate},      {{100, 100}, TsgSceneDesign::hLeftTop},
        {{103, 100}, TsgSceneDesign::hLeftTop},    {{106, 100}, TsgSceneDesign::hRightTop},
        {{100, 106}, TsgSceneDesign::hLeftBottom}, {{106, 106}, TsgSceneDesign::hRightBottom},
        {{103, 109}, TsgSceneDesign::hLeftBottom}, {{109, 103}, TsgSceneDesign::hRightTop},
        {{120, 120}, TsgSceneDesign::hNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(design->HandleAt(c.p), c.h) << c.p.X << "," << c.p.Y;
    // Edge handles of a larger object, and none for an object that refuses resizing.
    TsgVisualObject* big = Add(root, 200, 100, 100, 60);
    design->SetSelected(big);
    EXPECT_EQ(design->HandleAt({250, 100}), TsgSceneDesign::hTop);
    EXPECT_EQ(design->HandleAt({250, 160}), TsgSceneDesign::hBottom);
    EXPECT_EQ(design->HandleAt({200, 130}), TsgSceneDesign::hLeft);
    EXPECT_EQ(design->HandleAt({300, 130}), TsgSceneDesign::hRight);
    big->SetDisableDesignResize(true);
    EXPECT_EQ(design->HandleAt({300, 160}), TsgSceneDesign::hNone);
}

TEST_F(SceneDesign, ClickSelectsDragMovesAndHandlesResize) {
    TsgVisualObject* box = Add(root, 40, 40, 60, 40);
    Drag(70, 60, 90, 70);
    EXPECT_EQ(design->Selected(), box);
    ASSERT_FALSE(designer.Selected.empty());
    EXPECT_EQ(designer.Selected.back(), box);
    EXPECT_FLOAT_EQ(box->Position()->X(), 60);
    EXPECT_FLOAT_EQ(box->Position()->Y(), 50);
    EXPECT_EQ(designer.ModifiedCount, 1);
    // The right-bottom handle at (120, 90).
    Drag(120, 90, 140, 110);
    EXPECT_FLOAT_EQ(box->Width(), 80);
    EXPECT_FLOAT_EQ(box->Height(), 60);
    EXPECT_FLOAT_EQ(box->Position()->X(), 60);
    // The left handle; an edge resize is reported as a change too.
    Drag(60, 80, 50, 80);
    EXPECT_FLOAT_EQ(box->Position()->X(), 50);
    EXPECT_FLOAT_EQ(box->Width(), 90);
    EXPECT_EQ(designer.ModifiedCount, 3);
    EXPECT_FALSE(design->Moving());
    EXPECT_EQ(design->DragHandle(), TsgSceneDesign::hNone);
}

TEST_F(SceneDesign, AltDragMovesIntoAnotherObjectKeepingItsPlace) {
    TsgVisualObject* target = Add(root, 200, 100, 150, 150);
    TsgVisualObject* box = Add(root, 20, 20, 30, 30);
    design->DesignMouseDown(mbLeft, {}, {30, 30});
    // Without ALT the object under the pointer only becomes the placement target.
    design->DesignMouseMove(TShiftState(ssLeft), {230, 130});
    EXPECT_EQ(design->PlaceObject(), target);
    EXPECT_EQ(box->Parent(), root);
    design->DesignMouseMove(TShiftState(ssLeft | ssAlt), {231, 131});
    EXPECT_EQ(box->Parent(), target);
    EXPECT_FLOAT_EQ(box->Position()->X(), 221 - 200);
    EXPECT_FLOAT_EQ(box->Position()->Y(), 121 - 100);
    design->DesignMouseUp(mbLeft, {}, {231, 131});
    EXPECT_EQ(design->PlaceObject(), nullptr);
}

TEST_F(SceneDesign, AltDragNeverMovesAnObjectIntoItsOwnChild) {
    TsgVisualObject* outer = Add(root, 20, 20, 100, 100);
    TsgVisualObject* inner = Add(outer, 10, 10, 80, 80);
    design->SetSelected(outer);
    design->DesignMouseDown(mbLeft, {}, {25, 25});
    ASSERT_EQ(design->Selected(), outer);
    design->DesignMouseMove(TShiftState(ssLeft | ssAlt), {60, 60});
    EXPECT_EQ(outer->Parent(), root);
    EXPECT_EQ(inner->Parent(), outer);
    EXPECT_NE(design->PlaceObject(), inner);
    design->DesignMouseUp(mbLeft, {}, {60, 60});
}

TEST_F(SceneDesign, DeleteFreesTheSelection) {
    TsgVisualObject* box = Add(root, 20, 20, 30, 30);
    Add(root, 100, 20, 30, 30);
    design->SetSelected(box);
    design->DesignKeyUp(VK_BACK, {});
    EXPECT_EQ(root->ChildrenCount(), 2);
    design->DesignKeyUp(46, {});
    EXPECT_EQ(root->ChildrenCount(), 1);
    EXPECT_EQ(design->Selected(), nullptr);
    EXPECT_EQ(scene->GetSelected(), nullptr);
    EXPECT_EQ(designer.ModifiedCount, 1);
    design->DesignKeyUp(46, {});
    EXPECT_EQ(root->ChildrenCount(), 1);
}

TEST_F(SceneDesign, CtrlClickBuildsTheExtraSelection) {
    TsgVisualObject* a = Add(root, 10, 10, 30, 30);
    TsgVisualObject* b = Add(root, 60, 10, 30, 30);
    TsgVisualObject* c = Add(root, 110, 10, 30, 30);
    design->DesignMouseDown(mbLeft, {}, {20, 20});
    design->DesignMouseUp(mbLeft, {}, {20, 20});
    design->DesignMouseDown(mbLeft, TShiftState(ssCtrl), {70, 20});
    design->DesignMouseDown(mbLeft, TShiftState(ssCtrl), {120, 20});
    EXPECT_EQ(design->Selected(), a);
    EXPECT_EQ(design->Selection(), (std::vector<TsgObject*>{b, c}));
    EXPECT_EQ(designer.Multi, (std::vector<TsgObject*>{b, c}));
    // Ctrl+click on an entry already there replaces it with the selected object.
    design->DesignMouseDown(mbLeft, TShiftState(ssCtrl), {70, 20});
    EXPECT_EQ(design->Selection(), (std::vector<TsgObject*>{a, c}));
    // Freed objects leave every list.
    c->Free();
    EXPECT_EQ(design->Selection(), (std::vector<TsgObject*>{a}));
    a->Free();
    EXPECT_TRUE(design->Selection().empty());
    EXPECT_EQ(design->Selected(), nullptr);
    EXPECT_EQ(scene->GetSelected(), nullptr);
    // A plain click empties the extra list.
    design->DesignMouseDown(mbLeft, {}, {70, 20});
    EXPECT_EQ(design->Selected(), b);
    EXPECT_TRUE(design->Selection().empty());
}

TEST_F(SceneDesign, FreeingTheSelectionDuringADragEndsIt) {
    TsgVisualObject* box = Add(root, 20, 20, 30, 30);
    design->DesignMouseDown(mbLeft, {}, {30, 30});
    EXPECT_TRUE(design->Moving());
    box->Free();
    design->DesignMouseMove(TShiftState(ssLeft), {60, 60});
    design->DesignMouseUp(mbLeft, {}, {60, 60});
    EXPECT_EQ(design->Selected(), nullptr);
    EXPECT_EQ(designer.ModifiedCount, 0);
}

TEST_F(SceneDesign, InsertObjectUnderTheSelection) {
    TsgVisualObject* holder = Add(root, 50, 50, 200, 200);
    design->SetSelected(holder);
    scene->InsertObject("TsgNoSuchClass");
    EXPECT_EQ(holder->ChildrenCount(), 0);
    design->PopupPos = TPoint{100, 120};
    scene->InsertObject("TsgRectangle");
    ASSERT_EQ(holder->ChildrenCount(), 1);
    auto* inserted = holder->GetChild(0)->Visual();
    EXPECT_EQ(design->Selected(), inserted);
    EXPECT_EQ(inserted->Name(), AnsiString("Rectangle1"));
    EXPECT_FLOAT_EQ(inserted->Position()->X(), 50);
    EXPECT_FLOAT_EQ(inserted->Position()->Y(), 70);
    EXPECT_EQ(design->PopupPos.X, -1);
}

TEST_F(SceneDesign, AnEmptySceneGetsARootOnTheFirstPress) {
    scene->DeleteChildren();
    ASSERT_EQ(scene->Count(), 0);
    design->DesignMouseDown(mbLeft, {}, {10, 10});
    ASSERT_EQ(scene->Count(), 1);
    EXPECT_EQ(scene->Root()->Name(), AnsiString("Root1"));
}

} // namespace
