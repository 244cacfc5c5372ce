// Painting of object trees: which children paint, clipping, holes, effects through their cached
// pictures, and painting a subtree into another canvas.
#include "CanvasTestSupport.h"

#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_paint.h"
#include "scene/core/Sg_scene_preview.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr TsgColor kRed = 0xFFFF0000;
constexpr TsgColor kBlue = 0xFF0000FF;
constexpr TsgColor kWhite = 0xFFFFFFFF;

// Counts its paints into the scene's own canvas (effect pictures paint it elsewhere).
class CountingShape : public TsgPreviewShape {
    DBI_PERSISTENT(CountingShape, TsgPreviewShape)
    explicit CountingShape(TComponent* AOwner) : TsgPreviewShape(AOwner) {}
    void Paint() override {
        if (Canvas() == Scene()->GetCanvas())
            ++Paints;
        TsgPreviewShape::Paint();
    }
    int Paints = 0;
};

class ThrowingShape : public TsgPreviewShape {
    DBI_PERSISTENT(ThrowingShape, TsgPreviewShape)
    explicit ThrowingShape(TComponent* AOwner) : TsgPreviewShape(AOwner) {}
    void Paint() override { throw Exception("broken paint"); }
};

// An effect that paints its picture in one colour (or keeps the object's picture), moved by Dx
// beside the object.
class ColourEffect : public TsgObject, public IsgEffectRendering {
    DBI_PERSISTENT(ColourEffect, TsgObject)
    explicit ColourEffect(TComponent* AOwner) : TsgObject(AOwner) {}
    bool IsEffect() const override { return true; }
    bool EffectEnabled() const override { return true; }
    bool EffectAfterPaint() const override { return AfterPaint; }
    TsgRect EffectRect(const TsgRect& R) const override {
        return {R.Left + Dx, R.Top, R.Right + Dx, R.Bottom};
    }
    TsgPoint GetOffset() override { return {0, 0}; }
    void ProcessEffect(TsgCanvas*, TsgBitmap* Bitmap, float) override {
        ++Processed;
        if (!Keep)
            Bitmap->Clear(Colour);
    }
    TsgColor Colour = kRed;
    float Dx = 0;
    bool AfterPaint = false;
    bool Keep = false;
    int Processed = 0;
};

} // namespace

DBI_PUBLISH(CountingShape) {}
DBI_PUBLISH(ColourEffect) {}
DBI_PUBLISH(ThrowingShape) {}

namespace {

class PaintTest : public ::testing::Test {
protected:
    PaintTest() : scene(new TsgOffscreenScene(nullptr, 80, 40)) {
        root = Add<TsgPreviewShape>(nullptr, 0, 0, 80, 40, kWhite);
        scene->AddObject(root);
    }
    ~PaintTest() override { delete scene; }

    template <class T>
    T* Add(TsgObject* parent, float x, float y, float w, float h, TsgColor fill) {
        auto* o = new T(scene);
        o->Position()->SetPoint({x, y});
        o->SetWidth(w);
        o->SetHeight(h);
        o->Fill()->SetSolidColor(fill);
        o->Stroke()->SetStyle(sgBrushNone);
        if (parent)
            parent->AddObject(o);
        return o;
    }
    uint32_t At(int x, int y) { return PixelAt(*scene->Canvas(), x, y); }
    void Paint() {
        scene->InvalidateAll();
        scene->PaintScene(kWhite);
    }

    TsgOffscreenScene* scene;
    TsgPreviewShape* root;
};

} // namespace

TEST_F(PaintTest, ChildrenOutsideThePendingRectanglesAreSkipped) {
    auto* left = Add<CountingShape>(root, 0, 0, 10, 10, kRed);
    auto* right = Add<CountingShape>(root, 60, 0, 10, 10, kBlue);
    auto* effect = new ColourEffect(scene);
    effect->AfterPaint = true;
    effect->Colour = kBlue;
    right->AddObject(effect);
    Paint();
    EXPECT_EQ(left->Paints, 1);
    EXPECT_EQ(right->Paints, 1);

    scene->PaintScene(kWhite); // nothing pending: the whole buffer again
    scene->AddUpdateRect({0, 0, 20, 20});
    right->UpdateEffects();
    const int processed = effect->Processed;
    scene->PaintScene(kWhite);
    EXPECT_EQ(left->Paints, 3);
    EXPECT_EQ(right->Paints, 2);
    EXPECT_GT(effect->Processed, processed); // the after-paint effect still applies
}

