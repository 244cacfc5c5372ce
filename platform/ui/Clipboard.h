// The system clipboard, text only.
//
// Text travels as UTF-8 through SDL; without a display SDL keeps it inside the process, which is
// what a headless run and the tests need.
#pragma once

#include "platform/rtl/UnicodeString.h"

constexpr unsigned CF_TEXT = 1;
constexpr unsigned CF_UNICODETEXT = 13;

class TClipboard {
public:
    UnicodeString AsText() const;
    void SetAsText(const UnicodeString& value);
    // Text formats are there when the clipboard holds text; no other format is ever there.
    bool HasFormat(unsigned format) const;
    void Clear();
};

TClipboard* Clipboard();
