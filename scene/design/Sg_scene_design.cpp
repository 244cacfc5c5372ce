#include "scene/design/Sg_scene_design.h"

#include "scene/design/Sg_colors.h"
#include "scene/design/Sg_dsgn_bmp.h"
#include "scene/design/Sg_dsgn_brush.h"
#include "scene/design/Sg_dsgn_font.h"
#include "scene/design/Sg_dsgn_path.h"
#include "scene/design/Sg_inspector.h"

#include "scene/controls/Sg_controls_buttons.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_font.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_path.h"
#include "scene/core/Sg_utils.h"

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/StringUtils.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kHandleHalf = 3;
constexpr uint16_t kDeleteKey = 46;

float RoundF(float Value) {
    return static_cast<float>(Round(double(Value)));
}

struct TBox {
    float X, Y, W, H;
};

TBox BoxOf(TsgVisualObject* O) {
    return {O->Position()->X(), O->Position()->Y(), O->Width(), O->Height()};
}

void EraseAll(std::vector<TsgObject*>& List, TComponent* C) {
    List.erase(std::remove_if(List.begin(), List.end(),
                              [C](TsgObject* o) { return static_cast<TComponent*>(o) == C; }),
               List.end());
}

} // namespace

TsgSceneDesign* TsgSceneDesign::Of(TsgCustomScene* Scene) {
    return Scene ? dynamic_cast<TsgSceneDesign*>(Scene->DesignEditor()) : nullptr;
}

void RegisterSgDesignUnit() {
    RegisterSgColorsUnit();
    RegisterSgInspectorUnit();
    sgInspectorEditors().Bitmap = [](TPersistent* Object, TComponent*) {
        return sgEditBitmap(dynamic_cast<TsgBitmap*>(Object));
    };
    sgInspectorEditors().Brush = [](TPersistent* Object, TComponent*) {
        return ShowBrushDialog(dynamic_cast<TsgBrush*>(Object), sgAllBrushStyles, false);
    };
    sgColorButtonDialog() = ShowColorButtonDialog;
    sgInspectorEditors().Gradient = [](TPersistent* Object, TComponent*) {
        return ShowGradientDialog(dynamic_cast<TsgGradient*>(Object));
    };
    sgInspectorEditors().PathData = [](TPersistent* Object, TComponent*) {
        return sgEditPathData(dynamic_cast<TsgPathData*>(Object));
    };
    sgInspectorEditors().Font = [](TPersistent* Object, TComponent*) {
        return sgEditFont(dynamic_cast<TsgFont*>(Object));
    };
    sgSceneDesignEditorFactory = [](TsgCustomScene* Scene) -> IsgSceneDesignEditor* {
        return new TsgSceneDesign(Scene);
    };
}

// Selection.

bool TsgSceneDesign::Resizable() const {
    TsgVisualObject* s = Selected();
    return s && !s->DisableDesignResize();
}

TsgVisualObject* TsgSceneDesign::SelectionParent() const {
    TsgVisualObject* s = Selected();
    return s && s->Parent() ? s->Parent()->Visual() : nullptr;
}

void TsgSceneDesign::FireChangeSelection() {
    if (DesignChangeSelection)
        DesignChangeSelection(FScene);
}

void TsgSceneDesign::ChangeSelection(TsgVisualObject* Value) {
    TsgVisualObject* old = Selected();
    if (old) {
        old->Repaint();
        FScene->SetSelectedReference(nullptr);
        old->RecalcUpdateRect();
        old->Repaint();
    }
    FScene->SetSelectedReference(Value);
    if (Value) {
        Value->RecalcUpdateRect();
        Value->Repaint();
    }
}

void TsgSceneDesign::SetSelected(TsgVisualObject* Value) {
    if (Value == Selected())
        return;
    ChangeSelection(Value);
    FireChangeSelection();
    FScene->AddUpdateRect(TsgRect{0, 0, float(FScene->GetWidth()), float(FScene->GetHeight())});
    FScene->Draw();
}

void TsgSceneDesign::DoDesignSelect(TObject* AObject) {
    auto* visual = dynamic_cast<TsgVisualObject*>(AObject);
    if (!visual || visual->Scene() != static_cast<IsgScene*>(FScene))
        return;
    ChangeSelection(visual);
    FScene->AddUpdateRect(TsgRect{0, 0, 10000, 10000});
    FScene->Draw();
}