TEST_F(PaintTest, ClippingChildrenUnlessTheyRefuse) {
    auto* frame = Add<TsgPreviewShape>(root, 0, 0, 20, 20, kWhite);
    frame->SetClipChildren(true);
    auto* child = Add<TsgPreviewShape>(frame, 10, 10, 20, 20, kRed);
    Paint();
    EXPECT_EQ(At(15, 15), kRed);
    EXPECT_EQ(At(25, 15), kWhite);
    child->SetCanClipped(false);
    Paint();
    EXPECT_EQ(At(25, 15), kRed);
}

TEST_F(PaintTest, ClipParentLeavesAHoleInItsParent) {
    auto* panel = Add<TsgPreviewShape>(root, 0, 0, 30, 30, kRed);
    auto* hole = Add<TsgPreviewShape>(panel, 5, 5, 10, 10, 0);
    hole->Fill()->SetStyle(sgBrushNone);
    hole->SetClipParent(true);
    Add<TsgPreviewShape>(panel, 20, 20, 5, 5, kBlue);
    Paint();
    EXPECT_EQ(At(10, 10), kWhite);
    EXPECT_EQ(At(2, 2), kRed);
    EXPECT_EQ(At(22, 22), kBlue);
}

// The hole follows the child's ClipParent however the child and the flag come and go.
TEST_F(PaintTest, ClipParentHoleFollowsTheFlagAndTheChild) {
    enum Step { FlagBeforeAdding, FlagAfterAdding, FlagCleared, ChildRemoved };
    const struct {
        Step step;
        bool hole;
    } cases[] = {{FlagBeforeAdding, true},
                 {FlagAfterAdding, true},
                 {FlagCleared, false},
                 {ChildRemoved, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.step));
        auto* panel = Add<TsgPreviewShape>(root, 0, 0, 30, 30, kRed);
        // The panel is painted once without any such child first.
        Paint();
        auto* hole = Add<TsgPreviewShape>(nullptr, 5, 5, 10, 10, 0);
        hole->Fill()->SetStyle(sgBrushNone);
        if (c.step == FlagBeforeAdding)
            hole->SetClipParent(true);
        panel->AddObject(hole);
        if (c.step != FlagBeforeAdding)
            hole->SetClipParent(true);
        Paint();
        EXPECT_EQ(At(10, 10), kWhite);
        if (c.step == FlagCleared)
            hole->SetClipParent(false);
        if (c.step == ChildRemoved)
            delete hole;
        Paint();
        EXPECT_EQ(At(10, 10), c.hole ? kWhite : kRed);
        EXPECT_EQ(At(2, 2), kRed);
        delete panel;
    }
}

TEST_F(PaintTest, TwoEffectsKeepTheirOwnPictures) {
    auto* shape = Add<TsgPreviewShape>(root, 10, 10, 10, 10, 0xFF00FF00);
    auto* red = new ColourEffect(scene);
    red->Dx = 20;
    auto* blue = new ColourEffect(scene);
    blue->Colour = kBlue;
    blue->Dx = 40;
    shape->AddObject(red);
    shape->AddObject(blue);
    Paint();
    EXPECT_EQ(At(35, 15), kRed);
    EXPECT_EQ(At(55, 15), kBlue);
    EXPECT_EQ(At(15, 15), 0xFF00FF00u);
    ASSERT_NE(sgEffectPicture(red), nullptr);
    EXPECT_NE(sgEffectPicture(red), sgEffectPicture(blue));
    const size_t cached = sgEffectPictureCount();
    delete red;
    EXPECT_EQ(sgEffectPictureCount(), cached - 1); // freed with its effect
}

