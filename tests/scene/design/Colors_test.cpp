// The colour pickers: the square's colour in its swatch (alpha rounded halves to even), value
// clamping and change events, the hue strip splitting a colour into the square, and the
// gradient editor's markers, inserting by a click on the bar, dragging past a neighbour and
// deleting by dragging a point off the control.
#include "scene/design/Sg_colors.h"

#include "scene/core/Sg_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct TNoFlush {
    void Flush(TObject*) {}
} noFlush;

struct Counter {
    int Count = 0;
    void Hit(TObject*) { ++Count; }
};

class Colors : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterSgColorsUnit();
        scene = std::make_unique<TsgScene>(nullptr);
        scene->CreateEmbedded(300, 200, TNotifyEvent::Bind<&TNoFlush::Flush>(&noFlush));
        root = new TsgVisualObject(scene.get());
        scene->AddObject(root);
        root->SetBounds(0, 0, 300, 200);
    }
    template <class T>
    T* Add() {
        auto* o = new T(scene.get());
        root->AddObject(o);
        return o;
    }

    std::unique_ptr<TsgScene> scene;
    TsgVisualObject* root = nullptr;
};

TEST_F(Colors, SquareShowsItsColourWithRoundedAlpha) {
    auto* box = Add<TsgColorBox>();
    auto* quad = Add<TsgColorQuad>();
    quad->SetColorBox(box);
    quad->SetSat(1);
    quad->SetLum(0.5f);
    quad->SetAlpha(1);
    EXPECT_EQ(box->Color(), 0xFFFF0000u);
    const struct {
        float alpha;
        TsgColor color;
    } cases[] = {{0.5f, 0x80FF0000}, {0, 0x00FF0000}, {0.1f, 0x1AFF0000}};
    for (const auto& c : cases) {
        quad->SetAlpha(c.alpha);
        EXPECT_EQ(box->Color(), c.color) << c.alpha;
    }
}

TEST_F(Colors, SquareClampsAndFiresOnlyOnChange) {
    auto* quad = Add<TsgColorQuad>();
    Counter changes;
    quad->OnChange = TNotifyEvent::Bind<&Counter::Hit>(&changes);
    quad->SetHue(1.5f);
    EXPECT_FLOAT_EQ(quad->Hue(), 1);
    EXPECT_EQ(changes.Count, 1);
    quad->SetHue(1);
    EXPECT_EQ(changes.Count, 1);
    quad->SetLum(-3);
    EXPECT_FLOAT_EQ(quad->Lum(), 0);
}

TEST_F(Colors, SquarePicksFromThePointer) {
    auto* quad = Add<TsgColorQuad>();
    quad->SetBounds(0, 0, 100, 50);
    quad->MouseMove(TShiftState(ssLeft), 25, 10, 0, 0);
    EXPECT_FLOAT_EQ(quad->Sat(), 0.25f);
    EXPECT_FLOAT_EQ(quad->Lum(), 0.8f);
    quad->MouseMove({}, 75, 40, 0, 0);
    EXPECT_FLOAT_EQ(quad->Sat(), 0.25f);
}

TEST_F(Colors, StripSplitsAColourIntoTheSquare) {
    auto* quad = Add<TsgColorQuad>();
    auto* strip = Add<TsgColorPicker>();
    strip->SetColorQuad(quad);
    strip->SetColor(0xFF0000FF);
    EXPECT_NEAR(strip->Hue(), 2.0f / 3, 1e-6);
    EXPECT_NEAR(quad->Hue(), 2.0f / 3, 1e-6);
    EXPECT_FLOAT_EQ(quad->Sat(), 1);
    EXPECT_FLOAT_EQ(quad->Lum(), 0.5f);
    EXPECT_FLOAT_EQ(quad->Alpha(), 1);
    // A freed square is unlinked.
    quad->Free();
    EXPECT_EQ(strip->ColorQuad(), nullptr);
    strip->SetColor(0xFFFF0000);
    EXPECT_FLOAT_EQ(strip->Hue(), 0);
}

TEST_F(Colors, GradientEditorMarkersSitBelowTheBar) {
    auto* edit = Add<TsgGradientEdit>();
    EXPECT_FLOAT_EQ(edit->Width(), 200);
    EXPECT_FLOAT_EQ(edit->Height(), 20);
    const TsgRect first = edit->GetPointRect(0), last = edit->GetPointRect(1);
    EXPECT_FLOAT_EQ(first.Left, 5);
    EXPECT_FLOAT_EQ(first.Right, 15);
    EXPECT_FLOAT_EQ(first.Top, 10);
    EXPECT_FLOAT_EQ(first.Bottom, 20);
    EXPECT_FLOAT_EQ(last.Left, 185);
    EXPECT_FLOAT_EQ(last.Right, 195);
    const TsgRect none = edit->GetPointRect(2);
    EXPECT_FLOAT_EQ(none.Right - none.Left, 0);
}

