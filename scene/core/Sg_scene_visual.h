// TsgVisualObject: a node that covers a rectangle, (0, 0) to (Width, Height) in its own space.
//
// Its local matrix places it in the parent: it turns about RotateCenter (fractions of its size),
// is scaled by Scale and moved to Position. The absolute matrix (local to scene), the absolute
// opacity, the enabled state and the update rectangle are derived per object, held with a dirty
// flag and recomputed on the next read; a change marks the object and its visual descendants.
//
// Painting, alignment of children and input are filled in by the drawing, layout and input
// code through the virtual operations declared here (Paint, Realign, KillFocus, ...).
#pragma once

#include "scene/core/Sg_scene_bounds.h"
#include "scene/core/Sg_scene_input.h"
#include "scene/core/Sg_scene_object.h"

#include <cstdint>
#include <vector>

class TPopupMenu;

enum TsgAlign {
    vaNone,
    vaTopLeft,
    vaTopRight,
    vaBottomLeft,
    vaBottomRight,
    vaTop,
    vaLeft,
    vaRight,
    vaBottom,
    vaMostTop,
    vaMostBottom,
    vaMostLeft,
    vaMostRight,
    vaClient,
    vaContents,
    vaCenter,
    vaVertCenter,
    vaHorzCenter,
    vaHorizontal,
    vaVertical,
    vaScale,
    vaFit,
    vaFitLeft,
    vaFitRight,
};

enum TsgDragMode { sgDragManual, sgDragAutomatic, sgDragLeftAutomatic, sgDragMoveAutomatic };

// Paints over an object after it and its children were painted: the canvas, already set to the
// object's absolute matrix, and the object's local rectangle.
using TOnPaintEvent = TClosure<void(TObject* Sender, TsgCanvas* Canvas, const TsgRect& ARect)>;

class TsgBitmap;

class TsgVisualObject : public TsgObject {
    DBI_PERSISTENT(TsgVisualObject, TsgObject)

    explicit TsgVisualObject(TComponent* AOwner);
    ~TsgVisualObject() override;

    // Size and position.
    float Width() const { return FWidth; }
    float Height() const { return FHeight; }
    virtual void SetWidth(float Value);
    virtual void SetHeight(float Value);
    void SetBounds(float X, float Y, float AWidth, float AHeight);
    void SetSizeWithoutChange(float AWidth, float AHeight);
    TsgPosition* Position() const { return FPosition; }
    TsgPosition* Scale() const { return FScale; }
    TsgPosition* Skew() const { return FSkew; }
    TsgPosition* RotateCenter() const { return FRotateCenter; }
    void SetPosition(TsgPosition* Value) { FPosition->Assign(Value); }
    void SetScale(TsgPosition* Value) { FScale->Assign(Value); }
    void SetRotateCenter(TsgPosition* Value) { FRotateCenter->Assign(Value); }
    float RotateAngle() const { return FRotateAngle; }
    void SetRotateAngle(float Value);
    TsgBounds* Margins() const { return FMargins; }
    TsgBounds* Padding() const { return FPadding; }
    void SetMargins(TsgBounds* Value) { FMargins->Assign(Value); }
    void SetPadding(TsgBounds* Value) { FPadding->Assign(Value); }
    TsgAlign Align() const { return FAlign; }
    virtual void SetAlign(TsgAlign Value);

    // Rectangles.
    virtual TsgRect GetLocalRect();
    virtual TsgRect GetBoundsRect();
    virtual void SetBoundsRect(const TsgRect& R);
    virtual TsgRect GetParentedRect();
    virtual TsgRect GetClipRect();
    virtual TsgRect GetAbsoluteRect();
    virtual TsgRect GetEffectsRect();
    virtual TsgRect GetHintRect(float, float) { return GetAbsoluteRect(); }
    TsgRect LocalRect() { return GetLocalRect(); }
    TsgRect AbsoluteRect() { return GetAbsoluteRect(); }
    TsgRect GetChildrenRect();

    // Matrices and coordinates.
    void MatrixChanged(TObject* Sender);
    const TsgMatrix& LocalMatrix() const { return FLocalMatrix; }
    virtual TsgMatrix GetAbsoluteMatrix();
    TsgMatrix AbsoluteMatrix() { return GetAbsoluteMatrix(); }
    virtual TsgMatrix GetChildrenMatrix() { return IdentityMatrix; }
    TsgMatrix InvertAbsoluteMatrix();
    virtual void RecalcAbsolute();
    void RecalcAbsoluteNow();
    virtual TsgPoint LocalToAbsolute(const TsgPoint& P);
    virtual TsgPoint AbsoluteToLocal(const TsgPoint& P);
    virtual TsgVector LocalToAbsoluteVector(const TsgVector& V);
    virtual TsgVector AbsoluteToLocalVector(const TsgVector& V);
    float AbsoluteWidth();
    float AbsoluteHeight();
    virtual TsgPoint GetAbsoluteScale();

