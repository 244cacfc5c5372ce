// Text outlines for GraphicsPath::AddString, laid out exactly as Graphics::DrawString lays out.
#include "platform/gfx/CairoBridge.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GraphicsPath.h"
#include "platform/gfx/TextLayout.h"

namespace gfx {

Status GraphicsPath::AddString(std::u16string_view text, const FontFamily& family, int style,
                               float emSize, const RectF& layoutRect, const StringFormat& format) {
    if (!family.IsAvailable())
        return Status::FontFamilyNotFound;
    if (!(emSize > 0))
        return Status::InvalidParameter;
    if (text.empty())
        return Status::Ok;
    detail::TextBlock block(text, family.Name(), emSize, style, layoutRect, format);
    cairo_t* cr = detail::ScratchContext();
    block.AppendOutlines(cr);
    cairo_path_t* outline = cairo_copy_path(cr);
    cairo_new_path(cr);
    auto at = [](const cairo_path_data_t& d) { return PointF(float(d.point.x), float(d.point.y)); };
    for (int i = 0; i < outline->num_data; i += outline->data[i].header.length) {
        const cairo_path_data_t* d = &outline->data[i];
        switch (d->header.type) {
        case CAIRO_PATH_MOVE_TO:
            // cairo starts a figure after every close at the same point: a start that nothing
            // follows is replaced.
            if (!types_.empty() && types_.back() == PathPointTypeStart) {
                points_.back() = at(d[1]);
            } else {
                StartFigure();
                AppendRaw(at(d[1]), PathPointTypeStart);
            }
            break;
        case CAIRO_PATH_LINE_TO:
            AppendRaw(at(d[1]), PathPointTypeLine);
            break;
        case CAIRO_PATH_CURVE_TO:
            for (int k = 1; k <= 3; ++k)
                AppendRaw(at(d[k]), PathPointTypeBezier);
            break;
        case CAIRO_PATH_CLOSE_PATH:
            CloseFigure();
            break;
        }
    }
    cairo_path_destroy(outline);
    if (!types_.empty() && types_.back() == PathPointTypeStart) {
        types_.pop_back();
        points_.pop_back();
    }
    figureOpen_ = false;
    return Status::Ok;
}

} // namespace gfx
