// TLogicalDriveFound: one drive the installer may write to, as the drive scan found it.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <vector>

struct TLogicalDriveFound {
    UnicodeString letter; // upper case, without colon ("C")
    int64_t freeBytes = 0;
    int64_t totalBytes = 0;
};

// In drive-letter order.
using TLogicalDriveFoundVec = std::vector<TLogicalDriveFound>;

// Only drives strictly larger than this are offered.
inline constexpr int64_t kSmallestUsableDrive = 10000000000LL;
// Written into a drive's root and deleted at once, to learn whether the root is writable.
inline constexpr const char* kDriveCheckupFileName =
    "temp_file_for_write_permissions_checkup__safe_to_delete.txt";
