// Lines, rectangles, ellipses, paths and bitmaps of the canvas over the drawing layer.
#include "scene/core/Sg_canvas_gdip.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_geometry.h"

#include "platform/gfx/Gfx.h"

#include <cmath>

namespace {

constexpr float kRoundFactor = 0.5522847498f;
constexpr float kInnerFactor = 0.4477152502f;

gfx::RectF ToRectF(const TsgRect& R) {
    return gfx::RectF(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
}

gfx::PointF ToPointF(const TsgPoint& P) {
    return gfx::PointF(P.X, P.Y);
}

gfx::PointF Lerp(gfx::PointF A, gfx::PointF B, float T) {
    return gfx::PointF(A.X + T * (B.X - A.X), A.Y + T * (B.Y - A.Y));
}

// The outline of a rectangle with shaped corners, clockwise from the top-left corner, closed.
void AddRoundRect(gfx::GraphicsPath& Path, const TsgRect& R, float rx, float ry, TsgCorners Corners,
                  TsgCornerType Type) {
    const float w = R.Right - R.Left, h = R.Bottom - R.Top;
    if (2 * rx > w)
        rx = w / 2;
    if (2 * ry > h)
        ry = h / 2;
    const float L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    struct Corner {
        gfx::PointF A, E, K, K2;
        TsgCorner Flag;
    };
    const Corner corners[4] = {
        {{L, T + ry}, {L + rx, T}, {L, T}, {L + rx, T + ry}, sgCornerTopLeft},
        {{Rt - rx, T}, {Rt, T + ry}, {Rt, T}, {Rt - rx, T + ry}, sgCornerTopRight},
        {{Rt, B - ry}, {Rt - rx, B}, {Rt, B}, {Rt - rx, B - ry}, sgCornerBottomRight},
        {{L + rx, B}, {L, B - ry}, {L, B}, {L + rx, B - ry}, sgCornerBottomLeft},
    };
    gfx::PointF current = corners[0].A;
    auto lineTo = [&](gfx::PointF p) {
        Path.AddLine(current, p);
        current = p;
    };
    auto curveTo = [&](gfx::PointF c1, gfx::PointF c2, gfx::PointF e) {
        Path.AddBezier(current, c1, c2, e);
        current = e;
    };
    Path.StartFigure();
    for (int i = 0; i < 4; ++i) {
        const Corner& c = corners[i];
        if (i > 0)
            lineTo(c.A);
        if (!(Corners & c.Flag)) {
            lineTo(c.K);
            lineTo(c.E);
            continue;
        }
        switch (Type) {
        case sgCornerRound:
            curveTo(Lerp(c.A, c.K, kRoundFactor), Lerp(c.E, c.K, kRoundFactor), c.E);
            break;
        case sgCornerBevel:
            lineTo(c.E);
            break;
        case sgCornerInnerRound:
            curveTo(Lerp(c.A, c.K2, kInnerFactor), Lerp(c.E, c.K2, kInnerFactor), c.E);
            break;
        case sgCornerInnerLine:
            lineTo(Lerp(c.A, c.K2, kInnerFactor));
            lineTo(Lerp(c.E, c.K2, kInnerFactor));
            lineTo(c.E);
            break;
        }
    }
    lineTo(corners[0].A);
    Path.CloseFigure();
}

// Places a path point: stretched from the path's bounds B into the rectangle R.
struct PathPlacement {
    TsgRect B, R;
    float sx, sy;
    PathPlacement(const TsgRect& Bounds, const TsgRect& Target) : B(Bounds), R(Target) {
        sx = sgRectWidth(Target) / sgRectWidth(Bounds);
        sy = sgRectHeight(Target) / sgRectHeight(Bounds);
    }
    gfx::PointF operator()(const TsgPoint& P) const {
        return gfx::PointF(R.Left + (P.X - B.Left) * sx, R.Top + (P.Y - B.Top) * sy);
    }
};

// False (nothing to draw) for an empty path or one without area.
bool Placeable(TsgPathData* APath, TsgRect& Bounds) {
    if (!APath || APath->IsEmpty())
        return false;
    Bounds = APath->GetBounds();
    return sgRectWidth(Bounds) * sgRectHeight(Bounds) != 0;
}

void BuildPath(TsgPathData* APath, const PathPlacement& Place, gfx::GraphicsPath& Out) {
    const auto& points = APath->PathData;
    gfx::PointF current;
    for (size_t i = 0; i < points.size(); ++i) {
        const TsgPathPoint& p = points[i];
        switch (p.Kind) {
        case sgPathPointMoveTo:
            Out.StartFigure();
            current = Place(p.Point);
            break;
        case sgPathPointLineTo: {
            const gfx::PointF to = Place(p.Point);
            Out.AddLine(current, to);
            current = to;
            break;
        }
        case sgPathPointCurveTo:
            if (i + 2 < points.size()) {
                const gfx::PointF e = Place(points[i + 2].Point);
                Out.AddBezier(current, Place(p.Point), Place(points[i + 1].Point), e);
                current = e;
                i += 2;
            }
            break;
        case sgPathPointClose:
            Out.CloseFigure();
            break;
        }
    }
}

} // namespace

void TsgCanvasGdiPlus::DrawLine(const TsgPoint& APt1, const TsgPoint& APt2, float AOpacity) {
    if (!FGraphics || FStroke->Style() == sgBrushNone)
        return;
    ApplyStroke({APt1.X, APt1.Y, APt2.X, APt2.Y}, AOpacity);
    FGraphics->DrawLine(*FGPPen, ToPointF(APt1), ToPointF(APt2));
}

void TsgCanvasGdiPlus::DrawRect(const TsgRect& ARect, float xRadius, float yRadius,
                                TsgCorners ACorners, float AOpacity, TsgCornerType ACornerType) {
    if (!FGraphics || FStroke->Style() == sgBrushNone)
        return;
    ApplyStroke(ARect, AOpacity);
    if (xRadius < Epsilon && yRadius < Epsilon) {
        FGraphics->DrawRectangle(*FGPPen, ToRectF(ARect));
        return;
    }
    gfx::GraphicsPath path(gfx::FillMode::Alternate);
    AddRoundRect(path, ARect, xRadius, yRadius, ACorners, ACornerType);
    FGraphics->DrawPath(*FGPPen, path);
}

void TsgCanvasGdiPlus::FillRect(const TsgRect& ARect, float xRadius, float yRadius,
                                TsgCorners ACorners, float AOpacity, TsgCornerType ACornerType) {
    if (!FGraphics || FFill->Style() == sgBrushNone)
        return;
    if ((xRadius == 0 && yRadius == 0) || ACorners == 0) {
        FillPlainRect(ARect, AOpacity);
        return;
    }
    gfx::GraphicsPath path(gfx::FillMode::Alternate);
    AddRoundRect(path, ARect, xRadius, yRadius, ACorners, ACornerType);
    FillGPPath(path, ARect, AOpacity);
}

void TsgCanvasGdiPlus::FillPlainRect(const TsgRect& ARect, float AOpacity) {
    const TsgBrushStyle style = FFill->Style();
    if (style == sgBrushNone)
        return;
    if (style == sgBrushVisual) {
        const uint32_t state = SaveCanvas();
        IntersectClipRect(ARect);
        PaintVisualBrush(ARect, AOpacity);
        RestoreCanvas(state);
        return;
    }
    TsgGradient* gradient = FFill->Gradient();
    if (style == sgBrushGradient &&
        gradient->StartPosition()->X() == gradient->StopPosition()->X()) {
        // A vertical gradient is phased to the rectangle's top, so that rectangles painted in
        // strips (dirty rectangles) join without a seam.
        const float h = ARect.Bottom - ARect.Top;
        const float absH = std::fabs(h);
        const int period = static_cast<int>(std::nearbyint(double(absH)));
        if (h != 0 && period != 0) {
            const int c = static_cast<int>(std::nearbyint(double(ARect.Top))) % period;
            gradient->StartPosition()->SetY(static_cast<float>(c) / absH);
            gradient->StopPosition()->SetY((absH + static_cast<float>(c)) / absH);
        }
        ApplyFill({0, 0, std::fabs(ARect.Right - ARect.Left), absH}, AOpacity);
    } else {
        ApplyFill(ARect, AOpacity);
    }
    FGraphics->FillRectangle(*FGPBrush, ToRectF(ARect));
}

void TsgCanvasGdiPlus::FillGPPath(const gfx::GraphicsPath& Path, const TsgRect& ARect,
                                  float AOpacity) {
    const TsgBrushStyle style = FFill->Style();
    if (style == sgBrushNone || !FGraphics)
        return;
    if (style == sgBrushVisual) {
        const uint32_t state = SaveCanvas();
        FGraphics->SetClip(Path, gfx::CombineMode::Intersect);
        PaintVisualBrush(ARect, AOpacity);
        RestoreCanvas(state);
        return;
    }
    ApplyFill(ARect, AOpacity);
    FGraphics->FillPath(*FGPBrush, Path);
}

void TsgCanvasGdiPlus::FillEllipse(const TsgRect& ARect, float AOpacity) {
    if (!FGraphics || FFill->Style() == sgBrushNone)
        return;
    gfx::GraphicsPath path(gfx::FillMode::Alternate);
    path.AddEllipse(ToRectF(ARect));
    FillGPPath(path, ARect, AOpacity);
}

void TsgCanvasGdiPlus::DrawEllipse(const TsgRect& ARect, float AOpacity) {
    if (!FGraphics || FStroke->Style() == sgBrushNone)
        return;
    ApplyStroke(ARect, AOpacity);
    FGraphics->DrawEllipse(*FGPPen, ToRectF(ARect));
}

// Paths.

bool TsgCanvasGdiPlus::PtInPath(const TsgPoint& APoint, const TsgRect& ARect, TsgPathData* APath) {
    TsgRect bounds;
    if (!Placeable(APath, bounds) || !sgPtInRect(APoint, ARect))
        return false;
    gfx::GraphicsPath path(gfx::FillMode::Alternate);
    BuildPath(APath, PathPlacement(bounds, ARect), path);
    return path.IsVisible(ToPointF(APoint));
}

void TsgCanvasGdiPlus::FillPath(TsgPathData* APath, const TsgRect& ARect, float AOpacity) {
    TsgRect bounds;
    if (!FGraphics || !Placeable(APath, bounds))
        return;
    gfx::GraphicsPath path(gfx::FillMode::Alternate);
    BuildPath(APath, PathPlacement(bounds, ARect), path);
    FillGPPath(path, ARect, AOpacity);
}

void TsgCanvasGdiPlus::DrawPath(TsgPathData* APath, const TsgRect& ARect, float AOpacity) {
    TsgRect bounds;
    if (!FGraphics || FStroke->Style() == sgBrushNone || !Placeable(APath, bounds))
        return;
    ApplyStroke(bounds, AOpacity);
    const PathPlacement place(bounds, ARect);
    const auto& points = APath->PathData;
    gfx::PointF current, figureStart;
    // Every segment is a stroke of its own: caps at every end, dashes restart per segment.
    for (size_t i = 0; i < points.size(); ++i) {
        const TsgPathPoint& p = points[i];
        switch (p.Kind) {
        case sgPathPointMoveTo:
            current = figureStart = place(p.Point);
            break;
        case sgPathPointLineTo: {
            const gfx::PointF to = place(p.Point);
            FGraphics->DrawLine(*FGPPen, current, to);
            current = to;
            break;
        }
        case sgPathPointCurveTo:
            if (i + 2 < points.size()) {
                const gfx::PointF e = place(points[i + 2].Point);
                FGraphics->DrawBezier(*FGPPen, current, place(p.Point), place(points[i + 1].Point),
                                      e);
                current = e;
                i += 2;
            }
            break;
        case sgPathPointClose:
            FGraphics->DrawLine(*FGPPen, current, figureStart);
            break;
        }
    }
}

// Bitmaps.

void TsgCanvasGdiPlus::DrawBitmap(TsgBitmap* ABitmap, const TsgRect& SrcRect,
                                  const TsgRect& DstRect, float AOpacity, bool HighSpeed) {
    if (!FGraphics || !ABitmap || ABitmap->IsEmpty())
        return;
    FGraphics->SetInterpolationMode(HighSpeed ? gfx::InterpolationMode::NearestNeighbor
                                              : gfx::InterpolationMode::HighQuality);
    if (AOpacity == 0)
        return;
    UpdateBitmapHandle(ABitmap);
    if (!ABitmap->Handle())
        return;
    const gfx::RectF src = ToRectF(SrcRect);
    if (AOpacity >= 1) {
        FGraphics->DrawImage(ABitmap->Handle(), ToRectF(DstRect), src.X, src.Y, src.Width,
                             src.Height, gfx::Unit::Pixel);
        return;
    }
    gfx::ColorMatrix matrix;
    matrix.m[3][3] = AOpacity;
    gfx::ImageAttributes attributes;
    attributes.SetColorMatrix(&matrix, gfx::ColorMatrixFlags::Default,
                              gfx::ColorAdjustType::Bitmap);
    FGraphics->DrawImage(ABitmap->Handle(), ToRectF(DstRect), src.X, src.Y, src.Width, src.Height,
                         gfx::Unit::Pixel, &attributes);
}

void TsgCanvasGdiPlus::DrawThumbnail(TsgBitmap* ABitmap, float Width, float) {
    if (!FGraphics || !ABitmap || ABitmap->IsEmpty())
        return;
    UpdateBitmapHandle(ABitmap);
    if (!ABitmap->Handle() || !FBitmap)
        return;
    const float scale = Width / static_cast<float>(ABitmap->Width());
    FGraphics->ScaleTransform(scale, scale, gfx::MatrixOrder::Prepend);
    FGraphics->DrawImage(ABitmap->Handle(),
                         gfx::RectF(0, 0, float(ABitmap->Width()), float(ABitmap->Height())));
}
