// The concrete animations. Each writes one published property of its parent, or of an object
// reached from the parent by a dotted path ("Fill.Color", "Parent.Position.Y", "Padding"):
// a colour, gradient colours, a float, a four-sided bounds object, a cross-faded bitmap, colours
// or floats along key frames, or a position along a spline through a path.
//
// A path is resolved once per animation (on its first start, or first step for the bitmap
// kind): every segment before the last that names a published object property of the current
// object moves to that object, a segment that names none is skipped. The resolved object is
// never owned; a property of the wrong kind makes the animation write nothing.
#pragma once

#include "scene/core/Sg_ani_base.h"
#include "scene/core/Sg_scene_bounds.h"
#include "scene/core/Sg_scene_types.h"

#include "platform/classes/Collection.h"

#include <memory>

class TsgBitmap;
class TsgGradient;
class TsgPathData;
class TsgSpline;
class TsgVisualObject;
struct TPropInfo;

// The object and property a path names.
struct TsgPropertyTarget {
    TPersistent* Object = nullptr;
    const TPropInfo* Prop = nullptr;
    AnsiString Name;

    // Resolves Path from Root; Object stays nullptr when a step reaches nothing.
    void Resolve(TsgObject* Root, const AnsiString& Path);
    bool Resolved() const { return Object != nullptr; }
    // The object held by a class property, nullptr otherwise.
    TPersistent* ObjectValue() const;
};

// Colours go into string properties as colour text and into integer properties as the value.
void sgWriteColorProperty(const TsgPropertyTarget& Target, TsgColor Color);
bool sgReadColorProperty(const TsgPropertyTarget& Target, TsgColor& Color);
// Floats go into float properties only.
void sgWriteFloatProperty(const TsgPropertyTarget& Target, float Value);
bool sgReadFloatProperty(const TsgPropertyTarget& Target, float& Value);

// A kind that animates a property named by a path.
class TsgPropertyAnimation : public TsgAnimation {
    DBI_PERSISTENT(TsgPropertyAnimation, TsgAnimation)

    explicit TsgPropertyAnimation(TComponent* AOwner) : TsgAnimation(AOwner) {}

    const AnsiString& PropertyName() const { return FPropertyName; }
    void SetPropertyName(const AnsiString& Value) { FPropertyName = Value; }
    bool StartFromCurrent() const { return FStartFromCurrent; }
    void SetStartFromCurrent(bool Value) { FStartFromCurrent = Value; }
    const TsgPropertyTarget& Target() const { return FTarget; }
    // A new parent means a new path root: the old target may be gone with the old parent.
    void ChangeParent() override { FTarget = TsgPropertyTarget(); }

protected:
    // Resolves the path when nothing is resolved yet and there is a parent and a path.
    void ResolveTarget();

    AnsiString FPropertyName;
    TsgPropertyTarget FTarget;
    bool FStartFromCurrent = false;
};

class TsgColorAnimation : public TsgPropertyAnimation {
    DBI_PERSISTENT(TsgColorAnimation, TsgPropertyAnimation)

    explicit TsgColorAnimation(TComponent* AOwner) : TsgPropertyAnimation(AOwner) {}

    UnicodeString StartValue() const;
    void SetStartValue(const UnicodeString& Value);
    UnicodeString StopValue() const;
    void SetStopValue(const UnicodeString& Value);
    void Start() override;
    void ProcessAnimation() override;

private:
    TsgColor FStartColor = 0xFFFFFFFF;
    TsgColor FStopColor = 0xFFFFFFFF;
};

class TsgGradientAnimation : public TsgPropertyAnimation {
    DBI_PERSISTENT(TsgGradientAnimation, TsgPropertyAnimation)

    explicit TsgGradientAnimation(TComponent* AOwner);
    ~TsgGradientAnimation() override;

    TsgGradient* StartValue() const { return FStartGradient.get(); }
    void SetStartValue(TsgGradient* Value);
    TsgGradient* StopValue() const { return FStopGradient.get(); }
    void SetStopValue(TsgGradient* Value);
    void Start() override;
    void ProcessAnimation() override;

private:
    std::unique_ptr<TsgGradient> FStartGradient;
    std::unique_ptr<TsgGradient> FStopGradient;
};

class TsgFloatAnimation : public TsgPropertyAnimation {
    DBI_PERSISTENT(TsgFloatAnimation, TsgPropertyAnimation)

    explicit TsgFloatAnimation(TComponent* AOwner) : TsgPropertyAnimation(AOwner) {}

    float StartValue() const { return FStartFloat; }
    void SetStartValue(float Value) { FStartFloat = Value; }
    float StopValue() const { return FStopFloat; }
    void SetStopValue(float Value) { FStopFloat = Value; }
    void Start() override;
    void Stop() override;
    void ProcessAnimation() override;

private:
    float FStartFloat = 0;
    float FStopFloat = 0;
};

class TsgRectAnimation : public TsgPropertyAnimation {
    DBI_PERSISTENT(TsgRectAnimation, TsgPropertyAnimation)

    explicit TsgRectAnimation(TComponent* AOwner);
    ~TsgRectAnimation() override;

    TsgBounds* StartValue() const { return FStartRect.get(); }
    void SetStartValue(TsgBounds* Value);
    TsgBounds* StopValue() const { return FStopRect.get(); }
    void SetStopValue(TsgBounds* Value);
    void Start() override;
    void ProcessAnimation() override;

private:
    std::unique_ptr<TsgBounds> FStartRect;
    std::unique_ptr<TsgBounds> FCurrent;
    std::unique_ptr<TsgBounds> FStopRect;
};

