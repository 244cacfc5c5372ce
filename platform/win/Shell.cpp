#include "platform/win/Shell.h"

#include "platform/win/Environment.h"
#include "platform/win/WindowsPath.h"

#include <cerrno>
#include <cstring>
#include <mutex>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace win {
namespace {

bool Spawn(const std::string& program, const std::vector<std::string>& arguments, pid_t& pid,
           std::string& error) {
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& a : argv)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    int status = ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, pointers.data(), environ);
    if (status != 0) {
        error = "cannot start " + program + ": " + std::strerror(status);
        return false;
    }
    return true;
}

// Openers run on after we return; those that ended are reaped at the next call, so the
// process collects no zombies and starts no thread to watch them.
void ReapFinishedOpeners(std::vector<pid_t>& running) {
    std::erase_if(running, [](pid_t pid) {
        int status = 0;
        return ::waitpid(pid, &status, WNOHANG) != 0;
    });
}

} // namespace

bool OpenDocument(const std::string& address, std::string& error) {
    static std::mutex mutex;
    static std::vector<pid_t> running;
    std::lock_guard lock(mutex);
    ReapFinishedOpeners(running);
    if (address.empty()) {
        error = "no address to open";
        return false;
    }
    std::string program = env::Get(env::kOpenCommand).value_or("xdg-open");
    // A leading '-' would be taken for an option by the opener.
    std::string argument = address.front() == '-' ? "./" + address : address;
    pid_t pid = 0;
    if (!Spawn(program, {argument}, pid, error))
        return false;
    running.push_back(pid);
    return true;
}

bool PrintFile(const std::string& path, std::string& error) {
    std::string resolved = ResolvePath(path);
    struct stat st {};
    if (resolved.empty() || ::stat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "no file " + path + " to print";
        return false;
    }
    std::string program = env::Get(env::kPrintCommand).value_or("lp");
    pid_t pid = 0;
    if (!Spawn(program, {"--", resolved}, pid, error))
        return false;
    int status = 0;
    pid_t reaped;
    do {
        reaped = ::waitpid(pid, &status, 0);
    } while (reaped < 0 && errno == EINTR);
    if (reaped != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = program + " could not print " + path;
        return false;
    }
    return true;
}

} // namespace win
