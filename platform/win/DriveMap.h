// Drive letters as a view of the file system: each letter names a folder.
//
// By default the map is read from the mounted file systems: C: is "/", and the further local
// disks, optical discs and network shares follow from D: in mount order (pseudo and memory file
// systems get no letter). DBI_DRIVES replaces it, e.g. "C=/;D=/mnt/data;E=optical:/media/cd"
// (kinds: fixed, removable, network, optical, ram; fixed when omitted). A drive's type comes
// from its kind, its sizes from statvfs of its folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace win {

// Drive types, numbered as the callers' platform numbers them.
enum DriveType : unsigned {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1, // no such drive
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
};

struct Drive {
    char letter = 'C';  // upper case
    std::string folder; // absolute, no trailing '/' except for "/" itself
    DriveType type = kDriveFixed;
};

class DriveMap {
public:
    // From the text of /proc/self/mountinfo; `isRemovable` tells whether a block device
    // ("/dev/sdb1") is removable.
    static DriveMap FromMountInfo(const std::string& mountinfo,
                                  bool (*isRemovable)(const std::string& device) = nullptr);
    // From a DBI_DRIVES text; nothing and a reason in `error` when it is malformed.
    static std::optional<DriveMap> FromDriveList(const std::string& text, std::string& error);

    const std::vector<Drive>& Drives() const { return drives_; }
    const Drive* Find(char letter) const;
    // The drive whose folder holds the absolute path (the longest matching folder), or nullptr.
    const Drive* DriveOfPath(const std::string& path) const;

private:
    std::vector<Drive> drives_;
};

// The map in force: DBI_DRIVES when set (read again when it changes), else the mounts, read
// once. A malformed DBI_DRIVES gives an empty map and says why on standard error.
DriveMap CurrentDriveMap();

// The type of the drive of a root written "C:\", "C:", "c:/" or "C"; kDriveNoRootDir when no
// such drive exists.
DriveType GetDriveType(const std::string& root);

struct DiskSpace {
    int64_t freeBytesForCaller = -1; // what the calling user may still write
    int64_t totalBytes = -1;
    int64_t freeBytes = -1;
};

// Space on a drive by number: 0 the drive of the current folder, 1 A:, 2 B:, ... 26 Z:.
// Nothing when there is no such drive or its folder cannot be queried.
std::optional<DiskSpace> GetDiskSpace(int driveNumber);

} // namespace win
