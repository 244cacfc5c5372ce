// String-list loading: any bytes load, and the list's text forms read back what they wrote.
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 20))
        return 0;
    TBytesStream stream(std::vector<uint8_t>(data, data + size));
    TStringList list;
    list.LoadFromStream(stream);

    TStringList copy;
    copy.SetText(list.Text());
    if (!copy.Equals(list))
        __builtin_trap();

    copy.SetCommaText(list.CommaText());
    if (!copy.Equals(list))
        __builtin_trap();

    // The same bytes read as delimited text must not fail either way.
    TStringList delimited;
    delimited.Delimiter = u';';
    delimited.StrictDelimiter = (size & 1) != 0;
    delimited.SetDelimitedText(list.Text());
    TStringList back;
    back.Delimiter = u';';
    back.StrictDelimiter = delimited.StrictDelimiter;
    back.SetDelimitedText(delimited.DelimitedText());
    if (!back.Equals(delimited))
        __builtin_trap();

    list.SetSorted(true);
    for (int i = 1; i < list.Count(); ++i)
        if (CompareText(list[i - 1], list[i]) > 0)
            __builtin_trap();
    if (list.Count() > 0 && list.IndexOf(list[list.Count() - 1]) < 0)
        __builtin_trap();
    (void)list.Values(u"name");
    return 0;
}
