// The track: value limits and snapping, the thumb's rectangle pushed into the style's "thumb"
// part, presses, keys, a drag with Tracking off and the delayed notification of a track bar.
#include "ControlsTestSupport.h"

#include "platform/ui/Application.h"
#include "platform/ui/Input.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <cmath>

namespace {

using controlstest::TEventLog;

float TrackValue(TObject* o) {
    return static_cast<TsgCustomTrack*>(o)->Value();
}

class TrackTest : public ::testing::Test {
protected:
    void SetUp() override { controlstest::UseBuiltSheet(); }
    void TearDown() override { FreeDefaultStyles(); }
    TsgOffscreenScene scene{nullptr, 300, 100};
};

} // namespace

TEST_F(TrackTest, SetValueSnapsThenLimitsAfterComparingWithTheOldValue) {
    struct Case {
        float Frequency, Viewport, Start, Set, Stored;
        bool Notified;
    };
    const Case cases[] = {
        {5, 0, 0, 12, 10, true},   {5, 0, 0, 12.5f, 10, true}, {5, 0, 0, 17.5f, 20, true},
        {0, 10, 0, 95, 90, true},  {0, 10, 90, 95, 90, true},  {0, 10, 90, 90, 90, false},
        {0, 0, 50, -20, 0, true},  {0, 0, 50, 150, 100, true}, {0, 0, 50, NAN, 50, false},
        {5, 0, 10, 11, 10, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.Frequency << "/" << c.Viewport << ": " << c.Start << " <- " << c.Set);
        TsgTrack track(nullptr);
        track.SetViewportSize(c.Viewport);
        track.SetValue(c.Start);
        track.SetFrequency(c.Frequency);
        TEventLog log;
        track.OnChange = log.Event();
        track.SetValue(c.Set);
        EXPECT_EQ(track.Value(), c.Stored);
        EXPECT_EQ(log.Count, c.Notified ? 1 : 0);
        if (c.Notified) {
            EXPECT_EQ(log.Sender, &track);
        }
    }
}

TEST_F(TrackTest, RangeSettersKeepTheValueAndViewportInside) {
    TsgTrack track(nullptr);
    track.SetViewportSize(30);
    track.SetValue(70);
    track.SetMax(80); // the viewport still fits; the value moves to 80 - 30 without a word
    EXPECT_EQ(track.Value(), 50.0f);
    track.SetMax(-5); // below Min
    EXPECT_EQ(track.Max(), 0.001f);
    EXPECT_FLOAT_EQ(track.ViewportSize(), 0.001f);
    TsgTrack other(nullptr);
    TEventLog log;
    other.OnChange = log.Event();
    other.SetValue(95);
    other.SetViewportSize(150); // more than the range: the whole range
    EXPECT_EQ(other.ViewportSize(), 100.0f);
    EXPECT_EQ(other.Value(), 0.0f);
    EXPECT_EQ(log.Count, 2);
    other.SetMin(10); // stored without limiting the value
    EXPECT_EQ(other.Value(), 0.0f);
}

// The thumb part of the style follows the value: position and size along the track.
TEST_F(TrackTest, TheThumbPartIsPlacedAndSizedFromTheValue) {
    struct Case {
        TsgOrientation Orientation;
        float W, H, Viewport, Value;
        TsgRect Expected; // thumb position and extent in the track
    };
    const Case cases[] = {
        // No viewport: 14 wide, centred on the value's position, kept inside.
        {sgHorizontal, 200, 20, 0, 50, {93, 0, 107, 20}},
        {sgHorizontal, 200, 20, 0, 0, {0, 0, 14, 20}},
        {sgHorizontal, 200, 20, 0, 100, {186, 0, 200, 20}},
        // A viewport of a quarter: a quarter of the length.
        {sgHorizontal, 200, 20, 25, 25, {50, 0, 100, 20}},
        {sgVertical, 20, 200, 25, 75, {0, 150, 20, 200}},
        {sgVertical, 20, 200, 0, 50, {0, 90, 20, 110}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.Orientation << " vp " << c.Viewport << " v " << c.Value);
        auto* track = controlstest::AddStyled<TsgTrack>(scene, 0, 0, c.W, c.H);
        track->SetResource(u"scrollbarhtrackstyle"); // a thumb without insets
        track->SetOrientation(c.Orientation);
        track->SetViewportSize(c.Viewport);
        track->SetValue(c.Value);
        track->Realign();
        TsgThumb* thumb = track->Thumb();
        ASSERT_NE(thumb, nullptr);
        EXPECT_EQ(thumb->Track(), track);
        EXPECT_EQ(thumb->Position()->X(), c.Expected.Left);
        EXPECT_EQ(thumb->Position()->Y(), c.Expected.Top);
        EXPECT_EQ(thumb->Width(), c.Expected.Right - c.Expected.Left);
        EXPECT_EQ(thumb->Height(), c.Expected.Bottom - c.Expected.Top);
        scene.RemoveObject(track);
        track->Free();
    }
}

