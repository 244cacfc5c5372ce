// Registry export files: the text form in which the registry store keeps each hive.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Maker]
//   "Path"="C:\\Programs\\Maker"
//   @="default value"
//   "Count"=dword:0000002a
//   "Stamp"=hex:00,00,00,00,80,4d,e4,40
//   "Template"=hex(2):25,00,00,00
//
// Files may be UTF-16LE with a byte-order mark (as exported) or UTF-8 (8-bit files that are
// not valid UTF-8 are read as windows-1250), with LF or CR LF lines;
// long hex lists may continue over lines ending in '\'. Every key of a file must lie below the
// root the hive belongs to.
#pragma once

#include "platform/win/RegistryHive.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace win {

inline constexpr const char* kRegistryFileHeader = "Windows Registry Editor Version 5.00";

struct RegistryParseResult {
    bool ok = true;
    int line = 0;        // 1-based line of the first error
    std::string message; // what is wrong there
};

// Reads a hive file into `hive` (adding to what it holds). On error `hive` holds the keys read
// before the faulty line and the result says where and why; the parser reads only the bytes
// given and allocates no more than a small multiple of them.
RegistryParseResult ParseRegistryFile(std::span<const uint8_t> bytes, std::string_view rootName,
                                      RegistryHive& hive);

// The hive as a UTF-8 export file; keys marked generated are left out.
std::string FormatRegistryFile(const RegistryHive& hive, std::string_view rootName);

} // namespace win
