// Version probe and dispatch of LoadFromFile.
#include "DwxTestSupport.h"
#include "installer/dwx/Klasadwx.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace dwxtest;

namespace {

struct ProbeCase {
    const char* name;
    Bytes bytes;
    int probe;        // ReadFileVersion
    int loaded;       // LoadFromFile
    int versionAfter; // `version` after LoadFromFile
    bool contentKept; // the earlier mesh is still there
};

KlasaDwx WithOneMesh() {
    KlasaDwx dwx;
    dwx.definition.meshNames = {"earlier"};
    dwx.definition.meshValues = {1};
    dwx.definition.meshVertices = {{CpunktF{}}};
    dwx.definition.meshFaces = {{CfaceF{}}};
    return dwx;
}

} // namespace

TEST(DwxProbe, VersionByteDecidesTheReader) {
    const std::vector<ProbeCase> cases = {
        {"lower_case_magic", BytesOf("dwx\xcc"), -1, 0, 202, true},
        {"other_magic", BytesOf("DWY\xcc"), -1, 0, 202, true},
        {"empty", {}, -1, 0, 202, true},
        {"two_bytes", BytesOf("DW"), -1, 0, 202, true},
        {"version_without_reader", BytesOf("DWX\xcd trailing"), 205, 205, 205, true},
        {"version_zero", {'D', 'W', 'X', 0}, 0, 0, 0, true},
        // The bare magic keeps the object's version; its reader then finds nothing to read.
        {"bare_magic", BytesOf("DWX"), 202, 0, 0, false},
        {"truncated_204", BytesOf("DWX\xcc\x01\x02"), 204, 0, 0, false},
    };
    for (const ProbeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = ScratchFile(std::string("probe_") + c.name);
        WriteBytes(file, c.bytes);
        KlasaDwx probed;
        EXPECT_EQ(probed.ReadFileVersion(PathText(file)), c.probe);

        KlasaDwx dwx = WithOneMesh();
        EXPECT_EQ(dwx.LoadFromFile(PathText(file)), c.loaded);
        EXPECT_EQ(dwx.version, c.versionAfter);
        EXPECT_EQ(dwx.definition.meshNames.size(), c.contentKept ? 1u : 0u);
    }
}

TEST(DwxProbe, MissingFileAndFolderAreNoDwxFiles) {
    const auto missing = ScratchFile("missing.dwx");
    const auto folder = ScratchFile("folder.dwx");
    std::filesystem::create_directories(folder);
    for (const auto& path : {missing, folder}) {
        KlasaDwx dwx = WithOneMesh();
        EXPECT_EQ(dwx.ReadFileVersion(PathText(path)), -1);
        EXPECT_EQ(dwx.LoadFromFile(PathText(path)), 0);
        EXPECT_EQ(dwx.version, 202);
        EXPECT_EQ(dwx.definition.meshNames.size(), 1u);
    }
}

TEST(DwxProbe, EachKnownVersionLoadsThroughItsReader) {
    const std::vector<std::pair<int, std::string>> files = {
        {201,
         R"({"version":201,"scale":1.0,"meshes":[{"name":"a","points":[[1,2,3]],"faces":[[0,0,0,0,0]]}]})"},
        {202,
         R"({"version":202,"scale":1.0,"meshes":[{"name":"a","points":[[1,2,3]],"faces":[[0,0,0,0,0]]}]})"},
        {203,
         R"({"version":203,"scale":1.0,"meshes":[{"name":"a","points":[[1,2,3]],"faces":[[0,0,0,0,0]]}]})"},
        {204,
         R"({"version":204,"meshes":[{"name":"a","points":[[1,2,3]],"faces":[[0,0,0,0,0]]}]})"},
    };
    for (const auto& [version, json] : files) {
        SCOPED_TRACE(version);
        const auto file = Encoded(json, "probe_v" + std::to_string(version) + ".dwx");
        ASSERT_FALSE(file.empty());
        KlasaDwx dwx;
        EXPECT_EQ(dwx.ReadFileVersion(PathText(file)), version);
        EXPECT_EQ(dwx.LoadFromFile(PathText(file)), version) << dwx.lastProblem;
        EXPECT_TRUE(dwx.lastProblem.empty());
        ASSERT_EQ(dwx.definition.meshVertices.size(), 1u);
        EXPECT_EQ(dwx.definition.meshVertices[0][0].y, 2.0f);
    }
}
