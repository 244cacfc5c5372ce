#include "platform/gfx/Bitmap.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/gfx/ImageCodec.h"

namespace gfx {

namespace {

// cairo refuses image surfaces beyond this edge length.
constexpr int kMaxEdge = 32767;

bool validSize(int w, int h) {
    return w >= 1 && h >= 1 && w <= kMaxEdge && h <= kMaxEdge;
}

} // namespace

Bitmap::Bitmap(int width, int height, PixelFormat) {
    if (!validSize(width, height)) {
        status_ = Status::InvalidParameter;
        return;
    }
    adoptPixels(width, height);
}

Bitmap::Bitmap(int width, int height, int stride, PixelFormat, uint8_t* scan0) {
    if (!validSize(width, height) || !scan0 || stride != width * 4) {
        status_ = Status::InvalidParameter;
        return;
    }
    surface_ =
        cairo_image_surface_create_for_data(scan0, CAIRO_FORMAT_ARGB32, width, height, stride);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
        status_ = Status::OutOfMemory;
        return;
    }
    pixels_ = reinterpret_cast<uint32_t*>(scan0);
    width_ = width;
    height_ = height;
    wrapped_ = true;
}

void Bitmap::adoptPixels(int width, int height) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
        status_ = Status::OutOfMemory;
        return;
    }
    pixels_ = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface_));
    width_ = width;
    height_ = height;
}

Bitmap::~Bitmap() {
    if (surface_) {
        if (wrapped_)
            cairo_surface_finish(surface_);
        cairo_surface_destroy(surface_);
    }
}

std::unique_ptr<Bitmap> Bitmap::FromMemory(const uint8_t* data, size_t size, Status* status) {
    DecodedImage image;
    Status s = DecodeImage(data, size, &image);
    std::unique_ptr<Bitmap> bitmap;
    if (s == Status::Ok) {
        bitmap.reset(new Bitmap(image.width, image.height));
        s = bitmap->GetLastStatus();
        if (s == Status::Ok) {
            const size_t n = size_t(image.width) * image.height;
            for (size_t i = 0; i < n; ++i)
                bitmap->pixels_[i] = Premultiply(image.pixels[i]);
            bitmap->MarkDirty();
            bitmap->SetResolution(image.dpiX, image.dpiY);
        } else {
            bitmap.reset();
        }
    }
    if (status)
        *status = s;
    return bitmap;
}

std::unique_ptr<Bitmap> Bitmap::FromFile(const std::string& path, Status* status) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (status)
            *status = Status::FileNotFound;
        return nullptr;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    return FromMemory(bytes.data(), bytes.size(), status);
}

Status Bitmap::SetResolution(float dpiX, float dpiY) {
    if (!(dpiX > 0) || !(dpiY > 0))
        return Status::InvalidParameter;
    dpiX_ = dpiX;
    dpiY_ = dpiY;
    return Status::Ok;
}

Status Bitmap::GetPixel(int x, int y, Color* color) const {
    if (!pixels_ || !color || x < 0 || y < 0 || x >= width_ || y >= height_)
        return Status::InvalidParameter;
    Flush();
    *color = Color(Unpremultiply(pixels_[size_t(y) * width_ + x]));
    return Status::Ok;
}

