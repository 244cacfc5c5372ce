// What the running system tells about its processor, in the words the registry's processor key
// uses: a marketing name, an identifier such as "Intel64 Family 6 Model 158 Stepping 10" (which
// begins with "x86" only on a 32-bit system), the vendor and the clock.
#pragma once

#include <cstdint>
#include <string>

namespace win {

struct ProcessorInfo {
    std::string name;
    std::string identifier;
    std::string vendor;
    uint32_t megahertz = 0;
    bool is64Bit = false;
};

// Read once from /proc/cpuinfo and the system's machine name, then kept.
const ProcessorInfo& ReadProcessorInfo();
// The same reading from the text of a cpuinfo file and a machine name ("x86_64", "i686"...).
ProcessorInfo ParseProcessorInfo(const std::string& cpuinfo, const std::string& machine);

} // namespace win
