#include "device/protocol/DpiEncoding.h"

#include <algorithm>

#include "device/protocol/SensorInfo.h"

namespace {

// The sensors fall into six encodings; sensors the table does not name use the last one.
enum class Scheme { Sensor5, Sensor17, Sensor25, Hundreds, Sensor37, Other };

Scheme SchemeOf(int sensorId) {
    switch (sensorId) {
        case 5:
            return Scheme::Sensor5;
        case 17:
            return Scheme::Sensor17;
        case 25:
            return Scheme::Sensor25;
        case 4:
        case 16:
        case 18:
        case 53:
            return Scheme::Hundreds;
        case 37:
        case 38:
            return Scheme::Sensor37;
        default:
            return Scheme::Other;
    }
}

}  // namespace

int ClampDpi(int sensorId, int dpi) {
    const SensorInfo sensor = SensorFor(sensorId);
    return std::clamp(dpi, sensor.lowest, sensor.highest);
}

int EncodeDpi(int sensorId, int dpi) {
    dpi = ClampDpi(sensorId, dpi);
    switch (SchemeOf(sensorId)) {
        case Scheme::Sensor5:
            return dpi <= 6400 ? dpi / 50 : (dpi - 6400) / 100 + 128;
        case Scheme::Sensor17:
            if (dpi <= 10000) {
                return dpi / 50;
            }
            if (dpi < 13000) {
                // Steps of 100 reach only 12000 (value 220); values 221 and up mean 13000 and
                // above in steps of 1000, so 12001 to 12999 go down to 12000 rather than into
                // that range.
                return std::min((dpi - 10000) / 100 + 200, 220);
            }
            return (dpi - 13000) / 1000 + 221;
        case Scheme::Sensor25:
            return dpi <= 16000 ? dpi / 100 : (dpi - 16000) / 1000 + 160;
        case Scheme::Hundreds:
            return dpi / 100;
        case Scheme::Sensor37:
            return dpi <= 5000 ? dpi / 100 - 1 : (dpi - 5000) / 500 + 49;
        case Scheme::Other:
            break;
    }
    return dpi / 50 - 1;
}

int DecodeDpi(int sensorId, int value) {
    // The wire carries 16 bits; anything else is held to that.
    const int v = std::clamp(value, 0, 0xFFFF);
    switch (SchemeOf(sensorId)) {
        case Scheme::Sensor5:
            return v <= 128 ? 50 * v : 100 * v - 6400;
        case Scheme::Sensor17:
            if (v < 200) {
                return 50 * v;
            }
            return v <= 220 ? 100 * v - 10000 : 1000 * v - 208000;
        case Scheme::Sensor25:
            return v < 160 ? 100 * v : 1000 * v - 144000;
        case Scheme::Hundreds:
            return 100 * v;
        case Scheme::Sensor37:
            return v < 50 ? 100 * v + 100 : 500 * v - 19500;
        case Scheme::Other:
            break;
    }
    return 50 * v + 50;
}
