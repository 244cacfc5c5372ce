// The unit of the scene graph's invisible containers: plain, scaled, grid and split layouts, and
// the layout that hosts a window control of the platform layer.
#pragma once

#include "scene/controls/Sg_gridlayout.h"
#include "scene/controls/Sg_layout.h"
#include "scene/controls/Sg_nonsglayout.h"
#include "scene/controls/Sg_scaledlayout.h"

// Registers the layouts under "Layout"; safe to call more than once.
void RegisterSgLayoutsUnit();