void TsgSceneDesign::ComponentRemoved(TComponent* AComponent) {
    // Nothing may keep pointing at an object that goes, in any of the lists.
    EraseAll(FSelection, AComponent);
    FDesignGridLines.erase(std::remove_if(FDesignGridLines.begin(), FDesignGridLines.end(),
                                          [AComponent](TsgVisualObject* o) {
                                              return static_cast<TComponent*>(o) == AComponent;
                                          }),
                           FDesignGridLines.end());
    if (Selected() && static_cast<TComponent*>(Selected()) == AComponent) {
        FScene->SetSelectedReference(nullptr);
        FMoving = false;
        FDrag = hNone;
    }
}

void TsgSceneDesign::SetPlaceObject(TsgVisualObject* Value) {
    TsgVisualObject* old = PlaceObject();
    if (old == Value)
        return;
    if (old) {
        old->Repaint();
        FScene->SetDesignPlaceObjectReference(nullptr);
        old->RecalcUpdateRect();
    }
    FScene->SetDesignPlaceObjectReference(Value);
    if (Value) {
        Value->RecalcUpdateRect();
        Value->Repaint();
    }
}

// Handles.

TsgRect TsgSceneDesign::HandleRect(THandle H) {
    TsgVisualObject* s = Selected();
    if (!s || H == hNone)
        return {};
    const TsgRect b = s->GetBoundsRect();
    const float w = b.Right - b.Left, h = b.Bottom - b.Top;
    TsgPoint c{};
    switch (H) {
    case hRotate:
        c = {s->Width() / 2, -10};
        break;
    case hLeftTop:
        c = {0, 0};
        break;
    case hRightTop:
        c = {b.Right, 0};
        break;
    case hLeftBottom:
        c = {0, b.Bottom};
        break;
    case hRightBottom:
        c = {b.Right, b.Bottom};
        break;
    case hTop:
        c = {w / 2, 0};
        break;
    case hBottom:
        c = {w / 2, b.Bottom};
        break;
    case hLeft:
        c = {0, h / 2};
        break;
    case hRight:
        c = {b.Right, h / 2};
        break;
    case hNone:
        break;
    }
    return {c.X - kHandleHalf, c.Y - kHandleHalf, c.X + kHandleHalf, c.Y + kHandleHalf};
}

TsgSceneDesign::THandle TsgSceneDesign::HandleAt(const TsgPoint& P) {
    if (!Resizable())
        return hNone;
    const TsgPoint local = Selected()->AbsoluteToLocal(P);
    for (int h = hRotate; h < hNone; ++h)
        if (sgPtInRect(local, HandleRect(THandle(h))))
            return THandle(h);
    return hNone;
}

// Mouse.

void TsgSceneDesign::EnsureRoot() {
    if (FScene->Count() > 0)
        return;
    TComponent* owner = FScene->GetOwner();
    auto* root = new TsgBackground(owner);
    if (sgDesigner && owner)
        root->SetName(sgDesigner->UniqueName(owner, "Root"));
    FScene->AddObject(root);
    FScene->RealignRoot();
}

void TsgSceneDesign::DesignMouseDown(TMouseButton Button, TShiftState Shift, const TsgPoint& P) {
    Press(Shift, P);
    if (Button != mbRight)
        return;
    // The right button selects like the left one but drags nothing; it opens the design menu.
    FMoving = false;
    FDrag = hNone;
    OpenDesignPopup();
}

void TsgSceneDesign::Press(TShiftState Shift, const TsgPoint& P) {
    FUnsnapMousePos = FMousePos = FDownPos = P;
    FDesignGridLines.clear();
    EnsureRoot();
    TComponent* owner = FScene->GetOwner();
    const THandle h = HandleAt(P);
    if (h != hNone) {
        if (sgDesigner)
            sgDesigner->SelectObject(owner, Selected(), {});
        FireChangeSelection();
        FDrag = h;
        FMoving = false;
        return;
    }
    TsgVisualObject* hit = FScene->ObjectByPoint(P.X, P.Y);
    if (!hit)
        return;
    if (Shift.Contains(ssCtrl) && hit != Selected()) {
        auto at = std::find(FSelection.begin(), FSelection.end(), hit);
        if (at != FSelection.end())
            *at = Selected();
        else
            FSelection.push_back(hit);
        // A replaced entry may have become empty (nothing was selected).
        EraseAll(FSelection, nullptr);
        if (sgDesigner)
            sgDesigner->SelectObject(owner, Selected(), FSelection);
        hit->Repaint();
        return;
    }
    for (TsgObject* o : FSelection)
        if (o->Visual())
            o->Visual()->Repaint();
    FSelection.clear();
    ChangeSelection(hit);
    if (sgDesigner)
        sgDesigner->SelectObject(owner, hit, {});
    FireChangeSelection();
    FMoving = true;
}

