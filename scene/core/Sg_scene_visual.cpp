#include "scene/core/Sg_scene_visual.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_align.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_paint.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/ui/CursorIdents.h"
#include "platform/ui/Menus.h"

#include <algorithm>
#include <cmath>

DBI_PUBLISH(TsgVisualObject) {
    using V = TsgVisualObject;
    p.Boolean("IsMouseOver", &V::IsMouseOver, nullptr);
    p.Boolean("IsDragOver", &V::IsDragOver, nullptr);
    p.Boolean("IsFocused", &V::IsFocused, nullptr);
    p.Boolean("IsVisible", &V::IsVisible, nullptr);
    p.Enumeration("Align", &V::Align, &V::SetAlign,
                  {"vaNone",       "vaTopLeft",    "vaTopRight",   "vaBottomLeft", "vaBottomRight",
                   "vaTop",        "vaLeft",       "vaRight",      "vaBottom",     "vaMostTop",
                   "vaMostBottom", "vaMostLeft",   "vaMostRight",  "vaClient",     "vaContents",
                   "vaCenter",     "vaVertCenter", "vaHorzCenter", "vaHorizontal", "vaVertical",
                   "vaScale",      "vaFit",        "vaFitLeft",    "vaFitRight"},
                  vaNone);
    p.Integer("Cursor", &V::Cursor, &V::SetCursor, 0).IdentMap(CursorIdents());
    p.Enumeration("DragMode", &V::DragMode, &V::SetDragMode,
                  {"sgDragManual", "sgDragAutomatic", "sgDragLeftAutomatic", "sgDragMoveAutomatic"},
                  sgDragManual);
    p.Boolean("DragDisableHighlight", &V::DragDisableHighlight, &V::SetDragDisableHighlight, false);
    p.Boolean("Enabled", &V::Enabled, &V::SetEnabled, true);
    p.Object("Position", &V::Position, &V::SetPosition);
    p.Float("RotateAngle", &V::RotateAngle, &V::SetRotateAngle);
    p.Object("RotateCenter", &V::RotateCenter, &V::SetRotateCenter);
    p.Boolean("Locked", &V::Locked, &V::SetLocked, false);
    // Always written: the constructor's size is not 0, so a 0 x 0 object must say so.
    p.Float("Width", &V::Width, &V::SetWidth).NoDefault();
    p.Float("Height", &V::Height, &V::SetHeight).NoDefault();
    p.Object("Margins", &V::Margins, &V::SetMargins);
    p.Object("Padding", &V::Padding, &V::SetPadding);
    p.Float("Opacity", &V::Opacity, &V::SetOpacity, 1);
    p.Boolean("ClipChildren", &V::ClipChildren, &V::SetClipChildren, false);
    p.Boolean("ClipParent", &V::ClipParent, &V::SetClipParent, false);
    p.Boolean("HitTest", &V::HitTest, &V::SetHitTest, true);
    p.String("Hint", &V::Hint, &V::SetHint);
    p.Boolean("ShowHint", &V::ShowHint, &V::SetShowHint, false);
    p.Boolean("CanClipped", &V::CanClipped, &V::SetCanClipped, true);
    p.Object("PopupMenu", &V::PopupMenu, &V::SetPopupMenu);
    p.Object("Scale", &V::Scale, &V::SetScale);
    p.Boolean("Visible", &V::Visible, &V::SetVisible, true);
    p.Boolean("DesignHide", &V::DesignHide, &V::SetDesignHide, false);
    p.Event("OnClick", &V::GetOnClick, &V::SetOnClick);
    p.Event("OnFocus", &V::GetOnFocus, &V::SetOnFocus);
    p.Event("OnDblClick", &V::GetOnDblClick, &V::SetOnDblClick);
    p.Event("OnMouseEnter", &V::GetOnMouseEnter, &V::SetOnMouseEnter);
    p.Event("OnMouseLeave", &V::GetOnMouseLeave, &V::SetOnMouseLeave);
    p.Event("OnPaint", &V::GetOnPaint, &V::SetOnPaint);
    p.Event("OnMouseDown", &V::GetOnMouseDown, &V::SetOnMouseDown);
    p.Event("OnMouseMove", &V::GetOnMouseMove, &V::SetOnMouseMove);
    p.Event("OnMouseUp", &V::GetOnMouseUp, &V::SetOnMouseUp);
    p.Event("OnMouseWheel", &V::GetOnMouseWheel, &V::SetOnMouseWheel);
    p.Event("OnKeyDown", &V::GetOnKeyDown, &V::SetOnKeyDown);
    p.Event("OnKeyUp", &V::GetOnKeyUp, &V::SetOnKeyUp);
    p.Event("OnDragEnter", &V::GetOnDragEnter, &V::SetOnDragEnter);
    p.Event("OnDragOver", &V::GetOnDragOver, &V::SetOnDragOver);
    p.Event("OnDragDrop", &V::GetOnDragDrop, &V::SetOnDragDrop);
    p.Event("OnDragLeave", &V::GetOnDragLeave, &V::SetOnDragLeave);
    p.Event("OnDragStart", &V::GetOnDragStart, &V::SetOnDragStart);
    p.Event("OnDragStartQuery", &V::GetOnDragStartQuery, &V::SetOnDragStartQuery);
}

