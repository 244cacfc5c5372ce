// The units the design tools' windows are made of, registered for a test that opens one.
#pragma once

#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_rangebars.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/design/Sg_scene_design.h"

inline void RegisterDesignToolUnits() {
    RegisterSgSceneUnit();
    RegisterSgObjectsUnit();
    RegisterSgAniUnit();
    RegisterSgEffectsUnit();
    RegisterSgControlsUnit();
    RegisterSgControlsBars();
    RegisterSgLayoutsUnit();
    RegisterSgScrollBoxUnit();
    RegisterSgTextboxUnit();
    RegisterSgDesignUnit();
    InitSgCanvasUnit();
}
