#include <gtest/gtest.h>

#include "ui/pages/DpiConversions.h"

namespace {

struct Case {
    int sensor;
    int input;
    int expected;
};

TEST(DpiConversionsTest, SliderPositionOfEachSensorFamily) {
    const Case cases[] = {
        {4, 1650, 16},    {16, 4800, 48},   {53, 16000, 160}, {5, 6400, 128},   {5, 6450, 128},
        {5, 6500, 129},   {17, 10000, 200}, {17, 11000, 210}, {17, 13000, 221}, {17, 24000, 232},
        {25, 16000, 160}, {25, 17000, 161}, {37, 5000, 49},   {38, 5500, 50},   {99, 26000, 520},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SliderPosition(c.sensor, c.input), c.expected) << c.sensor << " " << c.input;
    }
}

TEST(DpiConversionsTest, SliderDpiOfEachSensorFamilyWithinItsLimit) {
    const Case cases[] = {
        {4, 16, 1600},    {4, 90, 8000},    {18, 48, 4800},   {5, 128, 6400},
        {5, 129, 6500},   {17, 200, 10000}, {17, 210, 11000}, {17, 221, 13000},
        {17, 232, 24000}, {25, 16, 1700},   {25, 160, 17000}, {37, 48, 4900},
        {37, 50, 5500},   {53, 160, 16000}, {0, 520, 26000},  {0, 600, 26000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SliderDpi(c.sensor, c.input), c.expected) << c.sensor << " " << c.input;
    }
}

TEST(DpiConversionsTest, TypedValuesLandOnTheSensorsGrid) {
    const Case cases[] = {
        {4, 12345, 8000},
        {0, 12345, 12300},
        {0, 30, 50},
        {0, 0, 50},
        {0, -400, 50},
        {37, 150, 200},
        {38, 10100, 10000},
        {25, 30001, 30000},
        {16, 199, 100},
        // Coarser grids in the upper ranges: the value lands where the mouse can hold it.
        {5, 6475, 6400},
        {5, 6550, 6500},
        {17, 12345, 12000},
        {17, 10150, 10100},
        {17, 9975, 9950},
        {25, 16050, 16000},
        {25, 17500, 17000},
        {37, 5200, 5000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClampTypedDpi(c.sensor, c.input), c.expected) << c.sensor << " " << c.input;
    }
}

}  // namespace
