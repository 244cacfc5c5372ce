// Small node kinds and a recording scene for the object-model tests.
#pragma once

#include "scene/core/Sg_scene.h"

#include <vector>

// A visual object that owns every kind of attribute object, as shapes and text controls do.
class TsgTestShape : public TsgVisualObject {
    DBI_PERSISTENT(TsgTestShape, TsgVisualObject)

    explicit TsgTestShape(TComponent* AOwner);
    ~TsgTestShape() override;

    TsgBrush* Fill() const { return FFill; }
    void SetFill(TsgBrush* V) { FFill->Assign(V); }
    TsgBrush* Stroke() const { return FStroke; }
    void SetStroke(TsgBrush* V) { FStroke->Assign(V); }
    TsgFont* Font() const { return FFont; }
    void SetFont(TsgFont* V) { FFont->Assign(V); }
    TsgPathData* Path() const { return FPath; }
    void SetPath(TsgPathData* V) { FPath->Assign(V); }
    int RealignCount = 0;
    void Realign() override { ++RealignCount; }

private:
    TsgBrush* FFill;
    TsgBrush* FStroke;
    TsgFont* FFont;
    TsgPathData* FPath;
};

class TsgTestAnimation : public TsgObject {
    DBI_PERSISTENT(TsgTestAnimation, TsgObject)

    explicit TsgTestAnimation(TComponent* AOwner) : TsgObject(AOwner) {}
    const AnsiString& Trigger() const { return FTrigger; }
    void SetTrigger(const AnsiString& V) { FTrigger = V; }

    bool IsAnimation() const override { return true; }
    AnsiString AnimationTrigger() const override { return FTrigger; }
    void AnimationStart() override { Running = true; }
    void AnimationStop() override { Running = false; }
    void AnimationStartTrigger(TsgObject*, const AnsiString& ATrigger) override {
        if (!FTrigger.IsEmpty() && FTrigger == ATrigger)
            Running = true;
    }
    bool Running = false;

private:
    AnsiString FTrigger;
};

class TsgTestEffect : public TsgObject {
    DBI_PERSISTENT(TsgTestEffect, TsgObject)

    explicit TsgTestEffect(TComponent* AOwner) : TsgObject(AOwner) {}
    bool IsEffect() const override { return true; }
    bool EffectEnabled() const override { return Enabled; }
    AnsiString EffectTrigger() const override { return Trigger; }
    bool Enabled = false;
    AnsiString Trigger;
};

// A scene host that records what the nodes ask of it.
class TTestScene : public TComponent, public IsgScene {
    DBI_PERSISTENT(TTestScene, TComponent)

    explicit TTestScene(TComponent* AOwner) : TComponent(AOwner) {}

    void AddObject(TsgObject* AObject) override;
    void RemoveObject(TsgObject* AObject) override;
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void EndUpdateWOInvalidate() override {}
    void BeginDrag() override {}
    void BeginResize() override {}
    void AddUpdateRect(const TsgRect& R) override { UpdateRects.push_back(R); }
    void InsertObject(const AnsiString&) override {}
    TsgControl* GetActiveControl() override { return nullptr; }
    bool GetDisableUpdate() override { return false; }
    void SetDisableUpdate(bool) override {}
    bool GetDesignTime() override { return false; }
    TsgCanvas* GetCanvas() override { return nullptr; }
    TsgObject* GetRoot() override { return Roots.empty() ? nullptr : Roots.front(); }
    TComponent* GetOwner() override { return Owner(); }
    TComponent* GetComponent() override { return this; }
    TsgResources* GetStyle() override { return nullptr; }
    void SetStyle(TsgResources*) override {}
    bool GetTransparency() override { return false; }
    void UpdateResource() override {}
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TsgVisualObject* GetSelected() override { return nullptr; }
    TsgVisualObject* GetDesignPlaceObject() override { return nullptr; }
    int GetUpdateRectsCount() override { return int(UpdateRects.size()); }
    TsgRect GetUpdateRect(int Index) override { return UpdateRects[size_t(Index)]; }
    void SetCaptured(TsgVisualObject*) override {}
    TsgVisualObject* GetCaptured() override { return nullptr; }
    void SetFocused(TsgVisualObject* Value) override { Focused = Value; }
    TsgVisualObject* GetFocused() override { return Focused; }
    void SetDesignRoot(TsgVisualObject*) override {}
    TsgPoint GetMousePos() override { return {}; }
    TsgPoint LocalToScreen(const TsgPoint& P) override { return P; }
    TCustomControl* BeginNativeDrag(TObject*) override { return nullptr; }
    void DoDesignSelect(TObject*) override {}
    bool GetAnimatedCaret() override { return false; }

    std::vector<TsgObject*> Roots;
    std::vector<TsgRect> UpdateRects;
    std::vector<TComponent*> Removed;
    TsgVisualObject* Focused = nullptr;
};

// The placeholder of a style where a container shows its own children.
class TsgTestContent : public TsgVisualObject {
    DBI_PERSISTENT(TsgTestContent, TsgVisualObject)

    explicit TsgTestContent(TComponent* AOwner) : TsgVisualObject(AOwner) {}
    bool IsContent() const override { return true; }
};

// Sets a protected state of a visual object for tests.
class TsgTestFocusable : public TsgVisualObject {
    DBI_PERSISTENT(TsgTestFocusable, TsgVisualObject)

    explicit TsgTestFocusable(TComponent* AOwner) : TsgVisualObject(AOwner) { SetCanFocused(true); }
    void TakeFocus() {
        SetFocusedState(true);
        if (IsgScene* s = Scene())
            s->SetFocused(this);
    }
};
