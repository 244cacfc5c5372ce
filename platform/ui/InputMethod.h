// Where the input method shows its composition: a position inside an area of a window, both in
// the window's client coordinates.
#pragma once

#include "platform/ui/Geometry.h"
#include "platform/ui/Messages.h"

// Places the composition of `hwnd`'s form at `position`, within `area`.
void SetInputMethodRect(HWND hwnd, const TRect& area, TPoint position);
// The last placement, in form client coordinates (left, top at the position; right and bottom
// those of the area); empty before any.
TRect InputMethodRect();
