// The writers' warning about a face index that names no vertex of its mesh ("7 >= 5"). The
// window layer installs a handler that shows it in the simple message dialog and returns when the
// user closes it; until then, and whenever the handler is empty, it is a line on standard error.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <functional>

using DwxIndexWarningHandler = std::function<void(const UnicodeString& text)>;

// Installs the handler for the whole process and answers the one it replaces.
DwxIndexWarningHandler SetDwxIndexWarningHandler(DwxIndexWarningHandler handler);

// Shows "<index> >= <pointCount>" through the installed handler.
void ShowDwxIndexWarning(uint32_t index, uint32_t pointCount);
