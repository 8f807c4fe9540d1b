#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/ProgramRunner.h"
#include "support/TempDir.h"

// Runs the kestrel program with its settings, data and runtime folders in a temporary folder of
// the test, so that tests running at the same time never meet each other's instance.
class KestrelRunnerTest : public testing::Test {
protected:
    KestrelRunnerTest() : runner(KESTREL_PATH, dir.Path()) {
        ::mkdir((dir.Path() / "run").c_str(), 0700);
        runner.Set("XDG_CONFIG_HOME", (dir.Path() / "config").string());
        runner.Set("XDG_RUNTIME_DIR", (dir.Path() / "run").string());
        runner.Set("KESTREL_DATA_DIR", (dir.Path() / "data").string());
        runner.Unset("KESTREL_TRACE");
    }

    // Writes a script file and returns its path.
    std::string Script(const std::string& name, const std::string& text) {
        const std::filesystem::path file = dir.Path() / (name + ".txt");
        std::ofstream(file) << text;
        return file.string();
    }

    // Runs `text` as a script on the headless backend with `options`.
    ProgramResult RunScript(const std::string& text, std::vector<std::string> options) {
        options.insert(options.begin(), "--headless");
        options.push_back("--script");
        options.push_back(Script("script", text));
        return runner.Run(options);
    }

    // The first line of standard output that starts with `start`; empty when none does.
    static std::string LineStarting(const ProgramResult& result, const std::string& start) {
        for (const std::string& line : result.OutLines()) {
            if (line.starts_with(start)) {
                return line;
            }
        }
        return {};
    }
    // The three bytes of key code `key` in the `keys=` word of a `show mouse` line.
    static std::string KeyEntry(const std::string& mouseLine, int key) {
        const std::size_t at = mouseLine.find(" keys=");
        if (at == std::string::npos) {
            return {};
        }
        return mouseLine.substr(at + 6 + static_cast<std::size_t>(key) * 6, 6);
    }
    // Opens the first model of the device list (the virtual K1 of --sim=1001:0).
    static constexpr char kOpenK1[] = "idle\nselect 57 0\nidle\n";

    // The written requests ("W ..." lines of --trace) whose command byte is `command` (two
    // hexadecimal digits).
    static int Writes(const ProgramResult& result, const std::string& command) {
        int count = 0;
        for (const std::string& line : result.ErrLines()) {
            count += line.starts_with("W ") && line.substr(8, 2) == command ? 1 : 0;
        }
        return count;
    }

    TempDir dir;
    ProgramRunner runner;
};
