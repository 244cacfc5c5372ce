#include "installer/archive/ArxBase.h"

#include <dlfcn.h>

bool LoadModule(TArxModuleHandle& handle, const UnicodeString& fileName, UnicodeString* reason) {
    if (handle)
        return true;
    // Local binding keeps the module's plain C names (SysFreeString, GetLastError...) from
    // standing in for anyone else's, and ours from standing in for its own.
    handle = dlopen(fileName.ToUtf8().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle && reason) {
        const char* text = dlerror();
        *reason = UnicodeString(text ? text : "unknown loader error");
    }
    return handle != nullptr;
}

void UnloadModule(TArxModuleHandle& handle) {
    if (handle)
        dlclose(handle);
    handle = nullptr;
}

void* ModuleEntry(TArxModuleHandle handle, const char* name) {
    return handle ? dlsym(handle, name) : nullptr;
}
