// Chief header of the scene unit: value types and primitives (points, rectangles, matrices,
// colours and their texts), the object tree and its registries and streams, the scene
// interface, attribute objects, fonts, visual objects, brushes and paths, the layout of
// children, the style container and translations, controls and their styles, and the scene
// host window.
//
// Round means halves to the even neighbour (std::nearbyint in the default rounding mode), Trunc
// cuts toward zero; single-precision values that are multiplied and then truncated are computed
// in double from the stored float. Nothing here may be built with fast-math or flush-to-zero:
// Epsilon is a denormal.
#pragma once

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_align.h"
#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_bounds.h"
#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_control.h"
#include "scene/core/Sg_scene_filter.h"
#include "scene/core/Sg_scene_font.h"
#include "scene/core/Sg_scene_frame.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_host.h"
#include "scene/core/Sg_scene_imagelist.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_lang.h"
#include "scene/core/Sg_scene_msgpopup.h"
#include "scene/core/Sg_scene_object.h"
#include "scene/core/Sg_scene_paint.h"
#include "scene/core/Sg_scene_path.h"
#include "scene/core/Sg_scene_popup.h"
#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_resourceobjects.h"
#include "scene/core/Sg_scene_resources.h"
#include "scene/core/Sg_scene_streams.h"
#include "scene/core/Sg_scene_text.h"
#include "scene/core/Sg_scene_types.h"
#include "scene/core/Sg_scene_visual.h"

// The unit's start-up: registers its persistent classes by name and its resource classes by
// category. A static library only brings in the object files something refers to, so the
// program calls this once before it reads any stream; later calls do nothing.
void RegisterSgSceneUnit();
