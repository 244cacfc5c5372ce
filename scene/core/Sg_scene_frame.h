// TsgFrame: shows the object tree of another scene inside this one. While it shows a scene, the
// frame borrows that scene's root as its only child (laid over the whole frame, painted, laid
// out and given input as part of this tree) and gives it back when it lets go of the scene or
// goes away. A scene's root is shown in at most one frame at a time; a second frame asking for
// the same scene works on a fresh instance of the form that owns the scene, made on its first
// paint and freed when the frame lets go of it.
//
// In the designer the frame borrows nothing: it paints a picture of the other scene's tree, laid
// out at the frame's size, and the tree stays where it is.
#pragma once

#include "scene/core/Sg_scene_visual.h"

#include <memory>

class TsgBitmap;
class TsgCustomScene;

class TsgFrame : public TsgVisualObject {
    DBI_PERSISTENT(TsgFrame, TsgVisualObject)

    explicit TsgFrame(TComponent* AOwner);
    ~TsgFrame() override;

    TsgCustomScene* SceneObject() const { return FSceneObject; }
    void SetSceneObject(TsgCustomScene* Value);
    // The frame showing the root of `AScene`, or nullptr.
    static TsgFrame* ShowingFrame(TsgCustomScene* AScene);

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    // The design-time picture of the scene's tree; nullptr until the frame painted one.
    TsgBitmap* Picture() const { return FPicture.get(); }
    // The borrowed root is never streamed with the frame.
    void GetChildren(const std::function<void(TComponent*)>&, TComponent*) override {}

private:
    void GiveBack();
    void Borrow();
    void LetGo();
    void MakeClone();
    void PaintPicture();

    bool FCloneNeeded = false;
    TsgCustomScene* FSceneObject = nullptr;
    // The copy of the scene's form made for this frame, or nullptr.
    TComponent* FCloneForm = nullptr;
    TsgObject* FBorrowed = nullptr;
    std::unique_ptr<TsgBitmap> FPicture;
};
