// Damaged and hostile files: every one is refused as a whole, quickly and within little memory,
// so the installer never writes a drawing back from half a file.
#include "DwxFixtures.h"
#include "DwxTestSupport.h"
#include "installer/dwx/Klasadwx.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST(DwxMalformed, NameWithoutTerminatorIsCutAtItsFieldAndNotWrittenBack) {
    const auto file = Encoded(R"({"version":204,"meshes":[{"nameField":"4e414d45)" +
                                  std::string(56, '5') + R"(","points":[],"faces":[]}]})",
                              "unterminated.dwx");
    KlasaDwx dwx;
    ASSERT_EQ(dwx.LoadFromFile(PathText(file)), 204) << dwx.lastProblem;
    ASSERT_EQ(dwx.definition.meshNames.at(0).Length(), 32);
    EXPECT_EQ(dwx.definition.meshNames[0].SubString(1, 4), AnsiString("NAME"));
    // 32 bytes leave no room for the terminator, so the writer declines instead of cutting.
    const Bytes before = ReadBytes(file);
    EXPECT_FALSE(dwx.SaveToFile(PathText(file), 203));
    EXPECT_EQ(ReadBytes(file), before);
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
