// BMP files: the 12-byte core header and the 40- to 124-byte info headers; 1-, 2-, 4- and 8-bit
// palettes, 16/32-bit masks, 24-bit; RLE8 and RLE4. Every offset and length is checked against
// the file before it is used. 32-bit files without an alpha mask keep their fourth byte as
// alpha unless it is 0 everywhere (then the image is opaque), as writers disagree on that byte.
#include <cstring>

#include "platform/gfx/ImageCodec.h"

namespace gfx {

namespace {

uint16_t u16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6 };

// One colour channel described by a mask: shifted down and stretched to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit Channel(uint32_t m = 0) : mask(m) {
        if (!m)
            return;
        while (!((m >> shift) & 1))
            ++shift;
        max = m >> shift;
    }
    uint32_t get(uint32_t v) const {
        if (!mask)
            return 0;
        return uint32_t(uint64_t((v & mask) >> shift) * 255 / max);
    }
};

struct Header {
    int64_t width = 0;
    int64_t height = 0;
    bool topDown = false;
    int bpp = 0;
    uint32_t compression = kRgb;
    Channel r, g, b, a;
    std::vector<uint32_t> palette;
    float dpiX = 96, dpiY = 96;
};

Status readHeader(const uint8_t* data, size_t size, Header* h) {
    if (size < 14 + 12)
        return Status::InvalidParameter;
    const uint32_t headerSize = u32(data + 14);
    if (headerSize < 12 || headerSize > size - 14)
        return Status::InvalidParameter;
    const uint8_t* ih = data + 14;
    int paletteEntry = 4;
    uint32_t colorsUsed = 0;
    if (headerSize == 12) {
        h->width = u16(ih + 4);
        h->height = int16_t(u16(ih + 6));
        h->bpp = u16(ih + 10);
        paletteEntry = 3;
    } else if (headerSize >= 40) {
        h->width = int32_t(u32(ih + 4));
        h->height = int32_t(u32(ih + 8));
        h->bpp = u16(ih + 14);
        h->compression = u32(ih + 16);
        const uint32_t ppmX = u32(ih + 24), ppmY = u32(ih + 28);
        if (ppmX && ppmY && ppmX < 1000000 && ppmY < 1000000) {
            h->dpiX = float(ppmX * 0.0254);
            h->dpiY = float(ppmY * 0.0254);
        }
        colorsUsed = u32(ih + 32);
    } else {
        return Status::InvalidParameter;
    }
    if (h->height < 0) {
        h->topDown = true;
        h->height = -h->height;
    }
    if (h->width <= 0 || h->height <= 0)
        return Status::InvalidParameter;
    size_t afterHeader = 14 + size_t(headerSize);
    if (h->compression == kBitfields || h->compression == kAlphaBitfields) {
        if (h->bpp != 16 && h->bpp != 32)
            return Status::InvalidParameter;
        // Masks sit inside the larger headers, and right after a 40-byte one.
        const bool inHeader = headerSize >= 52;
        const size_t count = h->compression == kAlphaBitfields || headerSize >= 56 ? 4 : 3;
        const uint8_t* m = inHeader ? ih + 40 : data + afterHeader;
        if (!inHeader) {
            if (size - afterHeader < count * 4)
                return Status::InvalidParameter;
            afterHeader += count * 4;
        }
        h->r = Channel(u32(m));
        h->g = Channel(u32(m + 4));
        h->b = Channel(u32(m + 8));
        if (count == 4)
            h->a = Channel(u32(m + 12));
    } else if (h->compression == kRgb) {
        if (h->bpp == 16) {
            h->r = Channel(0x7C00);
            h->g = Channel(0x03E0);
            h->b = Channel(0x001F);
        } else if (h->bpp == 32) {
            h->r = Channel(0x00FF0000);
            h->g = Channel(0x0000FF00);
            h->b = Channel(0x000000FF);
        } else if (h->bpp != 1 && h->bpp != 2 && h->bpp != 4 && h->bpp != 8 && h->bpp != 24) {
            return Status::InvalidParameter;
        }
    } else if (h->compression == kRle8) {
        if (h->bpp != 8 || h->topDown)
            return Status::InvalidParameter;
    } else if (h->compression == kRle4) {
        if (h->bpp != 4 || h->topDown)
            return Status::InvalidParameter;
    } else {
        return Status::UnknownImageFormat;
    }
    if (h->bpp <= 8) {
        const uint32_t full = 1u << h->bpp;
        const uint32_t count = colorsUsed && colorsUsed < full ? colorsUsed : full;
        // A short palette is read as far as the file has it; the rest stays black.
        const size_t room = (size - afterHeader) / paletteEntry;
        h->palette.assign(full, 0xFF000000u);
        for (uint32_t i = 0; i < count && i < room; ++i) {
            const uint8_t* e = data + afterHeader + size_t(i) * paletteEntry;
            h->palette[i] = 0xFF000000u | uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
        }
    }
    return Status::Ok;
}

