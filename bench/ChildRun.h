// Running a benchmark's work in a child process: wall time and peak memory of the child, so that
// every round starts as fresh as the installer's own process does.
#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

struct ChildRun {
    double milliseconds = 0.0;
    long peakKilobytes = 0;
    bool ok = false;
};

// DBI_SOURCE_DIR, else the tree this file stands in.
inline std::filesystem::path SourceTree() {
    if (const char* dir = std::getenv("DBI_SOURCE_DIR")) {
        return dir;
    }
    return std::filesystem::path(__FILE__).parent_path().parent_path();
}

inline double Since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Waits for the child started at start; ok when it exited with 0.
inline ChildRun Wait(pid_t child, Clock::time_point start) {
    ChildRun run;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) == child) {
        run.milliseconds = Since(start);
        run.peakKilobytes = usage.ru_maxrss;
        run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return run;
}

inline ChildRun RunProgram(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return Wait(child, start);
}

} // namespace bench
