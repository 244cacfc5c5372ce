#include "platform/win/ProcessorInfo.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/utsname.h>

namespace win {
namespace {

std::string Trimmed(const std::string& s) {
    size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return "";
    size_t end = s.find_last_not_of(" \t\r");
    return s.substr(begin, end - begin + 1);
}

} // namespace

ProcessorInfo ParseProcessorInfo(const std::string& cpuinfo, const std::string& machine) {
    ProcessorInfo info;
    std::string family, model, stepping;
    double mhz = 0;
    std::istringstream lines(cpuinfo);
    std::string line;
    // Only the first processor block counts, as the registry describes processor 0.
    while (std::getline(lines, line)) {
        if (Trimmed(line).empty()) {
            if (!info.name.empty() || !info.vendor.empty())
                break;
            continue;
        }
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string key = Trimmed(line.substr(0, colon));
        std::string value = Trimmed(line.substr(colon + 1));
        if (key == "model name" || key == "Model" || key == "cpu model")
            info.name = value;
        else if (key == "vendor_id" || key == "CPU implementer")
            info.vendor = value;
        else if (key == "cpu family")
            family = value;
        else if (key == "model")
            model = value;
        else if (key == "stepping")
            stepping = value;
        else if (key == "cpu MHz")
            mhz = std::strtod(value.c_str(), nullptr);
    }
    info.megahertz = mhz > 0 && mhz < 1e6 ? static_cast<uint32_t>(std::lround(mhz)) : 0;
    info.is64Bit = machine == "x86_64" || machine == "aarch64" || machine == "ppc64le" ||
                   machine == "riscv64" || machine == "s390x";
    bool x86 = machine == "x86_64" ||
               (machine.size() == 4 && machine[0] == 'i' && machine.substr(2) == "86");
    if (x86) {
        std::string prefix = !info.is64Bit                   ? "x86"
                             : info.vendor == "AuthenticAMD" ? "AMD64"
                                                             : "Intel64";
        info.identifier = prefix + " Family " + (family.empty() ? "0" : family) + " Model " +
                          (model.empty() ? "0" : model) + " Stepping " +
                          (stepping.empty() ? "0" : stepping);
    } else {
        info.identifier = machine;
    }
    if (info.name.empty())
        info.name = info.identifier;
    return info;
}

const ProcessorInfo& ReadProcessorInfo() {
    static const ProcessorInfo info = [] {
        std::ifstream in("/proc/cpuinfo");
        std::stringstream text;
        text << in.rdbuf();
        struct utsname names {};
        std::string machine = ::uname(&names) == 0 ? names.machine : "";
        return ParseProcessorInfo(text.str(), machine);
    }();
    return info;
}

} // namespace win
