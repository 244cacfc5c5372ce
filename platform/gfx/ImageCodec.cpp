#include "platform/gfx/ImageCodec.h"

#include <cstring>

namespace gfx {

ImageFormat SniffImageFormat(const uint8_t* data, size_t size) {
    if (!data)
        return ImageFormat::Unknown;
    static const uint8_t png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 8 && std::memcmp(data, png, 8) == 0)
        return ImageFormat::Png;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return ImageFormat::Jpeg;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return ImageFormat::Bmp;
    if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0))
        return ImageFormat::Gif;
    return ImageFormat::Unknown;
}

Status DecodeImage(const uint8_t* data, size_t size, DecodedImage* out,
                   const DecodeLimits& limits) {
    if (!out)
        return Status::InvalidParameter;
    *out = DecodedImage();
    Status s = Status::UnknownImageFormat;
    switch (SniffImageFormat(data, size)) {
    case ImageFormat::Png:
        s = DecodePng(data, size, out, limits);
        break;
    case ImageFormat::Jpeg:
        s = DecodeJpeg(data, size, out, limits);
        break;
    case ImageFormat::Bmp:
        s = DecodeBmp(data, size, out, limits);
        break;
    case ImageFormat::Gif:
        s = DecodeGif(data, size, out, limits);
        break;
    case ImageFormat::Unknown:
        break;
    }
    if (s != Status::Ok)
        *out = DecodedImage();
    return s;
}

uint32_t Premultiply(uint32_t argb) {
    const uint32_t a = argb >> 24;
    if (a == 255)
        return argb;
    if (a == 0)
        return 0;
    auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | mul((argb >> 16) & 0xFF) << 16 | mul((argb >> 8) & 0xFF) << 8 |
           mul(argb & 0xFF);
}

uint32_t Unpremultiply(uint32_t pargb) {
    const uint32_t a = pargb >> 24;
    if (a == 255)
        return pargb;
    if (a == 0)
        return 0;
    auto div = [a](uint32_t c) {
        const uint32_t v = (c * 255 + a / 2) / a;
        return v > 255 ? 255u : v;
    };
    return a << 24 | div((pargb >> 16) & 0xFF) << 16 | div((pargb >> 8) & 0xFF) << 8 |
           div(pargb & 0xFF);
}

} // namespace gfx