// Cross-fades from one bitmap to another; starting one stops the others of the same parent
// where they are.
class TsgBitmapAnimation : public TsgPropertyAnimation {
    DBI_PERSISTENT(TsgBitmapAnimation, TsgPropertyAnimation)

    explicit TsgBitmapAnimation(TComponent* AOwner);
    ~TsgBitmapAnimation() override;

    TsgBitmap* StartValue() const { return FStartBitmap.get(); }
    void SetStartValue(TsgBitmap* Value);
    TsgBitmap* StopValue() const { return FStopBitmap.get(); }
    void SetStopValue(TsgBitmap* Value);
    void ProcessAnimation() override;

private:
    std::unique_ptr<TsgBitmap> FStartBitmap;
    std::unique_ptr<TsgBitmap> FStopBitmap;
    std::unique_ptr<TsgBitmap> FCurrent;
};

// A key frame: its position in normalised time, 0 to 1.
class TsgKey : public TCollectionItem {
    DBI_PERSISTENT(TsgKey, TCollectionItem)

    explicit TsgKey(TCollection* ACollection) : TCollectionItem(ACollection) {}
    float Key() const { return FKey; }
    void SetKey(float Value);
    void Assign(TPersistent* Source) override;

private:
    float FKey = 0;
};

class TsgColorKey : public TsgKey {
    DBI_PERSISTENT(TsgColorKey, TsgKey)

    explicit TsgColorKey(TCollection* ACollection) : TsgKey(ACollection) {}
    const UnicodeString& Value() const { return FValue; }
    void SetValue(const UnicodeString& Value) { FValue = Value; }
    void Assign(TPersistent* Source) override;

private:
    UnicodeString FValue;
};

class TsgFloatKey : public TsgKey {
    DBI_PERSISTENT(TsgFloatKey, TsgKey)

    explicit TsgFloatKey(TCollection* ACollection) : TsgKey(ACollection) {}
    float Value() const { return FValue; }
    void SetValue(float Value) { FValue = Value; }
    void Assign(TPersistent* Source) override;

private:
    float FValue = 0;
};

class TsgKeys : public TCollection {
    DBI_PERSISTENT(TsgKeys, TCollection)

    explicit TsgKeys(const TClassInfo& ItemClass = TsgKey::StaticClassInfo())
        : TCollection(ItemClass) {}
    TsgKey* Keys(int Index) const { return static_cast<TsgKey*>(Items(Index)); }
    // The first adjacent pair, in collection order, with Key1.Key <= Time <= Key2.Key.
    bool FindKeys(float Time, TsgKey*& Key1, TsgKey*& Key2) const;
};

class TsgColorKeyAnimation : public TsgPropertyAnimation {
    DBI_PERSISTENT(TsgColorKeyAnimation, TsgPropertyAnimation)

    explicit TsgColorKeyAnimation(TComponent* AOwner);
    ~TsgColorKeyAnimation() override;

    TsgKeys* Keys() const { return FKeys.get(); }
    void SetKeys(TsgKeys* Value) { FKeys->Assign(Value); }
    TsgColorKey* AddKey(float Key, const UnicodeString& Value);
    void Start() override;
    void ProcessAnimation() override;

private:
    std::unique_ptr<TsgKeys> FKeys;
};

class TsgFloatKeyAnimation : public TsgPropertyAnimation {
    DBI_PERSISTENT(TsgFloatKeyAnimation, TsgPropertyAnimation)

    explicit TsgFloatKeyAnimation(TComponent* AOwner);
    ~TsgFloatKeyAnimation() override;

    TsgKeys* Keys() const { return FKeys.get(); }
    void SetKeys(TsgKeys* Value) { FKeys->Assign(Value); }
    TsgFloatKey* AddKey(float Key, float Value);
    void Start() override;
    void ProcessAnimation() override;

private:
    std::unique_ptr<TsgKeys> FKeys;
};

// Moves its parent along a spline through the flattened path, from where the parent stood at
// the start; with Rotate it also turns the parent along the way.
class TsgPathAnimation : public TsgAnimation {
    DBI_PERSISTENT(TsgPathAnimation, TsgAnimation)

    explicit TsgPathAnimation(TComponent* AOwner);
    ~TsgPathAnimation() override;

    TsgPathData* Path() const { return FPath.get(); }
    void SetPath(TsgPathData* Value);
    bool Rotate() const { return FRotate; }
    void SetRotate(bool Value) { FRotate = Value; }
    void Start() override;
    void ProcessAnimation() override;

private:
    std::unique_ptr<TsgPathData> FPath;
    TsgPolygon FPolygon;
    TsgVisualObject* FObj = nullptr;
    TsgPoint FStart{};
    bool FRotate = false;
    std::unique_ptr<TsgSpline> FSpline;
};

// Carries two path texts for whoever reads them; it writes nothing itself.
class TsgPathSwitcher : public TsgPropertyAnimation {
    DBI_PERSISTENT(TsgPathSwitcher, TsgPropertyAnimation)

    explicit TsgPathSwitcher(TComponent* AOwner);

    const UnicodeString& PathTrue() const { return FPathTrue; }
    void SetPathTrue(const UnicodeString& Value) { FPathTrue = Value; }
    const UnicodeString& PathFalse() const { return FPathFalse; }
    void SetPathFalse(const UnicodeString& Value) { FPathFalse = Value; }

private:
    UnicodeString FPathTrue;
    UnicodeString FPathFalse;
};
