#include "scene/controls/Sg_controls_bars.h"

#include "scene/core/Sg_scene_iscene.h"

namespace {

std::vector<AnsiString> AlignNames() {
    return {"vaNone",       "vaTopLeft",    "vaTopRight",   "vaBottomLeft", "vaBottomRight",
            "vaTop",        "vaLeft",       "vaRight",      "vaBottom",     "vaMostTop",
            "vaMostBottom", "vaMostLeft",   "vaMostRight",  "vaClient",     "vaContents",
            "vaCenter",     "vaVertCenter", "vaHorzCenter", "vaHorizontal", "vaVertical",
            "vaScale",      "vaFit",        "vaFitLeft",    "vaFitRight"};
}

} // namespace

DBI_PUBLISH(TsgPanel) {
    (void)p;
}
DBI_PUBLISH(TsgHudPanel) {
    (void)p;
}

DBI_PUBLISH(TsgToolBar) {
    p.Enumeration("Align", &TsgToolBar::Align, &TsgToolBar::SetAlign, AlignNames(), vaTop);
}

DBI_PUBLISH(TsgStatusBar) {
    using S = TsgStatusBar;
    p.Boolean("ShowSizeGrip", &S::ShowSizeGrip, &S::SetShowSizeGrip, std::nullopt);
    p.Enumeration("Align", &S::Align, &S::SetAlign, AlignNames(), vaBottom);
}

DBI_PUBLISH(TsgHudStatusBar) {
    (void)p;
}
DBI_PUBLISH(TsgSelectionItem) {
    (void)p;
}

TsgPanel::TsgPanel(TComponent* AOwner) : TsgControl(AOwner) {
    SetWidth(120);
    SetHeight(100);
}

TsgToolBar::TsgToolBar(TComponent* AOwner) : TsgControl(AOwner) {
    SetAlign(vaTop);
    SetHeight(40);
}

TsgStatusBar::TsgStatusBar(TComponent* AOwner) : TsgControl(AOwner) {
    SetAlign(vaBottom);
    SetHeight(22);
}

void TsgStatusBar::SetShowSizeGrip(bool Value) {
    if (Value == FShowSizeGrip)
        return;
    FShowSizeGrip = Value;
    // A fresh clone, so the grip is shown or hidden from the start.
    if (!Loading())
        UpdateResource();
}

void TsgStatusBar::ApplyStyle() {
    TsgControl::ApplyStyle();
    TsgObject* found = FindResource(u"sizegrip");
    TsgVisualObject* grip = found ? found->Visual() : nullptr;
    if (!grip)
        return;
    grip->SetVisible(FShowSizeGrip);
    IsgScene* scene = Scene();
    if (scene && !scene->GetDesignTime()) {
        grip->SetLocked(false);
        grip->SetHitTest(true);
    }
}

TsgSelectionItem::TsgSelectionItem(TComponent* AOwner) : TsgControl(AOwner) {
    SetHitTest(false);
}

void TsgSelectionItem::PaintChildren() {
    if (HasState(csDesigning))
        return;
    TsgControl::PaintChildren();
}
