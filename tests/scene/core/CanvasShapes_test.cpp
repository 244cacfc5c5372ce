// Shapes drawn through the canvas against Pillow's rasteriser, on every pixel that is not on a
// boundary of Pillow's picture.
#include "CanvasTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct ShapeCase {
    const char* name;
    void (*draw)(TsgCanvas&);
};

const ShapeCase kShapes[] = {
    {"ellipse",
     [](TsgCanvas& c) {
         c.FillEllipse({10, 8, 90, 72}, 1);
     }},
    {"rect",
     [](TsgCanvas& c) {
         c.FillRect({15, 12, 61, 47}, 0, 0, AllCorners, 1);
     }},
    {"polygon",
     [](TsgCanvas& c) {
         c.FillPolygon({{50, 5},
                        {62, 35},
                        {95, 38},
                        {68, 55},
                        {78, 76},
                        {50, 62},
                        {22, 76},
                        {32, 55},
                        {5, 38},
                        {38, 35}},
                       1);
     }},
};

class CanvasVersusPillow : public ::testing::TestWithParam<ShapeCase> {
protected:
    static void SetUpTestSuite() {
        folder_ = new testsupport::ScratchFolder("sg-shapes-");
        ASSERT_TRUE(RunPillow("shapes " + folder_->Str()));
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static testsupport::ScratchFolder* folder_;
};
testsupport::ScratchFolder* CanvasVersusPillow::folder_ = nullptr;

} // namespace

TEST_P(CanvasVersusPillow, InteriorAndExteriorAgree) {
    const ShapeCase& shape = GetParam();
    TsgBitmap mask(1, 1);
    ASSERT_TRUE(
        mask.LoadFromFile(UnicodeString::FromUtf8(*folder_ / (std::string(shape.name) + ".png"))));
    ASSERT_EQ(mask.Width(), 100);
    ASSERT_EQ(mask.Height(), 80);
    auto canvas = MakeCanvas(100, 80);
    SetSolidFill(*canvas, 0xFF000000);
    shape.draw(*canvas);
    const auto px = Pixels(*canvas);
    auto inside = [&](int x, int y) { return (mask.GetPixels(x, y) & 0xFF) >= 128; };
    int compared = 0, inner = 0;
    for (int y = 1; y < 79; ++y)
        for (int x = 1; x < 99; ++x) {
            const bool in = inside(x, y);
            bool boundary = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    boundary |= inside(x + dx, y + dy) != in;
            if (boundary)
                continue;
            ++compared;
            inner += in;
            // Near a sharp vertex an interior pixel may miss a sliver of coverage.
            ASSERT_NEAR(Alpha(px[size_t(y) * 100 + x]), in ? 255 : 0, 16)
                << shape.name << " at " << x << "," << y;
        }
    EXPECT_GT(inner, 500);
    EXPECT_GT(compared, 5000);
}

INSTANTIATE_TEST_SUITE_P(Shapes, CanvasVersusPillow, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });
