// Chief header of the scene unit: value types and primitives (points, rectangles, matrices,
// colours and their texts).
//
// Round means halves to the even neighbour (std::nearbyint in the default rounding mode), Trunc
// cuts toward zero; single-precision values that are multiplied and then truncated are computed
// in double from the stored float. Nothing here may be built with fast-math or flush-to-zero:
// Epsilon is a denormal.
#pragma once

#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_text.h"
#include "scene/core/Sg_scene_types.h"
