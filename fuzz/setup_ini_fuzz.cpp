// Fuzz target: Setup.ini as both start-up readers take it apart.
#include "installer/config/General_module.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// One module for the whole run, started on a private, empty registry so that the start-up's
// screen-saver switch touches nothing of the user's.
struct Harness {
    std::string folder;
    std::unique_ptr<TGeneralMod> module;

    Harness() {
        std::string pattern = "/tmp/dbi-setup-ini-fuzz-XXXXXX";
        folder = ::mkdtemp(pattern.data());
        ::setenv("DBI_REGISTRY_MACHINE", (folder + "/machine.reg").c_str(), 1);
        ::setenv("DBI_REGISTRY_USER", (folder + "/user.reg").c_str(), 1);
        SetCommandLine({ExecutableFileName()});
        module = std::make_unique<TGeneralMod>(nullptr);
        module->InitSourceLayout(UnicodeString(folder));
        module->platformText = u"WINNT";
    }
    ~Harness() {
        module.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 16))
        return 0;
    static Harness harness;
    std::ofstream(harness.folder + "/Setup.ini", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    harness.module->ReadSetupIni();
    harness.module->ReadSetupIniProductKeys();
    return 0;
}
