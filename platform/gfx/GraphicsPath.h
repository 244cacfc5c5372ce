// A sequence of figures made of lines and cubic Bézier curves, stored as points with point
// types, the way the toolkit reads paths back (start, line, Bézier, close flag). Consecutive
// additions join the open figure (the first point of the addition becomes a line point) until
// StartFigure or CloseFigure; rectangles and ellipses are figures of their own.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/gfx/GfxTypes.h"
#include "platform/gfx/Matrix.h"

namespace gfx {

class FontFamily;
class Pen;
class StringFormat;

enum PathPointType : uint8_t {
    PathPointTypeStart = 0,
    PathPointTypeLine = 1,
    PathPointTypeBezier = 3,
    PathPointTypePathTypeMask = 0x07,
    PathPointTypeCloseSubpath = 0x80,
};

class GraphicsPath {
public:
    explicit GraphicsPath(FillMode fillMode = FillMode::Alternate) : fillMode_(fillMode) {}

    void Reset();
    FillMode GetFillMode() const { return fillMode_; }
    void SetFillMode(FillMode mode) { fillMode_ = mode; }

    void StartFigure() { figureOpen_ = false; }
    // Marks the open figure closed; a figure of one point or none is left as it is.
    void CloseFigure();
    void CloseAllFigures();

    Status AddLine(PointF from, PointF to);
    Status AddLines(const PointF* points, int count);
    Status AddBezier(PointF p1, PointF p2, PointF p3, PointF p4);
    Status AddRectangle(const RectF& rect);
    // Four Bézier quarters starting at the right-most point, clockwise on screen.
    Status AddEllipse(const RectF& rect);
    Status AddPolygon(const PointF* points, int count);
    // The outlines of the text laid out in layoutRect as DrawString lays it out; emSize is in
    // world units.
    Status AddString(std::u16string_view text, const FontFamily& family, int style, float emSize,
                     const RectF& layoutRect, const StringFormat& format);

    int GetPointCount() const { return int(points_.size()); }
    const std::vector<PointF>& Points() const { return points_; }
    const std::vector<uint8_t>& Types() const { return types_; }
    Status GetPathPoints(PointF* out, int count) const;
    Status GetPathTypes(uint8_t* out, int count) const;
    Status GetLastPoint(PointF* out) const;

    // Bounds of the geometry (curves taken exactly, not by their control points), optionally
    // after a transform and widened by a pen; the empty rectangle for an empty path.
    Status GetBounds(RectF* bounds, const Matrix* matrix = nullptr, const Pen* pen = nullptr) const;
    // Whether the point lies inside by the path's fill mode.
    bool IsVisible(PointF point) const;
    bool IsVisible(float x, float y) const { return IsVisible(PointF(x, y)); }
    Status Transform(const Matrix& matrix);
    // Replaces every curve by line segments no farther than `flatness` from it.
    Status Flatten(const Matrix* matrix = nullptr, float flatness = 0.25f);

    // Exactly one figure made by AddEllipse: gradient brushes draw such paths analytically.
    bool IsSingleEllipse(RectF* rect) const;

    // Raw access for the layer itself (text outlines are appended this way).
    void AppendRaw(PointF p, uint8_t type);

private:
    void addJoiningPoint(PointF p);

    std::vector<PointF> points_;
    std::vector<uint8_t> types_;
    FillMode fillMode_;
    bool figureOpen_ = false;
    // Set while the path is exactly one AddEllipse figure.
    bool singleEllipse_ = false;
    RectF ellipseRect_;
};

} // namespace gfx
