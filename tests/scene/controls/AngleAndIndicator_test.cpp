// The angle knob dragged round its centre in a real (offscreen) form, with its tick and texts,
// and the activity indicator's highlight running on the injected clock.
#include "SceneWindowTestSupport.h"

#include "scene/core/Sg_objects_text.h"
#include "scene/core/Sg_scene_offscreen.h"

#include <cmath>

namespace {

using scenewindowtest::SceneWindowTest;
using Lines = std::vector<std::string>;

class AngleButtonWindow : public SceneWindowTest {
protected:
    // A 60 x 60 knob whose centre is (130, 80) in the window.
    TsgAngleButton* Knob() {
        auto* k = Add<TsgAngleButton>("knob", 100, 50, 60, 60);
        k->ApplyResource();
        k->OnChange = Watcher("change");
        return k;
    }
    TsgText* TextPart(TsgAngleButton* k, const char16_t* name) {
        return dynamic_cast<TsgText*>(k->FindResource(name));
    }
};

TEST_F(AngleButtonWindow, DraggingTurnsTheValueTowardsThePointer) {
    TsgAngleButton* k = Knob();
    auto* tick = dynamic_cast<TsgVisualObject*>(k->FindResource(u"tick"));
    ASSERT_NE(tick, nullptr);
    Button(true, 145, 80);
    Run();
    const struct {
        int X, Y;
        float Value;
    } steps[] = {
        {160, 80, 0},    // right of the centre
        {130, 110, -90}, // below
        {130, 50, 90},   // above
        {100, 80, -180}, // left
        {130, 80, -90},  // the centre itself
        {153, 57, 45},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(std::to_string(s.X) + "," + std::to_string(s.Y));
        Motion(s.X, s.Y);
        Run();
        EXPECT_NEAR(k->Value(), s.Value, 0.01);
        EXPECT_NEAR(tick->RotateAngle(), -s.Value, 0.01);
    }
    Button(false, 153, 57);
    Run();
    // With Tracking every step that changes the value reports (the first one does not), and
    // the release once more.
    EXPECT_EQ(log.size(), 5u + 1u);
}

TEST_F(AngleButtonWindow, AFrequencySnapsHalvesToEvenAndTextsShowTheRoundedValue) {
    TsgAngleButton* k = Knob();
    k->SetFrequency(15);
    k->SetShowValue(true);
    Button(true, 145, 80);
    // 99.09 degrees: 6.6 steps of 15, so 7 steps.
    Motion(126, 55);
    Run();
    EXPECT_EQ(k->Value(), 105);
    EXPECT_EQ(TextPart(k, u"text")->Text().ToUtf8(), "105°");
    EXPECT_TRUE(TextPart(k, u"text")->Visible());
    Button(false, 126, 55);
    Run();
    // Halves go to the even step, from code as from the pointer.
    const struct {
        float Frequency, Set, Value;
    } table[] = {{10, 25, 20}, {10, 35, 40}, {10, -25, -20}, {1, 2.5f, 2}, {1, 3.5f, 4}};
    for (const auto& t : table) {
        k->SetFrequency(t.Frequency);
        k->SetValue(t.Set);
        EXPECT_EQ(k->Value(), t.Value) << t.Set << " by " << t.Frequency;
    }
    k->SetFrequency(0);
    k->SetValue(-12.5f);
    EXPECT_EQ(TextPart(k, u"text")->Text().ToUtf8(), "-12°");
    k->SetShowValue(false);
    EXPECT_FALSE(TextPart(k, u"text")->Visible());
    EXPECT_EQ(TextPart(k, u"text")->Opacity(), 0);
}

TEST_F(AngleButtonWindow, WithoutTrackingOnlyAChangedReleaseReportsAndTheTrackTextShowsMeanwhile) {
    TsgAngleButton* k = Knob();
    k->SetTracking(false);
    TsgText* track = TextPart(k, u"tracktext");
    ASSERT_NE(track, nullptr);
    EXPECT_FALSE(track->Visible());
    Button(true, 145, 80);
    Motion(130, 110);
    Motion(130, 50);
    Run();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(track->Visible());
    EXPECT_EQ(track->Text().ToUtf8(), "90°");
    Button(false, 130, 50);
    Run();
    EXPECT_EQ(log, (Lines{"knob change"}));
    EXPECT_FALSE(track->Visible());

    // Dragged away and back to the value at the press: nothing to report.
    Button(true, 130, 50);
    Motion(160, 80);
    Motion(130, 50);
    Button(false, 130, 50);
    Run();
    EXPECT_EQ(log, (Lines{"knob change"}));
}

// Activity indicator.

class IndicatorWindow : public SceneWindowTest {};

TEST_F(IndicatorWindow, EnablingRunsTheClockAndDisablingStopsIt) {
    auto* a = Add<TsgAniIndicator>("busy", 10, 10, 40, 40);
    EXPECT_FALSE(a->Animation()->Running());
    Advance(500);
    EXPECT_EQ(a->Layout()->RotateAngle(), 0);
    a->SetEnabled(true);
    EXPECT_TRUE(a->Animation()->Running());
    Advance(1000);
    // 360 degrees in 10 seconds.
    EXPECT_NEAR(a->Layout()->RotateAngle(), 36, 4);
    const float turned = a->Layout()->RotateAngle();
    // The darkest element is the one the clock's angle has just reached.
    const int lead = static_cast<int>(std::trunc(turned)) % 30;
    EXPECT_EQ(a->Highlight(0, 12), 1 - lead / 30.0f);
    a->SetEnabled(false);
    EXPECT_FALSE(a->Animation()->Running());
    const float stopped = a->Layout()->RotateAngle();
    Advance(500);
    EXPECT_EQ(a->Layout()->RotateAngle(), stopped);
}

// The pixel at (x, y) of a painted scene, without alpha.
uint32_t Rgb(TsgOffscreenScene& scene, int x, int y) {
    return scene.Canvas()->BufferBits()[y * scene.Canvas()->Width() + x] & 0xFFFFFF;
}

TEST(IndicatorPaint, DotsSitOnTheCircleOfTheSmallerSideAndTheHighlightDarkensOne) {
    TsgOffscreenScene scene(nullptr, 90, 40);
    auto* a = new TsgAniIndicator(nullptr);
    scene.AddObject(a);
    a->SetBounds(0, 0, 90, 40);
    a->SetStyle(sgAniIndicatorCircle);
    scene.PaintScene(0xFFFFFFFF);
    // R = 20, r = 5.4, D = 14.6: dot 0 at (59.6, 20), dot 4 at (30.4, 20).
    EXPECT_EQ(Rgb(scene, 60, 20), 0xBABABAu);
    EXPECT_EQ(Rgb(scene, 30, 20), 0xBABABAu);
    EXPECT_EQ(Rgb(scene, 45, 20), 0xFFFFFFu) << "the centre stays empty";
    EXPECT_EQ(Rgb(scene, 80, 20), 0xFFFFFFu) << "the wider side does not spread the dots";

    // At the clock's angle 0 the first dot is darkest, the next one nearly grey.
    a->SetEnabled(true);
    a->Animation()->Stop();
    a->Layout()->SetRotateAngle(0);
    scene.InvalidateAll();
    scene.PaintScene(0xFFFFFFFF);
    EXPECT_EQ(Rgb(scene, 60, 20), 0x000000u);
    EXPECT_GT(Rgb(scene, 55, 30) & 0xFF, 0x90u);
    EXPECT_LT(Rgb(scene, 55, 30) & 0xFF, 0xBAu);
}

TEST(IndicatorPaint, SpokesRunFromHalfwayToTheRim) {
    TsgOffscreenScene scene(nullptr, 40, 40);
    auto* a = new TsgAniIndicator(nullptr);
    scene.AddObject(a);
    a->SetBounds(0, 0, 40, 40);
    scene.PaintScene(0xFFFFFFFF);
    // Spoke 0 runs from (27.3, 20) to (34.6, 20) with a width of 2.7.
    EXPECT_EQ(Rgb(scene, 31, 20), 0xBABABAu);
    EXPECT_EQ(Rgb(scene, 24, 20), 0xFFFFFFu);
    EXPECT_EQ(Rgb(scene, 37, 20), 0xFFFFFFu);
}

} // namespace

namespace {

TEST(AngleButtonBinding, TheValueTravelsAlongABindingAndNoNumberChangesNothing) {
    TsgAngleButton source(nullptr);
    TsgAngleButton bound(nullptr);
    bound.SetBindingSource(&source);
    source.SetValue(30);
    EXPECT_EQ(bound.Value(), 30);
    bound.SetData(u"-45");
    EXPECT_EQ(bound.Value(), -45);
    bound.SetData(u"north");
    EXPECT_EQ(bound.Value(), -45);
    EXPECT_EQ(source.GetData().ToUtf8(), "30");
}

} // namespace
