// Chief header of the animation unit: the 33 ms animation clock, the timing and triggers every
// animation shares, and the concrete animation kinds.
#pragma once

#include "scene/core/Sg_ani_base.h"
#include "scene/core/Sg_ani_kinds.h"

// The unit's start-up: registers the nine animation classes under the category "Animations"
// (and by name). The program calls it once before it reads any stream; later calls do nothing.
void RegisterSgAniUnit();
