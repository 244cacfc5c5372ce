// Copying a drawing buffer to a window.
//
// The buffer holds premultiplied 32-bit ARGB pixels (alpha in the top byte of each native-endian
// word), the pixel (x, y) at `pixels` + y * stride bytes + 4 * x, its origin at the window's
// client origin. The copy is opaque: alpha is ignored and the colour channels go to the screen
// as they are, which is a buffer composed over black.
#pragma once

#include "platform/ui/Geometry.h"
#include "platform/ui/Messages.h"

#include <cstdint>
#include <vector>

// Copies the part `rect` (client coordinates) of a width x height buffer to the window, clipped
// to the buffer and the client area, and leaving out what visible windows stacked in front of
// this one (or of its parents) cover; false when the window has no surface to show it on.
bool PresentBuffer(HWND hwnd, const uint32_t* pixels, int width, int height, int strideBytes,
                   const TRect& rect);

// Reads back what the window shows, as opaque ARGB (alpha 0xFF) pixels of its client area, row
// after row; empty when the window has no surface. For tests and screenshots of the real window.
bool ReadWindowPixels(HWND hwnd, std::vector<uint32_t>& pixels, int& width, int& height);
