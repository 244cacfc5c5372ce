#include "scene/controls/Sg_numberbox.h"

#include "scene/core/Sg_scene_registry.h"

void RegisterSgNumberBoxes() {
    static const bool done = [] {
        RegisterSGObjects(u"Text Edits",
                          {&TsgNumberBox::StaticClassInfo(), &TsgSpinBox::StaticClassInfo()});
        RegisterSGObjects(u"HUD",
                          {&TsgHudNumberBox::StaticClassInfo(), &TsgHudSpinBox::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
