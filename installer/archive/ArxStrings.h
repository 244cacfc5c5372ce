// Case-aware string routines the archive library's path arithmetic rests on. Case folding goes
// through a per-code-unit map built once, so comparisons do not depend on the process locale.
#pragma once

#include "installer/archive/ArxBase.h"

#include <vector>

DBI_DECLARE_EXCEPTION(EArxStringError, EArxError);

using TArxStringList = std::vector<UnicodeString>;

char16_t ArxLowerUnit(char16_t unit);
char16_t ArxUpperUnit(char16_t unit);
UnicodeString ArxLowerCase(const UnicodeString& text);
UnicodeString ArxUpperCase(const UnicodeString& text);

// Length difference when the lengths differ, else the difference of the first differing units
// (compared as they are or case-folded); 0 when equal.
int ArxCompareText(const UnicodeString& s1, const UnicodeString& s2, bool caseSensitive);
bool ArxSameText(const UnicodeString& s1, const UnicodeString& s2, bool caseSensitive = false);

// The pieces of text between occurrences of separator; empty pieces (an empty remainder
// included) only when keepEmpty. The case-insensitive form finds the separator ignoring case
// but cuts the pieces from the unchanged text.
TArxStringList SplitAt(const UnicodeString& text, const UnicodeString& separator, bool keepEmpty,
                       bool caseSensitive = true);
UnicodeString JoinWith(const TArxStringList& pieces, const UnicodeString& separator,
                       bool keepEmpty);
UnicodeString RepeatString(const UnicodeString& text, int count);

UnicodeString RemovePrefix(const UnicodeString& prefix, const UnicodeString& text);
UnicodeString EnsureSuffix(const UnicodeString& suffix, const UnicodeString& text);

// "*" matches any run, "?" any one unit, other units must be equal. Matching starts at the
// 1-based position `start` of text.
bool WildcardMatch(const UnicodeString& pattern, const UnicodeString& text, int start = 1);
