#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

// The reports of the virtual mouse's command interface, seen from the device: the 65-byte request
// the host writes (report id 0x00 first) and the 64-byte input reports the device sends back, both
// replies and the reports it sends unasked.
//
// Request: byte 1 command, byte 2 zero, byte 3 packet byte ((index << 4) | count for writes, 0 for
// reads), byte 4 payload length, bytes 5 to 31 payload, byte 32 checksum (low 8 bits of the sum of
// bytes 5 to 31). Reply: byte 0 the command it answers, byte 1 status, byte 3 the request's packet
// byte, data from byte 4.

namespace sim {

inline constexpr std::size_t kRequestSize = 65;
inline constexpr std::size_t kInputReportSize = 64;
inline constexpr std::size_t kChecksumByte = 32;
inline constexpr std::size_t kPayloadFirst = 5;
inline constexpr std::size_t kPayloadLast = 31;

using Request = std::array<std::uint8_t, kRequestSize>;
// One input report as the host's read delivers it (no report id in front).
using InputReport = std::vector<std::uint8_t>;

// Byte 1 of a reply.
enum class ReplyStatus : std::uint8_t {
    Accepted = 0x00,
    Refused = 0x01,         // wrong checksum, or refused on request of a test
    UnknownCommand = 0x02,  // a command code the mouse does not know
    BadPayload = 0x03,      // header or payload outside what the command allows
    NotLinked = 0x04,       // a receiver without its mouse
};

namespace command {
inline constexpr std::uint8_t kReportRate = 0x02;
inline constexpr std::uint8_t kDpiStages = 0x03;
inline constexpr std::uint8_t kDpiColours = 0x04;
inline constexpr std::uint8_t kLighting = 0x05;
inline constexpr std::uint8_t kLiftoffSensor = 0x06;
inline constexpr std::uint8_t kPowerOptions = 0x07;
inline constexpr std::uint8_t kMacro = 0x08;
inline constexpr std::uint8_t kButtonTable = 0x09;
inline constexpr std::uint8_t kResetLighting = 0x0E;
inline constexpr std::uint8_t kFactoryReset = 0x0F;
inline constexpr std::uint8_t kInfo = 0x10;
inline constexpr std::uint8_t kReadStatus = 0x11;
inline constexpr std::uint8_t kReadReportRate = 0x12;
inline constexpr std::uint8_t kReadDpiStages = 0x13;
inline constexpr std::uint8_t kReadDpiColours = 0x14;
inline constexpr std::uint8_t kReadLighting = 0x15;
inline constexpr std::uint8_t kReadLiftoffSensor = 0x16;
inline constexpr std::uint8_t kReadPowerOptions = 0x17;
inline constexpr std::uint8_t kReadFirmware = 0x20;
}  // namespace command

// First byte of the reports sent unasked.
inline constexpr std::uint8_t kLinkReport = 0xC0;      // receiver: 1 linked / 0 not, level, state
inline constexpr std::uint8_t kDpiStageReport = 0xC2;  // (stage index << 4) | stage count

// The low 8 bits of the sum of bytes 5 to 31.
std::uint8_t RequestChecksum(const Request& request);

// A 64-byte reply to `request` with `status`; data bytes zero.
InputReport MakeReply(const Request& request, ReplyStatus status);

// A 64-byte unasked report: `code`, then `bytes` from byte 1.
InputReport MakeUnaskedReport(std::uint8_t code, std::initializer_list<std::uint8_t> bytes);

}  // namespace sim
