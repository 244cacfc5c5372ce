#include "scene/controls/Sg_controls_rangebars.h"

#include "scene/controls/Sg_controls.h"

DBI_PUBLISH(TsgHudTrack) {
    (void)p;
}
DBI_PUBLISH(TsgHudTrackBar) {
    (void)p;
}
DBI_PUBLISH(TsgHudScrollBar) {
    (void)p;
}

// The range controls are part of the controls unit: one registration, in the unit's order.
void RegisterSgControlsBars() {
    RegisterSgControlsUnit();
}
