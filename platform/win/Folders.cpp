#include "platform/win/Folders.h"

#include "platform/win/Environment.h"

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win {
namespace {

std::string WithDelimiter(std::string path) {
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

std::string HomeFolder() {
    if (auto home = env::Get("HOME"))
        return *home;
    if (struct passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/";
}

// An XDG base folder: the variable when it holds an absolute path, else the fallback below home.
std::string XdgFolder(const char* variable, const char* fallback) {
    if (auto value = env::Get(variable); value && value->front() == '/')
        return WithDelimiter(*value);
    return WithDelimiter(WithDelimiter(HomeFolder()) + fallback);
}

std::string AbsoluteFromVariable(const char* variable) {
    auto value = env::Get(variable);
    return value && value->front() == '/' ? WithDelimiter(*value) : std::string();
}

} // namespace

// Trusted only when it really is ours and private: in a folder everyone may write to, another
// user could have put a link or a folder of their own there first.
std::string PrivateTempFolderIn(const std::string& parent) {
    std::string path = WithDelimiter(parent) + "dbinstaller-" + std::to_string(::getuid());
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return "";
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return "";
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0)
        return "";
    return path + "/";
}

std::string TempFolder() {
    if (std::string folder = AbsoluteFromVariable(env::kTempDir); !folder.empty())
        return folder;
    if (std::string folder = AbsoluteFromVariable("TMPDIR"); !folder.empty())
        return folder;
    return PrivateTempFolderIn("/tmp");
}

std::string LocalAppDataFolder() {
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}

std::string ConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config") + "dbinstaller/";
}

std::string WindowsFolder() {
    if (std::string folder = AbsoluteFromVariable(env::kWindowsDir); !folder.empty())
        return folder;
    return LocalAppDataFolder() + "dbinstaller/windows/";
}

std::string SystemFolder() {
    if (std::string folder = AbsoluteFromVariable(env::kSystemDir); !folder.empty())
        return folder;
    return WindowsFolder() + "system32/";
}

std::string ProgramFilesFolder() {
    if (std::string folder = AbsoluteFromVariable(env::kProgramFilesDir); !folder.empty())
        return folder;
    return LocalAppDataFolder() + "dbinstaller/program-files/";
}

std::string CommonFilesFolder() {
    return ProgramFilesFolder() + "Common Files/";
}

std::string FontsFolder() {
    return LocalAppDataFolder() + "fonts/";
}

} // namespace win
