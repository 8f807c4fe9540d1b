// The screen probe without an X server, and against a real one when Xvfb is installed.

#include "platform/ScreenProbe.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ScopedEnv.h"
#include "platform/XvfbServer.h"

namespace {

namespace fs = std::filesystem;

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
    XvfbServer server(program, "1366x768x24");
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
