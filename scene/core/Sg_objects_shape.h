// TsgShape: the base of the drawable leaves of the scene graph, a visual object that paints one
// figure with a fill brush and a stroke brush.
//
// Before a shape paints, the scene canvas takes copies of its brushes and stroke settings, so a
// figure's Paint only passes geometry; afterwards the canvas's dash and stroke width go back to
// solid and 1. A change inside either brush repaints the shape and marks its effects for update.
//
// The base publishes nothing: each figure publishes the properties it uses (a line, for one, has
// no fill), through PublishShapeStroke and PublishShapeFill.
#pragma once

#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_visual.h"

class TsgShape : public TsgVisualObject {
    DBI_PERSISTENT(TsgShape, TsgVisualObject)

    explicit TsgShape(TComponent* AOwner) : TsgShape(AOwner, sgBrushSolid, 0xFFE0E0E0) {}
    ~TsgShape() override;

    TsgBrush* Fill() const { return FFill; }
    void SetFill(TsgBrush* Value) { FFill->Assign(Value); }
    TsgBrush* Stroke() const { return FStroke; }
    void SetStroke(TsgBrush* Value) { FStroke->Assign(Value); }
    float StrokeThickness() const { return FStrokeThickness; }
    void SetStrokeThickness(float Value);
    TsgStrokeCap StrokeCap() const { return FStrokeCap; }
    void SetStrokeCap(TsgStrokeCap Value);
    TsgStrokeJoin StrokeJoin() const { return FStrokeJoin; }
    void SetStrokeJoin(TsgStrokeJoin Value);
    TsgStrokeDash StrokeDash() const { return FStrokeDash; }
    void SetStrokeDash(TsgStrokeDash Value);
    // The local rectangle, inset by half the stroke width on every side when the stroke shows.
    TsgRect GetShapeRect() const;
    TsgRect ShapeRect() const { return GetShapeRect(); }

    void BeforePaint() override;
    void AfterPaint() override;

protected:
    // A fill of the given default style and colour: the text's black fill and the arc's empty
    // one are not written to streams.
    TsgShape(TComponent* AOwner, TsgBrushStyle AFillStyle, TsgColor AFillColor,
             TsgBrushStyle AStrokeStyle = sgBrushSolid);

    virtual void FillChanged();
    virtual void StrokeChanged();
    // The effects picture is drawn again on the next paint (when the object has effects).
    void MarkEffects() { UpdateEffects(); }

private:
    void FillNotice(TObject*) { FillChanged(); }
    void StrokeNotice(TObject*) { StrokeChanged(); }

    TsgBrush* FFill;
    float FStrokeThickness = 1;
    TsgBrush* FStroke;
    TsgStrokeCap FStrokeCap = sgCapFlat;
    TsgStrokeJoin FStrokeJoin = sgJoinMiter;
    TsgStrokeDash FStrokeDash = sgDashSolid;
};

// The stroke properties every figure publishes, in the order streams write them.
template <class S>
void PublishShapeStroke(TPublisher<S>& p) {
    p.Object("Stroke", &TsgShape::Stroke, &TsgShape::SetStroke);
    p.Enumeration("StrokeCap", &TsgShape::StrokeCap, &TsgShape::SetStrokeCap,
                  {"sgCapFlat", "sgCapRound"}, sgCapFlat);
    p.Enumeration("StrokeDash", &TsgShape::StrokeDash, &TsgShape::SetStrokeDash,
                  {"sgDashSolid", "sgDashDash", "sgDashDot", "sgDashDashDot", "sgDashDashDotDot",
                   "sgDashCustom"},
                  sgDashSolid);
    p.Enumeration("StrokeJoin", &TsgShape::StrokeJoin, &TsgShape::SetStrokeJoin,
                  {"sgJoinMiter", "sgJoinRound", "sgJoinBevel"}, sgJoinMiter);
    p.Float("StrokeThickness", &TsgShape::StrokeThickness, &TsgShape::SetStrokeThickness, 1);
}

template <class S>
void PublishShapeFill(TPublisher<S>& p) {
    p.Object("Fill", &TsgShape::Fill, &TsgShape::SetFill);
}
