// Listing through the library against the 7z command's technical listing of the same archive.
#include "ArchiveFixtures.h"

#include "installer/archive/ArxCompression.h"
#include "installer/archive/sevenzip.h"
#include "platform/rtl/FileStream.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <vector>

namespace {

struct ListedItem {
    std::string path, folder, size, modified, crc, encrypted;
    friend bool operator==(const ListedItem&, const ListedItem&) = default;
};

std::ostream& operator<<(std::ostream& out, const ListedItem& i) {
    return out << i.path << " folder=" << i.folder << " size=" << i.size << " mtime=" << i.modified
               << " crc=" << i.crc << " enc=" << i.encrypted;
}

// The items of `7z l -slt`, in the command's own words.
std::vector<ListedItem> ListWithCommand(const std::string& archive, const std::string& password) {
    std::string output =
        arxtest::RunCommand("TZ=UTC 7z l -slt -p'" + password + "' '" + archive + "' 2>/dev/null");
    std::vector<ListedItem> items;
    std::istringstream lines(output.substr(output.find("----------")));
    std::string line;
    ListedItem current;
    bool open = false;
    while (std::getline(lines, line)) {
        auto equals = line.find(" = ");
        if (equals == std::string::npos) {
            if (line.empty() && open) {
                items.push_back(current);
                current = {};
                open = false;
            }
            continue;
        }
        std::string key = line.substr(0, equals), value = line.substr(equals + 3);
        open = true;
        if (key == "Path")
            current.path = value;
        else if (key == "Attributes")
            current.folder = value.starts_with("D") ? "+" : "-";
        else if (key == "Size")
            current.size = value;
        else if (key == "Modified")
            current.modified = value;
        else if (key == "CRC")
            current.crc = value;
        else if (key == "Encrypted")
            current.encrypted = value;
    }
    if (open)
        items.push_back(current);
    return items;
}

std::string TimeText(const sevenzip::FILETIME& time) {
    uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    std::time_t seconds = static_cast<std::time_t>(ticks / 10000000 - 11644473600ULL);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%07" PRIu64,
                  parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                  parts.tm_min, parts.tm_sec, ticks % 10000000);
    return text;
}

std::vector<ListedItem> ListWithLibrary(const std::string& archivePath,
                                        const std::string& password) {
    TFileStream file(UnicodeString(archivePath), fmOpenRead | fmShareDenyWrite);
    TArx7zDecompressArchive archive(&file, 0, false);
    archive.Password = UnicodeString(password);
    archive.ListFiles();
    std::vector<ListedItem> items;
    for (int i = 0; i < archive.ItemCount(); ++i) {
        TArxCompressionItem& item = *archive.Items(i);
        auto valid = item.ValidProperties();
        char crc[16] = "";
        if (valid.Contains(ipCRC))
            std::snprintf(crc, sizeof crc, "%08X", item.CRC());
        items.push_back({item.PackedName().ToUtf8(), item.Directory() ? "+" : "-",
                         std::to_string(item.FileSize()),
                         valid.Contains(ipLastWriteTime) ? TimeText(item.LastWriteTime()) : "", crc,
                         item.Encrypted() ? "+" : "-"});
    }
    return items;
}

struct ListingCase {
    const char* archive;
    const char* password;
};

class ArxListing : public ::testing::TestWithParam<ListingCase> {};

