#include "scene/core/Sg_ani_kinds.h"

#include "scene/core/Sg_scene_geometry.h"

#include "platform/classes/ClassInfo.h"

DBI_PUBLISH(TsgFloatAnimation) {
    using A = TsgFloatAnimation;
    p.Float("StartValue", &A::StartValue, &A::SetStartValue);
    p.Float("StopValue", &A::StopValue, &A::SetStopValue);
    p.Boolean("StartFromCurrent", &A::StartFromCurrent, &A::SetStartFromCurrent, false);
    p.String("PropertyName", &A::PropertyName, &A::SetPropertyName);
}

void sgWriteFloatProperty(const TsgPropertyTarget& Target, float Value) {
    if (Target.Resolved() && Target.Prop && Target.Prop->Kind == TPropertyKind::Float &&
        Target.Prop->SetFloat)
        Target.Prop->SetFloat(*Target.Object, Value);
}

bool sgReadFloatProperty(const TsgPropertyTarget& Target, float& Value) {
    if (!Target.Resolved() || !Target.Prop || Target.Prop->Kind != TPropertyKind::Float ||
        !Target.Prop->GetFloat)
        return false;
    Value = float(Target.Prop->GetFloat(*Target.Object));
    return true;
}

void TsgFloatAnimation::Start() {
    ResolveTarget();
    if (FStartFromCurrent)
        sgReadFloatProperty(FTarget, FStartFloat);
    TsgAnimation::Start();
}

void TsgFloatAnimation::Stop() {
    TsgAnimation::Stop();
}

void TsgFloatAnimation::ProcessAnimation() {
    sgWriteFloatProperty(FTarget, sgInterpolateSingle(FStartFloat, FStopFloat, NormalizedTime()));
}
