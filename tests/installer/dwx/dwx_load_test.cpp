// What the readers of versions 202, 203 and 204 put into the object.
#include "DwxTestSupport.h"
#include "installer/dwx/Klasadwx.h"

#include <gtest/gtest.h>

using namespace dwxtest;

namespace {

KlasaDwx Loaded(const std::string& json, const std::string& name, int expectedVersion) {
    const auto file = Encoded(json, name);
    KlasaDwx dwx;
    EXPECT_FALSE(file.empty());
    EXPECT_EQ(dwx.LoadFromFile(PathText(file)), expectedVersion) << dwx.lastProblem;
    return dwx;
}

void ExpectPoint(const CpunktF& p, float x, float y, float z) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, z);
}

void ExpectCornersAreTheirVertices(const KlasaDwx& dwx) {
    const DefinicjaObiektu& d = dwx.definition;
    ASSERT_EQ(d.meshFaces.size(), d.meshVertices.size());
    for (size_t m = 0; m < d.meshFaces.size(); ++m) {
        for (const CfaceF& face : d.meshFaces[m]) {
            for (int k = 0; k < 4; ++k) {
                const CpunktF& vertex = d.meshVertices[m].at(face.indices[k]);
                ExpectPoint(face.corners[k], vertex.x, vertex.y, vertex.z);
            }
        }
    }
}

// Every layer kind, two meshes, flags and all four index positions in use.
std::string RichDescription(int version) {
    const bool floats = version == 204;
    return std::string(R"({"version":)") + std::to_string(version) +
           R"(,"dimensionTenths":[600,-25,0],"dimensions":[12.34,0,-5],"scale":10.0,
        "scaleDimensions":[12.5,3.0,7.0],
        "circles":[{"name":"Circles","value":-7,"records":[1,2]},{"name":"Empty","value":9}],
        "lines":[{"name":"Lines","value":3,"records":[5]}],
        "polylines":[{"name":"Poly","value":4,"polylines":[
            {"flag":6,"block":7,"vertices":[[1.5,-2.5,3.25,0.5],[4,5,6,7]]},
            {"flag":1,"block":0,"vertices":[]}]}],
        "arcs":[{"name":"Arcs","value":8,"records":[255]}],
        "meshes":[{"name":"First","value":11,"points":)" +
           (floats ? "[[0.5,1.9,-1.9],[10,-20,0.5],[3,4,5],[-6,7,-8]]"
                   : "[[100,-200,5],[0,1,2],[-32768,32767,0],[7,8,9]]") +
           R"(,"faces":[[1,0,1,2,3],[2,3,2,1,0]]},
                  {"name":"Second","value":-12,"points":[[1,1,1],[2,2,2]],"faces":[[9,1,0,1,0]]}]})";
}

} // namespace

TEST(DwxLoad, Version202DerivesDimensionsFromTheHeaderTenths) {
    const KlasaDwx dwx = Loaded(RichDescription(202), "rich202.dwx", 202);
    EXPECT_EQ(dwx.dimensionTenths, (std::array<int16_t, 3>{600, -25, 0}));
    EXPECT_EQ(dwx.dimensions, (std::array<float, 3>{60.0f, -2.5f, 0.0f}));
    EXPECT_EQ(dwx.definition.dimensions, dwx.dimensions);
    EXPECT_EQ(dwx.scale, 10.0f);
    ExpectPoint(dwx.definition.meshVertices[0][0], 10.0f, -20.0f, 0.5f);
    ExpectPoint(dwx.definition.meshVertices[0][2], -3276.8f, 3276.7f, 0.0f);
}

TEST(DwxLoad, Version203TakesDimensionsFromTheScaleBlock) {
    const KlasaDwx dwx = Loaded(RichDescription(203), "rich203.dwx", 203);
    EXPECT_EQ(dwx.dimensionTenths, (std::array<int16_t, 3>{600, -25, 0}));
    EXPECT_EQ(dwx.dimensions, (std::array<float, 3>{12.5f, 3.0f, 7.0f}));
    EXPECT_EQ(dwx.definition.dimensions, dwx.dimensions);
    ExpectPoint(dwx.definition.meshVertices[0][0], 10.0f, -20.0f, 0.5f);
}

TEST(DwxLoad, Version204DerivesTenthsAndUnitScale) {
    const KlasaDwx dwx = Loaded(RichDescription(204), "rich204.dwx", 204);
    EXPECT_EQ(dwx.dimensions, (std::array<float, 3>{12.34f, 0.0f, -5.0f}));
    EXPECT_EQ(dwx.definition.dimensions, dwx.dimensions);
    EXPECT_EQ(dwx.dimensionTenths, (std::array<int16_t, 3>{123, 0, -50}));
    EXPECT_EQ(dwx.scale, 1.0f);
    ExpectPoint(dwx.definition.meshVertices[0][0], 0.5f, 1.9f, -1.9f);
}

