#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_animatedbutton.h"
#include "scene/controls/Sg_controls_expander.h"
#include "scene/controls/Sg_controls_glyphbuttons.h"
#include "scene/controls/Sg_controls_imagecontrol.h"
#include "scene/controls/Sg_controls_popupbox.h"

#include "scene/core/Sg_scene_registry.h"

// The glyph buttons, the expander, the image well and the popup box join the unit's
// categories.
void RegisterSgControlsGlyphs() {
    RegisterSGObjects(u"Boxes", {&TsgPopupBox::StaticClassInfo()});
    RegisterSGObjects(u"Controls",
                      {&TsgImageControl::StaticClassInfo(), &TsgExpander::StaticClassInfo()});
    RegisterSGObjects(u"Tool and Status",
                      {&TsgToolButton::StaticClassInfo(), &TsgToolPathButton::StaticClassInfo()});
    RegisterSGObjects(u"Buttons",
                      {&TsgAnimatedButton::StaticClassInfo(), &TsgBitmapButton::StaticClassInfo(),
                       &TsgPathButton::StaticClassInfo()});
    RegisterSGObjects(u"HUD", {&TsgHudPopupBox::StaticClassInfo()});
}
