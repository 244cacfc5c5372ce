// Reading a window's layout (a component stream) into an already constructed form: the form's
// published fields get their components and the handlers named in the stream are bound.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <span>
#include <string>

class TForm;

// Reads the binary (or text) form of a layout into `form`. Raises EReadError for a stream that
// cannot be read.
void ReadFormLayout(TForm& form, std::span<const uint8_t> layout);
// Reads the layout carried as the RCDATA resource `name`; raises EResNotFound when the program
// carries none.
void ReadFormLayoutResource(TForm& form, const std::string& name);
