// Writing: version choice, scaled points, the index warning, refusals and the safe replacement.
#include "DwxTestSupport.h"
#include "installer/dwx/DwxFileReplacement.h"
#include "installer/dwx/DwxIndexWarning.h"
#include "installer/dwx/Klasadwx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>

using namespace dwxtest;
namespace fs = std::filesystem;

namespace {

// One mesh of four points and one face over them.
KlasaDwx Quad(float scale = 10.0f) {
    KlasaDwx dwx;
    dwx.scale = scale;
    DefinicjaObiektu& d = dwx.definition;
    d.meshNames = {"Quad"};
    d.meshValues = {5};
    d.meshVertices = {
        {{0.0f, 0.0f, 0.0f}, {1.25f, 0.0f, 0.0f}, {-1.25f, 1.0f, 0.0f}, {0.0f, 1.0f, 2.0f}}};
    CfaceF face;
    face.flag = 3;
    face.indices = {0, 1, 2, 3};
    d.meshFaces = {{face}};
    return dwx;
}

// Collects the index warnings instead of showing them.
class WarningLog {
public:
    WarningLog() {
        previous_ = SetDwxIndexWarningHandler(
            [this](const UnicodeString& text) { lines.push_back(text.ToUtf8()); });
    }
    ~WarningLog() { SetDwxIndexWarningHandler(previous_); }
    std::vector<std::string> lines;

private:
    DwxIndexWarningHandler previous_;
};

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files.push_back(entry.path().filename());
    }
    return files;
}

} // namespace

TEST(DwxSave, RequestedVersionChoosesTheWriter) {
    struct Case {
        uint8_t requested;
        uint8_t objectVersion;
        uint8_t fileByte;
        uint8_t versionAfter;
    };
    const std::vector<Case> cases = {
        {0, 204, 204, 204},   {0, 203, 203, 203},   {201, 204, 202, 201},
        {202, 204, 202, 202}, {203, 204, 203, 203}, {205, 202, 204, 205},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.requested) * 1000 + c.objectVersion);
        KlasaDwx dwx = Quad();
        dwx.version = c.objectVersion;
        const auto file = ScratchFile("choose.dwx");
        ASSERT_TRUE(dwx.SaveToFile(PathText(file), c.requested)) << dwx.lastProblem;
        const Bytes bytes = ReadBytes(file);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(bytes[3], c.fileByte);
        EXPECT_EQ(dwx.version, c.versionAfter);
        KlasaDwx back;
        EXPECT_EQ(back.LoadFromFile(PathText(file)), c.fileByte) << back.lastProblem;
    }
}

TEST(DwxSave, ScaledPointsAreTruncatedTowardZero) {
    for (uint8_t version : {202, 203}) {
        SCOPED_TRACE(int(version));
        KlasaDwx dwx = Quad(10.0f);
        const auto file = ScratchFile("truncated.dwx");
        ASSERT_TRUE(dwx.SaveToFile(PathText(file), version)) << dwx.lastProblem;
        KlasaDwx back;
        ASSERT_EQ(back.LoadFromFile(PathText(file)), version);
        EXPECT_EQ(back.definition.meshVertices[0][1].x, 1.2f);  // 12 / 10
        EXPECT_EQ(back.definition.meshVertices[0][2].x, -1.2f); // -12 / 10
    }
    // A version-204 object has the scale 1.0: whole numbers, cut toward zero.
    const auto source = Encoded(
        R"({"version":204,"meshes":[{"name":"m","points":[[1.9,-1.9,0.999],[-0.5,2,3]],
            "faces":[[0,0,1,0,1]]}]})",
        "to_whole.dwx");
    KlasaDwx dwx;
    ASSERT_EQ(dwx.LoadFromFile(PathText(source)), 204);
    const auto file = ScratchFile("whole203.dwx");
    ASSERT_TRUE(dwx.SaveToFile(PathText(file), 203)) << dwx.lastProblem;
    KlasaDwx back;
    ASSERT_EQ(back.LoadFromFile(PathText(file)), 203);
    const CpunktF& p = back.definition.meshVertices[0][0];
    EXPECT_EQ(p.x, 1.0f);
    EXPECT_EQ(p.y, -1.0f);
    EXPECT_EQ(p.z, 0.0f);
    EXPECT_EQ(back.definition.meshVertices[0][1].x, 0.0f);
}

