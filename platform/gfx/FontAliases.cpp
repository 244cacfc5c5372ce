// Loading the project's font aliases into the process's fontconfig configuration.
#include "platform/gfx/FontAliases.h"

#include "platform/gfx/Font.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace gfx {

namespace {

// Kept identical to resources/fonts/fonts.conf (a test compares them), so an installed program
// without the resources folder still resolves the names.
constexpr const char kEmbedded[] = R"CONF(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<!-- The font names the installer's windows ask for, mapped onto the free fonts the project
     installs (Debian's fonts-dejavu-core and fonts-liberation2). Loaded by the drawing layer at
     start-up; the names keep working when the system has no such fonts of its own. -->
<fontconfig>
  <alias binding="same">
    <family>Tahoma</family>
    <prefer><family>DejaVu Sans</family></prefer>
  </alias>
  <alias binding="same">
    <family>Verdana</family>
    <prefer><family>DejaVu Sans</family></prefer>
  </alias>
  <alias binding="same">
    <family>Microsoft Sans Serif</family>
    <prefer><family>Liberation Sans</family></prefer>
  </alias>
  <alias binding="same">
    <family>Arial</family>
    <prefer><family>Liberation Sans</family></prefer>
  </alias>
</fontconfig>
)CONF";

std::filesystem::path ProgramFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : exe.parent_path();
}

} // namespace

const char* EmbeddedFontAliases() {
    return kEmbedded;
}

bool LoadFontAliasesFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    FcConfig* config = FcConfigGetCurrent();
    if (!config ||
        !FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(path.c_str()), FcFalse))
        return false;
    NotifyFontConfigurationChanged();
    return true;
}

bool LoadProjectFontAliases() {
    static std::once_flag once;
    static bool loaded = false;
    std::call_once(once, [] {
        if (const char* named = std::getenv("DBI_FONTS_CONF"); named && *named) {
            loaded = LoadFontAliasesFile(named);
            if (loaded)
                return;
        }
        const std::filesystem::path folder = ProgramFolder();
        if (!folder.empty())
            for (const char* relative :
                 {"fonts.conf", "resources/fonts/fonts.conf", "../resources/fonts/fonts.conf",
                  "../../resources/fonts/fonts.conf"})
                if (LoadFontAliasesFile((folder / relative).string())) {
                    loaded = true;
                    return;
                }
        FcConfig* config = FcConfigGetCurrent();
        loaded = config && FcConfigParseAndLoadFromMemory(
                               config, reinterpret_cast<const FcChar8*>(kEmbedded), FcFalse);
        if (loaded)
            NotifyFontConfigurationChanged();
    });
    return loaded;
}

} // namespace gfx
