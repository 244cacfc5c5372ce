// The scroll bar: its own range rules, the parts of its style shown by orientation, the range
// copied into the visible track and the track's and arrow buttons' changes coming back.
#include "ControlsTestSupport.h"

#include <cmath>

namespace {

using controlstest::TEventLog;

float BarValue(TObject* o) {
    return static_cast<TsgScrollBar*>(o)->Value();
}

class ScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override { controlstest::UseBuiltSheet(); }
    void TearDown() override { FreeDefaultStyles(); }
    TsgOffscreenScene scene{nullptr, 300, 200};
};

bool Shown(TsgControl* c, const char* part) {
    TsgObject* o = c->FindResource(part);
    return o && o->IsVisual() && o->Visual()->Visible();
}

} // namespace

TEST_F(ScrollBarTest, ValueRulesAndEveryChangeIsReported) {
    TsgScrollBar bar(nullptr);
    TEventLog log;
    log.Read = BarValue;
    bar.OnChange = log.Event();
    bar.SetViewportSize(20);
    bar.SetValue(95); // limited after the comparison
    EXPECT_EQ(bar.Value(), 80.0f);
    bar.SetValue(95); // differs from 80, so told again though it stays 80
    EXPECT_EQ(bar.Value(), 80.0f);
    bar.SetValue(80); // equal: nothing
    EXPECT_EQ(log.Values, (std::vector<float>{80, 80}));
    EXPECT_EQ(log.Sender, &bar);

    TsgScrollBar wide(nullptr);
    TEventLog wideLog;
    wide.OnChange = wideLog.Event();
    wide.SetValue(50);
    wide.SetViewportSize(150); // the whole range, and the value back to 0
    EXPECT_EQ(wide.ViewportSize(), 100.0f);
    EXPECT_EQ(wide.Value(), 0.0f);
    EXPECT_EQ(wideLog.Count, 2);

    TsgScrollBar low(nullptr);
    low.SetValue(10);
    TEventLog lowLog;
    low.OnChange = lowLog.Event();
    low.SetMin(30);
    EXPECT_EQ(low.Value(), 30.0f);
    EXPECT_EQ(lowLog.Count, 1);
    low.SetMax(10); // below Min
    EXPECT_EQ(low.Max(), 30.001f);
}

TEST_F(ScrollBarTest, OnlyThePartsOfTheOrientationShowAndTheTrackCarriesTheRange) {
    for (TsgOrientation o : {sgHorizontal, sgVertical}) {
        SCOPED_TRACE(o);
        const bool h = o == sgHorizontal;
        auto* bar = controlstest::AddStyled<TsgScrollBar>(scene, 0, 0, h ? 200 : 18, h ? 18 : 200);
        bar->SetOrientation(o);
        bar->SetViewportSize(25);
        bar->SetValue(50);
        EXPECT_EQ(Shown(bar, "htrack"), h);
        EXPECT_EQ(Shown(bar, "vtrack"), !h);
        TsgCustomTrack* track = bar->Track();
        ASSERT_NE(track, nullptr);
        EXPECT_EQ(track->ResourceName(), UnicodeString(h ? u"htrack" : u"vtrack"));
        EXPECT_EQ(track->Orientation(), o);
        EXPECT_EQ(track->Min(), 0.0f);
        EXPECT_EQ(track->Max(), 100.0f);
        EXPECT_EQ(track->Value(), 50.0f);
        EXPECT_EQ(track->ViewportSize(), 25.0f);
        EXPECT_FALSE(track->CanFocused());
        // The thumb shows the visible quarter at the value's place.
        TsgThumb* thumb = track->Thumb();
        ASSERT_NE(thumb, nullptr);
        const float length = h ? track->Width() : track->Height();
        ASSERT_GT(length, 0);
        EXPECT_NEAR(h ? thumb->Width() : thumb->Height(), std::round(length / 4), 1);
        EXPECT_NEAR(h ? thumb->Position()->X() : thumb->Position()->Y(), std::round(length / 2), 1);
        scene.RemoveObject(bar);
        bar->Free();
    }
}

// The small bar's style has tracks only; it works through them.
TEST_F(ScrollBarTest, DraggingTheThumbSetsTheValueStepByStep) {
    for (const char* cls : {"TsgScrollBar", "TsgSmallScrollBar"}) {
        SCOPED_TRACE(cls);
        auto* bar = static_cast<TsgScrollBar*>(GetClass(cls)->CreateComponent(&scene));
        scene.AddObject(bar);
        bar->SetBounds(0, 0, 200, 18);
        controlstest::ApplyStyles(bar);
        bar->SetViewportSize(10);
        TEventLog log;
        log.Read = BarValue;
        bar->OnChange = log.Event();
        TsgCustomTrack* track = bar->Track();
        ASSERT_NE(track, nullptr);
        TsgThumb* thumb = track->Thumb();
        ASSERT_NE(thumb, nullptr);
        const float length = track->Width();
        thumb->MouseDown(mbLeft, {}, 1, 1);
        for (int step = 1; step <= 3; ++step) {
            const TsgPoint p = thumb->AbsoluteToLocal(
                track->LocalToAbsolute({1 + length * 0.1f * float(step), 1}));
            thumb->MouseMove({}, p.X, p.Y, 0, 0);
        }
        thumb->MouseUp(mbLeft, {}, 1, 1);
        ASSERT_EQ(log.Values.size(), 3u);
        EXPECT_NEAR(log.Values[0], 10, 0.5);
        EXPECT_NEAR(log.Values[2], 30, 0.5);
        EXPECT_EQ(bar->Value(), log.Values.back());
        EXPECT_EQ(bar->MinButton() == nullptr,
                  std::string(cls) == "TsgSmallScrollBar" || GetClass("TsgSpeedButton") == nullptr);
        scene.RemoveObject(bar);
        bar->Free();
    }
}

TEST_F(ScrollBarTest, DataIsTheValue) {
    TsgScrollBar bar(nullptr);
    TsgScrollBar follower(nullptr);
    follower.SetBindingSource(&bar);
    bar.SetValue(33);
    EXPECT_EQ(follower.Value(), 33.0f);
    EXPECT_EQ(bar.GetData(), UnicodeString(u"33"));
    follower.SetBindingSource(nullptr);
}
