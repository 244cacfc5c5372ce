#include "platform/gfx/Graphics.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/gfx/BrushPattern.h"
#include "platform/gfx/CairoBridge.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/TextLayout.h"

namespace gfx {

// One clip shape, fixed in device pixels when it was set.
struct Graphics::ClipStep {
    cairo_path_t* path = nullptr;
    cairo_fill_rule_t rule = CAIRO_FILL_RULE_WINDING;
    ~ClipStep() {
        if (path)
            cairo_path_destroy(path);
    }
};

namespace {

bool isFinite(const Matrix& m) {
    return std::isfinite(m.M11()) && std::isfinite(m.M12()) && std::isfinite(m.M21()) &&
           std::isfinite(m.M22()) && std::isfinite(m.OffsetX()) && std::isfinite(m.OffsetY());
}

cairo_filter_t filterFor(InterpolationMode mode) {
    switch (mode) {
    case InterpolationMode::NearestNeighbor:
        return CAIRO_FILTER_NEAREST;
    case InterpolationMode::HighQuality:
    case InterpolationMode::Bicubic:
    case InterpolationMode::HighQualityBilinear:
    case InterpolationMode::HighQualityBicubic:
        return CAIRO_FILTER_GOOD;
    default:
        return CAIRO_FILTER_BILINEAR;
    }
}

cairo_line_cap_t capFor(LineCap cap) {
    switch (cap) {
    case LineCap::Round:
        return CAIRO_LINE_CAP_ROUND;
    case LineCap::Square:
        return CAIRO_LINE_CAP_SQUARE;
    default:
        return CAIRO_LINE_CAP_BUTT;
    }
}

void addQuad(cairo_t* cr, const Matrix& m, const RectF& r) {
    PointF p[4] = {
        {r.X, r.Y}, {r.X + r.Width, r.Y}, {r.X + r.Width, r.Y + r.Height}, {r.X, r.Y + r.Height}};
    m.TransformPoints(p, 4);
    cairo_move_to(cr, p[0].X, p[0].Y);
    for (int i = 1; i < 4; ++i)
        cairo_line_to(cr, p[i].X, p[i].Y);
    cairo_close_path(cr);
}

} // namespace

Graphics::Graphics(Image* target) : target_(target) {
    if (!target || !target->Surface()) {
        status_ = Status::InvalidParameter;
        return;
    }
    cr_ = cairo_create(target->Surface());
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS)
        status_ = Status::OutOfMemory;
}

Graphics::~Graphics() {
    if (cr_)
        cairo_destroy(cr_);
}

bool Graphics::ready() const {
    return cr_ && cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
}

Status Graphics::SetSmoothingMode(SmoothingMode mode) {
    state_.smoothing = mode;
    return Status::Ok;
}

Status Graphics::SetPixelOffsetMode(PixelOffsetMode mode) {
    state_.pixelOffset = mode;
    return Status::Ok;
}

Status Graphics::SetInterpolationMode(InterpolationMode mode) {
    state_.interpolation = mode;
    return Status::Ok;
}

Status Graphics::SetCompositingMode(CompositingMode mode) {
    state_.compositing = mode;
    return Status::Ok;
}

Status Graphics::SetTextRenderingHint(TextRenderingHint hint) {
    state_.textHint = hint;
    return Status::Ok;
}

Status Graphics::SetTextContrast(unsigned contrast) {
    if (contrast > 12)
        return Status::InvalidParameter;
    state_.textContrast = contrast;
    return Status::Ok;
}

Status Graphics::SetTransform(const Matrix& m) {
    state_.world = m;
    return Status::Ok;
}

Status Graphics::GetTransform(Matrix* m) const {
    if (!m)
        return Status::InvalidParameter;
    *m = state_.world;
    return Status::Ok;
}

Status Graphics::ResetTransform() {
    state_.world.Reset();
    return Status::Ok;
}

Status Graphics::MultiplyTransform(const Matrix& m, MatrixOrder order) {
    return state_.world.Multiply(m, order);
}

