// The range controls and the splitter: progress bar, thumb, tracks, scroll bars, splitter.
#pragma once

#include "scene/controls/Sg_controls_scrollbar.h"
#include "scene/controls/Sg_controls_splitter.h"
#include "scene/controls/Sg_controls_track.h"
#include "scene/controls/Sg_progressbar.h"

// Registers the classes above: the thumb by name only (it is made by style streams, never
// offered), the others under "Controls" as well. Safe to call more than once.
void RegisterSgControlsBars();
