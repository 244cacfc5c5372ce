// The drawable leaves of the scene graph: figures (line, ellipse, circle, pie, eaten pie, arc,
// rectangles, blur rectangles), text, image, path and paint box. Style trees are made mostly of
// them, and controls find them by name inside their cloned styles.
//
// Every figure passes its geometry to the canvas unchanged (limiting radii, drawing corner types
// and dash patterns is the canvas's work) with the object's absolute opacity; "fill then draw"
// is the canvas's fill operation followed by its stroke operation on the same geometry.
#pragma once

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_objects_shape.h"
#include "scene/core/Sg_objects_text.h"
#include "scene/core/Sg_scene_bounds.h"
#include "scene/core/Sg_scene_path.h"

#include "platform/classes/Closure.h"

#include <functional>
#include <memory>

enum TsgLineType { sgLineNormal = 0, sgLineHorizontal = 1, sgLineVertical = 2 };
enum TsgImageWrap { sgImageOriginal = 0, sgImageFit = 1, sgImageStretch = 2, sgImageTile = 3 };
enum TsgPathWrap { sgPathOriginal = 0, sgPathFit = 1, sgPathStretch = 2, sgPathTile = 3 };

// A diagonal, horizontal or vertical line across the shape rectangle; no fill.
class TsgLine : public TsgShape {
    DBI_PERSISTENT(TsgLine, TsgShape)

    explicit TsgLine(TComponent* AOwner) : TsgShape(AOwner) {}

    TsgLineType LineType() const { return FLineType; }
    void SetLineType(TsgLineType Value);
    void Paint() override;

private:
    TsgLineType FLineType = sgLineNormal;
};

class TsgEllipse : public TsgShape {
    DBI_PERSISTENT(TsgEllipse, TsgShape)

    explicit TsgEllipse(TComponent* AOwner) : TsgShape(AOwner) {}

    void Paint() override;
    // Inside the ellipse of the whole object; an object without area is never hit.
    bool PointInObject(float X, float Y) override;

protected:
    TsgEllipse(TComponent* AOwner, TsgBrushStyle AFillStyle)
        : TsgShape(AOwner, AFillStyle, 0xFFE0E0E0) {}
};

// The largest whole-unit square that fits the shape rectangle, centred.
class TsgCircle : public TsgEllipse {
    DBI_PERSISTENT(TsgCircle, TsgEllipse)

    explicit TsgCircle(TComponent* AOwner) : TsgEllipse(AOwner) {}

    TsgRect CircleRect() const;
    void Paint() override;
};

// A pie slice from StartAngle to EndAngle (degrees); its radius is always inset by half the
// stroke width, whether the stroke shows or not.
class TsgPie : public TsgEllipse {
    DBI_PERSISTENT(TsgPie, TsgEllipse)

    explicit TsgPie(TComponent* AOwner) : TsgEllipse(AOwner) {}

    float StartAngle() const { return FStartAngle; }
    void SetStartAngle(float Value);
    float EndAngle() const { return FEndAngle; }
    void SetEndAngle(float Value);
    // The figure as painted, in local coordinates.
    virtual void BuildPath(TsgPathData& Path);
    void Paint() override;
    // Inside the painted figure when a canvas can tell; else the ellipse test.
    bool PointInObject(float X, float Y) override;

protected:
    TsgPoint Center() const { return {Width() / 2, Height() / 2}; }
    TsgPoint OuterRadius() const {
        return {(Width() - StrokeThickness()) / 2, (Height() - StrokeThickness()) / 2};
    }

private:
    float FStartAngle = 0;
    float FEndAngle = -90;
};

class TsgColorAnimation;

// A ring segment: the pie with an inner bite of BiteWidth x BiteHeight taken out. The bite
// follows the size (BitePerc of it) whenever the object is resized.
//
// Its four colour animations (hover and press) are created with the animation classes; until
// then the pointers stay empty and pressing only records the state.
class TsgEatenPie : public TsgPie {
    DBI_PERSISTENT(TsgEatenPie, TsgPie)

    explicit TsgEatenPie(TComponent* AOwner);

    float BitePerc() const { return FBitePerc; }
    void SetBitePerc(float Value);
    float BiteWidth() const { return FBiteWidth; }
    void SetBiteWidth(float Value);
    float BiteHeight() const { return FBiteHeight; }
    void SetBiteHeight(float Value);
    bool IsPressed() const { return FIsPressed; }
    void SetIsPressed(bool Value);
    TsgBounds* ManualHintRect() const { return FManualHintRect.get(); }
    void SetManualHintRect(TsgBounds* Value) { FManualHintRect->Assign(Value); }
    TsgColorAnimation* HoverOnAni() const { return FHoverOnAni; }
    TsgColorAnimation* HoverOffAni() const { return FHoverOffAni; }
    TsgColorAnimation* PressOnAni() const { return FPressOnAni; }
    TsgColorAnimation* PressOffAni() const { return FPressOffAni; }