Status Graphics::TranslateTransform(float dx, float dy, MatrixOrder order) {
    return state_.world.Translate(dx, dy, order);
}

Status Graphics::ScaleTransform(float sx, float sy, MatrixOrder order) {
    return state_.world.Scale(sx, sy, order);
}

Status Graphics::RotateTransform(float degrees, MatrixOrder order) {
    return state_.world.Rotate(degrees, order);
}

GraphicsState Graphics::Save() {
    const GraphicsState token = nextToken_++;
    if (nextToken_ == 0xFFFFFFFFu)
        nextToken_ = 1;
    saved_.emplace_back(token, state_);
    return token;
}

Status Graphics::Restore(GraphicsState token) {
    auto it = std::find_if(saved_.begin(), saved_.end(),
                           [token](const auto& entry) { return entry.first == token; });
    if (it == saved_.end())
        return Status::InvalidParameter;
    state_ = it->second;
    saved_.erase(it, saved_.end());
    applyClip();
    return Status::Ok;
}

Matrix Graphics::deviceMatrix() const {
    Matrix m = state_.world;
    // Without the half-pixel offset, pixel centres sit on integer world coordinates.
    if (state_.pixelOffset != PixelOffsetMode::Half &&
        state_.pixelOffset != PixelOffsetMode::HighQuality)
        m.Translate(0.5f, 0.5f, MatrixOrder::Append);
    return m;
}

void Graphics::applyClip() {
    if (!cr_)
        return;
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        // A context that met an error stays broken; start a fresh one on the same surface.
        cairo_destroy(cr_);
        cr_ = cairo_create(target_->Surface());
    }
    cairo_reset_clip(cr_);
    cairo_identity_matrix(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    for (const auto& step : state_.clip) {
        cairo_new_path(cr_);
        cairo_append_path(cr_, step->path);
        cairo_set_fill_rule(cr_, step->rule);
        cairo_clip(cr_);
    }
    cairo_new_path(cr_);
}

std::shared_ptr<Graphics::ClipStep> Graphics::captureClipPath(int fillRule) {
    cairo_identity_matrix(cr_);
    auto step = std::make_shared<ClipStep>();
    step->path = cairo_copy_path(cr_);
    step->rule = cairo_fill_rule_t(fillRule);
    cairo_new_path(cr_);
    return step;
}

