// Small node kinds and a recording scene for the object-model tests.
#pragma once

#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"

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

// A scene host that also records every component it heard leave. Its nodes see no canvas: these
// tests are about the tree, not the drawing.
class TTestScene : public TsgOffscreenScene {
    DBI_PERSISTENT(TTestScene, TsgOffscreenScene)

    explicit TTestScene(TComponent* AOwner) : TsgOffscreenScene(AOwner, 1, 1) {}

    TsgCanvas* GetCanvas() override { return nullptr; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

    std::vector<TComponent*> Removed;
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
