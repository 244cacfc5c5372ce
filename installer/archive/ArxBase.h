// Roots of the archive library: its exception family and the loading of code modules.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/UnicodeString.h"

DBI_DECLARE_EXCEPTION(EArxError, Exception);
DBI_DECLARE_EXCEPTION(EArxInternalError, EArxError);

// An opaque handle of a loaded code module; null when nothing is loaded.
using TArxModuleHandle = void*;

// Loads the module when the handle is still null and stores its handle; true when a handle is
// set afterwards. On failure `reason` (when given) receives the loader's explanation.
bool LoadModule(TArxModuleHandle& handle, const UnicodeString& fileName,
                UnicodeString* reason = nullptr);
// Frees a loaded module; the handle becomes null.
void UnloadModule(TArxModuleHandle& handle);
// The address of a named entry, null when the handle is null or the entry is missing.
void* ModuleEntry(TArxModuleHandle handle, const char* name);
