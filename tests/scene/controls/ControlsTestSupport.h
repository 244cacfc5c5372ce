// A small style sheet for the controls' tests: one style per control class with the named parts
// the controls fill ("text", "checkmark", "foreground", "sizegrip", ...), so that what a control
// pushes into its parts can be read back without the full default sheet.
#pragma once

#include "scene/controls/Sg_controls.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"

#include <memory>
#include <string>

namespace controlstest {

// The sheet in the text form of a component stream.
std::string SheetText();
// Registers the units and makes the small sheet the default style sheet.
void UseSmallSheet();
void DropSheet();

// The first part of the control's clone named Name, of class T.
template <class T>
T* Part(TsgControl* C, const char* Name) {
    return dynamic_cast<T*>(C->FindResource(UnicodeString::FromUtf8(Name)));
}

} // namespace controlstest

namespace controlstest {

// A published property's value as a stream writes it: True/False, an identifier, a number.
std::string PropText(TPersistent* Instance, const char* Name);

} // namespace controlstest
