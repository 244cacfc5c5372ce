// Helpers of the canvas tests: buffered canvases, pixel reads and small picture files.
#pragma once

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_scene.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

inline std::unique_ptr<TsgCanvasGdiPlus> MakeCanvas(int w, int h, TsgColor clear = 0) {
    auto canvas = std::make_unique<TsgCanvasGdiPlus>(w, h);
    canvas->SetMatrix(IdentityMatrix);
    canvas->Clear(clear);
    canvas->Stroke()->SetStyle(sgBrushNone);
    return canvas;
}

// The buffer word at (x, y), after pending drawing is finished.
inline uint32_t PixelAt(TsgCanvas& canvas, int x, int y) {
    std::vector<uint32_t> bits(size_t(canvas.Width()) * canvas.Height());
    canvas.SaveToBits(bits.data());
    return bits[size_t(y) * canvas.Width() + x];
}

inline std::vector<uint32_t> Pixels(TsgCanvas& canvas) {
    std::vector<uint32_t> bits(size_t(canvas.Width()) * canvas.Height());
    canvas.SaveToBits(bits.data());
    return bits;
}

inline int Alpha(uint32_t p) {
    return int(p >> 24);
}

inline void SetSolidFill(TsgCanvas& canvas, TsgColor color) {
    canvas.Fill()->SetStyle(sgBrushSolid);
    canvas.Fill()->SetSolidColor(color);
}

inline void SetSolidStroke(TsgCanvas& canvas, TsgColor color, float thickness) {
    canvas.Stroke()->SetStyle(sgBrushSolid);
    canvas.Stroke()->SetSolidColor(color);
    canvas.StrokeThickness = thickness;
}

// Runs the Pillow oracle (tests/scene/core/pillow_oracle.py) with the arguments; false when it
// fails.
inline bool RunPillow(const std::string& arguments) {
    const std::string command =
        "/usr/bin/python3 " +
        (testsupport::SourceDir() / "tests/scene/core/pillow_oracle.py").string() + " " + arguments;
    return std::system(command.c_str()) == 0;
}
