// Turns pending SDL events into window messages on the posted queue.
//
// Mouse messages go to the window holding the capture, else to the deepest showing child under
// the pointer, in that window's client coordinates; key messages go to the form, which hands
// them to its focused window, followed by WM_CHAR for the characters typed (control characters
// included, as the callers' key handling expects: Ctrl+A is 1, Return 13). Input for a disabled
// form (one behind a modal form) is dropped. Closing a window posts WM_CLOSE to its form.
#pragma once

// Moves the SDL events waiting now into the message queue, up to and including the first mouse
// press or release (later input depends on how that is handled); nothing when video is not
// started.
void PumpSdlEvents();
