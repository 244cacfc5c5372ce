// Hints (tooltips): a small borderless window with a line of text, shown after the pointer has
// rested over a window for HintPause milliseconds.
//
// When the pause ends, the window under the pointer is sent CM_HINTSHOW with a THintInfo whose
// HintStr is empty and whose CursorRect is the window's client area; the window fills in the text
// and the rectangle in which the hint stays. An empty text shows nothing. A shown hint goes when
// the pointer leaves that rectangle or another window gets it, on any press or key, and when the
// pointer leaves the form.
#pragma once

#include "platform/rtl/UnicodeString.h"
#include "platform/ui/Forms.h"

#include <cstdint>
#include <vector>

struct THintInfo {
    TWinControl* HintControl = nullptr;
    // Client coordinates of HintControl.
    TPoint CursorPos;
    TRect CursorRect;
    UnicodeString HintStr;
};

constexpr uint32_t HintPause = 500;

class THintWindow : public TForm {
public:
    THintWindow();
    ~THintWindow() override;
    // Sizes the window to the text and shows it with its top left at `screenPos`.
    void ActivateHint(TPoint screenPos, const UnicodeString& text);
    const UnicodeString& Text() const { return text_; }

protected:
    void Paint() override;

private:
    UnicodeString text_;
    std::vector<uint32_t> pixels_;
};

// Called by the event layer for every move that no capture holds: `client` is in `target`'s
// client coordinates.
void HintPointerMoved(TWinControl* target, TPoint client);
// Hides a shown hint and forgets a pending one.
void CancelHint();
// The hint on screen now; nullptr when none is shown.
THintWindow* ShownHint();
