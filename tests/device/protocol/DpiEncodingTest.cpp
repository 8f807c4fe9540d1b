// The sensor table and the per-sensor DPI encoding: every sensor's range, both edges of every
// encoding segment going there and back, clamping, and the report-rate codes.

#include <gtest/gtest.h>

#include <string>

#include "device/protocol/DpiEncoding.h"
#include "device/protocol/ReportRate.h"
#include "device/protocol/SensorInfo.h"
#include "text/Utf.h"

namespace {

TEST(SensorFor, EverySensorHasItsRangeTextsAndSliderPositions) {
    const SensorInfo expected[] = {
        {4, 100, 8000, u"8000", u"100", 80},     {5, 50, 12000, u"12000", u"50", 184},
        {16, 100, 4800, u"4800", u"100", 48},    {17, 50, 24000, u"24000", u"50", 232},
        {18, 100, 4800, u"4800", u"100", 48},    {25, 100, 30000, u"30000", u"100", 174},
        {37, 200, 10000, u"10000", u"200", 59},  {38, 200, 10000, u"10000", u"200", 59},
        {53, 100, 16000, u"16000", u"100", 160}, {0, 50, 26000, u"26000", u"50", 520},
        {99, 50, 26000, u"26000", u"50", 520},   {255, 50, 26000, u"26000", u"50", 520},
        {-1, 50, 26000, u"26000", u"50", 520},
    };
    for (const SensorInfo& sensor : expected) {
        EXPECT_EQ(SensorFor(sensor.sensorId), sensor) << "sensor " << sensor.sensorId;
    }
}

// Each row: a DPI on the sensor's grid and the value the mouse takes for it.
struct DpiCase {
    int sensor;
    int dpi;
    int encoded;
};

TEST(DpiEncoding, GridValuesEncodeAndDecodeBothWays) {
    const DpiCase cases[] = {
        // sensor 5: steps of 50 up to 6400, then steps of 100
        {5, 50, 1},
        {5, 6400, 128},
        {5, 6500, 129},
        {5, 12000, 184},
        // sensor 17: steps of 50, 100, 1000
        {17, 50, 1},
        {17, 10000, 200},
        {17, 10100, 201},
        {17, 11000, 210},
        {17, 12000, 220},
        {17, 13000, 221},
        {17, 24000, 232},
        // sensor 25: steps of 100 up to 16000, then 1000
        {25, 100, 1},
        {25, 16000, 160},
        {25, 17000, 161},
        {25, 30000, 174},
        // plain hundreds
        {4, 100, 1},
        {4, 8000, 80},
        {16, 4800, 48},
        {18, 100, 1},
        {53, 16000, 160},
        // sensors 37 and 38: hundreds less one up to 5000, then steps of 500
        {37, 200, 1},
        {37, 5000, 49},
        {37, 5500, 50},
        {38, 10000, 59},
        // any other sensor: fiftieths less one
        {0, 50, 0},
        {0, 800, 15},
        {0, 26000, 519},
        {99, 1600, 31},
    };
    for (const DpiCase& c : cases) {
        EXPECT_EQ(EncodeDpi(c.sensor, c.dpi), c.encoded) << c.sensor << " " << c.dpi;
        EXPECT_EQ(DecodeDpi(c.sensor, c.encoded), c.dpi) << c.sensor << " " << c.encoded;
    }
}

TEST(DpiEncoding, EveryValueOfEverySensorRangeRoundTrips) {
    // Decoding an encoded value and encoding it again gives the same value, and the decoded DPI
    // never leaves the sensor's range nor rises above the DPI asked for.
    for (int sensorId : {4, 5, 16, 17, 18, 25, 37, 38, 53, 0}) {
        const SensorInfo sensor = SensorFor(sensorId);
        for (int dpi = sensor.lowest; dpi <= sensor.highest; dpi += 50) {
            const int encoded = EncodeDpi(sensorId, dpi);
            const int back = DecodeDpi(sensorId, encoded);
            ASSERT_GE(encoded, 0);
            ASSERT_LE(encoded, 0xFFFF);
            ASSERT_LE(back, dpi) << sensorId << " " << dpi;
            ASSERT_GE(back, sensor.lowest) << sensorId << " " << dpi;
            ASSERT_EQ(EncodeDpi(sensorId, back), encoded) << sensorId << " " << dpi;
        }
    }
}

TEST(DpiEncoding, ValuesOutsideTheRangeAreHeldToIt) {
    EXPECT_EQ(ClampDpi(0, 30), 50);
    EXPECT_EQ(EncodeDpi(0, 30), EncodeDpi(0, 50));
    EXPECT_EQ(EncodeDpi(0, 0), 0);
    EXPECT_EQ(EncodeDpi(0, -800), 0);
    EXPECT_EQ(EncodeDpi(5, 20000), 184);
    EXPECT_EQ(EncodeDpi(17, 100000), 232);
    EXPECT_EQ(EncodeDpi(37, 100), 1);  // raised to 200
    EXPECT_EQ(ClampDpi(37, 100), 200);
    EXPECT_EQ(ClampDpi(25, 31000), 30000);
}

TEST(DpiEncoding, Sensor17BetweenTwelveAndThirteenThousandGoesDownTo12000) {
    // Steps of 100 end at 12000; a value there must not land among the 1000-steps above 13000.
    for (int dpi : {12050, 12500, 12999}) {
        EXPECT_EQ(EncodeDpi(17, dpi), 220) << dpi;
        EXPECT_EQ(DecodeDpi(17, EncodeDpi(17, dpi)), 12000) << dpi;
    }
}

TEST(DpiEncoding, OffGridValuesGoDownToTheGrid) {
    EXPECT_EQ(DecodeDpi(5, EncodeDpi(5, 6450)), 6400);
    EXPECT_EQ(DecodeDpi(17, EncodeDpi(17, 13999)), 13000);
    EXPECT_EQ(DecodeDpi(25, EncodeDpi(25, 16999)), 16000);
    EXPECT_EQ(DecodeDpi(37, EncodeDpi(37, 5499)), 5000);
    EXPECT_EQ(DecodeDpi(0, EncodeDpi(0, 849)), 800);
}

TEST(DpiEncoding, DecodingKeepsToSixteenBits) {
    EXPECT_EQ(DecodeDpi(17, 0), 0);
    EXPECT_EQ(DecodeDpi(17, 0xFFFF), 1000 * 0xFFFF - 208000);
    EXPECT_EQ(DecodeDpi(17, 0x7FFFFFFF), DecodeDpi(17, 0xFFFF));
    EXPECT_EQ(DecodeDpi(0, -5), 50);
}

TEST(ReportRates, CodesRatesAndCapability) {
    const ReportRate expected[] = {{8, 125},     {4, 250},     {2, 500},    {1, 1000},
                                   {0x10, 2000}, {0x20, 4000}, {0x40, 8000}};
    ASSERT_EQ(ReportRates().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(ReportRates()[i].code, expected[i].code);
        EXPECT_EQ(ReportRateHertz(expected[i].code), expected[i].hertz);
        EXPECT_EQ(ReportRateCode(expected[i].hertz), expected[i].code);
    }
    EXPECT_EQ(ReportRateHertz(3), 0);
    EXPECT_EQ(ReportRateCode(300), 0);

    EXPECT_EQ(ReportRateCapability(0x10), 5);
    EXPECT_EQ(ReportRateCapability(0x20), 6);
    EXPECT_EQ(ReportRateCapability(0x40), 7);
    for (int other : {0, 1, 8, 0x30, 0x80, 0xFF}) {
        EXPECT_EQ(ReportRateCapability(other), 4) << other;
    }
}

}  // namespace
