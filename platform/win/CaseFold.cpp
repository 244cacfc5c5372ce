#include "platform/win/CaseFold.h"

#include "platform/rtl/UnicodeString.h"

namespace win {

std::u16string FoldCase(std::string_view utf8) {
    std::u16string folded = Utf8ToUtf16(utf8);
    for (char16_t& unit : folded)
        unit = UpperCaseUnit(unit);
    return folded;
}

bool SameName(std::string_view a, std::string_view b) {
    return a == b || FoldCase(a) == FoldCase(b);
}

} // namespace win
