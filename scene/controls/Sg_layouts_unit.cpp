#include "scene/controls/Sg_layouts.h"

#include "scene/core/Sg_scene_registry.h"

void RegisterSgLayoutsUnit() {
    static const bool done = [] {
        RegisterSGObjects(u"Layout",
                          {&TsgLayout::StaticClassInfo(), &TsgScaledLayout::StaticClassInfo(),
                           &TsgGridLayout::StaticClassInfo(), &TsgSplitLayout::StaticClassInfo(),
                           &TsgNonSGLayout::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