TEST_F(PaintTest, PaintToDrawsUnrotatedAndPutsEverythingBack) {
    auto* panel = Add<TsgPreviewShape>(root, 30, 10, 20, 10, kRed);
    Add<TsgPreviewShape>(panel, 10, 0, 10, 10, kBlue);
    panel->SetRotateAngle(45);
    const TsgMatrix before = panel->AbsoluteMatrix();
    scene->SetDisableUpdate(true);

    TsgBitmap target(40, 20);
    sgPaintTo(panel, target.Canvas(), {0, 0, 40, 20}, nullptr);
    EXPECT_EQ(target.GetPixels(1, 1), kRed);
    EXPECT_EQ(target.GetPixels(18, 18), kRed);
    EXPECT_EQ(target.GetPixels(21, 1), kBlue);
    EXPECT_EQ(target.GetPixels(38, 18), kBlue);

    EXPECT_EQ(panel->RotateAngle(), 45);
    EXPECT_EQ(panel->AbsoluteMatrix(), before);
    EXPECT_EQ(panel->Canvas(), scene->Canvas());
    EXPECT_TRUE(scene->GetDisableUpdate()); // the switch as it was found
    scene->SetDisableUpdate(false);
    sgPaintTo(panel, target.Canvas(), {0, 0, 40, 20}, nullptr);
    EXPECT_FALSE(scene->GetDisableUpdate());
}

TEST_F(PaintTest, VisualBrushesPaintTheirObject) {
    auto* source = Add<TsgPreviewShape>(root, 0, 0, 10, 10, kBlue);
    source->SetVisible(false);
    auto* canvas = scene->Canvas();
    canvas->SetMatrix(IdentityMatrix);
    canvas->Fill()->SetStyle(sgBrushVisual);
    canvas->Fill()->Visual()->SetVisualObject(source);
    canvas->FillRect({40, 0, 60, 20}, 0, 0, 0, 1);
    EXPECT_EQ(At(45, 5), kBlue);
    EXPECT_EQ(At(61, 5), 0u);
    EXPECT_EQ(source->Opacity(), 1);
    canvas->Fill()->Visual()->SetVisualObject(nullptr);
}

TEST_F(PaintTest, PaintToPutsEverythingBackWhenPaintingRaises) {
    auto* broken = Add<ThrowingShape>(root, 5, 6, 10, 10, kRed);
    broken->SetRotateAngle(30);
    const TsgMatrix before = broken->AbsoluteMatrix();
    TsgBitmap target(20, 20);
    TsgCanvas* canvas = target.Canvas();
    canvas->SetMatrix(IdentityMatrix);
    const TsgPoint scale = broken->Scale()->Point();
    EXPECT_THROW(sgPaintTo(broken, canvas, {0, 0, 20, 20}, nullptr), Exception);
    EXPECT_EQ(broken->Position()->Point(), (TsgPoint{5, 6}));
    EXPECT_EQ(broken->Scale()->Point(), scale);
    EXPECT_EQ(broken->RotateAngle(), 30);
    EXPECT_EQ(broken->AbsoluteMatrix(), before);
    EXPECT_EQ(broken->Canvas(), scene->Canvas());
    EXPECT_FALSE(scene->GetDisableUpdate());
    EXPECT_EQ(canvas->SaveCanvas(), 0u); // the state saved by PaintTo was given back
}

TEST_F(PaintTest, EffectPicturesAreRenderedAgainOnlyAfterAChange) {
    auto* shape = Add<TsgPreviewShape>(root, 10, 10, 10, 10, kBlue);
    auto* effect = new ColourEffect(scene);
    effect->Dx = 20;
    shape->AddObject(effect);
    Paint();
    EXPECT_EQ(effect->Processed, 1);
    EXPECT_FALSE(shape->EffectsNeedUpdate());
    Paint();
    Paint();
    EXPECT_EQ(effect->Processed, 1) << "the cached picture is copied";
    EXPECT_EQ(At(35, 15), kRed);
    shape->UpdateEffects();
    Paint();
    EXPECT_EQ(effect->Processed, 2);
    shape->Position()->SetPoint({12, 10});
    Paint();
    EXPECT_EQ(effect->Processed, 3) << "a move renders the picture again";
}

