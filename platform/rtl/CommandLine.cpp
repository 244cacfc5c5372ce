#include "platform/rtl/CommandLine.h"

#include "platform/rtl/Paths.h"

#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <unistd.h>

namespace {

std::vector<UnicodeString> ReadOwnCommandLine() {
    std::vector<UnicodeString> arguments;
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\0', start);
        if (end == std::string::npos)
            end = bytes.size();
        arguments.emplace_back(
            UnicodeString::FromUtf8(std::string_view(bytes).substr(start, end - start)));
        start = end + 1;
    }
    std::string exe(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", exe.data(), exe.size());
    if (length > 0) {
        exe.resize(static_cast<size_t>(length));
        if (arguments.empty())
            arguments.emplace_back();
        arguments[0] = UnicodeString::FromUtf8(exe);
    }
    if (arguments.empty())
        arguments.emplace_back();
    return arguments;
}

struct CommandLineState {
    std::mutex mutex;
    bool loaded = false;
    std::vector<UnicodeString> arguments;
};

CommandLineState& State() {
    static CommandLineState state;
    return state;
}

std::vector<UnicodeString> Arguments() {
    CommandLineState& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.loaded) {
        state.arguments = ReadOwnCommandLine();
        state.loaded = true;
    }
    return state.arguments;
}

} // namespace

int ParamCount() {
    return static_cast<int>(Arguments().size()) - 1;
}

UnicodeString ParamStr(int index) {
    std::vector<UnicodeString> arguments = Arguments();
    if (index < 0 || index >= static_cast<int>(arguments.size()))
        return UnicodeString();
    return arguments[static_cast<size_t>(index)];
}

UnicodeString ExecutableFileName() {
    return ParamStr(0);
}

UnicodeString ExecutableFolder() {
    return ExtractFilePath(ExecutableFileName());
}

void SetCommandLine(const std::vector<UnicodeString>& arguments) {
    CommandLineState& state = State();
    std::lock_guard lock(state.mutex);
    state.arguments = arguments.empty() ? std::vector<UnicodeString>(1) : arguments;
    state.loaded = true;
}
