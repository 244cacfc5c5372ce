// The process-wide registry: two hives, each kept in a registry export file.
//
//   machine (HKEY_LOCAL_MACHINE): $DBI_REGISTRY_MACHINE, else
//   $XDG_CONFIG_HOME/dbinstaller/machine.reg user (HKEY_CURRENT_USER):     $DBI_REGISTRY_USER, else
//   $XDG_CONFIG_HOME/dbinstaller/user.reg
//
// A missing file is an empty hive. A file is read again whenever it changed on disk (or the
// variable now names another file), so a test or another program may edit it between calls.
// Every change is saved at once and atomically: the new text goes to a temporary file beside
// the hive, which then replaces it, so a crash never leaves half a hive behind.
//
// The machine hive also shows the processor key "HARDWARE\DESCRIPTION\System\CentralProcessor\0"
// (and "SOFTWARE\Wow6432Node" on a 64-bit system) filled from the running system when the file
// does not hold them, since the callers learn the processor from there; the user hive always
// has "Control Panel\Desktop". Such keys are saved only once a value is written into them.
#pragma once

#include "platform/win/RegistryHive.h"

#include <functional>
#include <string>

namespace win {

enum class RegistryHiveId { LocalMachine, CurrentUser };

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
const char* RegistryRootName(RegistryHiveId hive);
// The file that holds the hive now.
std::string RegistryFilePath(RegistryHiveId hive);

// Runs `read` on the current content of the hive. Raises ERegistryException when the hive file
// cannot be read or is malformed (the message names the file and the line).
void ReadRegistryHive(RegistryHiveId hive, const std::function<void(const RegistryHive&)>& read);
// Runs `change` on the current content, then saves the hive. Raises ERegistryException as above
// and when the file cannot be saved; the hive then stays as it is on disk.
void ChangeRegistryHive(RegistryHiveId hive, const std::function<void(RegistryHive&)>& change);

} // namespace win