TEST(DwxSave, EveryStoredPointSurvivesAScaledRewrite) {
    // Each 16-bit value read with these scales and written again must come back unchanged.
    for (float scale : {10.0f, 3.0f, 0.1f, 7.3f, 1.0f, 1000.0f}) {
        SCOPED_TRACE(scale);
        KlasaDwx dwx = Quad(scale);
        vcV& vertices = dwx.definition.meshVertices[0];
        vertices.clear();
        for (int stored = -32768; stored <= 32767; stored += 3) {
            const float a = static_cast<float>(stored) / scale;
            const float b = static_cast<float>(std::min(stored + 1, 32767)) / scale;
            const float c = static_cast<float>(std::min(stored + 2, 32767)) / scale;
            vertices.push_back({a, b, c});
        }
        const auto file = ScratchFile("rewrite.dwx");
        ASSERT_TRUE(dwx.SaveToFile(PathText(file), 203)) << dwx.lastProblem;
        KlasaDwx back;
        ASSERT_EQ(back.LoadFromFile(PathText(file)), 203);
        const vcV& read = back.definition.meshVertices[0];
        ASSERT_EQ(read.size(), vertices.size());
        size_t moved = 0;
        for (size_t i = 0; i < read.size(); ++i) {
            moved += read[i].x != vertices[i].x || read[i].y != vertices[i].y ||
                     read[i].z != vertices[i].z;
        }
        EXPECT_EQ(moved, 0u);
    }
}

TEST(DwxSave, IndexBeyondThePointsIsWarnedAboutAndWritten) {
    struct Case {
        uint8_t version;
        size_t indexBlockBytes;
        bool warns;
    };
    for (const Case c : {Case{203, 12, true}, Case{204, 4, true}, Case{202, 8, false}}) {
        SCOPED_TRACE(int(c.version));
        KlasaDwx dwx = Quad();
        dwx.definition.meshFaces[0][0].indices = {0, 4, 2, 3};
        WarningLog log;
        const auto file = ScratchFile("stray_index.dwx");
        ASSERT_TRUE(dwx.SaveToFile(PathText(file), c.version)) << dwx.lastProblem;
        EXPECT_EQ(log.lines,
                  c.warns ? std::vector<std::string>{"4 >= 4"} : std::vector<std::string>{});
        const Bytes bytes = ReadBytes(file);
        const size_t width = c.indexBlockBytes / 4;
        EXPECT_EQ(bytes[bytes.size() - c.indexBlockBytes + width], 4); // the index as it is
        // Such a file names a vertex that does not exist, so it does not load.
        KlasaDwx back;
        EXPECT_EQ(back.LoadFromFile(PathText(file)), 0);
    }
}

TEST(DwxSave, WarningGoesToStandardErrorWithoutAHandler) {
    KlasaDwx dwx = Quad();
    dwx.definition.meshFaces[0][0].indices = {7, 0, 1, 2};
    dwx.definition.meshVertices[0].resize(5);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(dwx.SaveToFile(PathText(ScratchFile("stderr.dwx")), 204));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "7 >= 5\n");
}

TEST(DwxSave, LayerWithoutEntitiesIsNameValueAndZeroCount) {
    KlasaDwx dwx = Quad();
    dwx.definition.arcNames = {"Arcs"};
    dwx.definition.arcValues = {-3};
    dwx.definition.arcs = {{}};
    const auto file = ScratchFile("empty_layer.dwx");
    ASSERT_TRUE(dwx.SaveToFile(PathText(file), 204));
    KlasaDwx plain = Quad();
    const auto plainFile = ScratchFile("plain.dwx");
    ASSERT_TRUE(plain.SaveToFile(PathText(plainFile), 204));
    EXPECT_EQ(ReadBytes(file).size(), ReadBytes(plainFile).size() + 32 + 4 + 4);
    KlasaDwx back;
    ASSERT_EQ(back.LoadFromFile(PathText(file)), 204);
    EXPECT_EQ(back.definition.arcNames, (std::vector<AnsiString>{"Arcs"}));
    EXPECT_EQ(back.definition.arcValues, (std::vector<int32_t>{-3}));
    EXPECT_TRUE(back.definition.arcs.at(0).empty());
}

