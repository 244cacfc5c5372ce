#include "scene/core/Sg_ani_kinds.h"

#include "scene/core/Sg_scene_color.h"

#include "platform/classes/ClassInfo.h"

DBI_PUBLISH(TsgColorAnimation) {
    using A = TsgColorAnimation;
    p.String("StartValue", &A::StartValue, &A::SetStartValue);
    p.String("StopValue", &A::StopValue, &A::SetStopValue);
    p.Boolean("StartFromCurrent", &A::StartFromCurrent, &A::SetStartFromCurrent, false);
    p.String("PropertyName", &A::PropertyName, &A::SetPropertyName);
}

namespace {

bool IsStringKind(const TPropInfo* P) {
    return P && (P->Kind == TPropertyKind::String || P->Kind == TPropertyKind::WString);
}

bool IsIntegerKind(const TPropInfo* P) {
    return P && (P->Kind == TPropertyKind::Integer || P->Kind == TPropertyKind::Int64);
}

} // namespace

// Writes a colour as the property takes it: as colour text or as the 32-bit value.
void sgWriteColorProperty(const TsgPropertyTarget& Target, TsgColor Color) {
    if (!Target.Resolved())
        return;
    if (IsStringKind(Target.Prop) && Target.Prop->SetStr)
        Target.Prop->SetStr(*Target.Object, sgColorToStr(Color));
    else if (IsIntegerKind(Target.Prop) && Target.Prop->SetOrd)
        Target.Prop->SetOrd(*Target.Object, int64_t(Color));
}

// The colour a property holds now; false when it holds none.
bool sgReadColorProperty(const TsgPropertyTarget& Target, TsgColor& Color) {
    if (!Target.Resolved())
        return false;
    if (IsStringKind(Target.Prop) && Target.Prop->GetStr) {
        Color = sgStrToColor(Target.Prop->GetStr(*Target.Object));
        return true;
    }
    if (IsIntegerKind(Target.Prop) && Target.Prop->GetOrd) {
        Color = TsgColor(Target.Prop->GetOrd(*Target.Object));
        return true;
    }
    return false;
}

UnicodeString TsgColorAnimation::StartValue() const {
    return sgColorToStr(FStartColor);
}

void TsgColorAnimation::SetStartValue(const UnicodeString& Value) {
    FStartColor = sgStrToColor(Value);
}

UnicodeString TsgColorAnimation::StopValue() const {
    return sgColorToStr(FStopColor);
}

void TsgColorAnimation::SetStopValue(const UnicodeString& Value) {
    FStopColor = sgStrToColor(Value);
}

void TsgColorAnimation::Start() {
    ResolveTarget();
    if (FStartFromCurrent)
        sgReadColorProperty(FTarget, FStartColor);
    TsgAnimation::Start();
}

void TsgColorAnimation::ProcessAnimation() {
    sgWriteColorProperty(FTarget, sgInterpolateColor(FStartColor, FStopColor, NormalizedTime()));
}
