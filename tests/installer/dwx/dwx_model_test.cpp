#include "DwxTestSupport.h"
#include "installer/dwx/Klasadwx.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace dwxtest;

TEST(DwxModel, NewObjectIsEmptyWithItsStartValues) {
    const KlasaDwx dwx;
    EXPECT_EQ(dwx.version, 202);
    EXPECT_EQ(dwx.dimensionTenths, (std::array<int16_t, 3>{0, 0, 0}));
    EXPECT_EQ(dwx.dimensions, (std::array<float, 3>{0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(dwx.factors, (std::array<double, 4>{1.0, 1.0, 1.0, 1.0}));
    EXPECT_TRUE(dwx.text.IsEmpty());
    EXPECT_TRUE(dwx.faceFlags.empty());
    const DefinicjaObiektu& d = dwx.definition;
    EXPECT_TRUE(d.meshNames.empty() && d.meshFaces.empty() && d.meshVertices.empty());
    EXPECT_TRUE(d.circleNames.empty() && d.lineNames.empty() && d.polylineNames.empty() &&
                d.arcNames.empty());
    EXPECT_EQ(d.boundsMin[0], 1e38f);
    EXPECT_EQ(d.boundsMax[2], -1e38f);
}

TEST(DwxModel, ObjectWithoutMeshWritesNoFile) {
    KlasaDwx dwx;
    dwx.definition.circleNames = {"Layer"};
    dwx.definition.circleValues = {1};
    dwx.definition.circles = {{CCircle{}}};
    const auto target = ScratchFile("no_mesh.dwx");
    for (uint8_t version : {0, 202, 203, 204}) {
        EXPECT_FALSE(dwx.SaveToFile(PathText(target), version));
        EXPECT_FALSE(std::filesystem::exists(target));
        EXPECT_EQ(dwx.version, 202);
        EXPECT_FALSE(dwx.lastProblem.empty());
    }
}
