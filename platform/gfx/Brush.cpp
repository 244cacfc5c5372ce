#include "platform/gfx/Brush.h"

#include <cairo.h>

#include "platform/gfx/Bitmap.h"

namespace gfx {

Status TransformedBrush::SetTransform(const Matrix& m) {
    if (!m.IsInvertible())
        return remember(Status::InvalidParameter);
    transform_ = m;
    return remember(Status::Ok);
}

Status TransformedBrush::GetTransform(Matrix* m) const {
    if (!m)
        return remember(Status::InvalidParameter);
    *m = transform_;
    return remember(Status::Ok);
}

Status TransformedBrush::ResetTransform() {
    transform_.Reset();
    return remember(Status::Ok);
}

Status TransformedBrush::MultiplyTransform(const Matrix& m, MatrixOrder order) {
    return remember(transform_.Multiply(m, order));
}

Status TransformedBrush::TranslateTransform(float dx, float dy, MatrixOrder order) {
    return remember(transform_.Translate(dx, dy, order));
}

Status TransformedBrush::ScaleTransform(float sx, float sy, MatrixOrder order) {
    return remember(transform_.Scale(sx, sy, order));
}

Status TransformedBrush::RotateTransform(float degrees, MatrixOrder order) {
    return remember(transform_.Rotate(degrees, order));
}

namespace {

// Both gradients take their stops the same way: from 0 to 1, at least two of them.
Status assignStops(ColorBlend& blend, const Color* colors, const float* positions, int count) {
    if (!colors || !positions || count < 2 || positions[0] != 0.0f || positions[count - 1] != 1.0f)
        return Status::InvalidParameter;
    blend.colors.assign(colors, colors + count);
    blend.positions.assign(positions, positions + count);
    return Status::Ok;
}

} // namespace

LinearGradientBrush::LinearGradientBrush(PointF point1, PointF point2, Color color1, Color color2)
    : TransformedBrush(BrushType::LinearGradient, WrapMode::Tile), p1_(point1), p2_(point2),
      c1_(color1), c2_(color2) {
    if (point1 == point2)
        remember(Status::OutOfMemory); // what the platform answers for a degenerate gradient
}

Status LinearGradientBrush::SetWrapMode(WrapMode mode) {
    if (mode == WrapMode::Clamp)
        return remember(Status::InvalidParameter);
    wrapMode_ = mode;
    return remember(Status::Ok);
}

Status LinearGradientBrush::SetInterpolationColors(const Color* colors, const float* positions,
                                                   int count) {
    return remember(assignStops(blend_, colors, positions, count));
}

Status LinearGradientBrush::SetLinearColors(Color color1, Color color2) {
    c1_ = color1;
    c2_ = color2;
    blend_ = ColorBlend();
    return remember(Status::Ok);
}

ColorBlend LinearGradientBrush::EffectiveStops() const {
    if (!blend_.colors.empty())
        return blend_;
    return ColorBlend{{c1_, c2_}, {0.0f, 1.0f}};
}

PathGradientBrush::PathGradientBrush(const GraphicsPath& path)
    : TransformedBrush(BrushType::PathGradient, WrapMode::Clamp) {
    drawable_ = path.IsSingleEllipse(&ellipse_);
    if (drawable_) {
        center_ = PointF(ellipse_.X + ellipse_.Width / 2, ellipse_.Y + ellipse_.Height / 2);
        return;
    }
    const auto& pts = path.Points();
    if (pts.empty()) {
        remember(Status::OutOfMemory);
        return;
    }
    double sx = 0, sy = 0;
    for (const PointF& p : pts) {
        sx += p.X;
        sy += p.Y;
    }
    center_ = PointF(float(sx / pts.size()), float(sy / pts.size()));
    remember(Status::NotImplemented);
}

Status PathGradientBrush::SetWrapMode(WrapMode mode) {
    wrapMode_ = mode;
    return remember(Status::Ok);
}

Status PathGradientBrush::SetCenterColor(Color color) {
    centerColor_ = color;
    return remember(Status::Ok);
}

Status PathGradientBrush::SetSurroundColors(const Color* colors, int* count) {
    if (!colors || !count || *count < 1)
        return remember(Status::InvalidParameter);
    // A single surround colour is all an ellipse needs; further colours are accepted and unused.
    surroundColor_ = colors[0];
    return remember(Status::Ok);
}

Status PathGradientBrush::SetCenterPoint(PointF point) {
    center_ = point;
    return remember(Status::Ok);
}

Status PathGradientBrush::SetInterpolationColors(const Color* colors, const float* positions,
                                                 int count) {
    return remember(assignStops(blend_, colors, positions, count));
}

ColorBlend PathGradientBrush::EffectiveStops() const {
    if (!blend_.colors.empty())
        return blend_;
    return ColorBlend{{surroundColor_, centerColor_}, {0.0f, 1.0f}};
}

TextureBrush::TextureBrush(const Image* image, WrapMode mode)
    : TransformedBrush(BrushType::TextureFill, mode) {
    if (!image || !image->Surface()) {
        remember(Status::InvalidParameter);
        return;
    }
    image->Flush();
    surface_ = cairo_surface_reference(image->Surface());
    width_ = image->GetWidth();
    height_ = image->GetHeight();
}

TextureBrush::TextureBrush(const TextureBrush& other)
    : TransformedBrush(other),
      surface_(other.surface_ ? cairo_surface_reference(other.surface_) : nullptr),
      width_(other.width_), height_(other.height_) {}

TextureBrush& TextureBrush::operator=(const TextureBrush& other) {
    if (this != &other) {
        TransformedBrush::operator=(other);
        if (surface_)
            cairo_surface_destroy(surface_);
        surface_ = other.surface_ ? cairo_surface_reference(other.surface_) : nullptr;
        width_ = other.width_;
        height_ = other.height_;
    }
    return *this;
}

TextureBrush::~TextureBrush() {
    if (surface_)
        cairo_surface_destroy(surface_);
}

Status TextureBrush::SetWrapMode(WrapMode mode) {
    wrapMode_ = mode;
    return remember(Status::Ok);
}

} // namespace gfx
