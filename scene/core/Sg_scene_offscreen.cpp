#include "scene/core/Sg_scene_offscreen.h"

#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_scene_geometry.h"

#include <algorithm>

DBI_PUBLISH(TsgOffscreenScene) {}

TsgOffscreenScene::TsgOffscreenScene(TComponent* AOwner, int AWidth, int AHeight)
    : TComponent(AOwner) {
    InitSgCanvasUnit();
    FCanvas = DefaultCanvasClass->Create(AWidth, AHeight);
    InvalidateAll();
}

TsgOffscreenScene::~TsgOffscreenScene() {
    // Owned objects go first, while this scene can still hear them leave; the others forget it.
    DestroyComponents();
    for (TsgObject* o : std::vector<TsgObject*>(FObjects))
        o->SetNewScene(nullptr);
    FObjects.clear();
}

void TsgOffscreenScene::AddObject(TsgObject* AObject) {
    if (std::find(FObjects.begin(), FObjects.end(), AObject) == FObjects.end())
        FObjects.push_back(AObject);
    AObject->SetNewScene(this);
}

void TsgOffscreenScene::RemoveObject(TsgObject* AObject) {
    FObjects.erase(std::remove(FObjects.begin(), FObjects.end(), AObject), FObjects.end());
    if (FFocused == AObject)
        FFocused = nullptr;
}

void TsgOffscreenScene::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove)
        if (auto* o = dynamic_cast<TsgObject*>(AComponent))
            RemoveObject(o);
}

void TsgOffscreenScene::AddUpdateRect(const TsgRect& R) {
    if (!FDisableUpdate)
        FUpdateRects.push_back(R);
}

void TsgOffscreenScene::InvalidateAll() {
    FUpdateRects.assign(1, {0, 0, float(FCanvas->Width()), float(FCanvas->Height())});
}

void TsgOffscreenScene::PaintScene(TsgColor Background) {
    if (FUpdateRects.empty())
        InvalidateAll();
    TsgCanvas* canvas = FCanvas.get();
    for (const TsgRect& r : FUpdateRects)
        canvas->ClearRect(r, Background);
    const uint32_t state = canvas->SaveCanvas();
    canvas->SetMatrix(IdentityMatrix);
    canvas->SetClipRects(FUpdateRects);
    for (TsgObject* o : std::vector<TsgObject*>(FObjects)) {
        TsgVisualObject* v = o->Visual();
        if (!v || !v->Visible())
            continue;
        canvas->SetMatrix(v->AbsoluteMatrix());
        v->BeforePaint();
        canvas->SetMatrix(v->AbsoluteMatrix());
        v->Paint();
        v->AfterPaint();
        v->PaintChildren();
        if (v->OnPaint) {
            canvas->SetMatrix(v->AbsoluteMatrix());
            v->OnPaint(v, canvas, v->LocalRect());
        }
    }
    canvas->RestoreCanvas(state);
    FUpdateRects.clear();
}
