#include "platform/win/WindowsPath.h"

#include "platform/rtl/Paths.h"
#include "platform/win/CaseFold.h"
#include "platform/win/DriveMap.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace win {
namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` whose name equals `name` but for case, or "" when none does.
std::string FindNameIgnoringCase(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return "";
    std::u16string wanted = FoldCase(name);
    std::vector<std::string> matches;
    while (struct dirent* entry = ::readdir(dir)) {
        std::string candidate = entry->d_name;
        if (candidate != "." && candidate != ".." && FoldCase(candidate) == wanted)
            matches.push_back(candidate);
    }
    ::closedir(dir);
    if (matches.empty())
        return "";
    return *std::min_element(matches.begin(), matches.end());
}

} // namespace

bool IsWindowsStylePath(const std::string& path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::string ToNativePath(const std::string& path) {
    if (!IsWindowsStylePath(path))
        return path;
    DriveMap map = CurrentDriveMap();
    const Drive* drive = map.Find(path[0]);
    if (drive == nullptr)
        return "";
    std::string rest = path.substr(2);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    std::string native = drive->folder;
    if (rest.empty())
        return native == "/" ? native : native + "/";
    if (rest.front() != '/')
        rest.insert(rest.begin(), '/');
    return native == "/" ? rest : native + rest;
}

std::string ResolvePath(const std::string& path) {
    std::string native = ToNativePath(path);
    if (native.empty() || Exists(native))
        return native;
    bool trailing = native.size() > 1 && native.back() == '/';
    std::string resolved = native.front() == '/' ? "/" : "";
    size_t i = 0;
    bool searching = true;
    while (i < native.size()) {
        size_t end = native.find('/', i);
        if (end == std::string::npos)
            end = native.size();
        std::string part = native.substr(i, end - i);
        i = end + 1;
        if (part.empty())
            continue;
        std::string base = resolved;
        if (!base.empty() && base.back() != '/')
            base += '/';
        if (searching && part != "." && part != ".." && !Exists(base + part)) {
            std::string found = FindNameIgnoringCase(base, part);
            if (found.empty())
                searching = false; // the rest does not exist in any case
            else
                part = found;
        }
        resolved = base + part;
    }
    if (trailing && (resolved.empty() || resolved.back() != '/'))
        resolved += '/';
    return resolved;
}

std::string DriveOfPath(const std::string& path) {
    if (IsWindowsStylePath(path))
        return std::string(1,
                           static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) +
               ":";
    DriveMap map = CurrentDriveMap();
    const Drive* drive = map.DriveOfPath(path);
    return drive ? std::string(1, drive->letter) + ":" : "";
}

void InstallPathResolvers() {
    SetDriveResolver([](const UnicodeString& path) {
        return UnicodeString::FromUtf8(DriveOfPath(path.ToUtf8()));
    });
    SetNativePathResolver([](const UnicodeString& path) { return ResolvePath(path.ToUtf8()); });
}

namespace {
const bool installedAtStartUp = (InstallPathResolvers(), true);
} // namespace

} // namespace win
