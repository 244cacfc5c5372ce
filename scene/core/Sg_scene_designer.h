// The designer: what a design tool offers the scenes it edits (selection, modification, unique
// names, style editing), and the hook through which a design-time scene hands its input and its
// overlay to the editing code of the design tools.
//
// The toolkit publishes one designer process-wide in sgDesigner; without one (as in the
// installer) every designer call is skipped. A scene registers with the designer set when it is
// created and leaves it when destroyed.
#pragma once

#include "scene/core/Sg_scene_types.h"

#include "platform/classes/Closure.h"
#include "platform/classes/Component.h"
#include "platform/ui/Input.h"

#include <cstdint>
#include <memory>
#include <vector>

class IsgScene;
class TsgCanvas;
class TsgCustomScene;
class TsgObject;
class TsgResources;

class TsgDesigner : public TComponent {
public:
    explicit TsgDesigner(TComponent* AOwner = nullptr) : TComponent(AOwner) {}

    // ADesigner is always the owner of the scene (the form being designed).
    virtual void SelectObject(TComponent* ADesigner, TsgObject* AObject,
                              const std::vector<TsgObject*>& MultiSelection) = 0;
    virtual void Modified(TComponent* ADesigner) = 0;
    virtual AnsiString UniqueName(TComponent* ADesigner, const AnsiString& ClassName) = 0;
    virtual bool IsSelected(TComponent* ADesigner, const TObject* AObject) = 0;
    // Each scene once; the list goes when its last scene does.
    virtual void AddScene(IsgScene* Scene);
    virtual void RemoveScene(IsgScene* Scene);
    virtual void EditStyle(TsgResources*, const UnicodeString&) {}
    virtual void AddObject(TsgObject*) {}
    virtual void DeleteObject(TsgObject*) {}
    virtual TMethod AddMethod(const AnsiString&) { return TMethod{}; }
    virtual AnsiString GetMethodName(const TMethod&) { return AnsiString(); }

    // Every registered scene selects AObject (when it is one of its objects) and repaints.
    static void CallDesignSelect(TObject* AObject);
    int SceneCount() const { return FScenes ? static_cast<int>(FScenes->size()) : 0; }

private:
    std::unique_ptr<std::vector<IsgScene*>> FScenes;
};

extern TsgDesigner* sgDesigner;

// The editing of a design-time scene: the scene passes it its mouse (scene coordinates), its
// key releases and the overlay pass of Draw, and tells it of every component that goes, so that
// it keeps no reference to a freed object.
class IsgSceneDesignEditor {
public:
    virtual ~IsgSceneDesignEditor() = default;
    virtual void DesignMouseDown(TMouseButton Button, TShiftState Shift, const TsgPoint& P) = 0;
    virtual void DesignMouseMove(TShiftState Shift, const TsgPoint& P) = 0;
    virtual void DesignMouseUp(TMouseButton Button, TShiftState Shift, const TsgPoint& P) = 0;
    virtual void DesignKeyUp(uint16_t Key, TShiftState Shift) = 0;
    virtual void DrawDesignOverlay(TsgCanvas* Canvas) = 0;
    virtual void ComponentRemoved(TComponent* AComponent) = 0;
    virtual void DoDesignSelect(TObject* AObject) = 0;
    virtual void InsertObject(const AnsiString& AClassName) = 0;
};

// Set by the design tools' unit; a design-time scene makes its editor with it on first use.
using TsgSceneDesignEditorFactory = IsgSceneDesignEditor* (*)(TsgCustomScene* Scene);
extern TsgSceneDesignEditorFactory sgSceneDesignEditorFactory;
