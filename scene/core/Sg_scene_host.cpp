#include "scene/core/Sg_scene_host.h"

#include "scene/core/Sg_ani_base.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_classes_timer.h"
#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_control.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_resources.h"
#include "scene/core/Sg_scene_streams.h"

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/ui/DesktopDrop.h"
#include "platform/ui/Forms.h"

#include <algorithm>
#include <cmath>

DBI_PUBLISH(TsgCustomScene) {
    using S = TsgCustomScene;
    p.Integer("Left", &S::GetLeft, &S::SetLeft, 0);
    p.Integer("Top", &S::GetTop, &S::SetTop, 0);
    p.Integer("Width", &S::GetWidth, &S::SetWidth);
    p.Integer("Height", &S::GetHeight, &S::SetHeight);
}

DBI_PUBLISH(TsgScene) {
    using S = TsgScene;
    p.Boolean("AnimatedCaret", &S::AnimatedCaret, &S::SetAnimatedCaret, true);
    p.Object("Fill", &S::Fill, &S::SetFill);
    p.Boolean("Transparency", &S::Transparency, &S::SetTransparency, false);
    p.Object("Style", &S::Style, &S::SetStyle);
    p.Boolean("AllowFormDrag", &S::AllowFormDrag, &S::SetAllowFormDrag, true);
    p.Enumeration("Align", &S::Align, &S::SetAlign,
                  {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, alNone);
    p.Boolean("TabStop", &S::TabStop, &S::SetTabStop, false);
    p.Object("ActiveControl", &S::ActiveControl, &S::SetActiveControl);
}

namespace {

// Never destroyed: a scene freed late in the program's exit still leaves the list.
std::vector<TsgCustomScene*>& LiveScenes() {
    static auto* scenes = new std::vector<TsgCustomScene*>();
    return *scenes;
}

} // namespace

const std::vector<TsgCustomScene*>& sgLiveScenes() {
    return LiveScenes();
}

TsgUpdateSuppression::TsgUpdateSuppression(IsgScene* AScene, bool AInvalidate)
    : FScene(AScene), FWasDisabled(AScene && AScene->GetDisableUpdate()), FInvalidate(AInvalidate) {
    if (FScene)
        FScene->BeginUpdate();
}

TsgUpdateSuppression::~TsgUpdateSuppression() {
    if (!FScene || FWasDisabled)
        return;
    if (FInvalidate)
        FScene->EndUpdate();
    else
        FScene->EndUpdateWOInvalidate();
}

TsgCustomScene::TsgCustomScene(TComponent* AOwner) : TComponent(AOwner) {
    AddScene(this);
    LiveScenes().push_back(this);
    // A scene placed on a form that is being designed is designed with it.
    FDesignTime = HasState(csDesigning) || (AOwner && AOwner->HasState(csDesigning));
    if (sgDesigner)
        sgDesigner->AddScene(this);
    if (!DefaultCanvasClass)
        InitSgCanvasUnit();
    FCanvas = DefaultCanvasClass->Create(Width(), Height());
    FFill = std::make_unique<TsgBrush>(sgBrushNone, 0xFF000000);
    FFill->OnChanged = TNotifyEvent::Bind<&TsgCustomScene::FillChanged>(this);
    TWinControl::SetBounds(Left(), Top(), 100, 100);
}

TsgCustomScene::~TsgCustomScene() {
    Destroying();
    if (sgDesigner)
        sgDesigner->RemoveScene(this);
    DeleteChildren();
    FDesignEditor.reset();
    SetStyle(nullptr);
    DestroyHandle();
    FFill.reset();
    FCanvas.reset();
    RemoveScene(this);
    // The animation clock lives exactly as long as some scene does.
    if (SceneCount() == 0)
        sgFreeAniThread();
    auto& live = LiveScenes();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

IsgSceneDesignEditor* TsgCustomScene::DesignEditor() {
    if (!FDesignEditor && FDesignTime && sgSceneDesignEditorFactory && !HasState(csDestroying))
        FDesignEditor.reset(sgSceneDesignEditorFactory(this));
    return FDesignEditor.get();
}

void TsgCustomScene::InsertObject(const AnsiString& AClassName) {
    if (IsgSceneDesignEditor* editor = DesignEditor())
        editor->InsertObject(AClassName);
}

void TsgCustomScene::DoDesignSelect(TObject* AObject) {
    if (IsgSceneDesignEditor* editor = DesignEditor())
        editor->DoDesignSelect(AObject);
}

TsgObject* TsgCustomScene::GetChildrenObject(int Index) const {
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FChildren[size_t(Index)];
}

void TsgCustomScene::SetFill(TsgBrush* Value) {
    FFill->Assign(Value);
}

void TsgCustomScene::FillChanged(TObject*) {
    FUpdateRects.clear();
    InvalidateAll(static_cast<float>(Width()), static_cast<float>(Height()));
}

void TsgCustomScene::SetTransparency(bool Value) {
    if (Value == FTransparency)
        return;
    FTransparency = Value;
    InvalidateAll(10000, 10000);
}

void TsgCustomScene::InvalidateAll(float Right, float Bottom) {
    AddUpdateRect(TsgRect{0, 0, Right, Bottom});
}

void TsgCustomScene::SetStyle(TsgResources* Value) {
    if (Value == FStyle)
        return;
    if (FStyle) {
        FStyle->RemoveSceneUpdater(this);
        FStyle->RemoveFreeNotification(this);
    }
    FStyle = Value;
    if (FStyle) {
        FStyle->AddSceneUpdater(this);
        FStyle->FreeNotification(this);
    }
    if (!HasState(csDestroying))
        UpdateResource();
}

void TsgCustomScene::UpdateResource() {
    if (TsgObject* root = Root())
        root->UpdateResource();
}

void TsgCustomScene::CreateEmbedded(int AWidth, int AHeight, const TNotifyEvent& AOnFlush) {
    OnFlush = AOnFlush;
    TWinControl::SetBounds(Left(), Top(), AWidth, AHeight);
    FCanvas->ResizeBuffer(AWidth, AHeight);
    RealignRoot();
    InvalidateAll(static_cast<float>(Width()), static_cast<float>(Height()));
}

bool TsgCustomScene::ParentIsForm() const {
    return dynamic_cast<TForm*>(Parent()) != nullptr;
}

bool TsgCustomScene::DeferredUpdates() const {
    return static_cast<bool>(OnFlush) || (FTransparency && ParentIsForm() && !FDesignTime);
}

void TsgCustomScene::AddUpdateRect(const TsgRect& R) {
    if (FDisableUpdate || HasState(csLoading) || HasState(csDestroying))
        return;
    if (!OnFlush && !HandleAllocated())
        return;
    if (FCanvas->Buffered() && !FCanvas->BufferBits())
        return;
    const TsgRect rounded{std::trunc(R.Left), std::trunc(R.Top), std::trunc(R.Right) + 1,
                          std::trunc(R.Bottom) + 1};
    if (!sgIntersectRect(rounded,
                         TsgRect{0, 0, static_cast<float>(Width()), static_cast<float>(Height())}))
        return;
    if (DeferredUpdates()) {
        FUpdateRects.push_back(rounded);
        PostMessage(this, WM_SG_ADDUPDATERECT, 0, 0);
        return;
    }
    const TRect area{static_cast<int>(rounded.Left), static_cast<int>(rounded.Top),
                     static_cast<int>(rounded.Right), static_cast<int>(rounded.Bottom)};
    InvalidateRect(this, &area, false);
}

void TsgCustomScene::UpdateBuffer() {
    FUpdateRects.assign(1,
                        TsgRect{0, 0, static_cast<float>(Width()), static_cast<float>(Height())});
    Draw();
}

void TsgCustomScene::BeginUpdate() {
    FDisableUpdate = true;
}

void TsgCustomScene::EndUpdate() {
    FDisableUpdate = false;
    Invalidate();
    if (OnFlush)
        InvalidateAll(static_cast<float>(Width()), static_cast<float>(Height()));
}

void TsgCustomScene::EndUpdateWOInvalidate() {
    FDisableUpdate = false;
}

void TsgCustomScene::AddObject(TsgObject* AObject) {
    if (!AObject)
        return;
    if (AObject->Parent())
        AObject->SetParent(nullptr);
    if (std::find(FChildren.begin(), FChildren.end(), AObject) == FChildren.end())
        FChildren.push_back(AObject);
    AObject->SetNewScene(this);
    if (TsgVisualObject* visual = AObject->Visual(); visual && !HasState(csDestroying)) {
        visual->RecalcUpdateRect();
        visual->RecalcAbsolute();
        visual->Repaint();
        RealignRoot();
    }
}

void TsgCustomScene::RemoveObject(TsgObject* AObject) {
    auto found = std::find(FChildren.begin(), FChildren.end(), AObject);
    if (found == FChildren.end())
        return;
    Invalidate();
    AObject->SetNewScene(nullptr);
    Notification(AObject, opRemove);
    FChildren.erase(std::find(FChildren.begin(), FChildren.end(), AObject));
}

void TsgCustomScene::DeleteChildren() {
    while (!FChildren.empty()) {
        TsgObject* object = FChildren.front();
        FChildren.erase(FChildren.begin());
        object->SetNewScene(nullptr);
        delete object;
    }
}

void TsgCustomScene::RealignRoot() {
    TsgObject* root = Root();
    TsgVisualObject* visual = root ? root->Visual() : nullptr;
    if (!visual)
        return;
    const float scaleX = visual->Scale()->X(), scaleY = visual->Scale()->Y();
    // A root scaled to nothing cannot cover the window; it keeps its size.
    if (scaleX == 0 || scaleY == 0)
        return;
    visual->SetBounds(0, 0, static_cast<float>(Width()) / scaleX,
                      static_cast<float>(Height()) / scaleY);
}

void TsgCustomScene::EmptyObjects() {
    FSelected = nullptr;
    FCaptured = nullptr;
    FHovered = nullptr;
    FFocused = nullptr;
    FDesignPlaceObject = nullptr;
    FDragged = nullptr;
    FPressTarget = nullptr;
}

TsgObject* TsgCustomScene::LoadObjectFromStream(TStream& AStream) {
    TsgObject* object = nullptr;
    {
        TsgUpdateSuppression suppressed(this, false);
        object = CreateObjectFromStream(this, AStream);
        if (object)
            AddObject(object);
    }
    if (object) {
        RealignRoot();
        InvalidateAll(65535, 65535);
    }
    return object;
}

void TsgCustomScene::DefineProperties(TFiler& Filer) {
    TComponent::DefineProperties(Filer);
    // Outside the designer a stored grid is never shown; the snapping modes stay in force.
    Filer.DefineProperty(
        "DesignSnapGridShow",
        [this](TReader& R) { FDesignSnapGridShow = R.ReadBoolean() && sgDesigner; },
        [this](TWriter& W) { W.WriteBoolean(FDesignSnapGridShow); }, true);
    Filer.DefineProperty(
        "DesignSnapToGrid", [this](TReader& R) { FDesignSnapToGrid = R.ReadBoolean(); },
        [this](TWriter& W) { W.WriteBoolean(FDesignSnapToGrid); }, true);
    Filer.DefineProperty(
        "DesignSnapToLines", [this](TReader& R) { FDesignSnapToLines = R.ReadBoolean(); },
        [this](TWriter& W) { W.WriteBoolean(FDesignSnapToLines); }, true);
}

void TsgCustomScene::Loaded() {
    TComponent::Loaded();
    if (FDesignSnapToLines)
        FDesignSnapToGrid = false;
    FLoadCursor = Cursor();
    delete FShowTimer;
    FShowTimer = new TsgTimer(this);
    FShowTimer->SetInterval(1);
    FShowTimer->SetOnTimer(TNotifyEvent::Bind<&TsgCustomScene::DoShowTimer>(this));
}

void TsgCustomScene::DoShowTimer(TObject*) {
    TsgTimer* timer = FShowTimer;
    FShowTimer = nullptr;
    timer->SetEnabled(false);
    InvalidateAll(65535, 65535);
    delete timer;
}

void TsgCustomScene::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* ARoot) {
    TComponent::GetChildren(Proc, ARoot);
    for (TsgObject* object : FChildren)
        if (object->Stored())
            Proc(object);
}

void TsgCustomScene::SetActiveControl(TsgControl* Value) {
    if (Value == FActiveControl)
        return;
    if (FActiveControl)
        FActiveControl->RemoveFreeNotification(this);
    FActiveControl = Value;
    if (!FActiveControl)
        return;
    FActiveControl->FreeNotification(this);
    if (!HasState(csLoading))
        FActiveControl->SetFocus();
}

TComponent* TsgCustomScene::GetParentComponent() {
    return dynamic_cast<TComponent*>(Parent());
}

void TsgCustomScene::SetParentComponent(TComponent* Value) {
    SetParent(dynamic_cast<TWinControl*>(Value));
}

void TsgCustomScene::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    for (TsgVisualObject** reference :
         {&FCaptured, &FSelected, &FHovered, &FFocused, &FDesignPlaceObject, &FDesignRoot,
          &FDragged, &FPressTarget})
        if (*reference && static_cast<TComponent*>(*reference) == AComponent)
            *reference = nullptr;
    if (FDesignEditor)
        FDesignEditor->ComponentRemoved(AComponent);
    if (FActiveControl && static_cast<TComponent*>(FActiveControl) == AComponent)
        FActiveControl = nullptr;
    if (FShowTimer && static_cast<TComponent*>(FShowTimer) == AComponent)
        FShowTimer = nullptr;
    // The container is being destroyed: it is no longer asked anything.
    if (FStyle && static_cast<TComponent*>(FStyle) == AComponent) {
        FStyle = nullptr;
        if (!HasState(csDestroying))
            UpdateResource();
    }
}

