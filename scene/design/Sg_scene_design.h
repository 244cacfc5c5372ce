// TsgSceneDesign: the editing of a scene in design state. A click selects an object, handles
// around the selection resize and rotate it, dragging moves it with snapping to a grid or to the
// edges and centres of its siblings, ALT-dragging moves it into another object and Delete frees
// it. The scene reaches it through IsgSceneDesignEditor; it talks to the surrounding tool only
// through sgDesigner, and edits without one (names are then not made unique, nothing reported).
//
// Every object reference it keeps (selection, further selected objects, placement target, guide
// siblings) is dropped when that object goes.
#pragma once

#include "scene/core/Sg_scene_designer.h"
#include "scene/core/Sg_scene_host.h"

#include <memory>
#include <vector>

class TMenuItem;
class TPopupMenu;
class TsgControl;
class TsgListBox;
class TsgResources;

class TsgSceneDesign : public IsgSceneDesignEditor {
public:
    // The handles of the selection, in the order they are tested.
    enum THandle {
        hRotate,
        hLeftTop,
        hRightTop,
        hLeftBottom,
        hRightBottom,
        hTop,
        hBottom,
        hLeft,
        hRight,
        hNone
    };

    explicit TsgSceneDesign(TsgCustomScene* AScene);
    ~TsgSceneDesign() override;

    // The editor of a scene, made when the scene is in design state; nullptr otherwise.
    static TsgSceneDesign* Of(TsgCustomScene* Scene);

    TsgVisualObject* Selected() const { return FScene->GetSelected(); }
    void SetSelected(TsgVisualObject* Value);
    const std::vector<TsgObject*>& Selection() const { return FSelection; }
    const std::vector<TsgVisualObject*>& GridLines() const { return FDesignGridLines; }
    TsgVisualObject* PlaceObject() const { return FScene->GetDesignPlaceObject(); }
    TNotifyEvent DesignChangeSelection;

    // The switches live in the scene, which streams them.
    bool SnapToGrid() const { return FScene->DesignSnapToGrid(); }
    void SetSnapToGrid(bool Value) { FScene->SetDesignSnapToGrid(Value); }
    bool SnapToLines() const { return FScene->DesignSnapToLines(); }
    void SetSnapToLines(bool Value) { FScene->SetDesignSnapToLines(Value); }
    bool SnapGridShow() const { return FScene->DesignSnapGridShow(); }
    void SetSnapGridShow(bool Value);
    float SnapGridSize() const { return FSnapGridSize; }
    void SetSnapGridSize(float Value);

    float SnapToGridValue(float X) const;
    void SnapToGridLines(bool Snap);
    TsgPoint SnapPointToGridLines(const TsgPoint& P);
    void AddUpdateRectsFromGridLines();
    // The handle of the selection under a scene point, first in table order; hNone without one.
    THandle HandleAt(const TsgPoint& P);
    // A handle's square in the selection's local coordinates.
    TsgRect HandleRect(THandle H);
    bool HandleHot(THandle H) const { return H < hNone && FHot[H]; }
    // The drag in progress: hNone with FMoving for a move.
    bool Moving() const { return FMoving; }
    THandle DragHandle() const { return FDrag; }

    // IsgSceneDesignEditor.
    void DesignMouseDown(TMouseButton Button, TShiftState Shift, const TsgPoint& P) override;
    void DesignMouseMove(TShiftState Shift, const TsgPoint& P) override;
    void DesignMouseUp(TMouseButton Button, TShiftState Shift, const TsgPoint& P) override;
    void DesignKeyUp(uint16_t Key, TShiftState Shift) override;
    void DrawDesignOverlay(TsgCanvas* Canvas) override;
    void ComponentRemoved(TComponent* AComponent) override;
    void DoDesignSelect(TObject* AObject) override;
    void InsertObject(const AnsiString& AClassName) override;

    // The design menu (Sg_scene_design_popup.cpp): built anew from the selection and the class
    // registry at every opening and shown at the pointer. Nothing when DesignPopupEnabled is off.
    void OpenDesignPopup();
    bool DesignPopupEnabled() const { return FDesignPopupEnabled; }
    void SetDesignPopupEnabled(bool Value) { FDesignPopupEnabled = Value; }
    TPopupMenu* DesignPopup() const { return FDesignPopup.get(); }
    // The design clipboard: the text-form stream of the last object copied (process-wide; the
    // system clipboard is left alone).
    void CopyElement(TObject* Sender);
    void PasteElement(TObject* Sender);
    static AnsiString& DesignClipboard();

    // The tab-order editor: fills the list with the selection's siblings in tab order (keeping
    // the row's object selected), and moves the object behind the selected row one place up or
    // down ("Up" and "Down" buttons, whose TagObject is the list).
    void doDesignTabOrderRebuildList(TsgListBox* List);
    void doDesignTabOrderBtnClick(TObject* Sender);

    // Where InsertObject places a new visual object (scene client coordinates); (-1, -1) when
    // nowhere in particular. The popup menu sets it.
    TPoint PopupPos{-1, -1};

private:
    // Menu handlers; Sender is the chosen item.
    void doDesignPopupAddItem(TObject* Sender);
    void doDesignPopupAdd(TObject* Sender);
    void doDesignPopupDel(TObject* Sender);
    void doDesignPopupLoadFromFile(TObject* Sender);
    void doDesignPopupDesignHide(TObject* Sender);
    void doDesignPopupReorder(TObject* Sender);
    void doDesignPopupCopy(TObject* Sender);
    void doDesignPopupPaste(TObject* Sender);
    void doDesignPopupGrid(TObject* Sender);
    // Style editing (Sg_scene_design_style.cpp): the selected control's style copied into the
    // scene's style container under its default name, or under a name of its own.
    void doDesignPopupEditStyle(TObject* Sender);
    void doDesignPopupCreateStyle(TObject* Sender);
    // The scene's style container with a root, made when missing.
    TsgResources* StyleContainer();
    // Shows the tab-order editor for the selection's siblings (Sg_scene_design_taborder.cpp).
    void doDesignPopupTabOrder(TObject* Sender);
    // Puts a tree made from a text-form stream under the selection (or the root) and names it.
    void AddStreamedTree(TStream& Stream);
    void InvalidateAll();

    // A press of any button: handles, selection and the start of a move.
    void Press(TShiftState Shift, const TsgPoint& P);
    bool Resizable() const;
    void ChangeSelection(TsgVisualObject* Value);
    void FireChangeSelection();
    void SetPlaceObject(TsgVisualObject* Value);
    void AddGuide(TsgVisualObject* S);
    void EnsureRoot();
    TsgVisualObject* SelectionParent() const;
    void Rotate();
    void Resize();
    void Move(TShiftState Shift);
    void DrawGuides(TsgCanvas* Canvas);
    void DrawPlaceLabel(TsgCanvas* Canvas);

    TsgCustomScene* FScene;
    std::vector<TsgObject*> FSelection;
    std::vector<TsgVisualObject*> FDesignGridLines;
    TsgPoint FMousePos{}, FUnsnapMousePos{}, FDownPos{};
    bool FMoving = false;
    THandle FDrag = hNone;
    bool FHot[hNone] = {};
    float FSnapGridSize = 1;
    std::unique_ptr<TPopupMenu> FDesignPopup;
    bool FDesignPopupEnabled = true;
};

// Lets design-time scenes edit themselves (sets the scene's editor factory).
void RegisterSgDesignUnit();
