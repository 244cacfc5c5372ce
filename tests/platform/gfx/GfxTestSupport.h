// Helpers shared by the drawing-layer tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"

namespace gfx::testing {

// The premultiplied word at (x, y), after pending drawing has reached the pixels.
inline uint32_t PixelAt(const Bitmap& bitmap, int x, int y) {
    bitmap.Flush();
    return bitmap.Scan0()[size_t(y) * bitmap.GetWidth() + x];
}

inline int Channel(uint32_t word, int shift) {
    return int((word >> shift) & 0xFF);
}

// Counts the pixels equal to `word`.
inline int CountPixels(const Bitmap& bitmap, uint32_t word) {
    bitmap.Flush();
    int n = 0;
    for (int i = 0; i < bitmap.GetWidth() * bitmap.GetHeight(); ++i)
        n += bitmap.Scan0()[i] == word;
    return n;
}

// A graphics with the settings the toolkit's canvas uses.
inline void UseCanvasSettings(Graphics& g) {
    g.SetSmoothingMode(SmoothingMode::HighQuality);
    g.SetPixelOffsetMode(PixelOffsetMode::Half);
    g.SetInterpolationMode(InterpolationMode::HighQuality);
}

// Runs Debian's Python with a script of this folder; the exit status.
inline int RunPython(const std::string& script, const std::string& args) {
    const std::string command = "/usr/bin/python3 '" + std::string(DBI_SOURCE_DIR) +
                                "/tests/platform/gfx/" + script + "' " + args;
    return std::system(command.c_str());
}

} // namespace gfx::testing
