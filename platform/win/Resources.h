// The program's own resources, found by name and type, case-insensitively.
//
// The resources travel in a bundle (ResourceBundle.h) that tools/respack appends to the built
// program, so replacing what the program carries needs a repack, never a recompile. At run time
// the file is memory-mapped once and stays mapped, so a resource is handed out as bytes without
// copying and the bytes stay valid for the life of the process.
//
// Where the bundle is read from: the file given to SetResourceFile (tests), else
// $DBI_RESOURCE_FILE, else the running program (/proc/self/exe).
#pragma once

#include "platform/win/ResourceBundle.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace win {

inline constexpr const char* RT_RCDATA = "RCDATA";

// The bytes of resource `name` of `type`; nothing when there is none (or no usable bundle).
std::optional<std::span<const uint8_t>> FindResource(const std::string& name,
                                                     const std::string& type = RT_RCDATA);
// Every resource of the bundle, in packed order.
std::vector<ResourceEntry> ListResources();
// Why the last lookup found no bundle at all ("" when it found one).
std::string ResourceError();

// Reads resources from `path` from now on; "" goes back to the default.
void SetResourceFile(const std::string& path);

} // namespace win
