// Painting of visual objects: the children of an object in order with clipping, effects and the
// drag-over frame; the object's effects rendered through cached effect pictures; and a subtree
// painted into another canvas so that the object exactly fills a rectangle (PaintTo).
//
// TsgVisualObject::PaintChildren, ApplyEffect and PaintTo are these functions on `this`.
#pragma once

#include "scene/core/Sg_scene_types.h"
#include "scene/core/Sg_scene_visual.h"

#include <cstddef>

class TsgBitmap;
class TsgCanvas;

// What an effect node offers to the painting code: where its picture is painted from and how
// the picture is turned into the effect. Effect classes implement it; without it an effect
// paints the object's picture unchanged at offset (0, 0).
class IsgEffectRendering {
public:
    virtual TsgPoint GetOffset() = 0;
    virtual void ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Bitmap, float Scale) = 0;

protected:
    ~IsgEffectRendering() = default;
};

// Paints P's visual children through P's canvas (the temporary canvas while painting into
// another target, else the scene's); only children First to Last when Last is not below First
// (long lists paint the rows they show).
void sgPaintChildren(TsgVisualObject* P, int First = 0, int Last = -1);
// Draws O's enabled effects; their pictures are rendered again when O's effects are dirty or an
// effect replaces O's painting, and copied otherwise.
void sgApplyEffect(TsgVisualObject* O);
// Paints O and its subtree into ACanvas so that O exactly fills ARect, unrotated, as a child of
// AParent (nullptr: of nothing). O's geometry, the canvas state, the temporary canvas and the
// scene's update switch are all put back afterwards, also when painting raises.
void sgPaintTo(TsgVisualObject* O, TsgCanvas* ACanvas, const TsgRect& ARect,
               TsgVisualObject* AParent);
// Paints Visual at ARect with the opacity given (brushes of style sgBrushVisual).
void sgPaintVisual(TsgCanvas* Canvas, TsgVisualObject* Visual, const TsgRect& ARect,
                   float AOpacity);
void sgSetTempCanvas(TsgVisualObject* O, TsgCanvas* ACanvas);
void sgSetInPaintTo(TsgVisualObject* O, bool Value);
// The cached picture of one effect node; nullptr before its first rendering.
TsgBitmap* sgEffectPicture(TsgObject* Effect);
// How many effect pictures are cached (each is freed with its effect node).
size_t sgEffectPictureCount();

// Frame colours.
constexpr TsgColor sgDragOverFrameColor = 0xB2F58220;
constexpr TsgColor sgDesignSelectionColor = 0xB200CC5A;