    void SetWidth(float Value) override;
    void SetHeight(float Value) override;
    void SetBoundsRect(const TsgRect& R) override;
    void BuildPath(TsgPathData& Path) override;
    TsgRect GetHintRect(float X, float Y) override;

private:
    void FollowSize();

    float FBitePerc = 0.5f;
    float FBiteWidth;
    float FBiteHeight;
    TsgColorAnimation* FHoverOnAni = nullptr;
    TsgColorAnimation* FHoverOffAni = nullptr;
    TsgColorAnimation* FPressOnAni = nullptr;
    TsgColorAnimation* FPressOffAni = nullptr;
    bool FIsPressed = false;
    // Local (Left, Top, Right, Bottom); zero width or height means "the whole object".
    std::unique_ptr<TsgBounds> FManualHintRect;
};

// An arc of EndAngle degrees from StartAngle; its fill is empty unless set.
class TsgArc : public TsgEllipse {
    DBI_PERSISTENT(TsgArc, TsgEllipse)

    explicit TsgArc(TComponent* AOwner) : TsgEllipse(AOwner, sgBrushNone) {}

    float StartAngle() const { return FStartAngle; }
    void SetStartAngle(float Value);
    float EndAngle() const { return FEndAngle; }
    void SetEndAngle(float Value);
    void Paint() override;

private:
    float FStartAngle = 0;
    float FEndAngle = -90;
};

class TsgRectangle : public TsgShape {
    DBI_PERSISTENT(TsgRectangle, TsgShape)

    explicit TsgRectangle(TComponent* AOwner) : TsgShape(AOwner) {}

    float xRadius() const { return FxRadius; }
    virtual void SetxRadius(float Value);
    float yRadius() const { return FyRadius; }
    virtual void SetyRadius(float Value);
    TsgCorners Corners() const { return FCorners; }
    virtual void SetCorners(TsgCorners Value);
    TsgCornerType CornerType() const { return FCornerType; }
    virtual void SetCornerType(TsgCornerType Value);
    void Paint() override;

private:
    float FyRadius = 0;
    float FxRadius = 0;
    TsgCorners FCorners = AllCorners;
    TsgCornerType FCornerType = sgCornerRound;
};

// Strokes only the chosen sides; the fill reaches the object's edge where no stroke is drawn.
class TsgSidesRectangle : public TsgRectangle {
    DBI_PERSISTENT(TsgSidesRectangle, TsgRectangle)

    explicit TsgSidesRectangle(TComponent* AOwner) : TsgRectangle(AOwner) {}

    TsgSides Sides() const { return FSides; }
    void SetSides(TsgSides Value);
    void Paint() override;

private:
    TsgSides FSides = AllSides;
};

// The pre-rendered, blurred picture of a figure, kept between paints: a repaint without a
// change that alters the picture is a single bitmap draw.
class TsgBlurBuffer {
public:
    TsgBitmap* Bitmap() const { return FBuffer.get(); }
    // Sizes the buffer to the object; true when its pixels must be rendered again.
    bool Prepare(float Width, float Height);
    void Invalidate() { FRecreate = true; }
    // Clears the buffer, lets Draw paint the figure into the buffer's canvas and blurs the
    // result with the radius, alpha included.
    void Render(int Radius, const std::function<void(TsgCanvas*)>& Draw);
    // Draws the buffer onto the object's rectangle, without interpolation.
    void Paint(TsgCanvas* Canvas, float Width, float Height, float Opacity);

private:
    std::unique_ptr<TsgBitmap> FBuffer;
    bool FRecreate = true;
};

class TsgBlurRectangle : public TsgRectangle {
    DBI_PERSISTENT(TsgBlurRectangle, TsgRectangle)

    explicit TsgBlurRectangle(TComponent* AOwner);

    float Softness() const { return FSoftness; }
    void SetSoftness(float Value);
    TsgBitmap* Buffer() const { return FBuffer.Bitmap(); }
    void SetxRadius(float Value) override;
    void SetyRadius(float Value) override;
    void SetCorners(TsgCorners Value) override;
    void SetCornerType(TsgCornerType Value) override;
    void Paint() override;

protected:
    void FillChanged() override;

private:
    TsgBlurBuffer FBuffer;
    float FSoftness = 0.3f;
};

// A rectangle whose corner radius is half its shorter side.
class TsgRoundRect : public TsgShape {
    DBI_PERSISTENT(TsgRoundRect, TsgShape)