void TsgCustomScene::CreateWnd() {
    FCanvas->SceneWnd = this;
    FCanvas->ResizeBuffer(Width(), Height());
    RealignRoot();
    InvalidateAll(static_cast<float>(Width()), static_cast<float>(Height()));
    if (FTransparency && !FDesignTime && ParentIsForm()) {
        UpdateLayer();
        InvalidateAll(65535, 65535);
    }
}

void TsgCustomScene::DestroyWnd() {
    if (FCanvas)
        FCanvas->SceneWnd = nullptr;
}

void TsgCustomScene::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FCanvas && (HandleAllocated() || OnFlush)) {
        FCanvas->ResizeBuffer(Width(), Height());
        RealignRoot();
    }
}

void TsgCustomScene::SetVisible(bool Value) {
    const bool changed = Value != Visible();
    TWinControl::SetVisible(Value);
    if (changed)
        InvalidateAll(static_cast<float>(Width()), static_cast<float>(Height()));
}

TsgPoint TsgCustomScene::LocalToScreen(const TsgPoint& P) {
    const TPoint screen = ClientToScreen(
        TPoint{static_cast<int>(std::trunc(P.X)), static_cast<int>(std::trunc(P.Y))});
    return {static_cast<float>(screen.X), static_cast<float>(screen.Y)};
}

void TsgCustomScene::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        WMPaint(Message);
        return;
    case WM_SG_ADDUPDATERECT:
        WMAddUpdateRect();
        return;
    case WM_ERASEBKGND:
        Message.Result = 1;
        return;
    case CM_DESKTOPDRAG:
        DesktopDrag(Message);
        return;
    default:
        if (!InputMessage(Message))
            TCustomControl::WndProc(Message);
    }
}

void TsgCustomScene::WMPaint(TMessage& Message) {
    // Left unvalidated, so the paint comes again once the running Draw has finished.
    if (FDrawing)
        return;
    for (const TRect& r : GetUpdateRects(this))
        FUpdateRects.push_back(TsgRect{static_cast<float>(r.Left), static_cast<float>(r.Top),
                                       static_cast<float>(r.Right), static_cast<float>(r.Bottom)});
    Draw();
    DefaultHandler(Message);
}

void TsgCustomScene::WMAddUpdateRect() {
    TMsg msg;
    while (PeekMessage(&msg, this, WM_SG_ADDUPDATERECT, WM_SG_ADDUPDATERECT, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
    }
    Draw();
}
