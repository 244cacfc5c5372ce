// JPEG through libjpeg(-turbo): grey, YCbCr and RGB files are expanded to BGRA by the library;
// CMYK and YCCK files are converted here (Adobe's inverted CMYK, as those files are written).
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include <cstdlib>
#include <cstring>

#include "platform/gfx/ImageCodec.h"

namespace gfx {

namespace {

struct JumpingErrors {
    jpeg_error_mgr base;
    jmp_buf jump;
};

void jumpOut(j_common_ptr info) {
    longjmp(reinterpret_cast<JumpingErrors*>(info->err)->jump, 1);
}

// Warnings about corrupt data are not worth a line on standard error; the decoder carries on.
void silent(j_common_ptr, int) {}

// Errors jump back to the setjmp of the phase that met them instead of ending the program.
jpeg_error_mgr* jumpingErrors(JumpingErrors* errors) {
    jpeg_error_mgr* manager = jpeg_std_error(&errors->base);
    manager->error_exit = jumpOut;
    manager->emit_message = silent;
    return manager;
}

bool readHeader(jpeg_decompress_struct* info, const uint8_t* data, size_t size,
                const DecodeLimits& limits, bool* cmyk) {
    if (setjmp(reinterpret_cast<JumpingErrors*>(info->err)->jump))
        return false;
    jpeg_mem_src(info, data, static_cast<unsigned long>(size));
    jpeg_read_header(info, TRUE);
    if (info->image_width == 0 || info->image_height == 0 ||
        int64_t(info->image_width) * info->image_height > limits.maxPixels)
        return false;
    *cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = *cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(info);
    return info->output_components == 4;
}

bool readScanlines(jpeg_decompress_struct* info, uint32_t* pixels, bool cmyk) {
    if (setjmp(reinterpret_cast<JumpingErrors*>(info->err)->jump))
        return false;
    const JDIMENSION w = info->output_width;
    while (info->output_scanline < info->output_height) {
        uint32_t* row = pixels + size_t(info->output_scanline) * w;
        JSAMPROW rowPointer = reinterpret_cast<JSAMPROW>(row);
        if (jpeg_read_scanlines(info, &rowPointer, 1) != 1)
            return false;
        if (cmyk) {
            const uint8_t* p = reinterpret_cast<const uint8_t*>(row);
            for (JDIMENSION x = 0; x < w; ++x) {
                const uint32_t c = p[x * 4], m = p[x * 4 + 1], y = p[x * 4 + 2], k = p[x * 4 + 3];
                const uint32_t r = (c * k + 127) / 255, g = (m * k + 127) / 255,
                               b = (y * k + 127) / 255;
                row[x] = 0xFF000000u | r << 16 | g << 8 | b;
            }
        }
    }
    jpeg_finish_decompress(info);
    return true;
}

} // namespace

Status DecodeJpeg(const uint8_t* data, size_t size, DecodedImage* out, const DecodeLimits& limits) {
    if (!data || !out || size < 4)
        return Status::InvalidParameter;
    jpeg_decompress_struct info;
    JumpingErrors errors;
    info.err = jumpingErrors(&errors);
    jpeg_create_decompress(&info);
    bool cmyk = false;
    bool ok = readHeader(&info, data, size, limits, &cmyk);
    if (ok) {
        out->width = int(info.output_width);
        out->height = int(info.output_height);
        out->pixels.assign(size_t(out->width) * out->height, 0xFF000000u);
        ok = readScanlines(&info, out->pixels.data(), cmyk);
        if (info.density_unit == 1 && info.X_density && info.Y_density) {
            out->dpiX = info.X_density;
            out->dpiY = info.Y_density;
        } else if (info.density_unit == 2 && info.X_density && info.Y_density) {
            out->dpiX = float(info.X_density * 2.54);
            out->dpiY = float(info.Y_density * 2.54);
        }
    }
    jpeg_destroy_decompress(&info);
    return ok ? Status::Ok : Status::InvalidParameter;
}

namespace {

bool compress(jpeg_compress_struct* info, const uint32_t* pixels, int width, int height,
              int quality, unsigned char** buffer, unsigned long* length) {
    if (setjmp(reinterpret_cast<JumpingErrors*>(info->err)->jump))
        return false;
    jpeg_mem_dest(info, buffer, length);
    info->image_width = JDIMENSION(width);
    info->image_height = JDIMENSION(height);
    info->input_components = 4;
    info->in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    info->density_unit = 1;
    info->X_density = 96;
    info->Y_density = 96;
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(
            const_cast<uint32_t*>(pixels + size_t(info->next_scanline) * width));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

} // namespace

Status EncodeJpeg(const uint32_t* pixels, int width, int height, int quality,
                  std::vector<uint8_t>* out) {
    if (!pixels || !out || width < 1 || height < 1)
        return Status::InvalidParameter;
    quality = quality < 0 ? 0 : quality > 100 ? 100 : quality;
    jpeg_compress_struct info;
    JumpingErrors errors;
    info.err = jumpingErrors(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    const bool ok = compress(&info, pixels, width, height, quality, &buffer, &length);
    jpeg_destroy_compress(&info);
    if (ok)
        out->assign(buffer, buffer + length);
    std::free(buffer);
    return ok ? Status::Ok : Status::GenericError;
}

} // namespace gfx
