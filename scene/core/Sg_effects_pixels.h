// Pixel steps the effects share, kept exact for premultiplied pictures.
#pragma once

#include "scene/core/Sg_scene_types.h"

#include <cstdint>
#include <vector>

class TsgBitmap;

// Pixels under the mask shifted by (dX, dY) lose that much coverage: all four channels are scaled
// by (255 - m) / 255 and truncated, so a pixel that loses all of its coverage carries no colour
// that drawing a premultiplied picture would add to what lies beneath.
void sgRemoveCoverage(TsgBitmap& Bitmap, const std::vector<uint8_t>& Mask, int dX, int dY);
// Every pixel becomes Color (straight, its alpha ignored) at the pixel's own coverage. The glows
// blur colour into transparent pixels on purpose, so that the edge of the glow keeps the glow's
// colour; a premultiplied picture must not keep that colour where it has no coverage, or drawing
// it would add the colour to whatever lies beneath.
void sgSettleColor(TsgBitmap& Bitmap, TsgColor Color);