namespace {

TsgMatrix Translation(float X, float Y) {
    TsgMatrix m = IdentityMatrix;
    m.m31 = X;
    m.m32 = Y;
    return m;
}

TsgPoint Transform(const TsgPoint& P, const TsgMatrix& M) {
    const TsgVector v = sgVectorTransform(sgVector(P.X, P.Y, 1), M);
    return {v.X, v.Y};
}

} // namespace

TsgVisualObject::TsgVisualObject(TComponent* AOwner)
    : TsgObject(AOwner), FMargins(new TsgBounds()), FPadding(new TsgBounds()),
      FPosition(new TsgPosition({0, 0})), FScale(new TsgPosition({1, 1})),
      FSkew(new TsgPosition({0, 0})), FRotateCenter(new TsgPosition({0.5f, 0.5f})) {
    FIsVisual = true;
    const auto matrixChanged = TNotifyEvent::Bind<&TsgVisualObject::MatrixChanged>(this);
    FPosition->OnChange = matrixChanged;
    FScale->OnChange = matrixChanged;
    FSkew->OnChange = matrixChanged;
    FRotateCenter->OnChange = matrixChanged;
    FMargins->OnChange = TNotifyEvent::Bind<&TsgVisualObject::MarginsChanged>(this);
    FPadding->OnChange = TNotifyEvent::Bind<&TsgVisualObject::PaddingChanged>(this);
}

TsgVisualObject::~TsgVisualObject() {
    BeforeDestruction();
    MarkAbsoluteStale();
    // Children that outlive this node must not reach back into it.
    while (TsgVisualObject* child = FFreshChildren) {
        FFreshChildren = child->FFreshNext;
        child->FFreshIn = child->FFreshPrev = child->FFreshNext = nullptr;
    }
    FTabList.clear();
    delete FEffectBitmap;
    delete FMargins;
    delete FPadding;
    delete FRotateCenter;
    delete FScale;
    delete FSkew;
    delete FPosition;
}

void TsgVisualObject::SetClipParent(bool Value) {
    FClipParent = Value;
    if (Value && Parent())
        Parent()->FMayHaveClipParentChild = true;
}

bool TsgVisualObject::SceneUpdatesOn() {
    IsgScene* scene = Scene();
    return scene && !scene->GetDisableUpdate();
}

float TsgVisualObject::DesignSize(float Value, bool Horizontal) {
    IsgScene* scene = Scene();
    if (Value < 0 && scene && scene->GetDesignTime()) {
        TsgPosition* s = FScale;
        if (Horizontal)
            s->SetX(-s->X());
        else
            s->SetY(-s->Y());
        return -Value;
    }
    return Value;
}

// A new width or height moves the update rectangle and, through alignment, the parent's and own
// children's layout.
void TsgVisualObject::RelayoutAfterResize() {
    if (Loading() || !Scene())
        return;
    RecalcUpdateRect();
    if (TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr)
        if (FAlign != vaNone || parent->IsScrollContent())
            parent->Realign();
    if (ChildrenCount() > 0)
        Realign();
}

void TsgVisualObject::SetWidth(float Value) {
    if (Value == FWidth)
        return;
    Repaint();
    FWidth = DesignSize(Value, true);
    RelayoutAfterResize();
}

