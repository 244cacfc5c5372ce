// PNG through libpng. Palette, grey, 16-bit, tRNS and interlaced files all come out as 8-bit
// BGRA rows, which on a little-endian machine are the $AARRGGBB words the layer uses.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "platform/gfx/ImageCodec.h"

namespace gfx {

namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > r->size - r->pos)
        png_error(png, "truncated");
    std::memcpy(out, r->data + r->pos, count);
    r->pos += count;
}

void writeToVector(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

void flushNothing(png_structp) {}

// libpng reports problems through these; a decoder that prints is noise in a GUI program.
void quietWarning(png_structp, png_const_charp) {}

void errorToJump(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// The two libpng phases of decoding. Neither frame holds a C++ object with a destructor, so the
// long jump out of libpng skips nothing that needs cleaning up.
bool readHeader(png_structp png, png_infop info, MemoryReader* reader, png_uint_32* w,
                png_uint_32* h, const DecodeLimits& limits) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, reader, readFromMemory);
    png_set_user_limits(png, 32767, 32767);
    png_read_info(png, info);
    int depth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, w, h, &depth, &colorType, &interlace, nullptr, nullptr);
    if (*w == 0 || *h == 0 || int64_t(*w) * *h > limits.maxPixels)
        return false;
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (depth == 16)
        png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == size_t(*w) * 4;
}

bool readBody(png_structp png, png_infop info, png_bytepp rows, DecodedImage* out) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    png_uint_32 resX = 0, resY = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &resX, &resY, &unit) && unit == PNG_RESOLUTION_METER && resX &&
        resY) {
        out->dpiX = float(resX * 0.0254);
        out->dpiY = float(resY * 0.0254);
    }
    return true;
}

} // namespace

Status DecodePng(const uint8_t* data, size_t size, DecodedImage* out, const DecodeLimits& limits) {
    if (!data || !out || size < 8)
        return Status::InvalidParameter;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, errorToJump, quietWarning);
    if (!png)
        return Status::OutOfMemory;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return Status::OutOfMemory;
    }
    MemoryReader reader{data, size, 0};
    png_uint_32 w = 0, h = 0;
    bool ok = readHeader(png, info, &reader, &w, &h, limits);
    if (ok) {
        out->width = int(w);
        out->height = int(h);
        out->pixels.assign(size_t(w) * h, 0);
        std::vector<png_bytep> rows(h);
        for (png_uint_32 y = 0; y < h; ++y)
            rows[y] = reinterpret_cast<png_bytep>(out->pixels.data() + size_t(y) * w);
        ok = readBody(png, info, rows.data(), out);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return ok ? Status::Ok : Status::InvalidParameter;
}

namespace {

bool writeRows(png_structp png, png_infop info, const uint32_t* pixels, int width, int height,
               std::vector<uint8_t>* out) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, writeToVector, flushNothing);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // 96 dots per inch, the resolution every bitmap of the layer starts with.
    png_set_pHYs(png, info, 3780, 3780, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int y = 0; y < height; ++y)
        png_write_row(png, reinterpret_cast<png_const_bytep>(pixels + size_t(y) * width));
    png_write_end(png, nullptr);
    return true;
}

} // namespace

Status EncodePng(const uint32_t* pixels, int width, int height, std::vector<uint8_t>* out) {
    if (!pixels || !out || width < 1 || height < 1)
        return Status::InvalidParameter;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, errorToJump, quietWarning);
    if (!png)
        return Status::OutOfMemory;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return Status::OutOfMemory;
    }
    out->clear();
    const bool ok = writeRows(png, info, pixels, width, height, out);
    png_destroy_write_struct(&png, &info);
    return ok ? Status::Ok : Status::GenericError;
}

} // namespace gfx
