// The BMP and GIF readers on small hand-made files: the variants Pillow does not write
// (run-length data, bit-field masks, the old core header, frames off the screen's origin) and
// broken files, which must fail or decode partially without reading past the data.
#include <gtest/gtest.h>

#include "platform/gfx/ImageCodec.h"

namespace gfx {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A BMP with a 40-byte info header; `extra` (masks or palette) follows the header.
Bytes Bmp(int w, int h, int bpp, uint32_t compression, const Bytes& extra, const Bytes& bits,
          uint32_t colorsUsed = 0) {
    Bytes b = {'B', 'M'};
    Put32(b, uint32_t(14 + 40 + extra.size() + bits.size()));
    Put32(b, 0);
    Put32(b, uint32_t(14 + 40 + extra.size()));
    Put32(b, 40);
    Put32(b, uint32_t(w));
    Put32(b, uint32_t(h));
    Put16(b, 1);
    Put16(b, uint32_t(bpp));
    Put32(b, compression);
    Put32(b, uint32_t(bits.size()));
    Put32(b, 3780);
    Put32(b, 3780);
    Put32(b, colorsUsed);
    Put32(b, 0);
    b.insert(b.end(), extra.begin(), extra.end());
    b.insert(b.end(), bits.begin(), bits.end());
    return b;
}

// Palette: black, red, green, blue (B, G, R, reserved).
const Bytes kPalette = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
constexpr uint32_t K = 0xFF000000, R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF;

DecodedImage Decode(const Bytes& bytes, Status expected = Status::Ok) {
    DecodedImage out;
    EXPECT_EQ(DecodeImage(bytes.data(), bytes.size(), &out), expected);
    return out;
}

TEST(BmpReader, RunLengthEncodings) {
    // Rows bottom-up. RLE8: a run of four 1s, end of line; an absolute run 2,3,1 (padded), a
    // run of one 2, end of bitmap.
    const Bytes rle8 = {4, 1, 0, 0, 0, 3, 2, 3, 1, 0, 1, 2, 0, 1};
    DecodedImage a = Decode(Bmp(4, 2, 8, 1, kPalette, rle8, 4));
    EXPECT_EQ(a.pixels, (std::vector<uint32_t>{G, B, R, G, R, R, R, R}));
    // RLE4: the same picture, two indices per byte.
    const Bytes rle4 = {4, 0x11, 0, 0, 0, 3, 0x23, 0x10, 1, 0x20, 0, 1};
    DecodedImage b = Decode(Bmp(4, 2, 4, 2, kPalette, rle4, 4));
    EXPECT_EQ(b.pixels, a.pixels);
    // A delta jumps past pixels, which stay transparent; runs past the edge are dropped.
    const Bytes delta = {0, 2, 2, 1, 9, 3, 0, 1};
    DecodedImage c = Decode(Bmp(4, 2, 8, 1, kPalette, delta, 4));
    EXPECT_EQ(c.pixels, (std::vector<uint32_t>{0, 0, B, B, 0, 0, 0, 0}));
}

TEST(BmpReader, BitFieldsAndTopDownRows) {
    const Bytes masks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0}; // 5-6-5
    const Bytes bits = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF};
    DecodedImage a = Decode(Bmp(2, -2, 16, 3, masks, bits));
    EXPECT_EQ(a.pixels, (std::vector<uint32_t>{R, G, B, 0xFFFFFFFF}));
}

TEST(BmpReader, ThirtyTwoBitAlphaIsKeptUnlessAbsent) {
    const Bytes withAlpha = {0, 0, 255, 0x80, 255, 0, 0, 0x00};
    EXPECT_EQ(Decode(Bmp(2, 1, 32, 0, {}, withAlpha)).pixels,
              (std::vector<uint32_t>{0x80FF0000, 0x000000FF}));
    const Bytes noAlpha = {0, 0, 255, 0, 255, 0, 0, 0};
    EXPECT_EQ(Decode(Bmp(2, 1, 32, 0, {}, noAlpha)).pixels, (std::vector<uint32_t>{R, B}));
}

TEST(BmpReader, CoreHeaderWithThreeBytePalette) {
    Bytes b = {'B', 'M'};
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 14 + 12 + 6);
    Put32(b, 12);
    Put16(b, 2);
    Put16(b, 1);
    Put16(b, 1);
    Put16(b, 1);                               // 1 bit per pixel
    b.insert(b.end(), {0, 0, 255, 255, 0, 0}); // red, blue
    b.insert(b.end(), {0x40, 0, 0, 0});        // pixels 0, 1
    EXPECT_EQ(Decode(b).pixels, (std::vector<uint32_t>{R, B}));
}

TEST(BmpReader, BrokenFilesFailCleanly) {
    const Bytes rows = {1, 2, 3, 0};
    // Claims 1000 rows but carries one.
    EXPECT_TRUE(
        Decode(Bmp(3, 1000, 8, 0, kPalette, rows, 4), Status::InvalidParameter).pixels.empty());
    // A palette index past a short palette reads black rather than beyond the table.
    EXPECT_EQ(Decode(Bmp(1, 1, 8, 0, kPalette, {200, 0, 0, 0}, 4)).pixels,
              (std::vector<uint32_t>{K}));
    // Header size beyond the file, unknown compression, zero width.
    Bytes huge = Bmp(1, 1, 24, 0, {}, {1, 2, 3, 0});
    huge[14] = 0xFF;
    huge[15] = 0xFF;
    Decode(huge, Status::InvalidParameter);
    Decode(Bmp(1, 1, 24, 4, {}, {1, 2, 3, 0}), Status::UnknownImageFormat);
    Decode(Bmp(0, 1, 24, 0, {}, {1, 2, 3, 0}), Status::InvalidParameter);
    Decode(Bmp(1, 1, 7, 0, {}, {1, 2, 3, 0}), Status::InvalidParameter);
}

