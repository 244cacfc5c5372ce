// Bounds, positions, transforms and fonts: change events, what streams, and the matrix.
#include "SceneTestClasses.h"

#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Counter {
    int Count = 0;
    void Hit(TObject*) { ++Count; }
    TNotifyEvent Event() { return TNotifyEvent::Bind<&Counter::Hit>(this); }
};

AnsiString TextOf(TsgObject& o) {
    TStringStream out;
    o.SaveToStream(out);
    return out.DataString();
}

struct Attributes : ::testing::Test {
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterClass(TsgTestShape::StaticClassInfo());
    }
};

TEST_F(Attributes, BoundsNotifyOnlyOnChangeAndStreamOnlyWhenNotDefault) {
    TsgVisualObject v(nullptr);
    Counter c;
    TsgBounds& padding = *v.Padding();
    padding.OnChange = c.Event();
    EXPECT_EQ(TextOf(v).Pos("Padding"), 0);
    padding.SetLeft(0);
    padding.SetRect({0, 0, 0, 0});
    EXPECT_EQ(c.Count, 0);
    padding.SetLeft(2);
    EXPECT_EQ(c.Count, 1);
    const AnsiString text = TextOf(v);
    EXPECT_GT(text.Pos("Padding.Rect = '(2,0,0,0)'"), 0);

    TStringStream in{text};
    std::unique_ptr<TsgObject> back(CreateObjectFromStream(nullptr, in));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Visual()->Padding()->Rect(), (TsgRect{2, 0, 0, 0}));
}

TEST_F(Attributes, BoundsReadingAFileTextFiresOnce) {
    TsgBounds b;
    Counter c;
    b.OnChange = c.Event();
    b.SetRect({2, 0, 0, 0});
    EXPECT_EQ(c.Count, 1);
    EXPECT_EQ(b.MarginRect({0, 0, 10, 10}), (TsgRect{2, 0, 10, 10}));
    EXPECT_EQ(b.PaddinRect({0, 0, 10, 10}), (TsgRect{-2, 0, 10, 10}));
    EXPECT_FALSE(b.MarginEmpty());
    TsgPosition p;
    EXPECT_THROW(b.Assign(&p), EConvertError);
}

TEST_F(Attributes, PositionSetPointAlwaysNotifiesAndDefaultsDoNotStream) {
    TsgPosition p({0.5f, 0.5f});
    Counter c;
    p.OnChange = c.Event();
    p.SetPoint({0.5f, 0.5f});
    EXPECT_EQ(c.Count, 1);
    p.SetX(0.5f);
    EXPECT_EQ(c.Count, 1);
    TsgVisualObject v(nullptr);
    v.RotateCenter()->SetPoint({0.5f, 0.5f});
    v.Position()->SetPoint({268, 243});
    const AnsiString text = TextOf(v);
    EXPECT_EQ(text.Pos("RotateCenter"), 0);
    EXPECT_GT(text.Pos("Position.Point = '(268,243)'"), 0);
}

TEST_F(Attributes, TransformScalesAfterRotatingAndIgnoresTheCentre) {
    TsgTransform t;
    Counter c;
    t.OnChanged = c.Event();
    t.Scale()->SetPoint({2, 3});
    EXPECT_FLOAT_EQ(t.Matrix().m11, 2);
    EXPECT_FLOAT_EQ(t.Matrix().m22, 3);
    t.SetRotateAngle(90);
    const TsgVector p = sgVectorTransform(sgVector(1, 0, 1), t.Matrix());
    EXPECT_NEAR(p.X, 0, 1e-6);
    EXPECT_NEAR(p.Y, 3, 1e-6);
    const int before = c.Count;
    const TsgMatrix m = t.Matrix();
    t.RotateCenter()->SetX(0.1f);
    EXPECT_EQ(c.Count, before + 1);
    EXPECT_EQ(t.Matrix(), m);
    t.SetRotateAngle(0);
    t.Skew()->SetPoint({0.25f, 0.5f});
    EXPECT_FLOAT_EQ(t.Matrix().m13, 0.25f);
    EXPECT_FLOAT_EQ(t.Matrix().m23, 0.5f);

    TsgTransform copy;
    Counter cc;
    copy.OnChanged = cc.Event();
    copy.Assign(&t);
    EXPECT_EQ(cc.Count, 1);
    EXPECT_FLOAT_EQ(copy.RotateAngle(), 0); // the angle is not copied
    EXPECT_FLOAT_EQ(copy.Matrix().m22, 3);
}

struct FontCase {
    const char* name;
    void (*change)(TsgFont&);
    const char* written; // nullptr: nothing of the font is written
};

class FontStreams : public Attributes, public ::testing::WithParamInterface<FontCase> {};

TEST_P(FontStreams, OnlyNonDefaultValuesAreWritten) {
    TsgTestShape shape(nullptr);
    GetParam().change(*shape.Font());
    const AnsiString text = TextOf(shape);
    if (GetParam().written)
        EXPECT_GT(text.Pos(GetParam().written), 0) << text.str();
    else
        EXPECT_EQ(text.Pos("Font."), 0) << text.str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontStreams,
    ::testing::Values(
        FontCase{"New", [](TsgFont&) {}, nullptr},
        FontCase{"Verdana", [](TsgFont& f) { f.SetFamily(u"Verdana"); }, nullptr},
        FontCase{"Arial", [](TsgFont& f) { f.SetFamily(u"Arial"); }, "Font.Family = 'Arial'"},
        FontCase{"Size11", [](TsgFont& f) { f.SetSize(11); }, nullptr},
        FontCase{"Size12", [](TsgFont& f) { f.SetSize(12); }, "Font.Size = 12"},
        FontCase{"NoClearType", [](TsgFont& f) { f.SetClearType(false); },
                 "Font.ClearType = False"},
        FontCase{"Bold", [](TsgFont& f) { f.SetStyle(sgFontBold); }, "Font.Style = sgFontBold"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Attributes, FontSettersNotifyOnChangeAndAssignAlways) {
    TsgFont f;
    Counter c;
    f.OnChanged = c.Event();
    f.SetSize(11);
    f.SetFamily(u"Verdana");
    EXPECT_EQ(c.Count, 0);
    f.SetStyle(sgFontItalic);
    EXPECT_EQ(c.Count, 1);
    TsgFont same;
    same.SetStyle(sgFontItalic);
    f.Assign(&same);
    EXPECT_EQ(c.Count, 2);
    TsgBounds notAFont;
    EXPECT_THROW(f.Assign(&notAFont), EConvertError);
}

} // namespace
