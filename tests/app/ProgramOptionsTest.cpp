#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ProgramOptions.h"

namespace {

bool Parse(std::vector<std::string> args, ProgramOptions& options, std::string& error) {
    std::vector<const char*> argv{"kestrel"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    return ParseProgramOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(ProgramOptionsTest, HideAndAutorunAreCaseSensitiveSubstringsAnywhere) {
    struct Case {
        std::vector<std::string> args;
        bool hide;
        bool autorun;
    };
    const Case cases[] = {
        {{"-hide"}, true, false},       {{"--sim", "x-hidex"}, true, false},
        {{"-HIDE"}, false, false},      {{"-Hide", "-autorun"}, false, true},
        {{"--headless"}, false, false}, {{"-autorun", "-hide"}, true, true},
    };
    for (const Case& c : cases) {
        ProgramOptions options;
        std::string error;
        ASSERT_TRUE(Parse(c.args, options, error)) << error;
        EXPECT_EQ(options.hide, c.hide) << c.args[0];
        EXPECT_EQ(options.autorun, c.autorun) << c.args[0];
    }
}

TEST(ProgramOptionsTest, ReadsTheOptionsAndRefusesUnknownOnes) {
    ProgramOptions options;
    std::string error;
    ASSERT_TRUE(
        Parse({"--headless", "--sim=1002:1:17", "--trace", "--data", "/d", "--script", "s.txt"},
              options, error));
    EXPECT_TRUE(options.headless);
    EXPECT_TRUE(options.sim);
    EXPECT_FALSE(options.simNone);
    EXPECT_EQ(options.simChoice.model, u"1002");
    EXPECT_EQ(options.simChoice.mode, 1);
    EXPECT_EQ(options.simChoice.sensorId, 17);
    EXPECT_TRUE(options.trace);
    EXPECT_EQ(options.dataFolder, "/d");
    EXPECT_EQ(options.script, "s.txt");

    ProgramOptions none;
    ASSERT_TRUE(Parse({"--sim=none", "--quit"}, none, error));
    EXPECT_TRUE(none.simNone);
    EXPECT_EQ(none.request, ProgramOptions::Request::kQuit);

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--frobnicate"}, {"--script"}, {"--sim=1002:7"}, {"--data"}}) {
        ProgramOptions ignored;
        error.clear();
        EXPECT_FALSE(Parse(bad, ignored, error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
