#include "scene/core/Sg_scene_brush.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_resourceobjects.h"
#include "scene/core/Sg_scene_visual.h"

#include <algorithm>
#include <cstring>

TsgObject* (*sgStyleRootOf)(TsgResources* AStyle) = nullptr;

DBI_PUBLISH(TsgGradientPoint) {
    p.String("Color", &TsgGradientPoint::Color, &TsgGradientPoint::SetColor);
    p.Float("Offset", &TsgGradientPoint::Offset, &TsgGradientPoint::SetOffset);
}

DBI_PUBLISH(TsgGradientPoints) {}

DBI_PUBLISH(TsgGradient) {
    p.Object("Points", &TsgGradient::Points, &TsgGradient::SetPoints);
    p.Enumeration("Style", &TsgGradient::Style, &TsgGradient::SetStyle,
                  {"sgLinearGradient", "sgRadialGradient"}, std::nullopt);
    auto linear = [](TPersistent& o) {
        return static_cast<TsgGradient&>(o).Style() == sgLinearGradient;
    };
    p.Object("StartPosition", &TsgGradient::StartPosition, &TsgGradient::SetStartPosition)
        .Stored(linear);
    p.Object("StopPosition", &TsgGradient::StopPosition, &TsgGradient::SetStopPosition)
        .Stored(linear);
    p.Object("RadialTransform", &TsgGradient::RadialTransform, &TsgGradient::SetRadialTransform)
        .Stored([](TPersistent& o) {
            return static_cast<TsgGradient&>(o).Style() == sgRadialGradient;
        });
}

DBI_PUBLISH(TsgBrushResource) {
    p.Object("Resource", &TsgBrushResource::Resource, &TsgBrushResource::SetResource)
        .Stored([](TPersistent&) { return false; });
    p.String("ResourceName", &TsgBrushResource::ResourceName, &TsgBrushResource::SetResourceName);
}

DBI_PUBLISH(TsgBrushBitmap) {
    // The picture itself streams with the bitmap's own "PNG" property.
    p.Object("Bitmap", &TsgBrushBitmap::Bitmap, nullptr);
    p.Enumeration("WrapMode", &TsgBrushBitmap::WrapMode, &TsgBrushBitmap::SetWrapMode,
                  {"sgWrapTile", "sgWrapTileOriginal", "sgWrapTileStretch"}, std::nullopt);
}

DBI_PUBLISH(TsgVisual) {
    p.Object("VisualObject", &TsgVisual::VisualObject, &TsgVisual::SetVisualObject);
}

DBI_PUBLISH(TsgBrush) {
    p.String("Color", &TsgBrush::Color, &TsgBrush::SetColor).Stored([](TPersistent& o) {
        auto& b = static_cast<TsgBrush&>(o);
        return b.Style() == sgBrushSolid && b.SolidColor() != b.DefaultColor();
    });
    p.Object("Bitmap", &TsgBrush::Bitmap, &TsgBrush::SetBitmap).Stored([](TPersistent& o) {
        return static_cast<TsgBrush&>(o).Style() == sgBrushBitmap;
    });
    p.Enumeration("Style", &TsgBrush::Style, &TsgBrush::SetStyle,
                  {"sgBrushNone", "sgBrushSolid", "sgBrushGradient", "sgBrushBitmap",
                   "sgBrushResource", "sgBrushVisual"},
                  std::nullopt)
        .Stored([](TPersistent& o) {
            auto& b = static_cast<TsgBrush&>(o);
            return b.Style() != b.DefaultStyle();
        });
    p.Object("Gradient", &TsgBrush::Gradient, &TsgBrush::SetGradient).Stored([](TPersistent& o) {
        return static_cast<TsgBrush&>(o).Style() == sgBrushGradient;
    });
    p.Object("Resource", &TsgBrush::Resource, &TsgBrush::SetResource).Stored([](TPersistent& o) {
        return static_cast<TsgBrush&>(o).Style() == sgBrushResource;
    });
    p.Object("Visual", &TsgBrush::Visual, &TsgBrush::SetVisual).Stored([](TPersistent& o) {
        return static_cast<TsgBrush&>(o).Style() == sgBrushVisual;
    });
}

// Gradient points.

UnicodeString TsgGradientPoint::Color() const {
    return sgColorToStr(FColor);
}

void TsgGradientPoint::SetColor(const UnicodeString& Value) {
    FColor = sgStrToColor(Value);
}

void TsgGradientPoint::Assign(TPersistent* Source) {
    if (auto* point = dynamic_cast<TsgGradientPoint*>(Source)) {
        FColor = point->FColor;
        FOffset = point->FOffset;
        return;
    }
    TCollectionItem::Assign(Source);
}

TsgGradientPoints::TsgGradientPoints() : TCollection(TsgGradientPoint::StaticClassInfo()) {}

