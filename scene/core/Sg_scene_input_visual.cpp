// The object side of input: hit testing, the mouse and keyboard operations the scene calls,
// keyboard focus, the per-parent tab order and drag and drop.
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_visual.h"

#include "platform/ui/Menus.h"

#include <algorithm>
#include <cmath>

namespace {

bool InDesign(IsgScene* scene) {
    return scene && scene->GetDesignTime();
}

TsgVisualObject* VisualParent(TsgObject* AObject) {
    return AObject->Parent() ? AObject->Parent()->Visual() : nullptr;
}

} // namespace

bool sgIsDialogKey(uint16_t Key) {
    switch (Key) {
    case VK_ESCAPE:
    case VK_RETURN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_ADD:
    case VK_SUBTRACT:
        return true;
    default:
        return false;
    }
}

// Hit testing.

bool TsgVisualObject::PointInObject(float X, float Y) {
    const TsgPoint p = AbsoluteToLocal({X, Y});
    // Strict on every side: a point on the left or top edge belongs to the neighbour.
    return p.X > 0 && p.X < Width() && p.Y > 0 && p.Y < Height();
}

bool TsgVisualObject::CheckHitTest(bool AHitTest) {
    if (InDesign(Scene()))
        return !(FLocked || FDesignHide);
    return AHitTest;
}

TsgVisualObject* TsgVisualObject::ObjectByPoint(float X, float Y) {
    return ObjectByPointAmong(X, Y, 0, ChildrenCount() - 1);
}

TsgVisualObject* TsgVisualObject::ObjectByPointAmong(float X, float Y, int First, int Last) {
    const bool design = InDesign(Scene());
    if (!design && (!FVisible || (IsControl() && !GetAbsoluteEnabled())))
        return nullptr;
    if (FClipChildren && !PointInObject(X, Y))
        return nullptr;
    if (!(design && FDesignHide))
        for (int i = std::min(Last, ChildrenCount() - 1); i >= std::max(First, 0); --i) {
            TsgVisualObject* child = GetChild(i)->Visual();
            if (!child || !(child->FVisible || design))
                continue;
            if (TsgVisualObject* hit = child->ObjectByPoint(X, Y))
                return hit;
        }
    if (PointInObject(X, Y) && CheckHitTest(FHitTest))
        return this;
    return nullptr;
}

TsgVisualObject* TsgVisualObject::FindTarget(const TsgPoint& APoint, const TsgDragObject& Data) {
    const bool design = InDesign(Scene());
    if (!design && (!FVisible || (IsControl() && !GetAbsoluteEnabled())))
        return nullptr;
    if (!(design && FDesignHide))
        for (int i = ChildrenCount() - 1; i >= 0; --i) {
            TsgVisualObject* child = GetChild(i)->Visual();
            if (!child || !(child->FVisible || design))
                continue;
            if (FClipChildren && !PointInObject(APoint.X, APoint.Y))
                continue;
            if (TsgVisualObject* hit = child->FindTarget(APoint, Data))
                return hit;
        }
    bool accept = false;
    DragOver(Data, APoint, accept);
    if (PointInObject(APoint.X, APoint.Y) && CheckHitTest(FHitTest) && accept)
        return this;
    return nullptr;
}

// Mouse.

void TsgVisualObject::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    IsgScene* scene = Scene();
    if (InDesign(scene)) {
        if (Shift.Contains(ssDouble))
            scene->SetDesignRoot(this);
    } else if (FCanFocused && !FIsFocused && (!scene || scene->GetFocused() != this)) {
        SetFocus();
    }
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
    if (Button == mbRight) {
        TsgPoint p = LocalToAbsolute({X, Y});
        if (scene)
            p = scene->LocalToScreen(p);
        ContextMenu(p);
        return;
    }
    if (FAutoCapture)
        Capture();
    if (Shift.Contains(ssDouble)) {
        DblClick();
        FDoubleClicked = true;
    } else if (Button == mbLeft) {
        FPressed = true;
    }
}

void TsgVisualObject::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y, Dx, Dy);
}

void TsgVisualObject::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    IsgScene* scene = Scene();
    if (scene && scene->GetCaptured() == this)
        ReleaseCapture();
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
    if (FPressed && !FDoubleClicked && sgPtInRect({X, Y}, LocalRect())) {
        FPressed = false;
        Click();
    }
    FPressed = false;
    FDoubleClicked = false;
}

void TsgVisualObject::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
    if (!OnMouseWheel)
        return;
    IsgScene* scene = Scene();
    OnMouseWheel(this, Shift, WheelDelta, scene ? scene->GetMousePos() : TsgPoint{0, 0}, Handled);
}