void TsgVisualObject::SetHeight(float Value) {
    if (Value == FHeight)
        return;
    Repaint();
    FHeight = DesignSize(Value, false);
    RelayoutAfterResize();
}

void TsgVisualObject::SetBounds(float X, float Y, float AWidth, float AHeight) {
    Repaint();
    bool sized = false;
    if (AHeight != FHeight) {
        FHeight = DesignSize(AHeight, false);
        sized = true;
    }
    if (AWidth != FWidth) {
        FWidth = DesignSize(AWidth, true);
        sized = true;
    }
    if (X != FPosition->X() || Y != FPosition->Y()) {
        FPosition->SetPointNoChange({X, Y});
        MatrixChanged(this);
    }
    if (!Loading() && sized) {
        if (TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr)
            if (FAlign != vaNone)
                parent->Realign();
        if (ChildrenCount() > 0)
            Realign();
    }
}

void TsgVisualObject::SetSizeWithoutChange(float AWidth, float AHeight) {
    FWidth = AWidth;
    FHeight = AHeight;
    FLastWidth = AWidth;
    FLastHeight = AHeight;
}

void TsgVisualObject::SetBoundsRect(const TsgRect& R) {
    Repaint();
    float w = R.Right - R.Left;
    float h = R.Bottom - R.Top;
    if (w < 0) {
        w = -w;
        FScale->SetX(-FScale->X());
    }
    if (h < 0) {
        h = -h;
        FScale->SetY(-FScale->Y());
    }
    FWidth = w;
    FHeight = h;
    TsgPoint centre =
        LocalToAbsolute({FRotateCenter->X() * w + R.Left, FRotateCenter->Y() * h + R.Top});
    if (TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr)
        centre = parent->AbsoluteToLocal(centre);
    FPosition->SetPointNoChange({centre.X - FScale->X() * FRotateCenter->X() * w,
                                 centre.Y - FScale->Y() * FRotateCenter->Y() * h});
    MatrixChanged(this);
    Realign();
}

void TsgVisualObject::SetRotateAngle(float Value) {
    if (Value == FRotateAngle)
        return;
    FRotateAngle = sgNormalizeAngle(Value);
    MatrixChanged(this);
}

void TsgVisualObject::SetAlign(TsgAlign Value) {
    if (Value == FAlign)
        return;
    FAlign = Value;
    if (!Loading())
        if (TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr)
            parent->Realign();
}

TsgRect TsgVisualObject::GetLocalRect() {
    return {0, 0, FWidth, FHeight};
}

TsgRect TsgVisualObject::GetBoundsRect() {
    return {0, 0, FWidth, FHeight};
}

TsgRect TsgVisualObject::GetClipRect() {
    return {0, 0, FWidth, FHeight};
}

TsgRect TsgVisualObject::GetParentedRect() {
    return {FPosition->X(), FPosition->Y(), FPosition->X() + FWidth, FPosition->Y() + FHeight};
}

TsgRect TsgVisualObject::GetAbsoluteRect() {
    const TsgRect r = GetLocalRect();
    const TsgPoint corners[4] = {
        LocalToAbsolute({r.Left, r.Top}), LocalToAbsolute({r.Right, r.Top}),
        LocalToAbsolute({r.Right, r.Bottom}), LocalToAbsolute({r.Left, r.Bottom})};
    return sgNormalizeRect(corners, 4);
}

TsgRect TsgVisualObject::GetEffectsRect() {
    TsgRect r = GetLocalRect();
    const TsgRect local = r;
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgObject* child = GetChild(i);
        if (child->IsEffect() && child->EffectEnabled())
            r = sgUnionRect(r, child->EffectRect(local));
    }
    return r;
}

TsgRect TsgVisualObject::GetChildrenRect() {
    TsgRect r = AbsoluteRect();
    if (FClipChildren)
        return r;
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgVisualObject* v = GetChild(i)->Visual(); v && v->Visible())
            r = sgUnionRect(r, v->GetChildrenRect());
    return r;
}

