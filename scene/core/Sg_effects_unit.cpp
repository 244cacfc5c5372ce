#include "scene/core/Sg_effects.h"

#include "scene/core/Sg_scene_registry.h"

void RegisterSgEffectsUnit() {
    static const bool done = [] {
        RegisterClass(TsgEffect::StaticClassInfo());
        RegisterSGObjects(
            u"Effects",
            {&TsgShadowEffect::StaticClassInfo(), &TsgBlurEffect::StaticClassInfo(),
             &TsgGlowEffect::StaticClassInfo(), &TsgInnerGlowEffect::StaticClassInfo(),
             &TsgBevelEffect::StaticClassInfo(), &TsgReflectionEffect::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
