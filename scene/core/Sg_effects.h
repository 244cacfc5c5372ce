// Bitmap effects of visual objects and the blur they rest on.
#pragma once

class TsgCanvas;
class TsgBitmap;

// Blurs the premultiplied pixels of the bitmap in place with a separable tent filter of the given
// radius: every row, then every column, each output channel the sum of (radius + 1 - |i|) times
// the source at offset i (edges repeated), divided by (radius + 1)^2 and truncated. The cost per
// pixel does not depend on the radius. A radius below 1 changes nothing. With alpha false the
// alpha channel is left as it is. The canvas is not used.
void Blur(TsgCanvas* canvas, TsgBitmap* bitmap, int radius, bool alpha);