void TsgVisualObject::MatrixChanged(TObject*) {
    const bool repaint = SceneUpdatesOn() && !FInPaintTo;
    if (repaint)
        Repaint();
    FLocalMatrix = IdentityMatrix;
    FLocalMatrix.m31 = FPosition->X();
    FLocalMatrix.m32 = FPosition->Y();
    FLocalMatrix.m11 = FScale->X();
    FLocalMatrix.m22 = FScale->Y();
    if (FRotateAngle != 0) {
        const float cx = FRotateCenter->X() * FWidth;
        const float cy = FRotateCenter->Y() * FHeight;
        TsgMatrix m = sgMatrixMultiply(Translation(-cx, -cy),
                                       sgCreateRotationMatrix(sgDegToRad(FRotateAngle)));
        m = sgMatrixMultiply(m, Translation(cx, cy));
        FLocalMatrix = sgMatrixMultiply(m, FLocalMatrix);
    }
    RecalcAbsolute();
    FRecalcUpdateRect = true;
    if (SceneUpdatesOn() && !FInPaintTo)
        Repaint();
}

TsgMatrix TsgVisualObject::GetAbsoluteMatrix() {
    if (!FRecalcAbsolute)
        return FAbsoluteMatrix;
    TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr;
    if (parent)
        FAbsoluteMatrix =
            sgMatrixMultiply(sgMatrixMultiply(FLocalMatrix, parent->GetChildrenMatrix()),
                             parent->GetAbsoluteMatrix());
    else
        FAbsoluteMatrix = FLocalMatrix;
    MarkAbsoluteWorkedOut(parent);
    if (!FInPaintTo)
        FUpdateEffects = true;
    if (SceneUpdatesOn() && !FInPaintTo)
        Repaint();
    return FAbsoluteMatrix;
}

TsgMatrix TsgVisualObject::InvertAbsoluteMatrix() {
    TsgMatrix m = GetAbsoluteMatrix();
    sgInvertMatrix(m);
    return m;
}

void TsgVisualObject::MarkAbsoluteStale() {
    FRecalcAbsolute = true;
    if (!FFreshIn)
        return;
    if (FFreshPrev)
        FFreshPrev->FFreshNext = FFreshNext;
    else
        FFreshIn->FFreshChildren = FFreshNext;
    if (FFreshNext)
        FFreshNext->FFreshPrev = FFreshPrev;
    FFreshIn = FFreshPrev = FFreshNext = nullptr;
}

void TsgVisualObject::MarkAbsoluteWorkedOut(TsgVisualObject* Parent) {
    MarkAbsoluteStale();
    FRecalcAbsolute = false;
    if (!Parent)
        return;
    FFreshIn = Parent;
    FFreshNext = Parent->FFreshChildren;
    if (FFreshNext)
        FFreshNext->FFreshPrev = this;
    Parent->FFreshChildren = this;
}

void TsgVisualObject::RecalcAbsolute() {
    MarkAbsoluteStale();
    // A node's matrix is only worked out after its parent's, and a node marked stale has its
    // whole subtree marked with it: only the children worked out since need a visit, and each
    // leaves the list as it goes stale.
    while (FFreshChildren)
        FFreshChildren->RecalcAbsolute();
}

void TsgVisualObject::RecalcAbsoluteNow() {
    MarkAbsoluteStale();
    GetAbsoluteMatrix();
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgVisualObject* v = GetChild(i)->Visual())
            v->RecalcAbsoluteNow();
}

TsgPoint TsgVisualObject::LocalToAbsolute(const TsgPoint& P) {
    return Transform(P, GetAbsoluteMatrix());
}

TsgPoint TsgVisualObject::AbsoluteToLocal(const TsgPoint& P) {
    return Transform(P, InvertAbsoluteMatrix());
}

TsgVector TsgVisualObject::LocalToAbsoluteVector(const TsgVector& V) {
    return sgVectorTransform(sgVector(V.X, V.Y, 0), GetAbsoluteMatrix());
}

TsgVector TsgVisualObject::AbsoluteToLocalVector(const TsgVector& V) {
    return sgVectorTransform(sgVector(V.X, V.Y, 0), InvertAbsoluteMatrix());
}

float TsgVisualObject::AbsoluteWidth() {
    return LocalToAbsoluteVector(sgVector(FWidth, FHeight, 0)).X;
}

float TsgVisualObject::AbsoluteHeight() {
    return LocalToAbsoluteVector(sgVector(FWidth, FHeight, 0)).Y;
}

