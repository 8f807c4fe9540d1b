#pragma once

#include <string_view>

// What the mouse's optical sensor allows: the DPI range every stage is held to, the texts the DPI
// slider shows for that range and its step, and how many positions the slider has. The sensor is
// named by byte 10 of the mouse's information reply.
struct SensorInfo {
    int sensorId = 0;
    int lowest = 0;
    int highest = 0;
    std::u16string_view rangeText;
    std::u16string_view stepText;
    int sliderPositions = 0;

    bool operator==(const SensorInfo&) const = default;
};

// The range of a sensor no table row names, and of every mouse before one has reported.
inline constexpr int kDefaultDpiLowest = 50;
inline constexpr int kDefaultDpiHighest = 26000;

// The facts of `sensorId`; a sensor the table does not know gets the default row (50 to 26000 DPI
// in steps of 50), with `sensorId` kept as given.
SensorInfo SensorFor(int sensorId);
