#include "scene/core/Sg_scene_paint.h"

#include "scene/core/Sg_scene_registry.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_geometry.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace {

// The painting state a visual object keeps for this code, reached through pointers to members
// (the fields are protected in the object model).
struct PaintFields : TsgVisualObject {
    static constexpr auto TempCanvas = &PaintFields::FTempCanvas;
    static constexpr auto InPaintTo = &PaintFields::FInPaintTo;
    static constexpr auto DisableAlign = &PaintFields::FDisableAlign;
    static constexpr auto SetParentReferenceOf = &PaintFields::SetParentReference;
    static constexpr auto EffectsUpdatedOf = &PaintFields::EffectsUpdated;
};

// One cached picture per effect node, freed with the node, so that two effects on one object
// each keep their own picture.
class EffectPictures : public IsgFreeNotify {
public:
    TsgBitmap* Find(TsgObject* Effect) {
        auto it = pictures_.find(Effect);
        return it == pictures_.end() ? nullptr : it->second.get();
    }
    TsgBitmap* Get(TsgObject* Effect, int Width, int Height) {
        auto& slot = pictures_[Effect];
        if (!slot) {
            slot = std::make_unique<TsgBitmap>(Width, Height, true);
            Effect->AddFreeNotify(this);
        } else {
            slot->SetSize(Width, Height);
        }
        slot->Clear(0);
        return slot.get();
    }
    void FreeNotify(TsgObject* AObject) override { pictures_.erase(AObject); }
    size_t Count() const { return pictures_.size(); }

private:
    std::map<TsgObject*, std::unique_ptr<TsgBitmap>> pictures_;
};

EffectPictures& Pictures() {
    static EffectPictures* pictures = new EffectPictures();
    return *pictures;
}

void PaintFrame(TsgCanvas* Canvas, TsgVisualObject* C, TsgColor Color, float Thickness,
                TsgStrokeDash Dash) {
    const uint32_t state = Canvas->SaveCanvas();
    Canvas->SetMatrix(C->AbsoluteMatrix());
    Canvas->Stroke()->SetStyle(sgBrushSolid);
    Canvas->Stroke()->SetSolidColor(Color);
    Canvas->StrokeThickness = Thickness;
    Canvas->StrokeCap = sgCapFlat;
    Canvas->StrokeJoin = sgJoinMiter;
    Canvas->SetStrokeDash(Dash);
    TsgRect r = C->LocalRect();
    sgInflateRect(r, -1, -1);
    Canvas->DrawRect(r, 1, 1, AllCorners, 1);
    Canvas->RestoreCanvas(state);
}

bool NeedsDrawing(IsgScene* Scene, TsgVisualObject* C) {
    const TsgRect area = sgUnionRect(C->UpdateRect(), C->GetChildrenRect());
    for (int i = 0; i < Scene->GetUpdateRectsCount(); ++i)
        if (sgIntersectRect(area, Scene->GetUpdateRect(i)))
            return true;
    return false;
}

void CallOnPaint(TsgCanvas* Canvas, TsgVisualObject* C) {
    if (!C->OnPaint)
        return;
    Canvas->SetMatrix(C->AbsoluteMatrix());
    C->OnPaint(C, Canvas, C->LocalRect());
}

// The objects being painted through visual brushes, innermost last. A brush that shows its own
// object or one of its ancestors would paint that object again from inside its own painting,
// without end: an object already on the list is not painted again.
std::vector<TsgVisualObject*>& VisualsInPaint() {
    static std::vector<TsgVisualObject*> visuals;
    return visuals;
}

// Deep chains of distinct objects showing one another are cut off as well.
constexpr size_t kMaxVisualBrushNesting = 16;

void PaintSelf(TsgCanvas* Canvas, TsgVisualObject* C) {
    if (!C->ClipChildren()) {
        C->Paint();
        return;
    }
    const uint32_t state = Canvas->SaveCanvas();
    Canvas->SetMatrix(C->AbsoluteMatrix());
    Canvas->IntersectClipRect(C->GetClipRect());
    C->Paint();
    Canvas->RestoreCanvas(state);
}

} // namespace

void sgPaintVisual(TsgCanvas* Canvas, TsgVisualObject* Visual, const TsgRect& ARect,
                   float AOpacity) {
    std::vector<TsgVisualObject*>& inPaint = VisualsInPaint();
    if (inPaint.size() >= kMaxVisualBrushNesting ||
        std::find(inPaint.begin(), inPaint.end(), Visual) != inPaint.end())
        return;
    inPaint.push_back(Visual);
    struct Leave {
        std::vector<TsgVisualObject*>& list;
        ~Leave() { list.pop_back(); }
    } leave{inPaint};
    const float opacity = Visual->Opacity();
    Visual->SetOpacity(AOpacity);
    try {
        sgPaintTo(Visual, Canvas, ARect, nullptr);
    } catch (...) {
        Visual->SetOpacity(opacity);
        throw;
    }
    Visual->SetOpacity(opacity);
}

