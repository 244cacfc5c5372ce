// Damaged and hostile files: every one is refused as a whole, quickly and within little memory,
// so the installer never writes a drawing back from half a file.
#include "DwxFixtures.h"
#include "DwxTestSupport.h"
#include "installer/dwx/Klasadwx.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace dwxtest;

// Under the sanitizers a count that slipped past the checks would show as a huge allocation;
// make that fail loudly instead of taking the machine's memory.
extern "C" __attribute__((used)) const char* __asan_default_options() {
    return "max_allocation_size_mb=64:hard_rss_limit_mb=1024";
}

namespace {

void ExpectRefused(KlasaDwx& dwx, const std::filesystem::path& file) {
    EXPECT_EQ(dwx.LoadFromFile(PathText(file)), 0);
    const DefinicjaObiektu& d = dwx.definition;
    EXPECT_TRUE(d.meshNames.empty() && d.meshFaces.empty() && d.meshVertices.empty() &&
                d.meshValues.empty());
    EXPECT_TRUE(d.circles.empty() && d.lines.empty() && d.polylines.empty() && d.arcs.empty() &&
                d.circleNames.empty() && d.arcNames.empty());
    EXPECT_TRUE(dwx.faceFlags.empty());
}

std::filesystem::path FixtureFile(const Fixture& fixture) {
    return Encoded(fixture.json, "malformed_" + fixture.name + ".dwx");
}

} // namespace

TEST(DwxMalformed, FileCutAtAnyOffsetIsRefused) {
    for (const Fixture& fixture : SmallFixtures()) {
        SCOPED_TRACE(fixture.name);
        const Bytes whole = ReadBytes(FixtureFile(fixture));
        ASSERT_GT(whole.size(), 100u);
        const auto file = ScratchFile("cut.dwx");
        for (size_t length = 0; length < whole.size(); ++length) {
            WriteBytes(file, Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
            KlasaDwx dwx;
            SCOPED_TRACE(length);
            ExpectRefused(dwx, file);
            if (length >= 4) {
                EXPECT_EQ(dwx.version, 0);
                EXPECT_FALSE(dwx.lastProblem.empty());
            }
        }
    }
}

TEST(DwxMalformed, EveryCountAtItsMaximumOrOneTooHighIsRefused) {
    for (const Fixture& fixture : SmallFixtures()) {
        SCOPED_TRACE(fixture.name);
        const auto source = FixtureFile(fixture);
        const Bytes whole = ReadBytes(source);
        const std::vector<CountField> counts = CountFieldsOf(source);
        ASSERT_GT(counts.size(), 5u);
        const auto file = ScratchFile("count.dwx");
        for (const CountField& count : counts) {
            SCOPED_TRACE(std::to_string(count.offset) + count.meaning);
            uint64_t value = 0;
            for (size_t b = 0; b < count.width; ++b) {
                value |= uint64_t{whole[count.offset + b]} << (8 * b);
            }
            const uint64_t widest = count.width == 4 ? 0xFFFFFFFFu : (1u << (8 * count.width)) - 1;
            for (uint64_t patched : {widest, std::min(value + 1, widest)}) {
                if (patched == value) {
                    continue;
                }
                Bytes bytes = whole;
                for (size_t b = 0; b < count.width; ++b) {
                    bytes[count.offset + b] = static_cast<uint8_t>(patched >> (8 * b));
                }
                WriteBytes(file, bytes);
                KlasaDwx dwx;
                ExpectRefused(dwx, file);
            }
        }
    }
}

TEST(DwxMalformed, FaceIndexBeyondItsMeshIsRefused) {
    for (const int version : {202, 203, 204}) {
        SCOPED_TRACE(version);
        const std::string points = version == 204 ? "[[0,0,0],[1,1,1]]" : "[[0,0,0],[1,1,1]]";
        const auto file = Encoded(R"({"version":)" + std::to_string(version) +
                                      R"(,"scale":1.0,"meshes":[
                {"name":"a","points":)" +
                                      points + R"(,"faces":[[0,0,1,0,1]]},
                {"name":"b","points":)" +
                                      points + R"(,"faces":[[0,0,1,2,1]]}]})",
                                  "stray" + std::to_string(version) + ".dwx");
        KlasaDwx dwx;
        ExpectRefused(dwx, file);
    }
}

TEST(DwxMalformed, BytesAfterTheLastMeshAreRefused) {
    for (const Fixture& fixture : SmallFixtures()) {
        SCOPED_TRACE(fixture.name);
        Bytes bytes = ReadBytes(FixtureFile(fixture));
        bytes.push_back(0);
        const auto file = ScratchFile("trailing.dwx");
        WriteBytes(file, bytes);
        KlasaDwx dwx;
        ExpectRefused(dwx, file);
    }
}

TEST(DwxMalformed, NameWithoutTerminatorIsRefusedWithItsReason) {
    const auto file = Encoded(R"({"version":204,"meshes":[{"nameField":"4e414d45)" +
                                  std::string(56, '5') + R"(","points":[],"faces":[]}]})",
                              "unterminated.dwx");
    KlasaDwx dwx;
    ExpectRefused(dwx, file);
    EXPECT_EQ(dwx.lastProblem, "a name field holds no terminating zero byte");
}

TEST(DwxMalformed, VersionZeroIsRefusedWithItsReason) {
    const auto file = ScratchFile("version0.dwx");
    WriteBytes(file, BytesOf(std::string("DWX\0\0\0\0\0", 8)));
    KlasaDwx dwx;
    EXPECT_EQ(dwx.LoadFromFile(PathText(file)), 0);
    EXPECT_EQ(dwx.lastProblem, "the version byte 0 names no DWX version");
}

