#include "platform/gfx/RichText.h"

#include "platform/gfx/FontAliases.h"
#include "platform/gfx/TextLayout.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>

namespace gfx {

namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;

// One pango layout of all runs, sizes scaled by `unitsPerPoint` (pixels on screen, points in a
// PDF), wrapped at `width` of those units.
PangoLayout* MakeLayout(const std::vector<RichTextRun>& runs, const std::string& family,
                        double width, double unitsPerPoint) {
    LoadProjectFontAliases();
    PangoLayout* layout = pango_layout_new(detail::SharedPangoContext());
    std::string utf8;
    PangoAttrList* attributes = pango_attr_list_new();
    for (const RichTextRun& run : runs) {
        const std::string text = detail::ToPangoText(run.text);
        if (text.empty())
            continue;
        const auto start = static_cast<guint>(utf8.size());
        utf8 += text;
        const auto end = static_cast<guint>(utf8.size());
        auto add = [&](PangoAttribute* a) {
            a->start_index = start;
            a->end_index = end;
            pango_attr_list_insert(attributes, a);
        };
        const double size = std::clamp<double>(run.points, 1, 1000) * unitsPerPoint;
        add(pango_attr_size_new_absolute(static_cast<int>(size * PANGO_SCALE)));
        if (run.bold)
            add(pango_attr_weight_new(PANGO_WEIGHT_BOLD));
        if (run.italic)
            add(pango_attr_style_new(PANGO_STYLE_ITALIC));
        if (run.underline)
            add(pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        const auto channel = [&](int shift) {
            return static_cast<guint16>(((run.color >> shift) & 0xFF) * 257);
        };
        add(pango_attr_foreground_new(channel(16), channel(8), channel(0)));
    }
    pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    PangoFontDescription* font = pango_font_description_from_string(family.c_str());
    pango_font_description_set_absolute_size(font, 12 * unitsPerPoint * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    pango_layout_set_width(layout, static_cast<int>(std::max(1.0, width) * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    return layout;
}

} // namespace

struct RichTextLayout::Impl {
    PangoLayout* layout = nullptr;
    ~Impl() {
        if (layout)
            g_object_unref(layout);
    }
};

RichTextLayout::RichTextLayout(const std::vector<RichTextRun>& runs, const std::string& family,
                               int width)
    : impl_(std::make_unique<Impl>()) {
    impl_->layout = MakeLayout(runs, family, width, kPixelsPerPoint);
}

RichTextLayout::~RichTextLayout() = default;

int RichTextLayout::Height() const {
    int w = 0;
    int h = 0;
    pango_layout_get_pixel_size(impl_->layout, &w, &h);
    return h;
}

int RichTextLayout::LineCount() const {
    return pango_layout_get_line_count(impl_->layout);
}

void RichTextLayout::Render(uint32_t* pixels, int width, int height, int strideBytes, int left,
                            int scrollY) const {
    if (!pixels || width <= 0 || height <= 0)
        return;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(pixels), CAIRO_FORMAT_ARGB32, width, height, strideBytes);
    cairo_t* cr = cairo_create(surface);
    cairo_move_to(cr, left, -scrollY);
    pango_cairo_update_layout(cr, impl_->layout);
    pango_cairo_show_layout(cr, impl_->layout);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
}

bool WriteRichTextPdf(const std::vector<RichTextRun>& runs, const std::string& family,
                      const std::string& title, const std::string& path, std::string& error) {
    constexpr double kPageWidth = 595.28; // A4 in points
    constexpr double kPageHeight = 841.89;
    constexpr double kMargin = 56.69; // 2 cm
    cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), kPageWidth, kPageHeight);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        error =
            "cannot write " + path + ": " + cairo_status_to_string(cairo_surface_status(surface));
        cairo_surface_destroy(surface);
        return false;
    }
    if (!title.empty())
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_t* cr = cairo_create(surface);
    PangoLayout* layout = MakeLayout(runs, family, kPageWidth - 2 * kMargin, 1.0);
    pango_cairo_update_layout(cr, layout);
    // Lines are placed one by one so that a page break never cuts through a line.
    PangoLayoutIter* it = pango_layout_get_iter(layout);
    double pageTop = 0; // layout y of the current page's first line
    do {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(it, nullptr, &logical);
        const double top = double(logical.y) / PANGO_SCALE;
        const double bottom = top + double(logical.height) / PANGO_SCALE;
        if (bottom - pageTop > kPageHeight - 2 * kMargin && top > pageTop) {
            cairo_show_page(cr);
            pageTop = top;
        }
        const double baseline = double(pango_layout_iter_get_baseline(it)) / PANGO_SCALE;
        cairo_move_to(cr, kMargin + double(logical.x) / PANGO_SCALE, kMargin + baseline - pageTop);
        pango_cairo_show_layout_line(cr, pango_layout_iter_get_line_readonly(it));
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = "cannot write " + path + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

} // namespace gfx
