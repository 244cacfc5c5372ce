// The image codecs against Pillow: files Pillow writes decode to what Pillow decodes, and files
// the layer writes decode in Pillow to the pixels that were saved.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "GfxTestSupport.h"
#include "platform/gfx/ImageCodec.h"
#include "support/TestSupport.h"

namespace gfx {
namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    const std::string bytes = testsupport::ReadFile(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// Pillow's decoding as straight $AARRGGBB words.
DecodedImage ReadOracle(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = ReadFile(path);
    DecodedImage image;
    if (bytes.size() < 8)
        return image;
    image.width = int(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24);
    image.height = int(bytes[4] | bytes[5] << 8 | bytes[6] << 16 | bytes[7] << 24);
    for (size_t i = 8; i + 3 < bytes.size(); i += 4)
        image.pixels.push_back(uint32_t(bytes[i + 3]) << 24 | uint32_t(bytes[i]) << 16 |
                               uint32_t(bytes[i + 1]) << 8 | bytes[i + 2]);
    return image;
}

// Largest channel difference; colours of pixels both sides call fully transparent do not count.
int MaxDifference(const DecodedImage& a, const DecodedImage& b) {
    int worst = 0;
    for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) {
        const uint32_t p = a.pixels[i], q = b.pixels[i];
        if ((p >> 24) == 0 && (q >> 24) == 0)
            continue;
        for (int shift = 0; shift < 32; shift += 8)
            worst = std::max(worst, std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)));
    }
    return worst;
}

class CodecOracle : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::filesystem::path(DBI_BINARY_DIR) / "test-tmp" /
                  ("gfx-codecs-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        ready_ = testing::RunPython("image_oracle.py", "make '" + folder_.string() + "'") == 0;
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(folder_); }
    static std::filesystem::path folder_;
    static bool ready_;
};

std::filesystem::path CodecOracle::folder_;
bool CodecOracle::ready_ = false;

TEST_F(CodecOracle, DecodesWhatPillowWroteAsPillowDecodesIt) {
    ASSERT_TRUE(ready_) << "the Pillow fixture script failed";
    std::ifstream manifest(folder_ / "manifest.txt");
    std::string name;
    int tolerance = 0, files = 0;
    while (manifest >> name >> tolerance) {
        SCOPED_TRACE(name);
        ++files;
        const std::vector<uint8_t> bytes = ReadFile(folder_ / name);
        DecodedImage ours;
        ASSERT_EQ(DecodeImage(bytes.data(), bytes.size(), &ours), Status::Ok);
        const DecodedImage pillow = ReadOracle(folder_ / (name + ".rgba"));
        ASSERT_EQ(ours.width, pillow.width);
        ASSERT_EQ(ours.height, pillow.height);
        EXPECT_LE(MaxDifference(ours, pillow), tolerance);
    }
    EXPECT_GE(files, 15);
}

TEST_F(CodecOracle, BitmapFromFileHoldsPremultipliedPixels) {
    ASSERT_TRUE(ready_);
    auto bitmap = Bitmap::FromFile((folder_ / "rgba.png").string());
    ASSERT_TRUE(bitmap);
    const DecodedImage pillow = ReadOracle(folder_ / "rgba.png.rgba");
    bitmap->Flush();
    for (size_t i = 0; i < pillow.pixels.size(); ++i)
        ASSERT_EQ(bitmap->Scan0()[i], Premultiply(pillow.pixels[i])) << i;
    Status s = Status::Ok;
    EXPECT_FALSE(Bitmap::FromFile((folder_ / "missing.png").string(), &s));
    EXPECT_EQ(s, Status::FileNotFound);
}

// A bitmap with every kind of alpha, its pixels as saved (straight).
std::unique_ptr<Bitmap> SampleBitmap(DecodedImage* saved) {
    auto b = std::make_unique<Bitmap>(31, 13);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 31; ++x)
            b->SetPixel(
                x, y, Color(uint8_t(y * 20), uint8_t(x * 8), uint8_t(255 - x * 8), uint8_t(x * y)));
    saved->width = 31;
    saved->height = 13;
    b->Flush();
    for (int i = 0; i < 31 * 13; ++i)
        saved->pixels.push_back(Unpremultiply(b->Scan0()[i]));
    return b;
}

TEST_F(CodecOracle, PillowReadsWhatTheLayerWrote) {
    ASSERT_TRUE(ready_);
    DecodedImage saved;
    auto bitmap = SampleBitmap(&saved);
    const std::pair<const char*, const char*> formats[] = {{"ours.png", "image/png"},
                                                           {"ours.bmp", "image/bmp"}};
    std::string files;
    for (const auto& [name, mime] : formats) {
        ASSERT_EQ(bitmap->Save((folder_ / name).string(), mime), Status::Ok);
        files += " '" + (folder_ / name).string() + "'";
    }
    ASSERT_EQ(testing::RunPython("image_oracle.py", "decode" + files), 0);
    for (const auto& [name, mime] : formats) {
        SCOPED_TRACE(name);
        const DecodedImage pillow = ReadOracle(folder_ / (std::string(name) + ".rgba"));
        EXPECT_EQ(pillow.width, 31);
        EXPECT_EQ(MaxDifference(saved, pillow), 0);
        // And the layer reads its own file back to the same pixels.
        const std::vector<uint8_t> bytes = ReadFile(folder_ / name);
        DecodedImage back;
        ASSERT_EQ(DecodeImage(bytes.data(), bytes.size(), &back), Status::Ok);
        EXPECT_EQ(back.pixels, saved.pixels);
    }
}

