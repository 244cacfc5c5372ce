#include "platform/win/SystemInfo.h"

#include "platform/win/Environment.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>

namespace win {
namespace {

struct LocaleLangId {
    const char* locale; // language, or language_COUNTRY for the variants that differ
    int langId;
};

// Language ids of the languages whose texts the installer carries or whose users it meets,
// with the regional variants that have their own ids.
const LocaleLangId kLocales[] = {
    {"pl", 1045},    {"en", 1033},     {"en_GB", 2057}, {"en_AU", 3081},  {"en_CA", 4105},
    {"en_NZ", 5129}, {"en_IE", 6153},  {"en_ZA", 7177}, {"en_IN", 16393}, {"cs", 1029},
    {"de", 1031},    {"de_CH", 2055},  {"de_AT", 3079}, {"de_LU", 4103},  {"de_LI", 5127},
    {"ru", 1049},    {"hu", 1038},     {"es", 3082},    {"es_MX", 2058},  {"es_AR", 11274},
    {"es_CO", 9226}, {"es_CL", 13322}, {"sk", 1051},    {"it", 1040},     {"it_CH", 2064},
    {"fr", 1036},    {"fr_BE", 2060},  {"fr_CA", 3084}, {"fr_CH", 4108},  {"hr", 1050},
    {"sr", 3098},    {"bs", 5146},     {"bg", 1026},    {"ro", 1048},     {"pt", 2070},
    {"pt_BR", 1046}, {"sv", 1053},     {"sv_FI", 2077}, {"lt", 1063},     {"uk", 1058},
    {"fi", 1035},    {"sl", 1060},     {"nl", 1043},    {"da", 1030},     {"nb", 1044},
    {"lv", 1062},    {"et", 1061},     {"el", 1032},    {"tr", 1055},
};

std::optional<int> ParseLangId(const std::string& text) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 0);
    if (end == text.c_str() || *end != '\0' || value < 0 || value > 0xFFFF)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

bool ParseSystemVersion(const std::string& text, SystemVersion& version) {
    SystemVersion parsed;
    std::istringstream words(text);
    std::string word;
    if (!(words >> word))
        return false;
    std::string upper;
    for (char c : word)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "NT" || upper == "9X" || upper == "WIN32S") {
        parsed.platformId = upper == "NT"   ? kPlatformIdWinNt
                            : upper == "9X" ? kPlatformIdWin9x
                                            : kPlatformIdWin32s;
        if (!(words >> word))
            return false;
    }
    unsigned major = 0, minor = 0, build = 0;
    char tail = 0;
    int fields = std::sscanf(word.c_str(), "%u.%u.%u%c", &major, &minor, &build, &tail);
    if (fields < 2 || fields > 3 || major > 255 || minor > 255)
        return false;
    parsed.major = static_cast<int>(major);
    parsed.minor = static_cast<int>(minor);
    parsed.build = fields == 3 ? build : 0;
    std::string rest;
    std::getline(words, rest);
    // The service-pack text keeps its leading blank: callers read its second character.
    parsed.servicePack = rest;
    version = parsed;
    return true;
}

SystemVersion GetSystemVersion() {
    SystemVersion version;
    if (auto text = env::Get(env::kWindowsVersion)) {
        if (!ParseSystemVersion(*text, version)) {
            std::fprintf(stderr, "%s=\"%s\" is not \"[NT|9X|WIN32S] major.minor[.build] [text]\"\n",
                         env::kWindowsVersion, text->c_str());
            version = SystemVersion();
        }
    }
    return version;
}

int LangIdOfLocale(const std::string& locale) {
    std::string name = locale.substr(0, locale.find_first_of(".@"));
    std::string language = name.substr(0, name.find('_'));
    int languageOnly = 0;
    for (const LocaleLangId& entry : kLocales) {
        if (name == entry.locale)
            return entry.langId;
        if (language == entry.locale)
            languageOnly = entry.langId;
    }
    return languageOnly;
}

int GetUserDefaultLangID() {
    if (auto text = env::Get(env::kLanguageId)) {
        if (auto id = ParseLangId(*text))
            return *id;
        std::fprintf(stderr, "%s=\"%s\" is not a language id\n", env::kLanguageId, text->c_str());
    }
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (auto locale = env::Get(variable)) {
            if (int id = LangIdOfLocale(*locale))
                return id;
            break; // the first locale variable set is the one in force
        }
    }
    return 1033;
}

} // namespace win