Status Graphics::addClipStep(std::shared_ptr<ClipStep> step, CombineMode mode) {
    if (mode == CombineMode::Replace) {
        state_.clip.assign(1, std::move(step));
        applyClip();
        return Status::Ok;
    }
    state_.clip.push_back(step);
    cairo_identity_matrix(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_new_path(cr_);
    cairo_append_path(cr_, step->path);
    cairo_set_fill_rule(cr_, step->rule);
    cairo_clip(cr_);
    return Status::Ok;
}

Status Graphics::SetClip(const RectF& rect, CombineMode mode) {
    if (!ready())
        return Status::WrongState;
    if (mode != CombineMode::Replace && mode != CombineMode::Intersect &&
        mode != CombineMode::Exclude)
        return Status::NotImplemented;
    const Matrix m = deviceMatrix();
    // A rectangle with no area (also one given right-to-left) is an empty area, not its mirror.
    const bool usable = m.IsInvertible() && isFinite(m) && !rect.IsEmptyArea();
    cairo_new_path(cr_);
    cairo_identity_matrix(cr_);
    if (mode == CombineMode::Exclude) {
        if (!usable)
            return Status::Ok; // a shape of no area takes nothing away
        const double w = cairo_image_surface_get_width(target_->Surface());
        const double h = cairo_image_surface_get_height(target_->Surface());
        cairo_rectangle(cr_, -1, -1, w + 2, h + 2);
        addQuad(cr_, m, rect);
        return addClipStep(captureClipPath(CAIRO_FILL_RULE_EVEN_ODD), CombineMode::Intersect);
    }
    if (usable)
        addQuad(cr_, m, rect);
    return addClipStep(captureClipPath(CAIRO_FILL_RULE_WINDING), mode);
}

Status Graphics::SetClip(const Region& region, CombineMode mode) {
    if (!ready())
        return Status::WrongState;
    if (mode != CombineMode::Replace && mode != CombineMode::Intersect)
        return Status::NotImplemented;
    if (region.IsInfinite())
        return mode == CombineMode::Replace ? ResetClip() : Status::Ok;
    const Matrix m = deviceMatrix();
    cairo_new_path(cr_);
    cairo_identity_matrix(cr_);
    if (m.IsInvertible() && isFinite(m))
        for (const RectF& r : region.Rects())
            addQuad(cr_, m, r);
    return addClipStep(captureClipPath(CAIRO_FILL_RULE_WINDING), mode);
}

Status Graphics::SetClip(const GraphicsPath& path, CombineMode mode) {
    if (!ready())
        return Status::WrongState;
    if (mode != CombineMode::Replace && mode != CombineMode::Intersect)
        return Status::NotImplemented;
    const Matrix m = deviceMatrix();
    cairo_new_path(cr_);
    if (m.IsInvertible() && isFinite(m)) {
        const cairo_matrix_t cm = detail::ToCairo(m);
        cairo_set_matrix(cr_, &cm);
        detail::AppendPath(cr_, path);
    }
    return addClipStep(captureClipPath(detail::ToCairo(path.GetFillMode())), mode);
}

Status Graphics::ResetClip() {
    if (!ready())
        return Status::WrongState;
    state_.clip.clear();
    applyClip();
    return Status::Ok;
}

Status Graphics::GetClipBoundsDevice(Rect* bounds) const {
    if (!bounds || !ready())
        return Status::InvalidParameter;
    cairo_identity_matrix(cr_);
    double x1, y1, x2, y2;
    cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
    *bounds = Rect(int(std::floor(x1)), int(std::floor(y1)), int(std::ceil(x2) - std::floor(x1)),
                   int(std::ceil(y2) - std::floor(y1)));
    return Status::Ok;
}

void Graphics::beginShape() {
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS)
        applyClip();
    cairo_new_path(cr_);
    const cairo_matrix_t m = detail::ToCairo(deviceMatrix());
    cairo_set_matrix(cr_, &m);
    cairo_set_operator(cr_, state_.compositing == CompositingMode::SourceCopy
                                ? CAIRO_OPERATOR_SOURCE
                                : CAIRO_OPERATOR_OVER);
    const bool smooth = state_.smoothing == SmoothingMode::HighQuality ||
                        state_.smoothing == SmoothingMode::AntiAlias;
    cairo_set_antialias(cr_, smooth ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

bool Graphics::setSource(const Brush& brush) {
    cairo_pattern_t* pattern = detail::CreatePattern(brush, filterFor(state_.interpolation));
    if (!pattern)
        return false;
    cairo_set_source(cr_, pattern);
    cairo_pattern_destroy(pattern);
    return true;
}

Status Graphics::fillCurrentPath(const Brush& brush, FillMode mode) {
    cairo_set_fill_rule(cr_, detail::ToCairo(mode));
    if (setSource(brush))
        cairo_fill(cr_);
    cairo_new_path(cr_);
    return Status::Ok;
}

void Graphics::strokeCurrentPath(const Pen& pen) {
    if (!setSource(pen.GetBrush())) {
        cairo_new_path(cr_);
        return;
    }
    double width = pen.GetWidth();
    // cairo refuses non-finite widths for good (the context would stay broken).
    if (!std::isfinite(width) || width < 0)
        width = 0;
    double unit = std::max(width, 1.0);
    if (width == 0) {
        // One device pixel whatever the transform: the path is already in device space.
        cairo_identity_matrix(cr_);
        width = 1;
        unit = 1;
    }
    cairo_set_line_width(cr_, width);
    const auto& dashes = pen.GetDashPattern();
    if (dashes.empty()) {
        cairo_set_dash(cr_, nullptr, 0, 0);
        cairo_set_line_cap(cr_, capFor(pen.GetStartCap()));
    } else {
        std::vector<double> lengths(dashes.begin(), dashes.end());
        for (double& d : lengths)
            d *= unit;
        const double offset = std::isfinite(pen.GetDashOffset()) ? pen.GetDashOffset() * unit : 0;
        cairo_set_dash(cr_, lengths.data(), int(lengths.size()), offset);
        cairo_set_line_cap(cr_, pen.GetDashCap() == DashCap::Round ? CAIRO_LINE_CAP_ROUND
                                                                   : CAIRO_LINE_CAP_BUTT);
    }
    switch (pen.GetLineJoin()) {
    case LineJoin::Round:
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        break;
    case LineJoin::Bevel:
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_BEVEL);
        break;
    default:
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
        cairo_set_miter_limit(cr_, pen.GetMiterLimit());
    }
    cairo_stroke(cr_);
}

namespace {

bool drawable(const Matrix& m) {
    return m.IsInvertible() && isFinite(m);
}

} // namespace

Status Graphics::Clear(Color color) {
    if (!ready())
        return Status::WrongState;
    cairo_new_path(cr_);
    cairo_identity_matrix(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr_, color.GetR() / 255.0, color.GetG() / 255.0, color.GetB() / 255.0,
                          color.GetA() / 255.0);
    cairo_paint(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
    return Status::Ok;
}

// Every shape call: a Graphics that cannot draw says so, a transform that would collapse or
// blow up the shape draws nothing, and otherwise the path is built and painted.
template <typename AddPath, typename Paint>
Status Graphics::drawShape(AddPath addPath, Paint paint) {
    if (!ready())
        return Status::WrongState;
    if (!drawable(deviceMatrix()))
        return Status::Ok;
    beginShape();
    addPath();
    return paint();
}

template <typename AddPath>
Status Graphics::fillShape(const Brush& brush, FillMode mode, AddPath addPath) {
    return drawShape(addPath, [&] { return fillCurrentPath(brush, mode); });
}

template <typename AddPath>
Status Graphics::strokeShape(const Pen& pen, AddPath addPath) {
    return drawShape(addPath, [&] {
        strokeCurrentPath(pen);
        return Status::Ok;
    });
}

Status Graphics::FillRectangle(const Brush& brush, const RectF& rect) {
    return fillShape(brush, FillMode::Alternate,
                     [&] { cairo_rectangle(cr_, rect.X, rect.Y, rect.Width, rect.Height); });
}

Status Graphics::DrawRectangle(const Pen& pen, const RectF& rect) {
    return strokeShape(pen, [&] { cairo_rectangle(cr_, rect.X, rect.Y, rect.Width, rect.Height); });
}

Status Graphics::FillEllipse(const Brush& brush, const RectF& rect) {
    GraphicsPath path;
    path.AddEllipse(rect);
    return FillPath(brush, path);
}

Status Graphics::DrawEllipse(const Pen& pen, const RectF& rect) {
    GraphicsPath path;
    path.AddEllipse(rect);
    return DrawPath(pen, path);
}

Status Graphics::DrawLine(const Pen& pen, PointF from, PointF to) {
    return strokeShape(pen, [&] {
        cairo_move_to(cr_, from.X, from.Y);
        cairo_line_to(cr_, to.X, to.Y);
    });
}

Status Graphics::DrawBezier(const Pen& pen, PointF p1, PointF p2, PointF p3, PointF p4) {
    return strokeShape(pen, [&] {
        cairo_move_to(cr_, p1.X, p1.Y);
        cairo_curve_to(cr_, p2.X, p2.Y, p3.X, p3.Y, p4.X, p4.Y);
    });
}

Status Graphics::FillPath(const Brush& brush, const GraphicsPath& path) {
    return fillShape(brush, path.GetFillMode(), [&] { detail::AppendPath(cr_, path); });
}

Status Graphics::DrawPath(const Pen& pen, const GraphicsPath& path) {
    return strokeShape(pen, [&] { detail::AppendPath(cr_, path); });
}

namespace {

// The source rectangle's pixels recoloured by a colour matrix, as a new surface.
cairo_surface_t* recoloured(cairo_surface_t* image, int sx, int sy, int sw, int sh,
                            const ColorMatrix& cm) {
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, sw, sh);
    if (cairo_surface_status(out) != CAIRO_STATUS_SUCCESS)
        return out;
    const uint8_t* src = cairo_image_surface_get_data(image);
    const int srcStride = cairo_image_surface_get_stride(image);
    uint32_t* dst = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(out));
    for (int y = 0; y < sh; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(src + size_t(sy + y) * srcStride);
        for (int x = 0; x < sw; ++x) {
            const uint32_t px = Unpremultiply(row[sx + x]);
            const float in[5] = {((px >> 16) & 0xFF) / 255.0f, ((px >> 8) & 0xFF) / 255.0f,
                                 (px & 0xFF) / 255.0f, (px >> 24) / 255.0f, 1.0f};
            uint32_t channel[4];
            for (int c = 0; c < 4; ++c) {
                float v = 0;
                for (int r = 0; r < 5; ++r)
                    v += in[r] * cm.m[r][c];
                v = std::clamp(v, 0.0f, 1.0f);
                channel[c] = uint32_t(std::lround(v * 255));
            }
            dst[size_t(y) * sw + x] =
                Premultiply(channel[3] << 24 | channel[0] << 16 | channel[1] << 8 | channel[2]);
        }
    }
    cairo_surface_mark_dirty(out);
    return out;
}

bool isWhole(float v) {
    return std::floor(v) == v;
}

} // namespace

