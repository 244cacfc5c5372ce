// Registry hive files: any bytes give a hive or an error with a line, never a crash; a hive
// that parses saves to text that parses again to the same keys.
#include "platform/win/RegistryFileFormat.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16)
        return 0;
    for (const char* root : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"}) {
        win::RegistryHive hive;
        win::RegistryParseResult result = win::ParseRegistryFile({data, size}, root, hive);
        if (!result.ok)
            continue;
        std::string text = win::FormatRegistryFile(hive, root);
        win::RegistryHive again;
        win::RegistryParseResult reparsed = win::ParseRegistryFile(
            {reinterpret_cast<const uint8_t*>(text.data()), text.size()}, root, again);
        if (!reparsed.ok)
            std::abort();
        for (const win::RegistryKey& key : hive.Keys()) {
            const win::RegistryKey* copy = again.FindKey(key.path);
            if (!key.Values().empty() &&
                (copy == nullptr || copy->Values().size() != key.Values().size()))
                std::abort();
        }
    }
    return 0;
}
