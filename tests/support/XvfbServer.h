// A private Xvfb display for unit tests that need an X server (the clipboard's pictures): started
// with -displayfd, so no display number is guessed, and ended with the object.
#pragma once

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

class XvfbServer {
public:
    explicit XvfbServer(const char* program = "/usr/bin/Xvfb") {
        int fds[2];
        if (::access(program, X_OK) != 0 || ::pipe(fds) != 0)
            return;
        // Everything the child needs is made before the fork: the test process has threads.
        const std::string fd = std::to_string(fds[1]);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execl(program, "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "64x64x24",
                    "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        if (pid_ > 0)
            name_ = ReadNumber(fds[0]);
        ::close(fds[0]);
        if (!name_.empty() && !WaitAccepting())
            name_.clear();
    }
    ~XvfbServer() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // ":N", or empty when the server could not be started.
    const std::string& Name() const { return name_; }

private:
    static std::string ReadNumber(int fd) {
        std::string number;
        char c = 0;
        pollfd p{fd, POLLIN, 0};
        while (::poll(&p, 1, 60000) > 0 && ::read(fd, &c, 1) == 1 && c != '\n')
            number += c;
        return number.empty() ? std::string() : ":" + number;
    }

    bool WaitAccepting() const {
        const std::string path = "/tmp/.X11-unix/X" + name_.substr(1);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            path.copy(address.sun_path, sizeof address.sun_path - 1);
            const bool ok =
                ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            ::close(s);
            if (ok)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    pid_t pid_ = -1;
    std::string name_;
};

} // namespace testsupport
