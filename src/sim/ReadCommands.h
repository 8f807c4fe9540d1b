#pragma once

#include <cstdint>

#include "sim/DeviceReports.h"
#include "sim/MouseIdentity.h"
#include "sim/MouseSettings.h"

namespace sim {

// Battery bytes of the information reply and the receiver's link report; their meaning is the
// mouse's own, the host only passes them on.
struct BatteryState {
    std::uint8_t state = 0;
    std::uint8_t level = 100;

    bool operator==(const BatteryState&) const = default;
};

// Whether `code` is one of the read commands FillReadReply answers (0x11 to 0x17, 0x20).
bool IsReadCommand(std::uint8_t code);

// The reply to a read request, data from byte 4 on. Read requests carry byte 2, 3 and 4 = 0;
// another header gives a BadPayload reply.
//   0x11 status only                       0x15 mode, (brightness << 4) | speed, then by mode:
//   0x12 report-rate code                       mode 1 a zero byte, mode 2 the colour count and
//   0x13 (index << 4) | count, then the         the colours, mode 3 its colour (3 bytes each)
//        four stage bytes of stages 0 to 5 0x16 lift-off height, sensor options 1 and 2
//   0x14 six colours, red green blue       0x17 sleep, wake, close light, debounce
//   0x20 firmware version: major, minor
InputReport FillReadReply(const Request& request, const MouseIdentity& identity,
                          const MouseSettings& settings);

// The information reply (0x10): bytes 4 to 7 device id, 10 sensor id, 11 highest report-rate
// byte, 12 battery state, 13 battery level, 14 `linkByte` (0: a receiver without its mouse).
InputReport MakeInfoReply(const Request& request, const MouseIdentity& identity,
                          BatteryState battery, std::uint8_t linkByte);

}  // namespace sim
