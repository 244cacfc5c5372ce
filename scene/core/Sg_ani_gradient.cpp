#include "scene/core/Sg_ani_kinds.h"

#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_color.h"

#include <algorithm>

DBI_PUBLISH(TsgGradientAnimation) {
    using A = TsgGradientAnimation;
    p.Object("StartValue", &A::StartValue, &A::SetStartValue);
    p.Object("StopValue", &A::StopValue, &A::SetStopValue);
    p.Boolean("StartFromCurrent", &A::StartFromCurrent, &A::SetStartFromCurrent, false);
    p.String("PropertyName", &A::PropertyName, &A::SetPropertyName);
}

TsgGradientAnimation::TsgGradientAnimation(TComponent* AOwner)
    : TsgPropertyAnimation(AOwner), FStartGradient(std::make_unique<TsgGradient>()),
      FStopGradient(std::make_unique<TsgGradient>()) {}

TsgGradientAnimation::~TsgGradientAnimation() {
    BeforeDestruction();
}

void TsgGradientAnimation::SetStartValue(TsgGradient* Value) {
    FStartGradient->Assign(Value);
}

void TsgGradientAnimation::SetStopValue(TsgGradient* Value) {
    FStopGradient->Assign(Value);
}

void TsgGradientAnimation::Start() {
    ResolveTarget();
    if (FStartFromCurrent)
        if (auto* current = dynamic_cast<TsgGradient*>(FTarget.ObjectValue()))
            FStartGradient->Assign(current);
    TsgAnimation::Start();
}

void TsgGradientAnimation::ProcessAnimation() {
    auto* target = dynamic_cast<TsgGradient*>(FTarget.ObjectValue());
    if (!target)
        return;
    const float t = NormalizedTime();
    TsgGradientPoints* start = FStartGradient->Points();
    TsgGradientPoints* stop = FStopGradient->Points();
    const int count = std::min({target->Points()->Count(), start->Count(), stop->Count()});
    // Only the colours move; offsets and any further points of the target stay.
    for (int i = 0; i < count; ++i)
        target->Points()->Points(i)->SetIntColor(
            sgInterpolateColor(start->Points(i)->IntColor(), stop->Points(i)->IntColor(), t));
    target->Change();
}
