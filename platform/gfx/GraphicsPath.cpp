#include "platform/gfx/GraphicsPath.h"

#include <cmath>

#include "platform/gfx/CairoBridge.h"
#include "platform/gfx/Pen.h"

namespace gfx {

namespace detail {

void AppendPath(cairo_t* cr, const GraphicsPath& path) {
    const auto& pts = path.Points();
    const auto& types = path.Types();
    const size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        const uint8_t kind = types[i] & PathPointTypePathTypeMask;
        bool close = types[i] & PathPointTypeCloseSubpath;
        if (kind == PathPointTypeStart) {
            cairo_move_to(cr, pts[i].X, pts[i].Y);
        } else if (kind == PathPointTypeBezier && i + 2 < n) {
            cairo_curve_to(cr, pts[i].X, pts[i].Y, pts[i + 1].X, pts[i + 1].Y, pts[i + 2].X,
                           pts[i + 2].Y);
            i += 2;
            close = types[i] & PathPointTypeCloseSubpath;
        } else {
            cairo_line_to(cr, pts[i].X, pts[i].Y);
        }
        if (close)
            cairo_close_path(cr);
    }
}

cairo_t* ScratchContext() {
    struct Holder {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cairo_t* cr = cairo_create(surface);
        ~Holder() {
            cairo_destroy(cr);
            cairo_surface_destroy(surface);
        }
    };
    thread_local Holder holder;
    cairo_identity_matrix(holder.cr);
    cairo_new_path(holder.cr);
    return holder.cr;
}

} // namespace detail

void GraphicsPath::Reset() {
    points_.clear();
    types_.clear();
    figureOpen_ = false;
    singleEllipse_ = false;
    fillMode_ = FillMode::Alternate;
}

void GraphicsPath::AppendRaw(PointF p, uint8_t type) {
    points_.push_back(p);
    types_.push_back(type);
    singleEllipse_ = false;
    figureOpen_ = !(type & PathPointTypeCloseSubpath);
}

void GraphicsPath::CloseFigure() {
    if (figureOpen_ && !types_.empty())
        types_.back() |= PathPointTypeCloseSubpath;
    figureOpen_ = false;
}

void GraphicsPath::CloseAllFigures() {
    for (size_t i = 1; i <= types_.size(); ++i) {
        // The point before every start point (and the last point) ends a figure.
        if (i == types_.size() || (types_[i] & PathPointTypePathTypeMask) == PathPointTypeStart)
            types_[i - 1] |= PathPointTypeCloseSubpath;
    }
    figureOpen_ = false;
}

void GraphicsPath::addJoiningPoint(PointF p) {
    singleEllipse_ = false;
    if (figureOpen_ && !points_.empty()) {
        if (points_.back() == p)
            return;
        points_.push_back(p);
        types_.push_back(PathPointTypeLine);
        return;
    }
    points_.push_back(p);
    types_.push_back(PathPointTypeStart);
    figureOpen_ = true;
}

Status GraphicsPath::AddLine(PointF from, PointF to) {
    addJoiningPoint(from);
    points_.push_back(to);
    types_.push_back(PathPointTypeLine);
    return Status::Ok;
}

Status GraphicsPath::AddLines(const PointF* points, int count) {
    if (!points || count <= 0)
        return Status::InvalidParameter;
    addJoiningPoint(points[0]);
    for (int i = 1; i < count; ++i) {
        points_.push_back(points[i]);
        types_.push_back(PathPointTypeLine);
    }
    return Status::Ok;
}

Status GraphicsPath::AddBezier(PointF p1, PointF p2, PointF p3, PointF p4) {
    addJoiningPoint(p1);
    for (PointF p : {p2, p3, p4}) {
        points_.push_back(p);
        types_.push_back(PathPointTypeBezier);
    }
    return Status::Ok;
}

Status GraphicsPath::AddRectangle(const RectF& r) {
    StartFigure();
    const PointF corners[4] = {
        {r.X, r.Y}, {r.X + r.Width, r.Y}, {r.X + r.Width, r.Y + r.Height}, {r.X, r.Y + r.Height}};
    AddLines(corners, 4);
    CloseFigure();
    return Status::Ok;
}

Status GraphicsPath::AddEllipse(const RectF& r) {
    const bool wasEmpty = points_.empty();
    // Control-point distance of a cubic quarter circle.
    constexpr double k = 0.5522847498;
    const double cx = r.X + r.Width / 2.0, cy = r.Y + r.Height / 2.0;
    const double rx = r.Width / 2.0, ry = r.Height / 2.0;
    auto P = [](double x, double y) { return PointF(float(x), float(y)); };
    StartFigure();
    AddBezier(P(cx + rx, cy), P(cx + rx, cy + k * ry), P(cx + k * rx, cy + ry), P(cx, cy + ry));
    AddBezier(P(cx, cy + ry), P(cx - k * rx, cy + ry), P(cx - rx, cy + k * ry), P(cx - rx, cy));
    AddBezier(P(cx - rx, cy), P(cx - rx, cy - k * ry), P(cx - k * rx, cy - ry), P(cx, cy - ry));
    AddBezier(P(cx, cy - ry), P(cx + k * rx, cy - ry), P(cx + rx, cy - k * ry), P(cx + rx, cy));
    CloseFigure();
    singleEllipse_ = wasEmpty;
    ellipseRect_ = r;
    return Status::Ok;
}

