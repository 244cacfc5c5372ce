#include "scene/core/Sg_ani_base.h"

#include "platform/rtl/StringUtils.h"
#include "platform/ui/UiClock.h"

#include <algorithm>

DBI_PUBLISH(TsgAniThread) {}

TsgAniThread* aniThread = nullptr;

void sgFreeAniThread() {
    TsgAniThread* clock = aniThread;
    aniThread = nullptr;
    delete clock;
}

TsgAniThread::TsgAniThread(TComponent* AOwner) : TsgTimer(AOwner), FStartTime(UiClock().NowMs()) {
    SetInterval(33);
    SetOnTimer(TNotifyEvent::Bind<&TsgAniThread::DoSyncTimer>(this));
}

TsgAniThread::~TsgAniThread() {
    // The animations still listed are not touched: they find no clock and start it anew.
    FAniList.clear();
}

void TsgAniThread::Add(TsgAnimation* Animation) {
    if (!Contains(Animation))
        FAniList.push_back(Animation);
}

void TsgAniThread::Remove(TsgAnimation* Animation) {
    FAniList.erase(std::remove(FAniList.begin(), FAniList.end(), Animation), FAniList.end());
}

bool TsgAniThread::Contains(const TsgAnimation* Animation) const {
    return std::find(FAniList.begin(), FAniList.end(), Animation) != FAniList.end();
}

void TsgAniThread::DoSyncTimer(TObject*) {
    const double now = double(UiClock().NowMs() - FStartTime) / 1000.0;
    // Ticks that arrive within the clock's resolution move nothing.
    if (now <= FTime)
        return;
    FDeltaTime = float(now - FTime);
    FTime = now;
    // From the end: an animation that finishes (or is freed by its finish handler, which may
    // free others too) leaves the list without disturbing the entries still to visit.
    for (size_t i = FAniList.size(); i-- > 0;) {
        if (i >= FAniList.size())
            continue;
        TsgAnimation* animation = FAniList[i];
        if (!animation->Running())
            continue;
        if (SameText(animation->BindingName(), UnicodeString(u"caret"))) {
            // The text cursor blinks at a third of the clock's speed.
            animation->SetTag(animation->Tag() + 1);
            if (animation->Tag() % 3 != 0)
                continue;
        }
        animation->ProcessTick(float(now), FDeltaTime);
    }
}
