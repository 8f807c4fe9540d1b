#pragma once

#include <cstdint>

namespace sim {

// The optical sensors the virtual mouse can carry: the DPI range of each and how a DPI value is
// encoded in the 16-bit stage values of the DPI commands. Sensors not listed take the last row.
class SensorTable {
public:
    struct Range {
        int lowest = 0;
        int highest = 0;
    };

    static Range RangeOf(int sensorId);
    static bool InRange(int sensorId, int dpi);

    // The DPI an encoded stage value stands for.
    static int Decode(int sensorId, int value);
    // The encoded value of `dpi`, which is first brought into the sensor's range. Rounds down to
    // the nearest DPI the sensor offers.
    static std::uint16_t Encode(int sensorId, int dpi);
};

}  // namespace sim
