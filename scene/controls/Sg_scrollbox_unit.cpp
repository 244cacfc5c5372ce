#include "scene/controls/Sg_scrollbox.h"

#include "scene/core/Sg_scene_registry.h"

void RegisterSgScrollBoxUnit() {
    static const bool done = [] {
        RegisterSGObjects(u"Controls",
                          {&TsgScrollBox::StaticClassInfo(), &TsgVertScrollBox::StaticClassInfo(),
                           &TsgFramedScrollBox::StaticClassInfo(),
                           &TsgFramedVertScrollBox::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
