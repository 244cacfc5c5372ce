#include "platform/gfx/TextLayout.h"

#include <algorithm>
#include <atomic>

#include "platform/gfx/Font.h"
#include "platform/rtl/UnicodeString.h"

namespace gfx::detail {

namespace {

std::atomic<int> fontGeneration{0};

// One pango context per thread, remade when fonts were added.
PangoContext* sharedContext() {
    struct Holder {
        PangoFontMap* map = nullptr;
        PangoContext* context = nullptr;
        int generation = -1;
        void release() {
            if (context)
                g_object_unref(context);
            if (map)
                g_object_unref(map);
            context = nullptr;
            map = nullptr;
        }
        ~Holder() { release(); }
    };
    thread_local Holder holder;
    const int generation = fontGeneration.load();
    if (holder.generation != generation) {
        holder.release();
        holder.map = pango_cairo_font_map_new();
        holder.context = pango_font_map_create_context(holder.map);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(holder.context, options);
        cairo_font_options_destroy(options);
        pango_context_set_round_glyph_positions(holder.context, FALSE);
        holder.generation = generation;
    }
    return holder.context;
}

double offsetFor(StringAlignment alignment, double room) {
    switch (alignment) {
    case StringAlignment::Center:
        return room / 2;
    case StringAlignment::Far:
        return room;
    case StringAlignment::Near:
        break;
    }
    return 0;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

void FontConfigurationChanged() {
    ++fontGeneration;
}

int FontConfigurationGeneration() {
    return fontGeneration.load();
}

PangoContext* SharedPangoContext() {
    return sharedContext();
}

std::string ToPangoText(std::u16string_view text) {
    std::string utf8 = Utf16ToUtf8(text);
    if (g_utf8_validate(utf8.data(), gssize(utf8.size()), nullptr))
        return utf8;
    gchar* valid = g_utf8_make_valid(utf8.data(), gssize(utf8.size()));
    std::string out(valid);
    g_free(valid);
    return out;
}

TextBlock::TextBlock(std::u16string_view text, const std::string& family, float emSize, int style,
                     const RectF& layoutRect, const StringFormat& format) {
    layout_ = pango_layout_new(sharedContext());
    const std::string utf8 = ToPangoText(text);
    pango_layout_set_text(layout_, utf8.data(), int(utf8.size()));

    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, family.c_str());
    // pango keeps sizes in integers of 1/1024 pixel, and FreeType refuses giant sizes.
    const double size = std::clamp(double(emSize), 1.0 / PANGO_SCALE, 10000.0);
    pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
    pango_font_description_set_weight(font, (style & FontStyleBold) ? PANGO_WEIGHT_BOLD
                                                                    : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(font, (style & FontStyleItalic) ? PANGO_STYLE_ITALIC
                                                                     : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout_, font);
    pango_font_description_free(font);
    if (style & (FontStyleUnderline | FontStyleStrikeout)) {
        PangoAttrList* attributes = pango_attr_list_new();
        if (style & FontStyleUnderline)
            pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (style & FontStyleStrikeout)
            pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
        pango_layout_set_attributes(layout_, attributes);
        pango_attr_list_unref(attributes);
    }

    const int flags = format.GetFormatFlags();
    const bool wrap = !(flags & StringFormatFlagsNoWrap) && layoutRect.Width > 0;
    if (wrap) {
        const double width = std::min(double(layoutRect.Width), 1.0e6);
        pango_layout_set_width(layout_, int(width * PANGO_SCALE));
        pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
    } else {
        pango_layout_set_width(layout_, -1);
    }
    pango_layout_set_alignment(layout_, PANGO_ALIGN_LEFT);
    const bool trailing = flags & StringFormatFlagsMeasureTrailingSpaces;

    PangoLayoutIter* it = pango_layout_get_iter(layout_);
    double blockHeight = 0;
    do {
        PangoLayoutLine* line = pango_layout_iter_get_line_readonly(it);
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(it, nullptr, &logical);
        TextLine tl;
        tl.line = line;
        tl.top = double(logical.y) / PANGO_SCALE;
        tl.height = double(logical.height) / PANGO_SCALE;
        tl.baseline = double(pango_layout_iter_get_baseline(it)) / PANGO_SCALE;
        int end = line->start_index + line->length;
        if (trailing) {
            tl.width = double(logical.width) / PANGO_SCALE;
        } else {
            const char* chars = pango_layout_get_text(layout_);
            while (end > line->start_index && isBlank(chars[end - 1]))
                --end;
            if (end == line->start_index) {
                tl.width = 0;
            } else {
                const char* last = g_utf8_find_prev_char(chars + line->start_index, chars + end);
                int x = 0;
                pango_layout_line_index_to_x(line, int(last - chars), TRUE, &x);
                tl.width = double(x) / PANGO_SCALE;
            }
        }
        blockHeight = tl.top + tl.height;
        lines_.push_back(tl);
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);

    const double dy = layoutRect.Y +
                      offsetFor(format.GetLineAlignment(), double(layoutRect.Height) - blockHeight);
    double left = 0, right = 0;
    bool any = false;
    for (TextLine& tl : lines_) {
        tl.x = layoutRect.X + offsetFor(format.GetAlignment(), double(layoutRect.Width) - tl.width);
        tl.top += dy;
        tl.baseline += dy;
        if (tl.width > 0) {
            left = any ? std::min(left, tl.x) : tl.x;
            right = any ? std::max(right, tl.x + tl.width) : tl.x + tl.width;
            any = true;
        }
    }
    if (!any && !lines_.empty())
        left = right = lines_.front().x;
    const double top = lines_.empty() ? dy : lines_.front().top;
    bounds_ = RectF(float(left), float(top), float(right - left), float(blockHeight));
}

TextBlock::~TextBlock() {
    if (layout_)
        g_object_unref(layout_);
}

void TextBlock::Show(cairo_t* cr) const {
    for (const TextLine& tl : lines_) {
        cairo_move_to(cr, tl.x, tl.baseline);
        pango_cairo_show_layout_line(cr, tl.line);
    }
}

void TextBlock::AppendOutlines(cairo_t* cr) const {
    for (const TextLine& tl : lines_) {
        cairo_move_to(cr, tl.x, tl.baseline);
        pango_cairo_layout_line_path(cr, tl.line);
    }
}

} // namespace gfx::detail
