// Case-insensitive comparison of names (registry keys and values, file names, resource names),
// the way the callers' platform compares them: Unicode simple upper-casing of UTF-16 units.
#pragma once

#include <string>
#include <string_view>

namespace win {

// The upper-cased UTF-16 form of a UTF-8 name; equal folds mean equal names.
std::u16string FoldCase(std::string_view utf8);
bool SameName(std::string_view a, std::string_view b);

} // namespace win
