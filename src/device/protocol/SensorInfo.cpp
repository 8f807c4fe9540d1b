#include "device/protocol/SensorInfo.h"

#include <array>

namespace {

// One row per known sensor; 37 and 38 are the same part under two ids.
constexpr std::array kSensors{
    SensorInfo{4, 100, 8000, u"8000", u"100", 80},
    SensorInfo{5, 50, 12000, u"12000", u"50", 184},
    SensorInfo{16, 100, 4800, u"4800", u"100", 48},
    SensorInfo{17, 50, 24000, u"24000", u"50", 232},
    SensorInfo{18, 100, 4800, u"4800", u"100", 48},
    SensorInfo{25, 100, 30000, u"30000", u"100", 174},
    SensorInfo{37, 200, 10000, u"10000", u"200", 59},
    SensorInfo{38, 200, 10000, u"10000", u"200", 59},
    SensorInfo{53, 100, 16000, u"16000", u"100", 160},
};

constexpr SensorInfo kOtherSensor{0, kDefaultDpiLowest, kDefaultDpiHighest, u"26000", u"50", 520};

}  // namespace

SensorInfo SensorFor(int sensorId) {
    for (const SensorInfo& sensor : kSensors) {
        if (sensor.sensorId == sensorId) {
            return sensor;
        }
    }
    SensorInfo other = kOtherSensor;
    other.sensorId = sensorId;
    return other;
}
