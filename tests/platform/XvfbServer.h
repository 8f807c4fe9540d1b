#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "platform/UniqueFd.h"

// A program's path through PATH, or empty.
inline std::filesystem::path FindInPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

// An Xvfb server of its own, on a display number it picks itself (-displayfd), so tests running
// side by side never share one. Killed and reaped at the end, or earlier by Kill.
class XvfbServer {
public:
    XvfbServer(const std::filesystem::path& program, const char* screen) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            return;
        }
        platform::UniqueFd readEnd(fds[0]);
        platform::UniqueFd writeEnd(fds[1]);
        pid_ = ::fork();
        if (pid_ == 0) {
            // The child keeps only the pipe's write end across exec, and stays quiet.
            ::fcntl(writeEnd.Get(), F_SETFD, 0);
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 1);
            ::dup2(null, 2);
            const std::string fd = std::to_string(writeEnd.Get());
            ::execl(program.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen,
                    "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        writeEnd.Close();
        // Xvfb writes the display number once it accepts connections; EOF means it gave up.
        std::string number;
        char c = 0;
        pollfd ready = {readEnd.Get(), POLLIN, 0};
        while (::poll(&ready, 1, 60000) > 0 && ::read(readEnd.Get(), &c, 1) == 1 && c != '\n') {
            number += c;
        }
        if (c == '\n' && !number.empty()) {
            display_ = ":" + number;
        }
    }
    ~XvfbServer() { Kill(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Empty when the server did not start.
    const std::string& Display() const { return display_; }

    // Ends the server now and waits for it.
    void Kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    std::string display_;
};
