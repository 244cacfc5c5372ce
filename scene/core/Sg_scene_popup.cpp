#include "scene/core/Sg_scene_popup.h"

#include "scene/core/Sg_ani_base.h"
#include "scene/core/Sg_classes_timer.h"
#include "scene/core/Sg_scene_bounds.h"
#include "scene/core/Sg_scene_host.h"
#include "scene/core/Sg_scene_msgpopup.h"
#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_resources.h"

#include "platform/ui/Activation.h"
#include "platform/ui/Application.h"
#include "platform/ui/WindowRegistry.h"

#include <algorithm>
#include <cmath>

DBI_PUBLISH(TsgPopupForm) {}

DBI_PUBLISH(TsgPopup) {
    using P = TsgPopup;
    p.Boolean("IsOpen", &P::IsOpen, &P::SetIsOpen, false);
    p.Float("HorizontalOffset", &P::HorizontalOffset, &P::SetHorizontalOffset);
    p.Float("VerticalOffset", &P::VerticalOffset, &P::SetVerticalOffset);
    p.Enumeration("Placement", &P::Placement, &P::SetPlacement,
                  {"sgPlacementBottom", "sgPlacementTop", "sgPlacementLeft", "sgPlacementRight",
                   "sgPlacementCenter", "sgPlacementAbsolute", "sgPlacementMouse"},
                  sgPlacementBottom);
    p.Object("PlacementTarget", &P::PlacementTarget, &P::SetPlacementTarget);
    p.Object("PlacementRectangle", &P::PlacementRectangle, &P::SetPlacementRectangle);
    p.Boolean("StaysOpen", &P::StaysOpen, &P::SetStaysOpen, false);
    p.Object("Style", &P::Style, &P::SetStyle);
    p.Boolean("DragWithParent", &P::DragWithParent, &P::SetDragWithParent, false);
    // A popup starts hidden.
    p.Boolean("Visible", &P::Visible, &P::SetVisible, false);
    p.Event("OnClosePopup", &P::GetOnClosePopup, &P::SetOnClosePopup);
}

namespace {

std::vector<TsgPopup*> openPopups;

int RoundInt(float V) {
    return static_cast<int>(std::nearbyint(V));
}

float TruncF(float V) {
    return std::trunc(V);
}

bool Listed(TsgPopup* P) {
    return std::find(openPopups.begin(), openPopups.end(), P) != openPopups.end();
}

void Unlist(TsgPopup* P) {
    openPopups.erase(std::remove(openPopups.begin(), openPopups.end(), P), openPopups.end());
}

// Closes the listed popups newest first; a popup that closes others while it closes is fine,
// the list is read again each time.
void CloseAllListed() {
    while (!openPopups.empty()) {
        TsgPopup* newest = openPopups.back();
        newest->ClosePopup();
        Unlist(newest);
    }
}

} // namespace

const std::vector<TsgPopup*>& sgOpenPopups() {
    return openPopups;
}

TsgPoint sgPopupPlacementPoint(TsgPlacement APlacement, const TsgRect& R, bool REmpty, float H,
                               float V, float W, float Ht, float TargetW, float TargetH) {
    if (REmpty) {
        switch (APlacement) {
        case sgPlacementBottom:
            return {H, TargetH + V};
        case sgPlacementTop:
            return {H, -Ht - V};
        case sgPlacementLeft:
            return {-H - W, V};
        case sgPlacementRight:
            return {H + TargetW, V};
        case sgPlacementCenter:
            return {(TargetW - W) / 2 + H, (TargetH - Ht) / 2 + V};
        default:
            return {};
        }
    }
    switch (APlacement) {
    case sgPlacementBottom:
        return {R.Left + H, R.Bottom + V};
    case sgPlacementTop:
        return {R.Left + H, R.Top - Ht - V};
    case sgPlacementLeft:
        return {R.Left - W - H, R.Top + V};
    case sgPlacementRight:
        return {R.Right + H, R.Top + V};
    case sgPlacementCenter:
        return {R.Left + (R.Right - R.Left - W) / 2 + H, R.Top + (R.Bottom - R.Top - Ht) / 2 + V};
    default:
        return {};
    }
}

// The popup window.

TsgPopupForm::TsgPopupForm(TForm* AOwnerForm) : TForm(nullptr), FOwnerForm(AOwnerForm) {
    SetBorderStyle(bsNone);
    SetPosition(poDesigned);
    SetPopupWindow(true);
}

TsgPopupForm::~TsgPopupForm() {
    if (FOwnerForm && TWindowRegistry::Contains(FOwnerForm) && FOwnerForm->KeyForm() == this)
        FOwnerForm->SetKeyForm(nullptr);
    if (LogicalActiveForm() == this)
        SetLogicalActiveForm(FOwnerForm);
}