Status Bitmap::SetPixel(int x, int y, Color color) {
    if (!pixels_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return Status::InvalidParameter;
    Flush();
    pixels_[size_t(y) * width_ + x] = Premultiply(color.GetValue());
    MarkDirty();
    return Status::Ok;
}

void Bitmap::Flush() const {
    if (surface_)
        cairo_surface_flush(surface_);
}

void Bitmap::MarkDirty() const {
    if (surface_)
        cairo_surface_mark_dirty(surface_);
}

Status Bitmap::LockBits(const Rect* rect, unsigned lockMode, PixelFormat format, BitmapData* data) {
    if (!pixels_ || !data)
        return Status::InvalidParameter;
    const Rect r = rect ? *rect : Rect(0, 0, width_, height_);
    if (r.X < 0 || r.Y < 0 || r.Width < 1 || r.Height < 1 || r.X > width_ - r.Width ||
        r.Y > height_ - r.Height)
        return Status::InvalidParameter;
    Flush();
    data->Width = r.Width;
    data->Height = r.Height;
    data->Format = format;
    data->locked = r;
    data->mode = lockMode;
    uint32_t* first = pixels_ + size_t(r.Y) * width_ + r.X;
    if (format == PixelFormat::Format32bppPArgb) {
        data->Stride = width_ * 4;
        data->Scan0 = first;
        data->converted.clear();
        return Status::Ok;
    }
    data->converted.resize(size_t(r.Width) * r.Height);
    for (int y = 0; y < r.Height; ++y)
        for (int x = 0; x < r.Width; ++x)
            data->converted[size_t(y) * r.Width + x] = Unpremultiply(first[size_t(y) * width_ + x]);
    data->Stride = r.Width * 4;
    data->Scan0 = data->converted.data();
    return Status::Ok;
}

Status Bitmap::UnlockBits(BitmapData* data) {
    if (!data || !data->Scan0)
        return Status::InvalidParameter;
    if (data->mode & ImageLockModeWrite) {
        if (data->Format == PixelFormat::Format32bppArgb) {
            const Rect& r = data->locked;
            uint32_t* first = pixels_ + size_t(r.Y) * width_ + r.X;
            for (int y = 0; y < r.Height; ++y)
                for (int x = 0; x < r.Width; ++x)
                    first[size_t(y) * width_ + x] =
                        Premultiply(data->converted[size_t(y) * r.Width + x]);
        }
        MarkDirty();
    }
    data->Scan0 = nullptr;
    data->converted.clear();
    return Status::Ok;
}

Status Bitmap::RotateFlip(RotateFlipType type) {
    if (!pixels_)
        return Status::WrongState;
    const int t = int(type);
    if (t < 0 || t > 7)
        return Status::InvalidParameter;
    const int quarter = t & 3;
    const bool flipX = t >= 4;
    Flush();
    const int w = width_, h = height_;
    const int nw = quarter % 2 ? h : w;
    const int nh = quarter % 2 ? w : h;
    std::vector<uint32_t> out(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Clockwise turn by `quarter` quarters, then the mirror across the vertical axis.
            int nx, ny;
            switch (quarter) {
            case 1:
                nx = h - 1 - y;
                ny = x;
                break;
            case 2:
                nx = w - 1 - x;
                ny = h - 1 - y;
                break;
            case 3:
                nx = y;
                ny = w - 1 - x;
                break;
            default:
                nx = x;
                ny = y;
            }
            if (flipX)
                nx = nw - 1 - nx;
            out[size_t(ny) * nw + nx] = pixels_[size_t(y) * w + x];
        }
    }
    if (nw != w) {
        uint8_t* memory = reinterpret_cast<uint8_t*>(pixels_);
        if (wrapped_) {
            cairo_surface_finish(surface_);
            cairo_surface_destroy(surface_);
            surface_ =
                cairo_image_surface_create_for_data(memory, CAIRO_FORMAT_ARGB32, nw, nh, nw * 4);
            width_ = nw;
            height_ = nh;
        } else {
            cairo_surface_destroy(surface_);
            surface_ = nullptr;
            adoptPixels(nw, nh);
            if (!surface_)
                return Status::OutOfMemory;
        }
        std::swap(dpiX_, dpiY_);
    }
    std::memcpy(pixels_, out.data(), out.size() * 4);
    MarkDirty();
    return Status::Ok;
}

std::unique_ptr<Bitmap> Bitmap::GetThumbnailImage(int width, int height) const {
    auto thumb = std::make_unique<Bitmap>(width, height);
    if (thumb->GetLastStatus() != Status::Ok || !surface_)
        return nullptr;
    Flush();
    cairo_t* cr = cairo_create(thumb->surface_);
    cairo_scale(cr, double(width) / width_, double(height) / height_);
    cairo_set_source_surface(cr, surface_, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_rectangle(cr, 0, 0, width_, height_);
    cairo_fill(cr);
    cairo_destroy(cr);
    thumb->Flush();
    return thumb;
}

std::unique_ptr<Bitmap> Bitmap::Clone() const {
    if (!pixels_)
        return nullptr;
    auto copy = std::make_unique<Bitmap>(width_, height_);
    if (copy->GetLastStatus() != Status::Ok)
        return nullptr;
    Flush();
    std::memcpy(copy->pixels_, pixels_, size_t(width_) * height_ * 4);
    copy->MarkDirty();
    copy->dpiX_ = dpiX_;
    copy->dpiY_ = dpiY_;
    return copy;
}

bool IsEncoderAvailable(std::string_view mimeType) {
    return mimeType == "image/png" || mimeType == "image/jpeg" || mimeType == "image/bmp" ||
           mimeType == "image/gif";
}

Status Bitmap::SaveToMemory(std::vector<uint8_t>* out, std::string_view mimeType,
                            const int* quality) {
    if (!out)
        return Status::InvalidParameter;
    if (!IsEncoderAvailable(mimeType))
        return Status::UnknownImageFormat;
    if (!pixels_)
        return Status::WrongState;
    Flush();
    std::vector<uint32_t> straight(size_t(width_) * height_);
    for (size_t i = 0; i < straight.size(); ++i)
        straight[i] = Unpremultiply(pixels_[i]);
    out->clear();
    if (mimeType == "image/png")
        return EncodePng(straight.data(), width_, height_, out);
    if (mimeType == "image/jpeg")
        return EncodeJpeg(straight.data(), width_, height_, quality ? *quality : 75, out);
    if (mimeType == "image/gif")
        return EncodeGif(straight.data(), width_, height_, out);
    return EncodeBmp(straight.data(), width_, height_, out);
}

Status Bitmap::Save(const std::string& path, std::string_view mimeType, const int* quality) {
    std::vector<uint8_t> bytes;
    const Status s = SaveToMemory(&bytes, mimeType, quality);
    if (s != Status::Ok)
        return s;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return Status::AccessDenied;
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return file ? Status::Ok : Status::GenericError;
}

} // namespace gfx
