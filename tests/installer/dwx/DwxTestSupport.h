// Fixtures of the DWX tests: a scratch folder, file bytes, and the reference encoder in
// tools/dwx_reference.py, which makes the fixtures from JSON descriptions and checks what the
// C++ writer produced.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace dwxtest {

using Bytes = std::vector<uint8_t>;

// A folder of its own for this test program, emptied at start.
std::filesystem::path Scratch();
std::filesystem::path ScratchFile(const std::string& name);

UnicodeString PathText(const std::filesystem::path& file);
Bytes ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const Bytes& bytes);
Bytes BytesOf(const std::string& text);

// Runs tools/dwx_reference.py with the arguments; true when it succeeded.
bool RunReference(const std::string& arguments);
// The file the reference encodes from a JSON description (empty path on failure).
std::filesystem::path Encoded(const std::string& json, const std::string& name);
// The reference's conversion of a file to a version (empty path when it refused).
std::filesystem::path ReferenceConverted(const std::filesystem::path& file, int version,
                                         const std::string& name);

struct CountField {
    size_t offset;
    size_t width;
    std::string meaning;
};
// Where the reference decoder found every count of the file.
std::vector<CountField> CountFieldsOf(const std::filesystem::path& file);

} // namespace dwxtest
