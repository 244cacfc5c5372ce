// The image codecs behind Bitmap::FromMemory and Bitmap::Save. Decoders give straight-alpha
// ARGB words; every length they read is checked against the bytes the file has, and images
// larger than the limit are refused before anything is allocated for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/gfx/GfxTypes.h"

namespace gfx {

struct DecodedImage {
    int width = 0;
    int height = 0;
    // Straight $AARRGGBB words, rows top to bottom, no gaps.
    std::vector<uint32_t> pixels;
    float dpiX = 96;
    float dpiY = 96;
};

struct DecodeLimits {
    int64_t maxPixels = int64_t(1) << 26;
};

enum class ImageFormat { Unknown, Png, Jpeg, Bmp, Gif };

ImageFormat SniffImageFormat(const uint8_t* data, size_t size);

Status DecodeImage(const uint8_t* data, size_t size, DecodedImage* out,
                   const DecodeLimits& limits = {});
Status DecodePng(const uint8_t* data, size_t size, DecodedImage* out, const DecodeLimits& limits);
Status DecodeJpeg(const uint8_t* data, size_t size, DecodedImage* out, const DecodeLimits& limits);
Status DecodeBmp(const uint8_t* data, size_t size, DecodedImage* out, const DecodeLimits& limits);
Status DecodeGif(const uint8_t* data, size_t size, DecodedImage* out, const DecodeLimits& limits);

// Encoders take straight-alpha words. JPEG drops alpha; BMP is written as 32-bit with an alpha
// mask.
Status EncodePng(const uint32_t* pixels, int width, int height, std::vector<uint8_t>* out);
Status EncodeJpeg(const uint32_t* pixels, int width, int height, int quality,
                  std::vector<uint8_t>* out);
Status EncodeBmp(const uint32_t* pixels, int width, int height, std::vector<uint8_t>* out);
// Exact colours up to 256 (255 with transparency), else a fixed colour cube; alpha below 128
// is transparent, any other alpha opaque.
Status EncodeGif(const uint32_t* pixels, int width, int height, std::vector<uint8_t>* out);

// Premultiplied <-> straight words, rounding to nearest.
uint32_t Premultiply(uint32_t argb);
uint32_t Unpremultiply(uint32_t pargb);

} // namespace gfx