TEST(DwxLoad, LayersMeshesFlagsAndCornersOfEveryVersion) {
    for (int version : {202, 203, 204}) {
        SCOPED_TRACE(version);
        const KlasaDwx dwx =
            Loaded(RichDescription(version), "rich_" + std::to_string(version), version);
        const DefinicjaObiektu& d = dwx.definition;
        EXPECT_EQ(d.circleNames, (std::vector<AnsiString>{"Circles", "Empty"}));
        EXPECT_EQ(d.circleValues, (std::vector<int32_t>{-7, 9}));
        ASSERT_EQ(d.circles.size(), 2u);
        ASSERT_EQ(d.circles[0].size(), 2u);
        EXPECT_EQ(d.circles[0][1].bytes[55], 2);
        EXPECT_TRUE(d.circles[1].empty()); // a layer without entities keeps name and value
        ASSERT_EQ(d.lines.size(), 1u);
        EXPECT_EQ(d.lines[0][0].bytes[47], 5);
        EXPECT_EQ(d.arcNames, (std::vector<AnsiString>{"Arcs"}));
        EXPECT_EQ(d.arcs[0][0].bytes[71], 255);
        ASSERT_EQ(d.polylines.size(), 1u);
        ASSERT_EQ(d.polylines[0].size(), 2u);
        const CPoly& poly = d.polylines[0][0];
        EXPECT_EQ(poly.flag, 6);
        EXPECT_EQ(poly.block[23], 7);
        ASSERT_EQ(poly.vertices.size(), 2u);
        EXPECT_EQ(poly.vertices[0].position.y, -2.5);
        EXPECT_EQ(poly.vertices[0].value, 0.5);
        EXPECT_EQ(poly.vertices[1].value, 7.0);
        EXPECT_TRUE(d.polylines[0][1].vertices.empty());

        EXPECT_EQ(d.meshNames, (std::vector<AnsiString>{"First", "Second"}));
        EXPECT_EQ(d.meshValues, (std::vector<int32_t>{11, -12}));
        ASSERT_EQ(d.meshFaces[0].size(), 2u);
        EXPECT_EQ(d.meshFaces[0][1].flag, 2);
        EXPECT_EQ(d.meshFaces[0][1].indices, (std::array<int32_t, 4>{3, 2, 1, 0}));
        // faceFlags holds the flag block of the last mesh.
        EXPECT_EQ(dwx.faceFlags, (std::vector<uint8_t>{9}));
        ExpectCornersAreTheirVertices(dwx);
    }
}

TEST(DwxLoad, NameStopsAtTheFirstZeroByte) {
    // "Layer1", a zero, then bytes without meaning.
    const std::string field = "4c6179657231"
                              "00"
                              "41424344454647484941424344454647484941424344454647";
    const KlasaDwx dwx = Loaded(R"({"version":204,"circles":[{"nameField":")" + field +
                                    R"(","value":1}],"meshes":[{"nameField":")" + field +
                                    R"(","points":[[0,0,0]],"faces":[]}]})",
                                "name_field.dwx", 204);
    EXPECT_EQ(dwx.definition.circleNames[0], AnsiString("Layer1"));
    EXPECT_EQ(dwx.definition.meshNames[0], AnsiString("Layer1"));
}

TEST(DwxLoad, LastMeshWithoutFacesLeavesFaceFlagsEmpty) {
    const KlasaDwx dwx = Loaded(
        R"({"version":203,"scale":1.0,"meshes":[
            {"name":"a","points":[[0,0,0]],"faces":[[4,0,0,0,0]]},
            {"name":"b","points":[[0,0,0]],"faces":[[5,0,0,0,0],[6,0,0,0,0]]},
            {"name":"c","points":[],"faces":[]}]})",
        "no_faces_last.dwx", 203);
    EXPECT_TRUE(dwx.faceFlags.empty());
    EXPECT_EQ(dwx.definition.meshFaces[1][1].flag, 6);
}

TEST(DwxLoad, LayersWithoutMeshesGiveEmptyMeshLists) {
    KlasaDwx dwx = Loaded(R"({"version":204,"lines":[{"name":"L","value":1,"records":[1]}]})",
                          "no_meshes.dwx", 204);
    EXPECT_TRUE(dwx.definition.meshNames.empty());
    EXPECT_TRUE(dwx.definition.meshFaces.empty());
    EXPECT_EQ(dwx.definition.lines.size(), 1u);
}

