// What a failed extraction says: the item and the cause, whichever side failed; and file times
// far outside the usual range.
#include "ArchiveFixtures.h"

#include "installer/archive/ArxCompression.h"
#include "installer/archive/ArxFileTimes.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

#include <new>
#include <sys/stat.h>

namespace fs = std::filesystem;
using arxtest::ScratchDir;
using namespace sevenzip;

namespace {

int RunShell(const std::string& command) {
    int status = 0;
    arxtest::RunCommand(command + " >/dev/null 2>&1", &status);
    return status;
}

// The message of what ExtractAll raised, and whether it was of class Expected.
template <typename Expected>
std::string ExtractionFailure(const fs::path& archive, const fs::path& destination,
                              const TArxCompressionExtractEvent& onExtract = nullptr) {
    TFileStream file(arxtest::U(archive), fmOpenRead | fmShareDenyWrite);
    TArx7zDecompressArchive arx(&file, 0, false);
    arx.ListFiles();
    arx.OnExtract = onExtract;
    try {
        arx.ExtractAll(arxtest::U(destination), true);
    } catch (const Expected& e) {
        return e.Message().ToUtf8();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "unexpected exception class: " << e.what();
        return std::string();
    }
    ADD_FAILURE() << "the extraction succeeded";
    return std::string();
}

fs::path MakeTwoFileArchive(const ScratchDir& scratch) {
    fs::create_directories(scratch / "zrodlo/sub");
    arxtest::WriteFile(scratch / "zrodlo/a.txt", "tresc a\n");
    arxtest::WriteFile(scratch / "zrodlo/sub/b.txt", "tresc b\n");
    EXPECT_EQ(RunShell("cd '" + (scratch / "zrodlo").string() + "' && 7z a -bd '" +
                       (scratch / "dwa.7z").string() + "' a.txt sub/b.txt"),
              0);
    return scratch / "dwa.7z";
}

// A file stands where the item's folder should be made: the message names the item, the
// folder and why.
TEST(ArxMessages, AFolderThatCannotBeMadeNamesTheItemAndTheCause) {
    ScratchDir scratch;
    fs::path archive = MakeTwoFileArchive(scratch);
    fs::path destination = scratch / "cel";
    fs::create_directories(destination);
    arxtest::WriteFile(destination / "sub", "plik zamiast folderu");
    std::string message = ExtractionFailure<ESafecallException>(archive, destination);
    EXPECT_NE(message.find("\"sub/b.txt\""), std::string::npos) << message;
    EXPECT_NE(message.find((destination / "sub").string()), std::string::npos) << message;
    EXPECT_NE(message.find("Not a directory"), std::string::npos) << message;
    EXPECT_EQ(arxtest::ReadFile(destination / "sub"), "plik zamiast folderu");
}

// A folder stands where a file item goes: the final move fails and says so.
TEST(ArxMessages, AFolderAtTheTargetNameNamesTheItemAndTheCause) {
    ScratchDir scratch;
    fs::path archive = MakeTwoFileArchive(scratch);
    fs::path destination = scratch / "cel";
    fs::create_directories(destination / "a.txt/zajete");
    std::string message = ExtractionFailure<ESafecallException>(archive, destination);
    EXPECT_NE(message.find("\"a.txt\""), std::string::npos) << message;
    EXPECT_NE(message.find("directory"), std::string::npos) << message;
    EXPECT_TRUE(fs::is_directory(destination / "a.txt/zajete"));
}

// Running out of memory on our side is reported as that, not as an error number.
TEST(ArxMessages, OutOfMemoryIsSaidSo) {
    try {
        CheckSevenzipResult(E_OUTOFMEMORY);
        FAIL() << "E_OUTOFMEMORY passed";
    } catch (const EArxCompressionError& e) {
        EXPECT_EQ(e.Message().ToUtf8(), "Sevenzip: Error result (8007000e) \"Out of memory\"");
    }

    class FailingStream : public TMemoryStream {
    public:
        int32_t Write(const void*, int32_t) override { throw std::bad_alloc(); }
    };
    ScratchDir scratch;
    fs::path archive = MakeTwoFileArchive(scratch);
    std::string message = ExtractionFailure<ESafecallException>(
        archive, scratch / "cel",
        [](TArxCompressionArchive*, int, UnicodeString& name, TStream*& stream, bool& owns) {
            name = UnicodeString();
            stream = new FailingStream();
            owns = true;
            return true;
        });
    EXPECT_NE(message.find("could not be extracted: Out of memory"), std::string::npos) << message;
}

// An item that leaves the destination is reported even when another item failed too, which
// ends the decoder's run with an error of its own.
TEST(ArxMessages, AnUnsafeItemIsReportedBesideAnotherFailure) {
    ScratchDir scratch;
    fs::create_directories(scratch / "zrodlo/up/w");
    arxtest::WriteFile(scratch / "zrodlo/up/w/g.txt", "wyzej\n");
    arxtest::WriteFile(scratch / "zrodlo/up/w/h.txt", "obok\n");
    fs::path archive = scratch / "mix.7z";
    ASSERT_EQ(RunShell("cd '" + (scratch / "zrodlo/up/w").string() + "' && 7z a -bd -spf '" +
                       archive.string() + "' ../w/g.txt && 7z a -bd '" + archive.string() +
                       "' h.txt"),
              0);
    fs::path destination = scratch / "cel";
    fs::create_directories(destination / "h.txt/zajete");
    std::string message = ExtractionFailure<EArxCompressionError>(archive, destination);
    EXPECT_NE(message.find("\"../w/g.txt\" would be written outside the destination folder"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("\"h.txt\" could not be extracted"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(scratch / "w"));
}

int64_t ModifiedSeconds(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0);
    return static_cast<int64_t>(info.st_mtim.tv_sec);
}

FILETIME FileTimeOf(uint64_t ticks) {
    return FILETIME{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

// Times past 2262 no longer fit the nanoseconds of the standard clocks; they are set as far as
// the file system goes, never computed through an overflow.
TEST(ArxFileTimes, FarFutureTimes) {
    ScratchDir scratch;
    fs::path file = scratch / "f.txt";
    arxtest::WriteFile(file, "x");
    constexpr int64_t k2300 = 10413792000; // 2300-01-01 in seconds since 1970
    constexpr uint64_t kEpochTicks = 116444736000000000ull;
    ASSERT_TRUE(SetFileTimes(arxtest::U(file), std::nullopt, std::nullopt,
                             FileTimeOf(kEpochTicks + static_cast<uint64_t>(k2300) * 10000000)));
    EXPECT_EQ(ModifiedSeconds(file), k2300);
    ASSERT_TRUE(SetFileTimes(arxtest::U(file), std::nullopt, std::nullopt, FileTimeOf(~0ull)));
    EXPECT_GE(ModifiedSeconds(file), k2300);
    ASSERT_TRUE(SetFileTimes(arxtest::U(file), std::nullopt, std::nullopt, FileTimeOf(0)));
    EXPECT_LT(ModifiedSeconds(file), 0);

    // And an archive item of 2300 gets its date.
    fs::create_directories(scratch / "zrodlo");
    arxtest::WriteFile(scratch / "zrodlo/pozno.txt", "p");
    ASSERT_EQ(RunShell("touch -d @" + std::to_string(k2300) + " '" +
                       (scratch / "zrodlo/pozno.txt").string() + "' && cd '" +
                       (scratch / "zrodlo").string() + "' && 7z a -bd '" +
                       (scratch / "p.7z").string() + "' pozno.txt"),
              0);
    TFileStream stream(arxtest::U(scratch / "p.7z"), fmOpenRead | fmShareDenyWrite);
    TArx7zDecompressArchive archive(&stream, 0, false);
    archive.ListFiles();
    archive.ExtractAll(arxtest::U(scratch / "cel"), true);
    EXPECT_EQ(ModifiedSeconds(scratch / "cel/pozno.txt"), k2300);

    TArxFileFacts facts;
    ASSERT_TRUE(ReadFileFacts(arxtest::U(scratch / "cel/pozno.txt"), facts));
    uint64_t ticks = (static_cast<uint64_t>(facts.lastWriteTime.dwHighDateTime) << 32) |
                     facts.lastWriteTime.dwLowDateTime;
    EXPECT_EQ(ticks, kEpochTicks + static_cast<uint64_t>(k2300) * 10000000);
}

} // namespace
