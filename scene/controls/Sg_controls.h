// Chief header of the controls unit: captioned controls and labels, containers and bars,
// buttons, check and radio boxes, the group box, the close button and the size grip.
#pragma once

#include "scene/controls/Sg_controls_angle.h"
#include "scene/controls/Sg_controls_bars.h"
#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_controls_checks.h"
#include "scene/controls/Sg_controls_text.h"
#include "scene/controls/Sg_controls_windows.h"

// The unit's start-up: registers its classes by name and by category, in the order the design
// tools offer them. Later calls do nothing.
void RegisterSgControlsUnit();
// Part of the unit's start-up: the glyph buttons, the expander, the image well and the popup
// box.
void RegisterSgControlsGlyphs();
