// Private to platform/gfx: one text laid out in a layout rectangle by the rules of a
// StringFormat, shared by drawing, measuring and text outlines so that the three always agree.
// Glyph metrics are taken unhinted and unrounded, so the layout is the same whatever the
// transform or surface (and without any surface).
#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/GfxTypes.h"
#include "platform/gfx/StringFormat.h"

namespace gfx::detail {

// Fonts were added to the font configuration: layouts made from now on must see them.
void FontConfigurationChanged();
// Counts the changes, so that caches of font facts know when they are stale.
int FontConfigurationGeneration();
// The layer's pango context of this thread (unhinted metrics, unrounded glyph positions).
PangoContext* SharedPangoContext();

struct TextLine {
    PangoLayoutLine* line;
    double x;        // left edge of the line's first glyph
    double top;      // top of the line box
    double baseline; // y of the baseline
    double width;    // measured width (trailing blanks by the format's flag)
    double height;
};

class TextBlock {
public:
    TextBlock(std::u16string_view text, const std::string& family, float emSize, int style,
              const RectF& layoutRect, const StringFormat& format);
    ~TextBlock();
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;

    const std::vector<TextLine>& Lines() const { return lines_; }
    // Union of the line boxes; Right = Left at the alignment point when no line has width.
    RectF Bounds() const { return bounds_; }
    // Draws the glyphs with the context's current source.
    void Show(cairo_t* cr) const;
    // Adds the glyph outlines to the context's current path.
    void AppendOutlines(cairo_t* cr) const;

private:
    PangoLayout* layout_ = nullptr;
    std::vector<TextLine> lines_;
    RectF bounds_;
};

// UTF-16 to UTF-8 that pango accepts: lone surrogates become U+FFFD.
std::string ToPangoText(std::u16string_view text);

} // namespace gfx::detail
