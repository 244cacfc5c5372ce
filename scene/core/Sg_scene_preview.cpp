#include "scene/core/Sg_scene_preview.h"

#include "scene/core/Sg_scene_paint.h"

DBI_PUBLISH(TsgPreviewShape) {
    using S = TsgPreviewShape;
    p.Enumeration("Kind", &S::Kind, &S::SetKind,
                  {"pkRectangle", "pkEllipse", "pkLine", "pkPath", "pkText", "pkImage"},
                  pkRectangle);
    p.Object("Fill", &S::Fill, &S::SetFill);
    p.Object("Stroke", &S::Stroke, &S::SetStroke);
    p.Float("StrokeThickness", &S::StrokeThickness, &S::SetStrokeThickness, 1);
    p.Enumeration("StrokeDash", &S::StrokeDash, &S::SetStrokeDash,
                  {"sgDashSolid", "sgDashDash", "sgDashDot", "sgDashDashDot", "sgDashDashDotDot",
                   "sgDashCustom"},
                  sgDashSolid);
    p.Float("XRadius", &S::XRadius, &S::SetXRadius);
    p.Float("YRadius", &S::YRadius, &S::SetYRadius);
    p.Object("Font", &S::Font, &S::SetFont);
    p.String("Text", &S::Text, &S::SetText);
    p.Boolean("WordWrap", &S::WordWrap, &S::SetWordWrap, false);
    p.Enumeration("TextAlign", &S::TextAlign, &S::SetTextAlign,
                  {"sgTextAlignCenter", "sgTextAlignNear", "sgTextAlignFar"}, sgTextAlignCenter);
    p.Enumeration("VTextAlign", &S::VTextAlign, &S::SetVTextAlign,
                  {"sgTextAlignCenter", "sgTextAlignNear", "sgTextAlignFar"}, sgTextAlignCenter);
    p.Object("Path", &S::Path, &S::SetPath);
    p.Object("Bitmap", &S::Bitmap, &S::SetBitmap);
    p.String("FileName", &S::FileName, &S::SetFileName);
}

TsgPreviewShape::TsgPreviewShape(TComponent* AOwner)
    : TsgVisualObject(AOwner), FFill(new TsgBrush(sgBrushSolid, 0xFFFFFFFF)),
      FStroke(new TsgBrush(sgBrushSolid, 0xFF000000)), FFont(new TsgFont()),
      FPath(new TsgPathData()), FBitmap(new TsgBitmap(1, 1)) {
    FFill->SetParentObject(this);
    FStroke->SetParentObject(this);
    FFill->OnChanged = TNotifyEvent::Bind<&TsgPreviewShape::BrushChanged>(this);
    FStroke->OnChanged = TNotifyEvent::Bind<&TsgPreviewShape::BrushChanged>(this);
}

TsgPreviewShape::~TsgPreviewShape() {
    BeforeDestruction();
    delete FFill;
    delete FStroke;
    delete FFont;
    delete FPath;
    delete FBitmap;
}

void TsgPreviewShape::SetFileName(const UnicodeString& Value) {
    FFileName = Value;
    if (!Value.IsEmpty())
        FBitmap->LoadFromFile(Value);
}

void TsgPreviewShape::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    canvas->Fill()->Assign(FFill);
    canvas->Stroke()->Assign(FStroke);
    canvas->StrokeThickness = FStrokeThickness;
    canvas->SetStrokeDash(FStrokeDash);
    const float opacity = AbsoluteOpacity();
    // Outlines are drawn inside the rectangle, as the toolkit's shapes do.
    TsgRect r = LocalRect();
    TsgRect inner = r;
    const float half = FStroke->Style() == sgBrushNone ? 0 : FStrokeThickness / 2;
    inner.Left += half;
    inner.Top += half;
    inner.Right -= half;
    inner.Bottom -= half;
    switch (FKind) {
    case pkRectangle:
        canvas->FillRect(inner, FXRadius, FYRadius, AllCorners, opacity);
        canvas->DrawRect(inner, FXRadius, FYRadius, AllCorners, opacity);
        break;
    case pkEllipse:
        canvas->FillEllipse(inner, opacity);
        canvas->DrawEllipse(inner, opacity);
        break;
    case pkLine:
        canvas->DrawLine({r.Left, r.Top}, {r.Right, r.Bottom}, opacity);
        break;
    case pkPath:
        canvas->FillPath(FPath, inner, opacity);
        canvas->DrawPath(FPath, inner, opacity);
        break;
    case pkText:
        canvas->Font()->Assign(FFont);
        canvas->FillText(r, r, FText, FWordWrap, opacity, FTextAlign, FVTextAlign);
        break;
    case pkImage:
        canvas->DrawBitmap(FBitmap, {0, 0, float(FBitmap->Width()), float(FBitmap->Height())}, r,
                           opacity, false);
        break;
    }
}

void TsgPreviewShape::PaintChildren() {
    sgPaintChildren(this);
}
