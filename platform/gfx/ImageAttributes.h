// How DrawImage recolours the pixels it draws: a 5 x 5 colour matrix applied to straight
// (r, g, b, a, 1) row vectors with components in 0..1, result clamped.
#pragma once

#include "platform/gfx/GfxTypes.h"

namespace gfx {

struct ColorMatrix {
    float m[5][5] = {
        {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, 1, 0}, {0, 0, 0, 0, 1}};
};

enum class ColorMatrixFlags { Default = 0, SkipGrays = 1, AltGray = 2 };
enum class ColorAdjustType { Default = 0, Bitmap = 1, Brush = 2, Pen = 3, Text = 4 };

class ImageAttributes {
public:
    Status SetColorMatrix(const ColorMatrix* matrix,
                          ColorMatrixFlags flags = ColorMatrixFlags::Default,
                          ColorAdjustType type = ColorAdjustType::Default) {
        if (!matrix || flags != ColorMatrixFlags::Default)
            return Status::InvalidParameter;
        (void)type;
        matrix_ = *matrix;
        hasMatrix_ = true;
        return Status::Ok;
    }
    Status ClearColorMatrix() {
        hasMatrix_ = false;
        return Status::Ok;
    }
    bool HasColorMatrix() const { return hasMatrix_; }
    const ColorMatrix& GetColorMatrix() const { return matrix_; }

    // The alpha factor when the matrix only scales alpha (the common opacity case), else -1.
    float AlphaOnlyFactor() const {
        if (!hasMatrix_)
            return 1;
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 5; ++c)
                if (!(r == 3 && c == 3) && matrix_.m[r][c] != (r == c ? 1.0f : 0.0f))
                    return -1;
        return matrix_.m[3][3];
    }

private:
    ColorMatrix matrix_;
    bool hasMatrix_ = false;
};

} // namespace gfx
