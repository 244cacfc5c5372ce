// The kinds of catalogue database the installer carries, and the date text of database INIs.
//
// A database INI names its kind in [INSTALL] TYPE; the kind decides the target folder below a
// program folder, the translated name shown to the user, whether the database must carry a
// name of its own, and which product groups may receive it. The folder and name operations
// need the configuration module's words and texts and live in TGeneralMod.
#pragma once

#include "installer/config/Product_lines.h"
#include "platform/rtl/UnicodeString.h"

#include <vector>

enum EDatabaseType : int {
    dtUnknown = -1,
    dtTiles = 0,
    dtInterior = 1,
    dtCabinets = 2,
    dtHhd = 3,
    dtWalls = 4,
    dtMaterials = 5,
    dtDbMaterials = 6,
};

using EDatabaseTypeVec = std::vector<EDatabaseType>;

// Year, month and day as a database INI writes them; 0 for each part the text does not give.
struct TDateParts {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const TDateParts&, const TDateParts&) = default;
};

// The type whose INI word ("TILES" ... "DB_MATERIALS") equals the text exactly, else dtUnknown.
EDatabaseType DatabaseTypeFromWord(const UnicodeString& word);

// Scans "year-month-day" as the C scan "%d-%02d-%02d" does: a decimal year, a hyphen, a month
// of at most two digits, a hyphen, a day of at most two digits. Parts the scan does not reach
// stay 0; nothing is reported.
TDateParts ParseDatabaseDate(const UnicodeString& text);

// Product groups whose installations may receive this type, best first; empty for a type
// outside 0 to 6.
EProductGroupVec GetProductGroupsForDatabaseType(EDatabaseType type);

// Tiles, interior, cabinets and household appliances: a carried database of these types is
// usable only when its INI names the database.
bool IsBrandDatabaseType(EDatabaseType type);
