// The command line: program mode and the target a calling updater preselects.
#include "installer/config/General_module.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/DebugOutput.h"

namespace {

bool StartsWith(const UnicodeString& text, const char16_t* prefix) {
    return text.str().starts_with(prefix);
}

} // namespace

bool TGeneralMod::ParseCommandLine() {
    programMode = pmDatabaseInstaller;
    updateFolder = UnicodeString();
    updateProduct = plNone;

    const int count = ParamCount();
    for (int i = 1; i <= count; ++i) {
        const UnicodeString argument = Trim(ParamStr(i));
        OutputDebugStringA(AnsiString(argument).c_str());
        const UnicodeString low = LowerCase(argument);
        startupLog->Add(u"Parameter " + IntToStr(i) + u": " + argument);

        // A switch matches as a prefix, so "/updatenow" counts as "/update".
        if (StartsWith(low, u"/update") || StartsWith(low, u"/silent")) {
            if (programMode == pmDatabaseInstaller)
                programMode = pmDatabaseUpdate;
        } else if (StartsWith(low, u"/path:")) {
            const UnicodeString folder = Trim(argument.SubString(7, argument.Length()));
            if (!folder.IsEmpty())
                updateFolder = IncludeTrailingPathDelimiter(folder);
        } else if (StartsWith(low, u"/product:")) {
            const EProductLine line =
                ProductLineFromAbbreviation(Trim(argument.SubString(10, argument.Length())));
            if (line != plNone)
                updateProduct = line;
        }
    }
    return true;
}
