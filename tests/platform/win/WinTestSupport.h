// The platform tests use the shared scratch folder and scoped environment variables.
#pragma once

#include "support/TestSupport.h"

#include <cstdio>
#include <string>

namespace wintest {

using testsupport::ReadFile;
using testsupport::ScopedEnv;
using testsupport::ScratchFolder;

// Runs a shell command and answers what it printed (empty when it could not be started).
inline std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buffer[4096];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, got);
    ::pclose(pipe);
    return out;
}

} // namespace wintest
