// TsgCustomScene: the window that hosts a tree of toolkit objects, and TsgScene, the same class
// as window layouts stream it.
//
// Objects never draw into the window. A change invalidates a rectangle of the scene
// (AddUpdateRect, rounded outward to whole pixels); the scene collects the dirty rectangles and
// Draw repaints exactly those rectangles of its off-screen buffer through the canvas (background,
// then every top-level object touching one of them) and copies them to the window. A scene that
// is embedded (drawn for a host that reads its canvas) or makes its form transparent queues its
// rectangles instead and posts itself one private message, so a burst of changes gives a single
// Draw once the loop runs again. Transparent forms are shown opaque here: the whole buffer is
// presented as it is, composed over black.
//
// The scene is a component (it has an owner, a style container reference and streams its tree)
// and a child window of its form at the same time.
#pragma once

#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_designer.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_visual.h"

#include "platform/classes/Component.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DragManager.h"

#include <memory>
#include <vector>

class TForm;
class TsgBrush;
class TsgResources;
class TsgTimer;
class TStream;

// The scene's private message: collected rectangles wait for it (WM_USER + 123).
constexpr UINT WM_SG_ADDUPDATERECT = WM_USER + 123;

class TsgCustomScene : public TComponent,
                       public TCustomControl,
                       public IsgScene,
                       public TDragTarget {
    DBI_PERSISTENT(TsgCustomScene, TComponent)

    explicit TsgCustomScene(TComponent* AOwner);
    ~TsgCustomScene() override;

    // The drawing buffer, of the scene's size.
    TsgCanvas* Canvas() const { return FCanvas.get(); }
    bool IsDrawing() const { return FDrawing; }
    bool DisableUpdate() const { return FDisableUpdate; }
    bool DesignTime() const { return FDesignTime; }
    // Number of top-level objects; the root is the first.
    int Count() const { return static_cast<int>(FChildren.size()); }
    TsgObject* Root() const { return FChildren.empty() ? nullptr : FChildren.front(); }
    // nullptr beyond the count.
    TsgObject* GetChildrenObject(int Index) const;

    // The background; setting copies the brush, and any change repaints everything.
    TsgBrush* Fill() const { return FFill.get(); }
    void SetFill(TsgBrush* Value);
    bool Transparency() const { return FTransparency; }
    void SetTransparency(bool Value);
    TsgResources* Style() const { return FStyle; }
    bool ShowUpdateRects() const { return FShowUpdateRects; }
    void SetShowUpdateRects(bool Value) { FShowUpdateRects = Value; }
    bool AnimatedCaret() const { return FAnimatedCaret; }
    void SetAnimatedCaret(bool Value) { FAnimatedCaret = Value; }
    bool AllowFormDrag() const { return FAllowFormDrag; }
    void SetAllowFormDrag(bool Value) { FAllowFormDrag = Value; }
    // The design editor's snapping switches, streamed with the scene as extra properties so a
    // designed form keeps them; after loading, snapping to lines turns snapping to the grid off.
    bool DesignSnapGridShow() const { return FDesignSnapGridShow; }
    void SetDesignSnapGridShow(bool Value) { FDesignSnapGridShow = Value; }
    bool DesignSnapToGrid() const { return FDesignSnapToGrid; }
    void SetDesignSnapToGrid(bool Value) { FDesignSnapToGrid = Value; }
    bool DesignSnapToLines() const { return FDesignSnapToLines; }
    void SetDesignSnapToLines(bool Value) { FDesignSnapToLines = Value; }
    bool EscCloseWindow() const { return FEscCloseWindow; }
    void SetEscCloseWindow(bool Value) { FEscCloseWindow = Value; }
    TsgVisualObject* Hovered() const { return FHovered; }
    // The control that has the keyboard when the scene gets the focus; a reference, cleared when
    // that object goes.
    TsgControl* ActiveControl() const { return FActiveControl; }
    // Gives the control the focus unless the scene is loading (a loaded control takes it itself).
    void SetActiveControl(TsgControl* Value);
    TsgVisualObject* Captured() const { return FCaptured; }
    TsgVisualObject* Focused() const { return FFocused; }
    bool FormDragging() const { return FDragging; }
    bool FormResizing() const { return FResizing; }

    // Input (Sg_scene_input_host.cpp). The topmost object under a scene point, or nullptr.
    TsgVisualObject* ObjectByPoint(float X, float Y);
    // The keyboard entry points of windowed and embedded scenes.
    void UnicodeKeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift);
    void UnicodeKeyUp(uint16_t& Key, char16_t& KeyChar, TShiftState Shift);
    // Embedded scenes get their input from the host through these.
    void EmbeddedMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void EmbeddedMouseMove(TShiftState Shift, int X, int Y);
    void EmbeddedMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void EmbeddedMouseWheel(TShiftState Shift, int WheelDelta);
    void EmbeddedKeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift);
    void EmbeddedKeyUp(uint16_t& Key, char16_t& KeyChar, TShiftState Shift);

    // Embedded use: the scene draws for a host without a window of its own; Draw ends by calling
    // OnFlush (the host reads Canvas) instead of copying to a window.
    void CreateEmbedded(int AWidth, int AHeight, const TNotifyEvent& AOnFlush);
    TNotifyEvent OnFlush;

    // Replaces the pending rectangles by the whole scene and draws at once.
    void UpdateBuffer();
    virtual void Draw();
    // Lays the root over the whole scene, in its own scaled units.
    void RealignRoot();
    // Design time: the editing code of the design tools (made on first use; nullptr outside
    // design time or without the design tools), and the references it keeps in the scene.
    IsgSceneDesignEditor* DesignEditor();
    void SetSelectedReference(TsgVisualObject* Value) { FSelected = Value; }
    void SetDesignPlaceObjectReference(TsgVisualObject* Value) { FDesignPlaceObject = Value; }
    // Forgets selection, capture, hover, focus and placement without touching the objects.
    void EmptyObjects();
    // Frees every top-level object; the scene has none afterwards.
    void DeleteChildren();
    // Reads a tree in the component text form and adds it as a top-level object, with updates
    // suppressed while it loads; the new object, or nullptr when the text cannot be read.
    TsgObject* LoadObjectFromStream(TStream& AStream);

    // Component streaming and notifications.
    void Loaded() override;
    void DefineProperties(TFiler& Filer) override;
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // In a stream the scene is a child of the window it sits in.
    bool HasParent() override { return true; }
    TComponent* GetParentComponent() override;
    void SetParentComponent(TComponent* Value) override;

    // The window.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool Value) override;
    void WndProc(TMessage& Message) override;

    // IsgScene.
    void AddObject(TsgObject* AObject) override;
    void RemoveObject(TsgObject* AObject) override;
    void BeginUpdate() override;
    void EndUpdate() override;
    void EndUpdateWOInvalidate() override;
    void BeginDrag() override;
    void BeginResize() override;
    void AddUpdateRect(const TsgRect& R) override;
    void InsertObject(const AnsiString& AClassName) override;
    TsgControl* GetActiveControl() override { return FActiveControl; }
    bool GetDisableUpdate() override { return FDisableUpdate; }
    void SetDisableUpdate(bool Value) override { FDisableUpdate = Value; }
    bool GetDesignTime() override { return FDesignTime; }
    TsgCanvas* GetCanvas() override { return FCanvas.get(); }
    TsgObject* GetRoot() override { return Root(); }
    TComponent* GetOwner() override { return TComponent::Owner(); }
    TComponent* GetComponent() override { return this; }
    TsgResources* GetStyle() override { return FStyle; }
    void SetStyle(TsgResources* Value) override;
    bool GetTransparency() override { return FTransparency; }
    void UpdateResource() override;
    TsgVisualObject* GetSelected() override { return FSelected; }
    TsgVisualObject* GetDesignPlaceObject() override { return FDesignPlaceObject; }
    int GetUpdateRectsCount() override { return static_cast<int>(FUpdateRects.size()); }
    TsgRect GetUpdateRect(int Index) override { return FUpdateRects[size_t(Index)]; }
    void SetCaptured(TsgVisualObject* Value) override;
    TsgVisualObject* GetCaptured() override { return FCaptured; }
    void SetFocused(TsgVisualObject* Value) override;
    TsgVisualObject* GetFocused() override { return FFocused; }
    void SetDesignRoot(TsgVisualObject* Value) override { FDesignRoot = Value; }
    TsgPoint GetMousePos() override { return FMousePos; }
    TsgPoint LocalToScreen(const TsgPoint& P) override;
    // Drag and drop (Sg_scene_dragdrop.cpp): an object of the tree starts an in-process drag;
    // every scene routes drags over it to the object under the pointer that accepts them.
    TCustomControl* BeginNativeDrag(TObject* Source) override;
    void DragOverAt(TObject* Source, TPoint Client, TDragState State, bool& Accept) override;
    void DragDropAt(TObject* Source, TPoint Client) override;
    void DoDesignSelect(TObject* AObject) override;
    bool GetAnimatedCaret() override { return FAnimatedCaret; }

    // Published through the class information (the window's place and size in streams).
    int GetLeft() const { return Left(); }
    int GetTop() const { return Top(); }
    int GetWidth() const { return Width(); }
    int GetHeight() const { return Height(); }
    void SetLeft(int Value) { SetBounds(Value, Top(), Width(), Height()); }
    void SetTop(int Value) { SetBounds(Left(), Value, Width(), Height()); }
    void SetWidth(int Value) { SetBounds(Left(), Top(), Value, Height()); }
    void SetHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    // All painting goes through Draw.
    void Paint() override {}

