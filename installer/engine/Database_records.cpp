#include "installer/engine/Database_records.h"

TDatabaseDate DatabaseDateFromText(const UnicodeString& text) {
    const TDateParts parts = ParseDatabaseDate(text);
    return {parts.year, parts.month, parts.day};
}

bool IsPlainTargetName(const UnicodeString& name) {
    if (name.IsEmpty())
        return true;
    if (name == u"." || name == u"..")
        return false;
    for (int i = 1; i <= name.Length(); ++i)
        if (name[i] == u'/' || name[i] == u'\\' || name[i] == u':' || name[i] == 0)
            return false;
    return true;
}

bool IsCompleteEntry(const TDatabaseEmbedded& entry) {
    if (entry.iniResourceName.IsEmpty() || entry.archiveResourceName.IsEmpty() ||
        entry.iniPath.IsEmpty() || entry.type == dtUnknown)
        return false;
    if (IsBrandDatabaseType(entry.type) && entry.databaseName.IsEmpty())
        return false;
    return IsPlainTargetName(entry.targetName);
}