TEST(DwxMalformed, DimensionThatIsNotANumberIsRefused) {
    for (const char* description :
         {R"({"version":204,"dimensions":[1,NaN,2],"meshes":[{"name":"a","points":[[0,0,0]],
             "faces":[]}]})",
          R"({"version":203,"scaleDimensions":[NaN,0,0],"meshes":[{"name":"a",
             "points":[[0,0,0]],"faces":[]}]})"}) {
        SCOPED_TRACE(description);
        const auto file = Encoded(description, "nan_dimension.dwx");
        ASSERT_FALSE(file.empty());
        KlasaDwx dwx;
        ExpectRefused(dwx, file);
        EXPECT_EQ(dwx.lastProblem, "a dimension is not a number");
    }
}

TEST(DwxMalformed, ZeroScaleLoadsButIsNotWrittenBack) {
    const auto file = Encoded(
        R"({"version":203,"scale":0.0,"meshes":[{"name":"z","points":[[1,0,-1]],"faces":[]}]})",
        "zero_scale.dwx");
    KlasaDwx dwx;
    ASSERT_EQ(dwx.LoadFromFile(PathText(file)), 203) << dwx.lastProblem;
    EXPECT_TRUE(std::isinf(dwx.definition.meshVertices[0][0].x));
    EXPECT_TRUE(std::isnan(dwx.definition.meshVertices[0][0].y));
    EXPECT_FALSE(dwx.SaveToFile(PathText(ScratchFile("zero_scale_out.dwx")), 203));
    EXPECT_TRUE(dwx.SaveToFile(PathText(ScratchFile("zero_scale_out.dwx")), 204));
}

namespace {

// A version-204 file of one mesh with the given points (all at the origin) and faces (all on
// point 0, flag 0). The blocks are zeros, so the file is made sparse and costs no disk.
std::filesystem::path SparseMeshFile(const std::string& name, uint32_t points, uint32_t faces) {
    Bytes head = BytesOf(std::string("DWX\xcc", 4));
    const auto u32 = [&head](uint32_t v) {
        for (int b = 0; b < 4; ++b) {
            head.push_back(static_cast<uint8_t>(v >> (8 * b)));
        }
    };
    head.resize(head.size() + 3 * 4 + 4 * 4); // dimensions, four kinds of layers without any
    u32(1);                                   // one mesh
    head.resize(head.size() + 32 + 4);        // its empty name and its value
    u32(points);
    head.resize(head.size() + 12 * size_t{points});
    u32(faces);
    const uint64_t indexBytes = points <= 0xFF ? 1 : points <= 0xFFFF ? 2 : 3;
    const auto file = ScratchFile(name);
    WriteBytes(file, head);
    std::filesystem::resize_file(file, head.size() + faces * (1 + 4 * indexBytes));
    return file;
}

// Runs the load in a child process whose address space may grow by at most `megabytes`;
// the child's exit code: 0 refused with a reason, 1 loaded, 2 anything else.
[[maybe_unused]] int LoadUnderMemoryLimit(const std::filesystem::path& file, rlim_t megabytes,
                                          std::string& reason) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::FILE* maps = std::fopen("/proc/self/statm", "r");
        unsigned long pages = 0;
        if (!maps || std::fscanf(maps, "%lu", &pages) != 1) {
            ::_exit(2);
        }
        const rlimit limit{pages * ::sysconf(_SC_PAGESIZE) + megabytes * 1048576, RLIM_INFINITY};
        ::setrlimit(RLIMIT_AS, &limit);
        // Nothing may escape into the test framework's copy in this process.
        try {
            KlasaDwx dwx;
            const int version = dwx.LoadFromFile(PathText(file));
            const ssize_t written =
                ::write(channel[1], dwx.lastProblem.data(), dwx.lastProblem.size());
            ::_exit(written < 0 ? 2 : version == 0 && !dwx.lastProblem.empty() ? 0 : 1);
        } catch (...) {
            ::_exit(4);
        }
    }
    ::close(channel[1]);
    char buffer[512];
    ssize_t n = 0;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        reason.append(buffer, static_cast<size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 3;
}

} // namespace

TEST(DwxMalformed, FacesOfAMeshWithoutPointsAreRefusedBeforeAnythingIsSetAside) {
    // 20 million faces would take 1.36 GB as a model; the refusal comes first. Under the
    // sanitizers the allocation limit above makes any such reservation fatal.
    const auto file = SparseMeshFile("no_points.dwx", 0, 20000000);
    KlasaDwx dwx;
    ExpectRefused(dwx, file);
    EXPECT_EQ(dwx.lastProblem, "mesh 0 has 20000000 faces but no points");
    std::string reason;
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(LoadUnderMemoryLimit(file, 64, reason), 0) << reason;
    EXPECT_EQ(reason, "mesh 0 has 20000000 faces but no points");
#endif
    std::filesystem::remove(file);
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(DwxMalformed, ModelLargerThanTheMemoryIsRefusedNotFatal) {
    // Well formed, and 1.36 GB as a model: under a limit of 256 MB the load declines.
    const auto file = SparseMeshFile("huge_model.dwx", 1, 20000000);
    std::string reason;
    EXPECT_EQ(LoadUnderMemoryLimit(file, 256, reason), 0) << reason;
    EXPECT_EQ(reason, "the drawing needs more memory than the process can have");
    std::filesystem::remove(file);
}
#endif