void TsgPopupForm::LogicalDeactivate(TForm* Activated) {
    if (!FPopup || FPopup->StaysOpen())
        return;
    auto* other = dynamic_cast<TsgPopupForm*>(Activated);
    TsgPopup* otherPopup = other ? other->Popup() : nullptr;
    if (otherPopup && !otherPopup->StaysOpen() && Listed(otherPopup)) {
        // Moving into another open popup closes this one only when it was opened after it.
        const auto self = std::find(openPopups.begin(), openPopups.end(), FPopup);
        const auto that = std::find(openPopups.begin(), openPopups.end(), otherPopup);
        if (self != openPopups.end() && self > that)
            FPopup->ClosePopup();
        return;
    }
    CloseAllListed();
}

void TsgPopupForm::DoClose(TCloseAction& Action) {
    TForm::DoClose(Action);
    Action = caFree;
    if (FPopup) {
        FNoFree = true;
        FPopup->ClosePopup();
    }
}

// The popup.

TsgPopup::TsgPopup(TComponent* AOwner) : TsgControl(AOwner) {
    FPlacementRectangle = new TsgBounds(TsgRect{});
    SetVisible(false);
}

TsgPopup::~TsgPopup() {
    // No closing animation runs for a popup that is going away.
    Destroying();
    ClosePopup();
    Unlist(this);
    delete FDragTimer;
    FDragTimer = nullptr;
    delete FPlacementRectangle;
}

void TsgPopup::SetIsOpen(bool Value) {
    if (Value == FIsOpen)
        return;
    if (IsgScene* scene = Scene(); scene && scene->GetDesignTime())
        return;
    FIsOpen = Value;
    if (Loading())
        return;
    if (Value) {
        FIsOpen = false;
        Popup();
    } else {
        FIsOpen = true;
        ClosePopup();
    }
}

