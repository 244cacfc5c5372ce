#include "WinTestSupport.h"

#include "platform/rtl/Paths.h"
#include "platform/win/DriveMap.h"
#include "platform/win/WindowsPath.h"

#include <gtest/gtest.h>

namespace {

using wintest::ScopedEnv;

const char* kMountInfo = "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
                         "26 24 0:24 / /dev/shm rw,relatime - tmpfs tmpfs rw\n"
                         "28 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                         "29 28 0:26 / /tmp rw - tmpfs tmpfs rw\n"
                         "30 28 8:17 / /mnt/data rw - xfs /dev/sdb1 rw\n"
                         "31 28 8:33 / /media/user/STICK rw - vfat /dev/sdc1 rw\n"
                         "32 28 0:40 / /srv/share rw - nfs4 server:/export rw\n"
                         "33 28 11:0 / /mnt/disc\\040one ro - iso9660 /dev/sr0 ro\n"
                         "34 28 254:0 /var/lib/docker/x/hosts /etc/hosts rw - ext4 /dev/vda rw\n"
                         "35 28 8:1 / /boot/efi rw - vfat /dev/sda1 rw\n"
                         "36 28 8:18 / /mnt/usb rw - ext4 /dev/sdd1 rw\n";

bool OnlySdd(const std::string& device) {
    return device == "/dev/sdd1";
}

TEST(DriveMap, ReadsLettersAndTypesFromTheMounts) {
    win::DriveMap map = win::DriveMap::FromMountInfo(kMountInfo, &OnlySdd);
    struct Expected {
        char letter;
        const char* folder;
        win::DriveType type;
    };
    const std::vector<Expected> expected = {
        {'C', "/", win::kDriveFixed},
        {'D', "/mnt/data", win::kDriveFixed},
        {'E', "/media/user/STICK", win::kDriveRemovable},
        {'F', "/srv/share", win::kDriveRemote},
        {'G', "/mnt/disc one", win::kDriveCdRom},
        {'H', "/mnt/usb", win::kDriveRemovable},
    };
    ASSERT_EQ(map.Drives().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].letter);
        EXPECT_EQ(map.Drives()[i].letter, expected[i].letter);
        EXPECT_EQ(map.Drives()[i].folder, expected[i].folder);
        EXPECT_EQ(map.Drives()[i].type, expected[i].type);
    }
    // The longest folder that holds a path names its drive.
    EXPECT_EQ(map.DriveOfPath("/mnt/data/x/y")->letter, 'D');
    EXPECT_EQ(map.DriveOfPath("/mnt/data")->letter, 'D');
    EXPECT_EQ(map.DriveOfPath("/mnt/database")->letter, 'C');
    EXPECT_EQ(map.DriveOfPath("relative/path"), nullptr);
}

TEST(DriveMap, DriveListFromTheEnvironment) {
    std::string error;
    auto map = win::DriveMap::FromDriveList("e=optical:/media/cd;C=/srv/c/;D=network:/net", error);
    ASSERT_TRUE(map) << error;
    ASSERT_EQ(map->Drives().size(), 3u);
    EXPECT_EQ(map->Drives()[0].letter, 'C');
    EXPECT_EQ(map->Drives()[0].folder, "/srv/c");
    EXPECT_EQ(map->Find('d')->type, win::kDriveRemote);
    EXPECT_EQ(map->Find('E')->type, win::kDriveCdRom);

    for (const char* bad : {"C", "C=relative", "C=floppy:/x", "1=/x", "C=/a;c=/b", "C=fixed:"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(win::DriveMap::FromDriveList(bad, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(DriveMap, DriveTypesSizesAndWindowsPathsFollowTheMap) {
    wintest::ScratchFolder folder;
    folder.Write("c/Programs/Zentravo/Setup.ini", "x");
    folder.Write("d/x", "");
    ScopedEnv drives{"DBI_DRIVES", "C=" + (folder / "c") + ";D=ram:" + (folder / "d") +
                                       ";E=optical:" + (folder / "missing")};
    EXPECT_EQ(win::GetDriveType("C:\\"), win::kDriveFixed);
    EXPECT_EQ(win::GetDriveType("d:"), win::kDriveRamDisk);
    EXPECT_EQ(win::GetDriveType("E"), win::kDriveNoRootDir); // its folder does not exist
    EXPECT_EQ(win::GetDriveType("Q:\\"), win::kDriveNoRootDir);

    auto space = win::GetDiskSpace(3);
    ASSERT_TRUE(space);
    EXPECT_GT(space->totalBytes, 0);
    EXPECT_GE(space->freeBytes, space->freeBytesForCaller);
    EXPECT_LE(space->freeBytes, space->totalBytes);
    EXPECT_FALSE(win::GetDiskSpace(17)); // Q:
    EXPECT_FALSE(win::GetDiskSpace(27));

    const std::string c = folder / "c";
    EXPECT_EQ(win::ToNativePath("C:\\"), c + "/");
    EXPECT_EQ(win::ToNativePath("c:"), c + "/");
    EXPECT_EQ(win::ToNativePath("C:\\Programs\\Zentravo"), c + "/Programs/Zentravo");
    EXPECT_EQ(win::ToNativePath("C:/Programs"), c + "/Programs");
    EXPECT_EQ(win::ToNativePath("Q:\\x"), "");
    EXPECT_EQ(win::ToNativePath("/plain/path\\kept"), "/plain/path\\kept");
    EXPECT_EQ(win::ResolvePath("c:\\PROGRAMS\\zentravo\\SETUP.INI"),
              c + "/Programs/Zentravo/Setup.ini");
    EXPECT_EQ(win::ResolvePath(c + "/programs/NEW/file.txt"), c + "/Programs/NEW/file.txt");
    EXPECT_EQ(win::ResolvePath(c + "/programs/zentravo/"), c + "/Programs/Zentravo/");

    // The run-time library asks the drive map for the drive of a native path.
    win::InstallPathResolvers();
    EXPECT_EQ(ExtractFileDrive(UnicodeString::FromUtf8(c + "/Programs")), UnicodeString("C:"));
    EXPECT_EQ(ExtractFileDrive(UnicodeString::FromUtf8(folder / "d/x")), UnicodeString("D:"));
    EXPECT_EQ(ExtractFileDrive(UnicodeString("/nowhere/else")), UnicodeString(""));
    EXPECT_EQ(NativePath(UnicodeString("C:\\programs\\ZENTRAVO\\setup.ini")),
              c + "/Programs/Zentravo/Setup.ini");
}

TEST(DriveMap, DefaultMapPutsTheRootOnC) {
    ScopedEnv drives{"DBI_DRIVES", std::nullopt};
    win::DriveMap map = win::CurrentDriveMap();
    ASSERT_FALSE(map.Drives().empty());
    EXPECT_EQ(map.Drives().front().letter, 'C');
    EXPECT_EQ(map.Drives().front().folder, "/");
    EXPECT_EQ(win::GetDriveType("C:\\"), win::kDriveFixed);
    EXPECT_TRUE(win::GetDiskSpace(0)); // the current folder's drive
}

} // namespace
