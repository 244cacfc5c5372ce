// Formatted text: runs of characters with their own weight, slant, underline, size and colour,
// laid out into paragraphs of a given width. The rich-text box draws it on screen and prints it
// as a PDF document.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace gfx {

struct RichTextRun {
    std::u16string text; // '\n' ends a paragraph, '\t' is a tab
    bool bold = false;
    bool italic = false;
    bool underline = false;
    float points = 12;           // font size in points
    uint32_t color = 0xFF000000; // straight ARGB
};

class RichTextLayout {
public:
    // Lays the runs out in `family` with lines wrapped at `width` pixels (96 pixels an inch).
    RichTextLayout(const std::vector<RichTextRun>& runs, const std::string& family, int width);
    ~RichTextLayout();
    RichTextLayout(const RichTextLayout&) = delete;
    RichTextLayout& operator=(const RichTextLayout&) = delete;

    // Height of the whole text in pixels.
    int Height() const;
    int LineCount() const;
    // Draws the text with its top at document row `scrollY` into a premultiplied ARGB buffer,
    // shifted right by `left` pixels; the buffer is not cleared first.
    void Render(uint32_t* pixels, int width, int height, int strideBytes, int left,
                int scrollY) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Writes the runs as a PDF document of A4 pages with 2 cm margins, lines never split across
// pages. False with a reason when the file cannot be written.
bool WriteRichTextPdf(const std::vector<RichTextRun>& runs, const std::string& family,
                      const std::string& title, const std::string& path, std::string& error);

} // namespace gfx
