#include "platform/classes/IdentMap.h"

bool IdentToInt(const AnsiString& ident, int32_t& value, TIdentMap map) {
    const AnsiString key = ident.UpperCase();
    for (const TIdentMapEntry& entry : map)
        if (AnsiString(entry.Name).UpperCase() == key) {
            value = entry.Value;
            return true;
        }
    return false;
}

bool IntToIdent(int32_t value, AnsiString& ident, TIdentMap map) {
    for (const TIdentMapEntry& entry : map)
        if (entry.Value == value) {
            ident = entry.Name;
            return true;
        }
    return false;
}