void TsgVisualObject::MouseEnter() {
    FIsMouseOver = true;
    StartTriggerAnimation(this, "IsMouseOver");
    ApplyTriggerEffect(this, "IsMouseOver");
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TsgVisualObject::MouseLeave() {
    FIsMouseOver = false;
    StartTriggerAnimation(this, "IsMouseOver");
    ApplyTriggerEffect(this, "IsMouseOver");
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TsgVisualObject::Click() {
    if (OnClick)
        OnClick(this);
}

void TsgVisualObject::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TsgVisualObject::ContextMenu(const TsgPoint& ScreenPosition) {
    if (!FPopupMenu)
        return;
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(static_cast<int>(std::nearbyint(ScreenPosition.X)),
                      static_cast<int>(std::nearbyint(ScreenPosition.Y)));
}

void TsgVisualObject::SetPopupMenu(TPopupMenu* Value) {
    if (Value == FPopupMenu)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TsgVisualObject::Notification(TComponent* AComponent, TOperation Operation) {
    TsgObject::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TsgVisualObject::Capture() {
    if (IsgScene* scene = Scene())
        scene->SetCaptured(this);
}

void TsgVisualObject::ReleaseCapture() {
    IsgScene* scene = Scene();
    if (scene && scene->GetCaptured() == this)
        scene->SetCaptured(nullptr);
}

// Keyboard and focus.

void TsgVisualObject::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    if (Key == VK_APPS) {
        TsgPoint p = LocalToAbsolute({Width() / 2, Height() / 2});
        if (IsgScene* scene = Scene())
            p = scene->LocalToScreen(p);
        ContextMenu(p);
        return;
    }
    if (OnKeyDown)
        OnKeyDown(Key, KeyChar, Shift);
}

void TsgVisualObject::KeyUp(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    if (OnKeyUp)
        OnKeyUp(Key, KeyChar, Shift);
}

void TsgVisualObject::DialogKey(uint16_t& Key, TShiftState Shift) {
    for (int i = 0; i < ChildrenCount() && Key != 0; ++i) {
        TsgVisualObject* child = GetChild(i)->Visual();
        if (child && child->FVisible && child->FEnabled)
            child->DialogKey(Key, Shift);
    }
}

void TsgVisualObject::SetFocus() {
    if (!FCanFocused)
        return;
    if (IsgScene* scene = Scene())
        scene->SetFocused(this);
}

void TsgVisualObject::EnterFocus() {
    if (!FCanFocused)
        return;
    for (TsgVisualObject* a = VisualParent(this); a; a = VisualParent(a))
        a->EnterFocusChildren(this);
    FIsFocused = true;
    RecalcUpdateRect();
    Repaint();
    if (OnFocus)
        OnFocus(this);
    if (!FDisableFocusEffect) {
        StartTriggerAnimation(this, "IsFocused");
        ApplyTriggerEffect(this, "IsFocused");
    }
}

void TsgVisualObject::KillFocus() {
    if (!FCanFocused)
        return;
    // Repainted while still focused, so the focus margin goes too.
    RecalcUpdateRect();
    Repaint();
    FIsFocused = false;
    if (OnFocus)
        OnFocus(this);
    if (!FDisableFocusEffect) {
        StartTriggerAnimation(this, "IsFocused");
        ApplyTriggerEffect(this, "IsFocused");
    }
}

// Tab order.

int16_t TsgVisualObject::TabOrder() const {
    TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr;
    if (!parent)
        return -1;
    const auto& list = parent->FTabList;
    auto it = std::find(list.begin(), list.end(), static_cast<const TsgObject*>(this));
    return it == list.end() ? int16_t(-1) : static_cast<int16_t>(it - list.begin());
}

void TsgVisualObject::SetTabOrder(int16_t Value) {
    if (Loading())
        FTabOrder = Value;
    else
        UpdateTabOrder(Value);
}

void TsgVisualObject::UpdateTabOrder(int Value) {
    TsgVisualObject* parent = VisualParent(this);
    if (!parent)
        return;
    auto& list = parent->FTabList;
    auto it = std::find(list.begin(), list.end(), static_cast<TsgObject*>(this));
    if (it == list.end())
        return;
    const int count = static_cast<int>(list.size());
    Value = std::clamp(Value, 0, count - 1);
    const int current = static_cast<int>(it - list.begin());
    if (Value == current)
        return;
    list.erase(it);
    list.insert(list.begin() + Value, this);
}

void TsgVisualObject::FixupTabList() {
    if (!Scene() || FTabList.empty())
        return;
    const int count = static_cast<int>(FTabList.size());
    std::vector<TsgVisualObject*> slots(size_t(count), nullptr);
    for (TsgObject* entry : FTabList) {
        TsgVisualObject* child = entry->Visual();
        if (child && child->FTabOrder >= 0 && child->FTabOrder < count)
            slots[size_t(child->FTabOrder)] = child;
    }
    for (int i = 0; i < count; ++i)
        if (slots[size_t(i)])
            slots[size_t(i)]->UpdateTabOrder(i);
}

void TsgVisualObject::GetTabOrderList(std::vector<TsgObject*>& List, bool Children) {
    for (TsgObject* entry : FTabList) {
        List.push_back(entry);
        if (Children)
            if (TsgVisualObject* child = entry->Visual())
                child->GetTabOrderList(List, true);
    }
}

// Drag and drop.

void TsgVisualObject::DragEnter(const TsgDragObject& Data, const TsgPoint& Point) {
    FIsDragOver = true;
    Repaint();
    StartTriggerAnimation(this, "IsDragOver");
    ApplyTriggerEffect(this, "IsDragOver");
    if (OnDragEnter)
        OnDragEnter(this, Data, Point);
}

void TsgVisualObject::DragOver(const TsgDragObject& Data, const TsgPoint& Point, bool& Accept) {
    if (OnDragOver)
        OnDragOver(this, Data, Point, Accept);
}

void TsgVisualObject::DragDrop(const TsgDragObject& Data, const TsgPoint& Point) {
    FIsDragOver = false;
    Repaint();
    StartTriggerAnimation(this, "IsDragOver");
    ApplyTriggerEffect(this, "IsDragOver");
    if (OnDragDrop)
        OnDragDrop(this, Data, Point);
}

void TsgVisualObject::DragLeave() {
    FIsDragOver = false;
    Repaint();
    StartTriggerAnimation(this, "IsDragOver");
    ApplyTriggerEffect(this, "IsDragOver");
    if (OnDragLeave)
        OnDragLeave(this);
}

void TsgVisualObject::BeginAutoDrag() {
    if (OnDragStart)
        OnDragStart(this);
    if (IsgScene* scene = Scene())
        scene->BeginNativeDrag(this);
}
