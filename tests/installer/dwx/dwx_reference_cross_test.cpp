// The C++ reader and writer against the independent reference encoder and decoder.
#include "DwxFixtures.h"
#include "DwxTestSupport.h"
#include "installer/dwx/Klasadwx.h"

#include <gtest/gtest.h>

using namespace dwxtest;

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
            ASSERT_TRUE(dwx.SaveToFile(PathText(ours), static_cast<uint8_t>(target)))
                << dwx.lastProblem;
            const auto reference =
                ReferenceConverted(source, target, fixture.name + "_ref_" + std::to_string(target));
            ASSERT_FALSE(reference.empty());
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
