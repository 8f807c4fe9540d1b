#pragma once

#include <cstdint>
#include <string>

struct DeviceEntry;

namespace sim {

// Sensor of a virtual mouse when nothing else is asked for: 50 to 24000 DPI.
inline constexpr int kDefaultSensorId = 17;

// What a virtual mouse is, fixed when it is made: the facts its information reply and its USB
// descriptors carry.
struct MouseIdentity {
    std::string deviceId = "SIM0";  // the four characters of information reply bytes 4 to 7
    std::uint8_t sensorId = kDefaultSensorId;
    std::uint8_t highestRate = 0x40;         // 0x10 2000 Hz, 0x20 4000 Hz, 0x40 8000 Hz, else 1000
    std::uint16_t firmwareVersion = 0x0103;  // major in the high byte: "1.03"
    std::u16string productString = u"Virtual Mouse";

    // The mouse of a catalogue entry: its device id (padded with '0' to four characters when the
    // entry names fewer) and its name as the product string.
    static MouseIdentity ForEntry(const DeviceEntry& entry, int sensorId);

    // The highest report rate in Hz that `highestRate` allows.
    int HighestRateHz() const;
};

// Hz of a report-rate code (8 125 Hz ... 0x40 8000 Hz); 0 for a byte that is no rate code.
int ReportRateHz(std::uint8_t code);

}  // namespace sim