    explicit TsgRoundRect(TComponent* AOwner) : TsgShape(AOwner) {}

    TsgCorners Corners() const { return FCorners; }
    virtual void SetCorners(TsgCorners Value);
    void Paint() override;

private:
    TsgCorners FCorners = AllCorners;
};

class TsgBlurRoundRect : public TsgRoundRect {
    DBI_PERSISTENT(TsgBlurRoundRect, TsgRoundRect)

    explicit TsgBlurRoundRect(TComponent* AOwner);

    float Softness() const { return FSoftness; }
    void SetSoftness(float Value);
    TsgBitmap* Buffer() const { return FBuffer.Bitmap(); }
    void SetCorners(TsgCorners Value) override;
    void Paint() override;

protected:
    void FillChanged() override;

private:
    TsgBlurBuffer FBuffer;
    float FSoftness = 0.3f;
};

// A vector path placed into the shape rectangle by one of four wrap modes.
class TsgPath : public TsgShape {
    DBI_PERSISTENT(TsgPath, TsgShape)

    explicit TsgPath(TComponent* AOwner);
    ~TsgPath() override;

    TsgPathData* Data() const { return FData; }
    void SetData(TsgPathData* Value) { FData->Assign(Value); }
    using TsgShape::SetData;
    TsgPathWrap WrapMode() const { return FWrapMode; }
    void SetWrapMode(TsgPathWrap Value);
    void Paint() override;
    bool PointInObject(float X, float Y) override;

private:
    TsgPathData* Drawn() const;
    bool AtDesignTime();
    void DataNotice(TObject*) { Repaint(); }

    TsgPathData* FData;
    TsgPathWrap FWrapMode = sgPathStretch;
};

// A bitmap in one of four wrap modes, or stretched as a nine-part frame when it has margins.
class TsgImage : public TsgVisualObject {
    DBI_PERSISTENT(TsgImage, TsgVisualObject)

    explicit TsgImage(TComponent* AOwner);
    ~TsgImage() override;

    TsgBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TsgBitmap* Value);
    TsgBounds* BitmapMargins() const { return FBitmapMargins; }
    void SetBitmapMargins(TsgBounds* Value) { FBitmapMargins->Assign(Value); }
    TsgImageWrap WrapMode() const { return FWrapMode; }
    void SetWrapMode(TsgImageWrap Value);
    bool DisableInterpolation() const { return FDisableInterpolation; }
    void SetDisableInterpolation(bool Value) { FDisableInterpolation = Value; }
    const TNotifyEvent& GetOnBitmapLoaded() const { return FOnBitmapLoaded; }
    void SetOnBitmapLoaded(const TNotifyEvent& Value) { FOnBitmapLoaded = Value; }

    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;
    void Paint() override;

protected:
    virtual void DoBitmapChanged(TObject* Sender);

private:
    void DoBitmapLoaded(TObject* Sender);
    void DoBitmapDestroy(TObject*) {}
    void PaintNinePart(TsgCanvas* Canvas, TsgBitmap* B, float Opacity);
    bool ShowsDesignFrame();

    TsgBitmap* FBitmap;
    TNotifyEvent FOnBitmapLoaded;
    TsgBounds* FBitmapMargins;
    TsgImageWrap FWrapMode = sgImageFit;
    bool FDisableInterpolation = false;
};

// Sender, canvas: the paint box's own drawing handler.
using TsgPaintEvent = TClosure<void(TObject*, TsgCanvas*)>;

// Hands the scene canvas to OnPaint after its inherited painting.
class TsgPaintBox : public TsgVisualObject {
    DBI_PERSISTENT(TsgPaintBox, TsgVisualObject)

    explicit TsgPaintBox(TComponent* AOwner) : TsgVisualObject(AOwner) {}

    const TsgPaintEvent& GetOnPaint() const { return FOnPaint; }
    void SetOnPaint(const TsgPaintEvent& Value) { FOnPaint = Value; }
    void Paint() override;

private:
    TsgPaintEvent FOnPaint;
};

// The tiles of an image or a path: the last column and row index (Round(Width / TileWidth) and
// Round(Height / TileHeight), both drawn). False when there is nothing to tile: a tile size of
// zero or less, a negative object size, or more tiles than any picture can show (a stream's
// absurd sizes must not keep the painting busy for hours).
bool sgTileCounts(float Width, float Height, float TileWidth, float TileHeight, int& LastColumn,
                  int& LastRow);

// The dashed frame that marks an image or a path at design time, on the object's rectangle.
void sgPaintDesignFrame(TsgCanvas* Canvas, const TsgRect& Local, float Opacity);

// Registers the category "Shapes" with its fifteen classes; safe to call more than once.
void RegisterSgObjectsUnit();
