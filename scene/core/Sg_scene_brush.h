// What a fill or an outline paints: nothing, one colour, a gradient, a bitmap, the brush of a
// named brush resource, or another visual object.
//
// A brush is a description only; the canvas turns it into drawing. It owns its gradient,
// bitmap, resource link and visual link for its whole life and copies into them (Assign) when
// they are set, and streams only what its present style uses. Colours are straight ARGB.
#pragma once

#include "scene/core/Sg_scene_bounds.h"
#include "scene/core/Sg_scene_object.h"
#include "scene/core/Sg_scene_types.h"

#include "platform/classes/Collection.h"

class TsgBitmap;
class TsgBrush;
class TsgBrushObject;
class TsgResources;
class TsgVisualObject;

enum TsgBrushStyle {
    sgBrushNone = 0,
    sgBrushSolid = 1,
    sgBrushGradient = 2,
    sgBrushBitmap = 3,
    sgBrushResource = 4,
    sgBrushVisual = 5,
};
enum TsgGradientStyle { sgLinearGradient = 0, sgRadialGradient = 1 };
enum TsgWrapMode { sgWrapTile = 0, sgWrapTileOriginal = 1, sgWrapTileStretch = 2 };

class TsgGradientPoint : public TCollectionItem {
    DBI_PERSISTENT(TsgGradientPoint, TCollectionItem)

    explicit TsgGradientPoint(TCollection* ACollection) : TCollectionItem(ACollection) {}

    TsgColor IntColor() const { return FColor; }
    void SetIntColor(TsgColor Value) { FColor = Value; }
    // The colour as colour text.
    UnicodeString Color() const;
    void SetColor(const UnicodeString& Value);
    float Offset() const { return FOffset; }
    void SetOffset(float Value) { FOffset = Value; }
    void Assign(TPersistent* Source) override;

private:
    TsgColor FColor = 0;
    float FOffset = 0;
};

// Changes to the points notify nobody.
class TsgGradientPoints : public TCollection {
    DBI_PERSISTENT(TsgGradientPoints, TCollection)

    TsgGradientPoints();
    TsgGradientPoint* Points(int Index) const;
};

class TsgGradient : public TPersistent {
    DBI_PERSISTENT(TsgGradient, TPersistent)

    TsgGradient();
    ~TsgGradient() override;
    TsgGradient(const TsgGradient&) = delete;
    TsgGradient& operator=(const TsgGradient&) = delete;

    TsgGradientPoints* Points() const { return FPoints; }
    void SetPoints(TsgGradientPoints* Value) { FPoints->Assign(Value); }
    TsgGradientStyle Style() const { return FStyle; }
    void SetStyle(TsgGradientStyle Value);
    TsgPosition* StartPosition() const { return FStartPosition; }
    TsgPosition* StopPosition() const { return FStopPosition; }
    void SetStartPosition(TsgPosition* Value) { FStartPosition->Assign(Value); }
    void SetStopPosition(TsgPosition* Value) { FStopPosition->Assign(Value); }
    TsgTransform* RadialTransform() const { return FRadialTransform; }
    void SetRadialTransform(TsgTransform* Value) { FRadialTransform->Assign(Value); }
    // Colour texts of points 0 and 1, set without notification when those points exist.
    void SetColor(const UnicodeString& Value);
    void SetColor1(const UnicodeString& Value);
    void Change();
    // The colour at Offset between the points, as the gradient editors show it.
    TsgColor InterpolateColor(float Offset) const;
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChanged;

private:
    void PartChanged(TObject*) { Change(); }

    TsgGradientPoints* FPoints;
    TsgPosition* FStartPosition;
    TsgPosition* FStopPosition;
    TsgGradientStyle FStyle = sgLinearGradient;
    TsgTransform* FRadialTransform;
};

// A link to a named brush resource. The link is found by name on first use and kept until the
// resource object is freed.
class TsgBrushResource : public TPersistent, public IsgFreeNotify {
    DBI_PERSISTENT(TsgBrushResource, TPersistent)

    TsgBrushResource() = default;
    ~TsgBrushResource() override;
    TsgBrushResource(const TsgBrushResource&) = delete;
    TsgBrushResource& operator=(const TsgBrushResource&) = delete;

