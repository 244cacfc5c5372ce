// Bitmap effects of visual objects and the blur they rest on.
//
// An effect is a child node of a visual object. The painting code renders the object into an
// off-screen premultiplied picture placed at GetOffset inside the effect's area (GetRect), hands
// the picture to ProcessEffect and draws the result under the object, over it (AfterPaint), or
// instead of it (DisablePaint). Each effect keeps its own cached picture, rendered again only
// when the object or the effect changes.
#pragma once

#include "scene/core/Sg_scene_object.h"
#include "scene/core/Sg_scene_paint.h"
#include "scene/core/Sg_scene_types.h"

class TsgCanvas;
class TsgBitmap;

// Blurs the premultiplied pixels of the bitmap in place with a separable tent filter of the given
// radius: every row, then every column, each output channel the sum of (radius + 1 - |i|) times
// the source at offset i (edges repeated), divided by (radius + 1)^2 and truncated. The cost per
// pixel does not depend on the radius. A radius below 1 changes nothing; one above 65536 counts as
// 65536. With alpha false the alpha channel is left as it is. The canvas is not used.
void Blur(TsgCanvas* canvas, TsgBitmap* bitmap, int radius, bool alpha);

class TsgEffect : public TsgObject, public IsgEffectRendering {
    DBI_PERSISTENT(TsgEffect, TsgObject)

    explicit TsgEffect(TComponent* AOwner) : TsgObject(AOwner) {}

    // The area the effect covers for an object occupying ARect (the object's own space).
    virtual TsgRect GetRect(const TsgRect& ARect) const { return ARect; }
    // Where the object's picture starts inside the effect's picture.
    TsgPoint GetOffset() override { return {0, 0}; }
    // Turns the object's picture (premultiplied) into the effect; Data is the object's absolute
    // horizontal scale.
    void ProcessEffect(TsgCanvas*, TsgBitmap*, float) override {}
    // Switches the effect on while its trigger holds for AInstance and off when it no longer does.
    virtual void ApplyTrigger(TsgObject* AInstance, const AnsiString& ATrigger);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    const AnsiString& Trigger() const { return FTrigger; }
    void SetTrigger(const AnsiString& Value) { FTrigger = Value; }
    bool DisablePaint() const { return FDisablePaint; }
    bool AfterPaint() const { return FAfterPaint; }

    // Hooks of the object tree and the painting code.
    bool IsEffect() const override { return true; }
    bool EffectEnabled() const override { return FEnabled; }
    AnsiString EffectTrigger() const override { return FTrigger; }
    bool EffectDisablePaint() const override { return FDisablePaint; }
    bool EffectAfterPaint() const override { return FAfterPaint; }
    void EffectApplyTrigger(TsgObject* AInstance, const AnsiString& ATrigger) override {
        ApplyTrigger(AInstance, ATrigger);
    }
    TsgRect EffectRect(const TsgRect& ARect) const override { return GetRect(ARect); }

protected:
    // The parent's effect pictures and update rectangle are stale; the parent is repainted over
    // the effect's area, also when the effect has just been switched off.
    void UpdateParentEffects();
    // Stores Value into Field when it differs, then updates the parent.
    template <class T>
    void Change(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        UpdateParentEffects();
    }

    bool FDisablePaint = false;
    bool FAfterPaint = false;

private:
    bool FEnabled = true;
    AnsiString FTrigger;
};

class TsgShadowEffect : public TsgEffect {
    DBI_PERSISTENT(TsgShadowEffect, TsgEffect)

    explicit TsgShadowEffect(TComponent* AOwner) : TsgEffect(AOwner) {}

    TsgRect GetRect(const TsgRect& ARect) const override;
    TsgPoint GetOffset() override;
    void ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Visual, float Data) override;

    float Distance() const { return FDistance; }
    void SetDistance(float Value) { Change(FDistance, Value); }
    float Direction() const { return FDirection; }
    void SetDirection(float Value) { Change(FDirection, Value); }
    float Softness() const { return FSoftness; }
    void SetSoftness(float Value);
    float Opacity() const { return FOpacity; }
    void SetOpacity(float Value);
    UnicodeString ShadowColor() const;
    void SetShadowColor(const UnicodeString& Value);

