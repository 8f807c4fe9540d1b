#pragma once

#include <cstdint>

#include "sim/DeviceReports.h"
#include "sim/MouseIdentity.h"
#include "sim/MouseSettings.h"

namespace sim {

// Whether `code` is one of the single-packet write commands ApplyWrite carries out (0x02 to 0x07,
// 0x09, 0x0E, 0x0F; the macro upload 0x08 has its own assembler).
bool IsSingleWriteCommand(std::uint8_t code);

// Carries out one single-packet write request on `settings`. The header must be byte 2 = 0,
// byte 3 = 0x01 and the command's payload length in byte 4; values must be ones the mouse can
// take (a report rate it offers, DPI within its sensor's range, known lighting modes and button
// entry kinds). Anything else leaves `settings` unchanged and gives BadPayload.
ReplyStatus ApplyWrite(const Request& request, const MouseIdentity& identity,
                       MouseSettings& settings);

}  // namespace sim
