// The rules behind the installation page's timers: the slide show's next picture and the
// free-space text (refreshed every second, kept in a group the layout hides).
#pragma once

#include "installer/ui/Wizard_texts.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>

// The slide after `index`: a timer tick advances by one and wraps after the last slide; a call
// without a tick (entering the page) stays. An index outside the list shows nothing.
int NextSlideIndex(int index, int slideCount, bool tick);

// Format(text 125 + " " + text 126, drive letter, megabytes): "The amount of free space on
// disk C: 1,234.5 MB". `drive` is the drive part of the target ("C:"), `megabytes` the free
// space already formatted.
UnicodeString FreeSpaceText(const UnicodeString& drive, const UnicodeString& megabytes,
                            const TTextLookup& text);
