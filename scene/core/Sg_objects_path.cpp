#include "scene/core/Sg_objects.h"

#include "scene/core/Sg_scene_geometry.h"

#include <cmath>

DBI_PUBLISH(TsgPath) {
    using S = TsgPath;
    p.Object("Data", &S::Data, [](S& s, TsgPathData* v) { s.SetData(v); });
    PublishShapeFill(p);
    PublishShapeStroke(p);
    p.Enumeration("WrapMode", &S::WrapMode, &S::SetWrapMode,
                  {"sgPathOriginal", "sgPathFit", "sgPathStretch", "sgPathTile"}, sgPathStretch);
}

TsgPath::TsgPath(TComponent* AOwner) : TsgShape(AOwner), FData(new TsgPathData()) {
    FData->OnChanged = TNotifyEvent::Bind<&TsgPath::DataNotice>(this);
}

TsgPath::~TsgPath() {
    BeforeDestruction();
    delete FData;
}

void TsgPath::SetWrapMode(TsgPathWrap Value) {
    if (Value == FWrapMode)
        return;
    FWrapMode = Value;
    Repaint();
}

TsgPathData* TsgPath::Drawn() const {
    TsgPathData* resource = FData->ResourcePath();
    return resource ? resource : FData;
}

bool TsgPath::AtDesignTime() {
    IsgScene* scene = Scene();
    return scene && scene->GetDesignTime() && !Locked() && !PaintingToTarget();
}

void TsgPath::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    TsgPathData* path = Drawn();
    const float opacity = AbsoluteOpacity();
    const TsgRect local = LocalRect();
    const TsgRect s = ShapeRect();
    auto draw = [&](const TsgRect& r) {
        canvas->FillPath(path, r, opacity);
        canvas->DrawPath(path, r, opacity);
    };
    if (!path->IsEmpty()) {
        const TsgRect bounds = path->GetBounds();
        switch (FWrapMode) {
        case sgPathOriginal: {
            const uint32_t state = canvas->SaveCanvas();
            canvas->IntersectClipRect(local);
            TsgRect r = bounds;
            sgOffsetRect(r, s.Left, s.Top);
            draw(r);
            canvas->RestoreCanvas(state);
            break;
        }
        case sgPathFit: {
            TsgRect r = bounds;
            sgFitRect(r, s);
            draw(r);
            break;
        }
        case sgPathStretch:
            draw(s);
            break;
        case sgPathTile: {
            const float pw = sgRectWidth(bounds), ph = sgRectHeight(bounds);
            int columns = 0, rows = 0;
            if (!sgTileCounts(Width(), Height(), pw, ph, columns, rows))
                break;
            const uint32_t state = canvas->SaveCanvas();
            canvas->IntersectClipRect(local);
            for (int i = 0; i <= columns; ++i)
                for (int j = 0; j <= rows; ++j) {
                    TsgRect r = bounds;
                    sgOffsetRect(r, s.Left + (pw + 2 * s.Left) * i, s.Top + (ph + 2 * s.Top) * j);
                    draw(r);
                }
            canvas->RestoreCanvas(state);
            break;
        }
        }
    }
    if (AtDesignTime())
        sgPaintDesignFrame(canvas, local, opacity);
}

bool TsgPath::PointInObject(float X, float Y) {
    if (AtDesignTime())
        return TsgShape::PointInObject(X, Y);
    TsgCanvas* canvas = Canvas();
    TsgPathData* path = Drawn();
    if (!canvas || path->PathData.size() <= 1)
        return TsgShape::PointInObject(X, Y);
    return canvas->PtInPath(AbsoluteToLocal({X, Y}), ShapeRect(), path);
}

bool sgTileCounts(float Width, float Height, float TileWidth, float TileHeight, int& LastColumn,
                  int& LastRow) {
    constexpr double kMaxTiles = 1 << 20;
    if (!(TileWidth > 0 && TileHeight > 0))
        return false;
    const double columns = std::nearbyint(double(Width) / TileWidth);
    const double rows = std::nearbyint(double(Height) / TileHeight);
    // A negative count draws no tile, as the loops from 0 would not.
    if (!(columns >= 0 && rows >= 0 && (columns + 1) * (rows + 1) <= kMaxTiles))
        return false;
    LastColumn = static_cast<int>(columns);
    LastRow = static_cast<int>(rows);
    return true;
}

void sgPaintDesignFrame(TsgCanvas* Canvas, const TsgRect& Local, float Opacity) {
    TsgRect r = Local;
    sgInflateRect(r, -0.5f, -0.5f);
    Canvas->StrokeThickness = 1;
    Canvas->SetStrokeDash(sgDashDash);
    Canvas->Stroke()->SetStyle(sgBrushSolid);
    Canvas->Stroke()->SetSolidColor(0xA0909090);
    Canvas->DrawRect(r, 0, 0, AllCorners, Opacity, sgCornerRound);
    Canvas->SetStrokeDash(sgDashSolid);
}