// A track with no length yet (before its first layout) must not place anything at NaN.
TEST_F(TrackTest, ATrackOfNoLengthGivesNoNaN) {
    auto* track = controlstest::AddStyled<TsgTrack>(scene, 0, 0, 0, 0);
    track->SetViewportSize(10);
    track->SetValue(40);
    track->MouseDown(mbLeft, {}, 0, 0);
    track->SetMax(100);
    TsgThumb* thumb = track->Thumb();
    ASSERT_NE(thumb, nullptr);
    thumb->MouseMove({}, 5, 5, 0, 0);
    thumb->MouseUp(mbLeft, {}, 5, 5);
    EXPECT_FALSE(std::isnan(track->Value()));
    EXPECT_FALSE(std::isnan(thumb->Position()->X()));
    EXPECT_FALSE(std::isnan(thumb->Width()));
    const TsgRect r = track->GetThumbRect();
    EXPECT_TRUE(std::isfinite(r.Left) && std::isfinite(r.Right));
}

TEST_F(TrackTest, APressJumpsOrPagesAndCanBeBlockedOnce) {
    auto* track = controlstest::AddStyled<TsgTrack>(scene, 0, 0, 200, 20);
    track->MouseDown(mbLeft, {}, 50, 10); // no viewport: jump to the point
    EXPECT_EQ(track->Value(), 25.0f);
    track->Thumb()->MouseUp(mbLeft, {}, 0, 0);
    track->SetViewportSize(10);
    track->MouseDown(mbLeft, {}, 180, 10); // beyond the thumb: a page on
    EXPECT_EQ(track->Value(), 35.0f);
    track->Thumb()->MouseUp(mbLeft, {}, 0, 0);
    track->MouseDown(mbLeft, {}, 10, 10); // before it: a page back
    EXPECT_EQ(track->Value(), 25.0f);
    track->Thumb()->MouseUp(mbLeft, {}, 0, 0);
    track->SetMouseDownBlocked(true);
    track->MouseDown(mbLeft, {}, 180, 10);
    EXPECT_EQ(track->Value(), 25.0f);
    EXPECT_FALSE(track->MouseDownBlocked());
    track->MouseDown(mbRight, {}, 180, 10); // only the left button moves
    EXPECT_EQ(track->Value(), 25.0f);
}

// Each key step reports once, Tracking on or off; a key that changes nothing reports nothing.
TEST_F(TrackTest, KeysStepAndReportEachChangeOnce) {
    for (bool tracking : {true, false}) {
        SCOPED_TRACE(tracking);
        auto* track = controlstest::AddStyled<TsgTrackBar>(scene, 0, 0, 200, 20);
        track->SetTracking(tracking);
        TEventLog log;
        log.Read = TrackValue;
        track->OnChange = log.Event();
        char16_t ch = 0;
        const struct {
            uint16_t Key;
            float Value;
        } steps[] = {{VK_RIGHT, 1}, {VK_DOWN, 2},  {VK_LEFT, 1},   {VK_UP, 0},
                     {VK_HOME, 0},  {VK_END, 100}, {VK_RIGHT, 100}};
        for (auto s : steps) {
            uint16_t key = s.Key;
            track->KeyDown(key, ch, {});
            EXPECT_EQ(key, 0);
            EXPECT_EQ(track->Value(), s.Value);
        }
        EXPECT_EQ(log.Values, (std::vector<float>{1, 2, 1, 0, 100, 100}));
        uint16_t other = 'A';
        track->KeyDown(other, ch, {});
        EXPECT_EQ(other, 'A');
        track->SetFrequency(10);
        uint16_t left = VK_LEFT;
        track->KeyDown(left, ch, {});
        EXPECT_EQ(track->Value(), 90.0f);
        scene.RemoveObject(track);
        track->Free();
    }
}

