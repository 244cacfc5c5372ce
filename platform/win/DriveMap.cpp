#include "platform/win/DriveMap.h"

#include "platform/win/Environment.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace win {
namespace {

const std::set<std::string> kDiskFileSystems = {"ext2",    "ext3",  "ext4",     "xfs",      "btrfs",
                                                "vfat",    "msdos", "exfat",    "ntfs",     "ntfs3",
                                                "fuseblk", "f2fs",  "jfs",      "reiserfs", "zfs",
                                                "hfsplus", "apfs",  "bcachefs", "nilfs2"};
const std::set<std::string> kNetworkFileSystems = {
    "nfs",  "nfs4",      "cifs",           "smb3", "smbfs", "fuse.sshfs",  "sshfs",      "afs",
    "ceph", "glusterfs", "fuse.glusterfs", "9p",   "davfs", "fuse.davfs2", "fuse.rclone"};
const std::set<std::string> kOpticalFileSystems = {"iso9660", "udf"};
const std::set<std::string> kMemoryFileSystems = {"tmpfs", "ramfs"};

// Mount points below these hold the system's own machinery, never a user's disk.
bool IsSystemMountPoint(const std::string& point) {
    for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/lib"}) {
        std::string p = prefix;
        if (point == p || point.rfind(p + "/", 0) == 0)
            return !(point.rfind("/run/media/", 0) == 0);
    }
    return false;
}

// mountinfo escapes blanks and a few other bytes as \ooo.
std::string Unescape(const std::string& field) {
    auto octal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && octal(field[i + 1]) &&
            octal(field[i + 2]) && octal(field[i + 3])) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return out;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

DriveType TypeOfFileSystem(const std::string& fsType, const std::string& device,
                           const std::string& point, bool (*isRemovable)(const std::string&)) {
    if (kNetworkFileSystems.count(fsType))
        return kDriveRemote;
    if (kOpticalFileSystems.count(fsType))
        return kDriveCdRom;
    if (kMemoryFileSystems.count(fsType))
        return kDriveRamDisk;
    if (isRemovable != nullptr && device.rfind("/dev/", 0) == 0 && isRemovable(device))
        return kDriveRemovable;
    if (point.rfind("/media/", 0) == 0 || point.rfind("/run/media/", 0) == 0)
        return kDriveRemovable;
    return kDriveFixed;
}

bool DeviceIsRemovable(const std::string& device) {
    std::string name = device.substr(device.rfind('/') + 1);
    for (const std::string& file : {"/sys/class/block/" + name + "/removable",
                                    "/sys/class/block/" + name + "/../removable"}) {
        std::ifstream in(file);
        int flag = 0;
        if (in >> flag)
            return flag == 1;
    }
    return false;
}

std::optional<DriveType> KindFromWord(const std::string& word) {
    if (word == "fixed")
        return kDriveFixed;
    if (word == "removable")
        return kDriveRemovable;
    if (word == "network")
        return kDriveRemote;
    if (word == "optical")
        return kDriveCdRom;
    if (word == "ram")
        return kDriveRamDisk;
    return std::nullopt;
}

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace

DriveMap DriveMap::FromMountInfo(const std::string& mountinfo,
                                 bool (*isRemovable)(const std::string& device)) {
    struct Mount {
        std::string point, fsType, device;
    };
    std::vector<Mount> mounts;
    std::istringstream lines(mountinfo);
    std::string line;
    while (std::getline(lines, line)) {
        // id parent major:minor root mount-point options [optional...] - fstype source options
        std::istringstream fields(line);
        std::string id, parent, numbers, root, point, field;
        if (!(fields >> id >> parent >> numbers >> root >> point))
            continue;
        while (fields >> field && field != "-") {
        }
        Mount mount{Unescape(point), "", ""};
        if (!(fields >> mount.fsType))
            continue;
        fields >> mount.device;
        // A later mount on the same point hides the earlier one.
        std::erase_if(mounts, [&](const Mount& m) { return m.point == mount.point; });
        // Bind mounts of a sub-folder (a container's single files) are not disks.
        if (root != "/" && mount.point != "/")
            continue;
        mounts.push_back(mount);
    }

    DriveMap map;
    Drive system{'C', "/", kDriveFixed};
    for (const Mount& m : mounts)
        if (m.point == "/")
            system.type = kMemoryFileSystems.count(m.fsType) ? kDriveRamDisk : kDriveFixed;
    map.drives_.push_back(system);
    char next = 'D';
    for (const Mount& m : mounts) {
        if (next > 'Z')
            break;
        if (m.point == "/" || IsSystemMountPoint(m.point))
            continue;
        if (!kDiskFileSystems.count(m.fsType) && !kNetworkFileSystems.count(m.fsType) &&
            !kOpticalFileSystems.count(m.fsType))
            continue;
        map.drives_.push_back(
            {next++, m.point, TypeOfFileSystem(m.fsType, m.device, m.point, isRemovable)});
    }
    return map;
}