    // Opacity, enabled, visible, locked.
    float Opacity() const { return FOpacity; }
    void SetOpacity(float Value);
    virtual float GetAbsoluteOpacity();
    float AbsoluteOpacity() { return GetAbsoluteOpacity(); }
    virtual void RecalcOpacity();
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    virtual bool GetAbsoluteEnabled();
    bool AbsoluteEnabled() { return GetAbsoluteEnabled(); }
    virtual void RecalcEnabled();
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Only the field: no repaint, layout or trigger (a painter hiding a child for one pass).
    void SetVisibleQuietly(bool Value) { FVisible = Value; }
    virtual bool CheckParentVisible();
    bool Locked() const { return FLocked; }
    void SetLocked(bool Value) { FLocked = Value; }
    void Lock();
    // At design time such an object gets no handles and cannot be resized.
    bool DisableDesignResize() const { return FDisableDesignResize; }
    void SetDisableDesignResize(bool Value) { FDisableDesignResize = Value; }
    bool DesignHide() const { return FDesignHide; }
    void SetDesignHide(bool Value);
    void UpdateDesignHide(bool Value);

    bool HitTest() const { return FHitTest; }
    void SetHitTest(bool Value) { FHitTest = Value; }
    bool ClipChildren() const { return FClipChildren; }
    void SetClipChildren(bool Value);
    bool ClipParent() const { return FClipParent; }
    void SetClipParent(bool Value);
    bool CanClipped() const { return FCanClipped; }
    void SetCanClipped(bool Value) { FCanClipped = Value; }
    bool AutoCapture() const { return FAutoCapture; }
    void SetAutoCapture(bool Value) { FAutoCapture = Value; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value) { FCanFocused = Value; }
    bool DisableFocusEffect() const { return FDisableFocusEffect; }
    void SetDisableFocusEffect(bool Value) { FDisableFocusEffect = Value; }
    bool IsMouseOver() const { return FIsMouseOver; }
    bool IsFocused() const { return FIsFocused; }
    bool IsDragOver() const { return FIsDragOver; }
    bool IsVisible() const { return FVisible; }
    int16_t Cursor() const { return FCursor; }
    void SetCursor(int16_t Value) { FCursor = Value; }
    TsgDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TsgDragMode Value) { FDragMode = Value; }
    bool DragDisableHighlight() const { return FDragDisableHighlight; }
    void SetDragDisableHighlight(bool Value) { FDragDisableHighlight = Value; }
    const UnicodeString& Hint() const { return FHint; }
    void SetHint(const UnicodeString& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    // The context menu (not owned); cleared when the menu goes.
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    // The index in the visual parent's tab list, -1 without one. While loading, a new value is
    // only stored and FixupTabList applies it.
    int16_t TabOrder() const;
    void SetTabOrder(int16_t Value);
    void UpdateTabOrder(int Value);
    void FixupTabList();
    // The visual children in tab order.
    const std::vector<TsgObject*>& TabList() const { return FTabList; }
    // Appends the tab list in order; with Children, each entry's own list follows it.
    void GetTabOrderList(std::vector<TsgObject*>& List, bool Children);

    // Hit testing, in scene coordinates (Sg_scene_input_visual.cpp).
    virtual bool PointInObject(float X, float Y);
    bool CheckHitTest(bool AHitTest);
    virtual TsgVisualObject* ObjectByPoint(float X, float Y);
    // As ObjectByPoint, with only the children First to Last looked at (a container that knows
    // which of its many children can lie under a point).
    TsgVisualObject* ObjectByPointAmong(float X, float Y, int First, int Last);
    virtual TsgVisualObject* FindTarget(const TsgPoint& APoint, const TsgDragObject& Data);

    // Mouse, in local coordinates.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y);
    virtual void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y);
    virtual void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Click();
    virtual void DblClick();
    // Opens PopupMenu, when set, at the screen point, for this object.
    virtual void ContextMenu(const TsgPoint& ScreenPosition);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Capture();
    void ReleaseCapture();

    // Keyboard and focus.
    virtual void KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift);
    virtual void KeyUp(uint16_t& Key, char16_t& KeyChar, TShiftState Shift);
    virtual void DialogKey(uint16_t& Key, TShiftState Shift);
    void SetFocus();
    virtual void EnterFocus();
    virtual void KillFocus();
    // Called on every visual ancestor of an object that takes the focus, nearest first.
    virtual void EnterFocusChildren(TsgVisualObject*) {}
    // Where, relative to the object's origin, the input method shows its composition.
    virtual TsgPoint CompositionOffset() { return {0, 0}; }

    // The text caret of text controls: a child rectangle made on first use (Sg_scene_caret.cpp).
    void CreateCaret();
    void ShowCaret();
    void HideCaret();
    void SetCaretPos(const TsgPoint& P);
    void SetCaretSize(const TsgPoint& P);
    void SetCaretColor(TsgColor Color);
    // The caret, nullptr before the first use.
    TsgVisualObject* Caret() const { return FCaret; }

    // Drag and drop, in scene coordinates.
    virtual void DragEnter(const TsgDragObject& Data, const TsgPoint& Point);
    virtual void DragOver(const TsgDragObject& Data, const TsgPoint& Point, bool& Accept);
    virtual void DragDrop(const TsgDragObject& Data, const TsgPoint& Point);
    virtual void DragLeave();
    virtual void BeginAutoDrag();

    // Between a left press without double click and the release.
    bool Pressed() const { return FPressed; }

    // Repainting and the update rectangle (scene space).
    virtual void Repaint();
    virtual TsgRect GetUpdateRect();
    TsgRect UpdateRect() { return GetUpdateRect(); }
    void RecalcUpdateRect();
    void UpdateEffects();
    bool EffectsNeedUpdate() const { return FUpdateEffects; }

    // Filled by painting, layout and input.
    virtual void BeforePaint() {}
    virtual void Paint() {}
    virtual void AfterPaint() {}
    // Paints the children in order (sgPaintChildren) and lays them out (sgRealign).
    virtual void PaintChildren();
    virtual void Realign();
    virtual void ApplyResource();
    TsgCanvas* Canvas();

    void Loaded() override;
    void DeleteChildren() override;

    TNotifyEvent OnClick, OnDblClick, OnFocus, OnMouseEnter, OnMouseLeave;
    TOnPaintEvent OnPaint;
    const TOnPaintEvent& GetOnPaint() const { return OnPaint; }
    void SetOnPaint(const TOnPaintEvent& V) { OnPaint = V; }
    const TNotifyEvent& GetOnClick() const { return OnClick; }
    void SetOnClick(const TNotifyEvent& V) { OnClick = V; }
    const TNotifyEvent& GetOnDblClick() const { return OnDblClick; }
    void SetOnDblClick(const TNotifyEvent& V) { OnDblClick = V; }
    const TNotifyEvent& GetOnFocus() const { return OnFocus; }
    void SetOnFocus(const TNotifyEvent& V) { OnFocus = V; }
    const TNotifyEvent& GetOnMouseEnter() const { return OnMouseEnter; }
    void SetOnMouseEnter(const TNotifyEvent& V) { OnMouseEnter = V; }
    const TNotifyEvent& GetOnMouseLeave() const { return OnMouseLeave; }
    void SetOnMouseLeave(const TNotifyEvent& V) { OnMouseLeave = V; }

    TsgMouseEvent OnMouseDown, OnMouseUp;
    TsgMouseMoveEvent OnMouseMove;
    TsgMouseWheelEvent OnMouseWheel;
    TsgKeyEvent OnKeyDown, OnKeyUp;
    TsgDragEnterEvent OnDragEnter;
    TsgDragOverEvent OnDragOver;
    TsgDragDropEvent OnDragDrop;
    TsgDragLeaveEvent OnDragLeave;
    TsgDragStartEvent OnDragStart;
    TsgDragStartQueryEvent OnDragStartQuery;
    const TsgMouseEvent& GetOnMouseDown() const { return OnMouseDown; }
    void SetOnMouseDown(const TsgMouseEvent& V) { OnMouseDown = V; }
    const TsgMouseEvent& GetOnMouseUp() const { return OnMouseUp; }
    void SetOnMouseUp(const TsgMouseEvent& V) { OnMouseUp = V; }
    const TsgMouseMoveEvent& GetOnMouseMove() const { return OnMouseMove; }
    void SetOnMouseMove(const TsgMouseMoveEvent& V) { OnMouseMove = V; }
    const TsgMouseWheelEvent& GetOnMouseWheel() const { return OnMouseWheel; }
    void SetOnMouseWheel(const TsgMouseWheelEvent& V) { OnMouseWheel = V; }
    const TsgKeyEvent& GetOnKeyDown() const { return OnKeyDown; }
    void SetOnKeyDown(const TsgKeyEvent& V) { OnKeyDown = V; }
    const TsgKeyEvent& GetOnKeyUp() const { return OnKeyUp; }
    void SetOnKeyUp(const TsgKeyEvent& V) { OnKeyUp = V; }
    const TsgDragEnterEvent& GetOnDragEnter() const { return OnDragEnter; }
    void SetOnDragEnter(const TsgDragEnterEvent& V) { OnDragEnter = V; }
    const TsgDragOverEvent& GetOnDragOver() const { return OnDragOver; }
    void SetOnDragOver(const TsgDragOverEvent& V) { OnDragOver = V; }
    const TsgDragDropEvent& GetOnDragDrop() const { return OnDragDrop; }
    void SetOnDragDrop(const TsgDragDropEvent& V) { OnDragDrop = V; }
    const TsgDragLeaveEvent& GetOnDragLeave() const { return OnDragLeave; }
    void SetOnDragLeave(const TsgDragLeaveEvent& V) { OnDragLeave = V; }
    const TsgDragStartEvent& GetOnDragStart() const { return OnDragStart; }
    void SetOnDragStart(const TsgDragStartEvent& V) { OnDragStart = V; }
    const TsgDragStartQueryEvent& GetOnDragStartQuery() const { return OnDragStartQuery; }
    void SetOnDragStartQuery(const TsgDragStartQueryEvent& V) { OnDragStartQuery = V; }

