// The resource bundle: named resources appended to a file (normally the program itself).
//
//   [data of each resource, each starting on a 16-byte boundary]
//   [directory: u32 count, then per resource u16 name length, u16 type length, u64 offset,
//    u64 size, name bytes, type bytes (UTF-8); offsets count from the bundle's start]
//   [trailer: "DBIRSRC1", u64 bundle size (trailer included), u64 directory offset,
//    u64 directory size]
//
// All numbers are little-endian. The trailer at the very end lets a reader find the bundle
// without knowing what precedes it, and lets the packer replace a bundle without touching the
// program in front of it.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace win {

inline constexpr size_t kResourceTrailerSize = 32;

struct ResourceEntry {
    std::string name;
    std::string type;
    uint64_t offset = 0; // from the start of the whole file
    uint64_t size = 0;
};

// The size of the bundle at the end of a file, given the file's size and its last
// kResourceTrailerSize bytes (fewer when the file is shorter); 0 when the file has none.
uint64_t ResourceBundleSize(uint64_t fileSize, std::span<const uint8_t> tail);

// The resources of a bundle at the end of `file`. Nothing, with a reason in `error`, when the
// file has no bundle or it is malformed (every offset and length is checked against the file).
std::optional<std::vector<ResourceEntry>> ParseResourceBundle(std::span<const uint8_t> file,
                                                              std::string& error);

// One resource to pack: its bytes are `data`, or the content of the file `path` when a path
// is given (streamed, so large archives need no memory of their size).
struct ResourceSource {
    std::string name;
    std::string type;
    std::vector<uint8_t> data;
    std::string path;
};

// Writes a bundle of these resources; `startOffset` is where the bundle begins in its file,
// so that the data lands on 16-byte boundaries of the file. False, with a reason in `error`,
// when a name or type is empty or longer than 65535 bytes or a file cannot be read.
bool WriteResourceBundle(std::ostream& out, const std::vector<ResourceSource>& resources,
                         uint64_t startOffset, std::string& error);

} // namespace win
