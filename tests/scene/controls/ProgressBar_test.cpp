// The progress bar: the indicator part of its style sized to the value (read back from the part
// and probed in the painted pixels), the orientation's parts, the installer's one-track style,
// and the value rules the installation engine relies on.
#include "ControlsTestSupport.h"

#include <cmath>
#include <memory>

namespace {

class ProgressBarTest : public ::testing::Test {
protected:
    void SetUp() override { controlstest::UseBuiltSheet(); }
    void TearDown() override { FreeDefaultStyles(); }
    TsgOffscreenScene scene{nullptr, 220, 60};
};

TsgVisualObject* Part(TsgControl* c, const char* name) {
    TsgObject* o = c->FindResource(name);
    return o ? o->Visual() : nullptr;
}

bool Bluish(uint32_t px) {
    const int r = (px >> 16) & 0xFF, b = px & 0xFF;
    return b - r > 60;
}

std::vector<uint32_t> Row(TsgCanvas& canvas, int y) {
    std::vector<uint32_t> bits(size_t(canvas.Width()) * canvas.Height());
    canvas.SaveToBits(bits.data());
    return {bits.begin() + ptrdiff_t(y) * canvas.Width(),
            bits.begin() + ptrdiff_t(y + 1) * canvas.Width()};
}

// The installer's own bar: one "track" for both orientations and a "rectopac" highlight.
const char* kInstallerBarStyle = R"(object TsgLayout
  ResourceName = 'installerbartest'
  Width = 100
  Height = 20
  object TsgRectangle
    ResourceName = 'track'
    Align = vaContents
    Width = 100
    Height = 20
    object TsgRectangle
      ResourceName = 'hindicator'
      Align = vaLeft
      Width = 10
      Height = 20
    end
    object TsgRectangle
      ResourceName = 'vindicator'
      Align = vaBottom
      Width = 100
      Height = 10
    end
    object TsgRectangle
      ResourceName = 'rectopac'
      Align = vaContents
      Width = 100
      Height = 20
    end
  end
end
)";

} // namespace

TEST_F(ProgressBarTest, TheIndicatorWidthFollowsTheValueAndHidesAtTwoOrLess) {
    auto* bar = controlstest::AddStyled<TsgProgressBar>(scene, 0, 0, 202, 20);
    TsgVisualObject* track = Part(bar, "htrack");
    TsgVisualObject* indicator = Part(bar, "hindicator");
    ASSERT_NE(track, nullptr);
    ASSERT_NE(indicator, nullptr);
    ASSERT_EQ(track->Width(), 200); // the track's padding keeps it off the bar's edge
    struct Case {
        float Value, Width;
        bool Visible;
    };
    const Case cases[] = {{50, 100, true}, {100, 200, true}, {1, 2, false},
                          {1.5f, 3, true}, {0, 0, false},    {150, 200, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Value);
        bar->SetValue(c.Value);
        EXPECT_FLOAT_EQ(indicator->Width(), c.Width);
        EXPECT_EQ(indicator->Visible(), c.Visible);
    }
    EXPECT_FALSE(Part(bar, "vtrack")->Visible());
}

TEST_F(ProgressBarTest, TheRangeIsStoredAloneUntilTheNextValue) {
    auto* bar = controlstest::AddStyled<TsgProgressBar>(scene, 0, 0, 202, 20);
    TsgVisualObject* indicator = Part(bar, "hindicator");
    bar->SetValue(100);
    bar->SetMax(200);
    EXPECT_FLOAT_EQ(indicator->Width(), 200);
    bar->SetValue(100); // the same value: not re-laid
    EXPECT_FLOAT_EQ(indicator->Width(), 200);
    bar->SetValue(50);
    EXPECT_FLOAT_EQ(indicator->Width(), 50);
    bar->SetMax(0); // Max equal to Min: the indicator keeps its last size
    bar->SetValue(10);
    EXPECT_EQ(bar->Value(), 0.0f);
    EXPECT_FLOAT_EQ(indicator->Width(), 50);
}

TEST_F(ProgressBarTest, VerticalUsesTheOtherTrackAndIndicator) {
    auto* bar = controlstest::AddStyled<TsgProgressBar>(scene, 0, 0, 20, 52);
    bar->SetOrientation(sgVertical);
    bar->Realign();
    bar->SetValue(25);
    EXPECT_FALSE(Part(bar, "htrack")->Visible());
    ASSERT_NE(Part(bar, "vtrack"), nullptr);
    TsgVisualObject* v = Part(bar, "vindicator");
    ASSERT_NE(v, nullptr);
    EXPECT_FLOAT_EQ(v->Height(), 0.25f * Part(bar, "vtrack")->Height());
    EXPECT_TRUE(v->Visible());
}

// A style with one "track" part serves both orientations.
TEST_F(ProgressBarTest, AStyleWithOneTrackPartServesBothOrientations) {
    TStringStream text{AnsiString(kInstallerBarStyle)};
    std::unique_ptr<TsgObject> style(CreateObjectFromStream(nullptr, text));
    ASSERT_NE(style, nullptr);
    auto* bar = new TsgProgressBar(&scene);
    scene.AddObject(bar);
    bar->SetBounds(0, 0, 100, 20);
    bar->SetResource(u"installerbartest");
    ASSERT_NE(Part(bar, "track"), nullptr);
    ASSERT_NE(Part(bar, "rectopac"), nullptr);
    bar->SetValue(40);
    EXPECT_FLOAT_EQ(Part(bar, "hindicator")->Width(), 40);
    EXPECT_FALSE(Part(bar, "vindicator")->Visible());
    bar->SetOrientation(sgVertical);
    bar->SetValue(60);
    EXPECT_FLOAT_EQ(Part(bar, "vindicator")->Height(), 12);
    EXPECT_FALSE(Part(bar, "hindicator")->Visible());
    EXPECT_TRUE(Part(bar, "track")->Visible());
}

// The painted bar: indicator colour exactly over the value's share of the track.
TEST_F(ProgressBarTest, PaintedIndicatorColumnsAt0And37And100Percent) {
    auto* bar = controlstest::AddStyled<TsgProgressBar>(scene, 10, 10, 202, 20);
    for (float value : {0.0f, 37.0f, 100.0f}) {
        SCOPED_TRACE(value);
        bar->SetValue(value);
        scene.InvalidateAll();
        scene.PaintScene(0xFFFFFFFF);
        const std::vector<uint32_t> row = Row(*scene.Canvas(), 20);
        // The track runs over x = 11 .. 211; its rounded ends and the indicator's edge may blend.
        const int edge = 11 + int(value * 2);
        for (int x = 14; x < 208; ++x) {
            if (std::abs(x - edge) <= 2)
                continue;
            EXPECT_EQ(Bluish(row[size_t(x)]), x < edge)
                << "column " << x << std::hex << " " << row[size_t(x)];
        }
    }
}

TEST_F(ProgressBarTest, DataIsTheValue) {
    TsgProgressBar bar(nullptr);
    bar.SetData(u"12.5");
    EXPECT_EQ(bar.Value(), 12.5f);
    EXPECT_EQ(bar.GetData(), UnicodeString(u"12.5"));
    bar.SetValue(NAN);
    EXPECT_EQ(bar.Value(), 12.5f);
}