TsgGradientPoint* TsgGradientPoints::Points(int Index) const {
    return static_cast<TsgGradientPoint*>(Items(Index));
}

// Gradient.

TsgGradient::TsgGradient()
    : FPoints(new TsgGradientPoints()), FStartPosition(new TsgPosition({0, 0})),
      FStopPosition(new TsgPosition({0, 1})), FRadialTransform(new TsgTransform()) {
    auto* first = static_cast<TsgGradientPoint*>(FPoints->Add());
    first->SetIntColor(0xFF000000);
    first->SetOffset(0);
    auto* second = static_cast<TsgGradientPoint*>(FPoints->Add());
    second->SetIntColor(0xFFFFFFFF);
    second->SetOffset(1);
    const auto changed = TNotifyEvent::Bind<&TsgGradient::PartChanged>(this);
    FStartPosition->OnChange = changed;
    FStopPosition->OnChange = changed;
    FRadialTransform->OnChanged = changed;
}

TsgGradient::~TsgGradient() {
    delete FStartPosition;
    delete FStopPosition;
    delete FRadialTransform;
    delete FPoints;
}

void TsgGradient::SetStyle(TsgGradientStyle Value) {
    if (Value != FStyle) {
        FStyle = Value;
        Change();
    }
}

void TsgGradient::SetColor(const UnicodeString& Value) {
    if (FPoints->Count() > 0)
        FPoints->Points(0)->SetColor(Value);
}

void TsgGradient::SetColor1(const UnicodeString& Value) {
    if (FPoints->Count() > 1)
        FPoints->Points(1)->SetColor(Value);
}

void TsgGradient::Change() {
    if (OnChanged)
        OnChanged(this);
}

TsgColor TsgGradient::InterpolateColor(float Offset) const {
    const int count = FPoints->Count();
    if (count < 2)
        return 0;
    Offset = std::clamp(Offset, 0.0f, 1.0f);
    if (Offset < FPoints->Points(0)->Offset())
        return FPoints->Points(0)->IntColor();
    if (Offset > FPoints->Points(count - 1)->Offset())
        return FPoints->Points(count - 1)->IntColor();
    TsgColor result = 0;
    for (int i = 0; i < count - 1; ++i) {
        const TsgGradientPoint* a = FPoints->Points(i);
        const TsgGradientPoint* b = FPoints->Points(i + 1);
        if (a->Offset() > Offset)
            continue;
        const float span = b->Offset() - a->Offset();
        result = span > 0 ? sgInterpolateColor(a->IntColor(), b->IntColor(),
                                               (Offset - a->Offset()) / span)
                          : a->IntColor();
    }
    return result;
}

void TsgGradient::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TsgGradient*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    const TNotifyEvent saved = OnChanged;
    OnChanged = nullptr;
    try {
        FPoints->Assign(source->FPoints);
        FStyle = source->FStyle;
        if (FStyle == sgRadialGradient) {
            FRadialTransform->Assign(source->FRadialTransform);
        } else {
            FStopPosition->Assign(source->FStopPosition);
            FStartPosition->Assign(source->FStartPosition);
        }
    } catch (...) {
        OnChanged = saved;
        throw;
    }
    OnChanged = saved;
    Change();
}

// Brush resource link.

TsgBrushResource::~TsgBrushResource() {
    sgRelinkFreeNotify(FResource, nullptr, this);
}

void TsgBrushResource::SetResource(TsgBrushObject* Value) {
    if (Value == FResource)
        return;
    sgRelinkFreeNotify(FResource, Value, this);
    if (FResource)
        FResourceName = FResource->ResourceName();
}

void TsgBrushResource::SetResourceName(const UnicodeString& Value) {
    if (Value != FResourceName)
        FResourceName = Value;
}

void TsgBrushResource::FreeNotify(TsgObject* AObject) {
    if (AObject == FResource)
        FResource = nullptr;
}

TsgBrush* TsgBrushResource::GetBrush() {
    if (FResource)
        return FResource->Brush();
    if (FResourceName.IsEmpty())
        return nullptr;
    TsgObject* found = nullptr;
    if (FParentObject)
        if (IsgScene* scene = FParentObject->Scene())
            if (TsgResources* style = scene->GetStyle(); style && sgStyleRootOf)
                if (TsgObject* root = sgStyleRootOf(style))
                    found = root->FindResource(FResourceName);
    if (!dynamic_cast<TsgBrushObject*>(found))
        found = FindResource(FResourceName);
    if (auto* brushObject = dynamic_cast<TsgBrushObject*>(found))
        SetResource(brushObject);
    return FResource ? FResource->Brush() : nullptr;
}

void TsgBrushResource::Assign(TPersistent* Source) {
    if (auto* link = dynamic_cast<TsgBrushResource*>(Source)) {
        SetResource(link->FResource);
        SetResourceName(link->FResourceName);
        return;
    }
    TPersistent::Assign(Source);
}

