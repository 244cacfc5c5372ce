// The animation clock and the timing every animation shares.
//
// An animation is a child node of what it animates. While it runs, the clock (one window-less
// 33 ms timer for the whole process) advances its time and the animation writes the state for
// that time into a property (ProcessAnimation, filled in by the kinds in Sg_ani_kinds.h). Style
// trees start most animations through triggers: condition texts such as
// "IsMouseOver=true;IsPressed=false" over the boolean and enumeration properties of the object
// whose state changed.
#pragma once

#include "scene/core/Sg_classes_timer.h"
#include "scene/core/Sg_scene_object.h"

#include <cstdint>
#include <vector>

class TsgAnimation;

// The clock: a TsgTimer whose ticks come through the message loop like every other event. Time
// is read from the user-interface clock's 64-bit millisecond count, so it never wraps.
class TsgAniThread : public TsgTimer {
    DBI_PERSISTENT(TsgAniThread, TsgTimer)

    explicit TsgAniThread(TComponent* AOwner = nullptr);
    ~TsgAniThread() override;

    // The running list; an animation is in it at most once.
    void Add(TsgAnimation* Animation);
    void Remove(TsgAnimation* Animation);
    bool Contains(const TsgAnimation* Animation) const;
    int RunningCount() const { return static_cast<int>(FAniList.size()); }
    // Seconds since the clock was made, as of the last tick that advanced time.
    double LastTime() const { return FTime; }
    float DeltaTime() const { return FDeltaTime; }

    // One tick of the clock (the timer's handler).
    void DoSyncTimer(TObject* Sender);

private:
    std::vector<TsgAnimation*> FAniList;
    uint64_t FStartTime;
    double FTime = 0;
    float FDeltaTime = 0;
};

// The process-wide clock: made by the first Start of an animation that lies in a scene, freed
// with the last scene host (sgFreeAniThread) and at shutdown.
extern TsgAniThread* aniThread;
void sgFreeAniThread();

// Whether a trigger text holds for AInstance: at least one condition names a boolean or
// enumeration property of it and every such condition matches its current value (names compared
// without case). Conditions are "name=value", separated by ";"; an empty condition ends the list;
// conditions naming no such property are ignored.
bool sgTriggerHolds(TsgObject* AInstance, const AnsiString& ATrigger);
// The quick test before sgTriggerHolds: ATrigger (a state name) occurs in the text, ignoring case.
bool sgTriggerMentions(const AnsiString& Trigger, const AnsiString& ATrigger);

class TsgAnimation : public TsgObject {
    DBI_PERSISTENT(TsgAnimation, TsgObject)

    explicit TsgAnimation(TComponent* AOwner);
    ~TsgAnimation() override;

    // Writes the state for the current time into the animated property; nothing in the base.
    virtual void ProcessAnimation() {}
    virtual void Start();
    virtual void Stop();
    virtual void StopAtCurrent();
    virtual void StartTrigger(TsgObject* AInstance, const AnsiString& ATrigger);
    // One step of the clock; only DeltaTime enters the computation.
    void ProcessTick(float Time, float DeltaTime);
    // The eased progress of the pass, normally 0 to 1.
    float NormalizedTime() const;

    void Loaded() override;

    float Duration() const { return FDuration; }
    void SetDuration(float Value) { FDuration = Value; }
    float Delay() const { return FDelay; }
    void SetDelay(float Value) { FDelay = Value; }
    float CurrentTime() const { return FTime; }
    float RemainingDelay() const { return FDelayTime; }
    bool Inverse() const { return FInverse; }
    void SetInverse(bool Value) { FInverse = Value; }
    const AnsiString& Trigger() const { return FTrigger; }
    void SetTrigger(const AnsiString& Value) { FTrigger = Value; }
    bool Loop() const { return FLoop; }
    void SetLoop(bool Value) { FLoop = Value; }
    bool AutoReverse() const { return FAutoReverse; }
    void SetAutoReverse(bool Value) { FAutoReverse = Value; }
    bool HideOnFinish() const { return FHideOnFinish; }
    void SetHideOnFinish(bool Value) { FHideOnFinish = Value; }
    TsgInterpolationType Interpolation() const { return FInterpolation; }
    void SetInterpolation(TsgInterpolationType Value) { FInterpolation = Value; }
    TsgAnimationType AnimationType() const { return FAnimationType; }
    void SetAnimationType(TsgAnimationType Value) { FAnimationType = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Running() const { return FRunning; }
    const TNotifyEvent& OnFinish() const { return FOnFinish; }
    void SetOnFinish(const TNotifyEvent& Value) { FOnFinish = Value; }

    // While set, the clock leaves the animation where it is.
    bool Pause = false;

    // Hooks of the object tree.
    bool IsAnimation() const override { return true; }
    AnsiString AnimationTrigger() const override { return FTrigger; }
    bool AnimationRunning() const override { return FRunning; }
    void AnimationStart() override { Start(); }
    void AnimationStop() override { Stop(); }
    void AnimationStartTrigger(TsgObject* AInstance, const AnsiString& ATrigger) override {
        StartTrigger(AInstance, ATrigger);
    }

    // A finish handler that frees the animation (the object tree's AnimateFloat helpers).
    void FreeOnFinish(TObject* Sender);

protected:
    bool InDesignScene();
    // The parent is a visual object that is hidden.
    bool ParentHidden();

private:
    void Finish();

    float FDuration = 0.2f;
    float FDelay = 0;
    float FDelayTime = 0;
    float FTime = 0;
    bool FInverse = false;
    AnsiString FTrigger;
    bool FLoop = false;
    bool FRunning = false;
    TNotifyEvent FOnFinish;
    bool FHideOnFinish = false;
    TsgInterpolationType FInterpolation = sgInterpolationLinear;
    TsgAnimationType FAnimationType = sgAnimationIn;
    bool FEnabled = false;
    bool FAutoReverse = false;
};
