#include "scene/core/Sg_ani.h"

#include "scene/core/Sg_scene_registry.h"

void RegisterSgAniUnit() {
    static const bool done = [] {
        for (const TClassInfo* info :
             {&TsgAnimation::StaticClassInfo(), &TsgAniThread::StaticClassInfo(),
              &TsgKey::StaticClassInfo(), &TsgColorKey::StaticClassInfo(),
              &TsgFloatKey::StaticClassInfo(), &TsgKeys::StaticClassInfo()})
            RegisterClass(*info);
        RegisterSGObjects(
            u"Animations",
            {&TsgColorAnimation::StaticClassInfo(), &TsgGradientAnimation::StaticClassInfo(),
             &TsgFloatAnimation::StaticClassInfo(), &TsgRectAnimation::StaticClassInfo(),
             &TsgBitmapAnimation::StaticClassInfo(), &TsgColorKeyAnimation::StaticClassInfo(),
             &TsgFloatKeyAnimation::StaticClassInfo(), &TsgPathAnimation::StaticClassInfo(),
             &TsgPathSwitcher::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
