// TsgBitmap: the toolkit's raster image, a block of 32-bit ARGB pixels in memory.
//
// Pixels are $AARRGGBB words (alpha in the top byte), rows top to bottom without gaps, stored
// premultiplied; image files are straight-alpha and are converted by the codec at the edge. A
// bitmap has no pixels until it is sized or loaded; from then on it always has at least 1 x 1.
//
// The drawing layer wraps the pixel memory in place (Handle) while a canvas draws the bitmap or
// into it. Reads through GetPixels/Scanline finish pending drawing first; a canvas that draws the
// bitmap re-reads its words, so code that writes pixels directly needs no further step. The
// bitmap owns the wrapper and frees it (after OnDestroyHandle) whenever the pixels go, so a
// canvas that dies first leaves nothing dangling.
#pragma once

#include "scene/core/Sg_scene_types.h"

#include "platform/classes/Persistent.h"

#include <cstdint>
#include <memory>
#include <vector>

class TStream;
class TsgCanvas;

namespace gfx {
class Bitmap;
}

class TsgBitmap : public TPersistent {
    DBI_PERSISTENT(TsgBitmap, TPersistent)

    // Width x height cleared pixels (sizes below 1 become 1).
    TsgBitmap(int width, int height, bool premulAlpha = true);
    // Loads the picture from the rest of the stream, from its present position. The caller
    // keeps the stream. A picture that cannot be decoded leaves the bitmap 0 x 0, without
    // pixels, and raises nothing.
    explicit TsgBitmap(TStream& stream);
    ~TsgBitmap() override;
    TsgBitmap(const TsgBitmap&) = delete;
    TsgBitmap& operator=(const TsgBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return bits_.empty(); }
    // Frees the pixels and makes new cleared ones when the size changes.
    void SetSize(int width, int height);
    void SetWidth(int value);
    void SetHeight(int value);
    // Announces a new pixel block through OnBitmapDestroy/OnBitmapCreate, not OnChange.
    void Recreate();

    // Every pixel := the premultiplied colour (a straight colour given).
    void Clear(TsgColor color);
    // Left/Top truncated, Right/Bottom rounded, clamped to the bitmap.
    void ClearRect(const TsgRect& rect, TsgColor color);
    // The word at (x, y); 0 outside the bitmap or without pixels.
    uint32_t GetPixels(int x, int y) const;
    // Stores the word at (x, y) when it is inside the bitmap.
    void SetPixels(int x, int y, uint32_t value);
    // Row y, nullptr outside the bitmap.
    uint32_t* Scanline(int y);
    const uint32_t* Scanline(int y) const;
    uint32_t* StartLine() { return bits_.empty() ? nullptr : bits_.data(); }

    // The bitmap's own canvas, made on first use with the identity matrix.
    TsgCanvas* Canvas();
    // The drawing layer's wrapper of the pixels; nullptr until a canvas makes one.
    gfx::Bitmap* Handle() const { return handle_.get(); }
    void SetHandle(std::unique_ptr<gfx::Bitmap> handle);
    void DestroyHandle();

    // Pixel operations.
    void FlipHorizontal(); // rows reversed
    void FlipVertical();   // every row reversed
    // alpha := 255 - alpha; the colour channels follow the new alpha.
    void InvertAlpha();
    void FillColor(TsgColor color);
    std::vector<uint8_t> CreateMask() const;
    // Scales every pixel under a non-zero mask byte (all four premultiplied channels) by
    // (255 - m) / 255; the mask has this bitmap's width and at least Width x Height bytes (a
    // shorter one is refused).
    void ApplyMask(const std::vector<uint8_t>& mask, int dstX, int dstY);
    void Rotate(float angle);
    // A new bitmap (owned by the caller) holding this one scaled by width / Width.
    std::unique_ptr<TsgBitmap> CreateThumbnail(int width, int height);

    // Files and streams through the default image codec.
    bool LoadFromFile(const UnicodeString& fileName, float rotate = 0);
    bool LoadThumbnailFromFile(const UnicodeString& fileName, float fitWidth, float fitHeight,
                               bool useEmbedded);
    bool SaveToFile(const UnicodeString& fileName, const UnicodeString& params = UnicodeString());
    // Decodes from the stream's present position and calls OnChange; false, with the bitmap
    // unchanged and no OnChange, when the picture cannot be decoded.
    bool LoadFromStream(TStream& stream);
    // PNG.
    bool SaveToStream(TStream& stream);
    bool SaveToStreamFormat(TStream& stream, const UnicodeString& fileFormat,
                            const UnicodeString& params);

    // Resource link (named bitmap resources of style trees).
    const UnicodeString& ResourceName() const { return resourceName_; }
    void SetResourceName(const UnicodeString& value);
    TsgBitmap* ResourceBitmap() const;

    void Assign(TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;

    void BitmapChanged();
    void DoLoaded(TObject* sender);

    bool PremulAlpha() const { return premulAlpha_; }
    bool NeedUpdate = false;
    TNotifyEvent OnChange;
    TNotifyEvent OnDestroyHandle;
    TNotifyEvent OnThreadLoaded;
    TNotifyEvent OnBitmapCreate;
    TNotifyEvent OnBitmapDestroy;

private:
    // Pending drawing into the pixels is finished before the words are read.
    void SyncPixels() const;

    std::vector<uint32_t> bits_;
    std::unique_ptr<gfx::Bitmap> handle_;
    std::unique_ptr<TsgCanvas> canvas_;
    int width_ = 0;
    int height_ = 0;
    bool premulAlpha_ = true;
    UnicodeString resourceName_;
};

// Finds the bitmap of a named bitmap resource; set by the style container unit, nullptr until.
extern TsgBitmap* (*sgFindBitmapResource)(const UnicodeString& name);
