#pragma once

#include <cstdint>

// The reports a mouse or a receiver sends unasked on the command interface, told apart by byte 0.
// They may arrive at any time, also while a request waits for its reply, so the exchanges know
// them too: they are never a reply to a request.

// The mouse's DPI stage changed: byte 1 = (stage index << 4) | stage count.
inline constexpr std::uint8_t kStageReport = 0xC2;
// A receiver's link to its mouse: byte 1 = 1 when linked, byte 2 the battery level, byte 3 the
// battery state.
inline constexpr std::uint8_t kLinkReport = 0xC0;

inline constexpr bool IsNotificationReport(std::uint8_t firstByte) {
    return firstByte == kStageReport || firstByte == kLinkReport;
}
