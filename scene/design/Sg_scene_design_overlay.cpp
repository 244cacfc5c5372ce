// The design overlay, drawn over the objects: the selection's frame and handles, the guide
// lines to the siblings it is aligned with, and the label of the ALT-drag placement target.
#include "scene/design/Sg_scene_design.h"

#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_font.h"
#include "scene/core/Sg_scene_geometry.h"

namespace {

constexpr TsgColor kFrameColor = 0xFF1072C5;
constexpr TsgColor kPlaceColor = 0xFF5B91DE;
constexpr TsgColor kHandleColor = 0xFFFFFFFF;
constexpr TsgColor kHotHandleColor = 0xFFFF0000;

void SolidStroke(TsgCanvas* Canvas, TsgColor Color) {
    Canvas->StrokeThickness = 1;
    Canvas->Stroke()->SetStyle(sgBrushSolid);
    Canvas->Stroke()->SetSolidColor(Color);
}

} // namespace

void TsgSceneDesign::DrawDesignOverlay(TsgCanvas* Canvas) {
    TsgVisualObject* s = Selected();
    if (s && Resizable()) {
        Canvas->SetMatrix(s->AbsoluteMatrix());
        TsgRect frame = s->GetBoundsRect();
        sgInflateRect(frame, -0.5f, -0.5f);
        SolidStroke(Canvas, kFrameColor);
        Canvas->SetStrokeDash(sgDashDash);
        Canvas->DrawRect(frame, 0, 0, AllCorners, 1);
        Canvas->SetStrokeDash(sgDashSolid);
        Canvas->Fill()->SetStyle(sgBrushSolid);
        auto fill = [&](THandle h) {
            Canvas->Fill()->SetSolidColor(FHot[h] ? kHotHandleColor : kHandleColor);
        };
        const float w = s->Width();
        Canvas->DrawLine({w / 2, 0}, {w / 2, -10}, 1);
        for (THandle h : {hRotate, hLeftTop, hRightTop, hLeftBottom, hRightBottom}) {
            fill(h);
            Canvas->FillEllipse(HandleRect(h), 1);
            Canvas->DrawEllipse(HandleRect(h), 1);
        }
        const TsgRect b = s->GetBoundsRect();
        auto square = [&](THandle h) {
            fill(h);
            Canvas->FillRect(HandleRect(h), 0, 0, AllCorners, 1);
            Canvas->DrawRect(HandleRect(h), 0, 0, AllCorners, 1);
        };
        if (b.Right - b.Left > 12) {
            square(hTop);
            square(hBottom);
        }
        if (b.Bottom - b.Top > 12) {
            square(hLeft);
            square(hRight);
        }
    }
    if ((FMoving || FDrag != hNone) && !FDesignGridLines.empty() && SelectionParent())
        DrawGuides(Canvas);
    if (PlaceObject())
        DrawPlaceLabel(Canvas);
}

void TsgSceneDesign::DrawGuides(TsgCanvas* Canvas) {
    TsgVisualObject* sel = Selected();
    Canvas->SetMatrix(SelectionParent()->AbsoluteMatrix());
    SolidStroke(Canvas, kFrameColor);
    Canvas->SetStrokeDash(sgDashDash);
    const float sx = sel->Position()->X(), sy = sel->Position()->Y();
    const float sw = sel->Width(), sh = sel->Height();
    auto line = [&](float x1, float y1, float x2, float y2) {
        Canvas->DrawLine({x1 + 0.5f, y1 + 0.5f}, {x2 + 0.5f, y2 + 0.5f}, 1);
    };
    for (TsgVisualObject* g : FDesignGridLines) {
        const float gx = g->Position()->X(), gy = g->Position()->Y();
        const float gw = g->Width(), gh = g->Height();
        if (gy + gh / 2 == sy + sh / 2)
            line(sx, sy + sh / 2, gx, sy + sh / 2);
        if (gx + gw / 2 == sx + sw / 2)
            line(gx + gw / 2, sy, gx + gw / 2, gy);
        if (gx == sx || gy == sy)
            line(sx, sy, gx, gy);
        if (sx + sw == gx)
            line(gx, sy, gx, gy);
        if (sy + sh == gy)
            line(sx, gy, gx, gy);
        if (gx + gw == sx)
            line(gx + gw, sy, gx + gw, gy);
        if (gy + gh == sy)
            line(sx, gy + gh, gx, gy + gh);
        if (gx + gw == sx + sw)
            line(gx + gw, sy, gx + gw, gy);
        if (gy + gh == sy + sh)
            line(sx, gy + gh, gx, gy + gh);
    }
    Canvas->SetStrokeDash(sgDashSolid);
}

void TsgSceneDesign::DrawPlaceLabel(TsgCanvas* Canvas) {
    TsgVisualObject* place = PlaceObject();
    Canvas->SetMatrix(IdentityMatrix);
    const TsgRect r = place->AbsoluteRect();
    SolidStroke(Canvas, kPlaceColor);
    Canvas->DrawRect(r, 0, 0, AllCorners, 1);
    TsgRect label{r.Left, r.Top - 19, r.Left + 160, r.Top};
    Canvas->Fill()->SetStyle(sgBrushSolid);
    Canvas->Fill()->SetSolidColor(kPlaceColor);
    Canvas->FillRect(label, 0, 0, AllCorners, 1);
    sgInflateRect(label, -2, -2);
    Canvas->Font()->SetFamily(u"Tahoma");
    Canvas->Font()->SetSize(9);
    Canvas->Font()->SetStyle(sgFontRegular);
    Canvas->Fill()->SetSolidColor(0xFFFFFFFF);
    const UnicodeString name =
        place->Name().IsEmpty() ? UnicodeString(place->ClassName()) : UnicodeString(place->Name());
    Canvas->FillText(label, label, UnicodeString(u"ALT-drag to place into [") + name + u"]", false,
                     1, sgTextAlignNear, sgTextAlignCenter);
}
