#include "platform/win/Processes.h"

#include "platform/win/WindowsPath.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace win {
namespace {

std::string BaseName(const std::string& path) {
    size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FirstArgument(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
    std::string first;
    std::getline(in, first, '\0');
    return first;
}

// True when the process has ended (gone, or a zombie waiting to be reaped).
bool HasEnded(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat))
        return true;
    size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 >= stat.size())
        return true;
    char state = stat[close + 2];
    return state == 'Z' || state == 'X';
}

void ReapIfChild(int pid) {
    int status = 0;
    ::waitpid(pid, &status, WNOHANG);
}

// Waits for the end of `pid` without reaping it.
WaitResult WaitForEnd(int pid, int timeoutMs) {
    int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (fd >= 0) {
        struct pollfd p {
            fd, POLLIN, 0
        };
        int ready;
        do {
            ready = ::poll(&p, 1, timeoutMs < 0 ? -1 : timeoutMs);
        } while (ready < 0 && errno == EINTR);
        ::close(fd);
        if (ready < 0)
            return WaitResult::Failed;
        return ready == 0 ? WaitResult::TimedOut : WaitResult::Exited;
    }
    if (errno == ESRCH)
        return WaitResult::Exited;
    // Kernels without process descriptors: look every 10 ms.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!HasEnded(pid)) {
        if (timeoutMs >= 0 && std::chrono::steady_clock::now() >= deadline)
            return WaitResult::TimedOut;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WaitResult::Exited;
}

} // namespace

std::vector<ProcessEntry> ListProcesses() {
    std::vector<ProcessEntry> processes;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr)
        return processes;
    while (struct dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        long pid = std::strtol(entry->d_name, &end, 10);
        if (*end != '\0' || pid <= 0)
            continue;
        char target[4096];
        std::string link = "/proc/" + std::string(entry->d_name) + "/exe";
        ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
        if (length <= 0)
            continue; // not ours to inspect, or a kernel thread
        std::string executable(target, static_cast<size_t>(length));
        const std::string deleted = " (deleted)";
        if (executable.size() > deleted.size() &&
            executable.compare(executable.size() - deleted.size(), deleted.size(), deleted) == 0)
            executable.resize(executable.size() - deleted.size());
        processes.push_back({static_cast<int>(pid), BaseName(executable),
                             BaseName(FirstArgument(static_cast<int>(pid)))});
    }
    ::closedir(proc);
    std::sort(processes.begin(), processes.end(),
              [](const ProcessEntry& a, const ProcessEntry& b) { return a.pid < b.pid; });
    return processes;
}

bool RequestClose(int pid) {
    return pid > 0 && ::kill(pid, SIGTERM) == 0;
}

bool TerminateProcess(int pid) {
    return pid > 0 && ::kill(pid, SIGKILL) == 0;
}

WaitResult WaitForExit(int pid, int timeoutMs) {
    if (pid <= 0)
        return WaitResult::Failed;
    WaitResult result = WaitForEnd(pid, timeoutMs);
    if (result == WaitResult::Exited)
        ReapIfChild(pid);
    return result;
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false, quoted = false;
    for (size_t i = 0; i < commandLine.size(); ++i) {
        char c = commandLine[i];
        if (c == '\\') {
            size_t count = 0;
            while (i < commandLine.size() && commandLine[i] == '\\') {
                ++count;
                ++i;
            }
            if (i < commandLine.size() && commandLine[i] == '"') {
                current.append(count / 2, '\\');
                if (count % 2 == 1)
                    current += '"';
                else
                    quoted = !quoted;
            } else {
                current.append(count, '\\');
                --i;
            }
            inArgument = true;
        } else if (c == '"') {
            // Inside quotes, a doubled quote stands for one quote.
            if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
                current += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument)
                arguments.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(current);
    return arguments;
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !ended_)
        ReapIfChild(pid_);
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                         std::string& error) {
    std::string path = ResolvePath(program);
    std::vector<std::string> argv = {path};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& a : argv)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    pid_t pid = 0;
    int status = ::posix_spawn(&pid, path.c_str(), nullptr, nullptr, pointers.data(), environ);
    if (status != 0) {
        error = "cannot start " + program + ": " + std::strerror(status);
        return false;
    }
    pid_ = pid;
    ended_ = false;
    exitCode_ = -1;
    return true;
}

WaitResult ChildProcess::Wait(int timeoutMs) {
    if (pid_ <= 0)
        return WaitResult::Failed;
    if (ended_)
        return WaitResult::Exited;
    WaitResult result = WaitForEnd(pid_, timeoutMs);
    if (result != WaitResult::Exited)
        return result;
    int status = 0;
    pid_t reaped;
    do {
        reaped = ::waitpid(pid_, &status, 0);
    } while (reaped < 0 && errno == EINTR);
    if (reaped != pid_)
        return WaitResult::Failed;
    ended_ = true;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return WaitResult::Exited;
}

} // namespace win
