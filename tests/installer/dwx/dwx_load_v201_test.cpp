// The reader of version 201: dropped records, shifted corners, dimensions cleared afterwards.
#include "DwxTestSupport.h"
#include "installer/dwx/Klasadwx.h"

#include <gtest/gtest.h>

using namespace dwxtest;

namespace {

std::string Square201(const std::string& records) {
    return R"({"version":201,"dimensionTenths":[100,200,-50],"records":)" + records +
           R"(,"scale":1.0,"scaleDimensions":[9,9,9],"meshes":[
        {"name":"Quad","value":42,"points":[[10,20,0],[-5,0,7],[0,0,0],[1,1,1]],
         "faces":[[7,0,1,2,3],[8,3,2,1,0]]}]})";
}

} // namespace

TEST(DwxLoadV201, CornersAreVerticesShiftedByTheHeaderDimensions) {
    for (const std::string records : {"[]", R"(["000102030405060708090a0b", 255])"}) {
        SCOPED_TRACE(records);
        const auto file = Encoded(Square201(records), "square201.dwx");
        KlasaDwx dwx;
        ASSERT_EQ(dwx.LoadFromFile(PathText(file)), 201) << dwx.lastProblem;
        const DefinicjaObiektu& d = dwx.definition;
        EXPECT_EQ(d.meshNames, (std::vector<AnsiString>{"Quad"}));
        EXPECT_EQ(d.meshValues, (std::vector<int32_t>{42}));
        const CpunktF& vertex = d.meshVertices[0][0];
        EXPECT_EQ(vertex.x, 10.0f);
        EXPECT_EQ(vertex.y, 20.0f);
        const CfaceF& face = d.meshFaces[0][0];
        EXPECT_EQ(face.flag, 7);
        EXPECT_EQ(d.meshFaces[0][1].flag, 8); // flag byte f goes to face f
        EXPECT_EQ(face.corners[0].x, 0.0f);
        EXPECT_EQ(face.corners[0].y, 0.0f);
        EXPECT_EQ(face.corners[0].z, 5.0f);
        EXPECT_EQ(face.corners[1].x, -15.0f);
        EXPECT_EQ(dwx.scale, 1.0f);
        EXPECT_EQ(dwx.dimensions, (std::array<float, 3>{0.0f, 0.0f, 0.0f}));
        EXPECT_EQ(d.dimensions, dwx.dimensions);
        EXPECT_EQ(dwx.dimensionTenths, (std::array<int16_t, 3>{0, 0, 0}));
        // No layer sections in version 201.
        EXPECT_TRUE(d.circleNames.empty() && d.lineNames.empty() && d.polylineNames.empty() &&
                    d.arcNames.empty() && d.circles.empty() && d.polylines.empty());
    }
}

TEST(DwxLoadV201, NoMeshKeepsFaceFlagsAndStillClearsTheDimensions) {
    const auto file =
        Encoded(R"({"version":201,"dimensionTenths":[100,200,-50],"scale":1.0,"meshes":[]})",
                "nomesh201.dwx");
    KlasaDwx dwx;
    dwx.faceFlags = {3, 4};
    ASSERT_EQ(dwx.LoadFromFile(PathText(file)), 201) << dwx.lastProblem;
    EXPECT_EQ(dwx.faceFlags, (std::vector<uint8_t>{3, 4}));
    EXPECT_EQ(dwx.dimensions, (std::array<float, 3>{0.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(dwx.definition.meshNames.empty());
}

TEST(DwxLoadV201, ReadsAllOfAFullByteMeshCount) {
    std::string meshes;
    for (int i = 0; i < 255; ++i) {
        meshes += std::string(i ? "," : "") + R"({"name":"m)" + std::to_string(i) +
                  R"(","value":)" + std::to_string(i) + R"(,"points":[[1,2,3]],"faces":[]})";
    }
    const auto file =
        Encoded(R"({"version":201,"scale":10.0,"meshes":[)" + meshes + "]}", "many201.dwx");
    KlasaDwx dwx;
    ASSERT_EQ(dwx.LoadFromFile(PathText(file)), 201) << dwx.lastProblem;
    ASSERT_EQ(dwx.definition.meshNames.size(), 255u);
    EXPECT_EQ(dwx.definition.meshNames[254], AnsiString("m254"));
    EXPECT_EQ(dwx.definition.meshValues[254], 254);
    EXPECT_EQ(dwx.definition.meshVertices[254][0].z, 0.3f);
}

TEST(DwxLoadV201, NegativeRecordCountReadsNoRecord) {
    // Header, record count -1, then the scale block and no mesh.
    Bytes bytes = BytesOf("DWX\xc9");
    bytes.resize(10, 0);
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(0xFF);
    }
    const Bytes scaleBlock = {0, 0, 0x80, 0x3f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    bytes.insert(bytes.end(), scaleBlock.begin(), scaleBlock.end());
    bytes.push_back(0); // mesh count
    const auto file = ScratchFile("negative201.dwx");
    WriteBytes(file, bytes);
    KlasaDwx dwx;
    EXPECT_EQ(dwx.LoadFromFile(PathText(file)), 201) << dwx.lastProblem;
    EXPECT_EQ(dwx.scale, 1.0f);
}
