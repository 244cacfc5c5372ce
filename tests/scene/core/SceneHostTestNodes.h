// A painted node and a recording scene for the scene host tests.
#pragma once

#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_paint.h"

#include <string>
#include <vector>

// Fills its rectangle with one colour, paints and lays out its children, and counts its paints.
class TsgHostTestRect : public TsgVisualObject {
    DBI_PERSISTENT(TsgHostTestRect, TsgVisualObject)

    explicit TsgHostTestRect(TComponent* AOwner) : TsgVisualObject(AOwner) {}
    TsgColor Color() const { return FColor; }
    void SetColor(TsgColor Value) {
        FColor = Value;
        Repaint();
    }
    void Paint() override;
    void PaintChildren() override { sgPaintChildren(this); }
    void Realign() override { sgRealign(this); }
    int Paints = 0;

private:
    TsgColor FColor = 0xFF808080;
};

// A scene that records the rectangles of every Draw and reacts to a press with a hook.
class TsgRecordingScene : public TsgScene {
    DBI_PERSISTENT(TsgRecordingScene, TsgScene)

    explicit TsgRecordingScene(TComponent* AOwner) : TsgScene(AOwner) {}
    void Draw() override;
    std::vector<std::vector<TsgRect>> Draws;
    std::function<void(int x, int y)> OnPress;

protected:
    void MouseDown(TMouseButton, TShiftState, int x, int y) override {
        if (OnPress)
            OnPress(x, y);
    }
};
