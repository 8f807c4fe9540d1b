// The DPI-awareness decision from the screen size and the monitor's DPI.

#include "app/DpiAwareness.h"

#include <gtest/gtest.h>

namespace {

TEST(DpiAwareness, MonitorScaleFromHorizontalDpi) {
    const std::pair<int, int> cases[] = {{0, 100},   {72, 100},  {96, 100},  {120, 125}, {144, 150},
                                         {168, 175}, {192, 200}, {110, 100}, {240, 100}, {-1, 100}};
    for (const auto& [dpi, scale] : cases) {
        EXPECT_EQ(MonitorScale(dpi), scale) << dpi;
    }
}

TEST(DpiAwareness, SmallScreensAndScaledFullHdAreAware) {
    struct Case {
        int width;
        int height;
        int dpi;
        bool aware;
    };
    const Case cases[] = {
        {1920, 1080, 96, false},  {1920, 1080, 120, false}, {1920, 1080, 144, true},
        {1920, 1080, 168, true},  {1920, 1080, 192, true},  {1920, 1080, 110, false},
        {1366, 768, 96, true},    {1366, 768, 120, true},   {1366, 768, 192, true},
        {2560, 1440, 96, false},  {2560, 1440, 144, false}, {2560, 1440, 192, false},
        {1399, 900, 96, true},    {1400, 800, 96, false},   {1600, 799, 96, true},
        {1920, 1200, 192, false}, {1080, 1920, 96, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShouldDeclareDpiAware(c.width, c.height, c.dpi), c.aware)
            << c.width << "x" << c.height << " at " << c.dpi << " dpi";
    }
}

}  // namespace