void decodeRows(const uint8_t* bits, size_t stride, const Header& h, DecodedImage* out) {
    const int w = int(h.width), height = int(h.height);
    bool anyAlpha = false;
    for (int row = 0; row < height; ++row) {
        const uint8_t* src = bits + size_t(row) * stride;
        const int y = h.topDown ? row : height - 1 - row;
        uint32_t* dst = out->pixels.data() + size_t(y) * w;
        for (int x = 0; x < w; ++x) {
            uint32_t px;
            switch (h.bpp) {
            case 1:
            case 2:
            case 4:
            case 8: {
                const size_t bit = size_t(x) * h.bpp;
                const int shift = 8 - h.bpp - int(bit % 8);
                px = h.palette[(src[bit / 8] >> shift) & ((1u << h.bpp) - 1)];
                break;
            }
            case 24:
                px = 0xFF000000u | uint32_t(src[x * 3 + 2]) << 16 | uint32_t(src[x * 3 + 1]) << 8 |
                     src[x * 3];
                break;
            default: {
                const uint32_t v = h.bpp == 16 ? u16(src + x * 2) : u32(src + size_t(x) * 4);
                uint32_t alpha = 0xFF;
                if (h.a.mask)
                    alpha = h.a.get(v);
                else if (h.bpp == 32) {
                    alpha = v >> 24;
                    anyAlpha = anyAlpha || alpha;
                }
                px = alpha << 24 | h.r.get(v) << 16 | h.g.get(v) << 8 | h.b.get(v);
            }
            }
            dst[x] = px;
        }
    }
    if (h.bpp == 32 && !h.a.mask && !anyAlpha)
        for (uint32_t& px : out->pixels)
            px |= 0xFF000000u;
}

// Run-length data: pixels the runs never reach stay transparent.
Status decodeRle(const uint8_t* p, size_t n, const Header& h, DecodedImage* out) {
    const int w = int(h.width), height = int(h.height);
    const bool four = h.compression == kRle4;
    int x = 0, row = 0;
    size_t i = 0;
    auto put = [&](uint32_t index) {
        if (x < w && row < height)
            out->pixels[size_t(height - 1 - row) * w + x] = h.palette[index & 0xFF];
        ++x;
    };
    while (i + 1 < n && row < height) {
        const uint8_t count = p[i], value = p[i + 1];
        i += 2;
        if (count) {
            for (int k = 0; k < count; ++k)
                put(four ? (k % 2 ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return Status::Ok;
        } else if (value == 2) {
            if (i + 1 >= n)
                break;
            x += p[i];
            row += p[i + 1];
            i += 2;
        } else {
            const size_t bytes = four ? (value + 1) / 2 : value;
            if (bytes > n - i)
                break;
            for (int k = 0; k < value; ++k)
                put(four ? (k % 2 ? p[i + k / 2] & 0x0F : p[i + k / 2] >> 4) : p[i + k]);
            // Absolute runs are padded to a 16-bit boundary.
            i += (bytes + 1) & ~size_t(1);
        }
    }
    return Status::Ok;
}

} // namespace

Status DecodeBmp(const uint8_t* data, size_t size, DecodedImage* out, const DecodeLimits& limits) {
    if (!data || !out || size < 2 || data[0] != 'B' || data[1] != 'M')
        return Status::InvalidParameter;
    Header h;
    Status s = readHeader(data, size, &h);
    if (s != Status::Ok)
        return s;
    if (h.width > 32767 || h.height > 32767 || h.width * h.height > limits.maxPixels)
        return Status::InvalidParameter;
    const uint32_t offset = u32(data + 10);
    if (offset >= size)
        return Status::InvalidParameter;
    const uint8_t* bits = data + offset;
    const size_t available = size - offset;
    if (h.compression == kRle8 || h.compression == kRle4) {
        out->width = int(h.width);
        out->height = int(h.height);
        out->pixels.assign(size_t(h.width) * h.height, 0);
        s = decodeRle(bits, available, h, out);
    } else {
        const size_t stride = ((size_t(h.width) * h.bpp + 31) / 32) * 4;
        const size_t lastRow = (size_t(h.width) * h.bpp + 7) / 8;
        // The final row's padding may be missing; anything shorter is a broken file.
        if (available < lastRow || (size_t(h.height) - 1) > (available - lastRow) / stride)
            return Status::InvalidParameter;
        out->width = int(h.width);
        out->height = int(h.height);
        out->pixels.assign(size_t(h.width) * h.height, 0);
        decodeRows(bits, stride, h, out);
    }
    out->dpiX = h.dpiX;
    out->dpiY = h.dpiY;
    return s;
}

Status EncodeBmp(const uint32_t* pixels, int width, int height, std::vector<uint8_t>* out) {
    if (!pixels || !out || width < 1 || height < 1)
        return Status::InvalidParameter;
    // A version-4 header with bit-field masks, so that readers find the alpha channel.
    constexpr uint32_t kInfoSize = 108;
    const uint32_t imageBytes = uint32_t(width) * uint32_t(height) * 4;
    const uint32_t offset = 14 + kInfoSize;
    out->assign(size_t(offset) + imageBytes, 0);
    uint8_t* p = out->data();
    auto put16 = [](uint8_t* at, uint32_t v) {
        at[0] = uint8_t(v);
        at[1] = uint8_t(v >> 8);
    };
    auto put32 = [](uint8_t* at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            at[i] = uint8_t(v >> (8 * i));
    };
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, offset + imageBytes);
    put32(p + 10, offset);
    uint8_t* ih = p + 14;
    put32(ih, kInfoSize);
    put32(ih + 4, uint32_t(width));
    put32(ih + 8, uint32_t(-height)); // top-down rows
    put16(ih + 12, 1);
    put16(ih + 14, 32);
    put32(ih + 16, kBitfields);
    put32(ih + 20, imageBytes);
    put32(ih + 24, 3780);
    put32(ih + 28, 3780);
    put32(ih + 40, 0x00FF0000);
    put32(ih + 44, 0x0000FF00);
    put32(ih + 48, 0x000000FF);
    put32(ih + 52, 0xFF000000);
    std::memcpy(ih + 56, "BGRs", 4); // colour space: sRGB, stored reversed as the format does
    uint8_t* dst = p + offset;
    for (size_t i = 0; i < size_t(width) * height; ++i)
        put32(dst + i * 4, pixels[i]);
    return Status::Ok;
}

} // namespace gfx