TEST_P(ArxListing, MatchesTheCommand) {
    std::string path = arxtest::Fixture(GetParam().archive).string();
    auto expected = ListWithCommand(path, GetParam().password);
    auto listed = ListWithLibrary(path, GetParam().password);
    EXPECT_EQ(listed, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ArxListing,
    ::testing::Values(ListingCase{"plain.7z", ""}, ListingCase{"solid.7z", ""},
                      ListingCase{"enc_data.7z", "tajne"}, ListingCase{"enc_headers.7z", "tajne"},
                      ListingCase{"polish_pw.7z", "zażółć_gęślą_jaźń"},
                      ListingCase{"absolute.7z", ""}, ListingCase{"dotdot.7z", ""},
                      ListingCase{"large.7z", "tajne"}, ListingCase{"empty.7z", ""}),
    [](const auto& info) { return arxtest::CaseName(info.param.archive, info.index); });

TEST(ArxListingState, ListingTwiceGivesTheSameItems) {
    TFileStream file(arxtest::U(arxtest::Fixture("plain.7z")), fmOpenRead);
    TArx7zDecompressArchive archive(&file, 0, false);
    archive.ListFiles();
    int count = archive.ItemCount();
    EXPECT_GT(count, 5);
    archive.ListFiles();
    EXPECT_EQ(archive.ItemCount(), count);
    EXPECT_EQ(archive.Items(count - 1)->PackedIndex(), static_cast<uint32_t>(count - 1));
}

TEST(ArxListingState, SignatureOfTheFormat) {
    TArx7zDecompressArchive archive(u"/nonexistent.7z");
    auto signature = archive.ArchiveSignature();
    EXPECT_EQ(signature, (std::vector<uint8_t>{'7', 'z', 0xBC, 0xAF, 0x27, 0x1C}));
    EXPECT_TRUE(LoadSevenZipLibrary()) << "a loaded library answers at once";

    struct UnknownFormat : TArx7zDecompressArchive {
        using TArx7zDecompressArchive::TArx7zDecompressArchive;
        sevenzip::TGUID ArchiveCLSID() const override {
            return sevenzip::TGUID{0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
        }
    };
    UnknownFormat unknown(u"/nonexistent.7z");
    EXPECT_TRUE(unknown.ArchiveSignature().empty());
    try {
        unknown.ListFiles();
        FAIL() << "an unknown format was opened";
    } catch (const EArxCompressionError& e) {
        EXPECT_EQ(e.Message().ToUtf8(), "Sevenzip: Failed to get in archive interface for class "
                                        "{12345678-0001-0002-0304-05060708090A}");
    }
}

struct OpenFailure {
    const char* archive;
    const char* password;
    const char* message; // a prefix; empty: any message
    bool notRecognised;  // EArxCompressionFalse
};

class ArxOpenFailure : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(ArxOpenFailure, RaisesTheLibraryError) {
    TFileStream file(arxtest::U(arxtest::Fixture(GetParam().archive)), fmOpenRead);
    TArx7zDecompressArchive archive(&file, 0, false);
    archive.Password = UnicodeString(GetParam().password);
    try {
        archive.ListFiles();
        FAIL() << "listing succeeded with " << archive.ItemCount() << " items";
    } catch (const EArxCompressionError& e) {
        EXPECT_EQ(dynamic_cast<const EArxCompressionFalse*>(&e) != nullptr,
                  GetParam().notRecognised)
            << e.what();
        EXPECT_TRUE(e.Message().ToUtf8().starts_with(GetParam().message)) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ArxOpenFailure,
    ::testing::Values(
        OpenFailure{"notarchive.7z", "", "Sevenzip: Error result (00000001) \"S_FALSE\"", true},
        OpenFailure{"enc_headers.7z", "zle", "Sevenzip: Error result (00000001)", true},
        OpenFailure{"enc_headers.7z", "", "Sevenzip: Error result (00000001)", true},
        OpenFailure{"truncated.7z", "", "Sevenzip: Error result", true}),
    [](const auto& info) { return arxtest::CaseName(info.param.archive, info.index); });

TEST(ArxListingState, RefusedPasswordCountsAsCancelled) {
    TFileStream file(arxtest::U(arxtest::Fixture("enc_headers.7z")), fmOpenRead);
    TArx7zDecompressArchive archive(&file, 0, false);
    int asked = 0;
    archive.OnOpenPassword = [&](TArxCompressionArchive*, UnicodeString&) {
        ++asked;
        return false;
    };
    EXPECT_THROW(archive.ListFiles(), EArxCompressionCancelled);
    EXPECT_EQ(asked, 1);
}

TEST(ArxListingState, PasswordFromTheEvent) {
    TFileStream file(arxtest::U(arxtest::Fixture("enc_headers.7z")), fmOpenRead);
    TArx7zDecompressArchive archive(&file, 0, false);
    archive.OnOpenPassword = [](TArxCompressionArchive*, UnicodeString& password) {
        password = u"tajne";
        return true;
    };
    archive.ListFiles();
    EXPECT_GT(archive.ItemCount(), 5);
}

} // namespace
