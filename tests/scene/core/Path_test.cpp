// Path data: building, the text form, the "Path" stream block, bounds, arcs and flattening.
#include "OracleData.h"
#include "SceneTestClasses.h"

#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

namespace {

using K = TsgPathPointKind;
constexpr K M = sgPathPointMoveTo, L = sgPathPointLineTo, C = sgPathPointCurveTo,
            Z = sgPathPointClose;

struct TextCase {
    const char* name;
    const char* text;
    std::vector<TsgPathPoint> expected;
};

class PathText : public ::testing::TestWithParam<TextCase> {};

TEST_P(PathText, Parses) {
    TsgPathData path;
    path.SetPathString(GetParam().text);
    EXPECT_EQ(path.PathData, GetParam().expected) << path.GetPathString().str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathText,
    ::testing::Values(
        TextCase{
            "RepeatedMoves", "M 10,10 20,20 30,10", {{M, {10, 10}}, {M, {20, 20}}, {M, {30, 10}}}},
        TextCase{"RelativeAfterClose",
                 "M0,0L10,0L10,10z m5,5 l1,1",
                 {{M, {0, 0}}, {L, {10, 0}}, {L, {10, 10}}, {Z, {}}, {M, {5, 5}}, {L, {6, 6}}}},
        TextCase{"HorizontalVertical",
                 "M 0,0 h 10 v 10 H 0 Z",
                 {{M, {0, 0}}, {L, {10, 0}}, {L, {10, 10}}, {L, {0, 10}}, {Z, {}}}},
        TextCase{"SpacesForCommas",
                 "M 0 0 C 1 2 3 4 5 6",
                 {{M, {0, 0}}, {C, {1, 2}}, {C, {3, 4}}, {C, {5, 6}}}},
        TextCase{"LettersInOneToken", "ML10,10", {{M, {10, 10}}, {L, {0, 0}}}},
        TextCase{"ControlCharactersRemoved", "M\t1,\r\n2 L 3,4", {{M, {1, 2}}, {L, {3, 4}}}},
        TextCase{"BadNumberDropsOnlyItsCommand", "M 1,2 L . L 3,4", {{M, {1, 2}}, {L, {3, 4}}}},
        TextCase{"NoCommandWhereOneIsDueStops", "M 1,2 L x,5 L 3,4", {{M, {1, 2}}}},
        TextCase{"DotNumberEndsRepetition", "L 1,1 .5,.5", {{L, {1, 1}}}},
        TextCase{"QuadraticsIgnored", "M 1,1 Q 2,2 3,3 T 4,4 L 5,5", {{M, {1, 1}}, {L, {5, 5}}}},
        TextCase{"SmoothReflects",
                 "M 0,0 C 0,1 2,1 2,0 S 4,-1 4,0",
                 {{M, {0, 0}},
                  {C, {0, 1}},
                  {C, {2, 1}},
                  {C, {2, 0}},
                  {C, {2, -1}},
                  {C, {4, -1}},
                  {C, {4, 0}}}},
        TextCase{"SmoothWithoutCurve",
                 "M 1,1 s 2,2 3,3",
                 {{M, {1, 1}}, {C, {3, 3}}, {C, {3, 3}}, {C, {4, 4}}}},
        TextCase{"CommaDecimal", "M 1.5,2.25", {{M, {1.5f, 2.25f}}}},
        TextCase{"LeadingNumberStops", "10 M 1,1", {}}, TextCase{"Empty", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Path, TextIsWrittenWithThreeDecimalsAndReadBack) {
    TsgPathData path;
    path.MoveTo({0, 0});
    path.LineTo({10.5f, 20});
    path.ClosePath();
    EXPECT_EQ(path.GetPathString(), AnsiString("M 0,0 L 10.500,20 Z "));
    path.Clear();
    path.AddEllipse({0, 0, 20, 10});
    path.ClosePath();
    TsgPathData back;
    back.SetPathString(path.GetPathString());
    ASSERT_EQ(back.PathData.size(), path.PathData.size());
    for (size_t i = 0; i < path.PathData.size(); ++i) {
        EXPECT_EQ(back.PathData[i].Kind, path.PathData[i].Kind);
        EXPECT_NEAR(back.PathData[i].Point.X, path.PathData[i].Point.X, 5e-4);
        EXPECT_NEAR(back.PathData[i].Point.Y, path.PathData[i].Point.Y, 5e-4);
    }
}

TEST(Path, ChangeNoticesComeFromTheWholeOperationsOnly) {
    TsgPathData path;
    int changes = 0;
    struct Hit {
        int* n;
        void On(TObject*) { ++*n; }
    } hit{&changes};
    path.OnChanged = TNotifyEvent::Bind<&Hit::On>(&hit);
    path.MoveTo({1, 1});
    path.LineTo({2, 2});
    path.AddArc({0, 0}, {1, 1}, 0, 90);
    EXPECT_EQ(changes, 0);
    path.SetPathString("M 1,1");
    path.Flatten();
    path.Clear();
    EXPECT_EQ(changes, 3);
}

std::vector<uint8_t> PathBlock(int32_t count, int recordSize, int records) {
    std::vector<uint8_t> b(4 + size_t(recordSize) * size_t(records));
    std::memcpy(b.data(), &count, 4);
    for (int i = 0; i < records; ++i) {
        uint8_t* r = b.data() + 4 + i * recordSize;
        const float x = float(i + 1), y = float(10 * (i + 1));
        r[0] = uint8_t(i == 0 ? M : L);
        std::memcpy(r + recordSize - 8, &x, 4);
        std::memcpy(r + recordSize - 4, &y, 4);
    }
    return b;
}

struct BlockCase {
    const char* name;
    int32_t count;
    int recordSize;
    int records;
    size_t expected;
};

class PathBlocks : public ::testing::TestWithParam<BlockCase> {};

TEST_P(PathBlocks, ReadWithinTheBytesPresent) {
    TBytesStream block(PathBlock(GetParam().count, GetParam().recordSize, GetParam().records));
    TsgPathData path;
    path.ReadPath(block);
    ASSERT_EQ(path.PathData.size(), GetParam().expected);
    if (!path.PathData.empty()) {
        EXPECT_EQ(path.PathData.back().Point,
                  (TsgPoint{float(GetParam().expected), float(10 * GetParam().expected)}));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PathBlocks,
                         ::testing::Values(BlockCase{"Current", 3, 12, 3, 3},
                                           BlockCase{"Older9Byte", 2, 9, 2, 2},
                                           BlockCase{"ZeroCount", 0, 12, 2, 0},
                                           BlockCase{"NegativeCount", -5, 12, 2, 0},
                                           BlockCase{"CountBeyondBytes", 1000000000, 12, 2, 2},
                                           BlockCase{"MaxCount", INT32_MAX, 12, 1, 1},
                                           BlockCase{"HeaderOnly", 7, 12, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Path, BlockRoundTripsThroughAShapeStream) {
    RegisterSgSceneUnit();
    RegisterClass(TsgTestShape::StaticClassInfo());
    TsgTestShape shape(nullptr);
    shape.Path()->AddRectangle({0, 0, 10, 4}, 3, 3, AllCorners, sgCornerInnerLine);
    TMemoryStream bin;
    shape.SaveToBinStream(bin);
    bin.SetPosition(0);
    std::unique_ptr<TsgObject> back(CreateObjectFromBinStream(nullptr, bin));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(static_cast<TsgTestShape*>(back.get())->Path()->PathData, shape.Path()->PathData);
    // Unknown point kinds in a block are no points.
    std::vector<uint8_t> b = PathBlock(2, 12, 2);
    b[4] = 9;
    TBytesStream damaged(b);
    TsgPathData path;
    path.ReadPath(damaged);
    EXPECT_EQ(path.PathData.size(), 1u);
}

TEST(Path, BoundsIncludeControlPointsAndNeverCollapse) {
    TsgPathData path;
    EXPECT_EQ(path.GetBounds(), (TsgRect{}));
    path.MoveTo({3, 4});
    const TsgRect r = path.GetBounds();
    EXPECT_FLOAT_EQ(r.Left, 3);
    EXPECT_FLOAT_EQ(r.Right, 3.001f);
    EXPECT_FLOAT_EQ(r.Bottom, 4.001f);
    path.CurveTo({-5, 0}, {10, 20}, {4, 4});
    path.ClosePath();
    EXPECT_EQ(path.GetBounds(), (TsgRect{-5, 0, 10, 20}));
}

TEST(Path, ArcsFollowTheSegmentRule) {
    TsgPathData path;
    path.AddArc({0, 0}, {10, 10}, 0, 90);
    ASSERT_EQ(path.PathData.size(), 4u);
    EXPECT_EQ(path.PathData[0].Kind, M);
    EXPECT_NEAR(path.PathData[0].Point.X, 10, 1e-5);
    EXPECT_NEAR(path.PathData[0].Point.Y, 0, 1e-5);
    EXPECT_NEAR(path.PathData[3].Point.X, 0, 1e-5);
    EXPECT_NEAR(path.PathData[3].Point.Y, 10, 1e-5);
    // The midpoint of the cubic lies on the circle within the usual approximation error.
    const TsgPoint mid = {(path.PathData[0].Point.X + 3 * path.PathData[1].Point.X +
                           3 * path.PathData[2].Point.X + path.PathData[3].Point.X) /
                              8,
                          (path.PathData[0].Point.Y + 3 * path.PathData[1].Point.Y +
                           3 * path.PathData[2].Point.Y + path.PathData[3].Point.Y) /
                              8};
    EXPECT_NEAR(std::hypot(mid.X, mid.Y), 10, 0.01);

    TsgPathData two;
    two.LineTo({1, 1});
    two.AddArc({0, 0}, {10, 10}, 0, 180.005f);
    ASSERT_EQ(two.PathData.size(), 8u); // line, line to the start, two curves
    EXPECT_EQ(two.PathData[1].Kind, L);
    const TsgPoint end = two.PathData.back().Point;
    const float a = 180.005f * 3.14159265f / 180;
    EXPECT_NEAR(end.X, 10 * std::cos(a), 1e-4);
    EXPECT_NEAR(end.Y, 10 * std::sin(a), 1e-4);

    TsgPathData none;
    none.AddArc({0, 0}, {1, 1}, 0, 0);
    EXPECT_TRUE(none.IsEmpty());
}

TEST(Path, RectangleRadiiAreCorrectedToTheSides) {
    TsgPathData path;
    path.AddRectangle({0, 0, 10, 4}, 3, 3, AllCorners, sgCornerRound);
    // Move to the top-left entry (L, T + ry) with ry cut to 2; the first corner ends at (3, 0).
    EXPECT_EQ(path.PathData[0].Point, (TsgPoint{0, 2}));
    EXPECT_EQ(path.PathData[3].Point, (TsgPoint{3, 0}));
    EXPECT_EQ(path.PathData[1].Point, (TsgPoint{0, 1})); // A + 0.5 (K - A)
    EXPECT_EQ(path.PathData.back().Kind, Z);
    TsgPathData square;
    square.AddRectangle({0, 0, 10, 10}, 2, 2, sgCornerTopLeft, sgCornerBevel);
    // The top-right corner is not in the set: lines through the vertex.
    EXPECT_EQ(square.PathData[3].Point, (TsgPoint{10, 0}));
}

TEST(Path, FlattenUsesTheToleranceOfTheSmallerSide) {
    TsgPathData path;
    path.MoveTo({0, 0});
    path.CurveTo({0, 50}, {200, 50}, {200, 0});
    path.MoveTo({0, 50});
    // Tolerance 1 % of 50 = 0.5; |P3 - P1| = hypot(200, 50) = 206.2 gives 412 samples.
    TsgPolygon polygon;
    const TsgPoint size = path.FlattenToPolygon(polygon, 1);
    EXPECT_EQ(size, (TsgPoint{200, 50}));
    EXPECT_EQ(polygon.size(), 1u + 412u + 1u);
    path.Flatten(1);
    ASSERT_EQ(path.PathData.size(), 414u);
    // Every sample is the curve's point at its parameter (de Casteljau).
    for (size_t i = 1; i <= 412; ++i) {
        const double u = double(i - 1) / 411;
        auto lerp = [](double a, double b, double t) { return a + (b - a) * t; };
        const double p[4][2] = {{0, 0}, {0, 50}, {200, 50}, {200, 0}};
        double q[4][2];
        std::memcpy(q, p, sizeof p);
        for (int level = 3; level > 0; --level)
            for (int k = 0; k < level; ++k)
                for (int d = 0; d < 2; ++d)
                    q[k][d] = lerp(q[k][d], q[k + 1][d], u);
        EXPECT_EQ(path.PathData[i].Kind, L);
        EXPECT_NEAR(path.PathData[i].Point.X, q[0][0], 1e-3);
        EXPECT_NEAR(path.PathData[i].Point.Y, q[0][1], 1e-3);
    }
}

TEST(Path, FlattenToPolygonClosesFigures) {
    TsgPathData path;
    path.SetPathString("M 1,1 L 5,1 L 5,5 Z M 7,7 L 8,8");
    TsgPolygon polygon;
    path.FlattenToPolygon(polygon);
    const TsgPolygon expected = {{1, 1}, {5, 1}, {5, 5}, {1, 1}, ClosePolygon, {7, 7}, {8, 8}};
    EXPECT_EQ(polygon, expected);
}

TEST(Path, HugeCurvesFlattenToABoundedNumberOfLines) {
    TsgPathData path;
    path.SetPathString("M 0,0 C 0,1 1e30,1 1e30,0 M 0,0 C 0,1 1,1 1,0");
    path.Flatten(0);
    EXPECT_LT(path.PathData.size(), 10000u);
}

// SVG endpoint arcs against the svg.path oracle: start, end, and three points of the oracle's
// arc must lie on the flattened path.
TEST(Path, SvgArcsMatchTheOracle) {
    for (const std::string& line : OracleLines("svg_arcs.txt")) {
        std::istringstream in(line);
        float v[15];
        for (float& x : v)
            in >> x;
        ASSERT_FALSE(in.fail()) << line;
        TsgPathData path;
        path.MoveTo({v[0], v[1]});
        path.AddArcSvg({v[0], v[1]}, {v[2], v[3]}, v[4], v[5] == 1, v[6] == 1, {v[7], v[8]});
        const TsgPoint end = path.LastPoint();
        EXPECT_NEAR(end.X, v[7], 0.01) << line;
        EXPECT_NEAR(end.Y, v[8], 0.01) << line;
        TsgPolygon polygon;
        path.FlattenToPolygon(polygon, 0.01f);
        for (int s = 0; s < 3; ++s) {
            const double px = v[9 + 2 * s], py = v[10 + 2 * s];
            double best = 1e30;
            for (const TsgPoint& p : polygon)
                best = std::min(best, std::hypot(p.X - px, p.Y - py));
            const double scale = std::max({1.0, double(std::fabs(v[2])), double(std::fabs(v[3]))});
            EXPECT_LT(best, 0.01 * scale) << line << " sample " << s;
        }
    }
}

TEST(Path, DegenerateSvgArcs) {
    TsgPathData same;
    same.MoveTo({1, 1});
    same.AddArcSvg({1, 1}, {5, 5}, 0, false, true, {1, 1});
    EXPECT_EQ(same.PathData.size(), 1u);
    TsgPathData flat;
    flat.MoveTo({1, 1});
    flat.AddArcSvg({1, 1}, {0, 5}, 0, false, true, {4, 5});
    ASSERT_EQ(flat.PathData.size(), 2u);
    EXPECT_EQ(flat.PathData[1], (TsgPathPoint{L, {4, 5}}));
    TsgPathData text;
    text.SetPathString("M 0,0 a 5,5 0 0,1 10,0");
    EXPECT_NEAR(text.LastPoint().X, 10, 1e-4);
    EXPECT_NEAR(text.LastPoint().Y, 0, 1e-4);
}

TEST(Path, ResourcePathsLinkByNameAndLetGoWhenFreed) {
    RegisterSgSceneUnit();
    auto* resource = new TsgPathObject(nullptr);
    resource->SetResourceName(u"arrow");
    resource->Path()->SetPathString("M 0,0 L 1,1");
    TsgPathData path;
    path.SetResourceName(u"ARROW");
    ASSERT_EQ(path.ResourcePath(), resource->Path());
    TsgPathData copy;
    copy.Assign(&path);
    EXPECT_EQ(copy.Resource(), resource);
    delete resource;
    EXPECT_EQ(path.Resource(), nullptr);
    EXPECT_EQ(copy.Resource(), nullptr);
    EXPECT_EQ(path.ResourceName(), UnicodeString(u"ARROW"));
    EXPECT_EQ(path.ResourcePath(), nullptr);
}

} // namespace