Status Graphics::DrawImage(const Image* image, const RectF& dst, float srcX, float srcY,
                           float srcWidth, float srcHeight, Unit srcUnit,
                           const ImageAttributes* attributes) {
    if (!ready())
        return Status::WrongState;
    if (!image || !image->Surface() || srcUnit != Unit::Pixel || !(srcWidth >= 0) ||
        !(srcHeight >= 0))
        return Status::InvalidParameter;
    if (srcWidth == 0 || srcHeight == 0 || dst.Width == 0 || dst.Height == 0 ||
        !drawable(deviceMatrix()))
        return Status::Ok;
    // A source rectangle reaching outside the image is cut to it, and the destination with it.
    const float iw = float(image->GetWidth()), ih = float(image->GetHeight());
    const float sx0 = std::max(srcX, 0.0f), sy0 = std::max(srcY, 0.0f);
    const float sx1 = std::min(srcX + srcWidth, iw), sy1 = std::min(srcY + srcHeight, ih);
    if (sx1 <= sx0 || sy1 <= sy0)
        return Status::Ok;
    const float kx = dst.Width / srcWidth, ky = dst.Height / srcHeight;
    const RectF target(dst.X + (sx0 - srcX) * kx, dst.Y + (sy0 - srcY) * ky, (sx1 - sx0) * kx,
                       (sy1 - sy0) * ky);
    float alpha = attributes ? attributes->AlphaOnlyFactor() : 1.0f;
    image->Flush();

    cairo_surface_t* source = nullptr;
    double originX = sx0, originY = sy0;
    const bool whole = isWhole(sx0) && isWhole(sy0) && isWhole(sx1) && isWhole(sy1);
    if (alpha < 0 && attributes) {
        // A general colour matrix: recolour the (whole-pixel) source rectangle first.
        const int ax = int(std::floor(sx0)), ay = int(std::floor(sy0));
        const int aw = int(std::ceil(sx1)) - ax, ah = int(std::ceil(sy1)) - ay;
        source = recoloured(image->Surface(), ax, ay, aw, ah, attributes->GetColorMatrix());
        originX -= ax;
        originY -= ay;
        alpha = 1;
    } else if (whole && !(sx0 == 0 && sy0 == 0 && sx1 == iw && sy1 == ih)) {
        // A sub-surface keeps samples inside the source rectangle.
        source =
            cairo_surface_create_for_rectangle(image->Surface(), sx0, sy0, sx1 - sx0, sy1 - sy0);
        originX = originY = 0;
    } else {
        source = cairo_surface_reference(image->Surface());
    }
    if (alpha <= 0) {
        cairo_surface_destroy(source);
        return Status::Ok;
    }
    beginShape();
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
    cairo_surface_destroy(source);
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, originX, originY);
    cairo_matrix_scale(&m, 1.0 / kx, 1.0 / ky);
    cairo_matrix_translate(&m, -target.X, -target.Y);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, filterFor(state_.interpolation));
    cairo_set_source(cr_, pattern);
    cairo_pattern_destroy(pattern);
    cairo_rectangle(cr_, target.X, target.Y, target.Width, target.Height);
    if (alpha >= 1) {
        cairo_fill(cr_);
    } else {
        // Local bracket for one call, not a saved graphics state.
        cairo_save(cr_);
        cairo_clip(cr_);
        cairo_paint_with_alpha(cr_, alpha);
        cairo_restore(cr_);
    }
    cairo_new_path(cr_);
    return Status::Ok;
}

