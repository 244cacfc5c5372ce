// What the engine knows about a database: one it carries (TDatabaseEmbedded), one found
// installed in a target (TDatabaseBase), and the date of an installed copy.
//
// Both kinds are described by small INI files; MyFileOp reads them (Myfileop_class.h). A carried
// entry is usable only when it is complete (IsCompleteEntry); the catalogue keeps only complete
// entries and every later step tests the rule again before it touches one.
#pragma once

#include "installer/config/Database_types.h"
#include "installer/config/Product_lines.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

// Year, month and day of a database copy; 0 where the date is missing. A date is valid when all
// three are above 0; month and day are not compared with any upper bound.
struct TDatabaseDate {
    int year = 0;
    int month = 0;
    int day = 0;

    bool IsValid() const { return year > 0 && month > 0 && day > 0; }
    friend bool operator==(const TDatabaseDate&, const TDatabaseDate&) = default;
};

// The date text "year-month-day" of a database INI, scanned as ParseDatabaseDate does.
TDatabaseDate DatabaseDateFromText(const UnicodeString& text);

// One database the installer carries as a pair of resources.
struct TDatabaseEmbedded {
    UnicodeString iniResourceName;     // "DB01INI" for the first pair
    UnicodeString archiveResourceName; // "DB01FULL" for the first pair
    UnicodeString iniPath;             // the INI copy in the extraction folder
    UnicodeString installedFolder;     // where the database was unpacked
    UnicodeString databaseName;        // [info] BAZA
    UnicodeString dateText;            // [info] DATA
    TDatabaseDate mdate;
    TDatabaseDate udate;
    EDatabaseType type = dtUnknown;
    UnicodeString targetName; // [INSTALL] TARGETNAME: folder (tiles: file) name in the target
    int64_t targetSize = 0;   // [INSTALL] TARGETSIZE: unpacked bytes
    bool formatFdb = false;   // [INSTALL] FORMATFDB
    UnicodeString archivePath;
    int64_t archiveSize = 0;
};

using TDatabaseEmbeddedVec = std::vector<TDatabaseEmbedded>;
// Complete entries grouped by type, types ascending; no vector is empty.
using TDatabaseEmbeddedVecAfterTypeMap = std::map<EDatabaseType, TDatabaseEmbeddedVec>;

// TARGETNAME names a folder or file inside the target, so it must be one plain name: no path
// delimiter of either kind, no "." or "..", no drive. An empty name is allowed.
bool IsPlainTargetName(const UnicodeString& name);

// Both resource names and the INI copy's path set, a known type, a name for the brand types,
// and a TARGETNAME that cannot lead outside the target.
bool IsCompleteEntry(const TDatabaseEmbedded& entry);

// A database found installed in a target folder, read from its INI.
struct TDatabaseBase {
    UnicodeString databaseName; // [info] BAZA
    UnicodeString dateText;     // [info] DATA
    bool userDatabase = false;  // [info] USERDB, else USER
    bool special = false;       // [info] SPECIAL
    bool cdFlag = false;        // [DOWNLOAD] CD = 2
    bool hidden = false;        // [info] HIDDEN
    bool skipCopy = false;      // [info] SKIPCOPY, default HIDDEN
    TDatabaseDate mdate;
    TDatabaseDate udate;
    int64_t packedSize = 0;   // [DOWNLOAD] SPACKED, only with cdFlag
    int64_t unpackedSize = 0; // [DOWNLOAD] SUPACKED, only with cdFlag
};

using TDatabaseAndTargetDatePair = std::pair<TDatabaseEmbedded, TDatabaseDate>;
using TDatabaseAndTargetDatePairVec = std::vector<TDatabaseAndTargetDatePair>;

// One detected installation: its product line and its folder with a trailing delimiter.
struct TCadAppInstalled {
    EProductLine productLine = plNone;
    UnicodeString folder;
};

using TCadAppInstalledVec = std::vector<TCadAppInstalled>;
