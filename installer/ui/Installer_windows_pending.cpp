// Stand-in for the windows until the wizard exists: it says so plainly and shows what the
// start-up found, so the configuration can be checked from the command line.
#include "installer/config/General_module.h"
#include "installer/ui/Installer_windows.h"
#include "platform/rtl/StringList.h"

#include <cstdio>

bool CreateInstallerWindows() {
    std::puts("Database installer: the installation wizard is not part of this build yet.");
    std::puts("What the start-up found:");
    if (GeneralMod && GeneralMod->startupLog) {
        for (int i = 0; i < GeneralMod->startupLog->Count(); ++i)
            std::printf("  %s\n", GeneralMod->startupLog->Strings(i).ToUtf8().c_str());
    }
    std::fflush(stdout);
    return false;
}
