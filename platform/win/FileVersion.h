// The version resource of a program file (32- or 64-bit PE: executables and libraries).
//
// The reader walks the file's resource tree to the version resource of id 1 (its first
// language), as the platform's own version query does, and reads its fixed
// file information, its translation table and its string tables. Every offset and length is
// checked against the bytes at hand, so a damaged or hostile file gives "no version" (nothing),
// never a read outside the file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace win {

struct FixedFileInfo {
    uint32_t fileVersionMS = 0; // major << 16 | minor
    uint32_t fileVersionLS = 0; // release << 16 | build
    uint32_t productVersionMS = 0;
    uint32_t productVersionLS = 0;
    uint32_t fileFlagsMask = 0;
    uint32_t fileFlags = 0;
    uint32_t fileOS = 0;
    uint32_t fileType = 0;
    uint32_t fileSubtype = 0;
};

struct VersionTranslation {
    uint16_t language = 0;
    uint16_t codePage = 0;
};

struct VersionStringTable {
    std::string key; // language and code page as eight hexadecimal digits, e.g. "041504e2"
    std::vector<std::pair<std::string, std::u16string>> strings; // name, text
};

struct VersionInfo {
    std::optional<FixedFileInfo> fixed;
    std::vector<VersionTranslation> translations;
    std::vector<VersionStringTable> stringTables;

    // A string value by query path, "\StringFileInfo\041504e2\FileVersion" (keys and names
    // compare case-insensitively); nothing when there is none.
    std::optional<std::u16string> QueryString(const std::string& path) const;
};

// The version resource of a PE file held in memory; nothing when it has none or is malformed.
std::optional<VersionInfo> ParsePeVersionInfo(std::span<const uint8_t> file);
// The same for a version resource block alone.
std::optional<VersionInfo> ParseVersionBlock(std::span<const uint8_t> block);
// The version resource of the file at `path`; only the parts needed are read.
std::optional<VersionInfo> ReadVersionInfo(const std::string& path);

// The "FileVersion" text of a file, looked up through the first entry of its translation
// table; nothing when the file, the resource, the table or the value is missing.
std::optional<std::u16string> ReadFileVersionString(const std::string& path);

} // namespace win
