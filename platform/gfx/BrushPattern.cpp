#include "platform/gfx/BrushPattern.h"

#include <cmath>

#include "platform/gfx/CairoBridge.h"

namespace gfx::detail {

namespace {

void addStop(cairo_pattern_t* p, double offset, Color c) {
    cairo_pattern_add_color_stop_rgba(p, offset, c.GetR() / 255.0, c.GetG() / 255.0,
                                      c.GetB() / 255.0, c.GetA() / 255.0);
}

// The pattern matrix maps user space to pattern space: the inverse of the brush transform.
bool lockTransform(cairo_pattern_t* p, const TransformedBrush& brush, const Matrix* then) {
    Matrix inverse = brush.Transform();
    if (inverse.Invert() != Status::Ok)
        return false;
    if (then)
        inverse.Multiply(*then, MatrixOrder::Append);
    const cairo_matrix_t m = ToCairo(inverse);
    cairo_pattern_set_matrix(p, &m);
    return true;
}

cairo_pattern_t* linearPattern(const LinearGradientBrush& b) {
    const PointF p1 = b.StartPoint(), p2 = b.EndPoint();
    if (p1 == p2)
        return nullptr;
    cairo_pattern_t* p = cairo_pattern_create_linear(p1.X, p1.Y, p2.X, p2.Y);
    const ColorBlend stops = b.EffectiveStops();
    for (size_t i = 0; i < stops.colors.size(); ++i)
        addStop(p, stops.positions[i], stops.colors[i]);
    cairo_pattern_set_extend(p, b.GetWrapMode() == WrapMode::Tile ? CAIRO_EXTEND_REPEAT
                                                                  : CAIRO_EXTEND_REFLECT);
    if (!lockTransform(p, b, nullptr)) {
        cairo_pattern_destroy(p);
        return nullptr;
    }
    return p;
}

// The ellipse's gradient in the space of its bounding box, (0, 0) to (width, height): the box
// becomes the square around the unit circle; position 0 of the stops is the outline and 1 the
// centre point, which may sit off the ellipse's middle (a focal point). Nothing is painted
// outside the ellipse.
cairo_pattern_t* ellipseGradient(const PathGradientBrush& b) {
    const RectF e = b.EllipseRect();
    const double rx = e.Width / 2.0, ry = e.Height / 2.0;
    const double cx = e.X + rx, cy = e.Y + ry;
    double fx = (b.GetCenterPoint().X - cx) / rx, fy = (b.GetCenterPoint().Y - cy) / ry;
    const double reach = std::hypot(fx, fy);
    if (reach > 0.999) {
        fx *= 0.999 / reach;
        fy *= 0.999 / reach;
    }
    cairo_pattern_t* p = cairo_pattern_create_radial(fx, fy, 0, 0, 0, 1);
    const ColorBlend stops = b.EffectiveStops();
    for (size_t i = stops.colors.size(); i-- > 0;)
        addStop(p, 1.0 - stops.positions[i], stops.colors[i]);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_NONE);
    cairo_matrix_t toUnit;
    cairo_matrix_init(&toUnit, 1 / rx, 0, 0, 1 / ry, -1, -1);
    cairo_pattern_set_matrix(p, &toUnit);
    return p;
}

// The tiling modes repeat the ellipse's bounding box, each copy mirrored as the mode says, as
// the brush does for an outline drawn wider than the ellipse. One period of the tiling (up to
// 2 x 2 boxes) is recorded, so the copies stay vectors at any scale.
cairo_pattern_t* tiledEllipseGradient(const PathGradientBrush& b, cairo_pattern_t* gradient) {
    const RectF e = b.EllipseRect();
    const WrapMode mode = b.GetWrapMode();
    const int nx = mode == WrapMode::TileFlipX || mode == WrapMode::TileFlipXY ? 2 : 1;
    const int ny = mode == WrapMode::TileFlipY || mode == WrapMode::TileFlipXY ? 2 : 1;
    const double w = e.Width, h = e.Height;
    const cairo_rectangle_t period{0, 0, nx * w, ny * h};
    cairo_surface_t* tile = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &period);
    cairo_t* cr = cairo_create(tile);
    for (int iy = 0; iy < ny; ++iy)
        for (int ix = 0; ix < nx; ++ix) {
            cairo_save(cr);
            cairo_rectangle(cr, ix * w, iy * h, w, h);
            cairo_clip(cr);
            cairo_translate(cr, 2 * ix * w, 2 * iy * h);
            cairo_scale(cr, ix ? -1 : 1, iy ? -1 : 1);
            cairo_set_source(cr, gradient);
            cairo_paint(cr);
            cairo_restore(cr);
        }
    cairo_destroy(cr);
    cairo_pattern_t* p = cairo_pattern_create_for_surface(tile);
    cairo_surface_destroy(tile);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
    return p;
}

