#include "scene/core/Sg_ani_base.h"

#include "scene/core/Sg_scene_visual.h"
#include "scene/core/Sg_utils_easing.h"

#include <cmath>

DBI_PUBLISH(TsgAnimation) {
    using A = TsgAnimation;
    p.Enumeration("AnimationType", &A::AnimationType, &A::SetAnimationType,
                  {"sgAnimationIn", "sgAnimationOut", "sgAnimationInOut"}, sgAnimationIn);
    p.Boolean("AutoReverse", &A::AutoReverse, &A::SetAutoReverse, false);
    p.Boolean("Enabled", &A::Enabled, &A::SetEnabled, false);
    p.Float("Delay", &A::Delay, &A::SetDelay);
    p.Float("Duration", &A::Duration, &A::SetDuration);
    p.Enumeration("Interpolation", &A::Interpolation, &A::SetInterpolation,
                  {"sgInterpolationLinear", "sgInterpolationQuadratic", "sgInterpolationCubic",
                   "sgInterpolationQuartic", "sgInterpolationQuintic", "sgInterpolationSinusoidal",
                   "sgInterpolationExponential", "sgInterpolationCircular",
                   "sgInterpolationElastic", "sgInterpolationBack", "sgInterpolationBounce"},
                  sgInterpolationLinear);
    p.Boolean("Inverse", &A::Inverse, &A::SetInverse, false);
    p.Boolean("HideOnFinish", &A::HideOnFinish, &A::SetHideOnFinish, std::nullopt);
    p.Boolean("Loop", &A::Loop, &A::SetLoop, false);
    p.String("Trigger", &A::Trigger, &A::SetTrigger);
    p.Event("OnFinish", &A::OnFinish, &A::SetOnFinish);
}

TsgAnimation::TsgAnimation(TComponent* AOwner) : TsgObject(AOwner) {}

TsgAnimation::~TsgAnimation() {
    if (aniThread)
        aniThread->Remove(this);
    BeforeDestruction();
}

bool TsgAnimation::InDesignScene() {
    IsgScene* scene = Scene();
    return scene && scene->GetDesignTime();
}

bool TsgAnimation::ParentHidden() {
    TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr;
    return parent && !parent->Visible();
}

void TsgAnimation::Loaded() {
    TsgObject::Loaded();
    if (!InDesignScene() && FEnabled)
        Start();
}

void TsgAnimation::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    if (InDesignScene() || Loading())
        return;
    if (FEnabled)
        Start();
    else
        Stop();
}

void TsgAnimation::Start() {
    if (ParentHidden())
        return;
    if (std::fabs(FDuration) < 0.001f || !Scene() || InDesignScene()) {
        // Jump to the end at once. The duration is 1 only for this last write and is given
        // back afterwards, so a later start of the same animation runs in time again.
        const float duration = FDuration;
        FDelayTime = 0;
        FTime = FInverse ? 0 : 1;
        FDuration = 1;
        FRunning = true;
        ProcessAnimation();
        FRunning = false;
        FTime = 0;
        FDuration = duration;
        FEnabled = false;
        // Last: the handler may free the animation.
        if (FOnFinish)
            FOnFinish(this);
        return;
    }
    FDelayTime = FDelay;
    FRunning = true;
    FTime = FInverse ? FDuration : 0;
    ProcessAnimation();
    if (!aniThread)
        aniThread = new TsgAniThread();
    aniThread->Add(this);
    FEnabled = true;
}

void TsgAnimation::ProcessTick(float, float DeltaTime) {
    if (InDesignScene() || HasState(csDestroying))
        return;
    if (ParentHidden()) {
        Stop();
        return;
    }
    if (!FRunning || Pause)
        return;
    if (FDelayTime > 0) {
        FDelayTime -= DeltaTime;
        return;
    }
    FTime = FInverse ? FTime - DeltaTime : FTime + DeltaTime;
    if (FTime >= FDuration) {
        FTime = FDuration;
        if (FLoop) {
            if (FAutoReverse)
                FInverse = true;
            else
                FTime = 0;
        } else {
            FRunning = false;
        }
    } else if (FTime <= 0) {
        FTime = 0;
        if (FLoop) {
            if (FAutoReverse)
                FInverse = false;
            else
                FTime = FDuration;
        } else {
            FRunning = false;
        }
    }
    ProcessAnimation();
    if (!FRunning) {
        // Also out of the list when the animation left its scene meanwhile; only an animation
        // still in a scene reports the finish.
        if (aniThread)
            aniThread->Remove(this);
        if (Scene() && FOnFinish)
            FOnFinish(this);
    }
}

void TsgAnimation::Finish() {
    FRunning = false;
    FEnabled = false;
    if (FOnFinish)
        FOnFinish(this);
}

void TsgAnimation::Stop() {
    if (!FRunning)
        return;
    if (aniThread)
        aniThread->Remove(this);
    FTime = FInverse ? 0 : FDuration;
    ProcessAnimation();
    Finish();
}

void TsgAnimation::StopAtCurrent() {
    if (!FRunning)
        return;
    if (aniThread)
        aniThread->Remove(this);
    FTime = FInverse ? 0 : FDuration;
    Finish();
}

void TsgAnimation::StartTrigger(TsgObject* AInstance, const AnsiString& ATrigger) {
    if (FTrigger.IsEmpty() || !AInstance || !sgTriggerMentions(FTrigger, ATrigger))
        return;
    if (sgTriggerHolds(AInstance, FTrigger))
        Start();
}

float TsgAnimation::NormalizedTime() const {
    if (FDuration <= 0 || FDelayTime > 0)
        return 0;
    const double t = FTime, d = FDuration;
    const TsgAnimationType a = FAnimationType;
    switch (FInterpolation) {
    case sgInterpolationLinear:
        return float(sgInterpolateLinear(t, 0, 1, d));
    case sgInterpolationQuadratic:
        return float(sgInterpolateQuad(t, 0, 1, d, a));
    case sgInterpolationCubic:
        return float(sgInterpolateCubic(t, 0, 1, d, a));
    case sgInterpolationQuartic:
        return float(sgInterpolateQuart(t, 0, 1, d, a));
    case sgInterpolationQuintic:
        return float(sgInterpolateQuint(t, 0, 1, d, a));
    case sgInterpolationSinusoidal:
        return float(sgInterpolateSine(t, 0, 1, d, a));
    case sgInterpolationExponential:
        return float(sgInterpolateExpo(t, 0, 1, d, a));
    case sgInterpolationCircular:
        return float(sgInterpolateCirc(t, 0, 1, d, a));
    case sgInterpolationElastic:
        return float(sgInterpolateElastic(t, 0, 1, d, 0, 0, a));
    case sgInterpolationBack:
        return float(sgInterpolateBack(t, 0, 1, d, 0, a));
    case sgInterpolationBounce:
        return float(sgInterpolateBounce(t, 0, 1, d, a));
    }
    return 0;
}

void TsgAnimation::FreeOnFinish(TObject*) {
    Free();
}
