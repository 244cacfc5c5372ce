// The maker's product lines and the groups the installer collects them in.
//
// Nearly everything the installer knows about a program is a fixed function of its line: the
// abbreviation used on the command line and in the registry, the translated display name, the
// main executable, the folder word, the registry keys of each program generation and the files
// a valid installation must hold. Those tables are operations of TGeneralMod (General_module.h);
// this header holds the types they speak in.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <vector>

// Any value outside 0 to 8 is treated like plNone by every table.
enum EProductLine : int {
    plNone = 0,
    plLumora = 1,
    plLumoraMarvello = 2,
    plLumoraDemo = 3,
    plFennix = 4,
    plLumoraPro = 5,
    plLumoraProDemo = 6,
    plTessaro = 7,
    plTrimora = 8,
};

// Lines 7 and 8 belong to no group.
enum EProductGroup : int {
    pgLumora = 1,    // lines 1, 2, 3
    pgFennix = 2,    // line 4
    pgLumoraPro = 3, // lines 5, 6
};

// Groups in order of preference.
using EProductGroupVec = std::vector<EProductGroup>;

// One file a program folder must contain, with the lowest version that still counts; the
// version test itself belongs to the engine's program-folder check.
struct TProgramFileForCheckup {
    UnicodeString fileName; // relative to the folder under test
    int minMajor = 0;
    int minMinor = 0;
};

// The program generations whose registry keys record installations.
constexpr int kGenerationCurrent = 0;
constexpr int kGenerationPrevious = 1;
constexpr int kGenerationLegacy = 2;

// Whether the wizard writes a program's version after its name in its list of installations:
// always for flag 0, otherwise for every line but the PRO editions.
bool IsVersionShownInName(EProductLine line, int flag);