    TsgBrushObject* Resource() const { return FResource; }
    void SetResource(TsgBrushObject* Value);
    const UnicodeString& ResourceName() const { return FResourceName; }
    void SetResourceName(const UnicodeString& Value);
    TsgObject* ParentObject() const { return FParentObject; }
    void SetParentObject(TsgObject* Value) { FParentObject = Value; }
    // The brush to paint with; nullptr when the name finds no brush resource.
    TsgBrush* GetBrush();
    void Assign(TPersistent* Source) override;
    void FreeNotify(TsgObject* AObject) override;

    TNotifyEvent OnChanged;

private:
    TsgBrushObject* FResource = nullptr;
    UnicodeString FResourceName;
    TsgObject* FParentObject = nullptr;
};

class TsgBrushBitmap : public TPersistent {
    DBI_PERSISTENT(TsgBrushBitmap, TPersistent)

    TsgBrushBitmap();
    ~TsgBrushBitmap() override;
    TsgBrushBitmap(const TsgBrushBitmap&) = delete;
    TsgBrushBitmap& operator=(const TsgBrushBitmap&) = delete;

    TsgBitmap* Bitmap() const { return FBitmap; }
    TsgWrapMode WrapMode() const { return FWrapMode; }
    void SetWrapMode(TsgWrapMode Value);
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChanged;

private:
    TsgBitmap* FBitmap;
    TsgWrapMode FWrapMode = sgWrapTile;
};

// Paints with another visual object; the link clears itself when that object is freed.
class TsgVisual : public TPersistent, public IsgFreeNotify {
    DBI_PERSISTENT(TsgVisual, TPersistent)

    TsgVisual() = default;
    ~TsgVisual() override;
    TsgVisual(const TsgVisual&) = delete;
    TsgVisual& operator=(const TsgVisual&) = delete;

    TsgVisualObject* VisualObject() const { return FVisualObject; }
    void SetVisualObject(TsgVisualObject* Value);
    void Assign(TPersistent* Source) override;
    void FreeNotify(TsgObject* AObject) override;

    TNotifyEvent OnChanged;

private:
    TsgVisualObject* FVisualObject = nullptr;
};

class TsgBrush : public TPersistent {
    DBI_PERSISTENT(TsgBrush, TPersistent)

    explicit TsgBrush(TsgBrushStyle ADefaultStyle = sgBrushSolid,
                      TsgColor ADefaultColor = 0xFFFFFFFF);
    ~TsgBrush() override;
    TsgBrush(const TsgBrush&) = delete;
    TsgBrush& operator=(const TsgBrush&) = delete;

    TsgBrushStyle Style() const { return FStyle; }
    void SetStyle(TsgBrushStyle Value);
    // The colour to paint with; a resource brush answers its resource's colour.
    TsgColor GetSolidColor();
    TsgColor SolidColor() { return GetSolidColor(); }
    void SetSolidColor(TsgColor Value);
    // The own colour as colour text.
    UnicodeString Color() const;
    // Sets the solid colour and, for a gradient brush, the colour of the first point.
    void SetColor(const UnicodeString& Value);
    TsgGradient* Gradient() const { return FGradient; }
    void SetGradient(TsgGradient* Value) { FGradient->Assign(Value); }
    TsgBrushBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TsgBrushBitmap* Value) { FBitmap->Assign(Value); }
    TsgBrushResource* Resource() const { return FResource; }
    void SetResource(TsgBrushResource* Value) { FResource->Assign(Value); }
    TsgVisual* Visual() const { return FVisual; }
    void SetVisual(TsgVisual* Value) { FVisual->Assign(Value); }
    TsgBrushStyle DefaultStyle() const { return FDefaultStyle; }
    TsgColor DefaultColor() const { return FDefaultColor; }
    TsgObject* ParentObject() const { return FParentObject; }
    // The owner object, through which the resource link reaches the owner's scene.
    void SetParentObject(TsgObject* Value);
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChanged;

private:
    void Changed();
    void PartChanged(TObject*) { Changed(); }

    TsgColor FColor;
    TsgBrushStyle FStyle;
    TsgGradient* FGradient;
    TsgVisual* FVisual;
    TsgBrushStyle FDefaultStyle;
    TsgColor FDefaultColor;
    TsgBrushResource* FResource;
    TsgBrushBitmap* FBitmap;
    TsgObject* FParentObject = nullptr;
};

// The root of a style container's tree, answered by the style container unit once it exists;
// until then brush links search the global resource list only.
extern TsgObject* (*sgStyleRootOf)(TsgResources* AStyle);
