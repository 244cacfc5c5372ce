#include "scene/core/Sg_ani_kinds.h"

#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_geometry.h"

#include <algorithm>

DBI_PUBLISH(TsgKey) {
    p.Float("Key", &TsgKey::Key, &TsgKey::SetKey);
}

DBI_PUBLISH(TsgColorKey) {
    p.String("Value", &TsgColorKey::Value, &TsgColorKey::SetValue);
}

DBI_PUBLISH(TsgFloatKey) {
    p.Float("Value", &TsgFloatKey::Value, &TsgFloatKey::SetValue);
}

DBI_PUBLISH(TsgKeys) {}

DBI_PUBLISH(TsgColorKeyAnimation) {
    using A = TsgColorKeyAnimation;
    p.String("PropertyName", &A::PropertyName, &A::SetPropertyName);
    p.Object("Keys", &A::Keys, &A::SetKeys);
    p.Boolean("StartFromCurrent", &A::StartFromCurrent, &A::SetStartFromCurrent, std::nullopt);
}

DBI_PUBLISH(TsgFloatKeyAnimation) {
    using A = TsgFloatKeyAnimation;
    p.String("PropertyName", &A::PropertyName, &A::SetPropertyName);
    p.Object("Keys", &A::Keys, &A::SetKeys);
    p.Boolean("StartFromCurrent", &A::StartFromCurrent, &A::SetStartFromCurrent, std::nullopt);
}

void TsgKey::SetKey(float Value) {
    FKey = std::clamp(Value, 0.0f, 1.0f);
}

void TsgKey::Assign(TPersistent* Source) {
    if (auto* key = dynamic_cast<TsgKey*>(Source)) {
        FKey = key->FKey;
        return;
    }
    TCollectionItem::Assign(Source);
}

void TsgColorKey::Assign(TPersistent* Source) {
    TsgKey::Assign(Source);
    if (auto* key = dynamic_cast<TsgColorKey*>(Source))
        FValue = key->FValue;
}

void TsgFloatKey::Assign(TPersistent* Source) {
    TsgKey::Assign(Source);
    if (auto* key = dynamic_cast<TsgFloatKey*>(Source))
        FValue = key->FValue;
}

bool TsgKeys::FindKeys(float Time, TsgKey*& Key1, TsgKey*& Key2) const {
    Key1 = Key2 = nullptr;
    for (int i = 0; i + 1 < Count(); ++i)
        if (Keys(i)->Key() <= Time && Time <= Keys(i + 1)->Key()) {
            Key1 = Keys(i);
            Key2 = Keys(i + 1);
            return true;
        }
    return false;
}

namespace {

// The local fraction between the two keys that enclose T; false outside the keys.
bool LocalFraction(const TsgKeys& Keys, float T, TsgKey*& K1, TsgKey*& K2, float& Fraction) {
    if (!Keys.FindKeys(T, K1, K2) || K2->Key() - K1->Key() == 0)
        return false;
    Fraction = (T - K1->Key()) / (K2->Key() - K1->Key());
    return true;
}

} // namespace

TsgColorKeyAnimation::TsgColorKeyAnimation(TComponent* AOwner)
    : TsgPropertyAnimation(AOwner),
      FKeys(std::make_unique<TsgKeys>(TsgColorKey::StaticClassInfo())) {}

TsgColorKeyAnimation::~TsgColorKeyAnimation() {
    BeforeDestruction();
}

TsgColorKey* TsgColorKeyAnimation::AddKey(float Key, const UnicodeString& Value) {
    auto* key = static_cast<TsgColorKey*>(FKeys->Add());
    key->SetKey(Key);
    key->SetValue(Value);
    return key;
}

void TsgColorKeyAnimation::Start() {
    ResolveTarget();
    TsgColor current;
    if (FStartFromCurrent && FKeys->Count() > 0 && sgReadColorProperty(FTarget, current))
        static_cast<TsgColorKey*>(FKeys->Keys(0))->SetValue(sgColorToStr(current));
    TsgAnimation::Start();
}

void TsgColorKeyAnimation::ProcessAnimation() {
    TsgKey *k1, *k2;
    float f;
    if (!FTarget.Resolved() || !LocalFraction(*FKeys, NormalizedTime(), k1, k2, f))
        return;
    sgWriteColorProperty(
        FTarget, sgInterpolateColor(sgStrToColor(static_cast<TsgColorKey*>(k1)->Value()),
                                    sgStrToColor(static_cast<TsgColorKey*>(k2)->Value()), f));
}

TsgFloatKeyAnimation::TsgFloatKeyAnimation(TComponent* AOwner)
    : TsgPropertyAnimation(AOwner),
      FKeys(std::make_unique<TsgKeys>(TsgFloatKey::StaticClassInfo())) {}

TsgFloatKeyAnimation::~TsgFloatKeyAnimation() {
    BeforeDestruction();
}

TsgFloatKey* TsgFloatKeyAnimation::AddKey(float Key, float Value) {
    auto* key = static_cast<TsgFloatKey*>(FKeys->Add());
    key->SetKey(Key);
    key->SetValue(Value);
    return key;
}

void TsgFloatKeyAnimation::Start() {
    ResolveTarget();
    float current;
    if (FStartFromCurrent && FKeys->Count() > 0 && sgReadFloatProperty(FTarget, current))
        static_cast<TsgFloatKey*>(FKeys->Keys(0))->SetValue(current);
    TsgAnimation::Start();
}

void TsgFloatKeyAnimation::ProcessAnimation() {
    TsgKey *k1, *k2;
    float f;
    if (!FTarget.Resolved() || !LocalFraction(*FKeys, NormalizedTime(), k1, k2, f))
        return;
    sgWriteFloatProperty(FTarget, sgInterpolateSingle(static_cast<TsgFloatKey*>(k1)->Value(),
                                                      static_cast<TsgFloatKey*>(k2)->Value(), f));
}