TsgPoint TsgVisualObject::GetAbsoluteScale() {
    TsgPoint s = FScale->Point();
    for (TsgObject* o = Parent(); o; o = o->Parent())
        if (TsgVisualObject* v = o->Visual()) {
            s.X *= v->FScale->X();
            s.Y *= v->FScale->Y();
        }
    return s;
}

void TsgVisualObject::SetOpacity(float Value) {
    if (Value == FOpacity)
        return;
    FOpacity = std::clamp(Value, 0.0f, 1.0f);
    RecalcOpacity();
    Repaint();
}

float TsgVisualObject::GetAbsoluteOpacity() {
    if (!FRecalcOpacity)
        return FAbsoluteOpacity;
    TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr;
    FAbsoluteOpacity = parent ? parent->GetAbsoluteOpacity() * FOpacity : FOpacity;
    IsgScene* scene = Scene();
    if (!GetAbsoluteEnabled() && scene) {
        TsgObject* root = scene->GetRoot();
        if (root != this && Parent() != root)
            FAbsoluteOpacity *= 0.8f;
    }
    FRecalcOpacity = false;
    return FAbsoluteOpacity;
}

void TsgVisualObject::RecalcOpacity() {
    FRecalcOpacity = true;
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgVisualObject* v = GetChild(i)->Visual())
            v->RecalcOpacity();
}

void TsgVisualObject::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    RecalcEnabled();
    RecalcOpacity();
    Repaint();
}

bool TsgVisualObject::GetAbsoluteEnabled() {
    if (!FRecalcEnabled)
        return FAbsoluteEnabled;
    TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr;
    FAbsoluteEnabled = (parent && !parent->GetAbsoluteEnabled()) ? false : FEnabled;
    FRecalcEnabled = false;
    if (!FAbsoluteEnabled && FCanFocused && FIsFocused)
        if (IsgScene* scene = Scene())
            scene->SetFocused(nullptr);
    return FAbsoluteEnabled;
}

void TsgVisualObject::RecalcEnabled() {
    FRecalcEnabled = true;
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgVisualObject* v = GetChild(i)->Visual())
            v->RecalcEnabled();
}

void TsgVisualObject::SetVisible(bool Value) {
    if (Value == FVisible)
        return;
    IsgScene* scene = Scene();
    if (FVisible && scene)
        scene->AddUpdateRect(UpdateRect());
    FVisible = Value;
    if (!Loading() && FAlign != vaNone)
        if (TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr)
            parent->Realign();
    if (FVisible) {
        if (scene)
            scene->AddUpdateRect(UpdateRect());
        StartTriggerAnimation(this, "IsVisible");
    } else if (FCanFocused && FIsFocused && scene) {
        scene->SetFocused(nullptr);
    }
}

bool TsgVisualObject::CheckParentVisible() {
    for (TsgObject* o = this; o; o = o->Parent())
        if (TsgVisualObject* v = o->Visual(); v && !v->FVisible)
            return false;
    return true;
}

void TsgVisualObject::Lock() {
    FLocked = true;
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgVisualObject* v = GetChild(i)->Visual())
            v->Lock();
}

void TsgVisualObject::SetDesignHide(bool Value) {
    FDesignHide = Value;
    IsgScene* scene = Scene();
    TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr;
    if (!scene || !scene->GetDesignTime() || !Parent())
        return;
    if (Value && sgDesigner && scene->GetSelected() == this)
        sgDesigner->SelectObject(scene->GetOwner(), Parent(), {});
    if (parent)
        parent->Repaint();
}

void TsgVisualObject::UpdateDesignHide(bool Value) {
    FDesignHide = Value;
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgVisualObject* v = GetChild(i)->Visual())
            v->UpdateDesignHide(Value);
}

void TsgVisualObject::SetClipChildren(bool Value) {
    if (Value == FClipChildren)
        return;
    FClipChildren = Value;
    Repaint();
}

void TsgVisualObject::Repaint() {
    IsgScene* scene = Scene();
    if (!scene)
        return;
    const bool design = scene->GetDesignTime();
    if ((!FVisible && !design) || (design && FDesignHide) || scene->GetDisableUpdate())
        return;
    if (design || CheckParentVisible())
        scene->AddUpdateRect(UpdateRect());
}