void TsgSceneDesign::DesignMouseMove(TShiftState Shift, const TsgPoint& P) {
    FUnsnapMousePos = FMousePos = P;
    TsgVisualObject* s = Selected();
    if (s && Resizable()) {
        const TsgPoint local = s->AbsoluteToLocal(P);
        for (int h = hRotate; h < hNone; ++h) {
            const TsgRect r = HandleRect(THandle(h));
            const bool hot = sgPtInRect(local, r);
            if (hot == FHot[h])
                continue;
            FHot[h] = hot;
            const TsgPoint a = s->LocalToAbsolute({r.Left, r.Top});
            const TsgPoint b = s->LocalToAbsolute({r.Right, r.Bottom});
            TsgRect area{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X),
                         std::max(a.Y, b.Y)};
            sgInflateRect(area, 2, 2);
            FScene->AddUpdateRect(area);
        }
    }
    if (!Shift.Contains(ssLeft) || !s)
        return;
    if (FMoving)
        Move(Shift);
    else if (FDrag == hRotate)
        Rotate();
    else if (FDrag != hNone)
        Resize();
    FDownPos = FMousePos;
}

void TsgSceneDesign::Move(TShiftState Shift) {
    TsgVisualObject* s = Selected();
    TsgVisualObject* parent = SelectionParent();
    const TsgVector delta{FUnsnapMousePos.X - FDownPos.X, FUnsnapMousePos.Y - FDownPos.Y, 0};
    const TsgVector d =
        parent ? parent->AbsoluteToLocalVector(delta) : s->AbsoluteToLocalVector(delta);
    s->Position()->SetX(SnapToGridValue(s->Position()->X() + d.X));
    s->Position()->SetY(SnapToGridValue(s->Position()->Y() + d.Y));
    SnapToGridLines(true);
    if (!Selected())
        return;
    const bool wasLocked = s->Locked();
    s->SetLocked(true);
    TsgVisualObject* target = FScene->ObjectByPoint(FUnsnapMousePos.X, FUnsnapMousePos.Y);
    s->SetLocked(wasLocked);
    // An object inside the selection can never take it: the tree would become a cycle.
    for (TsgObject* o = target; o; o = o->Parent())
        if (o == s) {
            target = nullptr;
            break;
        }
    if (!target || target == s || target == parent) {
        if (target != s)
            SetPlaceObject(nullptr);
        return;
    }
    SetPlaceObject(target);
    if (!Shift.Contains(ssAlt))
        return;
    // Moved into the target where it stands on screen.
    s->Repaint();
    const TsgPoint origin = s->LocalToAbsolute({0, 0});
    s->SetParent(target);
    s->Position()->SetPoint(target->AbsoluteToLocal(origin));
    s->RecalcUpdateRect();
    s->Repaint();
}

void TsgSceneDesign::Rotate() {
    TsgVisualObject* s = Selected();
    const TsgPoint p = s->AbsoluteToLocal(FDownPos);
    const TsgPoint q = s->AbsoluteToLocal(FMousePos);
    const TsgPoint c{s->Width() / 2, s->Height() / 2};
    const TsgVector a = sgVector(p.X - c.X, p.Y - c.Y, 1);
    const TsgVector b = sgVector(q.X - c.X, q.Y - c.Y, 1);
    const float cosine = std::clamp(sgVectorAngleCosine(b, a), -1.0f, 1.0f);
    const float angle = sgRadToDeg(std::acos(cosine));
    if (sgVectorCrossProductZ(b, a) >= 0)
        s->SetRotateAngle(s->RotateAngle() - angle);
    else
        s->SetRotateAngle(s->RotateAngle() + angle);
}

