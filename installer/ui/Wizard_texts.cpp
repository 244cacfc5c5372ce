#include "installer/ui/Wizard_texts.h"

#include "platform/rtl/Format.h"

#include <vector>

UnicodeString FormatTranslated(const UnicodeString& pattern,
                               std::initializer_list<UnicodeString> args) {
    const std::u16string& source = pattern.str();
    std::u16string result;
    result.reserve(source.size());
    auto next = args.begin();
    for (size_t i = 0; i < source.size(); ++i) {
        const char16_t c = source[i];
        if (c == u'%' && i + 1 < source.size()) {
            const char16_t kind = source[i + 1];
            if (kind == u'%') {
                result += u'%';
                ++i;
                continue;
            }
            if (kind == u's' && next != args.end()) {
                result += next->str();
                ++next;
                ++i;
                continue;
            }
        }
        result += c;
    }
    UnicodeString out;
    out.str() = std::move(result);
    return out;
}

UnicodeString FormatDayMonthYear(const TDatabaseDate& date) {
    return Format(u"%02d.%02d.%04d", date.day, date.month, date.year);
}

int WindowTitleTextNumber(int databaseCount) {
    return databaseCount <= 1 ? 207 : 208;
}

namespace {

std::vector<const TDatabaseEmbedded*> Walk(const TDatabaseEmbeddedVecAfterTypeMap& catalogue) {
    std::vector<const TDatabaseEmbedded*> all;
    for (const auto& [type, entries] : catalogue)
        for (const TDatabaseEmbedded& entry : entries)
            all.push_back(&entry);
    return all;
}

int WelcomeHeadNumber(EDatabaseType type) {
    switch (type) {
    case dtTiles:
        return 216;
    case dtInterior:
        return 217;
    case dtCabinets:
        return 218;
    case dtHhd:
        return 219;
    case dtWalls:
        return 220;
    case dtMaterials:
        return 221;
    default:
        return 215;
    }
}

// The brand line of the brand types (tiles, interior, cabinets, appliances); empty otherwise.
UnicodeString BrandLine(const TDatabaseEmbedded& entry, const TTextLookup& text) {
    switch (entry.type) {
    case dtTiles:
        return FormatTranslated(text(209), {entry.databaseName});
    case dtInterior:
        return FormatTranslated(text(210), {entry.databaseName});
    case dtCabinets:
        return FormatTranslated(text(211), {entry.databaseName});
    case dtHhd:
        return FormatTranslated(text(212), {entry.databaseName});
    default:
        return {};
    }
}

UnicodeString WelcomeLine(const TDatabaseEmbedded& entry, const TTextLookup& text) {
    switch (entry.type) {
    case dtWalls:
        return entry.targetName.IsEmpty() ? text(213)
                                          : FormatTranslated(text(251), {entry.targetName});
    case dtMaterials:
        return entry.targetName.IsEmpty() ? text(214)
                                          : FormatTranslated(text(252), {entry.targetName});
    default:
        return BrandLine(entry, text);
    }
}

// The table writes its line breaks as a backslash and the letter n.
UnicodeString WithLineFeeds(const UnicodeString& text) {
    const std::u16string& raw = text.str();
    std::u16string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'\\' && i + 1 < raw.size() && raw[i + 1] == u'n') {
            out += u'\n';
            ++i;
        } else {
            out += raw[i];
        }
    }
    return UnicodeString(std::move(out));
}

} // namespace

TWelcomeContent BuildWelcomeContent(const TDatabaseEmbeddedVecAfterTypeMap& catalogue,
                                    const TTextLookup& text) {
    TWelcomeContent content;
    const std::vector<const TDatabaseEmbedded*> all = Walk(catalogue);
    const int count = static_cast<int>(all.size());
    if (count == 1) {
        const TDatabaseEmbedded& only = *all.front();
        content.head = text(WelcomeHeadNumber(only.type));
        if (!only.targetName.IsEmpty()) {
            const bool byTarget = only.type == dtWalls || only.type == dtMaterials;
            content.lines[0] = {byTarget ? only.targetName : only.databaseName, true};
        }
        return content;
    }
    content.head = text(215);
    const int filled = count <= kWelcomeLineCount ? count : kWelcomeLineCount - 1;
    for (int i = 0; i < filled; ++i)
        content.lines[i] = {WelcomeLine(*all[i], text), true};
    if (count > kWelcomeLineCount)
        content.lines[kWelcomeLineCount - 1] = {
            FormatTranslated(text(225), {UnicodeString(std::to_string(count - 5))}), true};
    return content;
}

TOverwriteContent BuildOverwriteContent(const TDatabaseAndTargetDatePairVec& present,
                                        const TTextLookup& text) {
    TOverwriteContent content;
    const int n = static_cast<int>(present.size());
    content.nothingPresent = n == 0;
    content.header = text(n < 2 ? 237 : 238);
    content.foot = text(n < 2 ? 240 : 241);
    for (int i = 0; i < n && i < kOverwriteLineCount; ++i) {
        const auto& [database, existing] = present[static_cast<size_t>(i)];
        UnicodeString dates = FormatTranslated(
            text(239), {FormatDayMonthYear(database.mdate), FormatDayMonthYear(existing)});
        dates = WithLineFeeds(dates);
        content.lines[static_cast<size_t>(i)] = {{BrandLine(database, text), true}, {dates, true}};
    }
    if (n > kOverwriteLineCount) {
        auto& last = content.lines[kOverwriteLineCount - 1];
        last.first.text = FormatTranslated(text(225), {UnicodeString(std::to_string(n - 3))});
        last.second.visible = false;
    }
    return content;
}

UnicodeString BuildOverwriteQuestion(const TOverwriteContent& content) {
    UnicodeString message = content.header + u" ";
    for (const auto& [name, dates] : content.lines)
        if (name.visible)
            message = message + name.text + u"\n\n" + dates.text + u"\n";
    return message;
}

UnicodeString BuildFailureReport(bool extracting, const std::vector<UnicodeString>& log,
                                 int lines) {
    UnicodeString report = extracting
                               ? UnicodeString(u"The installation failed: the carried "
                                               u"databases could not be prepared.")
                               : UnicodeString(u"The installation failed: not every database "
                                               u"could be installed.");
    const int count = static_cast<int>(log.size());
    const int first = count > lines ? count - lines : 0;
    if (first < count)
        report += u"\n";
    for (int i = first; i < count; ++i)
        report += u"\n" + log[static_cast<size_t>(i)];
    return report;
}
