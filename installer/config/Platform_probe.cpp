// The platform probe: processor, system family and version, 64-bit test, user language.
#include "installer/config/Platform_probe.h"
#include "installer/config/General_module.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/DebugOutput.h"
#include "platform/win/Registry.h"
#include "platform/win/SystemInfo.h"

#include <array>
#include <initializer_list>

namespace {

const UnicodeString kProcessorKey = u"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
const UnicodeString kUnknownProcessor = u"Nieznany";

struct LanguageRow {
    int code;
    std::initializer_list<int> langIds;
};

// Windows language ids by the installer's language code "langN".
const std::array<LanguageRow, 20> kLanguageTable = {{
    {0, {1045}},
    {1,
     {1033, 2057, 3081, 4105, 5129, 6153, 7177, 8201, 9225, 10249, 11273, 12297, 13321, 16393,
      17417, 18441}},
    {2, {1029}},
    {3, {1031, 2055, 3079, 4103, 5127}},
    {4, {5146, 8218, 30746}},
    {5, {1049}},
    {6, {26, 1050, 4122}},
    {7, {1038}},
    {8, {1040}},
    {9, {1034,  2058,  3082,  4106,  5130,  6154,  7178,  8202,  9226,  10250, 11274,
         12298, 13322, 14346, 15370, 16394, 17418, 18442, 19466, 20490, 21514}},
    {10, {2074, 3098, 6170, 7194, 31770}},
    {11, {1036, 2060, 3084, 4108, 5132, 6156}},
    {12, {1026}},
    {13, {1048}},
    {14, {1051}},
    {15, {1046, 2070}},
    {16, {1053, 2077}},
    {17, {1063}},
    {18, {1058}},
    {19, {1035}},
}};

void Trace(const UnicodeString& text) {
    OutputDebugStringA(AnsiString(text).c_str());
}

} // namespace

int WindowsVersionCode(int platformId, int major, int minor, const UnicodeString& servicePack) {
    if (platformId == kPlatformWinNt) {
        if (major <= 4)
            return 4;
        static const struct {
            int major, minor, code;
        } kNtVersions[] = {{5, 0, 6},  {5, 1, 7},  {6, 0, 8},  {6, 1, 9},
                           {6, 2, 10}, {6, 3, 11}, {10, 0, 12}};
        for (const auto& v : kNtVersions)
            if (v.major == major && v.minor == minor)
                return v.code;
        return 0;
    }
    if (platformId == kPlatformWin9x && major == 4) {
        if (minor == 0)
            return 1;
        if (minor == 10)
            return servicePack.Length() >= 2 && servicePack[2] == u'A' ? 3 : 2;
        if (minor == 90)
            return 5;
    }
    return 0;
}

UnicodeString LanguageCodeOfLangId(int langId) {
    for (const LanguageRow& row : kLanguageTable)
        for (int id : row.langIds)
            if (id == langId)
                return u"lang" + IntToStr(row.code);
    return UnicodeString();
}

bool IsSupportedLanguageCode(const UnicodeString& code) {
    for (const char16_t* supported :
         {u"lang0", u"lang1", u"lang2", u"lang3", u"lang5", u"lang7", u"lang9", u"lang14"})
        if (code == supported)
            return true;
    return false;
}

bool TGeneralMod::ReadProcessorInfo() {
    processorMhz = 0;
    processorName = kUnknownProcessor;
    try {
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        // Without the rights full access needs the key stays shut and the defaults stand.
        reg.OpenKey(kProcessorKey, false);
        if (reg.ValueExists(u"ProcessorNameString"))
            processorName = reg.ReadString(u"ProcessorNameString");
        const UnicodeString trimmed = Trim(processorName);
        if ((trimmed.IsEmpty() || trimmed == kUnknownProcessor) && reg.ValueExists(u"Identifier"))
            processorName = reg.ReadString(u"Identifier");
        if (reg.ValueExists(u"~MHz"))
            processorMhz = reg.ReadInteger(u"~MHz");
        reg.CloseKey();

        reg.RootKey = HKEY_CURRENT_USER;
        reg.OpenKey(u"Control Panel\\Desktop", false);
        reg.WriteString(u"ScreenSaveActive", u"0");
        reg.CloseKey();
    } catch (const Exception&) {
        return false;
    }
    return true;
}

bool TGeneralMod::DetectSystem() {
    const win::SystemVersion version = win::GetSystemVersion();
    platformText = UnicodeString();
    windowsVersionCode = 0;
    if (version.platformId == kPlatformWinNt)
        platformText = u"WINNT";
    else if (version.platformId == kPlatformWin9x)
        platformText = u"WIN9X";
    if (!platformText.IsEmpty())
        windowsVersionCode = WindowsVersionCode(version.platformId, version.major, version.minor,
                                                UnicodeString(version.servicePack));
    // The probe cannot tell administrator rights on the NT family and says so in the log.
    isAdmin = platformText != u"WINNT";

    is64Bit = false;
    try {
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        const bool wow64Node = reg.KeyExists(u"\\SOFTWARE\\Wow6432Node");
        bool x86Processor = false;
        if (reg.OpenKeyReadOnly(u"\\" + kProcessorKey) && reg.ValueExists(u"Identifier"))
            x86Processor = reg.ReadString(u"Identifier").SubString(1, 3) == u"x86";
        reg.CloseKey();
        is64Bit = wow64Node && !x86Processor;
    } catch (const Exception&) {
        is64Bit = false;
    }

    windowsLanguageCode = UnicodeString();
    const int langId = win::GetUserDefaultLangID();
    Trace(u"id");
    Trace(IntToStr(langId));
    Trace(u"idPrim");
    Trace(IntToStr(langId & 1023));
    Trace(u"idSub");
    Trace(IntToStr(langId >> 10));
    windowsLanguageCode = LanguageCodeOfLangId(langId);
    Trace(u"winLangCode");
    Trace(windowsLanguageCode);
    if (!IsSupportedLanguageCode(windowsLanguageCode))
        windowsLanguageCode = u"lang1";
    return !platformText.IsEmpty();
}