void TsgPopup::SetPlacementTarget(TsgVisualObject* Value) {
    if (Value == FPlacementTarget)
        return;
    if (FPlacementTarget)
        FPlacementTarget->RemoveFreeNotification(this);
    FPlacementTarget = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TsgPopup::SetStyle(TsgResources* Value) {
    if (Value == FStyle)
        return;
    if (FStyle)
        FStyle->RemoveFreeNotification(this);
    FStyle = Value;
    if (Value)
        Value->FreeNotification(this);
}

TsgCustomScene* TsgPopup::HomeScene() {
    IsgScene* scene = Scene();
    return scene ? dynamic_cast<TsgCustomScene*>(scene->GetComponent()) : nullptr;
}

TForm* TsgPopup::FindOwnerForm() {
    TForm* form = dynamic_cast<TForm*>(TComponent::Owner());
    if (TsgCustomScene* scene = HomeScene()) {
        if (auto* sceneOwner = dynamic_cast<TForm*>(scene->TComponent::Owner()))
            form = sceneOwner;
        else if (TForm* parentForm = scene->ParentForm())
            form = parentForm;
    }
    return form;
}

void TsgPopup::ApplyPlacement() {
    TsgVisualObject* target = FPlacementTarget;
    if (!target && Parent())
        target = Parent()->Visual();
    const bool newScene = FPlacementScene == sgPlacementSceneNew;
    const TsgRect R = FPlacementRectangle->Rect();
    const float H = FHorizontalOffset, V = FVerticalOffset;

    if (FPlacement == sgPlacementAbsolute) {
        if (newScene && FPopupForm)
            FPopupForm->SetBounds(RoundInt(R.Left), RoundInt(R.Top), FPopupForm->Width(),
                                  FPopupForm->Height());
        return;
    }
    if (FPlacement == sgPlacementMouse) {
        TPoint cursor;
        if (newScene && FPopupForm && GetCursorPos(&cursor))
            FPopupForm->SetBounds(cursor.X + RoundInt(H), cursor.Y + RoundInt(V),
                                  FPopupForm->Width(), FPopupForm->Height());
        return;
    }

    TsgPoint p;
    if (target) {
        p = sgPopupPlacementPoint(FPlacement, R, FPlacementRectangle->Empty(), H, V, Width(),
                                  Height(), target->Width(), target->Height());
        p = target->LocalToAbsolute(p);
        p = {TruncF(p.X), TruncF(p.Y)};
        if (newScene) {
            IsgScene* scene = target->Scene();
            if (!scene || scene == static_cast<IsgScene*>(FPopupScene))
                scene = FSaveScene ? static_cast<IsgScene*>(FSaveScene) : Scene();
            if (scene)
                p = scene->LocalToScreen(p);
        }
    } else {
        p = sgPopupPlacementPoint(FPlacement, R, false, H, V, Width(), Height(), 0, 0);
        p = {TruncF(p.X), TruncF(p.Y)};
    }
    if (newScene) {
        if (FPopupForm)
            FPopupForm->SetBounds(RoundInt(p.X), RoundInt(p.Y), FPopupForm->Width(),
                                  FPopupForm->Height());
    } else {
        Position()->SetPoint(p);
    }
}

void TsgPopup::Popup() {
    if (FAnimating) {
        FIsOpen = false;
        return;
    }
    if (FPopupForm) {
        ClosePopup();
        return;
    }
    if (FIsOpen && FPlacementScene == sgPlacementSceneTarget) {
        ClosePopup();
        return;
    }
    FSaveParent = Parent();
    // Listed before it opens: opening activates its window, and the popups already open look
    // the new one up in the list to decide whether they stay.
    if (!StaysOpen() && !Listed(this))
        openPopups.push_back(this);
    if (FPlacementScene == sgPlacementSceneNew)
        OpenInNewScene();
    else
        OpenInTargetScene();

    FIsOpen = true;
    ApplyTriggerEffect(this, "IsOpen");
    StartTriggerAnimation(this, "IsOpen");
    if (FPlacementScene == sgPlacementSceneNew && FDragWithParent && FStaysOpen) {
        FDragTimer = new TsgTimer(nullptr);
        FDragTimer->SetInterval(10);
        FDragTimer->SetOnTimer(TNotifyEvent::Bind<&TsgPopup::DragTimerTick>(this));
        FDragTimer->SetEnabled(true);
    }
}

void TsgPopup::DragTimerTick(TObject*) {
    ApplyPlacement();
}

void TsgPopup::OpenInNewScene() {
    TsgCustomScene* home = HomeScene();
    FSaveScene = home;
    if (home)
        home->FreeNotification(this);
    TForm* ownerForm = FindOwnerForm();
    FPopupForm = new TsgPopupForm(ownerForm);

    // The popup keeps the zoom of its home scene.
    const TsgMatrix m = AbsoluteMatrix();
    FPopupForm->SetBounds(FPopupForm->Left(), FPopupForm->Top(),
                          std::max(1, RoundInt(m.m11 * Width())),
                          std::max(1, RoundInt(m.m22 * Height())));
    Scale()->SetPoint({m.m11, m.m22});
    ApplyPlacement();
    FPopupForm->SetPopup(this);
    FPopupForm->SetNoFree(false);

    FPopupScene = new TsgScene(FPopupForm);
    FPopupScene->SetTransparency(true);
    FPopupScene->SetParent(FPopupForm);
    FPopupScene->SetAlign(alClient);
    FPopupScene->SetStyle(FStyle ? FStyle : (home ? home->Style() : nullptr));
    FPopupScene->SetBounds(0, 0, FPopupForm->Width(), FPopupForm->Height());
    SetVisible(true);
    FPopupScene->AddObject(this);
    SetNewScene(FPopupScene);
    FPopupScene->SetActiveControl(this);
    UpdateResource();
    // The scene has the window's keyboard before the window shows: focusing a showing window
    // would raise and activate it.
    FPopupScene->SetFocus();
    // Shown without taking the activation from the owner; the owner's keys come here instead.
    FPopupForm->SetVisible(true);
    if (ownerForm && ownerForm != FPopupForm) {
        ownerForm->SetKeyForm(FPopupForm);
        FKeyOwner = ownerForm;
    }
    ActivateLogically(FPopupForm);
    SetFocus();
}

void TsgPopup::OpenInTargetScene() {
    SetVisible(true);
    TsgCustomScene* home = HomeScene();
    FSaveScene = home;
    if (home) {
        home->FreeNotification(this);
        FSaveFocused = home->Focused();
    }
    TsgVisualObject* target = FPlacementTarget;
    if (target && target->Scene())
        if (TsgObject* root = target->Scene()->GetRoot(); root && root != this)
            SetParent(root);
    ApplyPlacement();
    UpdateResource();
    BringToFront();
    SetCanFocused(true);
    SetFocus();
}

void TsgPopup::WaitClosingAnimations(TsgObject* AObject) {
    AObject->StopTriggerAnimation(this);
    for (int i = 0; i < AObject->ChildrenCount(); ++i) {
        TsgObject* child = AObject->GetChild(i);
        if (child->IsAnimation()) {
            child->AnimationStartTrigger(this, "IsOpen");
            // A looping animation never ends by itself; it is stopped where it stands.
            if (auto* animation = dynamic_cast<TsgAnimation*>(child);
                animation && animation->Loop() && child->AnimationRunning())
                child->AnimationStop();
            while (child->AnimationRunning() && Application && !Application->Terminated())
                Application->HandleMessage();
            if (child->AnimationRunning())
                child->AnimationStop();
        } else if (TsgVisualObject* part = child->Visual();
                   part && part->Locked() && !part->HitTest()) {
            // Parts of the applied style carry the style's own closing animations.
            WaitClosingAnimations(child);
        }
    }
}

void TsgPopup::ClosePopup() {
    if (FAnimating)
        return;
    if (FPlacementScene == sgPlacementSceneNew && !FPopupScene)
        return;
    if (FPlacementScene == sgPlacementSceneTarget && !FIsOpen)
        return;
    delete FDragTimer;
    FDragTimer = nullptr;
    FAnimating = true;
    FIsOpen = false;
    if (!HasState(csDestroying)) {
        ApplyTriggerEffect(this, "IsOpen");
        WaitClosingAnimations(this);
    }
    SetVisible(false);

    if (FPlacementScene == sgPlacementSceneNew) {
        if (FPopupScene) {
            FPopupScene->SetFocused(nullptr);
            FPopupScene->SetActiveControl(nullptr);
            FPopupScene->RemoveObject(this);
        }
        SetNewScene(nullptr);
        FPopupScene = nullptr;
        if (FKeyOwner && TWindowRegistry::Contains(FKeyOwner) && FKeyOwner->KeyForm() == FPopupForm)
            FKeyOwner->SetKeyForm(nullptr);
        if (LogicalActiveForm() == FPopupForm)
            SetLogicalActiveForm(FKeyOwner);
        FKeyOwner = nullptr;
        if (FPopupForm) {
            FPopupForm->SetPopup(nullptr);
            // The close may come from inside the popup scene's own input handling; the window
            // and its scene go once the loop has finished with the messages queued before.
            if (FPopupForm->NoFree()) {
                // The window frees itself once it has closed.
            } else if (HasState(csDestroying)) {
                delete FPopupForm;
            } else {
                FPopupForm->SetVisible(false);
                FPopupForm->Release();
            }
        }
        FPopupForm = nullptr;
        if (FSaveParent)
            SetParent(FSaveParent);
        else if (FSaveScene)
            FSaveScene->AddObject(this);
    } else {
        if (FSaveParent && FSaveParent != Parent())
            SetParent(FSaveParent);
        if (FSaveFocused && FSaveScene)
            FSaveScene->SetFocused(FSaveFocused);
    }
    if (FSaveScene)
        FSaveScene->RemoveFreeNotification(this);
    FSaveScene = nullptr;
    FSaveFocused = nullptr;
    FAnimating = false;
    FSaveParent = nullptr;
    Unlist(this);
    if (OnClosePopup)
        OnClosePopup(this);
}

TModalResult TsgPopup::PopupModal() {
    if (FAnimating) {
        FIsOpen = false;
        return mrNone;
    }
    if (FPopupForm) {
        if (FModal) {
            FModalResult = mrCancel;
            FModal = false;
        } else {
            ClosePopup();
        }
        return mrNone;
    }
    FStaysOpen = true;
    Popup();
    FModalResult = mrNone;
    FModal = true;
    while (FModal && FModalResult == mrNone) {
        if (!Application)
            break;
        Application->HandleMessage();
        if (Application->Terminated()) {
            FModalResult = mrCancel;
            if (FPopupForm)
                FPopupForm->SetModalResult(mrCancel);
        }
        // A popup that closed under the loop (its window closed, the focus left it) ends it.
        if (!FIsOpen && FModalResult == mrNone) {
            FModalResult = mrCancel;
            break;
        }
        ApplyPlacement();
        if (FPopupForm && FPopupForm->ModalResult() != mrNone)
            FModalResult = FPopupForm->ModalResult();
    }
    FModal = false;
    ClosePopup();
    return FModalResult;
}

void TsgPopup::Paint() {
    TsgControl::Paint();
}

void TsgPopup::KillFocus() {
    TsgControl::KillFocus();
    // The focus moving to an object inside the popup (a button pressed in it) keeps it open.
    if (IsgScene* scene = Scene())
        for (TsgObject* o = scene->GetFocused(); o; o = o->Parent())
            if (o == this)
                return;
    ClosePopup();
}

void TsgPopup::Notification(TComponent* AComponent, TOperation Operation) {
    TsgControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSaveScene) {
        FSaveScene = nullptr;
        FSaveParent = nullptr;
        FSaveFocused = nullptr;
    }
    if (AComponent == FPlacementTarget)
        FPlacementTarget = nullptr;
    if (AComponent == FStyle)
        FStyle = nullptr;
    if (AComponent == FSaveParent)
        FSaveParent = nullptr;
}

void RegisterSgPopupUnit() {
    static const bool done = [] {
        RegisterSGObjects(u"Popup",
                          {&TsgPopup::StaticClassInfo(), &TsgMessagePopup::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
