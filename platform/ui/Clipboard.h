// The system clipboard: text, and pictures to take from it.
//
// Text travels as UTF-8 through SDL; without a display SDL keeps it inside the process, which is
// what a headless run and the tests need. SDL carries no pictures: they are read from the X11
// display's clipboard directly, as PNG or else BMP, so there is no picture without an X11
// display. A picture is never put on the clipboard.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <memory>

namespace gfx {
class Bitmap;
}

constexpr unsigned CF_TEXT = 1;
constexpr unsigned CF_BITMAP = 2;
constexpr unsigned CF_DIB = 8;
constexpr unsigned CF_UNICODETEXT = 13;

class TClipboard {
public:
    UnicodeString AsText() const;
    void SetAsText(const UnicodeString& value);
    // Text formats are there when the clipboard holds text, the picture formats when its owner
    // offers a picture of a kind that can be read; no other format is ever there.
    bool HasFormat(unsigned format) const;
    // The clipboard's picture, decoded; nullptr (with the reason traced) when there is none or
    // it cannot be read. The owner is another program: the exchange is bounded in time and size.
    std::unique_ptr<gfx::Bitmap> AsBitmap() const;
    void Clear();
};

TClipboard* Clipboard();
