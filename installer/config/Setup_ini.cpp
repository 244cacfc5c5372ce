// Setup.ini of a full installation source: languages, engines, versions, name, pricing file,
// test switch and product keys. The database installer normally runs without one; then both
// readers answer false and every value keeps its default.
#include "installer/config/Setup_ini.h"
#include "installer/config/General_module.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"

#include <optional>

namespace {

bool IsHeaderLine(const UnicodeString& line) {
    const int open = line.Pos(u"[");
    const int close = line.Pos(u"]");
    return open > 0 && close > open;
}

AnsiString AsciiUpperCase(AnsiString text) {
    for (char& c : text.str())
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

UnicodeString LastLine(const std::vector<UnicodeString>& content) {
    return content.empty() ? UnicodeString() : content.back();
}

const UnicodeString kLanguageFolders = u"wersje_jezykowe";

} // namespace

std::vector<UnicodeString> SetupIniSectionContent(const TStrings& lines,
                                                  const UnicodeString& header) {
    std::vector<UnicodeString> content;
    int i = 0;
    const int count = lines.Count();
    while (i < count && !SameText(lines[i], header))
        ++i;
    for (++i; i < count; ++i) {
        const UnicodeString line = lines[i];
        if (IsHeaderLine(line))
            break;
        if (!line.IsEmpty())
            content.push_back(line);
    }
    return content;
}

TPercentFields SplitPercentFields(const AnsiString& line) {
    TPercentFields fields;
    const std::string& s = line.str();
    const size_t first = s.find('%');
    if (first == std::string::npos) {
        fields.first = line;
        return fields;
    }
    fields.first = s.substr(0, first);
    const size_t second = s.find('%', first + 1);
    if (second == std::string::npos) {
        fields.second = fields.third = s.substr(first + 1);
    } else {
        fields.second = s.substr(first + 1, second - first - 1);
        fields.third = s.substr(second + 1);
    }
    return fields;
}

UnicodeString TGeneralMod::GetSetupIniPath() const {
    return installerFolder + setupFileName;
}

bool TGeneralMod::ReadSetupIni() {
    languages.clear();
    const UnicodeString path = GetSetupIniPath();
    if (!FileExists(path))
        return false;

    TStringList lines;
    lines.LoadFromFile(path); // an unreadable file raises and ends the start-up
    const AnsiString folder = AnsiString(installerFolder);
    const AnsiString languageFolders = AnsiString(kLanguageFolders + UnicodeString(PathDelim, 1));
    if (lines.Count() == 0) {
        // An empty file stands for the Polish source the installer family started from.
        languages.push_back({"POLSKI", "0", folder + languageFolders + "lang0", "lang0", true});
        return true;
    }

    // [JEZYKI]: the offered languages, or one forced language.
    std::optional<AnsiString> forceLine;
    for (const UnicodeString& line : SetupIniSectionContent(lines, u"[JEZYKI]")) {
        const AnsiString text(line);
        if (text.Pos("FORCELANG") > 0) {
            forceLine = text;
            break;
        }
        if (text.Pos("%") == 0)
            continue;
        const TPercentFields fields = SplitPercentFields(text);
        jezyki language;
        language.name = fields.first;
        language.code = fields.third.IsEmpty() ? fields.first : fields.third;
        if (FileExists(folder + fields.second))
            language.file = folder + fields.second;
        if (DirectoryExists(folder + languageFolders + language.code))
            language.folder = folder + languageFolders + language.code;
        languages.push_back(language);
    }
    if (forceLine) {
        const int equals = forceLine->Pos("=");
        const AnsiString wanted =
            Trim(equals > 0 ? forceLine->SubString(equals + 1, forceLine->Length()) : *forceLine);
        for (const jezyki& language : languages) {
            if (language.code == wanted) {
                jezyki forced = language;
                forced.chosen = true;
                languages.assign(1, forced);
                break;
            }
        }
    }

    // [ICAD]: the CAD engines the source allows.
    allowedEngines.clear();
    const AnsiString prototypes = folder + AnsiString(u"prototypy" + UnicodeString(PathDelim, 1));
    for (const UnicodeString& line : SetupIniSectionContent(lines, u"[ICAD]")) {
        const AnsiString text(line);
        if (text.Pos("%") == 0)
            continue;
        const TPercentFields fields = SplitPercentFields(text);
        dozwolone_icady engine{fields.first, fields.second, AnsiString()};
        if (DirectoryExists(prototypes + fields.third))
            engine.prototypeFolder = prototypes + fields.third;
        allowedEngines.push_back(engine);
    }

    // [WERSJE]: version texts, each keyed by a word its key contains.
    for (const UnicodeString& line : SetupIniSectionContent(lines, u"[WERSJE]")) {
        const AnsiString text(line);
        if (text.Pos("%") == 0)
            continue;
        const AnsiString key = AsciiUpperCase(SplitPercentFields(text).first);
        AnsiString working = text;
        const struct {
            const char* word;
            UnicodeString* version;
        } kVersions[] = {{"CAD-FENX", &versionKitchen},
                         {"RENDER", &versionRender},
                         {"WYCENA", &versionPricing},
                         {"AGD", &versionHhd}};
        for (const auto& entry : kVersions) {
            if (key.Pos(entry.word) == 0)
                continue;
            const int percent = working.Pos("%");
            if (percent > 0)
                working.Delete(1, percent);
            *entry.version = UnicodeString(working);
        }
    }

    // [NAME]: the source's name.
    const std::vector<UnicodeString> name = SetupIniSectionContent(lines, u"[NAME]");
    if (!name.empty())
        sourceName = name.back();

    // [WYCENA]: the pricing file of this platform family.
    for (const UnicodeString& line : SetupIniSectionContent(lines, u"[WYCENA]")) {
        const AnsiString text(line);
        if (text.Pos("%") == 0)
            continue;
        const TPercentFields fields = SplitPercentFields(text);
        if (UnicodeString(fields.first) != platformText)
            continue;
        if (FileExists(folder + fields.second)) {
            pricingFilePath = UnicodeString(folder + fields.second);
            pricingRestText = UnicodeString(fields.third);
        } else {
            pricingFilePath = pricingRestText = UnicodeString();
        }
    }

    // [TESTFILES]: a number, true when not 0.
    testFlag = StrToIntDef(LastLine(SetupIniSectionContent(lines, u"[TESTFILES]")), 0) != 0;
    return true;
}

bool TGeneralMod::ReadSetupIniProductKeys() {
    setupFolderName = u"Setup_icad";
    engineVersionText = u"6.6";
    exePathValue = UnicodeString();
    const UnicodeString path = GetSetupIniPath();
    if (!FileExists(path))
        return false;

    TIniFile ini(path);
    auto read = [&](const char16_t* section, const char16_t* key, const UnicodeString& def) {
        return Trim(ini.ReadString(section, key, def));
    };
    setupFolderName = read(u"ICADINST", u"SETUPDIR", setupFolderName);
    engineVersionText = read(u"ICADVERDEF", u"DOT4VER", engineVersionText);
    const UnicodeString line = read(u"INFOPROD", u"LINE", UnicodeString());
    exePathValue = read(u"INFOPROD", u"EXEPATH", exePathValue);
    exePathTestValue = read(u"INFOPROD", u"EXEPATH_TEST", exePathTestValue);
    sourceProductLine = ProductLineFromAbbreviation(line);
    return true;
}
