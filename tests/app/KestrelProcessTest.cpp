// The kestrel program as its users meet it: real processes on the headless backend, talking to each
// other through the single-instance socket, driven by scripts.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/KestrelRunner.h"

namespace {

class KestrelProcessTest : public KestrelRunnerTest {
protected:
    // Waits until the running instance listens (its socket exists).
    bool WaitForInstance() {
        const std::filesystem::path socket = dir.Path() / "run" / "Kestrel.sock";
        for (int i = 0; i < 2000 && !std::filesystem::exists(socket); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::filesystem::exists(socket);
    }

    // The settings key of the application, written as the program keeps it.
    void WriteSettings(const std::string& lines) {
        std::filesystem::create_directories(dir.Path() / "config" / "Kestrel");
        std::ofstream(dir.Path() / "config" / "Kestrel" / "registry.ini") << "[SOFTWARE\\Kestrel]\n"
                                                                          << lines;
    }
};

TEST_F(KestrelProcessTest, VersionIsPrintedWithoutStarting) {
    const ProgramResult result = runner.Run({"--version"});
    EXPECT_EQ(result.status, 0);
    ASSERT_EQ(result.OutLines().size(), 1u) << result.out;
    EXPECT_TRUE(result.OutLines()[0].starts_with("kestrel ")) << result.out;
    EXPECT_NE(result.OutLines()[0].find_first_of("0123456789"), std::string::npos);
}

TEST_F(KestrelProcessTest, SecondStartShowsTheFirstAndEndsWithZero) {
    auto first = runner.Start({"--headless", "--sim=none", "-hide", "--script",
                               Script("first",
                                      "show window\nshow tray\nwait-visible 60000\n"
                                      "show window\n")},
                              "first");
    ASSERT_TRUE(WaitForInstance());
    const ProgramResult second = runner.Run({"--headless", "--sim=none"});
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out, "");
    const ProgramResult result = first.Wait();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.OutLines(), (std::vector<std::string>{"window hidden", "tray shown",
                                                           "request show", "window visible"}));
}

TEST_F(KestrelProcessTest, QuitAndReloadTextsReachTheRunningInstance) {
    EXPECT_EQ(runner.Run({"--quit"}).status, 3);  // none runs
    EXPECT_EQ(runner.Run({"--reload-texts"}).status, 3);

    auto first = runner.Start(
        {"--headless", "--sim=none", "--script", Script("first", "serve 60000\nshow window\n")},
        "first");
    ASSERT_TRUE(WaitForInstance());
    EXPECT_EQ(runner.Run({"--reload-texts"}).status, 0);
    EXPECT_EQ(runner.Run({"--quit"}).status, 0);
    const ProgramResult result = first.Wait();
    // Quitting ends the program at once: the script's last line never runs.
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.OutLines(),
              (std::vector<std::string>{"request reload-texts", "request quit"}));
}

TEST_F(KestrelProcessTest, StartsHiddenWithHideOrWhenStartedWithTheSessionAsAsked) {
    struct Case {
        std::vector<std::string> args;
        std::string settings;
        std::string window;
    };
    const Case cases[] = {
        {{"-hide"}, "", "window hidden"},
        {{"x-hidex"}, "", "window hidden"},
        {{"-HIDE"}, "", "window visible"},
        {{}, "", "window visible"},
        {{"-autorun"}, "autorun_minimize=1\n", "window hidden"},
        {{"-autorun"}, "autorun_minimize=0\n", "window visible"},
        {{}, "autorun_minimize=1\n", "window visible"},
    };
    const std::string script = Script("show", "show window\n");
    for (const Case& c : cases) {
        WriteSettings(c.settings);
        std::vector<std::string> args{"--headless", "--sim=none", "--script", script};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProgramResult result = runner.Run(args);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.OutLines(), std::vector<std::string>{c.window})
            << (c.args.empty() ? "" : c.args[0]) << " " << c.settings;
    }
}

TEST_F(KestrelProcessTest, LockAndSocketLeftByAKilledInstanceDoNotBlockTheNextStart) {
    auto first = runner.Start(
        {"--headless", "--sim=none", "--script", Script("first", "serve 60000\n")}, "first");
    ASSERT_TRUE(WaitForInstance());
    first.Kill(SIGKILL);
    first.Wait();
    ASSERT_TRUE(std::filesystem::exists(dir.Path() / "run" / "Kestrel.lock"));
    ASSERT_TRUE(std::filesystem::exists(dir.Path() / "run" / "Kestrel.sock"));

    const ProgramResult next =
        runner.Run({"--headless", "--sim=none", "--script", Script("next", "show window\n")});
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_EQ(next.OutLines(), std::vector<std::string>{"window visible"});
}

}  // namespace
