#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The reports of the mouse's firmware loader, written to its update interface (report id 5,
// 64 bytes each): a start report, data reports carrying the image in 16-byte blocks, an end
// report. A block is 20 bytes: its number (16 bits, little-endian), 16 image bytes (0xFF past the
// end of the image) and the CRC-16/MODBUS of those 18 bytes (little-endian). A data report holds
// up to three blocks from byte 4 on; its byte 2 is 20 times the number of blocks; unused bytes
// are 0xFF.

inline constexpr std::size_t kFirmwareReportSize = 64;
inline constexpr std::size_t kFirmwareBlockSize = 20;
inline constexpr std::size_t kFirmwareBlockDataSize = 16;
inline constexpr std::size_t kFirmwareBlocksPerReport = 3;
inline constexpr std::size_t kFirmwareBytesPerReport = 48;
// Block numbers travel in 16 bits, so an image holds at most 65,536 blocks.
inline constexpr std::size_t kFirmwareMaxImageSize = 65536 * kFirmwareBlockDataSize;

using FirmwareReport = std::array<std::uint8_t, kFirmwareReportSize>;

// CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
std::uint16_t Crc16Modbus(const std::uint8_t* data, std::size_t length);

FirmwareReport MakeFirmwareStartReport();
FirmwareReport MakeFirmwareEndReport();

// The data report whose first block is `firstBlock`, carrying `count` image bytes from `bytes`:
// one block for up to 16 bytes, two for up to 32, three otherwise (count is at most 48).
FirmwareReport MakeFirmwareDataReport(const std::uint8_t* bytes, std::size_t count,
                                      std::uint16_t firstBlock);
