// File-name masks as the callers' platform matches them in folder searches: case-insensitive,
// '*' for any run of characters, '?' for one character, and the classic forms that look
// stranger than they are: "*.*" matches every name, with or without a dot, and "*." matches
// the names that have no extension.
#pragma once

#include <string_view>

namespace win {

bool HasWildcards(std::string_view text);
bool MatchesMask(std::string_view name, std::string_view mask);

} // namespace win
