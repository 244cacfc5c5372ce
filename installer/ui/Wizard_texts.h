// What the wizard's pages say: the welcome list of carried databases, the lines about databases
// already present in a target, and the question built from them.
//
// Every text is a translated text looked up by number; the lookup is passed in so that the
// rules can be checked against a table of our own. The window copies these results into its
// text objects (a line's text and whether it shows).
#pragma once

#include "installer/engine/Database_records.h"
#include "platform/rtl/UnicodeString.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <vector>

using TTextLookup = std::function<UnicodeString(int number)>;

// Puts the arguments, in order, into the "%s" placeholders of a translated text. A translation
// with more placeholders than arguments keeps the extra ones as they stand (a faulty table must
// not stop the installer); extra arguments are dropped. "%%" stands for one "%".
UnicodeString FormatTranslated(const UnicodeString& pattern,
                               std::initializer_list<UnicodeString> args);

// "dd.mm.yyyy", for example "05.11.2011".
UnicodeString FormatDayMonthYear(const TDatabaseDate& date);

// The caption of the window: text 207 for at most one database, else 208.
int WindowTitleTextNumber(int databaseCount);

struct TPageLine {
    UnicodeString text;
    bool visible = false;
};

constexpr int kWelcomeLineCount = 6;

struct TWelcomeContent {
    UnicodeString head;
    std::array<TPageLine, kWelcomeLineCount> lines;
};

// The welcome page for the carried catalogue (walked in type order, list order within a type).
TWelcomeContent BuildWelcomeContent(const TDatabaseEmbeddedVecAfterTypeMap& catalogue,
                                    const TTextLookup& text);

constexpr int kOverwriteLineCount = 4;

struct TOverwriteContent {
    UnicodeString header;
    UnicodeString foot;
    // Name line and dates line of each shown database.
    std::array<std::pair<TPageLine, TPageLine>, kOverwriteLineCount> lines;
    bool nothingPresent = true;
};

// The confirmation page for the databases already present in the target.
TOverwriteContent BuildOverwriteContent(const TDatabaseAndTargetDatePairVec& present,
                                        const TTextLookup& text);

// The question asked before overwriting: the header, then for each shown name line its name,
// a blank line, its dates and a line feed.
UnicodeString BuildOverwriteQuestion(const TOverwriteContent& content);

// The notice shown when an installation step fails: what failed, then the last lines the
// engine logged (at most `lines` of them, the newest last), so the user sees why.
UnicodeString BuildFailureReport(bool extracting, const std::vector<UnicodeString>& log,
                                 int lines = 3);