// LZW codes written so that the code size never grows: a clear code every few codes.
Bytes Lzw(const std::vector<uint8_t>& indices, int minCodeSize, bool withEnd = true) {
    const int clear = 1 << minCodeSize;
    const int width = minCodeSize + 1;
    std::vector<int> codes = {clear};
    int sinceClear = 0;
    for (uint8_t index : indices) {
        if (sinceClear == clear - 2) {
            codes.push_back(clear);
            sinceClear = 0;
        }
        codes.push_back(index);
        ++sinceClear;
    }
    if (withEnd)
        codes.push_back(clear + 1);
    Bytes packed;
    uint32_t bits = 0;
    int count = 0;
    for (int code : codes) {
        bits |= uint32_t(code) << count;
        count += width;
        while (count >= 8) {
            packed.push_back(uint8_t(bits));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count)
        packed.push_back(uint8_t(bits));
    Bytes blocks;
    for (size_t i = 0; i < packed.size(); i += 255) {
        const size_t n = std::min<size_t>(255, packed.size() - i);
        blocks.push_back(uint8_t(n));
        blocks.insert(blocks.end(), packed.begin() + std::ptrdiff_t(i),
                      packed.begin() + std::ptrdiff_t(i + n));
    }
    blocks.push_back(0);
    return blocks;
}

// A GIF89a of a screen with a four-colour global table (black, red, green, blue) and one frame.
Bytes Gif(int screenW, int screenH, int left, int top, int w, int h,
          const std::vector<uint8_t>& indices, int transparent = -1, bool interlaced = false) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, uint32_t(screenW));
    Put16(b, uint32_t(screenH));
    b.insert(b.end(), {0x81, 0, 0});
    b.insert(b.end(), {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
    if (transparent >= 0)
        b.insert(b.end(), {0x21, 0xF9, 4, 1, 0, 0, uint8_t(transparent), 0});
    b.insert(b.end(), {0x21, 0xFE, 3, 'h', 'i', '!', 0}); // a comment, skipped
    b.push_back(0x2C);
    Put16(b, uint32_t(left));
    Put16(b, uint32_t(top));
    Put16(b, uint32_t(w));
    Put16(b, uint32_t(h));
    b.push_back(interlaced ? 0x40 : 0);
    b.push_back(2);
    const Bytes data = Lzw(indices, 2);
    b.insert(b.end(), data.begin(), data.end());
    b.push_back(0x3B);
    return b;
}

TEST(GifReader, FramePlacedOnTheScreenWithTransparency) {
    DecodedImage img = Decode(Gif(3, 3, 1, 1, 2, 2, {1, 2, 3, 0}, 0));
    ASSERT_EQ(img.width, 3);
    EXPECT_EQ(img.pixels, (std::vector<uint32_t>{0, 0, 0, 0, R, G, 0, B, 0}));
}

TEST(GifReader, InterlacedRowsComeInFourPasses) {
    // Rows are stored in the order 0, 4, 2, 1, 3 for five rows.
    DecodedImage img = Decode(Gif(1, 5, 0, 0, 1, 5, {0, 1, 2, 3, 3}, -1, true));
    EXPECT_EQ(img.pixels, (std::vector<uint32_t>{K, B, G, B, R}));
}

TEST(GifReader, RepeatedStringsUseTheDictionary) {
    // Codes that refer to strings built earlier, including the code not yet in the table.
    Bytes b = Gif(6, 1, 0, 0, 6, 1, {});
    // Replace the image data: clear, 1, 6 (=1,1 not yet known), 6, end; code size 3.
    const size_t dataStart = b.size() - 1 - 3;
    b.resize(dataStart);
    uint32_t bits = 4 | 1 << 3 | 6 << 6 | 6 << 9 | 5 << 12;
    b.insert(b.end(), {2, uint8_t(bits), uint8_t(bits >> 8), 0, 0x3B});
    EXPECT_EQ(Decode(b).pixels, (std::vector<uint32_t>{R, R, R, R, R, 0}));
}

TEST(GifReader, BrokenFilesFailOrDecodePartly) {
    // Data cut short: what arrived is kept, the rest is transparent.
    Bytes cut = Gif(4, 1, 0, 0, 4, 1, {1, 1, 1, 1});
    cut.resize(cut.size() - 4);
    DecodedImage partial = Decode(cut);
    EXPECT_EQ(partial.pixels.size(), 4u);
    // No image at all, a bad code size, a table running off the end.
    Bytes empty = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
    Decode(empty, Status::InvalidParameter);
    Bytes badCodeSize = Gif(1, 1, 0, 0, 1, 1, {1});
    badCodeSize[6 + 7 + 12 + 7 + 10] = 12;
    Decode(badCodeSize, Status::InvalidParameter);
    Bytes shortTable = {'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0x87, 0, 0, 1, 2, 3};
    Decode(shortTable, Status::InvalidParameter);
    // A frame far off the screen draws nothing but still decodes.
    EXPECT_EQ(Decode(Gif(2, 1, 500, 500, 1, 1, {1})).pixels, (std::vector<uint32_t>{0, 0}));
}

} // namespace
} // namespace gfx
