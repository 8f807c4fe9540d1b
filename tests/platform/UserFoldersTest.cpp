// The executable's folder and the per-user folders of the XDG rules.

#include "platform/UserFolders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ScopedEnv.h"

namespace {

namespace fs = std::filesystem;

TEST(UserFolders, ExecutableFolderIsTheFolderOfTheRunningProgram) {
    // The tests are built into the same folder as the programs.
    EXPECT_EQ(platform::ExecutableFolder(), fs::canonical(KESTREL_RUNTIME_DIR));
    EXPECT_EQ(platform::ExecutableFile().parent_path(), platform::ExecutableFolder());
}

TEST(UserFolders, XdgVariablesWinOnlyWhenAbsolute) {
    struct Case {
        const char* what;
        const char* value;  // nullptr: unset
        const char* config;
        const char* data;
    };
    const Case cases[] = {
        {"set", "/custom", "/custom", "/custom"},
        {"unset", nullptr, "/home/user/.config", "/home/user/.local/share"},
        {"empty", "", "/home/user/.config", "/home/user/.local/share"},
        {"relative", "dot/config", "/home/user/.config", "/home/user/.local/share"},
    };
    ScopedEnv env;
    env.Set("HOME", "/home/user");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            if (c.value) {
                env.Set(name, c.value);
            } else {
                env.Unset(name);
            }
        }
        EXPECT_EQ(platform::ConfigHome(), fs::path(c.config));
        EXPECT_EQ(platform::DataHome(), fs::path(c.data));
    }
}

TEST(UserFolders, HomeFallsBackToThePasswordDatabase) {
    ScopedEnv env;
    env.Unset("XDG_DATA_HOME");
    env.Set("HOME", "not/absolute");
    const fs::path home = platform::HomeFolder();
    ASSERT_FALSE(home.empty());
    EXPECT_TRUE(home.is_absolute());
    EXPECT_EQ(platform::DataHome(), home / ".local/share");
}

}  // namespace
