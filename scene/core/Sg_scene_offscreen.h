// TsgOffscreenScene: a scene host without a window. It owns a buffered canvas of the given size
// and draws its top-level objects into it exactly as a window's scene does on repaint, so tools,
// benchmarks and tests render object trees headless and read the pixels back.
#pragma once

#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_visual.h"

#include "platform/classes/Component.h"

#include <memory>
#include <vector>

class TsgOffscreenScene : public TComponent, public IsgScene {
    DBI_PERSISTENT(TsgOffscreenScene, TComponent)

    TsgOffscreenScene(TComponent* AOwner, int AWidth, int AHeight);
    ~TsgOffscreenScene() override;

    TsgCanvas* Canvas() const { return FCanvas.get(); }
    // Clears the buffer to Background inside the pending update rectangles (all of the buffer
    // when there are none), paints every top-level object there, then forgets the rectangles.
    void PaintScene(TsgColor Background);
    // Marks the whole buffer for the next PaintScene.
    void InvalidateAll();
    const std::vector<TsgObject*>& Objects() const { return FObjects; }

    void AddObject(TsgObject* AObject) override;
    void RemoveObject(TsgObject* AObject) override;
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void EndUpdateWOInvalidate() override {}
    void BeginDrag() override {}
    void BeginResize() override {}
    void AddUpdateRect(const TsgRect& R) override;
    void InsertObject(const AnsiString&) override {}
    TsgControl* GetActiveControl() override { return nullptr; }
    bool GetDisableUpdate() override { return FDisableUpdate; }
    void SetDisableUpdate(bool Value) override { FDisableUpdate = Value; }
    bool GetDesignTime() override { return false; }
    TsgCanvas* GetCanvas() override { return FCanvas.get(); }
    TsgObject* GetRoot() override { return FObjects.empty() ? nullptr : FObjects.front(); }
    TComponent* GetOwner() override { return Owner(); }
    TComponent* GetComponent() override { return this; }
    TsgResources* GetStyle() override { return nullptr; }
    void SetStyle(TsgResources*) override {}
    bool GetTransparency() override { return false; }
    void UpdateResource() override {}
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TsgVisualObject* GetSelected() override { return nullptr; }
    TsgVisualObject* GetDesignPlaceObject() override { return nullptr; }
    int GetUpdateRectsCount() override { return int(FUpdateRects.size()); }
    TsgRect GetUpdateRect(int Index) override { return FUpdateRects[size_t(Index)]; }
    void SetCaptured(TsgVisualObject*) override {}
    TsgVisualObject* GetCaptured() override { return nullptr; }
    void SetFocused(TsgVisualObject* Value) override { FFocused = Value; }
    TsgVisualObject* GetFocused() override { return FFocused; }
    void SetDesignRoot(TsgVisualObject*) override {}
    TsgPoint GetMousePos() override { return {}; }
    TsgPoint LocalToScreen(const TsgPoint& P) override { return P; }
    TCustomControl* BeginNativeDrag(TObject*) override { return nullptr; }
    void DoDesignSelect(TObject*) override {}
    bool GetAnimatedCaret() override { return false; }

private:
    std::unique_ptr<TsgCanvas> FCanvas;
    std::vector<TsgObject*> FObjects;
    std::vector<TsgRect> FUpdateRects;
    bool FDisableUpdate = false;
    TsgVisualObject* FFocused = nullptr;
};
