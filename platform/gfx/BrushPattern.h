// Private to platform/gfx: a brush as a cairo source pattern, locked to the user space that is
// current when the pattern is set as the source.
#pragma once

#include <cairo.h>

#include "platform/gfx/Brush.h"

namespace gfx::detail {

// nullptr when the brush paints nothing (a degenerate gradient or transform, no image).
cairo_pattern_t* CreatePattern(const Brush& brush, cairo_filter_t filter);

} // namespace gfx::detail
