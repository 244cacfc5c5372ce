// What fills and pens paint with: one colour, a linear gradient, a gradient over a path, or a
// tiled image. Colours are straight ARGB. A brush transform maps brush space to world space;
// "Prepend" applies a new transform in brush space, before the existing one.
#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/GfxTypes.h"
#include "platform/gfx/GraphicsPath.h"
#include "platform/gfx/Matrix.h"

struct _cairo_surface;

namespace gfx {

class Bitmap;
using Image = Bitmap;

enum class BrushType {
    SolidColor = 0,
    HatchFill = 1,
    TextureFill = 2,
    PathGradient = 3,
    LinearGradient = 4
};

class Brush {
public:
    virtual ~Brush() = default;
    virtual std::unique_ptr<Brush> Clone() const = 0;
    BrushType GetType() const { return type_; }
    // The result of the last call that could fail (also of a constructor).
    Status GetLastStatus() const { return lastStatus_; }

protected:
    explicit Brush(BrushType type) : type_(type) {}
    Status remember(Status s) const {
        lastStatus_ = s;
        return s;
    }

private:
    BrushType type_;
    mutable Status lastStatus_ = Status::Ok;
};

class SolidBrush : public Brush {
public:
    explicit SolidBrush(Color color) : Brush(BrushType::SolidColor), color_(color) {}
    std::unique_ptr<Brush> Clone() const override { return std::make_unique<SolidBrush>(*this); }
    Color GetColor() const { return color_; }
    Status SetColor(Color color) {
        color_ = color;
        return Status::Ok;
    }

private:
    Color color_;
};

// Common to the brushes that carry a transform and a wrap mode.
class TransformedBrush : public Brush {
public:
    Status SetTransform(const Matrix& m);
    Status GetTransform(Matrix* m) const;
    const Matrix& Transform() const { return transform_; }
    Status ResetTransform();
    Status MultiplyTransform(const Matrix& m, MatrixOrder order = MatrixOrder::Prepend);
    Status TranslateTransform(float dx, float dy, MatrixOrder order = MatrixOrder::Prepend);
    Status ScaleTransform(float sx, float sy, MatrixOrder order = MatrixOrder::Prepend);
    Status RotateTransform(float degrees, MatrixOrder order = MatrixOrder::Prepend);
    WrapMode GetWrapMode() const { return wrapMode_; }

protected:
    TransformedBrush(BrushType type, WrapMode wrap) : Brush(type), wrapMode_(wrap) {}
    WrapMode wrapMode_;

private:
    Matrix transform_;
};

// A colour stop table: colours at positions in [0, 1]; grows with the brush.
struct ColorBlend {
    std::vector<Color> colors;
    std::vector<float> positions;
};

// Colour runs from `point1` (position 0) to `point2` (position 1), constant across.
class LinearGradientBrush : public TransformedBrush {
public:
    LinearGradientBrush(PointF point1, PointF point2, Color color1, Color color2);
    std::unique_ptr<Brush> Clone() const override {
        return std::make_unique<LinearGradientBrush>(*this);
    }

    // Tile repeats, the flip modes mirror every other repetition; Clamp is refused
    // (InvalidParameter), as a linear gradient has no edge to clamp to.
    Status SetWrapMode(WrapMode mode);
    // At least two stops, the first at position 0 and the last at 1, else InvalidParameter and
    // nothing changes. Replaces the two end colours until SetLinearColors.
    Status SetInterpolationColors(const Color* colors, const float* positions, int count);
    int GetInterpolationColorCount() const { return int(blend_.colors.size()); }
    Status SetLinearColors(Color color1, Color color2);
    PointF StartPoint() const { return p1_; }
    PointF EndPoint() const { return p2_; }
    // The stops in effect: the interpolation colours, or the two end colours.
    ColorBlend EffectiveStops() const;

private:
    PointF p1_, p2_;
    Color c1_, c2_;
    ColorBlend blend_;
};

// Colour runs from the path's outline (position 0) to its centre point (position 1). Only
// paths made of a single ellipse are drawn (others report NotImplemented); outside the ellipse
// the brush paints nothing.
class PathGradientBrush : public TransformedBrush {
public:
    explicit PathGradientBrush(const GraphicsPath& path);
    std::unique_ptr<Brush> Clone() const override {
        return std::make_unique<PathGradientBrush>(*this);
    }

    Status SetWrapMode(WrapMode mode);
    Status SetCenterColor(Color color);
    Status SetSurroundColors(const Color* colors, int* count);
    Status SetCenterPoint(PointF point);
    PointF GetCenterPoint() const { return center_; }
    // Same rules as for the linear gradient; position 0 is the outline.
    Status SetInterpolationColors(const Color* colors, const float* positions, int count);
    int GetInterpolationColorCount() const { return int(blend_.colors.size()); }
    RectF EllipseRect() const { return ellipse_; }
    bool IsDrawable() const { return drawable_; }
    ColorBlend EffectiveStops() const;

private:
    RectF ellipse_;
    bool drawable_ = false;
    PointF center_;
    Color centerColor_{0xFFFFFFFF};
    Color surroundColor_{0xFFFFFFFF};
    ColorBlend blend_;
};

// Tiles an image from the world origin. The brush shares the image's pixels; it keeps them
// alive but sees later changes. TileFlipX mirrors every other column of tiles, TileFlipY every
// other row, TileFlipXY both; Clamp paints the image once.
class TextureBrush : public TransformedBrush {
public:
    explicit TextureBrush(const Image* image, WrapMode mode = WrapMode::Tile);
    TextureBrush(const TextureBrush& other);
    TextureBrush& operator=(const TextureBrush& other);
    ~TextureBrush() override;
    std::unique_ptr<Brush> Clone() const override { return std::make_unique<TextureBrush>(*this); }

    Status SetWrapMode(WrapMode mode);
    int ImageWidth() const { return width_; }
    int ImageHeight() const { return height_; }
    _cairo_surface* Surface() const { return surface_; }

private:
    _cairo_surface* surface_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace gfx