TsgRect TsgVisualObject::GetUpdateRect() {
    if (!FRecalcUpdateRect)
        return FUpdateRect;
    FRecalcUpdateRect = false;
    FUpdateRect = AbsoluteRect();
    if (!SceneUpdatesOn() || Loading())
        return FUpdateRect;
    for (TsgObject* o = Parent(); o && o->IsVisual(); o = o->Parent()) {
        TsgVisualObject* ancestor = o->Visual();
        if (ancestor->FClipChildren)
            sgIntersectRect(FUpdateRect, FUpdateRect, ancestor->UpdateRect());
    }
    if (FCanFocused && FIsFocused)
        sgInflateRect(FUpdateRect, 5, 5);
    // Room for the design overlay: the selection's handles (the rotation handle 10 above the
    // top) and the placement target's label box, 160 wide and 19 high above it.
    IsgScene* scene = Scene();
    if (scene->GetSelected() == this) {
        sgInflateRect(FUpdateRect, 4, 4);
        FUpdateRect.Top -= 13;
    }
    if (scene->GetDesignPlaceObject() == this) {
        sgInflateRect(FUpdateRect, 1, 1);
        FUpdateRect.Top -= 20;
        if (FUpdateRect.Right - FUpdateRect.Left < 160)
            FUpdateRect.Right = FUpdateRect.Left + 160;
    }
    if (HasEffect() && !FClipChildren) {
        const TsgRect e = GetEffectsRect();
        const TsgPoint corners[4] = {
            LocalToAbsolute({e.Left, e.Top}), LocalToAbsolute({e.Right, e.Top}),
            LocalToAbsolute({e.Right, e.Bottom}), LocalToAbsolute({e.Left, e.Bottom})};
        FUpdateRect = sgUnionRect(FUpdateRect, sgNormalizeRect(corners, 4));
    }
    if (!FClipChildren)
        for (int i = 0; i < ChildrenCount(); ++i)
            if (TsgVisualObject* v = GetChild(i)->Visual())
                FUpdateRect = sgUnionRect(FUpdateRect, v->UpdateRect());
    return FUpdateRect;
}

void TsgVisualObject::RecalcUpdateRect() {
    if (FRecalcUpdateRect)
        return;
    FRecalcUpdateRect = true;
    if (TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr)
        parent->FRecalcUpdateRect = true;
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgVisualObject* v = GetChild(i)->Visual())
            v->RecalcUpdateRect();
}

void TsgVisualObject::UpdateEffects() {
    if (!HasEffect())
        return;
    FUpdateEffects = true;
    for (TsgObject* o = Parent(); o && o->IsVisual(); o = o->Parent())
        if (o->HasEffect())
            o->Visual()->FUpdateEffects = true;
}

void TsgVisualObject::ApplyResource() {
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgVisualObject* v = GetChild(i)->Visual())
            v->ApplyResource();
}

TsgCanvas* TsgVisualObject::Canvas() {
    if (FTempCanvas)
        return FTempCanvas;
    IsgScene* scene = Scene();
    return scene ? scene->GetCanvas() : nullptr;
}

void TsgVisualObject::Loaded() {
    TsgObject::Loaded();
    FLastWidth = FWidth;
    FLastHeight = FHeight;
    MatrixChanged(this);
    if (ChildrenCount() > 0)
        Realign();
    FixupTabList();
}

void TsgVisualObject::DeleteChildren() {
    TsgObject::DeleteChildren();
    FTabList.clear();
}

void TsgVisualObject::PaddingChanged(TObject*) {
    if (TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr)
        parent->Realign();
}

void TsgVisualObject::ChildAdded(TsgObject* AObject) {
    TsgVisualObject* child = AObject->Visual();
    if (!Loading()) {
        RecalcUpdateRect();
        if (HasEffect()) {
            UpdateEffects();
            Repaint();
        }
        if (child && child->FAlign != vaNone)
            Realign();
    }
    if (child)
        FTabList.push_back(AObject);
}

void TsgVisualObject::ChildRemoved(TsgObject* AObject) {
    if (AObject == FCaret)
        FCaret = nullptr;
    // From the end: long lists are emptied from their last child to their first.
    for (auto it = FTabList.rbegin(); it != FTabList.rend(); ++it)
        if (*it == AObject) {
            FTabList.erase(std::next(it).base());
            break;
        }
}

void TsgVisualObject::PaintChildren() {
    sgPaintChildren(this);
}

void TsgVisualObject::Realign() {
    sgRealign(this);
}
