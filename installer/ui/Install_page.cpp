#include "installer/ui/Install_page.h"

int NextSlideIndex(int index, int slideCount, bool tick) {
    if (!tick)
        return index;
    const int next = index + 1;
    return next >= slideCount ? 0 : next;
}

UnicodeString FreeSpaceText(const UnicodeString& drive, const UnicodeString& megabytes,
                            const TTextLookup& text) {
    const UnicodeString letter = drive.IsEmpty() ? UnicodeString() : drive.SubString(1, 1);
    return FormatTranslated(text(125) + u" " + text(126), {letter, megabytes});
}
