#include "scene/core/Sg_scene_frame.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_host.h"
#include "scene/core/Sg_scene_paint.h"

#include "platform/ui/Application.h"

#include <algorithm>
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

// The picture's side for a frame side: truncated, and no larger than any window shows.
int PictureSide(float Side) {
    return static_cast<int>(std::clamp(Side, 0.0f, 16384.0f));
}
} // namespace

TsgFrame::TsgFrame(TComponent* AOwner) : TsgVisualObject(AOwner) {}

TsgFrame::~TsgFrame() {
    LetGo();
    FPicture.reset();
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
    LetGo();
    FSceneObject = Value;
    if (FSceneObject)
        FSceneObject->FreeNotification(this);
    if (FSceneObject && !(Scene() && Scene()->GetDesignTime())) {
        // Shown elsewhere: a copy of its form is made when this frame is painted.
        if (ShowingFrame(FSceneObject))
            FCloneNeeded = true;
        else
            Borrow();
    }
    Repaint();
}

void TsgFrame::LetGo() {
    GiveBack();
    FCloneNeeded = false;
    if (FSceneObject)
        FSceneObject->RemoveFreeNotification(this);
    FSceneObject = nullptr;
    if (TComponent* clone = FCloneForm) {
        FCloneForm = nullptr;
        clone->RemoveFreeNotification(this);
        if (auto* form = dynamic_cast<TForm*>(clone); form && !form->HasState(csDestroying))
            Application->DestroyForm(form);
    }
}

void TsgFrame::Paint() {
    const bool design = Scene() && Scene()->GetDesignTime();
    if (FCloneNeeded) {
        FCloneNeeded = false;
        if (!design)
            MakeClone();
    }
    if (design)
        PaintPicture();
}

void TsgFrame::PaintPicture() {
    TsgCanvas* canvas = Canvas();
    TsgObject* rootObject = FSceneObject ? FSceneObject->Root() : nullptr;
    TsgVisualObject* root = rootObject ? rootObject->Visual() : nullptr;
    if (!canvas || !root)
        return;
    const int w = PictureSide(Width()), h = PictureSide(Height());
    if (!FPicture)
        FPicture = std::make_unique<TsgBitmap>(w, h);
    else
        FPicture->SetSize(w, h);
    FPicture->Clear(0);

    // The tree is laid out at the frame's size for the picture and put back afterwards.
    const TsgRect home = root->GetParentedRect();
    root->SetBounds(0, 0, Width(), Height());
    try {
        TsgCanvas* target = FPicture->Canvas();
        if (target && target->BeginScene()) {
            sgPaintTo(root, target, LocalRect(), nullptr);
            target->EndScene();
        }
    } catch (...) {
        root->SetBounds(home.Left, home.Top, home.Right - home.Left, home.Bottom - home.Top);
        throw;
    }
    root->SetBounds(home.Left, home.Top, home.Right - home.Left, home.Bottom - home.Top);

    const float pw = float(FPicture->Width()), ph = float(FPicture->Height());
    canvas->DrawBitmap(FPicture.get(), {0, 0, pw, ph}, {0, 0, pw - 1, ph - 1}, 1, false);
}

void TsgFrame::MakeClone() {
    if (!FSceneObject)
        return;
    if (ShowingFrame(FSceneObject)) {
        TsgCustomScene* original = FSceneObject;
        original->RemoveFreeNotification(this);
        FSceneObject = nullptr;
        auto* home = dynamic_cast<TForm*>(original->Owner());
        if (!home)
            return;
        TComponent* made = nullptr;
        Application->CreateForm(home->ClassInfo(), made);
        FCloneForm = made;
        made->FreeNotification(this);
        FSceneObject = dynamic_cast<TsgCustomScene*>(made->FindComponent(original->Name()));
        if (!FSceneObject)
            return;
        FSceneObject->FreeNotification(this);
    }
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
    if (AComponent == FCloneForm)
        FCloneForm = nullptr;
}
