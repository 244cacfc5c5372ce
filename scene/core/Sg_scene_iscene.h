// IsgScene: what the window that hosts an object tree offers to every node of it.
//
// Nodes reach their host only through this interface, so the tree never depends on the window
// class. The scene's lifetime belongs to its owner: holding an IsgScene pointer keeps nothing
// alive, and a scene tells its nodes (through their destruction protocol) nothing; it is the
// nodes that call Notification and RemoveObject on the scene when they go. Notification with
// opRemove reaches the scene for every node of a freed subtree, so it can drop its focus,
// capture and hover references.
#pragma once

#include "scene/core/Sg_scene_types.h"

#include "platform/classes/Component.h"

class TsgObject;
class TsgVisualObject;
class TsgCanvas;
class TsgResources;
class TsgControl;
class TCustomControl;

class IsgScene {
public:
    // Top-level objects. A node that is destroyed without a parent calls RemoveObject with
    // itself, also when it was never one of the scene's top-level objects (a subtree freed by
    // its parent): such calls must change nothing.
    virtual void AddObject(TsgObject* AObject) = 0;
    virtual void RemoveObject(TsgObject* AObject) = 0;

    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    virtual void EndUpdateWOInvalidate() = 0;
    virtual void BeginDrag() = 0;
    virtual void BeginResize() = 0;
    // Invalidates a rectangle in scene coordinates.
    virtual void AddUpdateRect(const TsgRect& R) = 0;
    virtual void InsertObject(const AnsiString& ClassName) = 0;
    virtual TsgControl* GetActiveControl() = 0;
    virtual bool GetDisableUpdate() = 0;
    virtual void SetDisableUpdate(bool Value) = 0;
    virtual bool GetDesignTime() = 0;
    virtual TsgCanvas* GetCanvas() = 0;
    virtual TsgObject* GetRoot() = 0;
    virtual TComponent* GetOwner() = 0;
    virtual TComponent* GetComponent() = 0;
    virtual TsgResources* GetStyle() = 0;
    virtual void SetStyle(TsgResources* Value) = 0;
    virtual bool GetTransparency() = 0;
    virtual void UpdateResource() = 0;
    virtual void Notification(TComponent* AComponent, TOperation Operation) = 0;
    virtual TsgVisualObject* GetSelected() = 0;
    virtual TsgVisualObject* GetDesignPlaceObject() = 0;
    virtual int GetUpdateRectsCount() = 0;
    // The caller keeps Index below GetUpdateRectsCount.
    virtual TsgRect GetUpdateRect(int Index) = 0;
    virtual void SetCaptured(TsgVisualObject* Value) = 0;
    virtual TsgVisualObject* GetCaptured() = 0;
    virtual void SetFocused(TsgVisualObject* Value) = 0;
    virtual TsgVisualObject* GetFocused() = 0;
    virtual void SetDesignRoot(TsgVisualObject* Value) = 0;
    virtual TsgPoint GetMousePos() = 0;
    virtual TsgPoint LocalToScreen(const TsgPoint& P) = 0;
    virtual TCustomControl* BeginNativeDrag(TObject* Source) = 0;
    virtual void DoDesignSelect(TObject* AObject) = 0;
    virtual bool GetAnimatedCaret() = 0;

protected:
    ~IsgScene() = default;
};
