#include "installer/engine/Shellops_class.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/StringUtils.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiClock.h"
#include "platform/win/FileVersion.h"
#include "platform/win/Folders.h"
#include "platform/win/Processes.h"

namespace {

AnsiString WithoutTrailingDelimiter(const std::string& folder) {
    return AnsiString(ExcludeTrailingPathDelimiter(UnicodeString(folder)));
}

// The version resource keeps at most 254 characters of the text.
constexpr int kVersionTextLimit = 254;

} // namespace

void ShellOps::Init() {
    programFilesFolder = WithoutTrailingDelimiter(win::ProgramFilesFolder());
    windowsFolder = WithoutTrailingDelimiter(win::WindowsFolder());
    systemFolder = WithoutTrailingDelimiter(win::SystemFolder());
    commonFilesFolder = WithoutTrailingDelimiter(win::CommonFilesFolder());
    fontsFolder = WithoutTrailingDelimiter(win::FontsFolder());
    const std::string temp = win::TempFolder();
    tempFolder = temp.empty() ? UnicodeString() : IncludeTrailingPathDelimiter(UnicodeString(temp));
    system32BitFolder = systemFolder;
}

UnicodeString ShellOps::GetFileVersionString(const UnicodeString& path) const {
    if (!FileExists(path))
        return UnicodeString();
    const auto text = win::ReadFileVersionString(NativePath(path));
    if (!text)
        return UnicodeString();
    UnicodeString value(*text);
    if (value.Length() > kVersionTextLimit)
        value.SetLength(kVersionTextLimit);
    // The resource's text may end in zero units; the platform drops trailing controls too.
    const int zero = value.Pos(UnicodeString(u"\0", 1));
    if (zero > 0)
        value.SetLength(zero - 1);
    return Trim(value);
}

void ParseVersionParts(const UnicodeString& text, int* parts, int count) {
    for (int i = 0; i < count; ++i)
        parts[i] = -1;
    const UnicodeString trimmed = Trim(text);
    if (trimmed.IsEmpty())
        return;
    int part = 0;
    int start = 1;
    for (int i = 1; i <= trimmed.Length() + 1 && part < count; ++i) {
        if (i <= trimmed.Length() && trimmed[i] != u'.')
            continue;
        int value = 0;
        if (TryStrToInt(trimmed.SubString(start, i - start), value))
            parts[part] = value;
        ++part;
        start = i + 1;
    }
}

UnicodeString ShellOps::GetFileVersion2(const UnicodeString& path, int& major, int& minor) const {
    const UnicodeString text = GetFileVersionString(path);
    int parts[2];
    ParseVersionParts(text, parts, 2);
    major = parts[0];
    minor = parts[1];
    return text;
}

UnicodeString ShellOps::GetFileVersion4(const UnicodeString& path, int& major, int& minor,
                                        int& release, int& build) const {
    const UnicodeString text = GetFileVersionString(path);
    int parts[4];
    ParseVersionParts(text, parts, 4);
    major = parts[0];
    minor = parts[1];
    release = parts[2];
    build = parts[3];
    return text;
}

bool ShellOps::CheckProcess(const AnsiString& name, bool closeRequest) {
    const AnsiString wanted = UpperCase(Trim(name));
    bool result = false;
    for (const win::ProcessEntry& process : win::ListProcesses()) {
        const bool match = UpperCase(Trim(AnsiString(process.executableName))) == wanted ||
                           UpperCase(Trim(AnsiString(process.commandName))) == wanted;
        if (!match)
            continue;
        if (!closeRequest)
            return true;
        win::RequestClose(process.pid);
        if (win::WaitForExit(process.pid, 5000) == win::WaitResult::Exited)
            result = true;
        else
            result = win::TerminateProcess(process.pid);
    }
    return result;
}

int ShellOps::RunAndWait(const UnicodeString& program, const UnicodeString& parameters) {
    if (!FileExists(program))
        return -1;
    win::ChildProcess child;
    std::string error;
    if (!child.Start(NativePath(program), win::SplitCommandLine(parameters.ToUtf8()), error))
        return -3;
    for (;;) {
        switch (child.Wait(100)) {
        case win::WaitResult::Exited:
            return child.ExitCode();
        case win::WaitResult::Failed:
            return -3;
        case win::WaitResult::TimedOut:
            ProcessMessagesThrottled();
            break;
        }
    }
}

void ShellOps::ProcessMessagesThrottled() {
    if (static_cast<uint32_t>(GetTickCount() - lastPumpTick) <= 2000)
        return;
    lastPumpTick = GetTickCount();
    if (Application)
        Application->ProcessMessages();
}