cairo_pattern_t* pathPattern(const PathGradientBrush& b) {
    const RectF e = b.EllipseRect();
    if (!b.IsDrawable() || e.Width == 0 || e.Height == 0)
        return nullptr;
    cairo_pattern_t* p = ellipseGradient(b);
    // Brush space to the box's own space, and on to the gradient's for a single ellipse.
    Matrix then = Matrix::FromDoubles(1, 0, 0, 1, -e.X, -e.Y);
    if (b.GetWrapMode() == WrapMode::Clamp) {
        cairo_matrix_t toUnit;
        cairo_pattern_get_matrix(p, &toUnit);
        then.Multiply(FromCairo(toUnit), MatrixOrder::Append);
    } else {
        cairo_pattern_t* tiled = tiledEllipseGradient(b, p);
        cairo_pattern_destroy(p);
        p = tiled;
    }
    if (!lockTransform(p, b, &then)) {
        cairo_pattern_destroy(p);
        return nullptr;
    }
    return p;
}

// cairo's reflect mirrors both axes at once; a mirror along one axis needs a double tile made of
// the image and its mirror image, repeated.
cairo_surface_t* mirroredTile(cairo_surface_t* image, bool alongX) {
    cairo_surface_flush(image);
    const int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
    const int srcStride = cairo_image_surface_get_stride(image);
    const uint8_t* src = cairo_image_surface_get_data(image);
    cairo_surface_t* tile =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, alongX ? 2 * w : w, alongX ? h : 2 * h);
    if (cairo_surface_status(tile) != CAIRO_STATUS_SUCCESS || !src) {
        cairo_surface_destroy(tile);
        return nullptr;
    }
    uint8_t* dst = cairo_image_surface_get_data(tile);
    const int dstStride = cairo_image_surface_get_stride(tile);
    for (int y = 0; y < h; ++y) {
        const uint32_t* s = reinterpret_cast<const uint32_t*>(src + size_t(y) * srcStride);
        uint32_t* d = reinterpret_cast<uint32_t*>(dst + size_t(y) * dstStride);
        uint32_t* mirror =
            reinterpret_cast<uint32_t*>(dst + size_t(alongX ? y : 2 * h - 1 - y) * dstStride);
        for (int x = 0; x < w; ++x) {
            d[x] = s[x];
            if (alongX)
                mirror[2 * w - 1 - x] = s[x];
            else
                mirror[x] = s[x];
        }
    }
    cairo_surface_mark_dirty(tile);
    return tile;
}

cairo_pattern_t* texturePattern(const TextureBrush& b, cairo_filter_t filter) {
    cairo_surface_t* image = b.Surface();
    if (!image || cairo_surface_status(image) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    cairo_pattern_t* p = nullptr;
    switch (b.GetWrapMode()) {
    case WrapMode::TileFlipX:
    case WrapMode::TileFlipY: {
        cairo_surface_t* tile = mirroredTile(image, b.GetWrapMode() == WrapMode::TileFlipX);
        if (!tile)
            return nullptr;
        p = cairo_pattern_create_for_surface(tile);
        cairo_surface_destroy(tile);
        cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
        break;
    }
    case WrapMode::Tile:
        p = cairo_pattern_create_for_surface(image);
        cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
        break;
    case WrapMode::TileFlipXY:
        p = cairo_pattern_create_for_surface(image);
        cairo_pattern_set_extend(p, CAIRO_EXTEND_REFLECT);
        break;
    case WrapMode::Clamp:
        p = cairo_pattern_create_for_surface(image);
        cairo_pattern_set_extend(p, CAIRO_EXTEND_NONE);
        break;
    }
    cairo_pattern_set_filter(p, filter);
    if (!lockTransform(p, b, nullptr)) {
        cairo_pattern_destroy(p);
        return nullptr;
    }
    return p;
}

} // namespace

cairo_pattern_t* CreatePattern(const Brush& brush, cairo_filter_t filter) {
    switch (brush.GetType()) {
    case BrushType::SolidColor: {
        const Color c = static_cast<const SolidBrush&>(brush).GetColor();
        return cairo_pattern_create_rgba(c.GetR() / 255.0, c.GetG() / 255.0, c.GetB() / 255.0,
                                         c.GetA() / 255.0);
    }
    case BrushType::LinearGradient:
        return linearPattern(static_cast<const LinearGradientBrush&>(brush));
    case BrushType::PathGradient:
        return pathPattern(static_cast<const PathGradientBrush&>(brush));
    case BrushType::TextureFill:
        return texturePattern(static_cast<const TextureBrush&>(brush), filter);
    case BrushType::HatchFill:
        break;
    }
    return nullptr;
}

} // namespace gfx::detail