TEST(DwxSave, ModelTheVersionCannotHoldIsRefusedAndTheTargetKept) {
    struct Case {
        const char* name;
        uint8_t version;
        void (*spoil)(KlasaDwx&);
    };
    const std::vector<Case> cases = {
        {"256_meshes_in_202", 202,
         [](KlasaDwx& k) {
             auto& d = k.definition;
             d.meshNames.resize(256, "m");
             d.meshValues.resize(256);
             d.meshVertices.resize(256);
             d.meshFaces.resize(256);
         }},
        {"65536_points_in_202", 202,
         [](KlasaDwx& k) { k.definition.meshVertices[0].resize(65536); }},
        {"coordinate_beyond_16_bits", 203,
         [](KlasaDwx& k) { k.definition.meshVertices[0][1].x = 3276.8f; }},
        {"negative_coordinate_beyond_16_bits", 202,
         [](KlasaDwx& k) { k.definition.meshVertices[0][1].y = -3277.0f; }},
        {"not_a_number", 203,
         [](KlasaDwx& k) {
             k.definition.meshVertices[0][2].z = std::numeric_limits<float>::quiet_NaN();
         }},
        {"infinite", 202,
         [](KlasaDwx& k) {
             k.definition.meshVertices[0][0].x = std::numeric_limits<float>::infinity();
         }},
        {"index_wider_than_its_field", 204,
         [](KlasaDwx& k) { k.definition.meshFaces[0][0].indices[2] = 300; }},
        {"negative_index_in_203", 203,
         [](KlasaDwx& k) { k.definition.meshFaces[0][0].indices[0] = -1; }},
        {"name_of_32_bytes", 204,
         [](KlasaDwx& k) { k.definition.meshNames[0] = AnsiString(std::string(32, 'n')); }},
        {"name_with_a_zero", 203,
         [](KlasaDwx& k) { k.definition.meshNames[0] = AnsiString(std::string("a\0b", 3)); }},
        {"layer_name_of_32_bytes", 203,
         [](KlasaDwx& k) {
             k.definition.lineNames = {AnsiString(std::string(32, 'l'))};
             k.definition.lineValues = {1};
             k.definition.lines = {{}};
         }},
        // A version-204 dimension of 4000 has tenths that wrap in 16 bits; only version 202
        // keeps nothing else of it.
        {"dimension_beyond_16_bit_tenths", 202,
         [](KlasaDwx& k) {
             k.dimensions = {1.0f, 4000.0f, 0.0f};
             k.dimensionTenths = {10, -25536, 0};
         }},
        {"dimension_not_a_number_in_202", 202,
         [](KlasaDwx& k) { k.dimensions[2] = std::numeric_limits<float>::quiet_NaN(); }},
        {"mesh_values_missing", 204, [](KlasaDwx& k) { k.definition.meshValues.clear(); }},
        {"face_list_missing", 203, [](KlasaDwx& k) { k.definition.meshFaces.push_back({}); }},
        {"circle_values_missing", 204,
         [](KlasaDwx& k) {
             k.definition.circleNames = {"c"};
             k.definition.circles = {{}};
         }},
    };
    const fs::path folder = ScratchFile("refusals");
    fs::create_directories(folder);
    const fs::path target = folder / "drawing.dwx";
    const Bytes original = BytesOf("DWX\xcc the user's drawing");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(target, original);
        KlasaDwx dwx = Quad();
        dwx.version = 204;
        c.spoil(dwx);
        WarningLog quiet;
        EXPECT_FALSE(dwx.SaveToFile(PathText(target), c.version));
        EXPECT_FALSE(dwx.lastProblem.empty());
        EXPECT_EQ(dwx.version, 204);
        EXPECT_EQ(ReadBytes(target), original);
        EXPECT_EQ(FilesIn(folder), std::vector<fs::path>{"drawing.dwx"});
    }
}