void TsgSceneDesign::Resize() {
    TsgVisualObject* s = Selected();
    const TsgRect b = s->GetBoundsRect();
    const TsgPoint p = SnapPointToGridLines(s->AbsoluteToLocal(FMousePos));
    TsgRect r = b;
    switch (FDrag) {
    case hLeftTop:
        r = {p.X, p.Y, b.Right, b.Bottom};
        break;
    case hRightTop:
        r = {b.Left, p.Y, p.X, b.Bottom};
        break;
    case hLeftBottom:
        r = {p.X, b.Top, b.Right, p.Y};
        break;
    case hRightBottom:
        r = {b.Left, b.Top, p.X, p.Y};
        break;
    case hTop:
        r = {b.Left, p.Y, b.Right, b.Bottom};
        break;
    case hBottom:
        r = {b.Left, b.Top, b.Right, p.Y};
        break;
    case hLeft:
        r = {p.X, b.Top, b.Right, b.Bottom};
        break;
    case hRight:
        r = {b.Left, b.Top, p.X, b.Bottom};
        break;
    default:
        return;
    }
    s->SetBoundsRect(r);
}

void TsgSceneDesign::DesignMouseUp(TMouseButton, TShiftState, const TsgPoint&) {
    SetPlaceObject(nullptr);
    AddUpdateRectsFromGridLines();
    FDesignGridLines.clear();
    TsgVisualObject* s = Selected();
    // Every drag that changed the object is reported, edge handles and rotation included, so
    // the tool knows there is something to save.
    if (s && (FMoving || FDrag != hNone)) {
        if (TsgVisualObject* parent = SelectionParent())
            parent->Realign();
        if (sgDesigner)
            sgDesigner->Modified(FScene->GetOwner());
        if (!s->Parent())
            FScene->RealignRoot();
    }
    FMoving = false;
    FDrag = hNone;
}

void TsgSceneDesign::DesignKeyUp(uint16_t Key, TShiftState) {
    TsgVisualObject* s = Selected();
    if (Key != kDeleteKey || !s)
        return;
    FScene->SetSelectedReference(nullptr);
    s->Repaint();
    if (sgDesigner)
        sgDesigner->DeleteObject(s);
    s->Free();
    FireChangeSelection();
    if (sgDesigner)
        sgDesigner->Modified(FScene->GetOwner());
}

// Snapping.

float TsgSceneDesign::SnapToGridValue(float X) const {
    if (!SnapToGrid() || FSnapGridSize == 0)
        return X;
    return std::trunc(X / FSnapGridSize) * FSnapGridSize;
}

void TsgSceneDesign::AddGuide(TsgVisualObject* S) {
    if (std::find(FDesignGridLines.begin(), FDesignGridLines.end(), S) == FDesignGridLines.end())
        FDesignGridLines.push_back(S);
}

void TsgSceneDesign::SnapToGridLines(bool Snap) {
    TsgVisualObject* sel = Selected();
    if (!SnapToLines() || !sel || !sel->Parent())
        return;
    TsgObject* parent = sel->Parent();
    for (int i = 0; i < parent->ChildrenCount(); ++i) {
        TsgVisualObject* sib = parent->GetChild(i)->Visual();
        if (!sib || sib == sel)
            continue;
        const TBox S = BoxOf(sib), L = BoxOf(sel);
        // Each test: the sibling's value, the selection's, and whether it is horizontal.
        const struct {
            float a, b;
            bool x;
        } tests[] = {
            {RoundF(S.H / 2) + S.Y, RoundF(L.H / 2) + L.Y, false},
            {RoundF(S.W / 2) + S.X, RoundF(L.W / 2) + L.X, true},
            {S.X, L.X, true},
            {S.Y, L.Y, false},
            {S.X, L.X + L.W, true},
            {S.Y, L.Y + L.H, false},
            {S.X + S.W, L.X, true},
            {S.Y + S.H, L.Y, false},
            {S.X + S.W, L.X + L.W, true},
            {S.Y + S.H, L.Y + L.H, false},
        };
        for (const auto& t : tests) {
            if (!(std::fabs(t.a - t.b) < 2))
                continue;
            if (Snap) {
                const float diff = t.a - t.b;
                if (t.x) {
                    sel->Position()->SetX(sel->Position()->X() + diff);
                    FMousePos.X += diff;
                } else {
                    sel->Position()->SetY(sel->Position()->Y() + diff);
                    FMousePos.Y += diff;
                }
            }
            AddGuide(sib);
            break;
        }
    }
    AddUpdateRectsFromGridLines();
}