Status GraphicsPath::AddPolygon(const PointF* points, int count) {
    if (!points || count < 3)
        return Status::InvalidParameter;
    StartFigure();
    AddLines(points, count);
    CloseFigure();
    return Status::Ok;
}

Status GraphicsPath::GetPathPoints(PointF* out, int count) const {
    if (!out || count < GetPointCount())
        return Status::InsufficientBuffer;
    for (size_t i = 0; i < points_.size(); ++i)
        out[i] = points_[i];
    return Status::Ok;
}

Status GraphicsPath::GetPathTypes(uint8_t* out, int count) const {
    if (!out || count < GetPointCount())
        return Status::InsufficientBuffer;
    for (size_t i = 0; i < types_.size(); ++i)
        out[i] = types_[i];
    return Status::Ok;
}

Status GraphicsPath::GetLastPoint(PointF* out) const {
    if (!out || points_.empty())
        return Status::InvalidParameter;
    *out = points_.back();
    return Status::Ok;
}

Status GraphicsPath::GetBounds(RectF* bounds, const Matrix* matrix, const Pen* pen) const {
    if (!bounds)
        return Status::InvalidParameter;
    *bounds = RectF();
    if (points_.empty())
        return Status::Ok;
    GraphicsPath copy = *this;
    if (matrix)
        copy.Transform(*matrix);
    cairo_t* cr = detail::ScratchContext();
    detail::AppendPath(cr, copy);
    double x1, y1, x2, y2;
    if (pen && pen->GetWidth() > 0) {
        cairo_set_line_width(cr, pen->GetWidth());
        cairo_stroke_extents(cr, &x1, &y1, &x2, &y2);
    } else {
        cairo_path_extents(cr, &x1, &y1, &x2, &y2);
    }
    // A path whose geometry is a single point still has a position.
    if (x1 == 0 && y1 == 0 && x2 == 0 && y2 == 0) {
        x1 = x2 = copy.points_[0].X;
        y1 = y2 = copy.points_[0].Y;
    }
    cairo_new_path(cr);
    *bounds = RectF(float(x1), float(y1), float(x2 - x1), float(y2 - y1));
    return Status::Ok;
}

bool GraphicsPath::IsVisible(PointF point) const {
    if (points_.empty())
        return false;
    cairo_t* cr = detail::ScratchContext();
    detail::AppendPath(cr, *this);
    cairo_set_fill_rule(cr, detail::ToCairo(fillMode_));
    const bool inside = cairo_in_fill(cr, point.X, point.Y);
    cairo_new_path(cr);
    return inside;
}

Status GraphicsPath::Transform(const Matrix& matrix) {
    matrix.TransformPoints(points_.data(), int(points_.size()));
    singleEllipse_ = false;
    return Status::Ok;
}

Status GraphicsPath::Flatten(const Matrix* matrix, float flatness) {
    if (matrix)
        Transform(*matrix);
    if (points_.empty())
        return Status::Ok;
    cairo_t* cr = detail::ScratchContext();
    cairo_set_tolerance(cr, flatness > 0 ? flatness : 0.25);
    detail::AppendPath(cr, *this);
    cairo_path_t* flat = cairo_copy_path_flat(cr);
    cairo_new_path(cr);
    cairo_set_tolerance(cr, 0.1);
    const FillMode mode = fillMode_;
    Reset();
    fillMode_ = mode;
    for (int i = 0; i < flat->num_data; i += flat->data[i].header.length) {
        const cairo_path_data_t* d = &flat->data[i];
        switch (d->header.type) {
        case CAIRO_PATH_MOVE_TO:
            // cairo follows every close by a move to the figure's start: a start that nothing
            // follows is replaced.
            if (!types_.empty() && types_.back() == PathPointTypeStart) {
                types_.pop_back();
                points_.pop_back();
            }
            AppendRaw(PointF(float(d[1].point.x), float(d[1].point.y)), PathPointTypeStart);
            break;
        case CAIRO_PATH_LINE_TO:
            AppendRaw(PointF(float(d[1].point.x), float(d[1].point.y)), PathPointTypeLine);
            break;
        case CAIRO_PATH_CLOSE_PATH:
            CloseFigure();
            break;
        case CAIRO_PATH_CURVE_TO:
            break;
        }
    }
    cairo_path_destroy(flat);
    while (!types_.empty() && types_.back() == PathPointTypeStart) {
        types_.pop_back();
        points_.pop_back();
    }
    return Status::Ok;
}

bool GraphicsPath::IsSingleEllipse(RectF* rect) const {
    if (!singleEllipse_)
        return false;
    if (rect)
        *rect = ellipseRect_;
    return true;
}

} // namespace gfx
