#include "platform/win/FileSystem.h"

#include "platform/win/CaseFold.h"
#include "platform/win/FileMask.h"
#include "platform/win/WindowsPath.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace win {
namespace {

std::string ParentOf(const std::string& path) {
    size_t cut = path.rfind('/');
    if (cut == std::string::npos)
        return "";
    return cut == 0 ? "/" : path.substr(0, cut);
}

std::string NameOf(const std::string& path) {
    size_t cut = path.rfind('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool StatOf(const std::string& path, struct stat& st) {
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

FoundEntry EntryOf(const std::string& folder, const std::string& name, const struct stat& st) {
    FoundEntry entry;
    entry.name = name;
    entry.path = Join(folder, name);
    entry.directory = S_ISDIR(st.st_mode);
    entry.hidden = !name.empty() && name.front() == '.';
    entry.readOnly = (st.st_mode & S_IWUSR) == 0;
    entry.size = entry.directory ? 0 : static_cast<int64_t>(st.st_size);
    entry.modified = st.st_mtime;
    return entry;
}

// Removes a file or a whole tree; write permission is given to folders first so that nothing
// read-only stops the removal.
bool RemoveTree(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path, ec))) {
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        for (auto& entry : std::filesystem::recursive_directory_iterator(path, ec))
            if (entry.is_directory(ec) && !entry.is_symlink(ec))
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path, ec);
    if (ec) {
        errno = ec.value();
        return false;
    }
    return true;
}

} // namespace

std::vector<FoundEntry> FindEntries(const std::string& pattern) {
    std::vector<FoundEntry> found;
    std::string native = ToNativePath(pattern);
    if (native.empty() || native.back() == '/')
        return found;
    std::string mask = NameOf(native);
    std::string folder = ResolvePath(ParentOf(native));
    if (!HasWildcards(mask)) {
        std::string path = ResolvePath(native);
        struct stat st {};
        if (StatOf(path, st))
            found.push_back(EntryOf(ParentOf(path), NameOf(path), st));
        return found;
    }
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return found;
    while (struct dirent* item = ::readdir(dir)) {
        std::string name = item->d_name;
        if (name == "." || name == ".." || !MatchesMask(name, mask))
            continue;
        struct stat st {};
        if (StatOf(Join(folder.empty() ? "." : folder, name), st))
            found.push_back(EntryOf(folder, name, st));
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end(), [](const FoundEntry& a, const FoundEntry& b) {
        std::u16string fa = FoldCase(a.name), fb = FoldCase(b.name);
        return fa != fb ? fa < fb : a.name < b.name;
    });
    return found;
}

bool IsReadOnly(const std::string& path) {
    struct stat st {};
    return StatOf(ResolvePath(path), st) && (st.st_mode & S_IWUSR) == 0;
}

bool SetReadOnly(const std::string& path, bool readOnly) {
    std::string resolved = ResolvePath(path);
    struct stat st {};
    if (!StatOf(resolved, st))
        return false;
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH) : mode | S_IWUSR;
    return ::chmod(resolved.c_str(), mode) == 0;
}

bool DeleteFile(const std::string& path) {
    std::string resolved = ResolvePath(path);
    struct stat st {};
    if (!StatOf(resolved, st))
        return false;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    if ((st.st_mode & S_IWUSR) == 0) {
        errno = EACCES;
        return false;
    }
    return ::unlink(resolved.c_str()) == 0;
}

bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    std::string source = ResolvePath(from);
    std::string targetNative = ToNativePath(to);
    if (source.empty() || targetNative.empty()) {
        errno = ENOENT;
        return false;
    }
    // The target's folder is found whatever its case; its name is taken as given.
    std::string name = NameOf(targetNative);
    std::string folder = ResolvePath(ParentOf(targetNative));
    std::string target = Join(folder, name);
    for (const FoundEntry& clash : FindEntries(Join(folder.empty() ? "." : folder, "*"))) {
        bool isSource =
            ResolvePath(clash.path) == source || (folder.empty() && clash.name == source);
        if (SameName(clash.name, name) && !isSource) {
            errno = EEXIST;
            return false;
        }
    }
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without the no-replace flag: a hard link fails on an existing target.
    struct stat st {};
    if (StatOf(source, st) && !S_ISDIR(st.st_mode)) {
        if (::link(source.c_str(), target.c_str()) != 0)
            return false;
        return ::unlink(source.c_str()) == 0;
    }
    if (::access(target.c_str(), F_OK) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(source.c_str(), target.c_str()) == 0;
}

bool RenameReplacing(const std::string& from, const std::string& to) {
    std::string source = ResolvePath(from);
    std::string target = ResolvePath(to);
    return !source.empty() && !target.empty() && ::rename(source.c_str(), target.c_str()) == 0;
}

bool ShellDelete(const std::string& pattern) {
    std::string native = ToNativePath(pattern);
    if (native.empty()) {
        errno = ENOENT;
        return false;
    }
    if (HasWildcards(NameOf(native))) {
        bool all = true;
        for (const FoundEntry& entry : FindEntries(native))
            all = RemoveTree(entry.path) && all;
        return all;
    }
    std::string resolved = ResolvePath(native);
    struct stat st {};
    if (::lstat(resolved.c_str(), &st) != 0)
        return false;
    return RemoveTree(resolved);
}

} // namespace win
