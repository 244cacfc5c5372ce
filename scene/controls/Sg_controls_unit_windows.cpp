#include "scene/controls/Sg_controls_angle.h"
#include "scene/controls/Sg_controls_windows.h"

#include "scene/core/Sg_scene_registry.h"

// The plain window and the layer window are left out on purpose: code that wants them by class
// name registers them itself.
void RegisterSgControlsWindows() {
    static const bool done = [] {
        RegisterSGObjects(u"Controls", {&TsgAniIndicator::StaticClassInfo()});
        RegisterSGObjects(u"Buttons", {&TsgAngleButton::StaticClassInfo(),
                                       &TsgBitmapStateButton::StaticClassInfo()});
        RegisterSGObjects(
            u"HUD", {&TsgHudWindow::StaticClassInfo(), &TsgHudAngleButton::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