std::optional<DriveMap> DriveMap::FromDriveList(const std::string& text, std::string& error) {
    DriveMap map;
    std::istringstream entries(text);
    std::string entry;
    while (std::getline(entries, entry, ';')) {
        if (entry.empty())
            continue;
        if (entry.size() < 3 || !std::isalpha(static_cast<unsigned char>(entry[0])) ||
            entry[1] != '=') {
            error = "entry \"" + entry + "\" is not LETTER=folder";
            return std::nullopt;
        }
        Drive drive{static_cast<char>(std::toupper(static_cast<unsigned char>(entry[0]))), "",
                    kDriveFixed};
        std::string rest = entry.substr(2);
        if (rest.front() != '/') {
            size_t colon = rest.find(':');
            std::optional<DriveType> kind =
                colon == std::string::npos ? std::nullopt : KindFromWord(rest.substr(0, colon));
            if (!kind) {
                error = "entry \"" + entry + "\" has an unknown drive kind";
                return std::nullopt;
            }
            drive.type = *kind;
            rest = rest.substr(colon + 1);
        }
        if (rest.empty() || rest.front() != '/') {
            error = "entry \"" + entry + "\" does not name an absolute folder";
            return std::nullopt;
        }
        if (map.Find(drive.letter)) {
            error = std::string("drive ") + drive.letter + ": is given twice";
            return std::nullopt;
        }
        drive.folder = WithoutTrailingSlash(rest);
        map.drives_.push_back(drive);
    }
    std::sort(map.drives_.begin(), map.drives_.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    return map;
}

const Drive* DriveMap::Find(char letter) const {
    char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const Drive& drive : drives_)
        if (drive.letter == upper)
            return &drive;
    return nullptr;
}

const Drive* DriveMap::DriveOfPath(const std::string& path) const {
    if (path.empty() || path.front() != '/')
        return nullptr;
    const Drive* best = nullptr;
    for (const Drive& drive : drives_) {
        const std::string& folder = drive.folder;
        bool holds = folder == "/" || path == folder ||
                     (path.rfind(folder, 0) == 0 && path.size() > folder.size() &&
                      path[folder.size()] == '/');
        if (holds && (best == nullptr || folder.size() > best->folder.size()))
            best = &drive;
    }
    return best;
}

DriveMap CurrentDriveMap() {
    static std::mutex mutex;
    static std::optional<DriveMap> fromMounts;
    static std::string lastDriveList;
    static DriveMap fromDriveList;
    std::lock_guard lock(mutex);
    if (auto driveList = env::Get(env::kDrives)) {
        if (*driveList != lastDriveList) {
            lastDriveList = *driveList;
            std::string error;
            std::optional<DriveMap> parsed = DriveMap::FromDriveList(*driveList, error);
            if (!parsed)
                std::fprintf(stderr, "%s: %s; no drives are known\n", env::kDrives, error.c_str());
            fromDriveList = parsed ? *parsed : DriveMap();
        }
        return fromDriveList;
    }
    if (!fromMounts) {
        std::ifstream in("/proc/self/mountinfo");
        std::stringstream text;
        text << in.rdbuf();
        fromMounts = DriveMap::FromMountInfo(text.str(), &DeviceIsRemovable);
    }
    return *fromMounts;
}

DriveType GetDriveType(const std::string& root) {
    if (root.empty() || !std::isalpha(static_cast<unsigned char>(root[0])))
        return kDriveNoRootDir;
    if (root.size() > 1 && root[1] != ':')
        return kDriveNoRootDir;
    DriveMap map = CurrentDriveMap();
    const Drive* drive = map.Find(root[0]);
    if (drive == nullptr || !IsDirectory(drive->folder))
        return kDriveNoRootDir;
    return drive->type;
}

std::optional<DiskSpace> GetDiskSpace(int driveNumber) {
    DriveMap map = CurrentDriveMap();
    const Drive* drive = nullptr;
    if (driveNumber == 0) {
        char cwd[4096];
        if (::getcwd(cwd, sizeof cwd) != nullptr)
            drive = map.DriveOfPath(cwd);
    } else if (driveNumber >= 1 && driveNumber <= 26) {
        drive = map.Find(static_cast<char>('A' + driveNumber - 1));
    }
    if (drive == nullptr)
        return std::nullopt;
    struct statvfs st {};
    if (::statvfs(drive->folder.c_str(), &st) != 0)
        return std::nullopt;
    auto bytes = [&](fsblkcnt_t blocks) {
        return static_cast<int64_t>(blocks) * static_cast<int64_t>(st.f_frsize);
    };
    return DiskSpace{bytes(st.f_bavail), bytes(st.f_blocks), bytes(st.f_bfree)};
}

} // namespace win
