// The small texts the platform layer reads from the system and the environment: mount tables,
// drive maps, cpuinfo, version overrides, locale names and command lines. None may crash.
#include "platform/win/DriveMap.h"
#include "platform/win/Processes.h"
#include "platform/win/ProcessorInfo.h"
#include "platform/win/SystemInfo.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    win::DriveMap mounts = win::DriveMap::FromMountInfo(text);
    if (mounts.Drives().empty() || mounts.Drives().front().folder != "/")
        std::abort(); // C: is always the root
    (void)mounts.DriveOfPath(text);
    std::string error;
    if (auto drives = win::DriveMap::FromDriveList(text, error))
        for (const win::Drive& drive : drives->Drives())
            if (drive.folder.empty() || drive.folder.front() != '/')
                std::abort();
    (void)win::ParseProcessorInfo(text, "x86_64");
    win::SystemVersion version;
    (void)win::ParseSystemVersion(text, version);
    (void)win::LangIdOfLocale(text);
    (void)win::SplitCommandLine(text);
    return 0;
}