protected:
    void ChildAdded(TsgObject* AObject) override;
    void ChildRemoved(TsgObject* AObject) override;
    void MarginsChanged(TObject*) { Realign(); }
    void PaddingChanged(TObject*);
    bool PaintingToTarget() const { return FInPaintTo; }
    // Painting into another target stands the object under another parent for a while without
    // touching either children list.
    void SetParentReference(TsgObject* Value) { FParent = Value; }
    void EffectsUpdated() { FUpdateEffects = false; }
    bool SceneUpdatesOn();
    void SetFocusedState(bool Value) { FIsFocused = Value; }
    void SetMouseOverState(bool Value) { FIsMouseOver = Value; }
    void SetDragOverState(bool Value) { FIsDragOver = Value; }
    // Negative sizes at design time become positive with the scale mirrored.
    float DesignSize(float Value, bool Horizontal);

    TsgCanvas* FTempCanvas = nullptr;
    TsgBitmap* FEffectBitmap = nullptr;
    bool FInPaintTo = false;
    bool FDisableAlign = false;
    float FLastWidth = 50;
    float FLastHeight = 50;

private:
    friend class TsgObject;

    void RelayoutAfterResize();
    void MarkAbsoluteStale();
    void MarkAbsoluteWorkedOut(TsgVisualObject* Parent);

    bool FIsMouseOver = false;
    bool FPressed = false;
    bool FDoubleClicked = false;
    bool FHitTest = true;
    bool FClipChildren = false;
    bool FAutoCapture = false;
    TsgBounds* FMargins;
    TsgAlign FAlign = vaNone;
    TsgBounds* FPadding;
    float FRotateAngle = 0;
    TsgPosition* FPosition;
    TsgPosition* FScale;
    TsgPosition* FSkew;
    TsgPosition* FRotateCenter;
    bool FCanFocused = false;
    bool FIsFocused = false;
    bool FDisableFocusEffect = false;
    bool FClipParent = false;
    bool FDesignHide = false;
    bool FDisableDesignResize = false;
    bool FCanClipped = true;
    int16_t FCursor = 0;
    TsgDragMode FDragMode = sgDragManual;
    bool FDragDisableHighlight = false;
    bool FIsDragOver = false;
    UnicodeString FHint;
    bool FShowHint = false;
    TPopupMenu* FPopupMenu = nullptr;
    bool FRecalcEnabled = true;
    bool FEnabled = true;
    bool FAbsoluteEnabled = true;
    int16_t FTabOrder = -1;
    std::vector<TsgObject*> FTabList;
    float FHeight = 50;
    float FWidth = 50;
    bool FVisible = true;
    TsgMatrix FLocalMatrix = IdentityMatrix;
    TsgMatrix FAbsoluteMatrix = IdentityMatrix;
    bool FRecalcAbsolute = true;
    // The children whose absolute matrices are worked out, linked through their own fields, so
    // that marking a moved node stale visits those and no others (a long list scrolled page by
    // page has only its shown rows worked out). FFreshIn is the node whose list holds this one.
    TsgVisualObject* FFreshChildren = nullptr;
    TsgVisualObject* FFreshIn = nullptr;
    TsgVisualObject* FFreshPrev = nullptr;
    TsgVisualObject* FFreshNext = nullptr;
    bool FUpdateEffects = true;
    bool FLocked = false;
    float FOpacity = 1;
    float FAbsoluteOpacity = 1;
    bool FRecalcOpacity = true;
    TsgRect FUpdateRect;
    bool FRecalcUpdateRect = true;
    TsgVisualObject* FCaret = nullptr;
};
