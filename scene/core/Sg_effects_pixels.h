// Pixel steps the effects share, kept exact for premultiplied pictures.
#pragma once

#include <cstdint>
#include <vector>

class TsgBitmap;

// Pixels under the mask shifted by (dX, dY) lose that much coverage: all four channels are scaled
// by (255 - m) / 255 and truncated, so a pixel that loses all of its coverage carries no colour
// that drawing a premultiplied picture would add to what lies beneath.
void sgRemoveCoverage(TsgBitmap& Bitmap, const std::vector<uint8_t>& Mask, int dX, int dY);
// Brings every colour channel down to the pixel's alpha: the glows blur colour into transparent
// pixels on purpose, and a premultiplied picture must not carry more colour than coverage.
void sgClampToAlpha(TsgBitmap& Bitmap);
