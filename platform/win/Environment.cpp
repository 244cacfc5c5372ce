#include "platform/win/Environment.h"

#include <cstdlib>
#include <strings.h>

namespace win::env {

std::optional<std::string> Get(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}

bool IsOn(const char* name) {
    auto value = Get(name);
    if (!value)
        return false;
    for (const char* off : {"0", "no", "false", "off"})
        if (strcasecmp(value->c_str(), off) == 0)
            return false;
    return true;
}

} // namespace win::env