// GIF keeps up to 256 colours exactly, thresholds alpha at 128 and maps richer images onto a
// colour cube; the noise image fills the LZW table several times over.
TEST_F(CodecOracle, GifRoundTripsThroughBothReaders) {
    ASSERT_TRUE(ready_);
    struct GifCase {
        const char* name;
        int w, h;
        uint32_t (*pixel)(int x, int y);
        int tolerance; // against the saved straight colours
    };
    const GifCase cases[] = {
        {"few.gif", 9, 7,
         [](int x, int y) -> uint32_t {
             return (x + y) % 4 == 0 ? 0x20FFFFFF : 0xFF000000u | uint32_t(x * 20) << 16 | y;
         },
         0},
        {"noise.gif", 300, 200,
         [](int x, int y) -> uint32_t {
             const uint32_t v = uint32_t(x * 7919 + y * 104729) * 2654435761u >> 24;
             return 0xFF000000u | (v & 0x0F) << 20 | (v & 0xF0) << 4;
         },
         0},
        {"rich.gif", 64, 64,
         [](int x, int y) -> uint32_t {
             return 0xFF000000u | uint32_t(x * 4) << 16 | uint32_t(y * 4) << 8 | uint32_t(x ^ y);
         },
         26},
    };
    std::string files;
    for (const GifCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap b(c.w, c.h);
        DecodedImage saved;
        saved.width = c.w;
        saved.height = c.h;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                b.SetPixel(x, y, Color(c.pixel(x, y)));
                const uint32_t p = c.pixel(x, y);
                saved.pixels.push_back(p >> 24 < 128 ? 0 : p | 0xFF000000u);
            }
        ASSERT_EQ(b.Save((folder_ / c.name).string(), "image/gif"), Status::Ok);
        const std::vector<uint8_t> bytes = ReadFile(folder_ / c.name);
        DecodedImage back;
        ASSERT_EQ(DecodeImage(bytes.data(), bytes.size(), &back), Status::Ok);
        EXPECT_LE(MaxDifference(back, saved), c.tolerance);
        files += " '" + (folder_ / c.name).string() + "'";
    }
    ASSERT_EQ(testing::RunPython("image_oracle.py", "decode" + files), 0);
    for (const GifCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> bytes = ReadFile(folder_ / c.name);
        DecodedImage ours;
        DecodeImage(bytes.data(), bytes.size(), &ours);
        EXPECT_EQ(MaxDifference(ours, ReadOracle(folder_ / (std::string(c.name) + ".rgba"))), 0);
    }
}

TEST_F(CodecOracle, JpegQualityIsHonouredAndPillowAgrees) {
    ASSERT_TRUE(ready_);
    Bitmap b(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            b.SetPixel(x, y, Color(uint8_t(x * 4), uint8_t(y * 4), uint8_t((x ^ y) * 4)));
    std::vector<uint8_t> low, high;
    const int lowQuality = 10, highQuality = 95;
    ASSERT_EQ(b.SaveToMemory(&low, "image/jpeg", &lowQuality), Status::Ok);
    ASSERT_EQ(b.SaveToMemory(&high, "image/jpeg", &highQuality), Status::Ok);
    EXPECT_LT(low.size(), high.size());
    const auto path = folder_ / "ours.jpg";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(high.data()), std::streamsize(high.size()));
    ASSERT_EQ(testing::RunPython("image_oracle.py", "decode '" + path.string() + "'"), 0);
    DecodedImage ours;
    ASSERT_EQ(DecodeImage(high.data(), high.size(), &ours), Status::Ok);
    EXPECT_LE(MaxDifference(ours, ReadOracle(folder_ / "ours.jpg.rgba")), 2);
    EXPECT_NEAR(double(ours.dpiX), 96, 0.01);
}

TEST(ImageCodec, UnknownFormatsAndEncodersAreRefused) {
    const uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    DecodedImage out;
    EXPECT_EQ(DecodeImage(junk, sizeof junk, &out), Status::UnknownImageFormat);
    Bitmap b(2, 2);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(b.SaveToMemory(&bytes, "image/tiff"), Status::UnknownImageFormat);
    EXPECT_TRUE(IsEncoderAvailable("image/gif"));
    EXPECT_FALSE(IsEncoderAvailable("image/webp"));
    EXPECT_TRUE(IsEncoderAvailable("image/png"));
}

TEST(ImageCodec, TruncatedFilesAreRejectedWhateverTheCut) {
    DecodedImage saved;
    auto bitmap = SampleBitmap(&saved);
    for (const char* mime : {"image/png", "image/bmp", "image/jpeg"}) {
        std::vector<uint8_t> bytes;
        ASSERT_EQ(bitmap->SaveToMemory(&bytes, mime), Status::Ok);
        for (size_t cut : {size_t(1), size_t(20), bytes.size() / 2, bytes.size() - 1}) {
            std::vector<uint8_t> part(bytes.begin(), bytes.begin() + std::ptrdiff_t(cut));
            DecodedImage out;
            const Status s = DecodeImage(part.data(), part.size(), &out);
            // A JPEG cut late still yields an image (the decoder fills the rest); every other
            // cut fails cleanly.
            if (s == Status::Ok)
                EXPECT_STREQ(mime, "image/jpeg") << cut;
            else
                EXPECT_TRUE(out.pixels.empty());
        }
    }
}

TEST(ImageCodec, ImagesBeyondTheLimitAreRefusedBeforeAllocation) {
    Bitmap b(64, 64);
    std::vector<uint8_t> bytes;
    for (const char* mime : {"image/png", "image/bmp", "image/jpeg"}) {
        ASSERT_EQ(b.SaveToMemory(&bytes, mime), Status::Ok);
        DecodedImage out;
        DecodeLimits limits;
        limits.maxPixels = 64 * 64 - 1;
        EXPECT_NE(DecodeImage(bytes.data(), bytes.size(), &out, limits), Status::Ok) << mime;
    }
}

} // namespace
} // namespace gfx