TEST_F(PaintTest, EffectPicturesCarryTheAncestorsOpacityOnlyOnce) {
    struct Case {
        float opacity;
        bool enabled;
    } cases[] = {{0.5f, true}, {1, false}, {0.5f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.opacity << (c.enabled ? " enabled" : " disabled"));
        auto* panel = Add<TsgPreviewShape>(root, 0, 0, 40, 40, 0);
        panel->Fill()->SetStyle(sgBrushNone);
        panel->SetOpacity(c.opacity);
        panel->SetEnabled(c.enabled);
        auto* shape = Add<TsgPreviewShape>(panel, 5, 5, 10, 10, kRed);
        auto* effect = new ColourEffect(scene);
        effect->Keep = true;
        effect->Dx = 20;
        shape->AddObject(effect);
        Paint();
        TsgBitmap* picture = sgEffectPicture(effect);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->GetPixels(5, 5), kRed) << "painted as if it had no parent";
        // Drawn beside the object once with the ancestors' opacity, over white.
        const float opacity = shape->AbsoluteOpacity();
        const int expected = int(std::lround(255 * (1 - opacity)));
        EXPECT_NEAR(int(At(30, 10) & 0xFF), expected, 2);
        EXPECT_EQ(shape->Parent(), panel);
        delete panel;
    }
}

TEST_F(PaintTest, NestedPaintToKeepsTheOuterPlacement) {
    // The panel sits inside a moved parent, so painting it alone needs a placement of its own.
    auto* holder = Add<TsgPreviewShape>(root, 30, 10, 50, 30, 0);
    holder->Fill()->SetStyle(sgBrushNone);
    auto* panel = Add<TsgPreviewShape>(holder, 5, 5, 40, 20, 0);
    panel->Fill()->SetStyle(sgBrushNone);
    auto* source = Add<TsgPreviewShape>(root, 0, 0, 4, 4, kBlue);
    source->SetVisible(false);
    auto* framed = Add<TsgPreviewShape>(panel, 0, 0, 20, 20, 0);
    framed->Fill()->SetStyle(sgBrushVisual);
    framed->Fill()->Visual()->SetVisualObject(source);
    Add<TsgPreviewShape>(panel, 20, 0, 20, 20, kRed); // painted after the nested PaintTo

    TsgBitmap target(40, 20);
    sgPaintTo(panel, target.Canvas(), {0, 0, 40, 20}, nullptr);
    int red = 0, blue = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            red += target.GetPixels(x, y) == kRed;
            blue += target.GetPixels(x, y) == kBlue;
        }
    EXPECT_EQ(red, 400);
    EXPECT_GT(blue, 0);
    EXPECT_EQ(panel->AbsoluteMatrix().m31, 35);
    framed->Fill()->Visual()->SetVisualObject(nullptr);
}

// Without a guard each of these paints its object again from inside its own painting until the
// stack runs out.
TEST_F(PaintTest, VisualBrushesShowingTheirOwnObjectOrAnAncestorStop) {
    for (bool showAncestor : {false, true}) {
        SCOPED_TRACE(showAncestor ? "ancestor" : "itself");
        auto* panel = Add<TsgPreviewShape>(root, 0, 0, 40, 40, kBlue);
        auto* shape = Add<TsgPreviewShape>(panel, 0, 0, 20, 20, 0);
        shape->Fill()->SetStyle(sgBrushVisual);
        shape->Fill()->Visual()->SetVisualObject(showAncestor ? panel : shape);
        Paint();
        EXPECT_EQ(At(5, 5), kBlue);
        EXPECT_EQ(At(30, 30), kBlue);
        EXPECT_EQ(panel->Scale()->Point(), (TsgPoint{1, 1}));
        EXPECT_EQ(shape->Scale()->Point(), (TsgPoint{1, 1}));
        shape->Fill()->Visual()->SetVisualObject(nullptr);
        delete panel;
    }
}
