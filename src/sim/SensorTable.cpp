#include "sim/SensorTable.h"

#include <algorithm>

namespace sim {

namespace {

enum class Scale { Sensor5, Sensor17, Sensor25, Hundreds, Sensor37, Other };

Scale ScaleOf(int sensorId) {
    switch (sensorId) {
        case 5:
            return Scale::Sensor5;
        case 17:
            return Scale::Sensor17;
        case 25:
            return Scale::Sensor25;
        case 4:
        case 16:
        case 18:
        case 53:
            return Scale::Hundreds;
        case 37:
        case 38:
            return Scale::Sensor37;
        default:
            return Scale::Other;
    }
}

}  // namespace

SensorTable::Range SensorTable::RangeOf(int sensorId) {
    switch (sensorId) {
        case 4:
            return {100, 8000};
        case 5:
            return {50, 12000};
        case 16:
        case 18:
            return {100, 4800};
        case 17:
            return {50, 24000};
        case 25:
            return {100, 30000};
        case 37:
        case 38:
            return {200, 10000};
        case 53:
            return {100, 16000};
        default:
            return {50, 26000};
    }
}

bool SensorTable::InRange(int sensorId, int dpi) {
    const Range range = RangeOf(sensorId);
    return dpi >= range.lowest && dpi <= range.highest;
}

int SensorTable::Decode(int sensorId, int v) {
    switch (ScaleOf(sensorId)) {
        case Scale::Sensor5:
            return v <= 128 ? 50 * v : 100 * v - 6400;
        case Scale::Sensor17:
            if (v < 200) {
                return 50 * v;
            }
            return v <= 220 ? 100 * v - 10000 : 1000 * v - 208000;
        case Scale::Sensor25:
            return v < 160 ? 100 * v : 1000 * v - 144000;
        case Scale::Hundreds:
            return 100 * v;
        case Scale::Sensor37:
            return v < 50 ? 100 * v + 100 : 500 * v - 19500;
        case Scale::Other:
            break;
    }
    return 50 * v + 50;
}

std::uint16_t SensorTable::Encode(int sensorId, int dpi) {
    const Range range = RangeOf(sensorId);
    dpi = std::clamp(dpi, range.lowest, range.highest);
    int v = 0;
    switch (ScaleOf(sensorId)) {
        case Scale::Sensor5:
            v = dpi <= 6400 ? dpi / 50 : (dpi - 6400) / 100 + 128;
            break;
        case Scale::Sensor17:
            // Steps of 50 up to 10000, of 100 up to 12000, then of 1000 from 13000: nothing lies
            // between 12000 and 13000, so those values round down to 12000.
            if (dpi <= 10000) {
                v = dpi / 50;
            } else if (dpi < 13000) {
                v = std::min((dpi - 10000) / 100 + 200, 220);
            } else {
                v = (dpi - 13000) / 1000 + 221;
            }
            break;
        case Scale::Sensor25:
            v = dpi <= 16000 ? dpi / 100 : (dpi - 16000) / 1000 + 160;
            break;
        case Scale::Hundreds:
            v = dpi / 100;
            break;
        case Scale::Sensor37:
            v = dpi <= 5000 ? dpi / 100 - 1 : (dpi - 5000) / 500 + 49;
            break;
        case Scale::Other:
            v = dpi / 50 - 1;
            break;
    }
    return static_cast<std::uint16_t>(v);
}

}  // namespace sim
