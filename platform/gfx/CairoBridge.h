// Private to platform/gfx: how the layer's value types become cairo's.
#pragma once

#include <cairo.h>

#include "platform/gfx/GraphicsPath.h"
#include "platform/gfx/Matrix.h"

namespace gfx::detail {

inline cairo_matrix_t ToCairo(const Matrix& m) {
    cairo_matrix_t c;
    cairo_matrix_init(&c, m.M11(), m.M12(), m.M21(), m.M22(), m.OffsetX(), m.OffsetY());
    return c;
}

inline Matrix FromCairo(const cairo_matrix_t& c) {
    return Matrix::FromDoubles(c.xx, c.yx, c.xy, c.yy, c.x0, c.y0);
}

inline cairo_fill_rule_t ToCairo(FillMode mode) {
    return mode == FillMode::Alternate ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING;
}

// Adds the path's figures to the context's current path (in the context's user space).
void AppendPath(cairo_t* cr, const GraphicsPath& path);

// A context on a 1 x 1 surface for geometry questions (bounds, hit tests, text outlines); one
// per thread, identity matrix and an empty path whenever it is handed out.
cairo_t* ScratchContext();

} // namespace gfx::detail