Status Graphics::DrawImage(const Image* image, const RectF& dst) {
    if (!image)
        return Status::InvalidParameter;
    return DrawImage(image, dst, 0, 0, float(image->GetWidth()), float(image->GetHeight()));
}

Status Graphics::DrawImage(const Image* image, float x, float y) {
    if (!image)
        return Status::InvalidParameter;
    const float w =
        image->GetWidth() * target_->GetHorizontalResolution() / image->GetHorizontalResolution();
    const float h =
        image->GetHeight() * target_->GetVerticalResolution() / image->GetVerticalResolution();
    return DrawImage(image, RectF(x, y, w, h));
}

Status Graphics::DrawString(std::u16string_view text, const Font& font, const RectF& layoutRect,
                            const StringFormat* format, const Brush& brush) {
    if (!ready())
        return Status::WrongState;
    if (font.GetLastStatus() != Status::Ok)
        return font.GetLastStatus();
    if (text.empty() || !drawable(deviceMatrix()))
        return Status::Ok;
    const StringFormat defaults;
    const StringFormat& fmt = format ? *format : defaults;
    detail::TextBlock block(text, font.FamilyName(), font.SizeInWorldUnits(), font.GetStyle(),
                            layoutRect, fmt);
    beginShape();
    if (!setSource(brush))
        return Status::Ok;
    const bool clip = !(fmt.GetFormatFlags() & StringFormatFlagsNoClip) && layoutRect.Width > 0 &&
                      layoutRect.Height > 0;
    if (clip) {
        // Local bracket for one call, not a saved graphics state.
        cairo_save(cr_);
        cairo_rectangle(cr_, layoutRect.X, layoutRect.Y, layoutRect.Width, layoutRect.Height);
        cairo_clip(cr_);
    }
    block.Show(cr_);
    if (clip)
        cairo_restore(cr_);
    cairo_new_path(cr_);
    return Status::Ok;
}

Status Graphics::MeasureCharacterRanges(std::u16string_view text, const Font& font,
                                        const RectF& layoutRect, const StringFormat* format,
                                        RectF* bounds) const {
    if (!bounds)
        return Status::InvalidParameter;
    if (font.GetLastStatus() != Status::Ok)
        return font.GetLastStatus();
    if (text.empty()) {
        *bounds = RectF(layoutRect.X, layoutRect.Y, 0, 0);
        return Status::Ok;
    }
    const StringFormat defaults;
    detail::TextBlock block(text, font.FamilyName(), font.SizeInWorldUnits(), font.GetStyle(),
                            layoutRect, format ? *format : defaults);
    *bounds = block.Bounds();
    return Status::Ok;
}

void Graphics::Flush() {
    if (target_ && target_->Surface())
        cairo_surface_flush(target_->Surface());
}

} // namespace gfx