TsgPoint TsgSceneDesign::SnapPointToGridLines(const TsgPoint& P) {
    TsgVisualObject* sel = Selected();
    if (!SnapToLines() || !sel || !sel->Parent())
        return P;
    SnapToGridLines(false);
    TsgVisualObject* parent = SelectionParent();
    if (FDesignGridLines.empty() || !parent)
        return P;
    TsgPoint p = parent->AbsoluteToLocal(sel->LocalToAbsolute(P));
    for (TsgVisualObject* g : FDesignGridLines) {
        const TBox G = BoxOf(g);
        if (std::fabs(p.X - G.X) < 4)
            p.X = G.X;
        if (std::fabs(p.Y - G.Y) < 4)
            p.Y = G.Y;
        if (std::fabs(p.X - (G.X + G.W)) < 4)
            p.X = G.X + G.W;
        if (std::fabs(p.Y - (G.Y + G.H)) < 4)
            p.Y = G.Y + G.H;
    }
    return sel->AbsoluteToLocal(parent->LocalToAbsolute(p));
}

void TsgSceneDesign::AddUpdateRectsFromGridLines() {
    TsgVisualObject* parent = SelectionParent();
    if (!Resizable() || !parent || !(FMoving || (FDrag != hNone && FDrag != hRotate)) ||
        FDesignGridLines.empty())
        return;
    // The guide lines run between the selection and each guide; the area both span, taken to
    // scene coordinates, covers all of them.
    const TBox L = BoxOf(Selected());
    for (TsgVisualObject* g : FDesignGridLines) {
        const TBox G = BoxOf(g);
        const TsgRect span{std::min(L.X, G.X) - 1, std::min(L.Y, G.Y) - 1,
                           std::max(L.X + L.W, G.X + G.W) + 2, std::max(L.Y + L.H, G.Y + G.H) + 2};
        const TsgPoint corners[4] = {parent->LocalToAbsolute({span.Left, span.Top}),
                                     parent->LocalToAbsolute({span.Right, span.Top}),
                                     parent->LocalToAbsolute({span.Right, span.Bottom}),
                                     parent->LocalToAbsolute({span.Left, span.Bottom})};
        FScene->AddUpdateRect(sgNormalizeRect(corners, 4));
    }
}

void TsgSceneDesign::SetSnapGridShow(bool Value) {
    FScene->SetDesignSnapGridShow(Value);
    FScene->AddUpdateRect(TsgRect{0, 0, float(FScene->GetWidth()), float(FScene->GetHeight())});
}

void TsgSceneDesign::SetSnapGridSize(float Value) {
    if (Value == FSnapGridSize)
        return;
    FSnapGridSize = std::max(Value, 0.01f);
    if (SnapGridShow())
        FScene->AddUpdateRect(TsgRect{0, 0, float(FScene->GetWidth()), float(FScene->GetHeight())});
}

// Inserting.

void TsgSceneDesign::InsertObject(const AnsiString& AClassName) {
    const TClassInfo* info = GetClass(AClassName);
    if (!info || !info->InheritsFrom(TsgObject::StaticClassInfo()) || !info->CreateComponent)
        return;
    TComponent* owner = FScene->GetOwner();
    TsgObject* instance = nullptr;
    try {
        instance = dynamic_cast<TsgObject*>(info->CreateComponent(owner));
    } catch (...) {
        return;
    }
    if (!instance)
        return;
    TsgVisualObject* sel = Selected();
    if (!sel && FScene->Count() > 0) {
        // Only an empty scene takes a top-level object.
        instance->Free();
        return;
    }
    if (sgDesigner && owner)
        instance->SetName(sgDesigner->UniqueName(owner, AClassName));
    if (sel)
        sel->AddObject(instance);
    else
        FScene->AddObject(instance);
    if (sgDesigner) {
        sgDesigner->SelectObject(owner, instance, {});
        sgDesigner->AddObject(instance);
    }
    FireChangeSelection();
    if (sgDesigner)
        sgDesigner->Modified(owner);
    TsgVisualObject* visual = instance->Visual();
    if (!visual)
        return;
    if (sel && IsPublishedProp(instance, "Text"))
        try {
            SetStrProp(instance, "Text", UnicodeString(AClassName.SubString(4, 1000)));
        } catch (...) {
        }
    const bool item = Pos(AnsiString("Item"), AClassName) > 0;
    if (PopupPos.X > 0 && !item && PopupPos.Y >= 0 && PopupPos.X < FScene->GetWidth() &&
        PopupPos.Y < FScene->GetHeight()) {
        const TsgPoint at{float(PopupPos.X), float(PopupPos.Y)};
        visual->Position()->SetPoint(sel ? sel->AbsoluteToLocal(at) : at);
    }
    PopupPos = TPoint{-1, -1};
    ChangeSelection(visual);
}