// With Tracking off a drag tells nothing on the way and its end once; a click on the thumb
// that moves nothing tells nothing. With Tracking on every step is told.
TEST_F(TrackTest, ADragWithTrackingOffReportsOnceOnRelease) {
    for (bool tracking : {false, true}) {
        SCOPED_TRACE(tracking);
        auto* track = controlstest::AddStyled<TsgTrackBar>(scene, 0, 0, 200, 18);
        track->SetTracking(tracking);
        TEventLog log, moving;
        log.Read = TrackValue;
        track->OnChange = log.Event();
        track->OnTracking = moving.Event();
        TsgThumb* thumb = track->Thumb();
        ASSERT_NE(thumb, nullptr);
        thumb->MouseDown(mbLeft, {}, 2, 5);
        EXPECT_TRUE(track->IsTracking());
        for (float x : {20.0f, 40.0f, 60.0f}) {
            const TsgPoint p = thumb->AbsoluteToLocal(track->LocalToAbsolute({x, 5}));
            thumb->MouseMove({}, p.X, p.Y, 0, 0);
        }
        EXPECT_NEAR(track->Value(), 30, 1e-3);
        EXPECT_EQ(moving.Count, 3);
        EXPECT_EQ(log.Count, tracking ? 3 : 0);
        thumb->MouseUp(mbLeft, {}, 0, 0);
        EXPECT_FALSE(track->IsTracking());
        const std::vector<float> expected =
            tracking ? std::vector<float>{10, 20, 30} : std::vector<float>{30};
        ASSERT_EQ(log.Values.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(log.Values[i], expected[i], 1e-3);
        thumb->MouseDown(mbLeft, {}, 2, 5);
        thumb->MouseUp(mbLeft, {}, 2, 5);
        EXPECT_EQ(log.Count, tracking ? 3 : 1);
        scene.RemoveObject(track);
        track->Free();
    }
}

TEST_F(TrackTest, ATimerIntervalReportsABurstOnceAfterTheLastChange) {
    TManualClock clock;
    SetUiClock(&clock);
    {
        TsgTrackBar track(nullptr);
        TEventLog log;
        track.OnChange = log.Event();
        track.SetTimerInterval(200);
        ASSERT_NE(track.DelayTimer(), nullptr);
        for (float v : {10.0f, 20.0f, 30.0f, 40.0f}) {
            track.SetValue(v);
            clock.Advance(50);
            Application->ProcessMessages();
        }
        EXPECT_EQ(log.Count, 0);
        clock.Advance(140);
        Application->ProcessMessages();
        EXPECT_EQ(log.Count, 0);
        clock.Advance(10);
        Application->ProcessMessages();
        EXPECT_EQ(log.Count, 1);
        EXPECT_EQ(log.Sender, &track);
        clock.Advance(1000);
        Application->ProcessMessages();
        EXPECT_EQ(log.Count, 1);
        track.SetTimerInterval(0); // at once again; the timer stays
        track.SetValue(50);
        EXPECT_EQ(log.Count, 2);
        EXPECT_NE(track.DelayTimer(), nullptr);
    }
    Application->Reset();
    TTimerHeap::Instance().Reset();
    SetUiClock(nullptr);
}

TEST_F(TrackTest, DataIsTheValueAndAnEventBecomesOnChange) {
    TsgTrack track(nullptr);
    track.SetData(u"42.5");
    EXPECT_EQ(track.Value(), 42.5f);
    EXPECT_EQ(track.GetData(), UnicodeString(u"42.5"));
    EXPECT_THROW(track.SetData(u"not a number"), EConvertError);
    EXPECT_EQ(track.Value(), 42.5f);
}
