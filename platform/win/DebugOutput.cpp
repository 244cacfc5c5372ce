#include "platform/win/DebugOutput.h"

#include "platform/rtl/UnicodeString.h"
#include "platform/win/Environment.h"

#include <cstdio>
#include <string>

void OutputDebugStringA(const char* text) {
    if (text == nullptr || !win::env::IsOn(win::env::kTrace))
        return;
    // One write per line, so lines of several processes do not interleave mid-line.
    std::string line = std::string("[trace] ") + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void OutputDebugStringW(const char16_t* text) {
    if (text != nullptr)
        OutputDebugStringA(Utf16ToUtf8(text).c_str());
}
