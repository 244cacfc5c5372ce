#include "scene/controls/Sg_controls_rangebars.h"

#include "scene/core/Sg_scene_registry.h"

void RegisterSgControlsBars() {
    static const bool done = [] {
        RegisterClass(TsgThumb::StaticClassInfo());
        RegisterSGObjects(u"Controls",
                          {&TsgProgressBar::StaticClassInfo(), &TsgTrack::StaticClassInfo(),
                           &TsgScrollBar::StaticClassInfo(), &TsgSmallScrollBar::StaticClassInfo(),
                           &TsgTrackBar::StaticClassInfo(), &TsgSplitter::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
