// Running processes: listing them by executable name, asking them to close, waiting for them,
// ending them, and starting a program to wait for.
//
// A process is known by two names, since a Windows program run through a compatibility layer
// has the layer as its executable and its own path as its first argument: the base name of its
// executable and the base name of its first argument, split at '/' and '\'.
#pragma once

#include <string>
#include <vector>

namespace win {

struct ProcessEntry {
    int pid = 0;
    std::string executableName; // "viru.exe" for /opt/x/viru.exe
    std::string commandName;    // "VIRU.EXE" for an argument "C:\Programs\VIRU.EXE"
};

// The processes this user may inspect and end (others are left out, as a process that cannot
// be opened with those rights is skipped), in ascending process id order.
std::vector<ProcessEntry> ListProcesses();

// Asks a process to close (SIGTERM), as closing its windows does.
bool RequestClose(int pid);
// Ends a process at once (SIGKILL); the exit code cannot be chosen on this system.
bool TerminateProcess(int pid);

enum class WaitResult { Exited, TimedOut, Failed };
// Waits up to `timeoutMs` for the process to end (a child of this process is reaped).
WaitResult WaitForExit(int pid, int timeoutMs);

// The arguments of a Windows-style command line: blanks separate, double quotes group, and
// backslashes escape a quote as the platform's own parser does.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// A program started by this process, to be waited for.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess(); // a child still running is left running, and reaped if it already ended
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `program` (a path, not searched for) with these arguments; false with a reason.
    bool Start(const std::string& program, const std::vector<std::string>& arguments,
               std::string& error);
    int Pid() const { return pid_; }
    // Waits up to `timeoutMs`; after Exited, ExitCode tells how it ended.
    WaitResult Wait(int timeoutMs);
    // The exit status, or 128 + the signal number for a process ended by a signal.
    int ExitCode() const { return exitCode_; }

private:
    int pid_ = 0;
    bool ended_ = false;
    int exitCode_ = -1;
};

} // namespace win