// Bitmap brush.

TsgBrushBitmap::TsgBrushBitmap() : FBitmap(new TsgBitmap(1, 1)) {}

TsgBrushBitmap::~TsgBrushBitmap() {
    delete FBitmap;
}

void TsgBrushBitmap::SetWrapMode(TsgWrapMode Value) {
    if (Value != FWrapMode) {
        FWrapMode = Value;
        if (OnChanged)
            OnChanged(this);
    }
}

void TsgBrushBitmap::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TsgBrushBitmap*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    FWrapMode = source->FWrapMode;
    const TsgBitmap& from = *source->FBitmap;
    if (!from.IsEmpty()) {
        FBitmap->SetSize(from.Width(), from.Height());
        for (int y = 0; y < from.Height(); ++y)
            std::memcpy(FBitmap->Scanline(y), from.Scanline(y),
                        sizeof(uint32_t) * size_t(from.Width()));
    }
    if (OnChanged)
        OnChanged(this);
}

// Visual link.

TsgVisual::~TsgVisual() {
    sgRelinkFreeNotify(FVisualObject, nullptr, this);
}

void TsgVisual::SetVisualObject(TsgVisualObject* Value) {
    if (Value == FVisualObject)
        return;
    sgRelinkFreeNotify(FVisualObject, Value, this);
    if (OnChanged)
        OnChanged(this);
}

void TsgVisual::FreeNotify(TsgObject* AObject) {
    if (AObject == FVisualObject)
        FVisualObject = nullptr;
}

void TsgVisual::Assign(TPersistent* Source) {
    if (auto* visual = dynamic_cast<TsgVisual*>(Source)) {
        SetVisualObject(visual->FVisualObject);
        return;
    }
    TPersistent::Assign(Source);
}

// Brush.

TsgBrush::TsgBrush(TsgBrushStyle ADefaultStyle, TsgColor ADefaultColor)
    : FColor(ADefaultColor), FStyle(ADefaultStyle), FGradient(new TsgGradient()),
      FVisual(new TsgVisual()), FDefaultStyle(ADefaultStyle), FDefaultColor(ADefaultColor),
      FResource(new TsgBrushResource()), FBitmap(new TsgBrushBitmap()) {
    const auto changed = TNotifyEvent::Bind<&TsgBrush::PartChanged>(this);
    FGradient->OnChanged = changed;
    FVisual->OnChanged = changed;
    FResource->OnChanged = changed;
    FBitmap->OnChanged = changed;
}

TsgBrush::~TsgBrush() {
    delete FGradient;
    delete FVisual;
    delete FResource;
    delete FBitmap;
}

void TsgBrush::Changed() {
    if (OnChanged)
        OnChanged(this);
}

void TsgBrush::SetStyle(TsgBrushStyle Value) {
    if (Value != FStyle) {
        FStyle = Value;
        Changed();
    }
}

TsgColor TsgBrush::GetSolidColor() {
    // Resource brushes that name each other in a ring would recurse without end; the chain is
    // followed only so far.
    static int depth = 0;
    if (FStyle == sgBrushResource && depth < 16)
        if (TsgBrush* brush = FResource->GetBrush(); brush && brush != this) {
            ++depth;
            const TsgColor c = brush->GetSolidColor();
            --depth;
            return c;
        }
    return FColor;
}

void TsgBrush::SetSolidColor(TsgColor Value) {
    if (Value != FColor) {
        FColor = Value;
        Changed();
    }
}

UnicodeString TsgBrush::Color() const {
    return sgColorToStr(FColor);
}

void TsgBrush::SetColor(const UnicodeString& Value) {
    SetSolidColor(sgStrToColor(Value));
    if (FStyle == sgBrushGradient)
        FGradient->SetColor(Value);
}

void TsgBrush::SetParentObject(TsgObject* Value) {
    FParentObject = Value;
    FResource->SetParentObject(Value);
}

void TsgBrush::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TsgBrush*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    const TNotifyEvent saved = OnChanged;
    OnChanged = nullptr;
    try {
        FDefaultStyle = source->FDefaultStyle;
        FDefaultColor = source->FDefaultColor;
        FColor = source->GetSolidColor();
        FStyle = source->FStyle;
        switch (FStyle) {
        case sgBrushGradient:
            FGradient->Assign(source->FGradient);
            break;
        case sgBrushBitmap:
            FBitmap->Assign(source->FBitmap);
            break;
        case sgBrushResource:
            FResource->Assign(source->FResource);
            break;
        case sgBrushVisual:
            FVisual->Assign(source->FVisual);
            break;
        default:
            break;
        }
    } catch (...) {
        OnChanged = saved;
        throw;
    }
    OnChanged = saved;
    Changed();
}
