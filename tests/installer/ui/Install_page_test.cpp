// The slide show's order and the free-space text.
#include "installer/ui/Install_page.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(InstallPage, SlidesOpenOnTheFirstAndWrapAfterTheSixth) {
    int index = 0;
    index = NextSlideIndex(index, 6, false);
    EXPECT_EQ(index, 0) << "entering the page stays on the first slide";
    std::vector<int> shown;
    for (int tick = 0; tick < 6; ++tick) {
        index = NextSlideIndex(index, 6, true);
        shown.push_back(index);
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 5, 0}));
}

TEST(InstallPage, FreeSpaceNamesTheDriveLetterAndTheMegabytes) {
    const TTextLookup text = [](int number) {
        return number == 125 ? UnicodeString(u"Free space on disk") : UnicodeString(u"%s: %s MB");
    };
    EXPECT_EQ(FreeSpaceText(u"C:", u"1,234.5", text),
              UnicodeString(u"Free space on disk C: 1,234.5 MB"));
    EXPECT_EQ(FreeSpaceText(u"", u"0", text), UnicodeString(u"Free space on disk : 0 MB"));
}

} // namespace
