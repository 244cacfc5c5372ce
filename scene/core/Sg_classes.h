// Chief header of the classes unit: the object list, the window-less timer, the named value
// store and the wide string lists.
#pragma once

#include "scene/core/Sg_classes_hash.h"
#include "scene/core/Sg_classes_objectlist.h"
#include "scene/core/Sg_classes_storage.h"
#include "scene/core/Sg_classes_timer.h"
#include "scene/core/Sg_classes_widestringlist.h"
#include "scene/core/Sg_classes_widestrings.h"

// Registers the unit's persistent classes by name. Each class also registers itself when its
// object file is part of the program; calling this from the unit's start-up makes sure they are,
// since a static library only brings in the object files something refers to.
void RegisterSgClassesUnit();