private:
    int Margin() const;

    float FDistance = 3;
    float FSoftness = 0.3f;
    TsgColor FShadowColor = 0xFF000000;
    float FOpacity = 0.6f;
    float FDirection = 45;
};

class TsgBlurEffect : public TsgEffect {
    DBI_PERSISTENT(TsgBlurEffect, TsgEffect)

    explicit TsgBlurEffect(TComponent* AOwner) : TsgEffect(AOwner) { FDisablePaint = true; }

    TsgRect GetRect(const TsgRect& ARect) const override;
    TsgPoint GetOffset() override;
    void ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Visual, float Data) override;

    float Softness() const { return FSoftness; }
    void SetSoftness(float Value);

private:
    int Margin() const;

    float FSoftness = 0.3f;
};

class TsgGlowEffect : public TsgEffect {
    DBI_PERSISTENT(TsgGlowEffect, TsgEffect)

    explicit TsgGlowEffect(TComponent* AOwner) : TsgEffect(AOwner) {}

    TsgRect GetRect(const TsgRect& ARect) const override;
    TsgPoint GetOffset() override;
    void ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Visual, float Data) override;

    float Softness() const { return FSoftness; }
    void SetSoftness(float Value);
    float Opacity() const { return FOpacity; }
    void SetOpacity(float Value);
    UnicodeString GlowColor() const;
    void SetGlowColor(const UnicodeString& Value);

protected:
    virtual int Margin() const;
    TsgColor Color() const { return FGlowColor; }

private:
    float FSoftness = 0.4f;
    TsgColor FGlowColor = 0xFFFFD700;
    float FOpacity = 1;
};

// The glow inside the object, along its edges, drawn over it.
class TsgInnerGlowEffect : public TsgGlowEffect {
    DBI_PERSISTENT(TsgInnerGlowEffect, TsgGlowEffect)

    explicit TsgInnerGlowEffect(TComponent* AOwner) : TsgGlowEffect(AOwner) { FAfterPaint = true; }

    void ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Visual, float Data) override;

protected:
    int Margin() const override;
};

// Lights the object's edges from Direction, over a slope made by blurring its coverage.
class TsgBevelEffect : public TsgEffect {
    DBI_PERSISTENT(TsgBevelEffect, TsgEffect)

    explicit TsgBevelEffect(TComponent* AOwner) : TsgEffect(AOwner) { FDisablePaint = true; }

    TsgRect GetRect(const TsgRect& ARect) const override;
    TsgPoint GetOffset() override { return {5, 5}; }
    void ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Visual, float Data) override;

    float Direction() const { return FDirection; }
    void SetDirection(float Value) { Change(FDirection, Value); }
    int Size() const { return FSize; }
    void SetSize(int Value) { Change(FSize, Value); }

private:
    float FDirection = 45;
    int FSize = 10;
};

// The object's lowest rows mirrored below it, fading away from it.
class TsgReflectionEffect : public TsgEffect {
    DBI_PERSISTENT(TsgReflectionEffect, TsgEffect)

    explicit TsgReflectionEffect(TComponent* AOwner) : TsgEffect(AOwner) {}

    TsgRect GetRect(const TsgRect& ARect) const override;
    TsgPoint GetOffset() override { return {2, 2}; }
    void ProcessEffect(TsgCanvas* Canvas, TsgBitmap* Visual, float Data) override;

    float Opacity() const { return FOpacity; }
    void SetOpacity(float Value) { Change(FOpacity, Value); }
    int Offset() const { return FOffset; }
    void SetOffset(int Value) { Change(FOffset, Value); }
    float Length() const { return FLength; }
    void SetLength(float Value);

private:
    int FOffset = 0;
    float FOpacity = 0.5f;
    float FLength = 0.5f;
};

// The unit's start-up: registers the six effects under the category "Effects" (and by name).
void RegisterSgEffectsUnit();
