// A raster image: a cairo ARGB32 image surface, i.e. premultiplied $AARRGGBB words, stride
// 4 x width, rows top to bottom. It either owns its pixels or wraps pixel memory that the caller
// keeps alive for the bitmap's whole life (the toolkit's own bitmaps are wrapped in place).
//
// Direct pixel access: call Flush() before reading or writing the words that Scan0() points to,
// and MarkDirty() after writing them; LockBits/UnlockBits do both.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/GfxTypes.h"

struct _cairo_surface;

namespace gfx {

class Bitmap;
using Image = Bitmap;

enum ImageLockMode : unsigned { ImageLockModeRead = 1, ImageLockModeWrite = 2 };

struct BitmapData {
    int Width = 0;
    int Height = 0;
    int Stride = 0;
    PixelFormat Format = PixelFormat::Format32bppPArgb;
    void* Scan0 = nullptr;
    // Private to the bitmap: the locked rectangle, the lock mode and a converted copy.
    Rect locked;
    unsigned mode = 0;
    std::vector<uint32_t> converted;
};

class Bitmap {
public:
    // Owned pixels, all 0 (transparent). A size below 1 gives InvalidParameter.
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Format32bppPArgb);
    // Wraps `scan0` in place. The memory holds premultiplied words whatever `format` says (the
    // toolkit keeps its pixels premultiplied); stride must be 4 x width.
    Bitmap(int width, int height, int stride, PixelFormat format, uint8_t* scan0);
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    // A wrapped surface is finished here, so a Graphics that outlives the bitmap stops touching
    // the memory instead of writing into it.
    ~Bitmap();

    // Decoders for PNG, JPEG, BMP and GIF (first frame), chosen by the file's signature. nullptr
    // and the reason in *status when the data cannot be decoded.
    static std::unique_ptr<Bitmap> FromMemory(const uint8_t* data, size_t size,
                                              Status* status = nullptr);
    static std::unique_ptr<Bitmap> FromFile(const std::string& path, Status* status = nullptr);

    Status GetLastStatus() const { return status_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    float GetHorizontalResolution() const { return dpiX_; }
    float GetVerticalResolution() const { return dpiY_; }
    Status SetResolution(float dpiX, float dpiY);
    PixelFormat GetPixelFormat() const { return PixelFormat::Format32bppPArgb; }

    // Straight colours in and out (converted from and to the premultiplied words).
    Status GetPixel(int x, int y, Color* color) const;
    Status SetPixel(int x, int y, Color color);

    // Format32bppPArgb hands out the words themselves; Format32bppArgb a straight-alpha copy,
    // written back premultiplied on UnlockBits when the lock mode includes writing.
    Status LockBits(const Rect* rect, unsigned lockMode, PixelFormat format, BitmapData* data);
    Status UnlockBits(BitmapData* data);

    Status RotateFlip(RotateFlipType type);
    // A new bitmap of the given size holding this one scaled into it.
    std::unique_ptr<Bitmap> GetThumbnailImage(int width, int height) const;
    std::unique_ptr<Bitmap> Clone() const;

    // Encoders by MIME type: "image/png", "image/jpeg", "image/bmp", "image/gif" (see
    // EncodeGif). Any other type gives UnknownImageFormat. `quality` (0..100) matters for JPEG.
    Status Save(const std::string& path, std::string_view mimeType, const int* quality = nullptr);
    Status SaveToMemory(std::vector<uint8_t>* out, std::string_view mimeType,
                        const int* quality = nullptr);

    uint32_t* Scan0() const { return pixels_; }
    int Stride() const { return width_ * 4; }
    void Flush() const;
    void MarkDirty() const;

    _cairo_surface* Surface() const { return surface_; }

private:
    Bitmap() = default;
    void adoptPixels(int width, int height);

    _cairo_surface* surface_ = nullptr;
    uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool wrapped_ = false;
    float dpiX_ = 96;
    float dpiY_ = 96;
    Status status_ = Status::Ok;
};

// True when Save knows the MIME type.
bool IsEncoderAvailable(std::string_view mimeType);

} // namespace gfx