TEST(DwxSave, FolderThatCannotTakeTheFileGivesFalse) {
    KlasaDwx dwx = Quad();
    EXPECT_FALSE(dwx.SaveToFile(PathText(ScratchFile("no_such_folder") / "a.dwx"), 203));
    EXPECT_FALSE(dwx.lastProblem.empty());
    EXPECT_EQ(dwx.version, 202);
}

TEST(DwxSave, ReplacementKeepsPermissionsLinksAndLeavesNoTemporaryFile) {
    const fs::path folder = ScratchFile("replace");
    fs::create_directories(folder);
    const fs::path real = folder / "real.dwx";
    const fs::path link = folder / "link.dwx";
    WriteBytes(real, BytesOf("old content"));
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.dwx", link);

    KlasaDwx dwx = Quad();
    ASSERT_TRUE(dwx.SaveToFile(PathText(link), 203)) << dwx.lastProblem;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    KlasaDwx back;
    EXPECT_EQ(back.LoadFromFile(PathText(real)), 203);
    auto files = FilesIn(folder);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<fs::path>{"link.dwx", "real.dwx"}));
}

TEST(DwxSave, TemporaryFilesOfOursAreToldApartByName) {
    EXPECT_EQ(TemporaryFileOwner(".a.dwx.tmp123456"), "a.dwx");
    EXPECT_EQ(TemporaryFileOwner(".my.drawing.dwx.tmp7"), "my.drawing.dwx");
    EXPECT_EQ(TemporaryFileOwner(".a.dwx.tmp1234567"), "");
    EXPECT_EQ(TemporaryFileOwner(".a.dwx.tmp"), "");
    EXPECT_EQ(TemporaryFileOwner(".a.dwx.tmp12x"), "");
    EXPECT_EQ(TemporaryFileOwner("a.dwx.tmp12"), "");
    EXPECT_EQ(TemporaryFileOwner("..tmp12"), "");
    EXPECT_EQ(TemporaryFileOwner("a.dwx"), "");
}

TEST(DwxSave, FileAndFolderReachTheDiskAroundTheRename) {
    const fs::path tool = fs::path(DBI_BINARY_DIR) / "tools/dwx_tool";
    if (std::system("command -v strace >/dev/null 2>&1") != 0 || !fs::exists(tool)) {
        GTEST_SKIP() << "strace or dwx_tool is missing";
    }
    const fs::path folder = ScratchFile("synced");
    fs::create_directories(folder);
    const fs::path drawing = folder / "d.dwx";
    KlasaDwx dwx = Quad();
    ASSERT_TRUE(dwx.SaveToFile(PathText(drawing), 204));
    // The system calls of a rewrite by the tool, in order. The leak checker cannot run under a
    // tracer, so a sanitizer build of the tool is traced without it.
    const fs::path trace = folder / "trace.txt";
    const std::string command = "ASAN_OPTIONS=detect_leaks=0 strace -f -qq -e "
                                "trace=fsync,fdatasync,rename,renameat,renameat2 -o '" +
                                trace.string() + "' '" + tool.string() + "' convert '" +
                                drawing.string() + "' '" + drawing.string() +
                                "' 203 >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const Bytes bytes = ReadBytes(trace);
    const std::string text(bytes.begin(), bytes.end());
    const size_t fileSync = text.find("fsync(");
    const size_t rename = text.find("rename");
    const size_t folderSync = text.find("fsync(", rename);
    EXPECT_NE(fileSync, std::string::npos) << text;
    EXPECT_NE(rename, std::string::npos) << text;
    EXPECT_LT(fileSync, rename) << text;
    EXPECT_NE(folderSync, std::string::npos) << text;
    KlasaDwx back;
    EXPECT_EQ(back.LoadFromFile(PathText(drawing)), 203);
}
