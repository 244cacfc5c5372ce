// Brushes and gradients: what streams for each style, colour texts, interpolation, Assign and
// the resource link.
#include "SceneTestClasses.h"

#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

namespace {

struct Brushes : ::testing::Test {
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterClass(TsgTestShape::StaticClassInfo());
    }
};

AnsiString FillText(void (*change)(TsgBrush&)) {
    TsgTestShape shape(nullptr);
    change(*shape.Fill());
    TStringStream out;
    shape.SaveToStream(out);
    return out.DataString();
}

TEST_F(Brushes, OnlyWhatTheStyleUsesIsStreamed) {
    EXPECT_EQ(FillText([](TsgBrush&) {}).Pos("Fill."), 0);
    const AnsiString black = FillText([](TsgBrush& b) { b.SetSolidColor(0xFF000000); });
    EXPECT_GT(black.Pos("Fill.Color = '#FF000000'"), 0);
    EXPECT_EQ(black.Pos("Fill.Style"), 0);
    const AnsiString gradient = FillText([](TsgBrush& b) {
        b.SetSolidColor(0xFF000000);
        b.SetStyle(sgBrushGradient);
    });
    EXPECT_EQ(gradient.Pos("Fill.Color"), 0);
    EXPECT_GT(gradient.Pos("Fill.Style = sgBrushGradient"), 0);
    EXPECT_GT(gradient.Pos("Fill.Gradient.Points"), 0);
    EXPECT_GT(gradient.Pos("Fill.Gradient.Style = sgLinearGradient"), 0);
    EXPECT_EQ(gradient.Pos("RadialTransform"), 0);
    const AnsiString radial = FillText([](TsgBrush& b) {
        b.SetStyle(sgBrushGradient);
        b.Gradient()->SetStyle(sgRadialGradient);
        b.Gradient()->RadialTransform()->Scale()->SetPoint({2, 2});
    });
    EXPECT_GT(radial.Pos("Fill.Gradient.RadialTransform.Scale.Point = '(2,2)'"), 0);
    EXPECT_EQ(radial.Pos("StopPosition"), 0);
    const AnsiString none = FillText([](TsgBrush& b) { b.SetStyle(sgBrushNone); });
    EXPECT_GT(none.Pos("Fill.Style = sgBrushNone"), 0);
}

TEST_F(Brushes, ColourTextOfAGradientBrushAlsoColoursTheFirstPoint) {
    TsgBrush brush(sgBrushSolid, 0xFFFFFFFF);
    brush.SetStyle(sgBrushGradient);
    brush.SetColor(u"#FF00FF00");
    EXPECT_EQ(brush.SolidColor(), 0xFF00FF00u);
    EXPECT_EQ(brush.Gradient()->Points()->Points(0)->IntColor(), 0xFF00FF00u);
    EXPECT_EQ(brush.Color(), UnicodeString(u"#FF00FF00"));
}

struct Interpolation {
    float offset;
    TsgColor expected;
};

TEST_F(Brushes, GradientInterpolation) {
    TsgGradient g;
    for (auto [offset, expected] : {Interpolation{0.5f, 0xFF7F7F7F}, Interpolation{-1, 0xFF000000},
                                    Interpolation{2, 0xFFFFFFFF}, Interpolation{0, 0xFF000000}})
        EXPECT_EQ(g.InterpolateColor(offset), expected) << offset;
    auto* mid = static_cast<TsgGradientPoint*>(g.Points()->Insert(1));
    mid->SetColor(u"#FFFF0000");
    mid->SetOffset(0.5f);
    EXPECT_EQ(g.InterpolateColor(0.5f), 0xFFFF0000u);
    EXPECT_EQ(g.InterpolateColor(0.75f), 0xFFFF7F7Fu);
    g.Points()->Delete(2);
    g.Points()->Delete(1);
    EXPECT_EQ(g.InterpolateColor(0.3f), 0u);
}

TEST_F(Brushes, AssignNotifiesOnceAndTakesTheResolvedColour) {
    TsgBrush source(sgBrushNone, 0);
    source.SetStyle(sgBrushGradient);
    source.Gradient()->SetColor1(u"#FF123456");
    TsgBrush target(sgBrushSolid, 0xFFFFFFFF);
    int changes = 0;
    struct Hit {
        int* n;
        void On(TObject*) { ++*n; }
    } hit{&changes};
    target.OnChanged = TNotifyEvent::Bind<&Hit::On>(&hit);
    target.Assign(&source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(target.Style(), sgBrushGradient);
    EXPECT_EQ(target.DefaultStyle(), sgBrushNone);
    EXPECT_EQ(target.Gradient()->Points()->Points(1)->IntColor(), 0xFF123456u);
}

TEST_F(Brushes, ResourceLinkFollowsTheNameAndClearsWhenTheObjectGoes) {
    TsgBrush brush(sgBrushSolid, 0xFF010203);
    brush.SetStyle(sgBrushResource);
    brush.Resource()->SetResourceName(u"accent");
    EXPECT_EQ(brush.SolidColor(), 0xFF010203u); // nothing of that name yet

    TComponent owner(nullptr);
    auto* resource = new TsgBrushObject(&owner);
    resource->SetName("accent");
    EXPECT_EQ(resource->ResourceName(), UnicodeString(u"accent"));
    resource->SetName("renamed");
    EXPECT_EQ(resource->ResourceName(), UnicodeString(u"accent"));
    resource->Brush()->SetSolidColor(0xFF00FF00);
    EXPECT_EQ(brush.SolidColor(), 0xFF00FF00u);
    EXPECT_EQ(brush.Resource()->Resource(), resource);

    TsgBrush copy(sgBrushSolid, 0);
    copy.Assign(&brush);
    EXPECT_EQ(copy.Resource()->Resource(), resource);
    EXPECT_EQ(copy.SolidColor(), 0xFF00FF00u);

    delete resource;
    EXPECT_EQ(brush.Resource()->Resource(), nullptr);
    EXPECT_EQ(copy.Resource()->Resource(), nullptr);
    EXPECT_EQ(brush.SolidColor(), 0xFF010203u);
    // A new object of that name is found again.
    auto* again = new TsgBrushObject(&owner);
    again->SetResourceName(u"ACCENT");
    again->Brush()->SetSolidColor(0xFF0000FF);
    EXPECT_EQ(brush.SolidColor(), 0xFF0000FFu);
}

TEST_F(Brushes, ResourceBrushesNamingEachOtherDoNotRecurseForever) {
    TComponent owner(nullptr);
    auto* a = new TsgBrushObject(&owner);
    a->SetResourceName(u"a");
    a->Brush()->SetStyle(sgBrushResource);
    a->Brush()->Resource()->SetResourceName(u"b");
    auto* b = new TsgBrushObject(&owner);
    b->SetResourceName(u"b");
    b->Brush()->SetStyle(sgBrushResource);
    b->Brush()->Resource()->SetResourceName(u"a");
    (void)a->Brush()->SolidColor();
}

TEST_F(Brushes, VisualLinkClearsWhenTheVisualGoes) {
    TsgBrush brush;
    auto* v = new TsgVisualObject(nullptr);
    brush.Visual()->SetVisualObject(v);
    {
        TsgBrush other;
        other.SetStyle(sgBrushVisual);
        other.Visual()->SetVisualObject(v);
    } // the other link leaves the object's list when it goes
    delete v;
    EXPECT_EQ(brush.Visual()->VisualObject(), nullptr);
}

} // namespace
