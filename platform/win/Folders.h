// The folders the callers ask the system for, as native paths with a trailing '/'.
//
// None of them defaults to a system path: an installer run by an ordinary user writes only
// below that user's own folders.
#pragma once

#include <string>

namespace win {

// The user's temporary folder: $DBI_TEMP_DIR, else $TMPDIR, else /tmp/dbinstaller-<uid>, which
// is created with mode 0700 and refused (empty answer) when it is a link, not a folder, or
// belongs to someone else. A folder named by a variable is taken as it is (no check), but it
// must be an absolute path; an empty answer means no usable temporary folder.
std::string TempFolder();
// The private folder "dbinstaller-<uid>" below `parent` as TempFolder makes and checks it.
std::string PrivateTempFolderIn(const std::string& parent);

// Where libraries are placed ("the system folder"): $DBI_SYSTEM_DIR, else
// <WindowsFolder>system32/. Also what the callers call the 32-bit system folder.
std::string SystemFolder();
// The "Windows folder": $DBI_WINDOWS_DIR, else <data home>/dbinstaller/windows/.
std::string WindowsFolder();
// $DBI_PROGRAM_FILES_DIR, else <data home>/dbinstaller/program-files/.
std::string ProgramFilesFolder();
// <ProgramFilesFolder>Common Files/.
std::string CommonFilesFolder();
// <data home>/fonts/, where the user's fonts live.
std::string FontsFolder();
// Local application data: $XDG_DATA_HOME, else ~/.local/share/.
std::string LocalAppDataFolder();
// The folder of the installer's own settings files: $XDG_CONFIG_HOME/dbinstaller/, else
// ~/.config/dbinstaller/.
std::string ConfigFolder();

} // namespace win