TsgBitmap* sgEffectPicture(TsgObject* Effect) {
    return Pictures().Find(Effect);
}

size_t sgEffectPictureCount() {
    return Pictures().Count();
}

void sgSetTempCanvas(TsgVisualObject* O, TsgCanvas* ACanvas) {
    O->*PaintFields::TempCanvas = ACanvas;
    for (int i = 0; i < O->ChildrenCount(); ++i)
        if (TsgVisualObject* v = O->GetChild(i)->Visual())
            sgSetTempCanvas(v, ACanvas);
}

void sgSetInPaintTo(TsgVisualObject* O, bool Value) {
    O->*PaintFields::InPaintTo = Value;
    for (int i = 0; i < O->ChildrenCount(); ++i)
        if (TsgVisualObject* v = O->GetChild(i)->Visual())
            sgSetInPaintTo(v, Value);
}

void sgPaintChildren(TsgVisualObject* P, int First, int Last) {
    IsgScene* scene = P->Scene();
    TsgCanvas* canvas = P->Canvas();
    if (!scene || !canvas)
        return;
    const bool design = scene->GetDesignTime();
    const int end = Last >= First ? std::min(Last + 1, P->ChildrenCount()) : P->ChildrenCount();
    for (int i = std::max(First, 0); i < end; ++i) {
        TsgVisualObject* c = P->GetChild(i)->Visual();
        if (!c || !(c->Visible() || (design && !c->Locked())) || (design && c->DesignHide()))
            continue;
        if (c->Scene() != scene)
            c->SetNewScene(scene);
        if (P->ClipChildren() && !sgIntersectRect(c->UpdateRect(), P->UpdateRect()))
            continue;
        const bool draw = design || c->*PaintFields::InPaintTo || NeedsDrawing(scene, c);
        if (draw) {
            uint32_t clipState = 0xFFFFFFFF;
            if (P->ClipChildren() && c->CanClipped()) {
                clipState = canvas->SaveCanvas();
                canvas->SetMatrix(P->AbsoluteMatrix());
                canvas->IntersectClipRect(P->GetClipRect());
            }
            canvas->SetMatrix(c->AbsoluteMatrix());
            c->BeforePaint();
            if (!c->HasAfterPaintEffect())
                sgApplyEffect(c);
            canvas->SetMatrix(c->AbsoluteMatrix());
            if (!c->HasDisablePaintEffect()) {
                if (TsgVisualObject* hole = c->HasClipParent()) {
                    const uint32_t holeState = canvas->SaveCanvas();
                    canvas->SetMatrix(hole->AbsoluteMatrix());
                    canvas->ExcludeClipRect(hole->LocalRect());
                    canvas->SetMatrix(c->AbsoluteMatrix());
                    PaintSelf(canvas, c);
                    canvas->RestoreCanvas(holeState);
                } else {
                    PaintSelf(canvas, c);
                }
                c->PaintChildren();
                CallOnPaint(canvas, c);
            }
            c->AfterPaint();
            if (c->IsDragOver() && !c->DragDisableHighlight())
                PaintFrame(canvas, c, sgDragOverFrameColor, 3, sgDashSolid);
            // Further objects of a multi-selection are outlined; the selection itself gets the
            // scene's handles instead.
            if (design && sgDesigner && scene->GetOwner() && c != scene->GetSelected() &&
                sgDesigner->IsSelected(scene->GetOwner(), c))
                PaintFrame(canvas, c, sgDesignSelectionColor, 1, sgDashDash);
            if (clipState != 0xFFFFFFFF)
                canvas->RestoreCanvas(clipState);
        }
        if (c->HasAfterPaintEffect()) {
            canvas->SetMatrix(c->AbsoluteMatrix());
            sgApplyEffect(c);
        }
    }
}

