// Database types: their INI words, target folders, names and allowed product groups.
#include "installer/config/Database_types.h"
#include "installer/config/General_module.h"
#include "platform/rtl/Paths.h"

#include <algorithm>
#include <climits>

namespace {

bool IsKnownType(EDatabaseType type) {
    return type >= dtTiles && type <= dtDbMaterials;
}

// Reads an optional sign and decimal digits as the C scan's %d does, after skipping blanks; at
// most `width` characters (sign included) when width > 0. Saturates instead of overflowing.
bool ScanInt(const std::u16string& text, size_t& at, int width, int& value) {
    while (at < text.size() && (text[at] == u' ' || (text[at] >= u'\t' && text[at] <= u'\r')))
        ++at;
    size_t end = width > 0 ? std::min(text.size(), at + static_cast<size_t>(width)) : text.size();
    size_t pos = at;
    bool negative = false;
    if (pos < end && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    size_t digitsStart = pos;
    long long number = 0;
    while (pos < end && text[pos] >= u'0' && text[pos] <= u'9') {
        if (number <= INT_MAX)
            number = number * 10 + (text[pos] - u'0');
        ++pos;
    }
    if (pos == digitsStart)
        return false;
    if (negative)
        number = -number;
    value = static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
    at = pos;
    return true;
}

} // namespace

EDatabaseType DatabaseTypeFromWord(const UnicodeString& word) {
    static const char16_t* const kWords[] = {u"TILES", u"INTERIOR",  u"CABINETS",    u"HHD",
                                             u"WALLS", u"MATERIALS", u"DB_MATERIALS"};
    for (int i = 0; i < 7; ++i)
        if (word == kWords[i])
            return static_cast<EDatabaseType>(i);
    return dtUnknown;
}

TDateParts ParseDatabaseDate(const UnicodeString& text) {
    TDateParts date;
    const std::u16string& s = text.str();
    size_t at = 0;
    if (!ScanInt(s, at, 0, date.year) || at >= s.size() || s[at] != u'-')
        return date;
    ++at;
    if (!ScanInt(s, at, 2, date.month) || at >= s.size() || s[at] != u'-')
        return date;
    ++at;
    ScanInt(s, at, 2, date.day);
    return date;
}

EProductGroupVec GetProductGroupsForDatabaseType(EDatabaseType type) {
    switch (type) {
    case dtTiles:
    case dtWalls:
    case dtMaterials:
    case dtDbMaterials:
        return {pgLumoraPro, pgLumora, pgFennix};
    case dtInterior:
        return {pgLumoraPro, pgFennix, pgLumora};
    case dtCabinets:
    case dtHhd:
        return {pgLumoraPro, pgFennix};
    default:
        return {};
    }
}

bool IsBrandDatabaseType(EDatabaseType type) {
    return type == dtTiles || type == dtInterior || type == dtCabinets || type == dtHhd;
}

UnicodeString TGeneralMod::GetDatabaseTypeName(EDatabaseType type) const {
    static const int kNameTexts[] = {144, 145, 146, 147, 148, 149, 149};
    return GetTranslatedText(this, IsKnownType(type) ? kNameTexts[type] : 150);
}

UnicodeString TGeneralMod::GetDatabaseFolder(const UnicodeString& programFolder,
                                             EDatabaseType type) const {
    const UnicodeString folder = IncludeTrailingPathDelimiter(programFolder);
    switch (type) {
    case dtCabinets:
        return folder;
    case dtTiles:
        return IncludeTrailingPathDelimiter(folder + tilesFolderWord);
    case dtInterior:
        return IncludeTrailingPathDelimiter(folder + interiorFolderWord);
    case dtHhd:
        return IncludeTrailingPathDelimiter(folder + hhdFolderWord);
    case dtWalls:
        return IncludeTrailingPathDelimiter(folder + wallsFolderWord);
    case dtMaterials:
    case dtDbMaterials:
        // The switch word is recorded but the target stays the materials word.
        return IncludeTrailingPathDelimiter(folder + materialsFolderWord);
    default:
        return UnicodeString();
    }
}

UnicodeString TGeneralMod::GetExtractionFolderName() const {
    return u"cad_db_extraction_temp";
}

void TGeneralMod::UseDbMaterialsFolder(const UnicodeString& folderWord) {
    materials2FolderWord = folderWord;
    materialsSwitched = true;
}
