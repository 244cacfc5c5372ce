// The drives the installer may write to, and their free space.
#include "installer/config/General_module.h"
#include "installer/engine/Myfileop_class.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/StringList.h"
#include "platform/win/DriveMap.h"

#include <memory>
#include <string>

namespace {

int64_t DriveTotalBytes(int driveNumber) {
    const auto space = win::GetDiskSpace(driveNumber);
    return space ? space->totalBytes : -1;
}

// Creates and removes the test file; true when it could be created.
bool RootTakesTestFile(const UnicodeString& path) {
    try {
        std::make_unique<TFileStream>(path, fmCreate | fmShareDenyWrite).reset();
    } catch (const Exception&) {
        return false;
    }
    DeleteFile(path);
    return true;
}

} // namespace

TLogicalDriveFoundVec MyFileOp::FindLogicalDrives() {
    TLogicalDriveFoundVec drives;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string name(1, letter);
        std::string line = "Examining drive " + name + ":";
        const unsigned type = win::GetDriveType(name + ":\\");
        line += " Type = " + std::to_string(type) + ";";
        if (type == win::kDriveFixed) {
            const int64_t size = DriveTotalBytes(letter - 64);
            line += " Size = " + std::to_string(size) + ";";
            if (size > kSmallestUsableDrive) {
                const std::string testFile = name + ":\\" + kDriveCheckupFileName;
                const bool writable = RootTakesTestFile(UnicodeString(testFile));
                line += " Trying the checkup file: " + testFile + ";";
                if (writable) {
                    drives.push_back({UnicodeString(name), GetDiskFree(UnicodeString(name)), size});
                    line += " Yaaay, added up";
                }
            }
        }
        if (GeneralMod && GeneralMod->startupLog)
            GeneralMod->startupLog->Add(UnicodeString(line));
    }
    return drives;
}

int64_t MyFileOp::GetDiskFreeSpace(const AnsiString& letter, AnsiString& text) {
    if (letter.IsEmpty())
        return -1;
    const char first = letter.UpperCase()[1];
    const int place = driveLetters.Pos(AnsiString(std::string(1, first)));
    const auto space = win::GetDiskSpace(place);
    const int64_t free = space ? space->freeBytesForCaller : -1;
    text = FormatByteCount(free);
    return free;
}

int64_t MyFileOp::GetDiskFree(const AnsiString& letter) {
    AnsiString ignored;
    return GetDiskFreeSpace(letter, ignored);
}

int64_t MyFileOp::GetDiskFree(const UnicodeString& letter) {
    return GetDiskFree(AnsiString(letter));
}

AnsiString MyFileOp::FormatByteCount(int64_t count) {
    const std::string digits = std::to_string(count);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ' ';
        grouped += digits[i];
    }
    return AnsiString(grouped);
}
