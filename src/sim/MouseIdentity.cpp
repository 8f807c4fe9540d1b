#include "sim/MouseIdentity.h"

#include "device/catalogue/DeviceEntry.h"
#include "text/Utf.h"

namespace sim {

MouseIdentity MouseIdentity::ForEntry(const DeviceEntry& entry, int sensorId) {
    MouseIdentity identity;
    identity.deviceId = ToUtf8(entry.deviceId).substr(0, 4);
    identity.deviceId.resize(4, '0');
    identity.sensorId = static_cast<std::uint8_t>(sensorId);
    identity.productString = entry.name;
    return identity;
}

int MouseIdentity::HighestRateHz() const {
    switch (highestRate) {
        case 0x10:
        case 0x20:
        case 0x40:
            return ReportRateHz(highestRate);
        default:
            return 1000;
    }
}

int ReportRateHz(std::uint8_t code) {
    switch (code) {
        case 0x08:
            return 125;
        case 0x04:
            return 250;
        case 0x02:
            return 500;
        case 0x01:
            return 1000;
        case 0x10:
            return 2000;
        case 0x20:
            return 4000;
        case 0x40:
            return 8000;
        default:
            return 0;
    }
}

}  // namespace sim