TEST(DwxLoad, IndexWidthOfVersion204FollowsThePointCount) {
    for (int points : {255, 256, 300}) {
        SCOPED_TRACE(points);
        std::string list;
        for (int i = 0; i < points; ++i) {
            list += (i ? ",[" : "[") + std::to_string(i) + ",0,0]";
        }
        const int last = points - 1;
        const std::string face =
            "[3," + std::to_string(last) + ",0,1," + std::to_string(last - 1) + "]";
        const KlasaDwx dwx = Loaded(R"({"version":204,"meshes":[{"name":"w","points":[)" + list +
                                        R"(],"faces":[)" + face + "," + face + "]}]}",
                                    "width" + std::to_string(points) + ".dwx", 204);
        const CfaceF& second = dwx.definition.meshFaces[0][1];
        EXPECT_EQ(second.indices, (std::array<int32_t, 4>{last, 0, 1, last - 1}));
        EXPECT_EQ(second.corners[0].x, static_cast<float>(last));
    }
}

TEST(DwxLoad, Version203CountsHaveTwentyFourBits) {
    std::string list;
    for (int i = 0; i < 65536; ++i) {
        list += i ? ",[1,2,3]" : "[1,2,3]";
    }
    const KlasaDwx dwx = Loaded(R"({"version":203,"scale":2.0,"meshes":[{"name":"big","points":[)" +
                                    list + R"(],"faces":[[0,65535,0,1,2]]}]})",
                                "count65536.dwx", 203);
    ASSERT_EQ(dwx.definition.meshVertices[0].size(), 65536u);
    EXPECT_EQ(dwx.definition.meshFaces[0][0].indices[0], 65535);
    ExpectPoint(dwx.definition.meshFaces[0][0].corners[0], 0.5f, 1.0f, 1.5f);
}

TEST(DwxLoad, SecondLoadGivesTheSameContentAndLeavesOtherFieldsAlone) {
    const auto file = Encoded(RichDescription(204), "twice.dwx");
    KlasaDwx once;
    ASSERT_EQ(once.LoadFromFile(PathText(file)), 204);
    KlasaDwx twice;
    twice.factors = {2.0, 3.0, 4.0, 5.0};
    twice.text = "kept";
    twice.definition.faceNormals = {{FNormalsD{1.0, 0.0, 0.0}}};
    twice.definition.boundsMin = {1.0f, 2.0f, 3.0f};
    ASSERT_EQ(twice.LoadFromFile(PathText(file)), 204);
    ASSERT_EQ(twice.LoadFromFile(PathText(file)), 204);
    EXPECT_EQ(twice.definition.meshNames, once.definition.meshNames);
    EXPECT_EQ(twice.definition.circleNames, once.definition.circleNames);
    EXPECT_EQ(twice.definition.meshFaces[0].size(), once.definition.meshFaces[0].size());
    EXPECT_EQ(twice.definition.meshVertices[1].size(), once.definition.meshVertices[1].size());
    EXPECT_EQ(twice.definition.polylines[0].size(), once.definition.polylines[0].size());
    EXPECT_EQ(twice.factors, (std::array<double, 4>{2.0, 3.0, 4.0, 5.0}));
    EXPECT_EQ(twice.text, AnsiString("kept"));
    EXPECT_EQ(twice.definition.faceNormals.size(), 1u);
    EXPECT_EQ(twice.definition.boundsMin[1], 2.0f);
}

TEST(DwxLoad, LaterLoadsReuseTheMemoryOfTheMeshLists) {
    const auto big = Encoded(RichDescription(204), "reuse_big.dwx");
    const auto small = Encoded(RichDescription(203), "reuse_small.dwx");
    KlasaDwx fresh;
    ASSERT_EQ(fresh.LoadFromFile(PathText(small)), 203);
    KlasaDwx dwx;
    ASSERT_EQ(dwx.LoadFromFile(PathText(big)), 204);
    const CfaceF* faces = dwx.definition.meshFaces[0].data();
    ASSERT_EQ(dwx.LoadFromFile(PathText(big)), 204);
    EXPECT_EQ(dwx.definition.meshFaces[0].data(), faces);
    // Another file in the same object reads exactly what a fresh object reads.
    ASSERT_EQ(dwx.LoadFromFile(PathText(small)), 203);
    ASSERT_EQ(dwx.definition.meshFaces.size(), fresh.definition.meshFaces.size());
    for (size_t m = 0; m < fresh.definition.meshFaces.size(); ++m) {
        ASSERT_EQ(dwx.definition.meshFaces[m].size(), fresh.definition.meshFaces[m].size());
        ASSERT_EQ(dwx.definition.meshVertices[m].size(), fresh.definition.meshVertices[m].size());
        for (size_t f = 0; f < fresh.definition.meshFaces[m].size(); ++f) {
            EXPECT_EQ(dwx.definition.meshFaces[m][f].indices,
                      fresh.definition.meshFaces[m][f].indices);
            EXPECT_EQ(dwx.definition.meshFaces[m][f].flag, fresh.definition.meshFaces[m][f].flag);
        }
    }
    EXPECT_EQ(dwx.definition.meshNames, fresh.definition.meshNames);
    EXPECT_EQ(dwx.faceFlags, fresh.faceFlags);
}
