#include "scene/controls/Sg_numberbox.h"
#include "scene/controls/Sg_textbox.h"

#include "scene/core/Sg_scene_registry.h"

void RegisterSgTextboxUnit() {
    static const bool done = [] {
        RegisterSGObjects(u"Text Edits",
                          {&TsgTextBox::StaticClassInfo(), &TsgRoundTextBox::StaticClassInfo()});
        RegisterSGObjects(
            u"HUD", {&TsgHudTextBox::StaticClassInfo(), &TsgHudRoundTextBox::StaticClassInfo()});
        RegisterSgNumberBoxes();
        return true;
    }();
    (void)done;
}
