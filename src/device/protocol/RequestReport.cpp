#include "device/protocol/RequestReport.h"

RequestReport RequestReport::Write(std::uint8_t command, int payloadLength,
                                   std::uint8_t packetByte) {
    RequestReport report;
    report.Set(1, command);
    report.Set(3, packetByte);
    report.Set(4, payloadLength);
    return report;
}

RequestReport RequestReport::Read(std::uint8_t command) {
    RequestReport report;
    report.Set(1, command);
    return report;
}

void RequestReport::Set(std::size_t index, int value) {
    if (index < kSize) {
        bytes_[index] = static_cast<std::uint8_t>(value & 0xFF);
    }
}

void RequestReport::SetColor(std::size_t index, int color) {
    Set(index, color);
    Set(index + 1, color >> 8);
    Set(index + 2, color >> 16);
}

void RequestReport::SetWord(std::size_t index, int value) {
    Set(index, value);
    Set(index + 1, value >> 8);
}
