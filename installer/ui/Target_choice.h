// The rules of the target page that do not need the window: how a detected program is listed,
// how a folder typed or browsed by hand is validated against the maker's product lines, and
// which target the page's state amounts to.
#pragma once

#include "installer/engine/Database_records.h"
#include "installer/engine/Logical_drive.h"
#include "platform/rtl/UnicodeString.h"

#include <functional>
#include <map>
#include <vector>

// Usable drives by upper-case drive letter (one character).
using TDriveMap = std::map<UnicodeString, TLogicalDriveFound>;

// A detected program folder whose last name is exactly "V3_I6x86" (after trimming spaces) is
// listed and used as the folder above it; the result keeps a trailing delimiter.
UnicodeString ListedProgramFolder(const UnicodeString& folder);

// The flag for IsVersionShownInName: 0 when the version text starts with 7 or 3, else 1. An
// empty version text is no version at all and gives 1.
int VersionNameFlag(const UnicodeString& versionText);

// The upper-cased first character of the drive part of a path; empty when there is none.
UnicodeString DriveKeyOfPath(const UnicodeString& path);

// Asks whether `folder` holds an installation of `line`: false when the check could not be
// made, otherwise true with whether the program was found and whether its versions suffice.
using TProgramFolderCheck = std::function<bool(const UnicodeString& folder, EProductLine line,
                                               bool& programFound, bool& versionsSufficient)>;

// The product lines tried for a folder chosen by hand, in this order; line 8 is never tried.
inline constexpr EProductLine kManualCheckOrder[] = {
    plLumoraPro, plFennix, plLumora, plLumoraMarvello, plLumoraProDemo, plLumoraDemo, plTessaro};

// Validates a folder chosen by hand: only on a drive of the drive map, and only for a folder
// that exists, the product lines are tried in kManualCheckOrder; the first whose program is
// found (with versions that suffice when the catalogue carries the older file format) wins.
// Answers {0, ""} when nothing matched.
TCadAppInstalled ValidateManualFolder(const UnicodeString& pathText, const TDriveMap& drives,
                                      bool catalogueHasFdb, const TProgramFolderCheck& check);

// Whether a target can take an installation at all: a folder is named and it exists.
bool IsInstallableFolder(const UnicodeString& folder);

// The state of the target page that decides the chosen target.
struct TTargetPageState {
    bool detectedVisible = false;
    bool detectedChecked = false;
    // The entry behind the first checked item of the program tree; {0, ""} when none.
    TCadAppInstalled checkedProgram;
    bool manualVisible = false;
    bool manualChecked = false;
    bool warningVisible = false;
    UnicodeString pathText;
    // The last folder chosen by hand that passed validation; {0, ""} until then.
    TCadAppInstalled manualChoice;
};

// The chosen target. A manual choice counts only while the path box still holds its folder:
// a path edited after validation is taken as it stands, with product line 0, until validated
// again.
TCadAppInstalled GetChosenTarget(const TTargetPageState& page);

// One line of the program tree: its text and the installation behind it.
struct TProgramListEntry {
    UnicodeString text;
    TCadAppInstalled program;
};

struct TProgramList {
    std::vector<TProgramListEntry> entries;
    // The folder the path box starts with: the first candidate's; empty without candidates.
    UnicodeString firstFolder;
};

// The detected installations as the program tree lists them, in the engine's order: the name
// of the product line, its version after it where the line shows one, and the folder (a
// "V3_I6x86" folder listed as the one above it), formatted with text 229 ("%s (%s)").
TProgramList
BuildProgramList(const TCadAppInstalledVec& candidates,
                 const std::function<UnicodeString(const TCadAppInstalled&)>& versionText,
                 const std::function<UnicodeString(EProductLine)>& productName,
                 const std::function<UnicodeString(int)>& text);
