// TsgBitmap: the toolkit's raster image, a block of 32-bit ARGB pixels in memory.
//
// Pixels are $AARRGGBB words (alpha in the top byte), rows top to bottom without gaps, stored
// premultiplied. A bitmap has no pixels until it is sized or loaded; from then on it always has
// at least 1 x 1.
#pragma once

#include "platform/classes/Persistent.h"

#include <cstdint>
#include <functional>
#include <vector>

class TStream;

class TsgBitmap : public TPersistent {
public:
    // Width x height cleared pixels (sizes below 1 become 1).
    TsgBitmap(int width, int height, bool premulAlpha = true);
    // Loads the picture from the rest of the stream, from its present position. The caller
    // keeps the stream. A picture that cannot be decoded leaves the bitmap 0 x 0, without
    // pixels, and raises nothing.
    explicit TsgBitmap(TStream& stream);

    // Decodes a PNG, JPEG, BMP or GIF picture from the rest of the stream into premultiplied
    // pixels and calls OnChange; false, with the bitmap unchanged and no OnChange, when the
    // picture cannot be decoded.
    bool LoadFromStream(TStream& stream);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return bits_.empty(); }
    // Frees the pixels and makes new cleared ones when the size changes.
    void SetSize(int width, int height);
    // The word at (x, y); 0 outside the bitmap or without pixels.
    uint32_t GetPixels(int x, int y) const;
    // Stores the word at (x, y) when it is inside the bitmap.
    void SetPixels(int x, int y, uint32_t value);
    // Row y, nullptr outside the bitmap.
    uint32_t* Scanline(int y);
    const uint32_t* Scanline(int y) const;

    bool PremulAlpha() const { return premulAlpha_; }
    bool NeedUpdate = false;
    std::function<void(TsgBitmap*)> OnChange;

private:
    void Recreate();

    std::vector<uint32_t> bits_;
    int width_ = 0;
    int height_ = 0;
    bool premulAlpha_ = true;
};