TEST_F(Colors, ClickOnTheBarInsertsAPoint) {
    auto* edit = Add<TsgGradientEdit>();
    Counter changes;
    edit->OnChange = TNotifyEvent::Bind<&Counter::Hit>(&changes);
    edit->MouseDown(mbLeft, {}, 100, 5);
    edit->MouseUp(mbLeft, {}, 100, 5);
    TsgGradientPoints* points = edit->Gradient()->Points();
    ASSERT_EQ(points->Count(), 3);
    EXPECT_EQ(edit->CurrentPoint(), 1);
    EXPECT_FLOAT_EQ(points->Points(1)->Offset(), 0.5f);
    EXPECT_EQ(points->Points(1)->IntColor(), 0xFF7F7F7Fu);
    EXPECT_GE(changes.Count, 1);
}

TEST_F(Colors, DraggingAPointPastItsNeighbourKeepsTheOrder) {
    auto* edit = Add<TsgGradientEdit>();
    edit->MouseDown(mbLeft, {}, 100, 5); // a point at 0.5, current
    edit->MouseUp(mbLeft, {}, 100, 5);
    edit->MouseDown(mbLeft, {}, 55, 5); // another at 0.25, before it
    edit->MouseUp(mbLeft, {}, 55, 5);
    ASSERT_EQ(edit->CurrentPoint(), 1);
    // Take the 0.25 point by its marker and drag it to 0.75.
    edit->MouseDown(mbLeft, {}, 55, 15);
    edit->MouseMove(TShiftState(ssLeft), 145, 15, 0, 0);
    edit->MouseUp(mbLeft, {}, 145, 15);
    TsgGradientPoints* points = edit->Gradient()->Points();
    for (int i = 1; i < points->Count(); ++i)
        EXPECT_LE(points->Points(i - 1)->Offset(), points->Points(i)->Offset()) << i;
    EXPECT_EQ(edit->CurrentPoint(), 2);
}

TEST_F(Colors, DraggingAPointBelowDeletesItOnRelease) {
    auto* edit = Add<TsgGradientEdit>();
    edit->MouseDown(mbLeft, {}, 100, 5);
    edit->MouseUp(mbLeft, {}, 100, 5);
    edit->MouseDown(mbLeft, {}, 100, 15);
    edit->MouseMove(TShiftState(ssLeft), 100, 45, 0, 0);
    EXPECT_TRUE(edit->CurrentHidden());
    edit->MouseUp(mbLeft, {}, 100, 45);
    EXPECT_FALSE(edit->CurrentHidden());
    EXPECT_EQ(edit->Gradient()->Points()->Count(), 2);
    EXPECT_EQ(edit->CurrentPoint(), 0);
    // The end points are never hidden; the last point stays.
    for (int i = 0; i < 3; ++i) {
        edit->MouseDown(mbLeft, {}, 10, 15);
        edit->MouseMove(TShiftState(ssLeft), 10, 45, 0, 0);
        EXPECT_FALSE(edit->CurrentHidden());
        edit->MouseUp(mbLeft, {}, 10, 45);
    }
    EXPECT_EQ(edit->Gradient()->Points()->Count(), 1);
}

TEST_F(Colors, GradientEditorHandsTheCurrentColourToTheStrip) {
    auto* strip = Add<TsgColorPicker>();
    auto* quad = Add<TsgColorQuad>();
    auto* box = Add<TsgColorBox>();
    strip->SetColorQuad(quad);
    quad->SetColorBox(box);
    auto* edit = Add<TsgGradientEdit>();
    edit->SetColorPicker(strip);
    EXPECT_EQ(box->Color(), 0xFF000000u);
    Counter selects;
    edit->OnSelectPoint = TNotifyEvent::Bind<&Counter::Hit>(&selects);
    edit->SetCurrentPoint(1);
    EXPECT_EQ(box->Color(), 0xFFFFFFFFu);
    EXPECT_EQ(selects.Count, 1);
    strip->Free();
    EXPECT_EQ(edit->ColorPicker(), nullptr);
    edit->SetCurrentPoint(0);
}

} // namespace
