// End-to-end scripts of the performance and lighting tabs: a user's changes as they reach the
// virtual mouse (the W lines) and what the mouse holds afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/KestrelRunner.h"

namespace {

class KestrelPagesScriptTest : public KestrelRunnerTest {
protected:
    // The `show mouse` line of the output.
    static std::string MouseLine(const ProgramResult& result) {
        return LineStarting(result, "mouse ");
    }
};

TEST_F(KestrelPagesScriptTest, DpiStagesCountValuesAndColoursReachTheMouse) {
    const ProgramResult result = RunScript(std::string(kOpenK1) +
                                               "select 48 2\n"
                                               "select 120 3\n"  // four stages
                                               "select 116 1\n"
                                               "type 116 3333\n"  // 3300 on sensor 17's grid
                                               "swatch 116 0\n"
                                               "click PaletteDlg:42\n"  // the green preset
                                               "click PaletteDlg:48\n"
                                               "idle\n"
                                               "show 116\n"
                                               "show mouse 1001:0\n",
                                           {"--sim=1001:0", "--trace"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Writes(result, "03"), 2);  // the count, the typed value
    EXPECT_EQ(Writes(result, "04"), 1);  // the colour
    const std::string mouse = MouseLine(result);
    EXPECT_NE(mouse.find(" stages=4 stage=1 "), std::string::npos) << mouse;
    EXPECT_NE(mouse.find(" dpi=400,3300,"), std::string::npos) << mouse;
    EXPECT_NE(mouse.find(" colours=00FF00,"), std::string::npos) << mouse;
    EXPECT_EQ(result.OutLines().front(), "116 visible enabled \"\" item=1");
}

TEST_F(KestrelPagesScriptTest, TypedDpiLandsOnEachSensorFamilysGrid) {
    struct Case {
        const char* sensor;
        const char* typed;
        const char* onMouse;
    };
    const Case cases[] = {
        {"4", "12345", "8000"},   {"17", "12345", "12000"}, {"17", "9975", "9950"},
        {"5", "6475", "6400"},    {"25", "30001", "30000"}, {"37", "150", "200"},
        {"53", "16050", "16000"}, {"99", "12345", "12300"},
    };
    for (const Case& c : cases) {
        const ProgramResult result =
            RunScript(std::string(kOpenK1) + "select 48 2\nselect 116 1\ntype 116 " + c.typed +
                          "\nidle\nshow mouse 1001:0\n",
                      {std::string("--sim=1001:0:") + c.sensor});
        ASSERT_EQ(result.status, 0) << c.sensor << ": " << result.err;
        const std::string mouse = MouseLine(result);
        EXPECT_NE(mouse.find(std::string(",") + c.onMouse + ","), std::string::npos)
            << c.sensor << ": " << mouse;
    }
}

TEST_F(KestrelPagesScriptTest, PerformanceSettingsReachTheMouse) {
    const ProgramResult result = RunScript(std::string(kOpenK1) +
                                               "select 48 2\n"
                                               "select 125 1\n"  // 250 Hz
                                               "click 130\n"     // 2.0 mm
                                               "click 134\n"     // the first sensor option
                                               "select 145 0\n"  // sleep after 1 minute
                                               "click 143\n"
                                               "type 139 7\n"
                                               "idle\n"
                                               "show mouse 1001:0\n",
                                           {"--sim=1001:0", "--trace"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Writes(result, "02"), 1);
    EXPECT_EQ(Writes(result, "06"), 2);
    EXPECT_EQ(Writes(result, "07"), 3);  // sleep, wake, debounce
    const std::string mouse = MouseLine(result);
    for (const char* expected : {" rate=4 ", " liftoff=2 ", " sleep=6 ", " debounce=7 "}) {
        EXPECT_NE(mouse.find(expected), std::string::npos) << expected << " in " << mouse;
    }
}

TEST_F(KestrelPagesScriptTest, LightingModeBrightnessSpeedAndColourReachTheMouse) {
    const ProgramResult result = RunScript(std::string(kOpenK1) +
                                               "select 48 4\n"
                                               "select 197 1\n"  // breathing
                                               "slide 204 2\n"
                                               "slide 207 3\n"
                                               "click 211\n"  // a preset colour
                                               "idle\n"
                                               "show 203\n"
                                               "show mouse 1001:0\n",
                                           {"--sim=1001:0", "--trace"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Writes(result, "05"), 4);
    EXPECT_EQ(result.OutLines().front(), "203 visible enabled \"Brightness: 50%\"");
    EXPECT_NE(MouseLine(result).find(" light=2,2,3"), std::string::npos) << MouseLine(result);
}

}  // namespace
