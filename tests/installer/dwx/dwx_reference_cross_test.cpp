// The C++ reader and writer against the independent reference encoder and decoder.
#include "DwxFixtures.h"
#include "DwxTestSupport.h"
#include "installer/dwx/Klasadwx.h"

#include <gtest/gtest.h>

using namespace dwxtest;
namespace fs = std::filesystem;

TEST(DwxReferenceCross, SameVersionRoundTripKeepsEveryByte) {
    for (const Fixture& fixture : SmallFixtures()) {
        if (fixture.version == 201) {
            continue; // read only
        }
        SCOPED_TRACE(fixture.name);
        const auto source = Encoded(fixture.json, fixture.name + ".dwx");
        ASSERT_FALSE(source.empty());
        KlasaDwx dwx;
        ASSERT_EQ(dwx.LoadFromFile(PathText(source)), fixture.version) << dwx.lastProblem;
        const auto copy = ScratchFile(fixture.name + "_again.dwx");
        ASSERT_TRUE(dwx.SaveToFile(PathText(copy))) << dwx.lastProblem;
        EXPECT_EQ(ReadBytes(copy), ReadBytes(source));
    }
}

TEST(DwxReferenceCross, EveryConversionMatchesTheReferenceByteForByte) {
    for (const Fixture& fixture : SmallFixtures()) {
        const auto source = Encoded(fixture.json, fixture.name + ".dwx");
        ASSERT_FALSE(source.empty());
        for (int target : {202, 203, 204}) {
            SCOPED_TRACE(fixture.name + " to " + std::to_string(target));
            KlasaDwx dwx;
            ASSERT_EQ(dwx.LoadFromFile(PathText(source)), fixture.version) << dwx.lastProblem;
            const auto ours = ScratchFile(fixture.name + "_to_" + std::to_string(target));
            const auto reference =
                ReferenceConverted(source, target, fixture.name + "_ref_" + std::to_string(target));
            // A model the version cannot hold (the 204 fixture's dimension of 4000 has no
            // 16-bit tenths for version 202) is declined by both sides.
            if (reference.empty()) {
                EXPECT_FALSE(dwx.SaveToFile(PathText(ours), static_cast<uint8_t>(target)));
                EXPECT_FALSE(fs::exists(ours));
                continue;
            }
            ASSERT_TRUE(dwx.SaveToFile(PathText(ours), static_cast<uint8_t>(target)))
                << dwx.lastProblem;
            EXPECT_EQ(ReadBytes(ours), ReadBytes(reference));
            EXPECT_TRUE(RunReference("decode '" + ours.string() + "' > /dev/null"));
        }
    }
}

TEST(DwxReferenceCross, ReferenceRefusesWhatTheWriterRefuses) {
    // A version-204 coordinate of 40000 has no 16-bit form; both sides decline version 203.
    const auto source =
        Encoded(R"({"version":204,"meshes":[{"name":"far","points":[[40000,0,0]],"faces":[]}]})",
                "far.dwx");
    KlasaDwx dwx;
    ASSERT_EQ(dwx.LoadFromFile(PathText(source)), 204);
    EXPECT_FALSE(dwx.SaveToFile(PathText(ScratchFile("far203.dwx")), 203));
    EXPECT_TRUE(ReferenceConverted(source, 203, "far_ref203.dwx").empty());
    EXPECT_TRUE(dwx.SaveToFile(PathText(ScratchFile("far204.dwx")), 204));
}

TEST(DwxReferenceCross, VersionTwoHundredTwoRefusesDimensionsItsTenthsCannotHold) {
    // 4000 is 40000 tenths, beyond 16 bits: version 202 would read back -2553.6.
    const auto source = Encoded(R"({"version":204,"dimensions":[4000,0,0],"meshes":[{"name":"d",
        "points":[[0,0,0]],"faces":[]}]})",
                                "wide.dwx");
    KlasaDwx dwx;
    ASSERT_EQ(dwx.LoadFromFile(PathText(source)), 204);
    EXPECT_FALSE(dwx.SaveToFile(PathText(ScratchFile("wide202.dwx")), 202));
    EXPECT_NE(dwx.lastProblem.find("tenths"), std::string::npos) << dwx.lastProblem;
    EXPECT_TRUE(ReferenceConverted(source, 202, "wide_ref202.dwx").empty());
    // Version 203 keeps the dimension itself beside the tenths.
    EXPECT_TRUE(dwx.SaveToFile(PathText(ScratchFile("wide203.dwx")), 203));
    KlasaDwx back;
    ASSERT_EQ(back.LoadFromFile(PathText(ScratchFile("wide203.dwx"))), 203);
    EXPECT_EQ(back.dimensions[0], 4000.0f);
}
