#include "platform/win/FileMask.h"

#include "platform/win/CaseFold.h"

#include <string>
#include <vector>

namespace win {
namespace {

// Iterative wildcard match with one backtrack point: linear in practice, never exponential.
bool Match(const std::u16string& name, const std::u16string& mask) {
    size_t n = 0, m = 0, starMask = std::u16string::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == u'?' || mask[m] == name[n])) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::u16string::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*')
        ++m;
    return m == mask.size();
}

} // namespace

bool HasWildcards(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
    std::u16string n = FoldCase(name), m = FoldCase(mask);
    // A mask ending in ".*" also matches the name without any extension ("readme" by "*.*").
    if (m.size() >= 2 && m.compare(m.size() - 2, 2, u".*") == 0 &&
        n.find(u'.') == std::u16string::npos)
        return Match(n, m.substr(0, m.size() - 2));
    // "*." asks for names without an extension.
    if (m.size() >= 2 && m.back() == u'.' && m[m.size() - 2] == u'*')
        return n.find(u'.') == std::u16string::npos && Match(n, m.substr(0, m.size() - 1));
    return Match(n, m);
}

} // namespace win
