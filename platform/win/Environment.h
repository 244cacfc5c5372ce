// The environment variables through which the platform layer is configured.
//
// Every variable starts with DBI_ so that a user can see at a glance what belongs to the
// installer; the README lists them. Tests set them to point the layer at fixtures.
#pragma once

#include <optional>
#include <string>

namespace win::env {

inline constexpr const char* kRegistryMachine = "DBI_REGISTRY_MACHINE"; // machine hive file
inline constexpr const char* kRegistryUser = "DBI_REGISTRY_USER";       // user hive file
inline constexpr const char* kNoAdmin = "DBI_NO_ADMIN"; // machine hive refuses full access
inline constexpr const char* kResourceFile = "DBI_RESOURCE_FILE"; // packed resources elsewhere
inline constexpr const char* kTempDir = "DBI_TEMP_DIR";           // the temporary folder
inline constexpr const char* kSystemDir = "DBI_SYSTEM_DIR";       // where libraries are placed
inline constexpr const char* kWindowsDir = "DBI_WINDOWS_DIR";     // the "Windows folder"
inline constexpr const char* kProgramFilesDir = "DBI_PROGRAM_FILES_DIR";
inline constexpr const char* kDrives = "DBI_DRIVES";                  // drive letter map
inline constexpr const char* kWindowsVersion = "DBI_WINDOWS_VERSION"; // reported version
inline constexpr const char* kLanguageId = "DBI_LANGUAGE_ID";         // user language id
inline constexpr const char* kTrace = "DBI_TRACE";                    // debugger output on
inline constexpr const char* kOpenCommand = "DBI_OPEN_COMMAND";       // opens web addresses
inline constexpr const char* kPrintCommand = "DBI_PRINT_COMMAND";     // prints files

// The variable's value, or nothing when it is unset or empty.
std::optional<std::string> Get(const char* name);
// True when the variable is set to anything but "", "0", "no", "false" or "off".
bool IsOn(const char* name);

} // namespace win::env
