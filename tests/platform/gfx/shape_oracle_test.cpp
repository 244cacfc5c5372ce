// Filled shapes against Pillow's ImageDraw, an independent rasteriser: every pixel farther than
// one and a half pixels from the outline must agree. Both put pixel centres on integer
// coordinates here (PixelOffsetMode::None).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "GfxTestSupport.h"

namespace gfx {
namespace {

// Distance from p to the segment ab.
double SegmentDistance(PointF p, PointF a, PointF b) {
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

struct ShapeCase {
    const char* name;
    std::string oracleArgs;
    GraphicsPath path;
};

std::vector<ShapeCase> Cases() {
    std::vector<ShapeCase> cases;
    {
        const std::vector<PointF> pts = {{5, 5}, {58, 9}, {30, 30}, {55, 57}, {8, 50}, {20, 28}};
        ShapeCase c{"concave polygon", "polygon", GraphicsPath()};
        for (PointF p : pts)
            c.oracleArgs += " " + std::to_string(p.X) + " " + std::to_string(p.Y);
        c.path.AddPolygon(pts.data(), int(pts.size()));
        cases.push_back(std::move(c));
    }
    {
        ShapeCase c{"ellipse", "ellipse 6 10 57 50", GraphicsPath()};
        c.path.AddEllipse(RectF(6, 10, 51, 40));
        cases.push_back(std::move(c));
    }
    return cases;
}

TEST(ShapeOracle, FilledShapesMatchAnIndependentRasteriser) {
    const auto folder = std::filesystem::path(DBI_BINARY_DIR) / "test-tmp" /
                        ("gfx-shapes-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    for (ShapeCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        const auto png = folder / "shape.png";
        ASSERT_EQ(testing::RunPython("shape_oracle.py", "'" + png.string() + "' " + c.oracleArgs),
                  0);
        auto expected = Bitmap::FromFile(png.string());
        ASSERT_TRUE(expected);

        Bitmap ours(64, 64);
        Graphics g(&ours);
        g.SetSmoothingMode(SmoothingMode::HighQuality);
        g.SetPixelOffsetMode(PixelOffsetMode::None);
        g.FillPath(SolidBrush(Color(0xFFFFFFFF)), c.path);

        GraphicsPath outline = c.path;
        outline.Flatten(nullptr, 0.05f);
        const auto& pts = outline.Points();
        int compared = 0, different = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const PointF centre{float(x), float(y)};
                double nearest = 1e9;
                for (size_t i = 0; i < pts.size(); ++i)
                    nearest = std::min(nearest,
                                       SegmentDistance(centre, pts[i], pts[(i + 1) % pts.size()]));
                if (nearest < 1.5)
                    continue;
                ++compared;
                const bool inOurs = testing::PixelAt(ours, x, y) >> 24 > 127;
                const bool inTheirs = (testing::PixelAt(*expected, x, y) & 0xFF) > 127;
                different += inOurs != inTheirs;
            }
        EXPECT_GT(compared, 2000);
        EXPECT_EQ(different, 0);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace gfx