void sgApplyEffect(TsgVisualObject* O) {
    if (O->ChildrenCount() == 0 || !O->Scene() || O->EffectsDisabled() || !O->HasEffect())
        return;
    TsgCanvas* canvas = O->Canvas();
    if (!canvas)
        return;
    const uint32_t state = canvas->SaveCanvas();
    const TsgPoint scale = O->GetAbsoluteScale();
    const bool highSpeed = O->RotateAngle() == 0;
    const TsgRect local{0, 0, O->Width(), O->Height()};
    const bool render = O->EffectsNeedUpdate() || O->HasDisablePaintEffect();
    for (int i = 0; i < O->ChildrenCount(); ++i) {
        TsgObject* effect = O->GetChild(i);
        if (!effect->IsEffect() || !effect->EffectEnabled())
            continue;
        TsgRect er = effect->EffectRect(local);
        TsgBitmap* picture = Pictures().Find(effect);
        if (render || !picture) {
            sgMultiplyRect(er, scale.X, scale.Y);
            picture = Pictures().Get(effect, static_cast<int>(std::trunc(sgRectWidth(er))),
                                     static_cast<int>(std::trunc(sgRectHeight(er))));
            TsgCanvas* target = picture->Canvas();
            if (!target)
                continue;
            auto* rendering = dynamic_cast<IsgEffectRendering*>(effect);
            const TsgPoint d = rendering ? rendering->GetOffset() : TsgPoint{0, 0};
            const uint32_t targetState = target->SaveCanvas();
            if (target->BeginScene()) {
                target->SetMatrix(IdentityMatrix);
                TsgRect at{d.X, d.Y, d.X + O->Width(), d.Y + O->Height()};
                sgMultiplyRect(at, scale.X, scale.Y);
                sgPaintTo(O, target, at, nullptr);
                target->EndScene();
            }
            target->RestoreCanvas(targetState);
            if (rendering)
                rendering->ProcessEffect(target, picture, scale.X);
            if (scale.X != 0 && scale.Y != 0)
                sgMultiplyRect(er, 1 / scale.X, 1 / scale.Y);
        }
        canvas->SetMatrix(O->AbsoluteMatrix());
        canvas->DrawBitmap(picture, {0, 0, float(picture->Width()), float(picture->Height())}, er,
                           O->AbsoluteOpacity(), highSpeed);
    }
    if (render)
        (O->*PaintFields::EffectsUpdatedOf)();
    canvas->RestoreCanvas(state);
}

void sgPaintTo(TsgVisualObject* O, TsgCanvas* ACanvas, const TsgRect& ARect,
               TsgVisualObject* AParent) {
    IsgScene* scene = O->Scene();
    if (!scene || !ACanvas || O->Width() * O->Height() == 0)
        return;
    const bool updatesWereDisabled = scene->GetDisableUpdate();
    scene->SetDisableUpdate(true);
    const bool alignWasSuspended = O->*PaintFields::DisableAlign;
    O->*PaintFields::DisableAlign = true;
    // A subtree painted into an effect picture from inside another PaintTo stays marked.
    const bool wasInPaintTo = O->*PaintFields::InPaintTo;
    sgSetInPaintTo(O, true);
    TsgCanvas* oldTempCanvas = O->*PaintFields::TempCanvas;
    sgSetTempCanvas(O, ACanvas);
    const uint32_t state = ACanvas->SaveCanvas();

    const TsgPoint position = O->Position()->Point();
    const TsgPoint scale = O->Scale()->Point();
    const float angle = O->RotateAngle();
    TsgObject* parent = O->Parent();
    // The opacity, the enabled state and the matrices all follow the parent given: an effect
    // picture painted under the real parent would carry the ancestors' opacity (and the
    // darkening of a disabled subtree) once more when it is drawn.
    auto standUnder = [O](TsgObject* Parent) {
        (O->*PaintFields::SetParentReferenceOf)(Parent);
        O->RecalcOpacity();
        O->RecalcEnabled();
    };
    auto restore = [&] {
        O->SetRotateAngle(angle);
        O->Position()->SetPointNoChange(position);
        O->Scale()->SetPointNoChange(scale);
        standUnder(parent);
        O->MatrixChanged(O);
        O->RecalcUpdateRect();
        O->RecalcAbsoluteNow();
        sgSetInPaintTo(O, wasInPaintTo);
        O->*PaintFields::DisableAlign = alignWasSuspended;
        ACanvas->RestoreCanvas(state);
        sgSetTempCanvas(O, oldTempCanvas);
        scene->SetDisableUpdate(updatesWereDisabled);
    };
    try {
        standUnder(AParent);
        O->SetRotateAngle(0);
        O->Position()->SetPointNoChange({ARect.Left, ARect.Top});
        O->Scale()->SetPointNoChange(
            {sgRectWidth(ARect) / O->Width(), sgRectHeight(ARect) / O->Height()});
        O->MatrixChanged(O);
        ACanvas->SetMatrix(O->AbsoluteMatrix());
        O->BeforePaint();
        O->Paint();
        O->AfterPaint();
        O->PaintChildren();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}
