// What the editor windows of the design tools share: reading a window's layout carried as a
// resource, and showing a window modally through a hook that tests replace.
#pragma once

#include "platform/ui/Forms.h"

#include <functional>
#include <string>

// Reads the layout carried as the RCDATA resource `name` (text or binary component stream) into
// `form`: its published fields get their components and the handlers named are bound. Raises
// EResNotFound when the program carries none, EReadError for a stream that cannot be read.
void sgReadDesignForm(TForm& form, const std::string& name);

// Shows an editor window modally and answers its modal result; ShowModal by default.
std::function<TModalResult(TForm&)>& sgDesignShowModal();
