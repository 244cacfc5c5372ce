// TsgPopup: a control that is hidden until opened and then shows its subtree above everything
// else, either in a popup window of its own hosting a private scene (sgPlacementSceneNew) or
// moved onto the root of its target's scene (sgPlacementSceneTarget).
//
// A popup is placed against a target object or a rectangle, may follow its target while the
// owner form moves, may run modally (a nested loop that ends with a modal result) and closes by
// itself when the user goes on to another window, unless it stays open. Open popups that do not
// stay open are kept in opening order; when one of their windows loses the activation to another
// of them, only the newer ones close, and to anything else, all of them close, newest first.
#pragma once

#include "scene/core/Sg_scene_control.h"

#include "platform/ui/Forms.h"

#include <vector>

class TsgBounds;
class TsgCustomScene;
class TsgResources;
class TsgScene;
class TsgTimer;

enum TsgPlacement {
    sgPlacementBottom,
    sgPlacementTop,
    sgPlacementLeft,
    sgPlacementRight,
    sgPlacementCenter,
    sgPlacementAbsolute,
    sgPlacementMouse
};
enum TsgPlacementScene { sgPlacementSceneNew, sgPlacementSceneTarget };

class TsgPopup;

// Where a popup of size W x Ht goes against a target of size TargetW x TargetH (R empty) or
// against the rectangle R, in the coordinates of the target or of R, before any rounding. The
// absolute and mouse placements are not computed here.
TsgPoint sgPopupPlacementPoint(TsgPlacement APlacement, const TsgRect& R, bool REmpty, float H,
                               float V, float W, float Ht, float TargetW, float TargetH);

// The window of a popup in its own scene.
class TsgPopupForm : public TForm {
    DBI_PERSISTENT(TsgPopupForm, TForm)

    explicit TsgPopupForm(TForm* AOwnerForm = nullptr);
    ~TsgPopupForm() override;

    // The form that keeps looking active and hands its keys over while the popup shows.
    TForm* OwnerForm() const { return FOwnerForm; }
    TsgPopup* Popup() const { return FPopup; }
    void SetPopup(TsgPopup* Value) { FPopup = Value; }
    bool NoFree() const { return FNoFree; }
    void SetNoFree(bool Value) { FNoFree = Value; }

    void LogicalDeactivate(TForm* Activated) override;

protected:
    void DoClose(TCloseAction& Action) override;

private:
    TForm* FOwnerForm;
    TsgPopup* FPopup = nullptr;
    bool FNoFree = false;
};

class TsgPopup : public TsgControl {
    DBI_PERSISTENT(TsgPopup, TsgControl)

    explicit TsgPopup(TComponent* AOwner);
    ~TsgPopup() override;

    bool IsOpen() const { return FIsOpen; }
    void SetIsOpen(bool Value);
    bool StaysOpen() const { return FStaysOpen; }
    void SetStaysOpen(bool Value) { FStaysOpen = Value; }
    TsgPlacement Placement() const { return FPlacement; }
    void SetPlacement(TsgPlacement Value) { FPlacement = Value; }
    TsgPlacementScene PlacementScene() const { return FPlacementScene; }
    void SetPlacementScene(TsgPlacementScene Value) { FPlacementScene = Value; }
    TsgVisualObject* PlacementTarget() const { return FPlacementTarget; }
    void SetPlacementTarget(TsgVisualObject* Value);
    // Edited in place.
    TsgBounds* PlacementRectangle() const { return FPlacementRectangle; }
    void SetPlacementRectangle(TsgBounds*) {}
    float HorizontalOffset() const { return FHorizontalOffset; }
    void SetHorizontalOffset(float Value) { FHorizontalOffset = Value; }
    float VerticalOffset() const { return FVerticalOffset; }
    void SetVerticalOffset(float Value) { FVerticalOffset = Value; }
    bool DragWithParent() const { return FDragWithParent; }
    void SetDragWithParent(bool Value) { FDragWithParent = Value; }
    TsgResources* Style() const { return FStyle; }
    void SetStyle(TsgResources* Value);
    TsgPopupForm* PopupForm() const { return FPopupForm; }
    TsgScene* PopupScene() const { return FPopupScene; }
    TModalResult ModalResult() const { return FModalResult; }
    bool Closing() const { return FAnimating; }

    virtual void ApplyPlacement();
    // The popup's own hook, beside the node notification it inherits.
    using TsgObject::FreeNotify;
    virtual void FreeNotify() {}
    virtual TModalResult PopupModal();
    virtual void Popup();
    virtual void ClosePopup();

    void Paint() override;
    void KillFocus() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnClosePopup;
    const TNotifyEvent& GetOnClosePopup() const { return OnClosePopup; }
    void SetOnClosePopup(const TNotifyEvent& Value) { OnClosePopup = Value; }

private:
    // The form the popup window belongs to: the owner of the popup's scene, else its own owner.
    TForm* FindOwnerForm();
    void OpenInNewScene();
    void OpenInTargetScene();
    // Runs the closing animations of the style to their end inside the message loop.
    void WaitClosingAnimations(TsgObject* AObject);
    void DragTimerTick(TObject*);
    TsgCustomScene* HomeScene();

    TsgObject* FSaveParent = nullptr;
    TsgCustomScene* FSaveScene = nullptr;
    TsgVisualObject* FSaveFocused = nullptr;
    TsgPopupForm* FPopupForm = nullptr;
    TsgScene* FPopupScene = nullptr;
    TForm* FKeyOwner = nullptr;
    bool FIsOpen = false;
    bool FStaysOpen = false;
    TsgPlacement FPlacement = sgPlacementBottom;
    TsgVisualObject* FPlacementTarget = nullptr;
    TsgBounds* FPlacementRectangle;
    float FHorizontalOffset = 0;
    float FVerticalOffset = 0;
    bool FDragWithParent = false;
    TsgTimer* FDragTimer = nullptr;
    bool FAnimating = false;
    TsgResources* FStyle = nullptr;
    TsgPlacementScene FPlacementScene = sgPlacementSceneNew;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
};

// The open popups that do not stay open, in opening order.
const std::vector<TsgPopup*>& sgOpenPopups();

void RegisterSgPopupUnit();
