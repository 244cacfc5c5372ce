#include "scene/controls/Sg_layout.h"

#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_iscene.h"

DBI_PUBLISH(TsgLayout) {
    p.Boolean("HitTest", &TsgLayout::HitTest, &TsgLayout::SetHitTest, false);
    p.Event("OnDock", &TsgLayout::GetOnDock, &TsgLayout::SetOnDock);
}

DBI_PUBLISH(TsgSplitLayout) {
    p.Boolean("HitTest", &TsgSplitLayout::HitTest, &TsgSplitLayout::SetHitTest, false);
}

TsgLayout::TsgLayout(TComponent* AOwner) : TsgVisualObject(AOwner) {
    SetHitTest(false);
}

void sgPaintLayoutFrame(TsgVisualObject* O, bool paintingToTarget) {
    IsgScene* scene = O->Scene();
    if (!scene || !scene->GetDesignTime() || O->Locked() || paintingToTarget)
        return;
    TsgCanvas* canvas = O->Canvas();
    if (!canvas)
        return;
    TsgRect r{0, 0, O->Width(), O->Height()};
    sgInflateRect(r, -0.5f, -0.5f);
    canvas->StrokeThickness = 1;
    canvas->SetStrokeDash(sgDashDash);
    canvas->Stroke()->SetStyle(sgBrushSolid);
    canvas->Stroke()->SetSolidColor(0xA0909090);
    canvas->DrawRect(r, 0, 0, AllCorners, O->AbsoluteOpacity(), sgCornerRound);
    canvas->SetStrokeDash(sgDashSolid);
}

void TsgLayout::Paint() {
    sgPaintLayoutFrame(this, PaintingToTarget());
}

TsgSplitLayout::TsgSplitLayout(TComponent* AOwner) : TsgVisualObject(AOwner) {
    SetHitTest(false);
}
