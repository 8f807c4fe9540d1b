#pragma once

#include <cstdint>

// Command codes of the request report (byte 1).
inline constexpr std::uint8_t kCommandReportRate = 0x02;
inline constexpr std::uint8_t kCommandDpiStages = 0x03;
inline constexpr std::uint8_t kCommandDpiColors = 0x04;
inline constexpr std::uint8_t kCommandLighting = 0x05;
inline constexpr std::uint8_t kCommandLiftoffSensor = 0x06;
inline constexpr std::uint8_t kCommandPowerOptions = 0x07;
inline constexpr std::uint8_t kCommandMacroUpload = 0x08;
inline constexpr std::uint8_t kCommandButtonTable = 0x09;
inline constexpr std::uint8_t kCommandResetLighting = 0x0E;
inline constexpr std::uint8_t kCommandFactoryReset = 0x0F;
inline constexpr std::uint8_t kCommandQueryInfo = 0x10;
// Reads of the mouse's settings.
inline constexpr std::uint8_t kCommandReadStart = 0x11;
inline constexpr std::uint8_t kCommandReadReportRate = 0x12;
inline constexpr std::uint8_t kCommandReadDpiStages = 0x13;
inline constexpr std::uint8_t kCommandReadDpiColors = 0x14;
inline constexpr std::uint8_t kCommandReadLighting = 0x15;
inline constexpr std::uint8_t kCommandReadLiftoffSensor = 0x16;
inline constexpr std::uint8_t kCommandReadPowerOptions = 0x17;
inline constexpr std::uint8_t kCommandReadMouseFirmware = 0x20;
