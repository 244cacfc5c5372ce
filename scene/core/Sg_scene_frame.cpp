#include "scene/core/Sg_scene_frame.h"

#include "scene/core/Sg_scene_host.h"

#include <map>

DBI_PUBLISH(TsgFrame) {
    (void)p;
}

namespace {
// Which frame shows which scene's root.
std::map<TsgCustomScene*, TsgFrame*>& Showing() {
    static std::map<TsgCustomScene*, TsgFrame*> showing;
    return showing;
}
} // namespace

TsgFrame::TsgFrame(TComponent* AOwner) : TsgVisualObject(AOwner) {}

TsgFrame::~TsgFrame() {
    GiveBack();
    if (FSceneObject)
        FSceneObject->RemoveFreeNotification(this);
}

TsgFrame* TsgFrame::ShowingFrame(TsgCustomScene* AScene) {
    auto found = Showing().find(AScene);
    return found == Showing().end() ? nullptr : found->second;
}

void TsgFrame::SetSceneObject(TsgCustomScene* Value) {
    if (Value == FSceneObject)
        return;
    // A frame never shows the scene it sits in.
    if (IsgScene* own = Scene(); own && Value && own->GetComponent() == Value)
        return;
    GiveBack();
    if (FSceneObject)
        FSceneObject->RemoveFreeNotification(this);
    FSceneObject = Value;
    if (FSceneObject)
        FSceneObject->FreeNotification(this);
    if (!(Scene() && Scene()->GetDesignTime()))
        Borrow();
    Repaint();
}

void TsgFrame::Borrow() {
    if (!FSceneObject || ShowingFrame(FSceneObject))
        return;
    TsgObject* root = FSceneObject->Root();
    if (!root)
        return;
    Showing()[FSceneObject] = this;
    FSceneObject->RemoveObject(root);
    FBorrowed = root;
    AddObject(root);
    if (TsgVisualObject* visual = root->Visual())
        visual->SetAlign(vaClient);
    Realign();
}

void TsgFrame::GiveBack() {
    if (!FSceneObject || ShowingFrame(FSceneObject) != this)
        return;
    Showing().erase(FSceneObject);
    TsgObject* root = FBorrowed;
    FBorrowed = nullptr;
    if (root && root->Parent() == this && !FSceneObject->HasState(csDestroying))
        FSceneObject->AddObject(root);
}

void TsgFrame::Notification(TComponent* AComponent, TOperation Operation) {
    TsgVisualObject::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSceneObject) {
        // The scene's root goes with it; it is this frame's child and is freed here.
        Showing().erase(FSceneObject);
        FSceneObject = nullptr;
    }
    if (AComponent == FBorrowed)
        FBorrowed = nullptr;
}
