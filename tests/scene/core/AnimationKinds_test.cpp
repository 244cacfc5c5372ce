// What each animation kind writes: property paths, colours per channel, gradients, floats,
// bounds, key frames, paths and cross-faded bitmaps, and the object tree's Animate helpers.
#include "AnimationTestSupport.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_path.h"

#include <cmath>

namespace {

using AnimationKinds = AnimationTest;

// One tick of 50 ms into an animation of 0.1 s: exactly half way.
constexpr float kHalfDuration = 0.1f;

TEST_F(AnimationKinds, ColourTextAndIntegerTargetsPerChannelWithTruncation) {
    root->Fill()->SetColor(u"#FF000000");
    auto* a = Add<TsgColorAnimation>(root, "Fill.Color");
    a->SetStartValue(u"#FF808080");
    a->SetStopValue(u"#FFCCCCCC");
    a->SetDuration(kHalfDuration);
    a->Start();
    EXPECT_EQ(root->Fill()->Color(), UnicodeString(u"#FF808080"));
    Tick(1, 50);
    EXPECT_EQ(root->Fill()->Color(), UnicodeString(u"#FFA6A6A6"));
    Tick(1, 50);
    EXPECT_EQ(root->Fill()->Color(), UnicodeString(u"#FFCCCCCC"));

    // Case-insensitive path; start from the current colour.
    root->Fill()->SetColor(u"#FF000010");
    auto* b = Add<TsgColorAnimation>(root, "fill.COLOR");
    b->SetStartFromCurrent(true);
    b->SetStopValue(u"#FF0000FF");
    b->SetDuration(kHalfDuration);
    b->Start();
    EXPECT_EQ(b->StartValue(), UnicodeString(u"#FF000010"));
    Tick(1, 50);
    EXPECT_EQ(root->Fill()->Color(), UnicodeString(u"#FF000087")); // 16 + trunc(239 / 2)
}

TEST_F(AnimationKinds, PathsSkipUnknownSegmentsAndWrongKindsWriteNothing) {
    struct Case {
        const char* path;
        float want;
    };
    const Case cases[] = {
        {"Opacity", 0.5f},
        {"Nothing.Opacity", 0.5f}, // a segment naming no object property is skipped
        {"Visible", 1},            // not a float property: nothing written, nothing raised
        {"Nothing", 1},
        {"Opacity.", 1}, // empty property name
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        root->SetOpacity(1);
        auto* a = Add<TsgFloatAnimation>(root, c.path);
        a->SetStartValue(0.5f);
        a->SetStopValue(0.5f);
        EXPECT_NO_THROW(a->Start());
        Tick(8);
        EXPECT_EQ(root->Opacity(), c.want);
        a->Free();
    }
    // Into an owned sub-object, and through a component reference.
    auto* child = new TsgPreviewShape(scene);
    child->SetParent(root);
    auto* x = Add<TsgFloatAnimation>(child, "Position.X");
    x->SetStopValue(40);
    auto* up = Add<TsgFloatAnimation>(child, "Parent.Position.Y");
    up->SetStopValue(7);
    x->Start();
    up->Start();
    Tick(8);
    EXPECT_EQ(child->Position()->X(), 40);
    EXPECT_EQ(root->Position()->Y(), 7);
}

TEST_F(AnimationKinds, EasingCurvesByInterpolationAndDirection) {
    struct Case {
        TsgInterpolationType interpolation;
        TsgAnimationType type;
        double (*curve)(double);
    };
    const Case cases[] = {
        {sgInterpolationLinear, sgAnimationOut, [](double t) { return t; }},
        {sgInterpolationQuadratic, sgAnimationIn, [](double t) { return t * t; }},
        {sgInterpolationQuadratic, sgAnimationOut, [](double t) { return -t * (t - 2); }},
        {sgInterpolationCubic, sgAnimationIn, [](double t) { return t * t * t; }},
        {sgInterpolationQuartic, sgAnimationIn, [](double t) { return t * t * t * t; }},
        {sgInterpolationQuintic, sgAnimationIn, [](double t) { return std::pow(t, 5); }},
        {sgInterpolationSinusoidal, sgAnimationIn,
         [](double t) { return 1 - std::cos(t * M_PI / 2); }},
        {sgInterpolationCircular, sgAnimationIn, [](double t) { return 1 - std::sqrt(1 - t * t); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.interpolation) * 10 + int(c.type));
        auto* a = Add<TsgFloatAnimation>(root, "RotateAngle");
        a->SetStopValue(100);
        a->SetDuration(0.5f);
        a->SetInterpolation(c.interpolation);
        a->SetAnimationType(c.type);
        a->Start();
        Tick(1, 100);
        EXPECT_NEAR(root->RotateAngle(), 100 * c.curve(0.2), 1e-3);
        a->Free();
    }
}

TEST_F(AnimationKinds, GradientColoursMoveOnlyWherePointsExistInAllThree) {
    root->Fill()->SetStyle(sgBrushGradient);
    TsgGradient* target = root->Fill()->Gradient();
    target->Points()->Points(0)->SetIntColor(0xFF000000);
    target->Points()->Points(1)->SetIntColor(0xFF000000);
    auto* extra = static_cast<TsgGradientPoint*>(target->Points()->Add());
    extra->SetIntColor(0xFF123456);
    extra->SetOffset(0.7f);
    auto* a = Add<TsgGradientAnimation>(root, "Fill.Gradient");
    a->StartValue()->Points()->Points(0)->SetIntColor(0xFF000000);
    a->StartValue()->Points()->Points(1)->SetIntColor(0xFF0000FF);
    TsgGradient stop;
    stop.Points()->Points(0)->SetIntColor(0xFFFF0000);
    stop.Points()->Points(1)->SetIntColor(0xFF00FF00);
    static_cast<TsgGradientPoint*>(stop.Points()->Add())->SetIntColor(0xFFFFFFFF);
    a->SetStopValue(&stop);
    a->SetDuration(kHalfDuration);
    a->Start();
    Tick(1, 50);
    EXPECT_EQ(target->Points()->Points(0)->IntColor(), 0xFF7F0000u);
    EXPECT_EQ(target->Points()->Points(1)->IntColor(), 0xFF007F80u); // 255 + trunc(-127.5)
    EXPECT_EQ(target->Points()->Points(2)->IntColor(), 0xFF123456u);
    EXPECT_EQ(target->Points()->Points(1)->Offset(), 1);
    EXPECT_EQ(target->Points()->Points(2)->Offset(), 0.7f);
}

TEST_F(AnimationKinds, BoundsSideBySide) {
    auto* a = Add<TsgRectAnimation>(root, "Padding");
    a->StartValue()->SetRect({0, 10, 20, 30});
    a->StopValue()->SetRect({10, 10, 0, 50});
    a->SetDuration(kHalfDuration);
    a->Start();
    EXPECT_EQ(root->Padding()->Rect(), (TsgRect{0, 10, 20, 30}));
    Tick(1, 50);
    EXPECT_EQ(root->Padding()->Rect(), (TsgRect{5, 10, 10, 40}));
    // From the current bounds; a path to something that is no bounds writes nothing.
    auto* b = Add<TsgRectAnimation>(root, "Margins");
    b->SetStartFromCurrent(true);
    root->Margins()->SetRect({1, 2, 3, 4});
    b->Start();
    EXPECT_EQ(b->StartValue()->Rect(), (TsgRect{1, 2, 3, 4}));
    auto* c = Add<TsgRectAnimation>(root, "Position");
    c->StopValue()->SetRect({9, 9, 9, 9});
    root->Position()->SetPoint({3, 4});
    EXPECT_NO_THROW(c->Start());
    Tick(8);
    EXPECT_EQ(root->Position()->Point(), (TsgPoint{3, 4}));
}

TEST_F(AnimationKinds, KeyFramesWriteOnlyBetweenTheirKeys) {
    auto* f = Add<TsgFloatKeyAnimation>(root, "RotateAngle");
    f->AddKey(0, 0);
    f->AddKey(0.5f, 10);
    f->AddKey(1, 30);
    f->SetDuration(0.2f);
    f->Start();
    Tick(1, 50); // t = 0.25
    EXPECT_FLOAT_EQ(root->RotateAngle(), 5);
    Tick(1, 100); // t = 0.75
    EXPECT_FLOAT_EQ(root->RotateAngle(), 20);

    // A key above 1 is clamped; outside the keys (here before 0.5) nothing is written.
    root->SetOpacity(0.9f);
    auto* g = Add<TsgFloatKeyAnimation>(root, "Opacity");
    EXPECT_EQ(g->AddKey(7, 0)->Key(), 1);
    g->Keys()->Clear();
    g->AddKey(0.5f, 0);
    g->AddKey(1, 1);
    g->SetDuration(0.2f);
    g->Start();
    Tick(1, 50);
    EXPECT_EQ(root->Opacity(), 0.9f);
    Tick(1, 100);
    EXPECT_FLOAT_EQ(root->Opacity(), 0.5f);

    // A single key writes nothing.
    root->SetRotateAngle(3);
    auto* one = Add<TsgFloatKeyAnimation>(root, "RotateAngle");
    one->AddKey(0, 50);
    one->Start();
    Tick(8);
    EXPECT_EQ(root->RotateAngle(), 3);

    auto* c = Add<TsgColorKeyAnimation>(root, "Fill.Color");
    c->AddKey(0, u"#FF000000");
    c->AddKey(0.5f, u"#FF0000FF");
    c->AddKey(1, u"#FFFF00FF");
    c->SetDuration(0.2f);
    c->Start();
    Tick(1, 150); // t = 0.75
    EXPECT_EQ(root->Fill()->Color(), UnicodeString(u"#FF7F00FF"));
}

TEST_F(AnimationKinds, StartFromCurrentOfKeyFramesFillsTheFirstKey) {
    root->SetOpacity(0.4f);
    auto* g = Add<TsgFloatKeyAnimation>(root, "Opacity");
    g->SetStartFromCurrent(true);
    g->AddKey(0, 0);
    g->AddKey(1, 1);
    g->Start();
    EXPECT_FLOAT_EQ(static_cast<TsgFloatKey*>(g->Keys()->Keys(0))->Value(), 0.4f);
}

TEST_F(AnimationKinds, PathMovesTheParentFromWhereItStood) {
    auto* child = new TsgPreviewShape(scene);
    child->SetParent(root);
    child->Position()->SetPoint({10, 20});
    auto* a = new TsgPathAnimation(scene);
    a->SetParent(child);
    a->Path()->SetPathString("M 0,0 L 100,0");
    a->SetDuration(0.2f);
    a->Start();
    Tick(3);
    EXPECT_GT(child->Position()->X(), 10);
    EXPECT_LT(child->Position()->X(), 110);
    Tick(8);
    EXPECT_NEAR(child->Position()->X(), 110, 1e-3);
    EXPECT_NEAR(child->Position()->Y(), 20, 1e-3);
    EXPECT_EQ(child->RotateAngle(), 0); // no rotation asked for

    // With Rotate, a diagonal step down to the right turns the object by -45 degrees.
    auto* diagonal = new TsgPathAnimation(scene);
    diagonal->SetParent(child);
    diagonal->Path()->SetPathString("M 0,0 L 50,50");
    diagonal->SetRotate(true);
    diagonal->Start();
    Tick(2);
    EXPECT_NEAR(child->RotateAngle(), -45, 0.5);
}

TEST_F(AnimationKinds, BitmapCrossFadeStopsTheOtherBitmapAnimationWhereItIs) {
    root->Fill()->SetStyle(sgBrushBitmap);
    TsgBitmap red(4, 4), blue(4, 4);
    red.Clear(0xFFFF0000);
    blue.Clear(0xFF0000FF);
    auto* first = Add<TsgBitmapAnimation>(root, "Fill.Bitmap.Bitmap");
    first->SetStartValue(&red);
    first->SetStopValue(&blue);
    auto* second = Add<TsgBitmapAnimation>(root, "Fill.Bitmap.Bitmap");
    second->SetStartValue(&blue);
    second->SetStopValue(&red);
    first->Start();
    Tick(2);
    EXPECT_TRUE(first->Running());
    second->Start();
    EXPECT_FALSE(first->Running());
    Tick(8);
    EXPECT_FALSE(second->Running());
}

TEST_F(AnimationKinds, PathSwitcherWritesNothingAndFinishesAtOnce) {
    auto* s = Add<TsgPathSwitcher>(root, "Opacity");
    EXPECT_FLOAT_EQ(s->Duration(), 0.001f);
    s->SetPathTrue(u"M 0,0 L 1,1");
    root->SetOpacity(0.3f);
    s->Start();
    Tick();
    EXPECT_FALSE(s->Running());
    EXPECT_EQ(root->Opacity(), 0.3f);
}

TEST_F(AnimationKinds, AnimateHelpersOfTheObjectTree) {
    root->SetOpacity(1);
    root->AnimateFloat("Opacity", 0.5f, 0.1f);
    EXPECT_EQ(root->ChildrenCount(), 1);
    Tick(4);
    EXPECT_FLOAT_EQ(root->Opacity(), 0.5f);
    EXPECT_EQ(root->ChildrenCount(), 0); // freed when finished

    root->Fill()->SetColor(u"#FF000000");
    root->AnimateColor("Fill.Color", u"#FF00FF00", 0.1f);
    Tick(1, 50);
    EXPECT_EQ(root->Fill()->Color(), UnicodeString(u"#FF007F00"));
    Tick(4);
    EXPECT_EQ(root->Fill()->Color(), UnicodeString(u"#FF00FF00"));
    EXPECT_EQ(root->ChildrenCount(), 0);

    root->AnimateFloatDelay("RotateAngle", 90, 0.1f, 0.1f);
    Tick(2);
    EXPECT_EQ(root->RotateAngle(), 0);
    Tick(8);
    EXPECT_FLOAT_EQ(root->RotateAngle(), 90);
    EXPECT_EQ(root->ChildrenCount(), 1); // kept as a child

    // Outside a scene the wait ends at once with the end state.
    auto* loose = new TsgPreviewShape(nullptr);
    loose->AnimateFloatWait("Opacity", 0.25f, 1);
    EXPECT_EQ(loose->Opacity(), 0.25f);
    EXPECT_EQ(loose->ChildrenCount(), 0);
    delete loose;
}

TEST_F(AnimationKinds, AnimateFloatWaitPumpsUntilTheEnd) {
    SetUiClock(nullptr); // the wait pumps messages; real time has to pass
    root->AnimateFloatWait("Opacity", 0.25f, 0.05f);
    EXPECT_EQ(root->Opacity(), 0.25f);
    EXPECT_EQ(root->ChildrenCount(), 0);
}

} // namespace
