#include "platform/ui/Forms.h"
#include "platform/ui/UpdateRegion.h"

#include "UiTestSupport.h"

#include <numeric>

namespace {
int Area(const std::vector<TRect>& rects) {
    return std::accumulate(rects.begin(), rects.end(), 0,
                           [](int sum, const TRect& r) { return sum + r.Width() * r.Height(); });
}

bool Disjoint(const std::vector<TRect>& rects) {
    for (size_t i = 0; i < rects.size(); ++i)
        for (size_t j = i + 1; j < rects.size(); ++j)
            if (!IntersectRects(rects[i], rects[j]).IsEmpty())
                return false;
    return true;
}

// Brute-force oracle: the pixels of a 40 x 40 grid covered after adding and cutting.
struct Step {
    bool add;
    TRect rect;
};

struct RegionCase {
    const char* name;
    std::vector<Step> steps;
};

std::vector<bool> Paint(const std::vector<Step>& steps) {
    std::vector<bool> grid(40 * 40, false);
    for (const Step& s : steps)
        for (int y = std::max(0, s.rect.Top); y < std::min(40, s.rect.Bottom); ++y)
            for (int x = std::max(0, s.rect.Left); x < std::min(40, s.rect.Right); ++x)
                grid[static_cast<size_t>(y * 40 + x)] = s.add;
    return grid;
}

class RegionCases : public ::testing::TestWithParam<RegionCase> {};

TEST_P(RegionCases, CoversExactlyThePixelsAddedAndNotCut) {
    TUpdateRegion region;
    for (const Step& s : GetParam().steps) {
        if (s.add)
            region.Add(s.rect);
        else
            region.Subtract(s.rect);
    }
    std::vector<bool> expected = Paint(GetParam().steps);
    std::vector<bool> actual(40 * 40, false);
    for (const TRect& r : region.Rects())
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                actual[static_cast<size_t>(y * 40 + x)] = true;
    EXPECT_EQ(actual, expected);
    EXPECT_TRUE(Disjoint(region.Rects()));
    EXPECT_EQ(region.IsEmpty(), Area(region.Rects()) == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, RegionCases,
    ::testing::Values(
        RegionCase{"Single", {{true, {2, 3, 10, 12}}}},
        RegionCase{"Overlapping", {{true, {0, 0, 10, 10}}, {true, {5, 5, 15, 15}}}},
        RegionCase{"Contained", {{true, {0, 0, 20, 20}}, {true, {5, 5, 8, 8}}}},
        RegionCase{"Touching edges", {{true, {0, 0, 10, 10}}, {true, {10, 0, 20, 10}}}},
        RegionCase{"Hole", {{true, {0, 0, 20, 20}}, {false, {5, 5, 15, 15}}}},
        RegionCase{"Cut through", {{true, {0, 0, 30, 10}}, {false, {10, -5, 20, 15}}}},
        RegionCase{"Cut everything", {{true, {3, 3, 9, 9}}, {false, {0, 0, 40, 40}}}},
        RegionCase{"Empty rects", {{true, {5, 5, 5, 9}}, {true, {7, 9, 3, 1}}}},
        RegionCase{"Re-add after cut",
                   {{true, {0, 0, 20, 20}}, {false, {0, 0, 10, 10}}, {true, {5, 5, 12, 12}}}}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST(UpdateRegion, StripsOfTheSameAreaDoNotGrowTheList) {
    TUpdateRegion region;
    for (int i = 0; i < 100; ++i)
        region.Add({0, i, 50, i + 1});
    ASSERT_EQ(region.Rects().size(), 1u);
    EXPECT_EQ(region.Rects()[0], (TRect{0, 0, 50, 100}));
}

TEST(UpdateRegion, ASplinteredRegionBecomesItsBoundingBox) {
    TUpdateRegion region;
    for (int i = 0; i < 100; ++i)
        region.Add({i * 3, i * 3, i * 3 + 1, i * 3 + 1});
    EXPECT_LE(region.Rects().size(), TUpdateRegion::MaxRects);
    EXPECT_EQ(region.BoundingBox(), (TRect{0, 0, 298, 298}));
}

class WindowUpdateRegion : public UiTest {};

TEST_F(WindowUpdateRegion, InvalidationIsClippedToTheClientAreaAndValidatedByPaint) {
    TForm form;
    form.SetBounds(0, 0, 100, 80);
    form.Handle();
    ValidateRect(&form, nullptr);

    struct Case {
        TRect invalidated;
        TRect expected;
    } cases[] = {
        {{-5, -5, 0, 0}, {}}, // touches the corner only: nothing to paint
        {{-5, -5, 10, 10}, {0, 0, 10, 10}},
        {{90, 70, 200, 200}, {90, 70, 100, 80}},
        {{10, 10, 21, 21}, {10, 10, 21, 21}},
        {{100, 0, 120, 10}, {}},
    };
    for (const Case& c : cases) {
        InvalidateRect(&form, &c.invalidated, false);
        TRect box;
        EXPECT_EQ(GetUpdateRect(&form, &box), !c.expected.IsEmpty());
        EXPECT_EQ(box, c.expected);
        ValidateRect(&form, nullptr);
    }

    TRect a{0, 0, 10, 10}, b{50, 50, 60, 60};
    InvalidateRect(&form, &a, false);
    InvalidateRect(&form, &b, false);
    EXPECT_EQ(GetUpdateRects(&form), (std::vector<TRect>{a, b}));
    TRect cut{0, 0, 10, 5};
    ValidateRect(&form, &cut);
    EXPECT_EQ(GetUpdateRects(&form), (std::vector<TRect>{{0, 5, 10, 10}, b}));
}

// A window that records what it had to paint each time.
class RecordingForm : public TForm {
public:
    std::vector<std::vector<TRect>> painted;

protected:
    void Paint() override { painted.push_back(GetUpdateRects(this)); }
};

TEST_F(WindowUpdateRegion, OnlyTheInvalidatedRectanglesArePaintedOnce) {
    RecordingForm form;
    form.SetBounds(0, 0, 200, 100);
    form.Show();
    Application->ProcessMessages();
    ASSERT_EQ(form.painted.size(), 1u);
    EXPECT_EQ(form.painted[0], (std::vector<TRect>{{0, 0, 200, 100}}));

    TRect child{20, 30, 40, 50};
    InvalidateRect(&form, &child, false);
    InvalidateRect(&form, &child, false);
    Application->ProcessMessages();
    ASSERT_EQ(form.painted.size(), 2u);
    EXPECT_EQ(form.painted[1], (std::vector<TRect>{child}));
    Application->ProcessMessages();
    EXPECT_EQ(form.painted.size(), 2u) << "a validated window is not painted again";

    form.Hide();
    InvalidateRect(&form, &child, false);
    Application->ProcessMessages();
    EXPECT_EQ(form.painted.size(), 2u) << "a hidden window is not painted";
}
} // namespace
