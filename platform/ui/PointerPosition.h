// The pointer position as the last mouse message handled reported it, in screen coordinates.
// The cursor query answers it, so a pointer driven by events alone (pushed ones included) reads
// back the same as a real one, in step with the messages.
#pragma once

#include "platform/ui/Geometry.h"

void NotePointerPosition(TPoint screen);
// False until a mouse event has been seen.
bool LastPointerPosition(TPoint* screen);
// Forgets the position (tests start from no pointer).
void ResetPointerPosition();
