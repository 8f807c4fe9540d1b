// kestrelctl while kestrel runs: the command line goes to the running program, which carries it out
// on its own worker and store, answers with kestrelctl's output and statuses, and shows the change
// on its pages. Real processes on the headless backend with a virtual mouse.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/KestrelRunner.h"
#include "support/PrivateFolders.h"

namespace {

class KestrelHandOffTest : public KestrelRunnerTest {
protected:
    KestrelHandOffTest() : ctl(KESTRELCTL_PATH, dir.Path()) {
        UsePrivateFolders(ctl, dir.Path());
        ctl.Set("KESTREL_DATA_DIR", (dir.Path() / "data").string());
        ctl.Unset("KESTREL_TRACE");
    }

    // Waits until the running instance listens (its socket exists).
    bool WaitForInstance() {
        const std::filesystem::path socket = dir.Path() / "run" / "Kestrel.sock";
        for (int i = 0; i < 2000 && !std::filesystem::exists(socket); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::filesystem::exists(socket);
    }

    // A script that waits for `count` handed-over command lines, then shows `after`.
    static std::string WaitForHandOffs(int count, const std::string& after) {
        std::string script;
        for (int i = 0; i < count; ++i) {
            script += "wait-handoff 60000\n";
        }
        return script + after;
    }

    ProgramRunner ctl;
};

TEST_F(KestrelHandOffTest, SettingGoesThroughTheRunningWindowAndItsPageShowsIt) {
    // The performance page's report-rate list (125) lists the rates from the fastest down.
    auto kestrel = runner.Start(
        {"--headless", "--sim=1002:0", "--script",
         Script("window", "idle\nshow 125\n" + WaitForHandOffs(3, "idle\nshow 125\n"))},
        "kestrel");
    ASSERT_TRUE(WaitForInstance());
    // The page as it was, before anything is handed over.
    for (int i = 0; i < 2000 && kestrel.OutSoFar().empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    ProgramResult result = ctl.Run({"get", "report_rate"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "report_rate 1\n");
    result = ctl.Run({"set", "report_rate", "2", "+", "send", "11"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    // Read back from the mouse itself: the window's worker sent it.
    result = ctl.Run({"sync", "+", "get", "report_rate"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "report_rate 2\n");

    const ProgramResult window = kestrel.Wait();
    EXPECT_EQ(window.status, 0) << window.err;
    const std::vector<std::string> lines = window.OutLines();
    ASSERT_EQ(lines.size(), 5u) << window.out;
    EXPECT_NE(lines[0].find(" item=3"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "kestrelctl exit 0");
    EXPECT_EQ(lines[3], "kestrelctl exit 0");
    EXPECT_NE(lines[4].find(" item=2"), std::string::npos) << lines[4];
}

// The same command lines print the same and end the same whether kestrelctl works alone or
// through the running window.
TEST_F(KestrelHandOffTest, OutputAndStatusesAreThoseOfKestrelctlAlone) {
    const std::vector<std::vector<std::string>> lines = {
        {"list"},
        {"info"},
        {"profiles"},
        {"get", "dpi_group0_value"},
        {"import-profile", (dir.Path() / "missing.xml").string()},
        {"profile", "2", "+", "profiles"},
    };
    std::vector<ProgramResult> alone;
    for (const auto& line : lines) {
        std::vector<std::string> arguments = {"--sim=1002:0"};
        arguments.insert(arguments.end(), line.begin(), line.end());
        alone.push_back(ctl.Run(arguments));
    }
    // Back to the first profile, as the window will find it.
    ASSERT_EQ(ctl.Run({"--sim=1002:0", "profile", "1"}).status, 0);

    auto kestrel = runner.Start(
        {"--headless", "--sim=1002:0", "--script",
         Script("window", "idle\n" + WaitForHandOffs(static_cast<int>(lines.size()), ""))},
        "kestrel");
    ASSERT_TRUE(WaitForInstance());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ProgramResult handed = ctl.Run(lines[i]);
        EXPECT_EQ(handed.status, alone[i].status) << lines[i][0] << "\n" << handed.err;
        EXPECT_EQ(handed.out, alone[i].out) << lines[i][0];
        EXPECT_EQ(handed.err, alone[i].err) << lines[i][0];
    }
    EXPECT_EQ(kestrel.Wait().status, 0);
}

// --trace shows the traffic of the handed-over command line, as kestrelctl alone shows its own; the
// window's own trace goes on.
TEST_F(KestrelHandOffTest, TraceShowsTheTrafficOfTheHandedOverCommandLine) {
    auto lastWrite = [](const ProgramResult& result) {
        std::string last;
        for (const std::string& line : result.ErrLines()) {
            last = line.starts_with("W ") ? line : last;
        }
        return last;
    };
    const ProgramResult alone =
        ctl.Run({"--sim=1002:0", "--trace", "set", "report_rate", "2", "+", "send", "11"});
    ASSERT_EQ(alone.status, 0) << alone.err;
    ASSERT_FALSE(lastWrite(alone).empty()) << alone.err;

    auto kestrel = runner.Start({"--headless", "--sim=1002:0", "--trace", "--script",
                                 Script("window", WaitForHandOffs(1, ""))},
                                "kestrel");
    ASSERT_TRUE(WaitForInstance());
    const ProgramResult handed = ctl.Run({"--trace", "set", "report_rate", "2", "+", "send", "11"});
    EXPECT_EQ(handed.status, 0) << handed.err;
    EXPECT_EQ(lastWrite(handed), lastWrite(alone)) << handed.err;
    for (const std::string& line : handed.ErrLines()) {
        EXPECT_TRUE(line.starts_with("W ") || line.starts_with("R ")) << line;
    }
    const ProgramResult window = kestrel.Wait();
    EXPECT_EQ(window.status, 0);
    EXPECT_EQ(lastWrite(window), lastWrite(alone));
}

TEST_F(KestrelHandOffTest, OptionsThatNeedAnotherProcessAreRefused) {
    auto kestrel = runner.Start(
        {"--headless", "--sim=1002:0", "--script", Script("window", WaitForHandOffs(2, ""))},
        "kestrel");
    ASSERT_TRUE(WaitForInstance());
    ProgramResult result = ctl.Run({"--data", (dir.Path() / "other").string(), "list"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("--data works only while it does not run"), std::string::npos)
        << result.err;
    result = ctl.Run({"--sim", "--sim-fault=refuse", "list"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("--sim-fault works only while kestrel does not run"),
              std::string::npos)
        << result.err;
    // A usage error never reaches the window.
    EXPECT_EQ(ctl.Run({"set", "report_rate", "fast"}).status, 2);
    EXPECT_EQ(kestrel.Wait().status, 0);
}

}  // namespace
