#include "scene/core/Sg_ani_kinds.h"

#include "scene/core/Sg_scene_geometry.h"

DBI_PUBLISH(TsgRectAnimation) {
    using A = TsgRectAnimation;
    p.Object("StartValue", &A::StartValue, &A::SetStartValue);
    p.Object("StopValue", &A::StopValue, &A::SetStopValue);
    p.Boolean("StartFromCurrent", &A::StartFromCurrent, &A::SetStartFromCurrent, false);
    p.String("PropertyName", &A::PropertyName, &A::SetPropertyName);
}

TsgRectAnimation::TsgRectAnimation(TComponent* AOwner)
    : TsgPropertyAnimation(AOwner), FStartRect(std::make_unique<TsgBounds>()),
      FCurrent(std::make_unique<TsgBounds>()), FStopRect(std::make_unique<TsgBounds>()) {}

TsgRectAnimation::~TsgRectAnimation() {
    BeforeDestruction();
}

void TsgRectAnimation::SetStartValue(TsgBounds* Value) {
    FStartRect->Assign(Value);
}

void TsgRectAnimation::SetStopValue(TsgBounds* Value) {
    FStopRect->Assign(Value);
}

void TsgRectAnimation::Start() {
    ResolveTarget();
    if (FStartFromCurrent)
        if (auto* current = dynamic_cast<TsgBounds*>(FTarget.ObjectValue()))
            FStartRect->Assign(current);
    TsgAnimation::Start();
}

void TsgRectAnimation::ProcessAnimation() {
    // Only bounds take bounds; anything else would raise inside the clock's tick.
    auto* target = dynamic_cast<TsgBounds*>(FTarget.ObjectValue());
    if (!target)
        return;
    const float t = NormalizedTime();
    const TsgRect a = FStartRect->Rect(), b = FStopRect->Rect();
    FCurrent->SetRect({sgInterpolateSingle(a.Left, b.Left, t), sgInterpolateSingle(a.Top, b.Top, t),
                       sgInterpolateSingle(a.Right, b.Right, t),
                       sgInterpolateSingle(a.Bottom, b.Bottom, t)});
    target->Assign(FCurrent.get());
}
