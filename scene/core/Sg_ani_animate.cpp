// The object tree's shortcuts for animating one of its properties with a temporary animation.
#include "scene/core/Sg_ani_kinds.h"

#include "platform/ui/Application.h"

#include <thread>

namespace {

TsgFloatAnimation* NewFloatAnimation(TsgObject* Owner, const AnsiString& APropertyName,
                                     float NewValue, float Duration, TsgAnimationType AType,
                                     TsgInterpolationType AInterpolation) {
    auto* a = new TsgFloatAnimation(Owner);
    a->SetParent(Owner);
    a->SetAnimationType(AType);
    a->SetInterpolation(AInterpolation);
    a->SetDuration(Duration);
    a->SetPropertyName(APropertyName);
    a->SetStartFromCurrent(true);
    a->SetStopValue(NewValue);
    return a;
}

// Tells whether a node was freed while messages were pumped.
class FreeWatch : public IsgFreeNotify {
public:
    explicit FreeWatch(TsgObject* Object) : FObject(Object) { FObject->AddFreeNotify(this); }
    ~FreeWatch() {
        if (FObject)
            FObject->RemoveFreeNotify(this);
    }
    void FreeNotify(TsgObject*) override { FObject = nullptr; }
    bool Alive() const { return FObject != nullptr; }

private:
    TsgObject* FObject;
};

} // namespace

void TsgObject::AnimateFloat(const AnsiString& APropertyName, float NewValue, float Duration,
                             TsgAnimationType AType, TsgInterpolationType AInterpolation) {
    TsgFloatAnimation* a =
        NewFloatAnimation(this, APropertyName, NewValue, Duration, AType, AInterpolation);
    a->SetOnFinish(TNotifyEvent::Bind<&TsgAnimation::FreeOnFinish>(a));
    a->Start();
}

void TsgObject::AnimateFloatDelay(const AnsiString& APropertyName, float NewValue, float Duration,
                                  float Delay, TsgAnimationType AType,
                                  TsgInterpolationType AInterpolation) {
    TsgFloatAnimation* a =
        NewFloatAnimation(this, APropertyName, NewValue, Duration, AType, AInterpolation);
    a->SetDelay(Delay);
    a->Start();
}

void TsgObject::AnimateColor(const AnsiString& APropertyName, const UnicodeString& NewValue,
                             float Duration, TsgAnimationType AType,
                             TsgInterpolationType AInterpolation) {
    auto* a = new TsgColorAnimation(this);
    a->SetParent(this);
    a->SetAnimationType(AType);
    a->SetInterpolation(AInterpolation);
    a->SetDuration(Duration);
    a->SetPropertyName(APropertyName);
    a->SetStartFromCurrent(true);
    a->SetStopValue(NewValue);
    a->SetOnFinish(TNotifyEvent::Bind<&TsgAnimation::FreeOnFinish>(a));
    a->Start();
}

void TsgObject::AnimateFloatWait(const AnsiString& APropertyName, float NewValue, float Duration,
                                 TsgAnimationType AType, TsgInterpolationType AInterpolation) {
    TsgFloatAnimation* a =
        NewFloatAnimation(this, APropertyName, NewValue, Duration, AType, AInterpolation);
    FreeWatch watch(a);
    a->Start();
    // The object (and with it the animation) may be freed by a message handled meanwhile.
    while (watch.Alive() && a->Running() && Application && !Application->Terminated()) {
        Application->ProcessMessages();
        std::this_thread::yield();
    }
    if (watch.Alive())
        a->Free();
}
