#include "platform/ui/PointerPosition.h"

namespace {
TPoint last;
bool known = false;
} // namespace

void NotePointerPosition(TPoint screen) {
    last = screen;
    known = true;
}

bool LastPointerPosition(TPoint* screen) {
    if (known && screen)
        *screen = last;
    return known;
}

void ResetPointerPosition() {
    known = false;
    last = TPoint{};
}
