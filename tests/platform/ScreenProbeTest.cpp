// The screen probe without an X server, and against a real one when Xvfb is installed.

#include "platform/ScreenProbe.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "platform/ScopedEnv.h"
#include "platform/UniqueFd.h"

namespace {

namespace fs = std::filesystem;

// A program's path through PATH, or empty.
fs::path FindInPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const fs::path candidate = fs::path(folder) / name;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

// An Xvfb server of its own, on a display number it picks itself (-displayfd), so tests running
// side by side never share one. Killed and reaped at the end.
class Xvfb {
public:
    Xvfb(const fs::path& program, const char* screen) {
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
    ~Xvfb() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    // Empty when the server did not start.
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

TEST(ScreenProbe, NotKnownWithoutAnXServer) {
    ScopedEnv env;
    env.Unset("DISPLAY");
    platform::ScreenInfo info = platform::ProbePrimaryScreen();
    EXPECT_FALSE(info.known);
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(info.height, 0);
    EXPECT_EQ(info.dpi, 96);

    // A display number nobody serves.
    if (!fs::exists("/tmp/.X11-unix/X4093")) {
        env.Set("DISPLAY", ":4093");
        EXPECT_FALSE(platform::ProbePrimaryScreen().known);
    }
}

TEST(ScreenProbe, ReadsTheScreenOfARealXServer) {
    const fs::path program = FindInPath("Xvfb");
    if (program.empty()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    Xvfb server(program, "1366x768x24");
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    ScopedEnv env;
    env.Set("DISPLAY", server.Display());

    const platform::ScreenInfo info = platform::ProbePrimaryScreen();
    EXPECT_TRUE(info.known);
    EXPECT_EQ(info.width, 1366);
    EXPECT_EQ(info.height, 768);
    EXPECT_EQ(info.dpi, 96) << "a fresh server has no Xft.dpi";
}

}  // namespace