private:
    // Whether rectangles wait for the private message instead of the window's update region.
    bool DeferredUpdates() const;
    bool ParentIsForm() const;
    void WMPaint(TMessage& Message);
    void WMAddUpdateRect();
    void DrawBackground();
    void DrawObjects();
    void FlushToWindow();
    void UpdateLayer();
    void FillChanged(TObject*);
    void DoShowTimer(TObject*);
    void InvalidateAll(float Right, float Bottom);
    // Input routing (Sg_scene_input_host.cpp).
    bool Embedded() const { return static_cast<bool>(OnFlush); }
    TForm* OwnerForm();
    void MouseLeaveWindow();
    void ChangeHover(TsgVisualObject* Value);
    void MoveTabFocus(bool Backward);
    // Handles the key, character, input-method and hint messages; false for any other.
    bool InputMessage(TMessage& Message);
    void WMChar(TMessage& Message);
    void StartComposition();
    void HintShow(TMessage& Message);
    // A drop from the desktop (CM_DESKTOPDRAG).
    void DesktopDrag(TMessage& Message);

    std::unique_ptr<TsgCanvas> FCanvas;
    bool FDisableUpdate = false;
    std::vector<TsgObject*> FChildren;
    TsgVisualObject* FDesignRoot = nullptr;
    TsgVisualObject* FSelected = nullptr;
    TsgVisualObject* FCaptured = nullptr;
    TsgVisualObject* FHovered = nullptr;
    TsgVisualObject* FFocused = nullptr;
    TsgVisualObject* FDesignPlaceObject = nullptr;
    TsgControl* FActiveControl = nullptr;
    TsgPoint FMousePos{};
    TsgPoint FUnsnapMousePos{};
    TsgPoint FDownPos{};
    bool FDragging = false;
    bool FResizing = false;
    TPoint FResizeSize{};
    TCursor FLoadCursor = crDefault;
    TsgVisualObject* FDragged = nullptr;
    TsgVisualObject* FPressTarget = nullptr;
    bool FDesignTime = false;
    std::unique_ptr<TsgBrush> FFill;
    bool FTransparency = false;
    bool FDrawing = false;
    TsgTimer* FShowTimer = nullptr;
    TsgResources* FStyle = nullptr;
    bool FShowUpdateRects = false;
    bool FAnimatedCaret = true;
    bool FAllowFormDrag = true;
    bool FDesignSnapGridShow = false;
    bool FDesignSnapToGrid = false;
    bool FDesignSnapToLines = true;
    bool FEscCloseWindow = false;
    std::vector<TsgRect> FUpdateRects;
    std::unique_ptr<IsgSceneDesignEditor> FDesignEditor;
};

class TsgScene : public TsgCustomScene {
    DBI_PERSISTENT(TsgScene, TsgCustomScene)

    explicit TsgScene(TComponent* AOwner) : TsgCustomScene(AOwner) {}
};

// Suppresses a scene's updates for its lifetime and puts the previous state back when it ends,
// also when loading or style application raises; with `invalidate`, a scene whose updates come
// back on is repainted whole.
class TsgUpdateSuppression {
public:
    explicit TsgUpdateSuppression(IsgScene* AScene, bool AInvalidate = true);
    ~TsgUpdateSuppression();
    TsgUpdateSuppression(const TsgUpdateSuppression&) = delete;
    TsgUpdateSuppression& operator=(const TsgUpdateSuppression&) = delete;

private:
    IsgScene* FScene;
    bool FWasDisabled;
    bool FInvalidate;
};

// The live scene hosts, in the order they were created.
const std::vector<TsgCustomScene*>& sgLiveScenes();
