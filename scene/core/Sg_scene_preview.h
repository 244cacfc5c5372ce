// TsgPreviewShape: a development node that draws one primitive of the canvas (rectangle,
// ellipse, line, path, text or picture) with its own fill, stroke and font, and paints its
// children. The render tool and the repaint benchmark build their scenes from it, so the canvas
// and the painting of object trees can be looked at before the real shapes exist.
#pragma once

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_font.h"
#include "scene/core/Sg_scene_path.h"
#include "scene/core/Sg_scene_visual.h"

enum TsgPreviewKind {
    pkRectangle = 0,
    pkEllipse = 1,
    pkLine = 2,
    pkPath = 3,
    pkText = 4,
    pkImage = 5,
};

class TsgPreviewShape : public TsgVisualObject {
    DBI_PERSISTENT(TsgPreviewShape, TsgVisualObject)

    explicit TsgPreviewShape(TComponent* AOwner);
    ~TsgPreviewShape() override;

    TsgPreviewKind Kind() const { return FKind; }
    void SetKind(TsgPreviewKind Value) { FKind = Value; }
    TsgBrush* Fill() const { return FFill; }
    void SetFill(TsgBrush* Value) { FFill->Assign(Value); }
    TsgBrush* Stroke() const { return FStroke; }
    void SetStroke(TsgBrush* Value) { FStroke->Assign(Value); }
    float StrokeThickness() const { return FStrokeThickness; }
    void SetStrokeThickness(float Value) { FStrokeThickness = Value; }
    TsgStrokeDash StrokeDash() const { return FStrokeDash; }
    void SetStrokeDash(TsgStrokeDash Value) { FStrokeDash = Value; }
    float XRadius() const { return FXRadius; }
    void SetXRadius(float Value) { FXRadius = Value; }
    float YRadius() const { return FYRadius; }
    void SetYRadius(float Value) { FYRadius = Value; }
    TsgFont* Font() const { return FFont; }
    void SetFont(TsgFont* Value) { FFont->Assign(Value); }
    const UnicodeString& Text() const { return FText; }
    void SetText(const UnicodeString& Value) { FText = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }
    TsgTextAlign TextAlign() const { return FTextAlign; }
    void SetTextAlign(TsgTextAlign Value) { FTextAlign = Value; }
    TsgTextAlign VTextAlign() const { return FVTextAlign; }
    void SetVTextAlign(TsgTextAlign Value) { FVTextAlign = Value; }
    TsgPathData* Path() const { return FPath; }
    void SetPath(TsgPathData* Value) { FPath->Assign(Value); }
    TsgBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TsgBitmap* Value) { FBitmap->Assign(Value); }
    // A picture file loaded into Bitmap (relative names from the working folder).
    const UnicodeString& FileName() const { return FFileName; }
    void SetFileName(const UnicodeString& Value);

    void Paint() override;
    void PaintChildren() override;

private:
    // A changed fill or outline shows at once (animations write brush colours).
    void BrushChanged(TObject*) {
        UpdateEffects();
        Repaint();
    }

    TsgPreviewKind FKind = pkRectangle;
    TsgBrush* FFill;
    TsgBrush* FStroke;
    float FStrokeThickness = 1;
    TsgStrokeDash FStrokeDash = sgDashSolid;
    float FXRadius = 0;
    float FYRadius = 0;
    TsgFont* FFont;
    UnicodeString FText;
    bool FWordWrap = false;
    TsgTextAlign FTextAlign = sgTextAlignCenter;
    TsgTextAlign FVTextAlign = sgTextAlignCenter;
    TsgPathData* FPath;
    TsgBitmap* FBitmap;
    UnicodeString FFileName;
};
