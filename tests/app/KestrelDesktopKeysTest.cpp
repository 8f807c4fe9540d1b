// A macro recording in the real program on an X server hears the keyboard while another
// program's window has the focus: Kestrel runs on Qt against an Xvfb of the test's own, and
// xdotool presses keys through XTEST into a window the test holds the focus with.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "app/KestrelRunner.h"
#include "platform/XvfbServer.h"

// Last: it includes Xlib, whose macros clash with names the headers above use.
#include "platform/XFocusWindow.h"

namespace {

class KestrelDesktopKeysTest : public KestrelRunnerTest {};

TEST_F(KestrelDesktopKeysTest, ARecordingHearsKeysTypedIntoAnotherWindow) {
    const std::filesystem::path xvfb = FindInPath("Xvfb");
    const std::filesystem::path xdotool = FindInPath("xdotool");
    if (xvfb.empty() || xdotool.empty()) {
        GTEST_SKIP() << "Xvfb or xdotool is not installed";
    }
    XvfbServer server(xvfb, "1400x900x24");
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    runner.Set("DISPLAY", server.Display());
    runner.Set("QT_QPA_PLATFORM", "xcb");
    runner.Unset("WAYLAND_DISPLAY");
    const std::string script = Script("record",
                                      "wait-visible 30000\n"
                                      "idle\n"
                                      "select 57 0\n"
                                      "idle\n"
                                      "select 48 3\n"
                                      "click 157\n"
                                      "click 174\n"  // no delays: the items are the keys alone
                                      "click 172\n"
                                      "show 172\n"  // the recording runs
                                      "serve 4000\n"
                                      "click 172\n"
                                      "show 166\n");
    ProgramRunner::Running kestrel =
        runner.Start({"--sim=1001:0", "--script", script}, "kestrel-record");
    ASSERT_TRUE(kestrel.Started());

    // Once the recording runs, another window takes the focus and the keys go there.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (kestrel.OutSoFar().find("172 ") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_NE(kestrel.OutSoFar().find("172 "), std::string::npos) << "the recording never ran";
    // Kestrel's window took the focus when it showed; the test's window holds it before any key.
    XFocusWindow focus(server.Display());
    ASSERT_TRUE(focus.TakeFocus());
    ProgramRunner keys(xdotool, dir.Path());
    keys.Set("DISPLAY", server.Display());
    const ProgramResult typed = keys.Run({"key", "--delay", "20", "a", "b"});
    ASSERT_EQ(typed.status, 0) << typed.err;

    const ProgramResult result = kestrel.Wait();
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("events=\"↓  A|↑  A|↓  B|↑  B\""), std::string::npos) << result.out;
}

}  // namespace
