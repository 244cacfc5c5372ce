#include "scene/core/Sg_objects_shape.h"

DBI_PUBLISH(TsgShape) {}

TsgShape::TsgShape(TComponent* AOwner, TsgBrushStyle AFillStyle, TsgColor AFillColor,
                   TsgBrushStyle AStrokeStyle)
    : TsgVisualObject(AOwner), FFill(new TsgBrush(AFillStyle, AFillColor)),
      FStroke(new TsgBrush(AStrokeStyle, 0xFF000000)) {
    FFill->SetParentObject(this);
    FFill->OnChanged = TNotifyEvent::Bind<&TsgShape::FillNotice>(this);
    FStroke->SetParentObject(this);
    FStroke->OnChanged = TNotifyEvent::Bind<&TsgShape::StrokeNotice>(this);
}

TsgShape::~TsgShape() {
    BeforeDestruction();
    delete FStroke;
    delete FFill;
}

void TsgShape::SetStrokeThickness(float Value) {
    if (Value == FStrokeThickness)
        return;
    FStrokeThickness = Value;
    MarkEffects();
    Repaint();
}

void TsgShape::SetStrokeCap(TsgStrokeCap Value) {
    if (Value == FStrokeCap)
        return;
    FStrokeCap = Value;
    MarkEffects();
    Repaint();
}

void TsgShape::SetStrokeJoin(TsgStrokeJoin Value) {
    if (Value == FStrokeJoin)
        return;
    FStrokeJoin = Value;
    MarkEffects();
    Repaint();
}

void TsgShape::SetStrokeDash(TsgStrokeDash Value) {
    if (Value == FStrokeDash)
        return;
    FStrokeDash = Value;
    MarkEffects();
    Repaint();
}

TsgRect TsgShape::GetShapeRect() const {
    TsgRect r{0, 0, Width(), Height()};
    if (FStroke->Style() != sgBrushNone) {
        const float half = FStrokeThickness / 2;
        r = {half, half, Width() - half, Height() - half};
    }
    return r;
}

void TsgShape::FillChanged() {
    Repaint();
    MarkEffects();
}

void TsgShape::StrokeChanged() {
    Repaint();
    MarkEffects();
}

void TsgShape::BeforePaint() {
    TsgVisualObject::BeforePaint();
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    canvas->Fill()->Assign(FFill);
    canvas->Stroke()->Assign(FStroke);
    canvas->StrokeThickness = FStrokeThickness;
    canvas->StrokeCap = FStrokeCap;
    canvas->StrokeJoin = FStrokeJoin;
    canvas->SetStrokeDash(FStrokeDash);
}

void TsgShape::AfterPaint() {
    TsgVisualObject::AfterPaint();
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    canvas->SetStrokeDash(sgDashSolid);
    canvas->StrokeThickness = 1;
}
